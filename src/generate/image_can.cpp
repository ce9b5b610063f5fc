#include "generate/image_can.h"

#include "generate/bank_files.h"
#include "generate/bit_rates.h"
#include "generate/gen_document.h"
#include "generate/image_buffers.h"
#include "generate/image_builders.h"
#include "generate/param_block.h"
#include "state/shared_state.h"

#include <cstring>

TParam_Rec_CAN Param_Rec_CAN;

void Init_Params_CAN()
{
    TParam_Rec_CAN& p = Param_Rec_CAN;
    std::memset(&p, 0, sizeof p);
    p.J1939_Bit_Rate = 250000;
    p.CANopen_Node_ID = 10;
    // 0xFA, not 250000: every builder of the family overwrites it from its own key
    p.CAN_Bit_Rate = 0xFA;
    for (TSection_Dir_Entry& e : p.Section_Dir) e = {0, 2048};
    for (uint32_t i = 0; i < 5; ++i) p.Client_SDO_IDs[i] = p.NG_Frame_IDs[i] = 0x101 * (i + 1);
    p.CAN_Rx_Table_Addr = 0x64000;
    p.CAN_Tx_Table_Addr = 0x66000;
    p.Custom_CAN_Rx_ID = 0x5A2;
    p.Custom_CAN_Tx_ID = 0x4A0;
    p.Custom_J1939_Rx_ID = 0x0CFFC400;
    p.Custom_J1939_Tx1_ID = 0x0CFFB9C6;
    p.Custom_J1939_Tx2_ID = 0x18FFC7C6;
    p.Custom_CAN_Timeout_ms = 1000;
    p.Custom_J1939_Timeout_ms = 1000;
}

void Write_Param_Block_CAN(int32_t Block_Pos)
{
    uint32_t fields[45];
    std::memcpy(fields, &Param_Rec_CAN, sizeof fields);
    TParamBlockWriter w(Image_Buf, Block_Pos);
    for (uint32_t v : fields) w.U32(v);
    w.Finish();
}

void Read_ParGen_QTB900()
{
    TGenDocument doc;
    if (!doc.Load(File_ParGen)) return;
    TParam_Rec_CAN& p = Param_Rec_CAN;
    p.J1939_Bit_Rate = uint32_t(J1939_Bit_Rate_Of(doc.Key_Int("J1939_BAUDRATE", J1939_Default_Index)));
    p.J1939_Timeout_ms = 0;
    p.J1939_Peer_Mode = 0;
    p.J1939_Own_Address = 0;
    p.CAN_Bit_Rate = uint32_t(CAN_Bit_Rate_Of(doc.Key_Int("CAN_Baudrate", 9)));
    p.Custom_CAN_Rx_ID = uint32_t(doc.Key_Int("CUSTOM_CAN_RX", 0x5A2));
    p.Custom_CAN_Tx_ID = uint32_t(doc.Key_Int("CUSTOM_CAN_TX", 0x4A0));
    // the J1939 frames are extended (29-bit) frames, whatever was entered
    constexpr uint32_t Extended = 0x80000000u;
    p.Custom_J1939_Rx_ID = uint32_t(doc.Key_Int("CUSTOM_J1939_RX", 0x0CFFC400)) | Extended;
    p.Custom_J1939_Tx1_ID = uint32_t(doc.Key_Int("CUSTOM_J1939_TX1", 0x0CFFB9C6)) | Extended;
    p.Custom_J1939_Tx2_ID = uint32_t(doc.Key_Int("CUSTOM_J1939_TX2", 0x18FFC7C6)) | Extended;
    p.Custom_CAN_Timeout_ms = uint32_t(doc.Key_Int("CUSTOM_CAN_TIMEOUT", 1000));
    p.Custom_J1939_Timeout_ms = uint32_t(doc.Key_Int("CUSTOM_J1939_TIMEOUT", 1000));
}

void Build_Image_QTB900()
{
    Init_Params_CAN();
    Read_ParGen_QTB900();
    Write_Param_Block_CAN(0);
    Image_Len = Param_Block_Size;
}

void Save_Bank_Files_QTB900() { Save_Bank_Files({{"bank.bin", Image_Buf, Image_Len}}); }
