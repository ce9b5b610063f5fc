// What every table editor shares, shown on the receive table of model 892 (and, for Insert
// Row, on the frame table of model 896).
#include "editor_fixture.h"
#include "editors/can_frame_editors.h"
#include "editors/dm1_editor.h"
#include "editors/j1939_editors.h"
#include "editors/modbus_890_editors.h"
#include "platform/core/xml.h"
#include "platform/ui/lb_button.h"

#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>

namespace {
QStringList Good(const QString& pgn) { return {"0", pgn, "12", "N", "", "", "N", "m" + pgn}; }

struct ReceiveTable : ::testing::Test {
    EditorEnv Env{2};
    std::unique_ptr<TFReceive_J1939_892> E = Make_Editor<TFReceive_J1939_892>();
    QString File() const { return File_J1939_Receive; }
    QByteArray Read() const { return Read_File(File()); }
    void Write(const QByteArray& data) const { Write_File(File(), data); }
};
}  // namespace

TEST_F(ReceiveTable, AFileRoundTripKeepsEveryCellTextAsTyped)
{
    const QStringList odd{" 1", " 0x1F", "$0A", "Y", "0", "1785", "", "  a & b <c> \"d\" 'e'  "};
    Fill_Cells(*E, 1, odd);
    Fill_Cells(*E, 2, Good("7"));
    E->Btn_OKClick();
    EXPECT_EQ(E->ModalResult(), mrOk);
    EXPECT_TRUE(Env.Boxes.Calls.empty()) << Env.Boxes.Texts().join('\n').toStdString();

    const QByteArray saved = Read();
    EXPECT_TRUE(saved.startsWith("<ReceiveJ1939>")) << saved.constData();
    pugi::xml_document doc;
    ASSERT_TRUE(XmlLoadFile(doc, File()));
    pugi::xml_node root = doc.first_child();
    EXPECT_STREQ(root.name(), "ReceiveJ1939");
    ASSERT_EQ(std::distance(root.begin(), root.end()), 2);
    EXPECT_EQ(root.next_sibling().type(), pugi::node_comment);
    EXPECT_STREQ(root.next_sibling().value(), "SW_VERSION = 1.205");
    EXPECT_FALSE(root.next_sibling().next_sibling());
    // attributes in the table's order, every one present, blanks kept
    QStringList names;
    for (pugi::xml_attribute a : root.first_child().attributes()) names << QString::fromUtf8(a.name());
    EXPECT_EQ(names, QStringList({"DataPage", "PGN", "SourceAddress", "TransportProtocol", "StartByte", "NumBytes",
                                  "CancelData", "Mnemonic"}));

    auto again = Make_Editor<TFReceive_J1939_892>();
    again->FormShow();
    EXPECT_EQ(Row_Cells(*again, 1), odd);
    EXPECT_EQ(Row_Cells(*again, 2), Good("7"));
    EXPECT_EQ(Row_Cells(*again, 3), QStringList(8, QString()));
    EXPECT_EQ(again->Cell(0, 3), "3");
}

TEST_F(ReceiveTable, WithoutAFileTheTableOpensEmptyAndOkWritesTheRootAndTheComment)
{
    Fill_Cells(*E, 4, Good("9"));   // shown once, must be gone on the next showing
    E->FormShow();
    for (int r = 1; r <= 250; ++r) {
        ASSERT_EQ(E->Cell(0, r), QString::number(r));
        ASSERT_TRUE(E->Cell(2, r).isEmpty());
    }
    E->Btn_OKClick();
    EXPECT_EQ(Read(), QByteArray("<ReceiveJ1939 />\n<!--SW_VERSION = 1.205-->\n"));
}

