// Model 890's Modbus master request tables: what they make of the shared editor frame
// (file, root, limit, columns, hidden columns, which rows are written, checks and texts),
// the map text check, the map edited through the map dialog, and the device image built
// from the saved tables.
#include "editor_fixture.h"
#include "editors/modbus_890_editors.h"
#include "editors/register_map_dialog.h"
#include "platform/core/xml.h"
#include "platform/ui/lb_button.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {
using Make = Editor_Factory<TModbusReq890Editor>;
const Make Read = Factory_Of<TFModbusReadReq_890, TModbusReq890Editor>(),
           Write = Factory_Of<TFModbusWriteReq_890, TModbusReq890Editor>();

const QStringList Read_Attrs{"SlaveID", "Type", "Address", "NPoint", "PollTime", "MaxError", "Regs_Status_Map", "Mnemonic"};
const QStringList Write_Attrs{"SlaveID", "Type",   "Address",  "NPoint",          "PollTime",
                              "OnChange", "OnCMD", "MaxError", "Regs_Status_Map", "Mnemonic"};

// Rows that pass every check: two holding registers mapped to bytes 1..4.
const QStringList Good_Read{"1", "Holding Register", "0", "2", "1000", "3", "[1,2][3,4]", "m"};
const QStringList Good_Write{"1", "Holding Register", "0", "2", "0", "N", "N", "3", "[1,2][3,4]", "w"};

// Frame tables of the given byte counts: transmit frames (NumByte) and receive frames
// (NumBytes), by hand.
void Frames(std::initializer_list<int> transmit, std::initializer_list<int> receive)
{
    QByteArray t = "<TransmitJ1939>";
    int pgn = 0xFF00;
    for (int n : transmit)
        t += "<row Priority=\"6\" DataPage=\"0\" PGN=\"" + QByteArray::number(pgn++) + "\" SourceAddress=\"1\" NumByte=\"" +
             QByteArray::number(n) + "\"/>";
    Write_File(File_J1939_Transmit, t + "</TransmitJ1939>");
    QByteArray r = "<ReceiveJ1939>";
    for (int n : receive)
        r += "<row DataPage=\"0\" PGN=\"" + QByteArray::number(pgn++) + "\" SourceAddress=\"2\" NumBytes=\"" +
             QByteArray::number(n) + "\"/>";
    Write_File(File_J1939_Receive, r + "</ReceiveJ1939>");
}

struct Table {
    const char* Window;
    Make New;
    const QString* File;
    const char* Root;
    const char* GridName;
    int Width;
    const char* Caption;
    const char* Desc;
    int MapCol;
    QStringList Attrs;
    QStringList Good;
};

std::vector<Table> Tables()
{
    return {
        {"TFModbusReadReq_890", Read, &File_Modbus_Read_Req, "ModbusReadRequest",
         "ACG_Modbus_Read", 750, "Modbus Read", "Modbus Read Requests", 7, Read_Attrs, Good_Read},
        {"TFModbusWriteReq_890", Write, &File_Modbus_Write_Req, "ModbusWriteRequest",
         "ACG_Modbus_Write", 880, "Modbus Write", "Modbus Write Requests", 9, Write_Attrs, Good_Write},
    };
}

// The map dialog the program creates at start-up, for the editors to open.
struct MapDialog {
    MapDialog() : D(Make_Editor<TFConf_Regs_890>()) { FConf_Regs_890 = D.get(); }
    ~MapDialog() { FConf_Regs_890 = nullptr; }
    std::unique_ptr<TFConf_Regs_890> D;
};

// Runs `inside` once `open` has shown the dialog modally; says whether it was shown then.
bool While_Shown(TForm* dialog, const std::function<void()>& inside, const std::function<void()>& open)
{
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = dialog->isVisible();
        inside();
    });
    open();
    return shown;
}
}  // namespace

