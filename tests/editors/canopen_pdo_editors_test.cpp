// The PDO tables of the J1939 / CANopen gateway: their description on the table frame, the
// J1939 Frame column that follows the frame tables, the checks, the ten-PDO limit, and a
// user at the shown window.
#include "editor_fixture.h"
#include "editors/canopen_pdo_editors.h"
#include "platform/ui/lb_button.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {
using Factory = Editor_Factory<TPdoEditor>;
const Factory TPDO = Factory_Of<TFDefine_TPDO, TPdoEditor>(), RPDO = Factory_Of<TFDefine_RPDO, TPdoEditor>();

// A frame table of the given PGNs, source addresses 0x00, 0x01 ...
QByteArray Frames(const char* root, const QStringList& pgns)
{
    QByteArray x = QByteArray("<") + root + ">";
    for (int i = 0; i < pgns.size(); ++i)
        x += "<row DataPage=\"0\" PGN=\"" + pgns[i].toUtf8() + "\" SourceAddress=\"0x0" + QByteArray::number(i) + "\"/>";
    return x + "</" + root + ">";
}
void Write_Frames(const QStringList& receive, const QStringList& transmit)
{
    Write_File(File_J1939_Receive, Frames("ReceiveNMEA2000", receive));
    Write_File(File_J1939_Transmit, Frames("ReceiveNMEA2000", transmit));
}
}  // namespace

TEST(CanopenPdo, EachWindowDescribesItsTable)
{
    struct Case {
        const char* Name;
        Factory Make;
        const char* File;
        const char* Root;
        QStringList Cells;      // columns 1..
        QStringList Attrs;      // what OK writes for them
        QStringList Headers;    // columns 0..
        const char* Caption;
    } cases[] = {
        {"transmit PDOs", TPDO, "CANopen_TPDO.xml", "Define_TPDO",
         {"0x181", "8", "1", "2;0xFEF1;0x01;", "Y", "N", "Y", "100", "oil"},
         {"COB-ID=0x181", "Dimension=8", "Offset=1", "Frame_J1939=2", "DataChange=Y", "OnCAN=N", "OnTimer=Y",
          "SendTimer=100", "Mnemonic=oil"},
         {"N°", "COB-ID", "Dimension", "Start Byte", "J1939 Frame", "Data Change", "On CAN", "On Timer", "Send Timer",
          "Mnemonic"},
         "Define Transmit PDO"},
        {"receive PDOs", RPDO, "CANopen_RPDO.xml", "Define_RPDO", {"0x201", "2", "3", "1;0xFEEE;0x00;", "speed"},
         {"COB-ID=0x201", "Dimension=2", "Offset=3", "Frame_J1939=1", "Mnemonic=speed"},
         {"N°", "COB-ID", "Dimension", "Start Byte", "J1939 Frame", "Mnemonic"}, "Define Receive PDO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(4);
        auto e = c.Make();
        EXPECT_EQ(QFileInfo(*e->Desc().File).fileName(), c.File);
        EXPECT_EQ(e->Grid()->RowCount(), 11);
        EXPECT_EQ(e->ClientWidth(), 700);
        EXPECT_EQ(e->ClientHeight(), 337);
        EXPECT_NE(e->Btn_DelRow, nullptr);
        EXPECT_NE(e->Btn_InsRow, nullptr);
        EXPECT_EQ(e->Caption(), c.Caption);
        EXPECT_EQ(e->Title.L_SW_Desc->text(), c.Caption);
        QStringList headers;
        for (int col = 0; col < e->Grid()->ColCount(); ++col) headers << e->Grid()->Columns()->Items(col)->Header();
        EXPECT_EQ(headers, c.Headers);
        EXPECT_EQ(e->Grid()->Columns()->Items(4)->Editor(), edComboList);
        Fill_Cells(*e, 1, c.Cells);
        e->Btn_OKClick();
        EXPECT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
        QString root, comment;
        const auto rows = Saved_Rows(*e->Desc().File, &root, &comment);
        EXPECT_EQ(root, c.Root);
        EXPECT_EQ(comment, "SW_VERSION = 1.100");
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0], c.Attrs);
    }
}

