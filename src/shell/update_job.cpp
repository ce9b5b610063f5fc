#include "shell/update_job.h"

#include "platform/core/paths.h"
#include "platform/core/xml.h"
#include "state/shared_state.h"

#include <vector>

namespace {
struct TJobOperation {
    QString FileName;
    const char* Start;
    bool IsFirmware;
    bool ReadBack;
    bool WriteCSS;
    bool GoToAppAfter;
};

// Firmware files are delivered with names whose case varies; take the one that exists.
QString Firmware(const char* name) { return FindFileNoCase(PathJoin(Master_Dir, QString::fromLatin1(name))); }
QString Bank(const char* name) { return PathJoin(Conf_Dir, QStringLiteral("bin"), QString::fromLatin1(name)); }

void AddOperation(pugi::xml_node ops, const TJobOperation& o, bool internalData)
{
    const QString one = QStringLiteral("1"), zero = QStringLiteral("0");
    pugi::xml_node n = XmlAddChild(ops, "Operation");
    XmlAddTextChild(n, "Ope_Protection_Enabled", QString());
    XmlAddTextChild(n, "Ope_GoToBoot_Before", zero);
    XmlAddTextChild(n, "Ope_GoToApp_Before", zero);
    XmlAddTextChild(n, "Ope_IP_Address", QString());
    XmlAddTextChild(n, "Ope_Port", QStringLiteral("2008"));
    XmlAddTextChild(n, "Ope_Port_Sec", QStringLiteral("2007"));
    XmlAddTextChild(n, "Ope_Erase_Memory", zero);
    XmlAddTextChild(n, "Ope_FileName", o.FileName);
    XmlAddTextChild(n, "Ope_Start_Address", QString::fromLatin1(o.Start));
    XmlAddTextChild(n, "Ope_Memory_Type", zero);
    XmlAddTextChild(n, "Ope_Bank_Type", o.IsFirmware ? one : QStringLiteral("2"));
    XmlAddTextChild(n, "Ope_Read_Back", o.ReadBack ? one : zero);
    XmlAddTextChild(n, "Ope_Write_CSS", o.WriteCSS ? one : zero);
    XmlAddTextChild(n, "Ope_Address_CSS", o.IsFirmware ? QStringLiteral("0x78100") : QStringLiteral("0x50100"));
    XmlAddTextChild(n, "Ope_Command_CSS", QStringLiteral("0x0B"));
    if (internalData) {
        XmlAddTextChild(n, "Ope_Write_Internal_Data", zero);
        XmlAddTextChild(n, "Ope_WID_Address", QStringLiteral("0x78200"));
        XmlAddTextChild(n, "Ope_WID_Command", QStringLiteral("0x0B"));
        XmlAddTextChild(n, "Ope_WID_Data", QString());
    }
    XmlAddTextChild(n, "Ope_GoToApp_After", o.GoToAppAfter ? one : zero);
}

void AddOperations(pugi::xml_node parent, const std::vector<TJobOperation>& ops, bool internalData)
{
    pugi::xml_node n = XmlAddChild(parent, "Operations");
    for (const TJobOperation& o : ops) AddOperation(n, o, internalData);
}
}  // namespace

TUpdateChoice Update_Choice_From_Option(int option, bool readBack)
{
    return TUpdateChoice{option != 2, readBack, option != 1, readBack};
}

bool Uses_Ethernet_Job(int modelCode) { return modelCode == 2 || modelCode == 7 || modelCode == 10; }

void Build_Ethernet_Job(pugi::xml_document& doc, int modelCode, const QString& address, const TUpdateChoice& c)
{
    doc.reset();
    const char* code = modelCode == 2 ? "58892" : modelCode == 7 ? "58872" : "58860";
    pugi::xml_node root = XmlAddChild(doc, "Ethernet_Update");
    XmlAddTextChild(root, "Version", QStringLiteral("1000"));
    XmlAddTextChild(root, "Title", QStringLiteral("Korvix - CV%1 Ethernet Update").arg(QLatin1String(code)));
    XmlAddTextChild(root, "IP_Address_Dev", address);
    XmlAddTextChild(root, "Application_Port", QStringLiteral("10000"));
    XmlAddTextChild(root, "Boot_Port", QStringLiteral("2008"));
    XmlAddTextChild(root, "Boot_Port_Sec", QStringLiteral("2007"));
    XmlAddTextChild(root, "Address_Protection", QStringLiteral("0x78000"));
    pugi::xml_node prot = XmlAddChild(root, "Protections");
    const std::vector<const char*> protections = modelCode == 2   ? std::vector<const char*>{"0x9B", "0x187"}
                                                 : modelCode == 7 ? std::vector<const char*>{"0xD8"}
                                                                  : std::vector<const char*>{"0x179"};
    for (const char* p : protections) XmlAddTextChild(prot, "Protection", QString::fromLatin1(p));

    std::vector<TJobOperation> ops;
    const bool fwLast = !c.Conf;
    if (modelCode == 2) {
        if (c.Firmware) ops.push_back({Firmware("sim58892.sim"), "0x8000", true, c.Read_Firm, true, fwLast});
        if (c.Conf) {
            ops.push_back({Bank("bank1.bin"), "0x68000", false, c.Read_Conf, false, false});
            ops.push_back({Bank("bank2.bin"), "0x58000", false, c.Read_Conf, false, true});
        }
        AddOperations(root, ops, true);
    } else if (modelCode == 7) {
        if (c.Firmware) ops.push_back({Firmware("sim58872K.sim"), "0x8000", true, c.Read_Firm, true, fwLast});
        if (c.Conf) ops.push_back({Bank("bank.bin"), "0x54000", false, c.Read_Conf, false, true});
        AddOperations(root, ops, true);
        // the co-processor is written in the same run
        std::vector<TJobOperation> esp;
        if (c.Firmware) esp.push_back({Firmware("Sim58872_ESP32.sim"), "0x110000", true, c.Read_Firm, false, fwLast});
        if (c.Conf) {
            esp.push_back({Bank("bank_ESP32_1.bin"), "0x09000", false, c.Read_Conf, false, false});
            esp.push_back({Bank("bank_ESP32_2.bin"), "0x310000", false, c.Read_Conf, false, true});
        }
        pugi::xml_node e = XmlAddChild(root, "ESP32");
        XmlAddTextChild(e, "Address_Protection", QStringLiteral("0x7800"));
        AddOperations(e, esp, true);
    } else {
        if (c.Firmware) ops.push_back({Firmware("Sim58860.sim"), "0x8000", true, c.Read_Firm, true, fwLast});
        if (c.Conf) ops.push_back({Bank("bank.bin"), "0x60000", false, c.Read_Conf, false, true});
        AddOperations(root, ops, false);
    }
}

QString Ethernet_Job_File() { return PathJoin(Exe_Dir, QStringLiteral("Ethernet_Update.xml")); }
QString Ethernet_Update_Program() { return PathJoin(Exe_Dir, QStringLiteral("Ethernet_Update.exe")); }

void Save_Ethernet_Job(int modelCode, const QString& address, const TUpdateChoice& choice)
{
    pugi::xml_document doc;
    Build_Ethernet_Job(doc, modelCode, address, choice);
    XmlSaveFile(doc, Ethernet_Job_File());
}
