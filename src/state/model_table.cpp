#include "state/model_table.h"

int Model_Code = 2;

const int Model_Codes[Model_Count] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1006};

namespace {
constexpr TModelInfo kModels[Model_Count] = {
    {u"891", u"CV58891", u"J1939 / Modbus Slave - Converter", u"Korvix - Configurator CV58891 - J1939 / Modbus Slave ", u"GV58891", u"DV58891", u"1.101"},
    {u"893", u"CV58893", u"J1939 / Modbus TCP Slave - Converter", u"Korvix - Configurator CV58893 - J1939 / Modbus TCP Slave ", u"GV58893", u"DV58893", u"1.001"},
    {u"892", u"CV58892", u"J1939 / Modbus TCP Master - Converter", u"Korvix - Configurator CV58892 - J1939 / Modbus TCP Master ", u"GV58892", u"DV58892", u"1.205"},
    {u"894", u"CV58894", u"J1939 / Ethernet - Converter", u"Korvix - Configurator CV58894 - J1939 / Ethernet ", u"GV58894", u"DV58894", u"1.100"},
    {u"896", u"CV58896", u"J1939 / CANopen - Converter", u"Korvix - Configurator CV58896 - J1939 / CANopen ", u"GV58896", u"DV58896", u"1.100"},
    {u"890", u"CV58890", u"J1939 / Modbus Master - Converter", u"Korvix - Configurator CV58890 - J1939 / Modbus Master ", u"GV58890", u"DV58890", u"1.402"},
    {u"897", u"CV58897", u"J1939 / CAN - Converter", u"Korvix - Configurator CV58897 - J1939 / CAN ", u"GV58897", u"DV58897", u"1.102"},
    {u"872", u"CV58872", u"J1939 / Modbus TCP Slave - Converter", u"Korvix - Configurator CV58872 - J1939 / Modbus TCP Slave ", u"GV58872", u"DV58872", u"3.300"},
    {u"895", u"CV58895", u"J1939 / PROFIBUS Slave - Converter", u"Korvix - Configurator CV58895 - J1939 / PROFIBUS Slave ", u"GV58895", u"DV58895", u"1.000"},
    {u"871", u"CV58871", u"J1939 / Ethernet - Converter", u"Korvix - Configurator CV58871 - J1939 / Ethernet ", u"GV58871", u"DV58871", u"2.001"},
    {u"860", u"CV58860", u"J1939 / CAN - Converter", u"Korvix - Configurator CV58860 - J1939 / CAN ", u"GV58860", u"DV58860", u"1.002"},
    {u"QTB900", u"ZAZOR900", u"J1939 / CAN - Converter", u"Korvix - Configurator QTB900 - J1939 / CAN ", u"QTB900", u"", u"1.100"},
};
}  // namespace

// The software codes and descriptions as the two arrays the rest of the program indexes.
const char16_t* const Model_SW_Codes[Model_Count] = {
    kModels[0].SW_Code, kModels[1].SW_Code, kModels[2].SW_Code, kModels[3].SW_Code, kModels[4].SW_Code,  kModels[5].SW_Code,
    kModels[6].SW_Code, kModels[7].SW_Code, kModels[8].SW_Code, kModels[9].SW_Code, kModels[10].SW_Code, kModels[11].SW_Code};
const char16_t* const Model_Descriptions[Model_Count] = {
    kModels[0].Description, kModels[1].Description, kModels[2].Description,  kModels[3].Description,
    kModels[4].Description, kModels[5].Description, kModels[6].Description,  kModels[7].Description,
    kModels[8].Description, kModels[9].Description, kModels[10].Description, kModels[11].Description};
// The version query's own list: the codes of Model_Code 0 to 10.
const char16_t* const Check_SW_Codes[11] = {kModels[0].SW_Code, kModels[1].SW_Code, kModels[2].SW_Code, kModels[3].SW_Code,
                                            kModels[4].SW_Code, kModels[5].SW_Code, kModels[6].SW_Code, kModels[7].SW_Code,
                                            kModels[8].SW_Code, kModels[9].SW_Code, kModels[10].SW_Code};

int Model_Index(int modelCode)
{
    if (modelCode >= 0 && modelCode <= 10) return modelCode;
    if (modelCode == 1006) return 11;
    return -1;
}

bool Is_Valid_Model_Code(int modelCode) { return Model_Index(modelCode) >= 0; }

const TModelInfo& Model_Info(int modelCode)
{
    const int i = Model_Index(modelCode);
    return kModels[i < 0 ? 2 : i];
}

const TModelInfo& Model_Table() { return Model_Info(Model_Code); }