TEST(Modbus890Tables, FileRootLimitColumnsButtonsAndTheRowsWritten)
{
    for (const Table& t : Tables()) {
        SCOPED_TRACE(t.Window);
        EditorEnv env(5);
        auto e = t.New();
        EXPECT_EQ(e->Grid()->RowCount() - 1, 480);
        EXPECT_EQ(e->Grid()->objectName(), t.GridName);
        EXPECT_EQ(e->ClientWidth(), t.Width);
        EXPECT_EQ(e->ClientHeight(), 337);
        EXPECT_EQ(e->Caption(), t.Caption);
        EXPECT_EQ(e->Title.L_SW_Desc->text(), t.Desc);
        EXPECT_EQ(e->Title.L_SW_Code->text(), SW_Code);
        ASSERT_NE(e->Btn_InsRow, nullptr);
        EXPECT_EQ(e->Btn_InsRow->Caption(), "Insert Row");
        ASSERT_NE(e->Btn_RegMap, nullptr);
        EXPECT_EQ(e->Btn_RegMap->Caption(), "Map");
        EXPECT_EQ(e->Btn_RegMap->x(), 488);
        EXPECT_EQ(e->Grid()->Cells(t.MapCol, 0), "Registers / Status Map");
        QStringList attrs;
        for (const TTableColumn& c : e->Desc().Columns) attrs << c.Attribute;
        EXPECT_EQ(attrs, t.Attrs);
        for (int c = 0; c <= int(t.Attrs.size()); ++c) EXPECT_FALSE(e->Grid()->IsHiddenColumn(c)) << c;

        EXPECT_EQ(e->Desc().File, t.File);
        Frames({8}, {8});
        Expect_Gap_Skipped(*e, env.Boxes, t.Attrs, t.Good, t.Root, "1.402");
    }
}

TEST(Modbus890Tables, OnCommandIsAColumnOfModel890OnlyAndTheOtherModelGetsItsVersion)
{
    EditorEnv env(2);
    auto e = Make_Editor<TFModbusWriteReq_890>();
    EXPECT_TRUE(e->Grid()->IsHiddenColumn(7));
    EXPECT_FALSE(e->Grid()->IsHiddenColumn(6));
    Frames({8}, {8});
    Fill_Cells(*e, 1, Good_Write);
    e->Btn_OKClick();
    EXPECT_EQ(env.Boxes.Texts(), QStringList());
    QString comment;
    const auto rows = Saved_Rows(File_Modbus_Write_Req, nullptr, &comment);
    EXPECT_EQ(comment, "SW_VERSION = 1.205");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], Named(Write_Attrs, Good_Write));   // the hidden column is still written
}

TEST(Modbus890Tables, AFileRoundTripKeepsEveryCellAndMissingAttributesTakeTheirDefaults)
{
    for (const Table& t : Tables()) {
        SCOPED_TRACE(t.Window);
        EditorEnv env(5);
        Frames({8}, {8});
        const QStringList odd = With(t.Good, {{1, " 0x0A"}, {t.MapCol, " [ 1 , 2 ] x [3,4] "},
                                              {int(t.Good.size()), "  a & b <c> \"d\" 'e'  "}});
        Expect_File_Round_Trip(t.New, t.Root, t.Attrs, {odd, t.Good}, "1.402", env.Boxes);

        // the third row is one of an older file: no map, no On CMD
        const QByteArray end = QByteArray("</") + t.Root;
        Write_File(*t.File, Table_Xml(t.Root, t.Attrs, {odd, t.Good})
                                .replace(end, "<row SlaveID=\"2\" Type=\"Holding Register\"/>" + end));
        auto e = t.New();
        e->FormShow();
        EXPECT_EQ(Row_Cells(*e, 1), odd);
        EXPECT_EQ(Row_Cells(*e, 2), t.Good);
        EXPECT_EQ(e->Cell(1, 3), "2");
        EXPECT_EQ(e->Cell(t.MapCol, 3), "");
        if (t.MapCol == 9) EXPECT_EQ(e->Cell(7, 3), "N");
    }
}

