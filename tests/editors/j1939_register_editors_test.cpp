// The windows that map Modbus registers onto the bytes of the J1939 frames: the frame and
// register lists, the entry checks, the four file forms, mappings the frame table no longer
// fits, a user at the shown window, and the image builders reading what the windows saved.
#include "editor_fixture.h"
#include "editors/j1939_register_editors.h"
#include "platform/ui/lb_button.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {
using Make = Editor_Factory<TDefineJ1939>;
const Make Rec = Factory_Of<TFDefineRecJ1939, TDefineJ1939>(), Tra = Factory_Of<TFDefineTransJ1939, TDefineJ1939>();

using Attrs = std::vector<std::pair<const char*, const char*>>;

// A frame row carrying the attributes of every frame table family, `extra` replacing some.
QByteArray Frame_Row(int pgn, const Attrs& extra = {})
{
    const QByteArray p = QByteArray::number(pgn);
    std::vector<std::pair<QByteArray, QByteArray>> attrs{
        {"Priority", "3"},      {"DataPage", "0"},       {"DP", "0"},           {"PGN", p},
        {"SourceAddress", "1"}, {"ID_DEV", "1"},         {"TransportProtocol", "N"}, {"MultiFrame", "N"},
        {"StartByte", "0"},     {"NumBytes", "8"},       {"NByte", "8"},        {"NumByte", "8"},
        {"CancelData", "N"},    {"Delete", "N"},         {"OnRequest", "N"},    {"OnReq_Time", "1000"},
        {"TransmitionType", "On Timer"}, {"SendTimer", "100"}, {"DataChange", "N"}, {"OnTimer", "Y"},
        {"OnTimer_Time", "100"}, {"Mnemonic", "m" + p}};
    for (const auto& [name, value] : extra)
        for (auto& a : attrs)
            if (a.first == name) a.second = value;
    QByteArray row = "<row";
    for (const auto& [name, value] : attrs) row += " " + name + "='" + value + "'";
    return row + "/>";
}

void Frame_Table(const QString& path, const std::vector<QByteArray>& rows)
{
    QByteArray xml = "<Frames>";
    for (const QByteArray& r : rows) xml += r;
    Write_File(path, xml + "</Frames>");
}

// n plain frames of PGN 100, 101 ...
void Frames(const QString& path, int n)
{
    std::vector<QByteArray> rows;
    for (int i = 0; i < n; ++i) rows.push_back(Frame_Row(100 + i));
    Frame_Table(path, rows);
}

void Select(TDefineJ1939& e, int frame) { e.LB_J1939_Frames->setCurrentRow(frame); }

void Entry(TDefineJ1939& e, const QString& index, int hi, int lo, int write = 0)
{
    e.E_Index_Modbus->setText(index);
    e.CB_Byte_High_Part->setCurrentIndex(hi);
    e.CB_Byte_Low_Part->setCurrentIndex(lo);
    if (e.CB_SendJ1939_OnModWrite) e.CB_SendJ1939_OnModWrite->setCurrentIndex(write);
}

// Creates a register on a frame.
void Create(TDefineJ1939& e, int frame, const QString& index, int hi, int lo, int write = 0)
{
    Select(e, frame);
    Entry(e, index, hi, lo, write);
    e.Btn_Click(e.Btn_Create);
}

}  // namespace

