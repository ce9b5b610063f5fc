// The plain CAN frame tables of the J1939 / CAN gateways: what they make of the shared
// editor frame (file, root, columns, attributes, checks and texts), a user filling a frame
// at the shown window, and the image builders reading what the windows saved.
#include "editor_fixture.h"
#include "editors/can_frame_editors.h"
#include "platform/ui/lb_button.h"

#include <QFileInfo>
#include <QLabel>
#include <gtest/gtest.h>

namespace {
using Make = Editor_Factory<>;
const Make Rx = Factory_Of<TFReceive_CAN_Frames>(), Tx = Factory_Of<TFTransmit_CAN_Frames>();

const QStringList Frame_Attrs{"Cob-ID", "Type", "Dimension", "Byte1", "Byte2", "Byte3",
                              "Byte4",  "Byte5", "Byte6",    "Byte7", "Byte8"};
const QStringList Rx_Attrs = Frame_Attrs + QStringList{"TimeOut", "Mnemonic"};
const QStringList Tx_Attrs = Frame_Attrs + QStringList{"DataChange", "Time", "Time_ms", "Mnemonic"};

// A frame of two bytes that passes every check of its table.
const QStringList Good_Rx{"0x100", "2.0A (11bits)", "2", "10", "11", "", "", "", "", "", "", "1000", "rx"};
const QStringList Good_Tx{"0x100", "2.0A (11bits)", "2", "10", "11", "", "", "", "", "", "", "Y", "N", "500", "tx"};

}  // namespace

TEST(CANFrameTables, FileRootColumnsAndTextsOfEachWindow)
{
    struct Case {
        const char* Name;
        Make New;
        int Model;
        const QString* File;
        const char* FileName;
        const char* Root;
        int Width;
        const char* Caption;
        QStringList Attrs, Good, Headers;
        const char* Version;
    } cases[] = {
        {"receive 897", Rx, 6, &File_CAN_Define_Receive, "CAN_Define_Receive.xml", "Receive_CAN", 800, "Receive CAN Frames",
         Rx_Attrs, Good_Rx, {"N", "Cob-ID", "Type", "Dimension", "Byte1", "Byte8", "TimeOut", "Mnemonic"}, "1.102"},
        {"receive 860", Rx, 10, &File_CAN_Define_Receive, "CAN_Define_Receive.xml", "Receive_CAN", 800,
         "Receive CAN Frames", Rx_Attrs, Good_Rx, {"N", "Cob-ID", "Type", "Dimension", "Byte1", "Byte8", "TimeOut", "Mnemonic"},
         "1.002"},
        {"transmit 897", Tx, 6, &File_CAN_Define_Transmit, "CAN_Define_Transmit.xml", "Transmit_CAN", 913,
         "Transmit CAN Frames", Tx_Attrs, Good_Tx,
         {"N", "Cob-ID", "Type", "Dimension", "Byte1", "Byte8", "Data Change", "Time", "Time(ms)", "Mnemonic"}, "1.102"},
        {"transmit 860", Tx, 10, &File_CAN_Define_Transmit, "CAN_Define_Transmit.xml", "Transmit_CAN", 913,
         "Transmit CAN Frames", Tx_Attrs, Good_Tx,
         {"N", "Cob-ID", "Type", "Dimension", "Byte1", "Byte8", "Data Change", "Time", "Time(ms)", "Mnemonic"}, "1.002"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(c.Model);
        auto e = c.New();
        EXPECT_EQ(QFileInfo(*e->Desc().File).fileName(), c.FileName);
        EXPECT_EQ(e->Desc().File, c.File);
        EXPECT_EQ(e->Grid()->objectName(), "sga");
        EXPECT_EQ(e->Grid()->RowCount(), 251);
        EXPECT_EQ(e->ClientWidth(), c.Width);
        EXPECT_EQ(e->ClientHeight(), 337);
        EXPECT_EQ(e->Caption(), c.Caption);
        EXPECT_EQ(e->Title.L_SW_Desc->text(), c.Caption);
        EXPECT_EQ(e->Title.L_SW_Code->text(), SW_Code);
        ASSERT_NE(e->Btn_InsRow, nullptr);
        EXPECT_EQ(e->Btn_InsRow->Caption(), "Insert Row");
        EXPECT_EQ(e->Btn_DelRow->Caption(), "Delete Row");
        QStringList headers;
        for (int col = 0; col < e->Grid()->ColCount(); ++col) {
            const QString h = e->Grid()->Cells(col, 0);
            if (!h.startsWith("Byte") || h == "Byte1" || h == "Byte8") headers << h;
            EXPECT_FALSE(e->Grid()->IsHiddenColumn(col)) << col;
        }
        EXPECT_EQ(headers, c.Headers);
        EXPECT_EQ(e->Grid()->Columns()->Items(2)->ComboItems()->Strings(),
                  QStringList({"2.0A (11bits)", "2.0B (29bits)"}));

        // one row per frame up to the first empty Cob-ID, every attribute as typed
        Fill_Cells(*e, 1, c.Good);
        Fill_Cells(*e, 2, With(c.Good, {{1, " 7"}}));
        e->Btn_OKClick();
        ASSERT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
        QString root, comment;
        const auto rows = Saved_Rows(*c.File, &root, &comment);
        EXPECT_EQ(root, c.Root);
        EXPECT_EQ(comment, QString("SW_VERSION = ") + c.Version);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0], Named(c.Attrs, c.Good));
        EXPECT_EQ(rows[1], Named(c.Attrs, With(c.Good, {{1, " 7"}})));
    }
}