TEST(Modbus890Tables, MapCheck)
{
    const struct {
        const char* Map;
        int Points;
        bool Registers;
        int Result;
    } cases[] = {
        {"[1,2][3,4]", 2, true, 1},
        {"[1,2]", 2, true, 4},
        {"[1,2][3,4][5,6]", 2, true, 4},
        {"[1,2][3,4", 2, true, 2},
        {"[1,2][3,2001]", 2, true, 3},
        {"[2001,1]", 1, true, 3},
        {"", 2, true, 2},
        {"   ", 1, true, 2},
        {"[1,2] x", 1, true, 2},
        {"[1,2] x [3,4]", 2, true, 1},
        {" [ 0x1 , $2 ] ", 1, true, 1},
        {"[a,2]", 1, true, 2},
        {"[1 2]", 1, true, 2},
        {"[-1,2]", 1, true, 2},
        {"[-2,2]", 1, true, 3},
        {"[0,0][0,0]", 2, true, 1},
        {"[5,0]", 1, false, 3},
        {"[5,8]", 1, false, 1},
        {"[0,1]", 1, false, 1},
        {"[5,9]", 1, false, 3},
        {"[2000,1]", 1, false, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Check_Map(QString::fromLatin1(c.Map), c.Points, c.Registers), c.Result) << c.Map << " " << c.Points;
}

TEST(Modbus890Tables, TheChecksRunInOrderWithTheirTexts)
{
    struct Case {
        const char* Name;
        Make New;
        QStringList Row;
        QString Error;   // empty: passes
        TMsgDlgType Kind = TMsgDlgType::mtError;
    } cases[] = {
        {"read good", Read, Good_Read, {}},
        {"read slave 247", Read, With(Good_Read, {{1, "247"}}), {}},
        {"read slave 248", Read, With(Good_Read, {{1, "248"}, {2, ""}}),
         "Error row 1!! Slave ID must be between 1 and 247"},
        {"read slave 0", Read, With(Good_Read, {{1, "0"}}),
         "Error row 1!! Slave ID must be between 1 and 247"},
        {"read type", Read, With(Good_Read, {{2, ""}, {3, "x"}}),
         "Error row 1!! Type must be Coil Status or Input Status or Holding Register or Input Register"},
        {"read address", Read, With(Good_Read, {{3, "65536"}}),
         "Error row 1!! Address must be between 0 and 65535"},
        {"read registers 126", Read, With(Good_Read, {{4, "126"}}),
         "Error row 1!! NPoint must be between 1 and 125"},
        {"read input status 2001", Read, With(Good_Read, {{2, " input status"}, {4, "2001"}}),
         "Error row 1!! NPoint must be between 1 and 2000"},
        {"read poll 0", Read, With(Good_Read, {{5, "0"}}),
         "Error row 1!! Poll Time must be between 1 and 100000000"},
        {"read max error", Read, With(Good_Read, {{6, "100000001"}}),
         "Error row 1!! Max Error must be between 0 and 100000000"},
        {"read map short", Read, With(Good_Read, {{7, "[1,2]"}}), "4", TMsgDlgType::mtInformation},
        {"read map open", Read, With(Good_Read, {{7, "[1,2][3,4"}}), "2", TMsgDlgType::mtInformation},
        {"read map range", Read, With(Good_Read, {{7, "[1,2][3,2001]"}}), "3",
         TMsgDlgType::mtInformation},
        {"read map empty", Read, With(Good_Read, {{7, ""}}), "2", TMsgDlgType::mtInformation},
        {"read map no bytes", Read, With(Good_Read, {{7, "[0,0][0,0]"}}), {}},
        {"read coil bit 0", Read, With(Good_Read, {{2, "Coil Status"}, {4, "1"}, {7, "[5,0]"}}),
         "3", TMsgDlgType::mtInformation},
        {"read coil bit 8", Read, With(Good_Read, {{2, "Coil Status"}, {4, "1"}, {7, "[5,8]"}}), {}},
        {"read coil no byte", Read, With(Good_Read, {{2, "Coil Status"}, {4, "1"}, {7, "[0,1]"}}), {}},
        // the frames hold 16 bytes: a map past them points at nothing
        {"read map past the frames", Read, With(Good_Read, {{7, "[1,2][17,4]"}}),
         "Error row 1!! The map points at byte 17, but the J1939 transmit frames hold 16 data byte(s). Map the request "
         "again."},
        {"read bit past the frames", Read,
         With(Good_Read, {{2, "Input Status"}, {4, "1"}, {7, "[16,8]"}}), {}},
        {"write good", Write, Good_Write, {}},
        {"write slave", Write, With(Good_Write, {{1, "248"}}),
         "Error row 1!! Slave ID must be between 1 and 255"},
        {"write type", Write, With(Good_Write, {{2, ""}}),
         "Error row 1!! Type must be Coil Status or Holding Register"},
        {"write address", Write, With(Good_Write, {{3, "-1"}}),
         "Error row 1!! Address must be between 0 and 65535"},
        {"write registers 124", Write, With(Good_Write, {{4, "124"}}),
         "Error row 1!! NPoint must be between 1 and 123"},
        {"write coils 1969", Write, With(Good_Write, {{2, "Coil Status"}, {4, "1969"}}),
         "Error row 1!! NPoint must be between 1 and 1968"},
        {"write poll 0 passes", Write, With(Good_Write, {{5, "0"}}), {}},
        {"write poll", Write, With(Good_Write, {{5, ""}}),
         "Error row 1!! Poll Time must be between 0 and 100000000"},
        {"write max error", Write, With(Good_Write, {{8, "x"}}),
         "Error row 1!! Max Error must be between 0 and 100000000"},
        {"write map", Write, With(Good_Write, {{9, "[1,2]"}}), "4", TMsgDlgType::mtInformation},
        {"write coil map", Write, With(Good_Write, {{2, "Coil Status"}, {4, "2"}, {9, "[1,1][1,8]"}}),
         {}},
        {"write map past the frames", Write, With(Good_Write, {{9, "[1,2][3,9]"}}),
         "Error row 1!! The map points at byte 9, but the J1939 receive frames hold 8 data byte(s). Map the request again."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(5);
        Frames({8, 8}, {8});
        auto e = c.New();
        e->FormShow();
        Fill_Cells(*e, 3, c.Row);
        Expect_Check(*e, env.Boxes, QString(c.Error).replace("row 1", "row 3"));
        if (!c.Error.isEmpty()) {
            EXPECT_EQ(env.Boxes.Calls[0].Type, c.Kind);
        }
    }
    // without frame tables every byte of a map points at nothing; "no byte" still passes
    EditorEnv env(5);
    auto e = Make_Editor<TFModbusWriteReq_890>();
    Fill_Cells(*e, 1, With(Good_Write, {{9, "[0,0][0,0]"}}));
    EXPECT_TRUE(e->Controllo_dati());
    e->Grid()->SetCells(9, 1, "[0,1][0,0]");
    EXPECT_FALSE(e->Controllo_dati());
    EXPECT_EQ(env.Boxes.Texts(), QStringList{"Error row 1!! The map points at byte 1, but the J1939 receive frames hold 0 "
                                             "data byte(s). Map the request again."});
}

TEST(Modbus890Tables, TheMapButtonAndADoubleClickEditTheMapInTheDialog)
{
    EditorEnv env(5);
    Frames({8, 8}, {8});
    MapDialog map;
    auto e = Make_Editor<TFModbusReadReq_890>();
    e->show();   // loads the (missing) file
    Fill_Cells(*e, 2, With(Good_Read, {{3, "100"}, {4, "3"}, {7, "[1,2][0,5]"}}));

    // OK: the map is rebuilt from the dialog's rows, one group per point
    e->Grid()->SetRow(2);
    EXPECT_TRUE(While_Shown(
        map.D.get(),
        [&] {
            EXPECT_EQ(map.D->Show_Type, 1);
            EXPECT_EQ(map.D->L_Address->text(), "Address : 100");
            EXPECT_EQ(map.D->ACG_Modbus_Regs->Cells(0, 3), "102");
            map.D->ACG_Modbus_Regs->SetCells(2, 3, "16");
            map.D->Btn_OK->Click();
        },
        [&] { e->Btn_RegMap->Click(); }));
    EXPECT_EQ(e->Cell(7, 2), "[1,2][0,5][0,16]");

    // Cancel: the cell stays as it was
    While_Shown(
        map.D.get(),
        [&] {
            map.D->ACG_Modbus_Regs->SetCells(1, 1, "9");
            map.D->Btn_Cancel->Click();
        },
        [&] { e->Set_Map(2); });
    EXPECT_EQ(e->Cell(7, 2), "[1,2][0,5][0,16]");

    // the write table opens the dialog on the receive frames
    auto w = Make_Editor<TFModbusWriteReq_890>();
    Fill_Cells(*w, 1, Good_Write);
    While_Shown(
        map.D.get(),
        [&] {
            EXPECT_EQ(map.D->Show_Type, 0);
            EXPECT_EQ(map.D->CB_Sel_FrameJ1939->count(), 1);
            map.D->Btn_OK->Click();
        },
        [&] { w->Map_DblClickCell(nullptr, 1, 9); });
    EXPECT_EQ(w->Cell(9, 1), "[1,2][3,4]");

    // a row without Slave ID, or a double click off the map column, opens nothing
    int shown = 0;
    QTimer::singleShot(0, [&] {
        if (map.D->isVisible()) {
            ++shown;
            map.D->Btn_Cancel->Click();
        }
    });
    e->Grid()->SetRow(1);
    e->Btn_RegMapClick();
    e->Map_DblClickCell(nullptr, 1, 7);
    e->Map_DblClickCell(nullptr, 2, 8);
    QApplication::processEvents();
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(e->Cell(7, 1), "");
    e->hide();
}

TEST(Modbus890Tables, TheUserMapsARequestByKeyboardAndMouse)
{
    EditorEnv env(5);
    Frames({8, 8, 16}, {8});
    MapDialog map;
    auto e = Make_Editor<TFModbusReadReq_890>();
    TProColumnGrid* g = e->Grid();
    const User user(e.get(), g);

    Click_Cell(g, 1, 1);
    user.Type("7");
    user.Key(Qt::Key_Tab);
    EXPECT_EQ(g->Col(), 2);
    g->SetCells(2, 1, "Holding Register");
    Click_Cell(g, 3, 1);
    user.Type_Cells({"40001", "2", "500", "0"});
    EXPECT_EQ(Row_Cells(*e, 1).mid(0, 6), QStringList({"7", "Holding Register", "40001", "2", "500", "0"}));

    // a double click on the map cell opens the dialog; there the user picks the third
    // frame's second byte for the first register's high byte, imports it by a click, and
    // leaves by Enter on OK
    QString shownRows;
    QTimer::singleShot(0, [&] {
        TFConf_Regs_890* d = map.D.get();
        shownRows = d->ACG_Modbus_Regs->Cells(0, 1) + "," + d->ACG_Modbus_Regs->Cells(0, 2);
        Click_Cell(d->ACG_Modbus_Regs, 1, 1);
        d->CB_Sel_FrameJ1939->setFocus();
        QTest::keyClick(d->CB_Sel_FrameJ1939, Qt::Key_Down);
        QTest::keyClick(d->CB_Sel_FrameJ1939, Qt::Key_Down);
        d->CB_Sel_FrameJ1939Change();
        d->CB_Available_Byte->setCurrentIndex(1);
        QTest::mouseClick(d->Btn_Import, Qt::LeftButton);
        d->Btn_OK->setFocus();
        QTest::keyClick(d->Btn_OK, Qt::Key_Return);
    });
    Click_Cell(g, 7, 1, true);
    EXPECT_EQ(shownRows, "40001,40002");
    EXPECT_EQ(e->Cell(7, 1), "[18,0][0,0]");

    // Escape in the dialog leaves the map alone
    QTimer::singleShot(0, [&] {
        map.D->Btn_Cancel->setFocus();
        QTest::keyClick(map.D->Btn_Cancel, Qt::Key_Escape);
    });
    QTest::mouseClick(e->Btn_RegMap, Qt::LeftButton);
    EXPECT_EQ(e->Cell(7, 1), "[18,0][0,0]");

    g->SetCells(7, 1, "[18,0][32,1]");
    QTest::mouseClick(e->Btn_OK, Qt::LeftButton);
    EXPECT_EQ(env.Boxes.Texts(), QStringList());
    EXPECT_EQ(e->ModalResult(), mrOk);
    const auto rows = Saved_Rows(File_Modbus_Read_Req);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], Named(Read_Attrs, {"7", "Holding Register", "40001", "2", "500", "0", "[18,0][32,1]", ""}));
    e->hide();
}

