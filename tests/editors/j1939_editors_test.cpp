// What differs between the J1939 receive and transmit windows: file, root, row limit,
// columns and attributes, hidden columns, defaults of older files, and the checks.
#include "editor_fixture.h"
#include "editors/j1939_editors.h"
#include "platform/core/xml.h"

#include <QFileInfo>
#include <map>
#include <gtest/gtest.h>

namespace {
using Factory = Editor_Factory<>;
const Factory Rx = Factory_Of<TFReceiveJ1939>(), Rx892 = Factory_Of<TFReceive_J1939_892>(),
              Rx896 = Factory_Of<TFReceive_J1939_Frame_896>(), Tx = Factory_Of<TFTransmitJ1939>(),
              Tx892 = Factory_Of<TFTransmit_J1939_892>(), Tx896 = Factory_Of<TFTransmit_J1939_Frame_896>(),
              Tx872 = Factory_Of<TFTransmit_J1939_Frame_Atmel_872>();

// The attributes of the first row element of a document, in order, with their values.
QStringList Attributes(const QByteArray& document, QString* root = nullptr)
{
    pugi::xml_document doc;
    QByteArray copy = document;
    EXPECT_TRUE(XmlLoadBytesInPlace(doc, copy));
    if (root) *root = QString::fromUtf8(doc.first_child().name());
    QStringList out;
    for (pugi::xml_attribute a : doc.first_child().first_child().attributes())
        out << QString::fromUtf8(a.name()) + "=" + QString::fromUtf8(a.value());
    return out;
}
}  // namespace

