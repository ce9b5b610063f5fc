// The editors against damaged table files and absurd typed values: counts and sizes taken
// from a file or a cell are bounded before they size a list or bound a loop, the rows that
// held more are named, and nothing is written; table numbers read the same in the editors'
// checks and in the image builders.
#include "editor_fixture.h"
#include "editors/canopen_sdo_editors.h"
#include "editors/j1939_editors.h"
#include "editors/j1939_register_editors.h"
#include "editors/modbus_890_editors.h"
#include "editors/register_map_dialog.h"
#include "generate/gen_document.h"
#include "platform/core/sysutils.h"
#include "platform/ui/lb_button.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// Well under what a list of a million items or a loop to 2^31 takes, well over what a
// bounded load takes even in a sanitized debug build.
constexpr qint64 Fast_Ms = 5000;

QByteArray Receive_Frames(std::initializer_list<const char*> numBytes, const char* root = "ReceiveNMEA2000")
{
    QByteArray xml = QByteArray("<") + root + ">";
    int pgn = 0x100;
    for (const char* n : numBytes)
        xml += "<row DataPage=\"0\" PGN=\"" + QByteArray::number(pgn++) + "\" SourceAddress=\"1\" TransportProtocol=\"Y\" "
               "NumBytes=\"" + n + "\"/>";
    return xml + "</" + root + ">";
}

// The frame warning of the editors for these rows.
QString Count_Warning(const QString& path, int n, const char* rows)
{
    return QString("The table file \"%1\" holds %2 byte count(s) outside 0 to 1785 (rows %3); this window reads them as "
                   "the nearest of these bounds.")
        .arg(path)
        .arg(n)
        .arg(rows);
}

// A click on line `line` of a list, as the user picks a frame.
void Click_Line(QListWidget* list, int line)
{
    const QRect r = list->visualItemRect(list->item(line));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QApplication::processEvents();
}
}  // namespace

