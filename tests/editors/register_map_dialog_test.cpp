// Model 890's map dialog: the rows of a request's points, the map text decoded into them,
// the frames listed with their byte positions, Import and the locate double click.
#include "editor_fixture.h"
#include "editors/register_map_dialog.h"
#include "platform/ui/lb_button.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {
struct MapDialogTest : ::testing::Test {
    EditorEnv Env{5};
    std::unique_ptr<TFConf_Regs_890> D = Make_Editor<TFConf_Regs_890>();
    TProColumnGrid* G = D->ACG_Modbus_Regs;

    void Open(const char* type, const char* address, const char* points, const char* map, int showType = 1)
    {
        D->Show_Type = showType;
        D->STR_SlaveID = "1";
        D->STR_Type = type;
        D->STR_Address = address;
        D->STR_NPoint = points;
        D->STR_Conf_Points = map;
        D->FormShow();
    }
    // Columns 1 and 2 of every data row, "hi/lo".
    QStringList Rows() const
    {
        QStringList out;
        for (int r = 1; r < G->RowCount(); ++r) out << G->Cells(1, r) + "/" + G->Cells(2, r);
        return out;
    }
    // Transmit frames of 8, 8 and 16 bytes.
    void Three_Frames() const
    {
        Write_File(File_J1939_Transmit,
                   "<TransmitJ1939><row Priority='6' DataPage='0' PGN='0xFF00' SourceAddress='1' NumByte='8'/>"
                   "<row Priority='3' DataPage='1' PGN='65281' SourceAddress='2' NumByte=' 8'/>"
                   "<row Priority='6' DataPage='0' PGN='$FF02' SourceAddress='3' NumByte='16'/></TransmitJ1939>");
    }
};
}  // namespace

