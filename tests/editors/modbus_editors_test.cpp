// Model 892's Modbus request tables and its DM1 alarm table: what they make of the shared
// editor frame (file, root, limit, columns, which rows are written, checks and texts), the
// IP address test, the byte positions of the gateway memory and the total of requests.
#include "editor_fixture.h"
#include "editors/dm1_editor.h"
#include "editors/modbus_editors.h"
#include "platform/ui/lb_button.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {
using Make = Editor_Factory<>;
const Make Read = Factory_Of<TFModbusReadRequest>(), Write = Factory_Of<TFModbusWriteRequest>(),
           Dm1_Read = Factory_Of<TFModbusReadRequest_DM1_J1939>(), Alarms = Factory_Of<TFDefineDM1_J1939>();

const QStringList Read_Attrs{"IP_Address", "Port",     "SlaveID",  "Type",     "Address", "NPoint",
                             "PollTime",   "MaxError", "Position", "StartBit", "Swap",    "Mnemonic"};
const QStringList Write_Attrs{"IP_Address", "Port",    "SlaveID",  "Type",     "Address", "NPoint",  "PollTime",
                              "OnChange",   "MaxError", "Position", "StartBit", "Swap",    "Mnemonic"};
const QStringList Alarm_Attrs{"Position", "Bit_Pos", "SNP", "FMI",  "CM",   "Ver_CM", "MIL",     "RSL",
                              "AWL",      "PL",      "FMIL", "FRSL", "FAWL", "FPL",    "Mnemonic"};

// A row that passes every check of its table.
const QStringList Good_Read{"192.168.1.125", "502", "1", "Holding Register", "0", "10", "1000", "3", "0", "", "N", "m"};
const QStringList Good_Write{"192.168.1.125", "502", "1", "Holding Register", "0", "10", "0", "N", "3", "0", "", "N", "w"};
const QStringList Good_Alarm{"99", "0", "524287", "31", "1", "1", "3", "3", "3", "3", "3", "3", "3", "3", "a"};

struct Table {
    const char* Window;
    Make New;
    const QString* File;
    const char* Root;
    int Limit;
    const char* GridName;
    int Width;
    const char* Caption;
    QStringList Attrs;
    QStringList Good;
};

std::vector<Table> Tables()
{
    return {
        {"TFModbusReadRequest", Read, &File_Modbus_Read_Req, "ModbusReadRequest", 480,
         "ACG_Modbus_Read", 833, "Modbus Read", Read_Attrs, Good_Read},
        {"TFModbusWriteRequest", Write, &File_Modbus_Write_Req, "ModbusWriteRequest", 480,
         "ACG_Modbus_Write", 884, "Modbus Write", Write_Attrs, Good_Write},
        {"TFModbusReadRequest_DM1_J1939", Dm1_Read, &File_Modbus_Read_Req_DM1,
         "ModbusReadRequest_DM1", 100, "ACG_Modbus_Read", 834, "Modbus Request for J1939 DM1", Read_Attrs, Good_Read},
        {"TFDefineDM1_J1939", Alarms, &File_Define_Alarms_DM1, "Define_Alarms_DM1", 100, "ACG", 995,
         "Define J1939 DM1 (Alarms)", Alarm_Attrs, Good_Alarm},
    };
}

void Send_DM1(const char* flag)
{
    Write_File(File_ParGen, QByteArray("<Par_Gen><J1939_Send_DM1>") + flag + "</J1939_Send_DM1></Par_Gen>");
}

// A request file of n rows, written by hand.
void Request_File(const QString& path, const char* root, int n)
{
    QByteArray xml = QByteArray("<") + root + ">";
    for (int i = 0; i < n; ++i)
        xml += "<row IP_Address=\"10.0.0.1\" Port=\"502\" SlaveID=\"1\" Type=\"Holding Register\" Address=\"0\" "
               "NPoint=\"1\" PollTime=\"1\" MaxError=\"0\" Position=\"0\"/>";
    Write_File(path, xml + "</" + root + ">");
}
}  // namespace