// Frame byte counts far past a frame: the server SDO windows and the register windows read
// them as 1785 (or 0), name the rows, and a click on such a frame lists 1785 bytes at once.
TEST(BadInput, FrameByteCountsFromAFileAreBoundedAndNamed)
{
    struct Case {
        const char* Name;
        int Model;
        std::function<std::unique_ptr<TFrameItemEditor>()> New;
        QComboBox* (*Selector)(TFrameItemEditor&);
    } cases[] = {
        {"server SDO read", 4, [] { return std::unique_ptr<TFrameItemEditor>(Make_Editor<TFDefine_Server_SDO_Read>()); },
         [](TFrameItemEditor& e) { return static_cast<TServerSDOEditor&>(e).CB_Byte1_SDO; }},
        {"J1939 registers", 0, [] { return std::unique_ptr<TFrameItemEditor>(Make_Editor<TFDefineRecJ1939>()); },
         [](TFrameItemEditor& e) { return static_cast<TDefineJ1939&>(e).CB_Byte_High_Part; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(c.Model);
        const QByteArray frames = Receive_Frames({"2000000", "2147483647", "8", "-2147483648", "0x7FFFFFFF"},
                                                 c.Model == 4 ? "ReceiveNMEA2000" : "ReceiveJ1939");
        Write_File(File_J1939_Receive, frames);
        auto e = c.New();
        QElapsedTimer t;
        t.start();
        User user(e.get());   // showing the window loads its tables
        EXPECT_EQ(env.Boxes.Texts(), QStringList{Count_Warning(File_J1939_Receive, 4, "1, 2, 4, 5")});
        const int expected[] = {1785, 1785, 8, 0, 1785};
        for (int f = 0; f < 5; ++f) {
            Click_Line(e->LB_J1939_Frames, f);
            EXPECT_EQ(c.Selector(*e)->count(), expected[f] + 1) << "frame " << f + 1;
        }
        EXPECT_LT(t.elapsed(), Fast_Ms);
        EXPECT_EQ(Read_File(File_J1939_Receive), frames);
        e->hide();
    }
}

// An object row on frame number -2^31 is dropped like any frame the table does not hold.
TEST(BadInput, ServerSdoObjectsOnFramesNoTableHoldsAreDropped)
{
    EditorEnv env(4);
    Write_File(File_J1939_Receive, Receive_Frames({"8"}));
    const QByteArray objects = "<DefineSDOServerRecJ1939>"
                               "<row NrPdo=\"-2147483648\" Index=\"0x2000\" SubIndex=\"1\" Dimension=\"0\" B1=\"1\" B2=\"2\" B3=\"3\" B4=\"4\"/>"
                               "<row NrPdo=\"2147483647\" Index=\"0x2000\" SubIndex=\"2\" Dimension=\"0\" B1=\"1\" B2=\"2\" B3=\"3\" B4=\"4\"/>"
                               "<row NrPdo=\"x1\" Index=\"0x2000\" SubIndex=\"3\" Dimension=\"2\" B1=\"1\" B2=\"0\" B3=\"0\" B4=\"0\"/>"
                               "</DefineSDOServerRecJ1939>";
    Write_File(File_CANopen_Define_Server_SDO_Read, objects);
    auto e = Make_Editor<TFDefine_Server_SDO_Read>();
    e->FormShow();
    EXPECT_EQ(env.Boxes.Texts(),
              QStringList{QString("The table file \"%1\" holds 2 object(s) on frames that the frame table \"%2\" does not "
                                  "hold (rows 1, 2); they will be dropped if you press OK.")
                              .arg(File_CANopen_Define_Server_SDO_Read, File_J1939_Receive)});
    ASSERT_EQ(e->Lista_J1939_Frame.size(), 1u);
    ASSERT_EQ(e->Lista_J1939_Frame[0].Lista_SDOs.size(), 1u);
    EXPECT_EQ(e->Lista_J1939_Frame[0].Lista_SDOs[0].SubIndex, "3");
    EXPECT_EQ(Read_File(File_CANopen_Define_Server_SDO_Read), objects);
}

// Model 890's map dialog over frames of 2^31 - 1 bytes each: the counts are bounded (their
// sum no longer overflows), the rows are named, and the dialog opens at once.
TEST(BadInput, TheMapDialogBoundsTheFrameBytes)
{
    EditorEnv env(5);
    const QByteArray frames = "<ReceiveJ1939><row DataPage='0' PGN='1' SourceAddress='2' NumBytes='2147483647'/>"
                              "<row DataPage='0' PGN='2' SourceAddress='2' NumBytes='2147483647'/>"
                              "<row DataPage='0' PGN='3' SourceAddress='2' NumBytes='4'/></ReceiveJ1939>";
    Write_File(File_J1939_Receive, frames);
    auto d = Make_Editor<TFConf_Regs_890>();
    d->Show_Type = 0;
    d->STR_Type = "Holding Register";
    d->STR_NPoint = "2147483647";
    d->STR_Conf_Points = "[3571,3572]";
    QElapsedTimer t;
    t.start();
    d->FormShow();
    EXPECT_LT(t.elapsed(), Fast_Ms);
    EXPECT_EQ(env.Boxes.Texts(), QStringList{Count_Warning(File_J1939_Receive, 2, "1, 2")});
    ASSERT_EQ(d->Def_J1939.size(), 3u);
    EXPECT_EQ(d->Def_J1939[1].Offset_Start, 1785);
    EXPECT_EQ(d->Def_J1939[2].Offset_Start, 3570);
    EXPECT_EQ(d->Num_MAX_Byte, 3574);
    EXPECT_EQ(d->CB_Available_Byte->count(), 1785);
    // a dialog reached with more points than any request has stops at that many rows
    EXPECT_EQ(d->ACG_Modbus_Regs->RowCount(), 2001);
    EXPECT_EQ(Read_File(File_J1939_Receive), frames);
}

// The Map button and the double click refuse an NPoint past the request's limit with the
// row check's own message, before the dialog would build a row per point.
TEST(BadInput, TheMapButtonRefusesMorePointsThanARequestHas)
{
    struct Case {
        const char* Name;
        bool Write;
        const char* Type;
        const char* Points;
        const char* Error;   // empty: the dialog opens
    } cases[] = {
        {"read registers 3,000,000", false, "Holding Register", "3000000", "Error row 2!! NPoint must be between 1 and 125"},
        {"read registers 2^31 - 1", false, "Holding Register", "2147483647", "Error row 2!! NPoint must be between 1 and 125"},
        {"read coils 2001", false, "Coil Status", "2001", "Error row 2!! NPoint must be between 1 and 2000"},
        {"read coils 2000", false, "Coil Status", "2000", ""},
        {"write registers 0x7FFFFFFF", true, "Holding Register", "0x7FFFFFFF", "Error row 2!! NPoint must be between 1 and 123"},
        {"write coils 1968", true, "Coil Status", "1968", ""},
        {"not a number", false, "Holding Register", "many", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(5);
        auto d = Make_Editor<TFConf_Regs_890>();
        FConf_Regs_890 = d.get();
        std::unique_ptr<TModbusReq890Editor> e;
        if (c.Write) e = Make_Editor<TFModbusWriteReq_890>();
        else e = Make_Editor<TFModbusReadReq_890>();
        User user(e.get());
        const int mapCol = c.Write ? 9 : 7;
        e->Grid()->SetCells(1, 2, "1");
        e->Grid()->SetCells(2, 2, c.Type);
        e->Grid()->SetCells(3, 2, "0");
        e->Grid()->SetCells(4, 2, c.Points);
        e->Grid()->SetCells(mapCol, 2, "[1,2]");
        e->Grid()->SetRow(2);
        int shown = 0, rows = 0;
        QTimer::singleShot(0, [&] {
            if (!d->isVisible()) return;
            ++shown;
            rows = d->ACG_Modbus_Regs->RowCount();
            d->Btn_Cancel->Click();
        });
        QElapsedTimer t;
        t.start();
        e->Btn_RegMap->Click();
        QApplication::processEvents();
        EXPECT_LT(t.elapsed(), Fast_Ms);
        EXPECT_EQ(shown, *c.Error ? 0 : 1);
        EXPECT_EQ(env.Boxes.Texts(), *c.Error ? QStringList{c.Error} : QStringList());
        if (!*c.Error) {
            EXPECT_LE(rows, 2001);
        }
        EXPECT_EQ(e->Cell(mapCol, 2), "[1,2]");
        EXPECT_FALSE(QFileInfo::exists(*e->Desc().File));
        e->hide();
        FConf_Regs_890 = nullptr;
    }
}

// A map text of a hundred thousand groups is checked in one pass, not copied per group.
TEST(BadInput, ALongMapTextIsCheckedAtOnce)
{
    QString map;
    for (int i = 0; i < 100000; ++i) map += "[1,2]";
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(Check_Map(map, 125, true), 4);
    EXPECT_EQ(Check_Map(map + "[1,", 125, true), 2);
    EXPECT_LT(t.elapsed(), Fast_Ms);
}

// One conversion for table numbers: the editors' checks and the image builders read every
// text alike, the bare "x" of the table files included.
TEST(BadInput, EditorsAndBuildersReadTableNumbersAlike)
{
    struct Case {
        const char* Text;
        bool Ok;
        int32_t Value;
    } cases[] = {
        {"0", true, 0},
        {"  42", true, 42},
        {"+7", true, 7},
        {"-2147483648", true, INT32_MIN},
        {"2147483647", true, INT32_MAX},
        {"2147483648", false, 0},
        {"18446744073709551616", false, 0},
        {"0x1F", true, 0x1F},
        {"0X1f", true, 0x1F},
        {"x1F", true, 0x1F},
        {"X1f", true, 0x1F},
        {"$1F", true, 0x1F},
        {"-x10", true, -16},
        {"0xFFFFFFFF", true, -1},
        {"x100000000", false, 0},
        {"x", false, 0},
        {"0x", false, 0},
        {"", false, 0},
        {" ", false, 0},
        {"12 ", false, 0},
        {"1e3", false, 0},
        {"0b101", false, 0},
        {"\xEF\xBC\x91", false, 0},   // a full-width digit one
        {"1\t", false, 0},
        {"--1", false, 0},
    };
    EditorEnv env(2);
    auto e = Make_Editor<TFReceive_J1939_892>();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        const QString text = QString::fromUtf8(c.Text);
        int32_t editor = 0, builder = 0, builderText = 0;
        EXPECT_EQ(TryStrToInt(text, editor), c.Ok);
        EXPECT_EQ(Try_Doc_Int(c.Text, builder), c.Ok);
        EXPECT_EQ(Try_Doc_Int(text, builderText), c.Ok);
        e->Grid()->SetCells(2, 1, text);
        EXPECT_EQ(e->Num(2, 1, -99), c.Ok ? c.Value : -99);
        if (c.Ok) {
            EXPECT_EQ(editor, c.Value);
            EXPECT_EQ(builder, c.Value);
            EXPECT_EQ(builderText, c.Value);
        }
        int64_t wide = 0;
        EXPECT_EQ(Try_Doc_Int64(c.Text, wide), c.Ok || QByteArray(c.Text) == "2147483648" ||
                                                   QByteArray(c.Text) == "x100000000");
    }
}

// A PGN the receive editor accepts as "x1F" goes into the image as 0x1F, the same bytes as
// "0x1F" and "31", and not as the default a failed read would give.
TEST(BadInput, ANumberTheEditorAcceptsBuildsTheSameBytesAsItsHexForm)
{
    EditorEnv env(2);
    QDir().mkpath(Conf_Dir + "/bin");
    auto build = [&](const char* pgn) {
        auto e = Make_Editor<TFReceive_J1939_892>();
        Save_Table(*e, {{1, {"0", pgn, "1", "N", "", "", "N", "m"}}}, env.Boxes);
        return Built_Images();
    };
    const auto hex = build("0x1F");
    ASSERT_TRUE(hex.count("bank2.bin"));
    EXPECT_EQ(build("x1F"), hex);
    EXPECT_EQ(build("X1f"), hex);
    EXPECT_EQ(build("31"), hex);
    EXPECT_NE(build("0"), hex);
}