TEST_F(ReceiveTable, DamagedFilesAreReportedByNameAndLeftAsTheyAre)
{
    QByteArray huge = "<ReceiveJ1939>";
    for (int i = 0; i < 5000; ++i) huge += "<row PGN=\"" + QByteArray::number(i) + "\"/>";
    huge += "</ReceiveJ1939>";
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i) binary[i] = char((i * 131 + 7) & 0xFF);
    struct Case {
        const char* Name;
        QByteArray Data;
        TMsgDlgType Kind;
        const char* Says;   // besides the file's name
        int Shown;          // rows loaded
    } cases[] = {
        {"not xml", "PGN;Source\n1;2\n", TMsgDlgType::mtError, "cannot be read", 0},
        {"truncated", "<ReceiveJ1939><row PGN=\"1\" ", TMsgDlgType::mtError, "cannot be read", 0},
        {"binary", binary, TMsgDlgType::mtError, "cannot be read", 0},
        {"empty", "", TMsgDlgType::mtError, "cannot be read", 0},
        {"declaration first", "<?xml version=\"1.0\"?><ReceiveJ1939><row PGN=\"1\"/><row PGN=\"2\"/></ReceiveJ1939>",
         TMsgDlgType::mtWarning, "2 row(s)", 0},
        {"comment first", "<!--x--><ReceiveJ1939><row PGN=\"1\"/></ReceiveJ1939>", TMsgDlgType::mtWarning, "1 row(s)", 0},
        {"beyond the limit", huge, TMsgDlgType::mtWarning, "4750 row(s)", 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Write(c.Data);
        Env.Boxes.Clear();
        E->FormShow();
        ASSERT_EQ(Env.Boxes.Calls.size(), 1u);
        EXPECT_EQ(Env.Boxes.Calls[0].Type, c.Kind);
        EXPECT_TRUE(Env.Boxes.Calls[0].Text.contains(File())) << Env.Boxes.Calls[0].Text.toStdString();
        EXPECT_TRUE(Env.Boxes.Calls[0].Text.contains(QLatin1String(c.Says))) << Env.Boxes.Calls[0].Text.toStdString();
        int shown = 0;
        while (shown < 250 && !E->Cell(2, shown + 1).isEmpty()) ++shown;
        EXPECT_EQ(shown, c.Shown);
        EXPECT_EQ(Read(), c.Data);   // Cancel: nothing written
    }
    // OK after the warning writes exactly the rows shown
    Write(huge);
    E->FormShow();
    Fill_Cells(*E, 1, Good("1"));
    for (int r = 1; r <= 250; ++r) Fill_Cells(*E, r, Good(QString::number(r)));
    Env.Boxes.Clear();
    E->Btn_OKClick();
    EXPECT_EQ(E->ModalResult(), mrOk);
    pugi::xml_document doc;
    ASSERT_TRUE(XmlLoadFile(doc, File()));
    EXPECT_EQ(std::distance(doc.first_child().begin(), doc.first_child().end()), 250);
}