TEST(J1939RegisterMaps, EachWindowWritesItsFileForItsModel)
{
    struct Case {
        const char* Name;
        Make New;
        int Model;
        const char *FrameFile, *MapFile, *Root, *Version, *Caption, *Desc, *Heads;
        QString Row;   // register "100", high byte 3, low byte 4, sent on write, on the second frame
    } cases[] = {
        {"receive 891", Rec, 0, "J1939_Receive.xml", "Define_J1939_Rec.xml", "DefineRecJ1939", "1.101",
         "Define Receive J1939", "Define Modbus Registers for Receive J1939 Frames", "DP               PGN            SA",
         "Num_Frame=1 Mod_Index=100 Byte_HiPart=3 Byte_LoPart=4"},
        {"receive 893", Rec, 1, "J1939_Receive.xml", "Define_J1939_Rec.xml", "DefineRecJ1939", "1.001",
         "Define Receive J1939", "Define Modbus Registers for Receive J1939 Frames", "DP               PGN            SA",
         "Num_Frame=1 Mod_Index=100 Byte_HiPart=3 Byte_LoPart=4"},
        {"receive 872", Rec, 7, "RCobDef.xml", "RInfoCob.xml", "RInfoCob", "3.300", "Define Receive J1939",
         "Define Modbus Registers for Receive J1939 Frames", "DP               PGN            SA",
         "Index=100 NrPdo=2 PosComp=196612"},
        {"transmit 891", Tra, 0, "J1939_Transmit.xml", "Define_J1939_Tra.xml", "DefineTransJ1939", "1.101",
         "Define Receive J1939", "Define Modbus Registers for Transmit J1939 Frames", "PRIOR    DP          PGN       SA",
         "Num_Frame=1 Mod_Index=100 Byte_HiPart=3 Byte_LoPart=4 Send_on_Write=1"},
        {"transmit 893", Tra, 1, "J1939_Transmit.xml", "Define_J1939_Tra.xml", "DefineTransJ1939", "1.001",
         "Define Receive J1939", "Define Modbus Registers for Transmit J1939 Frames", "PRIOR    DP          PGN       SA",
         "Num_Frame=1 Mod_Index=100 Byte_HiPart=3 Byte_LoPart=4 Send_on_Write=1"},
        {"transmit 872", Tra, 7, "TCobDef.xml", "TInfoCob.xml", "TInfoCob", "3.300", "Define Receive J1939",
         "Define Modbus Registers for Transmit J1939 Frames", "PRIOR    DP          PGN       SA",
         "Index=100 NrPdo=2 PosComp=52 Write_J1939=1 Byte_HiPart=3 Byte_LoPart=4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(c.Model);
        auto e = c.New();
        EXPECT_EQ(QFileInfo(*e->Desc().Frame_File).fileName(), c.FrameFile);
        EXPECT_EQ(QFileInfo(*e->Desc().Mapping_File).fileName(), c.MapFile);
        EXPECT_EQ(e->ClientWidth(), 629);
        EXPECT_EQ(e->ClientHeight(), 496);
        EXPECT_EQ(e->Caption(), c.Caption);
        EXPECT_EQ(e->Title.L_SW_Code->text(), SW_Code);
        EXPECT_EQ(e->Title.L_SW_Desc->text(), c.Desc);
        EXPECT_EQ(e->L_J1939_Frame_Desc2->text(), c.Heads);
        EXPECT_EQ(e->Btn_Paste->Caption(), "Paste");
        EXPECT_EQ(e->Btn_Cancel->Caption(), "Cancel");
        EXPECT_EQ(e->CB_SendJ1939_OnModWrite != nullptr, e->Desc().Transmit);
        if (e->CB_SendJ1939_OnModWrite) {
            EXPECT_EQ(Items(e->CB_SendJ1939_OnModWrite), QStringList({"False", "True"}));
            EXPECT_EQ(e->L_Send_on_Write->text(), "Send J1939 frame on Modbus Write");
        }

        Frames(*e->Desc().Frame_File, 2);
        e->FormShow();
        Create(*e, 1, "100", 3, 4, 1);
        e->Btn_OKClick();
        ASSERT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
        QString root, comment;
        EXPECT_EQ(Saved_Lines(*e->Desc().Mapping_File, &root, &comment), std::vector<QString>{c.Row});
        EXPECT_EQ(root, c.Root);
        EXPECT_EQ(comment, QString("SW_VERSION = ") + c.Version);

        // shown again: the register is back on its frame
        auto again = c.New();
        again->FormShow();
        EXPECT_TRUE(env.Boxes.Calls.empty()) << env.Boxes.Texts().join('\n').toStdString();
        Select(*again, 1);
        EXPECT_EQ(Lines(again->LB_Modbus_Regs), QStringList({"100; Byte 3; Byte 4;"}));
        again->LB_Modbus_Regs->setCurrentRow(0);
        EXPECT_EQ(again->CB_Byte_High_Part->currentIndex(), 3);
        EXPECT_EQ(again->CB_Byte_Low_Part->currentIndex(), 4);
        if (again->CB_SendJ1939_OnModWrite) {
            EXPECT_EQ(again->CB_SendJ1939_OnModWrite->currentIndex(), 1);
        }
    }
}

TEST(J1939RegisterMaps, TheFrameListAndTheByteSelectorsFollowTheFrameTable)
{
    struct Case {
        const char* Name;
        Make New;
        int Model;
        Attrs Extra;   // attributes of the frame row
        QString Line;       // the frame's line in the list
        int Bytes;          // what the selectors offer beyond "None"
    } cases[] = {
        {"single frame", Rec, 0, {{"TransportProtocol", "N"}, {"NumBytes", "20"}}, "0\t100\t1", 8},
        {"transport protocol, lower case", Rec, 0, {{"TransportProtocol", " y "}, {"NumBytes", "20"}}, "0\t100\t1", 20},
        {"transport protocol, no count", Rec, 1, {{"TransportProtocol", "Y"}, {"NumBytes", "x"}}, "0\t100\t1", 0},
        {"a count no frame holds", Rec, 1, {{"TransportProtocol", "Y"}, {"NumBytes", "99999999"}}, "0\t100\t1", 1785},
        {"872 multi frame", Rec, 7, {{"MultiFrame", "Y"}, {"NByte", "12"}, {"ID_DEV", "9"}}, "0\t100\t9", 12},
        {"transmit", Tra, 0, {{"NumByte", "3"}, {"Priority", "6"}}, "6\t0\t100\t1", 8},
        {"872 transmit", Tra, 7, {{"NumByte", "3"}, {"DP", "1"}}, "3\t1\t100\t1", 3},
        {"872 transmit of the older table", Tra, 7, {{"NumByte", ""}}, "3\t0\t100\t1", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(c.Model);
        auto e = c.New();
        Frame_Table(*e->Desc().Frame_File, {Frame_Row(100, c.Extra), Frame_Row(200)});
        e->FormShow();
        EXPECT_EQ(e->Lista_J1939_Frame.size(), 2u);
        EXPECT_EQ(e->LB_J1939_Frames->count(), 2);
        EXPECT_EQ(e->LB_J1939_Frames->item(0)->text(), c.Line);
        // nothing selected: only "None"
        EXPECT_EQ(Items(e->CB_Byte_High_Part), QStringList({"None"}));
        Select(*e, 0);
        EXPECT_EQ(Items(e->CB_Byte_High_Part), Byte_Choices(c.Bytes));
        EXPECT_EQ(Items(e->CB_Byte_Low_Part), Byte_Choices(c.Bytes));
        EXPECT_EQ(e->CB_Byte_High_Part->currentIndex(), 0);
    }
}

TEST(J1939RegisterMaps, CreateModifyAndDeleteKeepEveryIndexOnce)
{
    EditorEnv env(0);
    auto e = Make_Editor<TFDefineRecJ1939>();
    Frames(File_J1939_Receive, 3);
    e->FormShow();
    const QString range = "Error!! Index of Modbus Register must be between 0 and 65535";
    const QString used = "Error!! Index of Modbus Register is already used";

    // nothing happens without the selection a button needs
    Entry(*e, "5", 1, 0);
    for (TLbButton* b : {e->Btn_Create, e->Btn_Modify, e->Btn_Delete, e->Btn_Copy}) e->Btn_Click(b);
    EXPECT_TRUE(env.Boxes.Calls.empty());
    EXPECT_TRUE(e->Lista_J1939_Frame[0].Lista_Mod_Reg.empty());

    struct Case {
        int Frame;
        const char* Index;
        QString Error;
    } cases[] = {
        {0, "100", {}},     {0, "65536", range}, {0, "-1", range},  {0, "abc", range}, {0, "", range},
        {0, "10 ", range},  {0, "0", {}},        {2, "65535", {}},  {1, "100", used},  {1, "0x64", used},
        {1, " $FFFF", used}, {1, "0x65", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Index);
        env.Boxes.Clear();
        Create(*e, c.Frame, c.Index, 1, 0);
        EXPECT_EQ(env.Boxes.Texts(), c.Error.isEmpty() ? QStringList() : QStringList{c.Error});
        if (!c.Error.isEmpty()) {
            EXPECT_EQ(env.Boxes.Calls[0].Type, TMsgDlgType::mtError);
        }
    }
    Select(*e, 0);
    EXPECT_EQ(Lines(e->LB_Modbus_Regs), QStringList({"100; Byte 1; None;", "0; Byte 1; None;"}));
    // the register list loses its selection, the entry keeps what was typed
    Entry(*e, "7", 2, 3);
    e->Btn_Click(e->Btn_Create);
    EXPECT_EQ(e->LB_Modbus_Regs->currentRow(), -1);
    EXPECT_EQ(e->E_Index_Modbus->text(), "7");
    EXPECT_EQ(Lines(e->LB_Modbus_Regs).last(), "7; Byte 2; Byte 3;");

    // a register keeps its own index, and may not take another's
    e->LB_Modbus_Regs->setCurrentRow(0);
    EXPECT_EQ(e->E_Index_Modbus->text(), "100");
    env.Boxes.Clear();
    Entry(*e, "100", 0, 8);
    e->Btn_Click(e->Btn_Modify);
    EXPECT_TRUE(env.Boxes.Calls.empty());
    e->LB_Modbus_Regs->setCurrentRow(0);
    Entry(*e, "0x65", 0, 8);
    e->Btn_Click(e->Btn_Modify);
    EXPECT_EQ(env.Boxes.Texts(), QStringList({used}));
    EXPECT_EQ(Lines(e->LB_Modbus_Regs).first(), "100; None; Byte 8;");

    // delete at once, without a question
    env.Boxes.Clear();
    e->LB_Modbus_Regs->setCurrentRow(1);
    e->Btn_Click(e->Btn_Delete);
    EXPECT_TRUE(env.Boxes.Calls.empty());
    EXPECT_EQ(Lines(e->LB_Modbus_Regs), QStringList({"100; None; Byte 8;", "7; Byte 2; Byte 3;"}));

    // the file lists the registers frame by frame, whatever the order they were made in
    e->Btn_OKClick();
    ASSERT_EQ(e->ModalResult(), mrOk);
    EXPECT_EQ(Saved_Lines(File_Define_J1939_Rec),
              std::vector<QString>({"Num_Frame=0 Mod_Index=100 Byte_HiPart=0 Byte_LoPart=8",
                                    "Num_Frame=0 Mod_Index=7 Byte_HiPart=2 Byte_LoPart=3",
                                    "Num_Frame=1 Mod_Index=0x65 Byte_HiPart=1 Byte_LoPart=0",
                                    "Num_Frame=2 Mod_Index=65535 Byte_HiPart=1 Byte_LoPart=0"}));
}

TEST(J1939RegisterMaps, CopyOnOneFramePasteOnAnother)
{
    EditorEnv env(1);
    auto e = Make_Editor<TFDefineTransJ1939>();
    Frames(File_J1939_Transmit, 2);
    e->FormShow();
    Create(*e, 0, "40", 2, 1, 1);
    e->LB_Modbus_Regs->setCurrentRow(0);
    e->Btn_Click(e->Btn_Copy);
    Select(*e, 1);
    EXPECT_EQ(e->E_Index_Modbus->text(), "");
    e->Btn_Click(e->Btn_Paste);
    EXPECT_EQ(e->E_Index_Modbus->text(), "40");
    EXPECT_EQ(e->CB_Byte_High_Part->currentIndex(), 2);
    EXPECT_EQ(e->CB_Byte_Low_Part->currentIndex(), 1);
    EXPECT_EQ(e->CB_SendJ1939_OnModWrite->currentIndex(), 1);
    EXPECT_EQ(e->LB_Modbus_Regs->count(), 0);   // nothing added until Create
    e->E_Index_Modbus->setText("41");
    e->Btn_Click(e->Btn_Create);
    EXPECT_EQ(Lines(e->LB_Modbus_Regs), QStringList({"41; Byte 2; Byte 1;"}));
    // the copy outlives the showing
    e->FormShow();
    Select(*e, 1);
    e->Btn_Click(e->Btn_Paste);
    EXPECT_EQ(e->E_Index_Modbus->text(), "40");
}

TEST(J1939RegisterMaps, Model872PacksTheBytesAndReadsThemBack)
{
    struct Case {
        const char* Name;
        Make New;
        QByteArray Row;     // a mapping row in the file, on the first frame
        int Hi, Lo;         // what it loads as
        QString Saved;      // and how OK writes it
    } cases[] = {
        {"receive", Rec, "<row Index='9' NrPdo='1' PosComp='196612'/>", 3, 4, "Index=9 NrPdo=1 PosComp=196612"},
        {"transmit, plain bytes", Tra, "<row Index='9' NrPdo='1' PosComp='0' Byte_HiPart='20' Byte_LoPart='4'/>", 20, 4,
         "Index=9 NrPdo=1 PosComp=324 Write_J1939=0 Byte_HiPart=20 Byte_LoPart=4"},
        {"transmit, packed only", Tra, "<row Index='9' NrPdo='1' PosComp='52' Write_J1939='1'/>", 3, 4,
         "Index=9 NrPdo=1 PosComp=52 Write_J1939=1 Byte_HiPart=3 Byte_LoPart=4"},
        {"transmit, one plain byte", Tra, "<row Index='9' NrPdo='1' PosComp='52' Byte_HiPart='7'/>", 3, 4,
         "Index=9 NrPdo=1 PosComp=52 Write_J1939=0 Byte_HiPart=3 Byte_LoPart=4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(7);
        auto e = c.New();
        Frame_Table(*e->Desc().Frame_File, {Frame_Row(1, {{"NumByte", "30"}, {"MultiFrame", "Y"}, {"NByte", "30"}})});
        Write_File(*e->Desc().Mapping_File, "<X>" + c.Row + "</X>");
        e->FormShow();
        ASSERT_EQ(e->Lista_J1939_Frame[0].Lista_Mod_Reg.size(), 1u);
        EXPECT_EQ(e->Lista_J1939_Frame[0].Lista_Mod_Reg[0].HiPart, c.Hi);
        EXPECT_EQ(e->Lista_J1939_Frame[0].Lista_Mod_Reg[0].LoPart, c.Lo);
        e->Btn_OKClick();
        ASSERT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
        EXPECT_EQ(Saved_Lines(*e->Desc().Mapping_File), std::vector<QString>{c.Saved});
    }
}

TEST(J1939RegisterMaps, MappingsOfFramesThatAreGoneAreNamedBeforeTheyAreDropped)
{
    EditorEnv env(0);
    auto e = Make_Editor<TFDefineRecJ1939>();
    Frames(File_J1939_Receive, 5);
    const QByteArray mapping = "<DefineRecJ1939><row Num_Frame='4' Mod_Index='1' Byte_HiPart='1' Byte_LoPart='2'/>"
                               "<row Num_Frame='7' Mod_Index='300' Byte_HiPart='1' Byte_LoPart='2'/>"
                               "<row Num_Frame='x' Mod_Index='301'/></DefineRecJ1939>";
    Write_File(File_Define_J1939_Rec, mapping);
    e->FormShow();
    ASSERT_EQ(env.Boxes.Calls.size(), 1u);
    EXPECT_EQ(env.Boxes.Calls[0].Type, TMsgDlgType::mtWarning);
    const QString warning = env.Boxes.Calls[0].Text;
    for (const char* part : {"2 row(s)", "register 300 (Num_Frame 7)", "register 301 (Num_Frame x)", "Define_J1939_Rec.xml",
                             "dropped if you press OK"})
        EXPECT_TRUE(warning.contains(part)) << warning.toStdString();
    EXPECT_EQ(e->Lista_J1939_Frame[4].Lista_Mod_Reg.size(), 1u);
    // Cancel keeps them in the file; OK drops them
    EXPECT_EQ(Read_File(File_Define_J1939_Rec), mapping);
    e->Btn_OKClick();
    EXPECT_EQ(Saved_Lines(File_Define_J1939_Rec),
              std::vector<QString>{"Num_Frame=4 Mod_Index=1 Byte_HiPart=1 Byte_LoPart=2"});

    // without a frame table every mapping row is named, not lost unseen
    QFile::remove(File_J1939_Receive);
    env.Boxes.Clear();
    e->FormShow();
    EXPECT_EQ(e->LB_J1939_Frames->count(), 0);
    ASSERT_EQ(env.Boxes.Calls.size(), 1u);
    EXPECT_TRUE(env.Boxes.Calls[0].Text.contains("register 1 (Num_Frame 4)")) << env.Boxes.Calls[0].Text.toStdString();

    // damaged files are reported by name and left as they are
    struct Damage {
        const QString* File;
        QByteArray Data;
    } damages[] = {{&File_J1939_Receive, "<Frames><row PGN='1'"}, {&File_Define_J1939_Rec, QByteArray(300, '\x01')},
                   {&File_Define_J1939_Rec, ""}};
    for (const Damage& d : damages) {
        Frames(File_J1939_Receive, 2);
        Write_File(File_Define_J1939_Rec, "<M/>");
        Write_File(*d.File, d.Data);
        env.Boxes.Clear();
        e->FormShow();
        ASSERT_GE(env.Boxes.Calls.size(), 1u);
        EXPECT_EQ(env.Boxes.Calls[0].Type, TMsgDlgType::mtError);
        EXPECT_TRUE(env.Boxes.Calls[0].Text.contains(*d.File)) << env.Boxes.Calls[0].Text.toStdString();
        EXPECT_EQ(Read_File(*d.File), d.Data);
    }
}

TEST(J1939RegisterMaps, AMappingOnAByteTheFrameNoLongerHasIsRefusedByName)
{
    EditorEnv env(0);
    auto e = Make_Editor<TFDefineRecJ1939>();
    // the frame held 20 bytes when its registers were mapped; now it is a plain frame of 8
    Frame_Table(File_J1939_Receive, {Frame_Row(100), Frame_Row(65262, {{"TransportProtocol", "N"}, {"NumBytes", "20"}})});
    const QByteArray mapping = "<DefineRecJ1939><row Num_Frame='1' Mod_Index='5' Byte_HiPart='1' Byte_LoPart='2'/>"
                               "<row Num_Frame='1' Mod_Index='6' Byte_HiPart='8' Byte_LoPart='12'/></DefineRecJ1939>";
    Write_File(File_Define_J1939_Rec, mapping);
    e->FormShow();
    EXPECT_TRUE(env.Boxes.Calls.empty());
    e->Btn_OKClick();
    EXPECT_EQ(e->ModalResult(), mrNone);
    EXPECT_EQ(env.Boxes.Texts(), QStringList({"Error!! Modbus Register 6 of frame 2 (PGN 65262) takes its low part from "
                                              "byte 12, but the frame has 8 byte(s): modify or delete the register"}));
    EXPECT_EQ(Read_File(File_Define_J1939_Rec), mapping);
    // the register is shown for mending; its low byte must be chosen again
    EXPECT_EQ(e->Selected_Frame(), 1);
    EXPECT_EQ(e->Selected_Register(), 1);
    EXPECT_EQ(e->E_Index_Modbus->text(), "6");
    EXPECT_EQ(e->CB_Byte_High_Part->currentIndex(), 8);
    EXPECT_EQ(e->CB_Byte_Low_Part->currentIndex(), -1);
    env.Boxes.Clear();
    e->Btn_Click(e->Btn_Modify);
    EXPECT_EQ(env.Boxes.Texts(),
              QStringList({"Error!! Select the byte of the low part of the Modbus Register: the frame has no such byte"}));
    e->LB_Modbus_Regs->setCurrentRow(1);
    e->CB_Byte_Low_Part->setCurrentIndex(7);
    e->Btn_Click(e->Btn_Modify);
    e->Btn_OKClick();
    EXPECT_EQ(e->ModalResult(), mrOk);
    EXPECT_EQ(Saved_Lines(File_Define_J1939_Rec).back(), "Num_Frame=1 Mod_Index=6 Byte_HiPart=8 Byte_LoPart=7");
}

TEST(J1939RegisterMaps, AFailedWriteKeepsTheOldFileAndTheWindowOpen)
{
    EditorEnv env(0);
    auto e = Make_Editor<TFDefineTransJ1939>();
    Frames(File_J1939_Transmit, 1);
    e->FormShow();
    Create(*e, 0, "1", 1, 2);
    // a folder where the file should be: the rename cannot replace it
    File_Define_J1939_Tra = env.Dir.File("PROJECTS/Test/blocked");
    QDir().mkpath(File_Define_J1939_Tra + "/inside");
    e->Btn_OKClick();
    EXPECT_EQ(e->ModalResult(), mrNone);
    ASSERT_EQ(env.Boxes.Calls.size(), 1u);
    EXPECT_TRUE(env.Boxes.Calls[0].Text.contains("could not be written")) << env.Boxes.Calls[0].Text.toStdString();
    EXPECT_EQ(e->Lista_J1939_Frame[0].Lista_Mod_Reg.size(), 1u);
    EXPECT_TRUE(QFileInfo(File_Define_J1939_Tra).isDir());
}

TEST(J1939RegisterMaps, TheUserMapsARegisterByKeyboardAndMouse)
{
    for (const Make& make : {Rec, Tra}) {
        EditorEnv env(1);
        auto e = make();
        const bool tx = e->Desc().Transmit;
        SCOPED_TRACE(tx ? "transmit" : "receive");
        const QString& file = *e->Desc().Mapping_File;
        Frames(*e->Desc().Frame_File, 3);
        const User user(e.get());
        auto clickLine = [](QListWidget* list, int row) {
            const QRect r = list->visualItemRect(list->item(row));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
            QApplication::processEvents();
        };
        ASSERT_EQ(e->LB_J1939_Frames->count(), 3);
        clickLine(e->LB_J1939_Frames, 1);
        EXPECT_EQ(e->Selected_Frame(), 1);
        EXPECT_EQ(e->CB_Byte_High_Part->count(), 9);

        QTest::mouseClick(e->E_Index_Modbus, Qt::LeftButton);
        e->E_Index_Modbus->setFocus();
        QTest::keyClicks(e->E_Index_Modbus, "250");
        // Tab walks to the high byte selector; the arrow keys pick in it
        user.Key(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), e->CB_Byte_High_Part);
        user.Key(Qt::Key_Down);
        user.Key(Qt::Key_Down);
        user.Key(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), e->CB_Byte_Low_Part);
        user.Key(Qt::Key_Down);
        if (tx) {
            user.Key(Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), e->CB_SendJ1939_OnModWrite);
            user.Key(Qt::Key_Down);
        }
        QTest::mouseClick(e->Btn_Create, Qt::LeftButton);
        EXPECT_TRUE(env.Boxes.Calls.empty()) << env.Boxes.Texts().join('\n').toStdString();
        EXPECT_EQ(Lines(e->LB_Modbus_Regs), QStringList({"250; Byte 2; Byte 1;"}));

        // a picked register fills the entry
        clickLine(e->LB_Modbus_Regs, 0);
        EXPECT_EQ(e->E_Index_Modbus->text(), "250");
        if (tx) {
            EXPECT_EQ(e->CB_SendJ1939_OnModWrite->currentIndex(), 1);
        }

        // Enter on the focused OK writes the file and closes
        e->Btn_OK->setFocus();
        user.Key(Qt::Key_Return);
        EXPECT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
        EXPECT_EQ(Saved_Lines(file),
                  std::vector<QString>{tx ? "Num_Frame=1 Mod_Index=250 Byte_HiPart=2 Byte_LoPart=1 Send_on_Write=1"
                                          : "Num_Frame=1 Mod_Index=250 Byte_HiPart=2 Byte_LoPart=1"});
        e->hide();

        // shown again, edited, and left by Escape: nothing written
        const QByteArray before = Read_File(file);
        e->SetModalResult(mrNone);
        user.Show();
        clickLine(e->LB_J1939_Frames, 1);
        clickLine(e->LB_Modbus_Regs, 0);
        QTest::mouseClick(e->Btn_Delete, Qt::LeftButton);
        EXPECT_EQ(e->LB_Modbus_Regs->count(), 0);
        e->LB_J1939_Frames->setFocus();
        user.Key(Qt::Key_Escape);
        EXPECT_EQ(e->ModalResult(), mrCancel);
        EXPECT_EQ(Read_File(file), before);
        e->hide();
    }
}

