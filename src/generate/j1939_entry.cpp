#include "generate/j1939_entry.h"

#include "generate/gen_document.h"
#include "generate/image_writer.h"
#include "platform/core/exception.h"
#include "platform/core/sysutils.h"

const TJ1939_Rx_Names Rx_Names_J1939{"SourceAddress", "TransportProtocol", "CancelData", "NumBytes"};
const TJ1939_Rx_Names Rx_Names_Cob{"ID_DEV", "MultiFrame", "Delete", "NByte"};

TJ1939_Rx_Entry Read_J1939_Rx_Row(const TGenRow& row, const TJ1939_Rx_Names& names, TStart_Rule start,
                                  uint32_t& runningOffset)
{
    TJ1939_Rx_Entry e{};
    e.Identifier = static_cast<uint32_t>(row.Int_Def("DataPage", 0)) * 0x1000000u +
                   static_cast<uint32_t>(row.Int_Def("PGN", 0)) * 0x100u + static_cast<uint32_t>(row.Int_Def(names.Source, 0));
    const bool multi = row.Flag_Upper(names.Multi);
    e.Flags = (multi ? 1 : 0) | (row.Flag_Upper(names.Cancel) ? 2 : 0) | (row.Flag_Upper("OnRequest") ? 4 : 0);
    if (multi) {
        uint16_t s = static_cast<uint16_t>(row.Int_Def("StartByte", 0));
        if (start == TStart_Rule::Minus_One || (start == TStart_Rule::Minus_One_Unless_Zero && s != 0)) --s;
        e.Start_Byte = s;
        e.Num_Bytes = static_cast<uint16_t>(row.Int_Def(names.Count, 0));
    } else {
        e.Start_Byte = 0;
        e.Num_Bytes = 8;
    }
    e.Data_Offset = static_cast<uint16_t>(runningOffset);
    runningOffset += e.Num_Bytes;
    e.OnReq_Time = static_cast<uint32_t>(row.Int_Def("OnReq_Time", 0));
    return e;
}

int32_t Write_J1939_Rx_Entry_16(uint8_t* buf, int32_t pos, const TJ1939_Rx_Entry& e)
{
    pos = Put_U32(buf, pos, e.Identifier);
    pos = Put_U8(buf, pos, e.Flags);
    pos = Put_U8(buf, pos, 0);
    pos = Put_U16(buf, pos, e.Start_Byte);
    pos = Put_U16(buf, pos, e.Num_Bytes);
    pos = Put_U16(buf, pos, e.Data_Offset);
    return Put_U32(buf, pos, e.OnReq_Time);
}

int32_t Write_J1939_Rx_Entry(uint8_t* buf, int32_t pos, const TJ1939_Rx_Entry& e)
{
    return Put_Fill(buf, Write_J1939_Rx_Entry_16(buf, pos, e), 0, 16);
}

TJ1939_Tx_Entry Read_J1939_Tx_Row(const TGenRow& row, const char* dataPage, const char* source, uint32_t timerDefault)
{
    TJ1939_Tx_Entry e{};
    e.Identifier = static_cast<uint32_t>(row.Int_Def("Priority", 0)) * 0x4000000u +
                   static_cast<uint32_t>(row.Int_Def(dataPage, 0)) * 0x1000000u +
                   static_cast<uint32_t>(row.Int_Def("PGN", 0)) * 0x100u + static_cast<uint32_t>(row.Int_Def(source, 0));
    e.Flags = (row.Flag_Upper("OnRequest") ? 1 : 0) | (row.Flag_Upper("DataChange") ? 2 : 0) | (row.Flag_Upper("OnTimer") ? 4 : 0);
    e.Num_Byte = static_cast<uint16_t>(row.Int_Def("NumByte", 8));
    e.OnTimer_Time = static_cast<uint32_t>(row.Int_Def("OnTimer_Time", static_cast<int32_t>(timerDefault)));
    return e;
}

int32_t Write_J1939_Tx_Entry(uint8_t* buf, int32_t pos, const TJ1939_Tx_Entry& e)
{
    pos = Put_U32(buf, pos, e.Identifier);
    pos = Put_U8(buf, pos, e.Flags);
    pos = Put_U8(buf, pos, 0);
    pos = Put_U16(buf, pos, 0);
    pos = Put_U16(buf, pos, e.Num_Byte);
    pos = Put_U16(buf, pos, e.Data_Offset);
    pos = Put_U32(buf, pos, 0);
    pos = Put_U32(buf, pos, e.OnTimer_Time);
    return Put_Fill(buf, pos, 0, 12);
}

void Check_Row_Count(const TGenDocument& doc, int capacity) { Check_Row_Count(doc, doc.Row_Count(), capacity); }

void Check_Row_Count(const TGenDocument& doc, int rows, int capacity)
{
    if (rows > capacity) Refuse_Row(doc, capacity, QStringLiteral("the device table holds at most %1 rows").arg(capacity));
}

void Read_Key_Octets(const TGenDocument& doc, const char* const (&keys)[4], const int32_t (&defs)[4], uint8_t (&dst)[4])
{
    for (int i = 0; i < 4; ++i) dst[i] = static_cast<uint8_t>(doc.Key_Int(keys[i], defs[i]));
}

void Set_Octets(uint8_t (&dst)[4], uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    dst[0] = a;
    dst[1] = b;
    dst[2] = c;
    dst[3] = d;
}