TEST(ModbusTables, FileRootLimitColumnsAndTheRowsWritten)
{
    for (const Table& t : Tables()) {
        SCOPED_TRACE(t.Window);
        EditorEnv env(2);
        Send_DM1("1");
        auto e = t.New();
        EXPECT_EQ(e->Grid()->RowCount() - 1, t.Limit);
        EXPECT_EQ(e->Grid()->objectName(), t.GridName);
        EXPECT_EQ(e->ClientWidth(), t.Width);
        EXPECT_EQ(e->ClientHeight(), 337);
        EXPECT_EQ(e->Caption(), t.Caption);
        EXPECT_EQ(e->Title.L_SW_Code->text(), SW_Code);
        EXPECT_EQ(e->Btn_InsRow, nullptr);
        QStringList attrs;
        for (const TTableColumn& c : e->Desc().Columns) attrs << c.Attribute;
        EXPECT_EQ(attrs, t.Attrs);

        EXPECT_EQ(e->Desc().File, t.File);
        Expect_Gap_Skipped(*e, env.Boxes, t.Attrs, t.Good, t.Root, "1.205");

        // a row without key but with data would vanish: refused, naming it
        Fill_Cells(*e, 2, With(QStringList(t.Attrs.size()), {{int(t.Attrs.size()), "note"}}));
        env.Boxes.Clear();
        e->SetModalResult(mrNone);
        const QByteArray before = Read_File(*t.File);
        e->Btn_OKClick();
        ASSERT_EQ(env.Boxes.Calls.size(), 1u);
        EXPECT_TRUE(env.Boxes.Calls[0].Text.startsWith("Error row 2!! ")) << env.Boxes.Calls[0].Text.toStdString();
        EXPECT_TRUE(env.Boxes.Calls[0].Text.endsWith(" is empty: the row would not be saved"));
        EXPECT_EQ(Read_File(*t.File), before);
        EXPECT_EQ(e->ModalResult(), mrNone);
    }
}

TEST(ModbusTables, AFileRoundTripKeepsEveryCellText)
{
    for (const Table& t : Tables()) {
        SCOPED_TRACE(t.Window);
        EditorEnv env(2);
        Send_DM1("1");
        // blanks around texts, hexadecimal numbers and characters XML escapes
        QStringList odd = With(t.Good, {{1, t.Attrs[0] == "IP_Address" ? " 10.0.0.0x1F" : " 0x0A"},
                                        {2, t.Attrs[0] == "IP_Address" ? "$1F6" : "7"},
                                        {int(t.Good.size()), "  a & b <c> \"d\" 'e'  "}});
        Expect_File_Round_Trip(t.New, t.Root, t.Attrs, {odd, t.Good}, "1.205", env.Boxes);
    }
}

TEST(ModbusTables, ARequestWithoutSwapLoadsAsNotSwapped)
{
    EditorEnv env(2);
    Write_File(File_Modbus_Write_Req, "<ModbusWriteRequest><row IP_Address=\"1.2.3.4\" OnChange=\"Y\"/></ModbusWriteRequest>");
    auto e = Make_Editor<TFModbusWriteRequest>();
    e->FormShow();
    EXPECT_EQ(e->Cell(12, 1), "N");
    EXPECT_EQ(e->Cell(8, 1), "Y");
}