TEST(CANFrameTables, AFileRoundTripKeepsEveryCellText)
{
    // bytes beyond the length are the user's text, written as they stand
    const QStringList frame{" 0x1FFFFFFF", "2.0B (29bits)", "$2", "0", "1999", "abc", " 5 ", "", "", "", "x"};
    const struct {
        Make New;
        QStringList Rest;
    } cases[] = {{Rx, {" 100000000", "  a & <b> \"c\"  "}}, {Tx, {"N", "Y", " 0x10", "  a & <b> \"c\"  "}}};
    for (const auto& c : cases) {
        EditorEnv env(6);
        Expect_Saved_Rows_Show_Again(c.New, {frame + c.Rest}, env.Boxes);
    }
}

TEST(CANFrameTables, TheChecksRunInOrderWithTheirTexts)
{
    struct Case {
        const char* Name;
        Make New;
        std::vector<QStringList> Rows;
        QString Error;   // empty: the check passes
    } cases[] = {
        {"11 bits, 2047", Rx, {With(Good_Rx, {{1, "2047"}})}, {}},
        {"11 bits, 2048", Rx, {With(Good_Rx, {{1, "2048"}})}, "Error in row 1!! Cob-ID must be between 0 and 2047"},
        {"the type is trimmed", Tx, {With(Good_Tx, {{1, "2048"}, {2, " 2.0A (11bits) "}})},
         "Error in row 1!! Cob-ID must be between 0 and 2047"},
        {"29 bits, 0x1FFFFFFF", Tx, {With(Good_Tx, {{1, "0x1FFFFFFF"}, {2, "2.0B (29bits)"}})}, {}},
        {"29 bits, 0x20000000", Tx, {With(Good_Tx, {{1, "0x20000000"}, {2, "2.0B (29bits)"}})},
         "Error in row 1!! Cob-ID must be between 0 and 0x1FFFFFFF"},
        {"any other type takes 29 bits", Rx, {With(Good_Rx, {{1, "0x1FFFFFFF"}, {2, "extended"}})}, {}},
        {"no type comes before the identifier", Rx, {With(Good_Rx, {{1, "x"}, {2, " "}})},
         "Error in row 1!! Type must be \"2.0A (11bits)\" or \"2.0B (29bits)\""},
        {"a frame without identifier is not dropped silently", Rx, {With(Good_Rx, {{1, " "}})},
         "Error in row 1!! Cob-ID is empty: the row and the rows below it would not be saved"},
        {"dimension 0", Tx, {With(Good_Tx, {{3, "0"}})}, "Error in row 1!! Dimension must be between 1 and 8"},
        {"dimension 9", Rx, {With(Good_Rx, {{3, "9"}})}, "Error in row 1!! Dimension must be between 1 and 8"},
        {"byte beyond the dimension is not tested", Rx, {With(Good_Rx, {{6, "abc"}})}, {}},
        {"byte within the dimension is", Rx, {With(Good_Rx, {{3, "3"}, {6, "abc"}})},
         "Error in row 1!! Byte3 must be between 0 and 1999"},
        {"byte1 1999", Tx, {With(Good_Tx, {{4, "1999"}})}, {}},
        {"byte1 2000", Tx, {With(Good_Tx, {{4, "2000"}})}, "Error in row 1!! Byte1 must be between 0 and 1999"},
        {"byte1 even of a frame without bytes", Tx, {With(Good_Tx, {{3, "0"}, {4, "2000"}})},
         "Error in row 1!! Dimension must be between 1 and 8"},
        {"byte8 of eight", Tx, {With(Good_Tx, {{3, "8"}, {6, "1"}, {7, "2"}, {8, "3"}, {9, "4"}, {10, "5"}, {11, "-1"}})},
         "Error in row 1!! Byte8 must be between 0 and 1999"},
        {"time-out 100000000", Rx, {With(Good_Rx, {{12, "100000000"}})}, {}},
        {"time-out beyond", Rx, {With(Good_Rx, {{12, "100000001"}})},
         "Error in row 1!! TimeOut must be between 0 and 100000000 ms"},
        {"time-out empty", Rx, {With(Good_Rx, {{12, ""}})}, "Error in row 1!! TimeOut must be between 0 and 100000000 ms"},
        {"no timer, no period", Tx, {With(Good_Tx, {{13, "N"}, {14, ""}})}, {}},
        {"timer, no period", Tx, {With(Good_Tx, {{13, "Y"}, {14, ""}})},
         "Error in row 1!! Time(ms) must be between 0 and 100000000 ms"},
        {"only an exact Y is a ticked timer", Tx, {With(Good_Tx, {{13, "y"}, {14, ""}})}, {}},
        {"the row is named by its grid row", Tx, {Good_Tx, Good_Tx, With(Good_Tx, {{3, "x"}})},
         "Error in row 3!! Dimension must be between 1 and 8"},
        {"a frame after a gap is not dropped silently", Rx, {Good_Rx, QStringList(13, QString()), Good_Rx},
         "Error in row 3!! The row follows the empty Cob-ID of row 2 and would not be saved"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(10);
        auto e = c.New();
        for (int r = 0; r < int(c.Rows.size()); ++r) Fill_Cells(*e, r + 1, c.Rows[r]);
        Expect_Check(*e, env.Boxes, c.Error);
    }
}

TEST(CANFrameTables, TheUserFillsAFrameByKeyboardAndMouse)
{
    struct Case {
        Make New;
        const QString* File;
        int TimeCol;   // the time-out, or the period
        QStringList Attrs;
    } cases[] = {{Rx, &File_CAN_Define_Receive, 12, Rx_Attrs}, {Tx, &File_CAN_Define_Transmit, 14, Tx_Attrs}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.TimeCol);
        EditorEnv env(6);
        auto e = c.New();
        TProColumnGrid* g = e->Grid();
        const User user(e.get(), g);

        Click_Cell(g, 1, 1);
        user.Type("0x7FF");
        user.Key(Qt::Key_Tab);
        EXPECT_EQ(g->Col(), 2);
        // the type is picked from its list
        Click_Cell(g, 2, 1);
        user.Type("2.0A");
        user.Key(Qt::Key_Return);
        EXPECT_EQ(e->Cell(2, 1), "2.0A (11bits)");
        Click_Cell(g, 3, 1);
        user.Type_Cells({"1", "1999"});   // Enter ends the cell, not the window
        EXPECT_TRUE(e->isVisible());
        EXPECT_EQ(e->ModalResult(), mrNone);
        Click_Cell(g, c.TimeCol, 1);
        user.Type("250");
        user.Key(Qt::Key_Return);
        EXPECT_EQ(Row_Cells(*e, 1).mid(0, 4), QStringList({"0x7FF", "2.0A (11bits)", "1", "1999"}));
        EXPECT_EQ(e->Cell(c.TimeCol, 1), "250");

        // the window's OK, pressed with Enter
        e->Btn_OK->setFocus();
        user.Key(Qt::Key_Return);
        EXPECT_EQ(env.Boxes.Texts(), QStringList());
        EXPECT_EQ(e->ModalResult(), mrOk);
        const auto rows = Saved_Rows(*c.File);
        ASSERT_EQ(rows.size(), 1u);
        QStringList expected(c.Attrs.size(), QString());
        expected[0] = "0x7FF";
        expected[1] = "2.0A (11bits)";
        expected[2] = "1";
        expected[3] = "1999";
        expected[c.TimeCol - 1] = "250";
        EXPECT_EQ(rows[0], Named(c.Attrs, expected));
        e->hide();

        // Escape leaves the window as Cancel: nothing written
        const QByteArray before = Read_File(*c.File);
        e->SetModalResult(mrNone);
        user.Show();
        g->SetCells(1, 2, "5");
        e->Btn_Cancel->setFocus();
        user.Key(Qt::Key_Escape);
        EXPECT_EQ(e->ModalResult(), mrCancel);
        EXPECT_EQ(Read_File(*c.File), before);
        e->hide();
    }
}

