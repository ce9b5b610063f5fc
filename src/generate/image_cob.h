#pragma once
// The compact receive records of the serially updated gateways (model 871's compact image,
// model 872's data and parameter banks): one packed 11-byte record per row of RCobDef.xml,
// a bitmap of deleted rows and the sorted list of receive identifiers.
#include "generate/gen_document.h"

#include <cstdint>
#include <vector>

// A document as the compact images read it: rows and keys come from the document element,
// the first element at top level, even where a declaration or a comment stands before it.
class TCompact_Doc {
public:
    explicit TCompact_Doc(const TGenDocument& doc);

    const TGenDocument& Doc() const { return FDoc; }
    int Row_Count() const { return static_cast<int>(FRows.size()); }
    TGenRow Row(int index) const { return TGenRow(&FDoc, FRows[static_cast<size_t>(index)], index); }
    // Refuses the first row beyond a table of `capacity` rows.
    void Check_Row_Count(int capacity) const;
    // A missing element or a text that is not an integer gives `def`.
    int32_t Key_Int(const char* key, int32_t def) const;
    // A missing element or a text that is not an integer ends the build with EConvertError.
    int32_t Strict_Key(const char* key) const;
    // The key's strict value plus `add`; a sum outside the signed 32-bit range ends the build too.
    int32_t Strict_Key_Plus(const char* key, int32_t add) const;

private:
    [[noreturn]] void Fail(const char* key, const QString& reason) const;
    const TGenDocument& FDoc;
    pugi::xml_node FRoot;
    std::vector<pugi::xml_node> FRows;
};

constexpr int32_t Cob_Rx_Entry_Size = 11;
// The identifiers are collected four bytes each in a work area of 1000 bytes.
constexpr int Cob_Rx_Capacity = 250;

struct TCob_Rx_Rows {
    std::vector<uint32_t> Ids;          // DataPage x 2^24 + PGN x 256 + ID_DEV, in row order
    std::vector<uint16_t> Offsets;      // data offset of each row
    uint8_t Delete_Bitmap[32] = {};     // bit (i mod 8) of byte (i div 8): row i has Delete "Y"
    uint32_t Data_Size = 0;             // the data offset a further row would get
};

// Reads every receive row strictly (DataPage, PGN, ID_DEV; StartByte and NByte of
// multi-packet rows) and writes record i at pos + 11 i: DataPage, PGN, ID_DEV, multi-packet
// flag, StartByte as read, NByte, data offset.  Refuses more rows than Cob_Rx_Capacity.
TCob_Rx_Rows Read_Cob_Rx_Rows(const TCompact_Doc& doc, uint8_t* buf, int32_t pos);
// The identifiers ascending as unsigned numbers, with the low byte cleared in peer-to-peer
// mode; returns the position after them.
int32_t Write_Rx_Id_List(uint8_t* buf, int32_t pos, std::vector<uint32_t> ids, bool peerToPeer);