TEST(J1939RegisterMaps, TheWindowsFollowTheLanguage)
{
    EditorEnv env(0);
    auto rec = Make_Editor<TFDefineRecJ1939>();
    auto tra = Make_Editor<TFDefineTransJ1939>();
    Lang_Texts[114] = "Empfang";
    Lang_Texts[126] = "Neu";
    Lang_Texts[138] = "Register senden";
    Lang_Texts[151] = "Ja";
    Lang_Texts[158] = "Abbruch";
    Lang_Texts[162] = "Oktett ";
    rec->Set_Lang();
    tra->Set_Lang();
    EXPECT_EQ(rec->Caption(), "Empfang");
    EXPECT_EQ(rec->Btn_Create->Caption(), "Neu");
    EXPECT_EQ(tra->Title.L_SW_Desc->text(), "Register senden");
    EXPECT_EQ(tra->Btn_Cancel->Caption(), "Abbruch");
    EXPECT_EQ(Items(tra->CB_SendJ1939_OnModWrite), QStringList({"False", "Ja"}));
    Frames(File_J1939_Transmit, 1);
    tra->FormShow();
    Create(*tra, 0, "3", 1, 0);
    EXPECT_EQ(Lines(tra->LB_Modbus_Regs), QStringList({"3; Oktett 1; None;"}));
}