TEST_F(ReceiveTable, TheCheckEndsAtTheFirstEmptyKeyButNeverDropsAFilledRowSilently)
{
    struct Case {
        const char* Name;
        std::vector<std::pair<int, QStringList>> Rows;
        QString Error;   // empty: the check passes
    } cases[] = {
        {"empty table", {}, {}},
        {"three rows", {{1, Good("1")}, {2, Good("2")}, {3, Good("3")}}, {}},
        {"a cleared check box is no data", {{1, Good("1")}, {3, {"", "", "", "N", "", "", "N", ""}}}, {}},
        {"data after the gap", {{1, Good("1")}, {4, Good("4")}},
         "Error in row 4!! The row follows the empty PGN of row 2 and would not be saved"},
        {"the gap row holds data", {{1, Good("1")}, {2, {"0", " ", "1"}}},
         "Error in row 2!! PGN is empty: the row and the rows below it would not be saved"},
        {"first failure wins, named by its grid row", {{1, Good("1")}, {2, {"0", "70000"}}, {3, {"", "1"}}},
         "Error in row 2!! PGN must be between 0x0000 and 0xFFFF"},
        {"leading blanks and hex pass, a trailing blank fails", {{1, {"0", " 0x1F", "$FF"}}, {2, {"0", "31 ", "1"}}},
         "Error in row 2!! PGN must be between 0x0000 and 0xFFFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        E->FormShow();
        for (const auto& [row, cells] : c.Rows) Fill_Cells(*E, row, cells);
        Env.Boxes.Clear();
        Expect_Check(*E, Env.Boxes, c.Error);
        if (!c.Error.isEmpty()) {
            EXPECT_EQ(Env.Boxes.Calls[0].Type, TMsgDlgType::mtError);
        }
    }
    // a failed check writes nothing and keeps the window open
    E->Btn_OKClick();
    EXPECT_FALSE(QFile::exists(File()));
    EXPECT_EQ(E->ModalResult(), mrNone);
}

TEST_F(ReceiveTable, DeletingTheLastRowOnlyEmptiesIt)
{
    Fill_Cells(*E, 249, Good("249"));
    Fill_Cells(*E, 250, Good("250"));
    E->Delete_Row(250);
    EXPECT_EQ(Row_Cells(*E, 250), QStringList(8, QString()));
    EXPECT_EQ(Row_Cells(*E, 249), Good("249"));
}

TEST_F(ReceiveTable, CancelWritesNothingAndTheNextShowingShowsTheFileAgain)
{
    Fill_Cells(*E, 1, Good("1"));
    E->Btn_OKClick();
    const QByteArray before = Read();
    E->show();   // showing loads the file
    EXPECT_EQ(Row_Cells(*E, 1), Good("1"));
    Fill_Cells(*E, 1, Good("2"));
    Fill_Cells(*E, 2, Good("3"));
    E->SetModalResult(mrNone);
    E->Btn_Cancel->Click();
    EXPECT_EQ(E->ModalResult(), mrCancel);
    EXPECT_EQ(Read(), before);
    E->hide();
    E->show();
    EXPECT_EQ(Row_Cells(*E, 1), Good("1"));
    EXPECT_TRUE(E->Cell(2, 2).isEmpty());
    E->hide();
}

TEST_F(ReceiveTable, AFailedWriteKeepsTheOldFileSaysSoAndKeepsTheWindowOpen)
{
    // a folder where the file should be: the rename cannot replace it
    File_J1939_Receive = Env.Dir.File("PROJECTS/Test/blocked");
    QDir().mkpath(File_J1939_Receive + "/inside");
    Fill_Cells(*E, 1, Good("1"));
    E->Btn_OKClick();
    EXPECT_EQ(E->ModalResult(), mrNone);
    ASSERT_EQ(Env.Boxes.Calls.size(), 1u);
    EXPECT_EQ(Env.Boxes.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(Env.Boxes.Calls[0].Text.contains("could not be written")) << Env.Boxes.Calls[0].Text.toStdString();
    EXPECT_TRUE(QFileInfo(File_J1939_Receive).isDir());
    EXPECT_EQ(Row_Cells(*E, 1), Good("1"));
}

TEST_F(ReceiveTable, TheWindowFollowsTheLanguage)
{
    EXPECT_EQ(E->Caption(), "Receive J1939");
    EXPECT_EQ(E->Title.L_SW_Code->text(), SW_Code);
    EXPECT_EQ(E->Title.L_SW_Desc->text(), "Receive J1939 Frames");
    EXPECT_EQ(E->Grid()->Columns()->Items(2)->Header(), "PGN");
    EXPECT_EQ(E->Btn_DelRow->Caption(), LT(85));
    Lang_Texts[72] = "Empfang";
    Lang_Texts[76] = "PGN-Nr";
    Lang_Texts[83] = "Gut";
    E->Set_Lang();
    EXPECT_EQ(E->Caption(), "Empfang");
    EXPECT_EQ(E->Grid()->Columns()->Items(2)->Header(), "PGN-Nr");
    EXPECT_EQ(E->Grid()->Cells(2, 0), "PGN-Nr");
    EXPECT_EQ(E->Btn_OK->Caption(), "Gut");
}

TEST(TableEditorInsert, InsertRowMovesRowsDownAndNeverLosesTheLastRow)
{
    EditorEnv env(1);
    auto e = Make_Editor<TFReceive_J1939_Frame_896>();
    ASSERT_NE(e->Btn_InsRow, nullptr);
    for (int r = 1; r <= 5; ++r) Fill_Cells(*e, r, Good(QString::number(r)));
    e->Grid()->SetRow(3);
    e->Btn_InsRowClick();
    EXPECT_EQ(Column_Cells(*e, 2, 1, 7), QStringList({"1", "2", "", "3", "4", "5", ""}));
    EXPECT_EQ(Row_Cells(*e, 3), QStringList(10, QString()));
    EXPECT_TRUE(env.Boxes.Calls.empty());

    // a full table: nothing moves and the user is told
    Fill_Cells(*e, 250, Good("250"));
    e->Btn_InsRowClick();
    EXPECT_EQ(e->Cell(2, 250), "250");
    EXPECT_EQ(e->Cell(2, 4), "3");
    ASSERT_EQ(env.Boxes.Calls.size(), 1u);
    EXPECT_TRUE(env.Boxes.Calls[0].Text.contains("full"));
}

// Delete Row asks first and, when the user agrees, moves the rows below the current one up
// and empties the last; Insert Row, where the window has it, moves them down.  Every cell
// of a row moves with it; the row numbers in column 0 stay.
TEST(TableEditorRows, DeleteRowAsksAndMovesTheRowsBelowUpInsertRowMovesThemDown)
{
    struct Case {
        const char* Name;
        int Model;
        Editor_Factory<> Make;
        int Filled, Current;        // rows 1..Filled hold their number in every column
        const char* Question;
        QStringList AfterDelete;    // column 1 of rows 1..Filled + 1
        int InsertAt;               // 0: the window has no Insert Row
        QStringList AfterInsert;
    } cases[] = {
        {"J1939 receive, 892", 2, Factory_Of<TFReceive_J1939_892>(), 8, 5, "Are you sure to delete the Row number 5",
         {"1", "2", "3", "4", "6", "7", "8", "", ""}, 0, {}},
        {"DM1 alarms", 2, Factory_Of<TFDefineDM1_J1939>(), 3, 2, "Are you sure to delete the Row number 2?",
         {"1", "3", "", ""}, 0, {}},
        {"Modbus read, 890", 5, Factory_Of<TFModbusReadReq_890>(), 4, 2, "Are you sure to delete the Row number 2?",
         {"1", "3", "4", "", ""}, 2, {"1", "", "3", "4", ""}},
        {"CAN transmit", 6, Factory_Of<TFTransmit_CAN_Frames>(), 4, 3, "Are you sure to delete the Row number 3",
         {"1", "2", "4", "", ""}, 2, {"1", "", "2", "4", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(c.Model);
        auto e = c.Make();
        const int cols = int(e->Desc().Columns.size());
        auto whole = [cols](int r) { return QStringList(cols, r ? QString::number(r) : QString()); };
        for (int r = 1; r <= c.Filled; ++r) Fill_Cells(*e, r, whole(r));
        e->Grid()->SetRow(c.Current);
        env.Boxes.Answers = {mrNo, mrYes};
        e->Btn_DelRowClick();
        EXPECT_EQ(Row_Cells(*e, c.Current), whole(c.Current));
        e->Btn_DelRowClick();
        EXPECT_EQ(env.Boxes.Texts(), QStringList(2, c.Question));
        ASSERT_EQ(env.Boxes.Calls.size(), 2u);
        EXPECT_EQ(env.Boxes.Calls[0].Type, TMsgDlgType::mtConfirmation);
        EXPECT_EQ(Column_Cells(*e, 1, 1, c.Filled + 1), c.AfterDelete);
        EXPECT_EQ(Row_Cells(*e, c.Current), whole(c.Current + 1));
        EXPECT_EQ(Row_Cells(*e, c.Filled), whole(0));
        for (int r = 1; r <= c.Filled + 1; ++r) EXPECT_EQ(e->Cell(0, r), QString::number(r)) << r;
        ASSERT_EQ(e->Btn_InsRow != nullptr, c.InsertAt > 0);
        if (c.InsertAt == 0) continue;
        e->Grid()->SetRow(c.InsertAt);
        e->Btn_InsRowClick();
        EXPECT_EQ(Column_Cells(*e, 1, 1, c.Filled + 1), c.AfterInsert);
        EXPECT_EQ(Row_Cells(*e, c.InsertAt), whole(0));
        EXPECT_EQ(Row_Cells(*e, c.InsertAt + 1), whole(c.AfterInsert[c.InsertAt].toInt()));
    }
}