TEST(J1939Editors, EachWindowDescribesItsTableForItsModels)
{
    const QString rxAttrs = "DataPage=0 PGN=2 SourceAddress=3 TransportProtocol=4 StartByte=5 NumBytes=6 CancelData=7";
    const QString cobAttrs = "DataPage=0 PGN=2 ID_DEV=3 MultiFrame=4 StartByte=5 NByte=6 Delete=7";
    struct Case {
        const char* Name;
        Factory Make;
        int Model;
        const char* File;
        const char* Root;
        int Limit, Width;
        bool InsRow;
        QString Attrs;        // attribute=value of a row whose column c holds c ("0" for the data page)
        QList<int> Hidden;
        const char* Caption;
    } cases[] = {
        {"receive 891", Rx, 0, "J1939_Receive.xml", "ReceiveJ1939", 250, 774, false, rxAttrs + " Mnemonic=8", {}, "Receive J1939"},
        {"receive 872", Rx, 7, "RCobDef.xml", "COBID", 250, 774, false, cobAttrs + " Mnemonic=8", {}, "Receive J1939"},
        {"receive 871", Rx, 9, "RCobDef.xml", "COBID", 250, 774, false, cobAttrs + " Mnemonic=8", {}, "Receive J1939"},
        {"receive 892", Rx892, 2, "J1939_Receive.xml", "ReceiveJ1939", 250, 774, false, rxAttrs + " Mnemonic=8", {}, "Receive J1939"},
        {"receive 890", Rx892, 5, "J1939_Receive.xml", "ReceiveJ1939", 250, 774, false, rxAttrs + " Mnemonic=8", {}, "Receive J1939"},
        {"receive 893", Rx896, 1, "J1939_Receive.xml", "ReceiveNMEA2000", 250, 876, true,
         rxAttrs + " OnRequest=8 OnReq_Time=9 Mnemonic=10", {}, "Receive J1939 Frames"},
        {"receive 895", Rx896, 8, "J1939_Receive.xml", "ReceiveNMEA2000", 30, 876, true,
         rxAttrs + " OnRequest=8 OnReq_Time=9 Mnemonic=10", {}, "Receive J1939 Frames"},
        {"receive 871 new", Rx896, 9, "RCobDef.xml", "COBID", 250, 876, true,
         cobAttrs + " OnRequest=8 OnReq_Time=9 Mnemonic=10", {}, "Receive J1939 Frames"},
        {"transmit 891", Tx, 0, "J1939_Transmit.xml", "TransmitJ1939", 250, 774, false,
         "Priority=1 DataPage=0 PGN=3 SourceAddress=4 TransmitionType=5 SendTimer=6 Mnemonic=7", {}, "Transmit J1939"},
        {"transmit 892", Tx892, 2, "J1939_Transmit.xml", "TransmitJ1939", 250, 774, false,
         "Priority=1 DataPage=0 PGN=3 SourceAddress=4 NumByte=5 Request=6 DataChange=7 OnTimer=8 SendTimer=9 "
         "DefaultValues=10 Mnemonic=11",
         {10}, "Transmit J1939"},
        {"transmit 890", Tx892, 5, "J1939_Transmit.xml", "TransmitJ1939", 250, 954, false,
         "Priority=1 DataPage=0 PGN=3 SourceAddress=4 NumByte=5 Request=6 DataChange=7 OnTimer=8 SendTimer=9 "
         "DefaultValues=10 Mnemonic=11",
         {}, "Transmit J1939"},
        {"transmit 896", Tx896, 4, "J1939_Transmit.xml", "ReceiveNMEA2000", 250, 784, true,
         "Priority=1 DataPage=0 PGN=3 SourceAddress=4 NumByte=8 OnRequest=6 DataChange=7 OnTimer=8 OnTimer_Time=9 "
         "Mnemonic=10",
         {5}, "Transmit J1939 Frames"},
        {"transmit 895", Tx896, 8, "J1939_Transmit.xml", "ReceiveNMEA2000", 30, 784, true,
         "Priority=1 DataPage=0 PGN=3 SourceAddress=4 NumByte=8 OnRequest=6 DataChange=7 OnTimer=8 OnTimer_Time=9 "
         "Mnemonic=10",
         {5}, "Transmit J1939 Frames"},
        {"transmit 860", Tx896, 10, "J1939_Transmit.xml", "ReceiveNMEA2000", 250, 784, true,
         "Priority=1 DataPage=0 PGN=3 SourceAddress=4 NumByte=5 OnRequest=6 DataChange=7 OnTimer=8 OnTimer_Time=9 "
         "Mnemonic=10",
         {}, "Transmit J1939 Frames"},
        {"transmit 872 new", Tx896, 7, "TCobDef.xml", "COBID", 250, 784, true,
         "Priority=1 DP=0 PGN=3 ID_DEV=4 NumByte=5 OnRequest=6 DataChange=7 OnTimer=8 OnTimer_Time=9 Mnemonic=10", {},
         "Transmit J1939 Frames"},
        {"transmit 872", Tx872, 7, "TCobDef.xml", "COBID", 250, 774, true, "Priority=1 DP=0 PGN=3 ID_DEV=4 Mnemonic=5",
         {}, "Transmit J1939 Frames"},
    };
    const std::map<int, QByteArray> Versions{{0, "1.101"}, {1, "1.001"}, {2, "1.205"}, {4, "1.100"}, {5, "1.402"},
                                             {7, "3.300"}, {8, "1.000"}, {9, "2.001"}, {10, "1.002"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(c.Model);
        auto e = c.Make();
        EXPECT_EQ(QFileInfo(*e->Desc().File).fileName(), c.File);
        EXPECT_EQ(e->Grid()->RowCount(), c.Limit + 1);
        EXPECT_EQ(e->ClientWidth(), c.Width);
        EXPECT_EQ(e->ClientHeight(), 337);
        EXPECT_EQ(e->Btn_InsRow != nullptr, c.InsRow);
        EXPECT_EQ(e->Caption(), c.Caption);
        EXPECT_EQ(e->Grid()->objectName(), "sga");
        QList<int> hidden;
        for (int col = 1; col <= int(e->Desc().Columns.size()); ++col)
            if (e->Grid()->IsHiddenColumn(col)) hidden << col;
        EXPECT_EQ(hidden, c.Hidden);

        QStringList cells;
        for (int col = 1; col <= int(e->Desc().Columns.size()); ++col) cells << QString::number(col);
        cells[e->Desc().Columns[0].Editor == edComboList ? 0 : 1] = "0";
        Fill_Cells(*e, 1, cells);
        QString root;
        EXPECT_EQ(Attributes(e->Table_Document(), &root).join(' '), c.Attrs);
        EXPECT_EQ(root, c.Root);
        EXPECT_TRUE(e->Table_Document().contains(
            QByteArray("<!--SW_VERSION = ") + Versions.at(c.Model) + "-->"));
    }
}

TEST(J1939Editors, OlderFilesGetTheDefaultsOfTheColumnsTheyLack)
{
    {
        EditorEnv env(1);
        auto e = Make_Editor<TFReceive_J1939_Frame_896>();
        Write_File(File_J1939_Receive,
                   "<ReceiveNMEA2000><row DataPage=\"0\" PGN=\"100\" SourceAddress=\"1\" TransportProtocol=\"N\" "
                   "StartByte=\"\" NumBytes=\"\" CancelData=\"N\" Mnemonic=\"m\"/></ReceiveNMEA2000>");
        e->FormShow();
        EXPECT_EQ(e->Cell(8, 1), "N");
        EXPECT_EQ(e->Cell(9, 1), "1000");
        EXPECT_EQ(e->Cell(10, 1), "m");
        EXPECT_TRUE(Attributes(e->Table_Document()).contains("OnReq_Time=1000"));
    }
    for (int model : {4, 10}) {
        SCOPED_TRACE(model);
        EditorEnv env(model);
        auto e = Make_Editor<TFTransmit_J1939_Frame_896>();
        Write_File(File_J1939_Transmit,
                   "<ReceiveNMEA2000><row Priority=\"3\" DataPage=\"0\" PGN=\"1\" SourceAddress=\"1\" NumByte=\"5\"/>"
                   "<row Priority=\"3\" DataPage=\"0\" PGN=\"1\" SourceAddress=\"1\"/></ReceiveNMEA2000>");
        e->FormShow();
        // a model without the column always has 8 bytes, whatever the file said
        EXPECT_EQ(e->Cell(5, 1), model == 10 ? "5" : "8");
        EXPECT_EQ(e->Cell(5, 2), "8");
        for (int col : {6, 7, 8}) EXPECT_EQ(e->Cell(col, 2), "N");
        EXPECT_EQ(e->Cell(9, 2), "1000");
        EXPECT_TRUE(Attributes(e->Table_Document()).contains(model == 10 ? "NumByte=5" : "NumByte=8"));
    }
    {
        EditorEnv env(2);
        auto e = Make_Editor<TFTransmit_J1939_892>();
        Write_File(File_J1939_Transmit, "<TransmitJ1939><row Priority=\"3\" PGN=\"1\"/></TransmitJ1939>");
        e->FormShow();
        EXPECT_EQ(e->Cell(10, 1), "");
        EXPECT_EQ(e->Cell(3, 1), "1");
    }
}

TEST(J1939Editors, ChecksRunInTheirOrderWithTheirTexts)
{
    const QStringList rxOk{"0", "100", "1", "N", "", "", "N", "m"};
    auto rx = [](QString tp, QString start, QString num) {
        return QStringList{"0", "100", "1", tp, start, num, "N", "m"};
    };
    auto tx892 = [](QString bytes, QString values) {
        return QStringList{"3", "0", "100", "1", bytes, "N", "N", "N", "", values, "m"};
    };
    auto tx896 = [](QString prio, QString pgn, QString bytes) {
        return QStringList{prio, "0", pgn, "1", bytes, "N", "N", "N", "1000", "m"};
    };
    auto many = [](int n, QStringList row) { return std::vector<QStringList>(n, row); };
    auto plus = [](std::vector<QStringList> rows, QStringList last) {
        rows.push_back(last);
        return rows;
    };
    struct Case {
        const char* Name;
        Factory Make;
        int Model;
        std::vector<QStringList> Rows;
        QString Error;
    } cases[] = {
        {"892 single frame defaults to 0 + 8", Rx892, 2, {rxOk}, {}},
        {"892 single frame 3 + 6", Rx892, 2, {rx("N", "3", "6")}, "Error in row 1!! Start Byte plus Number Bytes must be between 1 and 8"},
        {"892 single frame start 8", Rx892, 2, {rx("N", "8", "")}, "Error in row 1!! Start Byte must be between 0 and 7"},
        {"892 multi frame 0 + 1785", Rx892, 2, {rx("Y", "0", "1785")}, {}},
        {"892 multi frame 1 + 1785", Rx892, 2, {rx("Y", "1", "1785")},
         "Error in row 1!! Start Byte plus Number Bytes must be between 1 and 1785"},
        {"892 multi frame 1786", Rx892, 2, {rx("Y", "1786", "1")}, "Error in row 1!! Start Byte must be between 0 and 1785"},
        {"896 multi frame 0 + 0", Rx896, 1, {rx("Y", "0", "0")},
         "Error in row 1!! Start Byte plus Number Bytes must be between 1 and 1785"},
        {"892 data page empty", Rx892, 2, {{"", "100", "1"}}, "Error in row 1!! Data Page must be 0 or 1"},
        {"892 source 256", Rx892, 2, {{"0", "100", "256"}}, "Error in row 1!! Source Address must be between 0 and 255"},
        {"891 single frame is not tested further", Rx, 0, {rx("N", "5000", "x")}, {}},
        {"891 multi frame from 1", Rx, 0, {rx("Y", "0", "10")}, "Error in row 1!! Start Byte must be between 1 and 1785"},
        {"872 multi frame from 0", Rx, 7, {rx("Y", "0", "10")}, {}},
        {"872 multi frame 1786", Rx, 7, {rx("Y", "1786", "1")}, "Error in row 1!! Start Byte must be between 0 and 1785"},
        {"896 250 single frames make 2000", Rx896, 1, many(250, rxOk), {}},
        {"896 a multi frame row beyond 2000", Rx896, 1, plus(many(249, rxOk), rx("Y", "0", "9")),
         "Error in row 250!! The Configuration use more of 2000 bytes"},
        {"895 30 single frames", Rx896, 8, many(30, rxOk), {}},
        {"895 beyond 244 bytes", Rx896, 8, plus(many(29, rxOk), rx("Y", "0", "13")),
         "Error in row 30!! The Configuration use more of 244 bytes"},
        {"896 request time 1", Rx896, 1, {{"0", "100", "1", "N", "", "", "N", "Y", "1"}},
         "Error in row 1!! Time(ms) must be between 2 and 10000000"},
        {"871 new multi frame from 1", Rx896, 9, {rx("Y", "0", "1")}, "Error in row 1!! Start Byte must be between 1 and 1785"},
        {"891 transmit on timer in any case", Tx, 0, {{"3", "0", "100", "1", " on TIMER ", "10"}}, {}},
        {"891 transmit on timer needs a time", Tx, 0, {{"3", "0", "100", "1", "on timer", ""}},
         "Error in row 1!! Send Timer must be between 1 and 65535 ms"},
        {"891 transmit type", Tx, 0, {{"3", "0", "100", "1", "sometimes"}},
         "Error in row 1!! Transmition Type must be \"On Data Change\" or \"On Timer\""},
        {"891 transmit source 240", Tx, 0, {{"3", "0", "100", "240"}}, "Error in row 1!! Source Address must be between 0 and 239"},
        {"891 transmit priority 8", Tx, 0, {{"8", "0", "100", "1"}}, "Error in row 1!! Priority must be between 0 and 7"},
        {"890 three default values", Tx892, 5, {tx892("3", " 1, 2 ,3,")}, {}},
        {"890 two default values", Tx892, 5, {tx892("3", "1,2")},
         "Error in row 1!! Number of Default Values must be equal to Num Byte field"},
        {"890 a value of 256", Tx892, 5, {tx892("3", "1,256,3")},
         "Error in row 1!! Default Values must be between 0 and 255, and interspersed by commas"},
        {"890 a value of 256 whatever the count", Tx892, 5, {tx892("3", "256")},
         "Error in row 1!! Default Values must be between 0 and 255, and interspersed by commas"},
        {"890 no default values", Tx892, 5, {tx892("3", "")}, {}},
        {"892 default values are not tested", Tx892, 2, {tx892("3", "1,2")}, {}},
        {"892 num byte 0", Tx892, 2, {tx892("0", "")}, "Error in row 1!! Num Byte must be between 1 and 1785"},
        {"892 on timer needs a time", Tx892, 2, {{"3", "0", "100", "1", "8", "N", "N", "Y", "0"}},
         "Error in row 1!! Send Timer must be between 1 and 65535 ms"},
        {"896 transmit PGN 0x1FFFF", Tx896, 4, {tx896("3", "0x1FFFF", "8")}, {}},
        {"896 transmit PGN 0x20000", Tx896, 4, {tx896("3", "0x20000", "8")},
         "Error in row 1!! PGN must be between 0x00000 and 0x1FFFF"},
        {"896 transmit priority without PGN", Tx896, 4, {tx896("3", "", "8")},
         "Error in row 1!! PGN must be between 0x00000 and 0x1FFFF"},
        {"896 transmit PGN without priority is not dropped silently", Tx896, 4, {tx896("3", "1", "8"), tx896("", "1", "8")},
         "Error in row 2!! Priority is empty: the row and the rows below it would not be saved"},
        {"872 new two rows of 1024", Tx896, 7, {tx896("3", "1", "1024"), tx896("3", "1", "1024")}, {}},
        {"872 new a third byte", Tx896, 7, {tx896("3", "1", "1024"), tx896("3", "1", "1024"), tx896("3", "1", "1")},
         "Error!! Total Number Bytes must be 2048 or less"},
        {"860 num byte 1786", Tx896, 10, {tx896("3", "1", "1786")}, "Error in row 1!! Number Bytes must be between 1 and 1785"},
        {"896 timer time 0", Tx896, 4, {{"3", "0", "1", "1", "8", "N", "N", "Y", "0"}},
         "Error in row 1!! Time(ms) must be between 1 and 10000000ms"},
        {"872 transmit source 256", Tx872, 7, {{"3", "0", "100", "256"}}, "Error in row 1!! Source Address must be between 0 and 255"},
        {"872 transmit data page blank", Tx872, 7, {{"3", " ", "100", "1"}}, "Error in row 1!! DataPage must be 0 or 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(c.Model);
        auto e = c.Make();
        for (int r = 0; r < int(c.Rows.size()); ++r) Fill_Cells(*e, r + 1, c.Rows[r]);
        Expect_Check(*e, env.Boxes, c.Error);
        // the check is repeatable: running totals start again
        if (c.Error.isEmpty()) {
            EXPECT_TRUE(e->Controllo_dati());
        }
    }
}

TEST(J1939Editors, DefaultValuesTest)
{
    struct Case {
        const char* Text;
        int NumByte, Result;
    } cases[] = {{"1,2,3", 3, 1}, {",,1,,2,3,", 3, 1}, {"1,2", 3, 3}, {"", 0, 1},
                 {"0x10, $FF", 2, 1}, {"1,-1", 2, 2}, {"a", 1, 2}, {"1 ,2", 2, 1}};
    for (const Case& c : cases) EXPECT_EQ(Check_Default_Values(c.Text, c.NumByte), c.Result) << c.Text;
}