TEST(ModbusTables, TheChecksRunInOrderWithTheirTexts)
{
    struct Case {
        const char* Name;
        Make New;
        QStringList Row;
        QString Error;   // empty: passes
    } cases[] = {
        {"read good", Read, Good_Read, {}},
        {"read ip", Read, With(Good_Read, {{1, "192.168.1"}, {2, "0"}}),
         "Error row 1!! Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"read port", Read, With(Good_Read, {{2, "0"}, {3, "0"}}),
         "Error row 1!! Port must be between 1 and 65535"},
        {"read slave", Read, With(Good_Read, {{3, "256"}, {4, ""}}),
         "Error row 1!! Slave ID must be between 1 and 255"},
        {"read type", Read, With(Good_Read, {{4, ""}, {5, "x"}}),
         "Error row 1!! Type must be Coil Status or Input Status or Holding Register or Input Register"},
        {"read address", Read, With(Good_Read, {{5, "65536"}}),
         "Error row 1!! Address must be between 0 and 65535"},
        {"read registers", Read, With(Good_Read, {{6, "126"}}),
         "Error row 1!! NPoint must be between 1 and 125"},
        {"read coils 2000 with a start bit", Read,
         With(Good_Read, {{4, "Coil Status"}, {6, "2000"}, {10, "0"}}), {}},
        {"read input status 2001", Read, With(Good_Read, {{4, " input status"}, {6, "2001"}}),
         "Error row 1!! NPoint must be between 1 and 2000"},
        {"read poll", Read, With(Good_Read, {{7, "0"}}),
         "Error row 1!! Poll Time must be between 1 and 100000000"},
        {"read max error", Read, With(Good_Read, {{8, "100000001"}}),
         "Error row 1!! Max Error must be between 0 and 100000000"},
        {"read position", Read, With(Good_Read, {{9, "2000"}}),
         "Error row 1!! Position must be at least 0 and less than 2000"},
        {"read coil without start bit", Read, With(Good_Read, {{4, "Coil Status"}}),
         "Error row 1!! Bit must be between 0 and 7"},
        {"dm1 read slave 247", Dm1_Read, With(Good_Read, {{3, "247"}, {9, "99"}}), {}},
        {"dm1 read slave 248", Dm1_Read, With(Good_Read, {{3, "248"}}),
         "Error row 1!! Slave ID must be between 1 and 247"},
        {"dm1 read position 100", Dm1_Read, With(Good_Read, {{9, "100"}}),
         "Error row 1!! Position must be at least 0 and less than 100"},
        {"write good", Write, Good_Write, {}},
        {"write ip", Write, With(Good_Write, {{1, "1.2.3.4.5"}}),
         "Error row 1!! Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"write port", Write, With(Good_Write, {{2, "65536"}}),
         "Error row 1!! Port must be between 1 and 65535"},
        {"write slave", Write, With(Good_Write, {{3, "0"}}),
         "Error row 1!! Slave ID must be between 1 and 255"},
        {"write type", Write, With(Good_Write, {{4, ""}}),
         "Error row 1!! Type must be Coil Status or Holding Register"},
        {"write address", Write, With(Good_Write, {{5, "-1"}}),
         "Error row 1!! Address must be between 0 and 65535"},
        {"write coils 1968", Write, With(Good_Write, {{4, "Coil Status"}, {6, "1968"}, {11, "7"}}), {}},
        {"write coils 1969", Write, With(Good_Write, {{4, "Coil Status"}, {6, "1969"}, {11, "7"}}),
         "Error row 1!! NPoint must be between 1 and 1968"},
        {"write registers 124", Write, With(Good_Write, {{6, "124"}}),
         "Error row 1!! NPoint must be between 1 and 123"},
        {"write poll", Write, With(Good_Write, {{7, ""}}),
         "Error row 1!! Poll Time must be between 0 and 100000000"},
        {"write max error", Write, With(Good_Write, {{9, "x"}}),
         "Error row 1!! Max Error must be between 0 and 100000000"},
        {"write position 4999", Write, With(Good_Write, {{10, "4999"}}), {}},
        {"write position 5000", Write, With(Good_Write, {{10, "5000"}}),
         "Error row 1!! Position must be between 0 and 4999"},
        {"write position 9999", Write, With(Good_Write, {{10, "9999"}}),
         "Error row 1!! Position must be between 0 and 4999"},
        {"write coil without start bit", Write, With(Good_Write, {{4, "Coil Status"}}),
         "Error row 1!! Bit must be between 0 and 7"},
        {"alarm good", Alarms, Good_Alarm, {}},
        {"alarm position", Alarms, With(Good_Alarm, {{1, "100"}, {3, "-1"}}),
         "Error row 1!! Position must be between 0 and 99"},
        {"alarm spn", Alarms, With(Good_Alarm, {{3, "524288"}}),
         "Error row 1!! Suspect Parameter Number must be between 0 and 524287"},
        {"alarm fmi", Alarms, With(Good_Alarm, {{4, "32"}}),
         "Error row 1!! Failure Mode Identifier must be between 0 and 31"},
        {"alarm cm", Alarms, With(Good_Alarm, {{5, "2"}}),
         "Error row 1!! Conversion Method (SPN) must be between 0 and 1"},
        {"alarm version", Alarms, With(Good_Alarm, {{6, ""}}),
         "Error row 1!! Version Conversion Method must be between 1 and 4"},
        {"alarm cm 0 version 4", Alarms, With(Good_Alarm, {{5, "0"}, {6, "4"}}), {}},
        {"alarm cm 0 version 3", Alarms, With(Good_Alarm, {{5, "0"}, {6, "3"}}),
         "Error row 1!! If Conversion Method (SPN) is equal to 0 the Version must be 4"},
        {"alarm cm 1 version 4", Alarms, With(Good_Alarm, {{5, "1"}, {6, "4"}}),
         "Error row 1!! If Conversion Method (SPN) is equal to 1 the Version must be between 1 and 3"},
        {"alarm lamps in order", Alarms, With(Good_Alarm, {{8, "4"}, {7, "-1"}}),
         "Error row 1!! Multifunction Indicator Lamp must be between 0 and 3"},
        {"alarm flash protect lamp", Alarms, With(Good_Alarm, {{14, "4"}}),
         "Error row 1!! Flash Protect Lamp must be between 0 and 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(2);
        auto e = c.New();
        e->FormShow();
        Fill_Cells(*e, 1, c.Row);
        Expect_Check(*e, env.Boxes, c.Error);
    }
    // every lamp has its own message, and a failing row is named by its grid row
    for (int lamp = 0; lamp < 8; ++lamp) {
        EditorEnv env(2);
        auto e = Make_Editor<TFDefineDM1_J1939>();
        Fill_Cells(*e, 1, Good_Alarm);
        Fill_Cells(*e, 4, With(Good_Alarm, {{7 + lamp, "4"}}));
        EXPECT_FALSE(e->Controllo_dati());
        EXPECT_EQ(env.Boxes.Texts(), QStringList{LT(744) + "4" + LT(752 + lamp)});
    }
}

TEST(ModbusTables, IpAddressTest)
{
    const struct {
        const char* Text;
        bool Invalid;
    } cases[] = {
        {"192.168.1.125", false}, {"0.0.0.0", false},   {"255.255.255.255", false}, {" 10. 1.$0A.0x1F", false},
        {"", true},               {"192.168.1", true},  {"1.2.3.4.5", true},        {"256.1.1.1", true},
        {"1.2.3.256", true},      {"1.2.x.4", true},    {"1..2.3", true},           {"1.2.3.4 ", true},
        {"1234", true},           {"-1.2.3.4", true},   {".1.2.3", true},           {"1.2.3.", true},
    };
    for (const auto& c : cases) EXPECT_EQ(Check_IP_Address(QString::fromLatin1(c.Text)), c.Invalid) << c.Text;
}

TEST(ModbusTables, BytePositionsOfTheGatewayMemory)
{
    struct Case {
        const char* Name;
        Make New;
        int Col;
        const char* DM1;   // J1939_Send_DM1 of ParGen.xml; nullptr: no document
        int Positions;
    } cases[] = {
        {"read, no parameters", Read, 9, nullptr, 2000},
        {"read, DM1 off", Read, 9, "0", 2000},
        {"read, DM1 \" 1\" is not on", Read, 9, " 1", 2000},
        {"read, DM1 on", Read, 9, "1", 1900},
        {"write, DM1 on", Write, 10, "1", 2000},
        {"DM1 read", Dm1_Read, 9, "1", 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(2);
        if (c.DM1) Send_DM1(c.DM1);
        auto e = c.New();
        e->FormShow();
        const QStringList items = e->Grid()->Columns()->Items(c.Col)->ComboItems()->Strings();
        ASSERT_EQ(items.size(), c.Positions);
        EXPECT_EQ(items.first(), "0");
        EXPECT_EQ(items.last(), QString::number(c.Positions - 1));
        if (c.Col != 9) continue;   // the write table tests 0..4999 whatever it offers
        Fill_Cells(*e, 1, With(Good_Read, {{9, items.last().toLatin1().constData()}}));
        EXPECT_TRUE(e->Controllo_dati());
        e->Grid()->SetCells(9, 1, QString::number(c.Positions));
        EXPECT_FALSE(e->Controllo_dati());
        EXPECT_EQ(env.Boxes.Texts(), QStringList{"Error row 1!! Position must be at least 0 and less than " + QString::number(c.Positions)});
    }
    // the read table follows the parameters at every showing
    EditorEnv env(2);
    auto e = Make_Editor<TFModbusReadRequest>();
    e->FormShow();
    EXPECT_EQ(static_cast<TFModbusReadRequest*>(e.get())->app_NUM_DATA_BYTES_892, 2000);
    Send_DM1("1");
    e->FormShow();
    EXPECT_EQ(static_cast<TFModbusReadRequest*>(e.get())->app_NUM_DATA_BYTES_892, 1900);
}

TEST(ModbusTables, OkRefusesMoreRequestsThanTheDeviceImageHolds)
{
    EditorEnv env(2);
    Send_DM1("1");
    Request_File(File_Modbus_Read_Req, "ModbusReadRequest", 480);
    Request_File(File_Modbus_Read_Req_DM1, "ModbusReadRequest_DM1", 100);
    auto e = Make_Editor<TFModbusWriteRequest>();
    e->FormShow();
    for (int r = 1; r <= 381; ++r) Fill_Cells(*e, r, Good_Write);
    e->Btn_OKClick();
    EXPECT_EQ(e->ModalResult(), mrNone);
    EXPECT_FALSE(QFile::exists(File_Modbus_Write_Req));
    ASSERT_EQ(env.Boxes.Calls.size(), 1u);
    EXPECT_EQ(env.Boxes.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(env.Boxes.Calls[0].Text,
              "The Modbus read, DM1 read and write requests of this configuration are 961 together; the device holds at "
              "most 960. Remove 1 request(s) before saving.");
    // one fewer fits exactly
    e->Grid()->SetRow(381);
    env.Boxes.Answers = {mrYes};
    e->Btn_DelRowClick();
    env.Boxes.Clear();
    e->Btn_OKClick();
    EXPECT_EQ(env.Boxes.Texts(), QStringList());
    EXPECT_EQ(e->ModalResult(), mrOk);

    // the read table's own rows count as in the grid, not as in its file
    auto read = Make_Editor<TFModbusReadRequest>();
    read->FormShow();
    read->Delete_Row(1);
    read->Btn_OKClick();
    EXPECT_EQ(read->ModalResult(), mrOk);
    // with DM1 sending off the image leaves the DM1 requests out: 480 + 480 fit
    Send_DM1("0");
    Request_File(File_Modbus_Read_Req, "ModbusReadRequest", 480);
    for (int r = 381; r <= 480; ++r) Fill_Cells(*e, r, Good_Write);
    e->SetModalResult(mrNone);
    e->Btn_OKClick();
    EXPECT_EQ(env.Boxes.Texts(), QStringList());
    EXPECT_EQ(e->ModalResult(), mrOk);
}

TEST(ModbusTables, TheWindowsFollowTheLanguage)
{
    EditorEnv env(2);
    auto read = Make_Editor<TFModbusReadRequest>();
    auto dm1 = Make_Editor<TFModbusReadRequest_DM1_J1939>();
    auto alarms = Make_Editor<TFDefineDM1_J1939>();
    EXPECT_EQ(read->Grid()->Cells(11, 0), "Swap");
    EXPECT_EQ(alarms->Grid()->Cells(3, 0), "SPN");
    EXPECT_EQ(alarms->Grid()->Cells(0, 0), "N");
    EXPECT_EQ(alarms->Title.L_SW_Desc->text(), "Map for the Definition of J1939 DM1 (Alarms)");
    Lang_Texts[324] = "IP-Adresse";
    Lang_Texts[288] = "Gut";
    Lang_Texts[722] = "DM1-Anfragen";
    Lang_Texts[731] = "SPN-Nr";
    for (TTableEditor* e : {static_cast<TTableEditor*>(read.get()), static_cast<TTableEditor*>(dm1.get()),
                            static_cast<TTableEditor*>(alarms.get())})
        e->Set_Lang();
    EXPECT_EQ(read->Grid()->Cells(1, 0), "IP-Adresse");
    EXPECT_EQ(dm1->Btn_OK->Caption(), "Gut");
    EXPECT_EQ(dm1->Title.L_SW_Desc->text(), "DM1-Anfragen");
    EXPECT_EQ(alarms->Grid()->Columns()->Items(3)->Header(), "SPN-Nr");
}

TEST(ModbusTables, TheUserFillsARequestByKeyboardAndMouse)
{
    EditorEnv env(2);
    auto e = Make_Editor<TFModbusWriteRequest>();
    TProColumnGrid* g = e->Grid();
    const User user(e.get(), g);
    // the lists and check boxes of the row, as picked before
    Fill_Cells(*e, 1, With(Good_Write, {{1, ""}, {2, ""}, {3, ""}, {13, ""}}));

    Click_Cell(g, 1, 1);
    user.Type("10.0.0.7");
    user.Key(Qt::Key_Tab);
    EXPECT_EQ(g->Col(), 2);
    user.Type_Cells({"502", "9"});   // Enter ends the cell, not the window
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->ModalResult(), mrNone);
    Click_Cell(g, 13, 1);
    user.Type("pump 1");
    user.Key(Qt::Key_Escape);   // nor does Escape while the cell is edited
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->ModalResult(), mrNone);
    EXPECT_EQ(Row_Cells(*e, 1).mid(0, 3), QStringList({"10.0.0.7", "502", "9"}));

    QTest::mouseClick(e->Btn_OK, Qt::LeftButton);
    EXPECT_EQ(env.Boxes.Texts(), QStringList());
    EXPECT_EQ(e->ModalResult(), mrOk);
    const auto rows = Saved_Rows(File_Modbus_Write_Req);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], Named(Write_Attrs, With(Good_Write, {{1, "10.0.0.7"}, {2, "502"}, {3, "9"},
                                                            {13, g->Cells(13, 1).toUtf8().constData()}})));
    e->hide();
}