TEST(CANFrameTables, TablesSavedByTheWindowsBuildTheSameImagesAsTablesWrittenByHand)
{
    const QStringList rx1 = With(Good_Rx, {{1, "0x123"}, {3, "3"}, {6, "1999"}, {12, "250"}});
    const QStringList rx2 = With(Good_Rx, {{1, "$1ABCDEF"}, {2, "2.0B (29bits)"}, {3, "1"}, {4, "7"}, {12, "0"}});
    const QStringList tx1 = With(Good_Tx, {{1, "0x321"}, {3, "8"}, {6, "2"}, {7, "3"}, {8, "4"}, {9, "5"}, {10, "6"}, {11, "1900"},
                                           {12, "Y"}, {13, "Y"}, {14, "100"}});
    const QStringList tx2 = With(Good_Tx, {{1, "0x10"}, {12, "N"}, {13, "N"}, {14, ""}});
    for (int model : {6, 10}) {
        SCOPED_TRACE(model);
        EditorEnv env(model);
        QDir().mkpath(Conf_Dir + "/bin");
        Save_Table(*Rx(), {{1, rx1}, {2, rx2}}, env.Boxes);
        Save_Table(*Tx(), {{1, tx1}, {2, tx2}}, env.Boxes);
        const auto saved = Built_Images();
        ASSERT_FALSE(saved.empty());

        // the same tables by hand, on one line, attributes in another order
        Write_File(File_CAN_Define_Receive, Hand_Table("Receive_CAN", Rx_Attrs, {rx1, rx2}));
        Write_File(File_CAN_Define_Transmit, Hand_Table("Transmit_CAN", Tx_Attrs, {tx1, tx2}));
        EXPECT_EQ(Built_Images(), saved);

        // and the tables are in: an image without them differs
        QFile::remove(File_CAN_Define_Receive);
        QFile::remove(File_CAN_Define_Transmit);
        EXPECT_NE(Built_Images(), saved);
    }
}
