#include "generate/image_896.h"

#include "generate/bank_files.h"
#include "generate/bit_rates.h"
#include "generate/gen_document.h"
#include "generate/image_buffers.h"
#include "generate/image_builders.h"
#include "generate/image_can.h"
#include "generate/image_writer.h"
#include "generate/param_block.h"
#include "platform/core/sysutils.h"
#include "platform/core/xml.h"
#include "state/shared_state.h"

#include <cstring>
#include <functional>

uint32_t Rx_Offset_Table[Rx_Offset_Capacity_896];

namespace {

int32_t Write_Pos = 0;

uint32_t Num(const TGenRow& row, const char* attr) { return uint32_t(row.Int_Def(attr, 0)); }

uint32_t Rx_Id(uint32_t dataPage, uint32_t pgn, uint32_t sa) { return (dataPage << 24) + (pgn << 8) + sa; }
uint32_t Tx_Id(uint32_t priority, uint32_t dataPage, uint32_t pgn, uint32_t sa)
{
    return (priority << 26) + Rx_Id(dataPage, pgn, sa);
}

// Every record goes behind the previous one; refuse the row whose record would not fit.
void Need(const TGenDocument& doc, int row, int32_t bytes)
{
    if (Write_Pos + bytes > Image_Buf_Size)
        Refuse_Row(doc, row, QStringLiteral("the sections do not fit the %1 bytes of the image.").arg(Image_Buf_Size));
}

// Starts section k at the write position; its file is read only when `when` holds.
// `record` writes one row's record at Write_Pos and returns false for a row to skip.
void Read_Section(TCAN_Section k, bool when, const QString& path, int32_t size,
                  const std::function<bool(const TGenDocument&, const TGenRow&)>& record)
{
    TSection_Dir_Entry& e = Param_Rec_CAN.Section_Dir[k];
    e.Start = uint32_t(Write_Pos);
    TGenDocument doc;
    if (!when || !doc.Load(path)) return;
    for (int i = 0; i < doc.Row_Count(); ++i) {
        Need(doc, i, size);
        if (!record(doc, doc.Row(i))) continue;
        ++e.Count;
        Write_Pos += size;
    }
}

// The frame a row names (1-based in the file), or -1 when there is no such frame.
int32_t Frame_Of(const TGenRow& row, const char* attr, TCAN_Section frames)
{
    const int64_t k = int64_t(row.Int_Def(attr, -1)) - 1;
    return k >= 0 && k < Param_Rec_CAN.Section_Dir[frames].Count ? int32_t(k) : -1;
}

// The bytes of the SDO entry common to reading and writing: index, sub-index, size and the
// positions of its bytes in the frame.
int32_t Put_SDO_Object(int32_t p, const TGenRow& row)
{
    p = Put_U16(Image_Buf, p, Num(row, "Index"));
    p = Put_U8(Image_Buf, p, Num(row, "SubIndex"));
    const uint8_t dim = uint8_t(Num(row, "Dimension"));
    p = Put_U8(Image_Buf, p, dim == 0 ? 4 : dim == 1 ? 2 : 1);
    for (const char* b : {"B1", "B2", "B3", "B4"}) p = Put_U16(Image_Buf, p, Num(row, b));
    return p;
}

void Read_Rx_Frames()
{
    Read_Section(Sec_J1939_Rx, true, File_J1939_Receive, 16, [offset = uint32_t(0)](const TGenDocument& doc, const TGenRow& row) mutable {
        const int i = row.Index();
        Check_Capacity(doc, i, i, Rx_Offset_Capacity_896, QStringLiteral("receive frames"));
        const bool transport = row.Flag_Upper("TransportProtocol");
        const uint8_t flags = (transport ? 1 : 0) | (row.Flag_Upper("CancelData") ? 2 : 0) | (row.Flag_Upper("OnRequest") ? 4 : 0);
        const uint16_t size = transport ? uint16_t(Num(row, "NumBytes")) : 8;
        int32_t p = Put_U32(Image_Buf, Write_Pos, Rx_Id(Num(row, "DataPage"), Num(row, "PGN"), Num(row, "SourceAddress")));
        p = Put_U8(Image_Buf, p, flags);
        p = Put_U8(Image_Buf, p, 0);
        p = Put_U16(Image_Buf, p, transport ? Num(row, "StartByte") : 0);
        p = Put_U16(Image_Buf, p, size);
        p = Put_U16(Image_Buf, p, offset);
        Put_U32(Image_Buf, p, Num(row, "OnReq_Time"));
        Rx_Offset_Table[i] = offset;
        offset += size;
        return true;
    });
}

void Read_Tx_Frames()
{
    Read_Section(Sec_J1939_Tx, true, File_J1939_Transmit, 12, [](const TGenDocument&, const TGenRow& row) {
        const uint8_t flags = (row.Flag_Upper("OnRequest") ? 1 : 0) | (row.Flag_Upper("DataChange") ? 2 : 0) |
                              (row.Flag_Upper("OnTimer") ? 4 : 0);
        int32_t p = Put_U32(Image_Buf, Write_Pos,
                            Tx_Id(Num(row, "Priority"), Num(row, "DataPage"), Num(row, "PGN"), Num(row, "SourceAddress")));
        p = Put_U8(Image_Buf, p, flags);
        p = Put_U8(Image_Buf, p, 0);
        p = Put_U16(Image_Buf, p, 8 * uint32_t(row.Index()));
        Put_U32(Image_Buf, p, Num(row, "OnTimer_Time"));
        return true;
    });
}

void Read_Mappings()
{
    const TSection_Dir_Entry* dir = Param_Rec_CAN.Section_Dir;
    const bool haveRx = dir[Sec_J1939_Rx].Count > 0;
    const bool haveTx = dir[Sec_J1939_Tx].Count > 0;
    Read_Section(Sec_SDO_Read, haveRx, File_CANopen_Define_Server_SDO_Read, 16, [](const TGenDocument&, const TGenRow& row) {
        const int32_t k = Frame_Of(row, "NrPdo", Sec_J1939_Rx);
        if (k < 0) return false;
        int32_t p = Put_U16(Image_Buf, Write_Pos, uint32_t(k));
        p = Put_U16(Image_Buf, p, Rx_Offset_Table[k]);
        Put_SDO_Object(p, row);
        return true;
    });
    Read_Section(Sec_SDO_Write, haveTx, File_CANopen_Define_Server_SDO_Write, 20, [](const TGenDocument&, const TGenRow& row) {
        const int32_t k = Frame_Of(row, "NrPdo", Sec_J1939_Tx);
        if (k < 0) return false;
        int32_t p = Put_U16(Image_Buf, Write_Pos, uint32_t(k));
        p = Put_U16(Image_Buf, p, 8 * uint32_t(k));
        p = Put_SDO_Object(p, row);
        p = Put_U8(Image_Buf, p, Num(row, "Send_SDO"));
        Put_Fill(Image_Buf, p, 0, 3);
        return true;
    });
    Read_Section(Sec_TPDO, haveRx, File_CANopen_TPDO, 16, [](const TGenDocument&, const TGenRow& row) {
        const int32_t k = Frame_Of(row, "Frame_J1939", Sec_J1939_Rx);
        if (k < 0) return false;
        const uint8_t flags = (row.Flag_Upper("DataChange") ? 1 : 0) | (row.Flag_Upper("OnCAN") ? 2 : 0) |
                              (row.Flag_Upper("OnTimer") ? 4 : 0);
        int32_t p = Put_U16(Image_Buf, Write_Pos, Num(row, "COB-ID"));
        p = Put_U8(Image_Buf, p, Num(row, "Dimension"));
        p = Put_U8(Image_Buf, p, flags);
        p = Put_U16(Image_Buf, p, Num(row, "Offset"));
        p = Put_U16(Image_Buf, p, uint32_t(k));
        p = Put_U16(Image_Buf, p, Rx_Offset_Table[k]);
        p = Put_U16(Image_Buf, p, 0);
        Put_U32(Image_Buf, p, Num(row, "SendTimer"));
        return true;
    });
    Read_Section(Sec_RPDO, haveTx, File_CANopen_RPDO, 8, [](const TGenDocument&, const TGenRow& row) {
        const int32_t k = Frame_Of(row, "Frame_J1939", Sec_J1939_Tx);
        if (k < 0) return false;
        int32_t p = Put_U16(Image_Buf, Write_Pos, Num(row, "COB-ID"));
        p = Put_U8(Image_Buf, p, Num(row, "Dimension"));
        p = Put_U8(Image_Buf, p, 0);
        p = Put_U16(Image_Buf, p, Num(row, "Offset"));
        Put_U16(Image_Buf, p, 8 * uint32_t(k));
        return true;
    });
}

// The rows of the document-level element `name` of a loaded document; none when the
// document has no such element.
std::vector<pugi::xml_node> Rows_Of(const TGenDocument& doc, const char* name)
{
    std::vector<pugi::xml_node> rows;
    for (pugi::xml_node c = XmlChild(doc.Root().parent(), name).first_child(); c; c = c.next_sibling()) rows.push_back(c);
    return rows;
}

void Read_Guarded_Nodes(bool enabled)
{
    TSection_Dir_Entry& e = Param_Rec_CAN.Section_Dir[Sec_NG_Nodes];
    e.Start = uint32_t(Write_Pos);
    TGenDocument doc;
    if (!enabled || !doc.Load(File_CANopen_Define_NodeGuard)) return;
    const std::vector<pugi::xml_node> rows = Rows_Of(doc, "Node_Guarding");
    for (size_t i = 0; i < rows.size(); ++i) {
        Need(doc, int(i), 4);
        const TGenRow row(&doc, rows[i], int(i));
        int32_t p = Put_U8(Image_Buf, Write_Pos, Num(row, "NodeID"));
        p = Put_U8(Image_Buf, p, Num(row, "LifeTimeFactor"));
        Put_U16(Image_Buf, p, Num(row, "GuardTime"));
        ++e.Count;
        Write_Pos += 4;
    }
}

// An identifier part of the fixed frame tables: a missing attribute counts as 0, a value
// that is not a number makes the whole row take its default.
bool Id_Part(const TGenRow& row, const char* attr, uint32_t& v)
{
    int32_t x = 0;
    if (row.Has(attr) && !Try_Doc_Int(row.Raw(attr), x)) return false;
    v = uint32_t(x);
    return true;
}

// Five fixed frames, row r giving ids[r]; `transmit(r)` says whether the row's identifier
// carries its priority.  Rows that are missing or unreadable keep 0x101 x (r + 1).
void Read_Fixed_Frames(const QString& path, const char* rootName, const char* saAttr, bool (*transmit)(int), uint32_t (&ids)[5])
{
    TGenDocument doc;
    if (!doc.Load(path)) return;
    const std::vector<pugi::xml_node> rows = Rows_Of(doc, rootName);
    for (int r = 0; r < 5 && size_t(r) < rows.size(); ++r) {
        const TGenRow row(&doc, rows[size_t(r)], r);
        uint32_t priority = 0, dataPage, pgn, sa;
        if (transmit(r) && !Id_Part(row, "Priority", priority)) continue;
        if (!Id_Part(row, "DataPage", dataPage) || !Id_Part(row, "PGN", pgn) || !Id_Part(row, saAttr, sa)) continue;
        ids[r] = transmit(r) ? Tx_Id(priority, dataPage, pgn, sa) : Rx_Id(dataPage, pgn, sa);
    }
}

void Read_Parameters(const TGenDocument& doc)
{
    TParam_Rec_CAN& p = Param_Rec_CAN;
    for (TSection_Dir_Entry& e : p.Section_Dir) e.Start += CAN_Block_Addr;
    p.J1939_Bit_Rate = uint32_t(J1939_Bit_Rate_Of(doc.Key_Int("J1939_BAUDRATE", J1939_Default_Index)));
    p.J1939_Timeout_ms = uint32_t(doc.Key_Int("J1939_TIMEOUT", 0)) * 1000;
    p.J1939_Peer_Mode = doc.Key_Flag("J1939_PEER_TO_PEER") ? 1 : 0;
    p.J1939_Own_Address = uint32_t(doc.Key_Int("J1939_Device_ID", 0));
    p.CANopen_Node_ID = uint32_t(doc.Key_Int("CANopen_ID", 5));
    p.CAN_Bit_Rate = uint32_t(CANopen_Bit_Rate_Of(doc.Key_Int("CANopen_Baud", 8)));
    p.CANopen_Options = 0;
    const char* const options[] = {"CANopen_Set_Operational", "CANopen_Net_Operational", "CANopen_En_SDO_Client",
                                   "CANopen_En_NodeGuard", "CANopen_NG_Send_Frames"};
    for (int bit = 0; bit < 5; ++bit)
        if (doc.Key_Flag(options[bit])) p.CANopen_Options |= 1u << bit;
    p.CANopen_Start_Delay_ms = uint32_t(doc.Key_Int("CANopen_Delay", 10)) * 1000;
    p.SDO_Client_Timeout = uint32_t(doc.Key_Int("CANopen_SDO_Client_TimeOut", 10000));
    p.NG_Send_Period_ms = uint32_t(doc.Key_Int("CANopen_NG_Time_Send_Frames", 1000));

    // the gateway answers the read and write requests (rows 1 and 4) with its own frames
    Read_Fixed_Frames(File_CANopen_Define_Client_SDO, "J1939_Frames_SDOClient", "SA", [](int r) { return r == 1 || r == 4; },
                      p.Client_SDO_IDs);
    Read_Fixed_Frames(File_CANopen_Define_NG_J1939_Frames, "NG_J1939_Frames", "SA", [](int) { return true; }, p.NG_Frame_IDs);
}

}  // namespace

void Build_Image_896()
{
    Init_Params_CAN();
    Image_Len = Param_Block_Size;
    Write_Pos = Param_Block_Size;
    std::memset(Rx_Offset_Table, 0, sizeof Rx_Offset_Table);

    TGenDocument parGen;
    const bool haveParGen = parGen.Load(File_ParGen);
    const bool nodeGuarding = haveParGen && parGen.Key_Flag("CANopen_En_NodeGuard");

    Read_Rx_Frames();
    Read_Tx_Frames();
    Read_Mappings();
    Read_Guarded_Nodes(nodeGuarding);
    if (haveParGen) Read_Parameters(parGen);
    Write_Param_Block_CAN(0);
    Image_Len = Write_Pos;
}

void Save_Bank_Files_896() { Save_Bank_Files({{"bank.bin", Image_Buf, Image_Len}}); }