TEST(ModbusTables, TablesSavedByTheEditorsBuildTheSameImagesAsTablesWrittenByHand)
{
    EditorEnv env(2);
    QDir().mkpath(Conf_Dir + "/bin");
    Send_DM1("1");
    // a bit request has its start bit; a register request may leave it empty, as its check allows
    const QStringList read1 = With(Good_Read, {{1, "192.168.1.20"}, {4, "Coil Status"}, {6, "12"}, {9, "17"}, {10, "3"}, {11, "Y"}});
    const QStringList read2 = With(Good_Read, {{1, "192.168.1.21"}, {2, "0x1F6"}, {4, "Input Register"}, {9, "1899"}});
    const QStringList write1 = With(Good_Write, {{4, "Coil Status"}, {6, "1"}, {8, "Y"}, {10, "40"}, {11, "5"}});
    const QStringList dm1 = With(Good_Read, {{3, "7"}, {9, "98"}, {10, "1"}});
    const QStringList alarm1 = With(Good_Alarm, {{1, "98"}, {2, "6"}, {5, "0"}, {6, "4"}});
    const QStringList alarm2 = With(Good_Alarm, {{1, "99"}, {3, "1234"}, {6, "2"}, {9, "0"}});
    struct Fill {
        Make New;
        std::vector<std::pair<int, QStringList>> Rows;
    } fills[] = {
        {Read, {{1, read1}, {4, read2}}},
        {Write, {{2, write1}}},
        {Dm1_Read, {{1, dm1}}},
        {Alarms, {{1, alarm1}, {2, alarm2}}},
    };
    for (const Fill& f : fills) Save_Table(*f.New(), f.Rows, env.Boxes);
    const auto saved = Built_Images();
    ASSERT_TRUE(saved.count("bank1.bin"));
    const QByteArray& bank1 = saved.at("bank1.bin");
    ASSERT_GE(bank1.size(), 76);
    // the four requests are in: two read, one DM1 read, one write
    EXPECT_EQ(uint8_t(bank1[72]) | uint8_t(bank1[73]) << 8, 4);

    // the same tables by hand, on one line, attributes in another order
    Write_File(File_Modbus_Read_Req, Hand_Table("ModbusReadRequest", Read_Attrs, {read1, read2}));
    Write_File(File_Modbus_Write_Req, Hand_Table("ModbusWriteRequest", Write_Attrs, {write1}));
    Write_File(File_Modbus_Read_Req_DM1, Hand_Table("ModbusReadRequest_DM1", Read_Attrs, {dm1}));
    Write_File(File_Define_Alarms_DM1, Hand_Table("Define_Alarms_DM1", Alarm_Attrs, {alarm1, alarm2}));
    EXPECT_EQ(Built_Images(), saved);
}
