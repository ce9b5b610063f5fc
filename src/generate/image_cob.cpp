#include "generate/image_cob.h"

#include "generate/gen_document.h"
#include "generate/image_writer.h"
#include "generate/j1939_entry.h"
#include "platform/core/exception.h"
#include "platform/core/sysutils.h"
#include "platform/core/xml.h"

#include <algorithm>

TCompact_Doc::TCompact_Doc(const TGenDocument& doc) : FDoc(doc)
{
    for (pugi::xml_node n = doc.Root(); n && !FRoot; n = n.next_sibling())
        if (n.type() == pugi::node_element) FRoot = n;
    for (pugi::xml_node c = FRoot.first_child(); c; c = c.next_sibling()) FRows.push_back(c);
}

void TCompact_Doc::Check_Row_Count(int capacity) const { ::Check_Row_Count(FDoc, Row_Count(), capacity); }

int32_t TCompact_Doc::Key_Int(const char* key, int32_t def) const
{
    QString t;
    return XmlTryText(XmlChild(FRoot, key), t) ? Doc_Int_Def(t, def) : def;
}

int32_t TCompact_Doc::Strict_Key(const char* key) const
{
    QString t;
    if (!XmlTryText(XmlChild(FRoot, key), t)) t.clear();
    int32_t v;
    if (!Try_Doc_Int(t, v)) Fail(key, Not_Integer(t));
    return v;
}

int32_t TCompact_Doc::Strict_Key_Plus(const char* key, int32_t add) const
{
    int32_t sum;
    const QString error = Doc_Int_Add(Strict_Key(key), add, sum);
    if (!error.isEmpty()) Fail(key, error);
    return sum;
}

void TCompact_Doc::Fail(const char* key, const QString& reason) const
{
    throw EConvertError(QStringLiteral("%1, %2: %3").arg(FDoc.Name(), QString::fromUtf8(key), reason));
}

TCob_Rx_Rows Read_Cob_Rx_Rows(const TCompact_Doc& doc, uint8_t* buf, int32_t pos)
{
    doc.Check_Row_Count(Cob_Rx_Capacity);
    TCob_Rx_Rows r;
    for (int i = 0; i < doc.Row_Count(); ++i) {
        const TGenRow row = doc.Row(i);
        const uint8_t dataPage = static_cast<uint8_t>(row.Strict("DataPage"));
        const uint16_t pgn = static_cast<uint16_t>(row.Strict("PGN"));
        const uint8_t idDev = static_cast<uint8_t>(row.Strict("ID_DEV"));
        r.Ids.push_back(static_cast<uint32_t>(dataPage) << 24 | static_cast<uint32_t>(pgn) << 8 | idDev);
        const bool multi = row.Flag_Upper("MultiFrame");
        uint16_t startByte = 0, nByte = 0, size = 8;
        if (multi) {
            startByte = static_cast<uint16_t>(row.Strict("StartByte"));
            nByte = size = static_cast<uint16_t>(row.Strict("NByte"));
        }
        const uint16_t offset = static_cast<uint16_t>(r.Data_Size);
        r.Offsets.push_back(offset);
        pos = Put_U8(buf, pos, dataPage);
        pos = Put_U16(buf, pos, pgn);
        pos = Put_U8(buf, pos, idDev);
        pos = Put_U8(buf, pos, multi ? 1 : 0);
        pos = Put_U16(buf, pos, startByte);
        pos = Put_U16(buf, pos, nByte);
        pos = Put_U16(buf, pos, offset);
        r.Data_Size += size;
        if (row.Flag_Upper("Delete")) r.Delete_Bitmap[i / 8] |= static_cast<uint8_t>(1u << (i % 8));
    }
    return r;
}

int32_t Write_Rx_Id_List(uint8_t* buf, int32_t pos, std::vector<uint32_t> ids, bool peerToPeer)
{
    if (peerToPeer)
        for (uint32_t& id : ids) id &= 0xFFFFFF00u;
    std::sort(ids.begin(), ids.end());
    for (uint32_t id : ids) pos = Put_U32(buf, pos, id);
    return pos;
}