TEST_F(MapDialogTest, ShowsOneRowPerPointAndDecodesTheMap)
{
    Open("Holding Register", "100", "3", "[1,2][0,5]");
    EXPECT_EQ(D->ClientWidth(), 568);
    EXPECT_EQ(D->ClientHeight(), 337);
    EXPECT_EQ(D->L_Slave_ID->text(), "Slave ID : 1");
    EXPECT_EQ(D->L_Address->text(), "Address : 100");
    EXPECT_EQ(D->L_Type->text(), "Type : Holding Register");
    EXPECT_EQ(D->L_NPoint->text(), "Num Point : 3");
    EXPECT_EQ(G->RowCount(), 4);
    EXPECT_EQ(G->Cells(0, 1) + " " + G->Cells(0, 2) + " " + G->Cells(0, 3), "100 101 102");
    EXPECT_EQ(Rows(), QStringList({"1/2", "<None>/5", "<None>/<None>"}));
    EXPECT_EQ(D->Conf_Points(), "[1,2][0,5][0,0]");

    struct Case {
        const char* Name;
        const char* Type;
        const char* Points;
        const char* Map;
        QStringList Rows;
        const char* Back;   // the map OK gives
    } cases[] = {
        {"bit 9 is no bit", "Coil Status", "2", "[3,9][4,1]", {"<None>/<None>", "<None>/<None>"}, "[0,0][0,0]"},
        {"bits", "input status", "2", " [3 , 1] junk [0x04,8] ", {"3/1", "4/8"}, "[3,1][4,8]"},
        {"surplus groups are ignored", "Holding Register", "1", "[1,2][3,4][5,6]", {"1/2"}, "[1,2]"},
        {"decoding stops at a damaged group", "Input Register", "3", "[1,2][x,4][5,6]",
         {"1/2", "<None>/<None>", "<None>/<None>"}, "[1,2][0,0][0,0]"},
        {"no points: one empty row", "Holding Register", "0", "[1,2]", {"/"}, "[0,0]"},
        {"points not a number", "Holding Register", "many", "", {"/"}, "[0,0]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Open(c.Type, "0", c.Points, c.Map);
        EXPECT_EQ(Rows(), c.Rows);
        EXPECT_EQ(D->Conf_Points(), c.Back);
    }
    EXPECT_EQ(G->Cells(0, 1), "");
}

TEST_F(MapDialogTest, TheTypeChoosesTheModeTextsAndLists)
{
    Open("Holding Register", "0", "1", "");
    EXPECT_EQ(D->Type_Points, 1);
    EXPECT_EQ(D->Caption(), "Configure Registers");
    EXPECT_EQ(D->Title.L_SW_Desc->text(), "Configure of Registers");
    EXPECT_EQ(G->Cells(0, 0) + "|" + G->Cells(1, 0) + "|" + G->Cells(2, 0), "Register|Hi Byte|Lo Byte");
    QStringList hi = G->Columns()->Items(1)->ComboItems()->Strings();
    QStringList lo = G->Columns()->Items(2)->ComboItems()->Strings();
    EXPECT_EQ(hi.size(), 2001);
    EXPECT_EQ(hi.first() + " " + hi[1] + " " + hi.last(), "<None> 1 2000");
    EXPECT_EQ(lo, hi);

    Open(" Coil status ", "0", "1", "");
    EXPECT_EQ(D->Type_Points, 0);
    EXPECT_EQ(D->Caption(), "Configure Status");
    EXPECT_EQ(D->Title.L_SW_Desc->text(), "Configure of Status");
    EXPECT_EQ(G->Cells(0, 0) + "|" + G->Cells(1, 0) + "|" + G->Cells(2, 0), "Status|Byte|Bit");
    EXPECT_EQ(G->Columns()->Items(1)->ComboItems()->Strings(), hi);
    EXPECT_EQ(G->Columns()->Items(2)->ComboItems()->Strings(), QStringList({"<None>", "1", "2", "3", "4", "5", "6", "7", "8"}));

    // a language change reaches the dialog's fixed texts
    Lang_Texts[588] = "Übernehmen";
    Lang_Texts[586] = "Rahmen";
    D->Set_Lang();
    EXPECT_EQ(D->Btn_Import->Caption(), "Übernehmen");
    EXPECT_EQ(D->L_J1939Frame->text(), "Rahmen");
    EXPECT_EQ(D->Btn_OK->Caption(), "OK");
}

TEST_F(MapDialogTest, FramesGiveBytePositionsForImportAndLocate)
{
    Three_Frames();
    Open("Holding Register", "0", "2", "");
    EXPECT_EQ(Items(D->CB_Sel_FrameJ1939),
              QStringList({"PRI: 6; DP: 0; PGN: 0xFF00; SA: 1; (8)", "PRI: 3; DP: 1; PGN: 65281; SA: 2; (8)",
                           "PRI: 6; DP: 0; PGN: $FF02; SA: 3; (16)"}));
    EXPECT_EQ(D->CB_Sel_FrameJ1939->currentIndex(), 0);
    EXPECT_EQ(Items(D->CB_Available_Byte), QStringList({"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(D->Num_MAX_Byte, 32);

    // the third frame's second byte is position 18, into the current cell
    D->CB_Sel_FrameJ1939->setCurrentIndex(2);
    D->CB_Sel_FrameJ1939Change();
    EXPECT_EQ(D->CB_Available_Byte->count(), 16);
    D->CB_Available_Byte->setCurrentIndex(1);
    G->SetCol(2);
    G->SetRow(2);
    D->Btn_ImportClick();
    EXPECT_EQ(G->Cells(2, 2), "18");

    // locate: a double click on 18 selects the third frame, byte 2; on 32 its byte 16
    struct Case {
        const char* Cell;
        int Col;
        int Frame, Byte;   // selected afterwards (-1: unchanged from frame 0 byte 0)
    } cases[] = {{"18", 2, 2, 1}, {"32", 1, 2, 15}, {"9", 1, 1, 0}, {"1", 2, 0, 0}, {"33", 1, 0, 0},
                 {"<None>", 1, 0, 0}, {" ", 1, 0, 0}, {"x", 1, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Cell);
        D->CB_Sel_FrameJ1939->setCurrentIndex(0);
        D->CB_Sel_FrameJ1939Change();
        G->SetCells(c.Col, 1, c.Cell);
        D->ACG_Modbus_RegsDblClickCell(nullptr, 1, c.Col);
        EXPECT_EQ(D->CB_Sel_FrameJ1939->currentIndex(), c.Frame);
        EXPECT_EQ(D->CB_Available_Byte->currentIndex(), c.Byte);
        EXPECT_EQ(D->CB_Available_Byte->currentText(), QString::number(c.Byte + 1));
    }

    // bit mode: only the byte column takes a position or locates one
    Open("Input Status", "0", "1", "[5,3]");
    D->CB_Sel_FrameJ1939->setCurrentIndex(1);
    D->CB_Sel_FrameJ1939Change();
    D->CB_Available_Byte->setCurrentIndex(7);
    G->SetCol(2);
    G->SetRow(1);
    D->Btn_ImportClick();
    EXPECT_EQ(G->Cells(2, 1), "3");
    G->SetCol(1);
    D->Btn_ImportClick();
    EXPECT_EQ(G->Cells(1, 1), "16");
    G->SetCells(2, 1, "5");
    D->ACG_Modbus_RegsDblClickCell(nullptr, 1, 2);
    EXPECT_EQ(D->CB_Sel_FrameJ1939->currentIndex(), 1);
    EXPECT_EQ(D->CB_Available_Byte->currentIndex(), 7);
}

TEST_F(MapDialogTest, ReceiveFramesCountEightBytesWithoutNumBytes)
{
    Write_File(File_J1939_Receive, "<ReceiveJ1939><row DataPage='0' PGN='61444' SourceAddress='0' NumBytes=' '/>"
                                   "<row DataPage='1' PGN='65262' SourceAddress='3' NumBytes='4'/>"
                                   "<row PGN='1'/></ReceiveJ1939>");
    Open("Holding Register", "0", "1", "", 0);
    EXPECT_EQ(Items(D->CB_Sel_FrameJ1939), QStringList({"DP: 0; PGN: 61444; SA: 0; (8)", "DP: 1; PGN: 65262; SA: 3; (4)",
                                                        "DP: ; PGN: 1; SA: ; (8)"}));
    EXPECT_EQ(D->Def_J1939[1].Offset_Start, 8);
    EXPECT_EQ(D->Def_J1939[2].Offset_Start, 12);
    EXPECT_EQ(D->Num_MAX_Byte, 20);
}

TEST_F(MapDialogTest, WithoutUsableFramesTheListsAreEmptyAndTheMapStillWorks)
{
    QByteArray binary(2048, '\0');
    for (int i = 0; i < binary.size(); ++i) binary[i] = char((i * 37 + 11) & 0xFF);
    const QByteArray cases[] = {QByteArray(), "<TransmitJ1939><row NumByte='8'", binary, "<?xml version='1.0'?><T><row NumByte='8'/></T>",
                                "<T><row NumByte='x'/></T>"};
    for (const QByteArray& data : cases) {
        SCOPED_TRACE(data.left(40).toStdString());
        QFile::remove(File_J1939_Transmit);
        if (!data.isNull()) Write_File(File_J1939_Transmit, data);
        Open("Holding Register", "0", "2", "[1,2]");
        EXPECT_EQ(D->CB_Available_Byte->count(), 0);
        EXPECT_EQ(D->Num_MAX_Byte, 0);
        G->SetCol(1);
        G->SetRow(2);
        D->Btn_ImportClick();   // nothing to import
        D->ACG_Modbus_RegsDblClickCell(nullptr, 1, 1);
        EXPECT_EQ(Rows(), QStringList({"1/2", "<None>/<None>"}));
        EXPECT_TRUE(Env.Boxes.Calls.empty());
    }
}

TEST_F(MapDialogTest, TheUserPicksABytePositionWithMouseAndKeys)
{
    Three_Frames();
    Open("Holding Register", "0", "2", "[1,2]");
    const User user(D.get(), G);
    auto cell = [this](int col, int row) { return G->CellRect(col, row).ToQRect().center(); };

    // the low byte of the second register by the drop-down list: type and Enter
    QTest::mouseClick(G->viewport(), Qt::LeftButton, Qt::NoModifier, cell(2, 2));
    QApplication::processEvents();
    user.Type("7");
    user.Key(Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(G->Cells(2, 2), "7");

    // the high byte by Import: the second frame's last byte is 16
    QTest::mouseClick(G->viewport(), Qt::LeftButton, Qt::NoModifier, cell(1, 2));
    QApplication::processEvents();
    D->CB_Sel_FrameJ1939->setCurrentIndex(2);
    D->CB_Sel_FrameJ1939Change();
    EXPECT_EQ(D->CB_Available_Byte->count(), 16);
    D->CB_Sel_FrameJ1939->setFocus();
    QTest::keyClick(D->CB_Sel_FrameJ1939, Qt::Key_Up);   // a pick of the user refills the bytes
    EXPECT_EQ(D->CB_Sel_FrameJ1939->currentIndex(), 1);
    EXPECT_EQ(D->CB_Available_Byte->count(), 8);
    D->CB_Available_Byte->setFocus();
    for (int k = 0; k < 7; ++k) QTest::keyClick(D->CB_Available_Byte, Qt::Key_Down);
    EXPECT_EQ(D->CB_Available_Byte->currentText(), "8");
    QTest::mouseClick(D->Btn_Import, Qt::LeftButton);
    EXPECT_EQ(G->Cells(1, 2), "16");

    // a double click on the imported cell shows where it lies
    D->CB_Sel_FrameJ1939->setCurrentIndex(0);
    QTest::mouseDClick(G->viewport(), Qt::LeftButton, Qt::NoModifier, cell(1, 1));
    QApplication::processEvents();
    EXPECT_EQ(D->CB_Sel_FrameJ1939->currentIndex(), 0);
    EXPECT_EQ(D->CB_Available_Byte->currentText(), "1");
    if (QWidget* w = QApplication::focusWidget()) QTest::keyClick(w, Qt::Key_Escape);   // leaves an open cell editor

    // Enter on OK closes with mrOk; the grid holds the result
    D->Btn_OK->setFocus();
    QTest::keyClick(D->Btn_OK, Qt::Key_Return);
    EXPECT_EQ(D->ModalResult(), mrOk);
    EXPECT_EQ(D->Conf_Points(), "[1,2][16,7]");
    D->hide();
}

TEST_F(MapDialogTest, TheKeyboardStartsOnTheFirstPointAndTabWalksItsPositions)
{
    D->Show_Type = 1;
    D->STR_SlaveID = "1";
    D->STR_Type = "Holding Register";
    D->STR_Address = "100";
    D->STR_NPoint = "2";
    D->STR_Conf_Points = "";
    User u{D.get()};
    EXPECT_TRUE(QApplication::focusWidget() == G || G->isAncestorOf(QApplication::focusWidget()));
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(G->Row(), 1);
    // several characters pick the position they spell; "<" picks the empty one
    for (const char* keys : {"12", "1", "200", "<"}) {
        for (const QChar c : QString(keys)) QTest::keyClicks(QApplication::focusWidget(), QString(c));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(Rows(), QStringList({"12/1", "200/<None>"}));
    EXPECT_EQ(D->Conf_Points(), "[12,1][200,0]");
    D->hide();
}