TEST(J1939RegisterMaps, MappingsSavedByTheWindowsBuildTheSameImagesAsMappingsWrittenByHand)
{
    for (int model : {0, 1, 7}) {
        SCOPED_TRACE(model);
        EditorEnv env(model);
        QDir().mkpath(Conf_Dir + "/bin");
        Frame_Table(File_J1939_Receive, {Frame_Row(100), Frame_Row(101, {{"TransportProtocol", "Y"}, {"MultiFrame", "Y"}, {"NumBytes", "12"}, {"NByte", "12"}})});
        Frame_Table(File_J1939_Transmit, {Frame_Row(200), Frame_Row(201), Frame_Row(202)});
        auto rec = Make_Editor<TFDefineRecJ1939>();
        auto tra = Make_Editor<TFDefineTransJ1939>();
        rec->FormShow();
        Create(*rec, 1, "10", 11, 12);
        Create(*rec, 0, "0x20", 0, 8);
        tra->FormShow();
        Create(*tra, 2, "30", 1, 2, 1);
        Create(*tra, 0, "31", 8, 0, 0);
        for (TDefineJ1939* e : {static_cast<TDefineJ1939*>(rec.get()), static_cast<TDefineJ1939*>(tra.get())}) {
            e->Btn_OKClick();
            ASSERT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
        }
        const auto saved = Built_Images();
        ASSERT_FALSE(saved.empty());

        // the same mappings by hand, attributes in another order
        if (model == 7) {
            Write_File(File_Define_J1939_Rec, "<RInfoCob><row PosComp='8' NrPdo='1' Index='0x20'/>"
                                              "<row PosComp='720908' NrPdo='2' Index='10'/></RInfoCob>");
            Write_File(File_Define_J1939_Tra,
                       "<TInfoCob><row Byte_LoPart='0' Byte_HiPart='8' Write_J1939='0' PosComp='128' NrPdo='1' Index='31'/>"
                       "<row Byte_LoPart='2' Byte_HiPart='1' Write_J1939='1' PosComp='18' NrPdo='3' Index='30'/></TInfoCob>");
        } else {
            Write_File(File_Define_J1939_Rec,
                       "<DefineRecJ1939><row Byte_LoPart='8' Byte_HiPart='0' Mod_Index='0x20' Num_Frame='0'/>"
                       "<row Byte_LoPart='12' Byte_HiPart='11' Mod_Index='10' Num_Frame='1'/></DefineRecJ1939>");
            Write_File(File_Define_J1939_Tra,
                       "<DefineTransJ1939><row Send_on_Write='0' Byte_LoPart='0' Byte_HiPart='8' Mod_Index='31' Num_Frame='0'/>"
                       "<row Send_on_Write='1' Byte_LoPart='2' Byte_HiPart='1' Mod_Index='30' Num_Frame='2'/></DefineTransJ1939>");
        }
        EXPECT_EQ(Built_Images(), saved);

        // and the mappings are in: an image without them differs
        Write_File(File_Define_J1939_Rec, "<M/>");
        Write_File(File_Define_J1939_Tra, "<M/>");
        EXPECT_NE(Built_Images(), saved);
    }
}