TEST(CanopenPdo, TheFrameColumnShowsTheFramesAsTheFrameTableHasThemNow)
{
    EditorEnv env(4);
    Write_Frames({"0xFEEE", "0xFEF1", "0xFEF2"}, {"0xFF00"});
    Write_File(File_CANopen_TPDO,
               "<Define_TPDO>"
               "<row COB-ID=\"0x181\" Dimension=\"8\" Offset=\"1\" Frame_J1939=\"2\" DataChange=\"Y\" OnCAN=\"N\" "
               "OnTimer=\"N\" SendTimer=\"\" Mnemonic=\"a\"/>"
               "<row COB-ID=\"0x182\" Dimension=\"4\" Offset=\"5\" DataChange=\"N\" OnTimer=\"Y\" SendTimer=\"50\" "
               "Mnemonic=\"no frame, no OnCAN\"/>"
               "<row COB-ID=\"0x183\" Dimension=\"1\" Offset=\"8\" Frame_J1939=\"7\" DataChange=\"N\" OnCAN=\"Y\" "
               "OnTimer=\"N\" SendTimer=\"\" Mnemonic=\"c\"/>"
               "</Define_TPDO>");
    auto e = Make_Editor<TFDefine_TPDO>();
    e->FormShow();
    const QStringList items{"1;0xFEEE;0x00;", "2;0xFEF1;0x01;", "3;0xFEF2;0x02;"};
    EXPECT_EQ(e->SL, items);
    EXPECT_EQ(e->Grid()->Columns()->Items(4)->ComboItems()->Strings(), items);
    EXPECT_EQ(Row_Cells(*e, 1), QStringList({"0x181", "8", "1", "2;0xFEF1;0x01;", "Y", "N", "N", "", "a"}));
    EXPECT_EQ(Row_Cells(*e, 2), QStringList({"0x182", "4", "5", "", "N", "", "Y", "50", "no frame, no OnCAN"}));
    EXPECT_EQ(Row_Cells(*e, 3), QStringList({"0x183", "1", "8", "", "N", "Y", "N", "", "c"}));
    // the binding that names no frame is not lost without a word
    ASSERT_EQ(env.Boxes.Calls.size(), 1u);
    EXPECT_EQ(env.Boxes.Calls[0].Type, TMsgDlgType::mtWarning);
    EXPECT_TRUE(env.Boxes.Texts()[0].contains("row 3: frame 7")) << env.Boxes.Texts()[0].toStdString();

    // the frame's PGN changed in the frame table: the row shows it
    Write_Frames({"0xFEEE", "0x1234", "0xFEF2"}, {});
    env.Boxes.Clear();
    e->FormShow();
    EXPECT_EQ(e->Cell(4, 1), "2;0x1234;0x01;");
    e->Btn_OKClick();
    ASSERT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
    const auto rows = Saved_Rows(File_CANopen_TPDO);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].contains("Frame_J1939=2"));
    // rows without a frame have no Frame_J1939 at all, and say so to the image builder
    for (int r : {1, 2}) {
        EXPECT_FALSE(rows[size_t(r)].join(' ').contains("Frame_J1939")) << r;
    }
    EXPECT_TRUE(rows[1].contains("OnCAN="));

    // no frame table: nothing to choose, every frame cell empty
    QFile::remove(File_J1939_Receive);
    env.Boxes.Clear();
    e->FormShow();
    EXPECT_TRUE(e->SL.isEmpty());
    EXPECT_TRUE(e->Grid()->Columns()->Items(4)->ComboItems()->Strings().isEmpty());
    EXPECT_EQ(e->Cell(4, 1), "");
    EXPECT_EQ(e->Cell(1, 1), "0x181");

    // an unreadable frame table is reported by name
    Write_File(File_J1939_Receive, "<ReceiveNMEA2000><row PGN=");
    env.Boxes.Clear();
    e->FormShow();
    ASSERT_GE(env.Boxes.Calls.size(), 1u);
    EXPECT_EQ(env.Boxes.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(env.Boxes.Texts()[0].contains(File_J1939_Receive));
}