TEST(Modbus890Tables, TheWindowsFollowTheLanguage)
{
    EditorEnv env(5);
    auto read = Make_Editor<TFModbusReadReq_890>();
    auto write = Make_Editor<TFModbusWriteReq_890>();
    EXPECT_EQ(write->Grid()->Cells(7, 0), "On CMD");
    Lang_Texts[710] = "Registerkarte";
    Lang_Texts[377] = "Einfügen";
    Lang_Texts[822] = "Auf Befehl";
    read->Set_Lang();
    write->Set_Lang();
    EXPECT_EQ(read->Grid()->Cells(7, 0), "Registerkarte");
    EXPECT_EQ(read->Btn_InsRow->Caption(), "Einfügen");
    EXPECT_EQ(read->Btn_RegMap->Caption(), "Map");
    EXPECT_EQ(write->Grid()->Cells(7, 0), "Auf Befehl");
}

TEST(Modbus890Tables, TablesSavedByTheEditorsBuildTheSameImagesAsTablesWrittenByHand)
{
    EditorEnv env(5);
    QDir().mkpath(Conf_Dir + "/bin");
    Frames({8, 8}, {8, 8});
    const QStringList read1 = With(Good_Read, {{2, "Coil Status"}, {3, "0x10"}, {4, "3"}, {7, "[1,1][1,2][16,8]"}});
    const QStringList read2 = With(Good_Read, {{1, "247"}, {2, "Input Register"}, {7, "[9,10][0,0]"}});
    const QStringList write1 = With(Good_Write, {{2, "Coil Status"}, {4, "1"}, {6, "Y"}, {7, "Y"}, {9, "[16,1]"}});
    const QStringList write2 = With(Good_Write, {{4, "1"}, {9, "[2,1]"}});
    struct Fill {
        Make New;
        std::vector<std::pair<int, QStringList>> Rows;
    } fills[] = {
        {Read, {{1, read1}, {3, read2}}},
        {Write, {{2, write1}, {5, write2}}},
    };
    for (const Fill& f : fills) Save_Table(*f.New(), f.Rows, env.Boxes);
    const auto saved = Built_Images();
    ASSERT_TRUE(saved.count("bank1.bin") && saved.count("bank2.bin"));
    ASSERT_FALSE(saved.at("bank1.bin").isEmpty());
    // the maps close bank2.bin, four bytes a point: the write requests', then the read requests'
    EXPECT_EQ(saved.at("bank2.bin").right(7 * 4).toHex(), QByteArray("10000100"
                                                     "02000100"
                                                     "01000100"
                                                     "01000200"
                                                     "10000800"
                                                     "09000a00"
                                                     "00000000"));

    // the same tables by hand, attributes in another order
    Write_File(File_Modbus_Read_Req, Hand_Table("ModbusReadRequest", Read_Attrs, {read1, read2}));
    Write_File(File_Modbus_Write_Req, Hand_Table("ModbusWriteRequest", Write_Attrs, {write1, write2}));
    EXPECT_EQ(Built_Images(), saved);
}