TEST(CanopenPdo, ARoundTripKeepsEveryCell)
{
    for (const Factory& make : {TPDO, RPDO}) {
        EditorEnv env(4);
        Write_Frames({"0x100", "0x200"}, {"0x300", "0x400"});
        auto e = make();
        e->FormShow();
        const int cols = int(e->Desc().Columns.size());
        QStringList first{" 0x7FF", "1", "8", e->SL[1]}, second{"$10", "2", "3", ""};
        for (int c = 4; c < cols; ++c) {
            first << (e->Desc().Columns[size_t(c)].Editor == edDataCheckBox ? "N" : " x & <y> ");
            second << (e->Desc().Columns[size_t(c)].Editor == edDataCheckBox ? "N" : "");
        }
        if (cols == 9) first[7] = "12";   // Send Timer
        Expect_Saved_Rows_Show_Again(make, {first, second}, env.Boxes);
    }
}

TEST(CanopenPdo, ChecksRunInOrderWithTheirTexts)
{
    // cells: COB-ID, Dimension, Start Byte, then for the TPDO the triggers and the timer
    struct Case {
        const char* Name;
        Factory Make;
        QStringList Cells;
        const char* Error;   // nullptr: passes
    } cases[] = {
        {"whole frame", TPDO, {"0x181", "8", "1", "", "N", "N", "N", ""}, nullptr},
        {"last byte alone", RPDO, {"0x181", "1", "8"}, nullptr},
        {"no frame is valid", RPDO, {"0", "4", "5"}, nullptr},
        {"one byte beyond the frame", TPDO, {"0x181", "8", "2"}, "Error in row 1!! Dimension and Start Byte are not correct together"},
        {"receive, beyond the frame", RPDO, {"0x181", "2", "8"}, "Error in row 1!! Dimension and Start Byte are not correct together"},
        {"COB-ID of 12 bits", TPDO, {"0x800", "8", "1"}, "Error in row 1!! COB-ID must be between 0x000 and 0x7FF"},
        {"x is a hexadecimal prefix", RPDO, {"x181", "8", "1"}, nullptr},
        {"COB-ID with a trailing blank", RPDO, {"0x181 ", "8", "1"}, "Error in row 1!! COB-ID must be between 0x000 and 0x7FF"},
        {"no dimension", RPDO, {"0x181", "", "1"}, "Error in row 1!! Dimension must be between 1 and 8"},
        {"dimension 9", TPDO, {"0x181", "9", "1"}, "Error in row 1!! Dimension must be between 1 and 8"},
        {"start byte 0", TPDO, {"0x181", "1", "0"}, "Error in row 1!! Start Byte must be between 1 and 8"},
        {"timer ticked without a period", TPDO, {"0x181", "8", "1", "", "N", "N", "Y", ""},
         "Error in row 1!! Send Timer must be between 1 and 1000000 ms"},
        {"timer ticked, lower case", TPDO, {"0x181", "8", "1", "", "N", "N", "y", "1000001"},
         "Error in row 1!! Send Timer must be between 1 and 1000000 ms"},
        {"timer ticked with a period", TPDO, {"0x181", "8", "1", "", "N", "N", "Y", "1000000"}, nullptr},
        {"period not looked at without the timer", TPDO, {"0x181", "8", "1", "", "N", "N", "N", "junk"}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(4);
        auto e = c.Make();
        Fill_Cells(*e, 1, c.Cells);
        Expect_Check(*e, env.Boxes, c.Error);
    }
    // the first failing row is named by its grid row
    EditorEnv env(4);
    auto e = Make_Editor<TFDefine_RPDO>();
    Fill_Cells(*e, 1, {"1", "1", "1"});
    Fill_Cells(*e, 2, {"2", "0", "1"});
    EXPECT_FALSE(e->Controllo_dati());
    EXPECT_EQ(env.Boxes.Texts(), QStringList{"Error in row 2!! Dimension must be between 1 and 8"});
}

TEST(CanopenPdo, TheTableHoldsTenPdosAndSaysWhatALongerFileLoses)
{
    EditorEnv env(4);
    QByteArray x = "<Define_RPDO>";
    for (int i = 1; i <= 12; ++i) x += "<row COB-ID=\"" + QByteArray::number(0x200 + i) + "\" Dimension=\"1\" Offset=\"1\" Mnemonic=\"\"/>";
    Write_File(File_CANopen_RPDO, x + "</Define_RPDO>");
    auto e = Make_Editor<TFDefine_RPDO>();
    e->FormShow();
    EXPECT_EQ(e->Grid()->RowCount() - 1, 10);
    EXPECT_EQ(e->Cell(1, 10), QString::number(0x20A));
    ASSERT_EQ(env.Boxes.Calls.size(), 1u);
    EXPECT_TRUE(env.Boxes.Texts()[0].contains("2 row(s)")) << env.Boxes.Texts()[0].toStdString();
    e->Btn_OKClick();
    ASSERT_EQ(e->ModalResult(), mrOk);
    EXPECT_EQ(Saved_Rows(File_CANopen_RPDO).size(), 10u);
}

TEST(CanopenPdo, DeleteAndInsertRowMoveTheFrameCellWithTheRow)
{
    EditorEnv env(4);
    Write_Frames({"0x100", "0x200"}, {});
    auto e = Make_Editor<TFDefine_TPDO>();
    e->FormShow();
    for (int r = 1; r <= 3; ++r) Fill_Cells(*e, r, {QString::number(r), "1", "1", e->SL[r % 2]});
    e->Grid()->SetRow(1);
    e->Btn_InsRowClick();
    EXPECT_EQ(Row_Cells(*e, 1), QStringList(9, QString()));
    EXPECT_EQ(e->Cell(4, 2), e->SL[1]);
    env.Boxes.Answers = {mrYes};
    e->Btn_DelRowClick();
    EXPECT_EQ(env.Boxes.Texts(), QStringList{"Are you sure to delete the Row number 1"});
    EXPECT_EQ(e->Cell(1, 1), "1");
    EXPECT_EQ(e->Cell(4, 3), e->SL[1]);
}

TEST(CanopenPdo, AUserFillsAPdoByKeyboardAndMouse)
{
    EditorEnv env(4);
    Write_Frames({"0x100", "0xFEF1"}, {});
    auto e = Make_Editor<TFDefine_TPDO>();
    TProColumnGrid* g = e->Grid();
    const User user(e.get(), g);
    Click_Cell(g, 1, 1);
    user.Type("0x181");
    user.Key(Qt::Key_Tab);
    EXPECT_EQ(g->Col(), 2);
    user.Type_Cells({"8", "2"});   // Enter ends the cell, not the window
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->ModalResult(), mrNone);
    EXPECT_EQ(Row_Cells(*e, 1).mid(0, 3), QStringList({"0x181", "8", "2"}));
    // a start byte that pushes the PDO beyond the frame: OK by mouse refuses it
    QTest::mouseClick(e->Btn_OK, Qt::LeftButton);
    EXPECT_EQ(env.Boxes.Texts(), QStringList{"Error in row 1!! Dimension and Start Byte are not correct together"});
    EXPECT_EQ(e->ModalResult(), mrNone);
    Click_Cell(g, 3, 1);
    user.Type("1");
    user.Key(Qt::Key_Return);
    EXPECT_EQ(e->Cell(3, 1), "1");
    e->Btn_OK->setFocus();
    QTest::keyClick(e->Btn_OK, Qt::Key_Return);
    EXPECT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
    EXPECT_EQ(Saved_Rows(File_CANopen_TPDO).at(0).mid(0, 3), QStringList({"COB-ID=0x181", "Dimension=8", "Offset=1"}));
    e->hide();

    // Escape on a shown window is Cancel: nothing written
    auto r = Make_Editor<TFDefine_RPDO>();
    const User rpdoUser(r.get());
    r->Grid()->SetCells(1, 1, "0x201");
    r->Btn_Cancel->setFocus();
    QTest::keyClick(r->Btn_Cancel, Qt::Key_Escape);
    EXPECT_EQ(r->ModalResult(), mrCancel);
    EXPECT_FALSE(QFile::exists(File_CANopen_RPDO));
    r->hide();
}
