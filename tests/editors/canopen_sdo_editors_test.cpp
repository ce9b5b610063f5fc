// The server SDO object tables of the J1939 / CANopen gateway: objects on frames, created,
// modified, deleted, copied and pasted in the entry panel, and written whole on OK.
#include "editor_fixture.h"
#include "editors/canopen_sdo_editors.h"
#include "platform/ui/lb_button.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {
template <class T>
std::unique_ptr<T> Shown_Editor()
{
    auto e = Make_Editor<T>();
    e->FormShow();
    return e;
}

// Receive frames: 0x100 (8 bytes), 0x200 (transport protocol, 30 bytes), 0x300 (lower
// case y, NumBytes not a number: no bytes); transmit frames 0x400 and 0x500.
void Write_Frames()
{
    Write_File(File_J1939_Receive,
               "<ReceiveNMEA2000>"
               "<row DataPage=\"0\" PGN=\"0x100\" SourceAddress=\"0x01\" TransportProtocol=\"N\" NumBytes=\"\"/>"
               "<row DataPage=\"1\" PGN=\"0x200\" SourceAddress=\"0x02\" TransportProtocol=\" y \" NumBytes=\"30\"/>"
               "<row DataPage=\"0\" PGN=\"0x300\" SourceAddress=\"0x03\" TransportProtocol=\"Y\" NumBytes=\"many\"/>"
               "</ReceiveNMEA2000>");
    Write_File(File_J1939_Transmit,
               "<ReceiveNMEA2000>"
               "<row Priority=\"6\" DataPage=\"0\" PGN=\"0x400\" SourceAddress=\"0x04\"/>"
               "<row Priority=\"6\" DataPage=\"0\" PGN=\"0x500\" SourceAddress=\"0x05\" NumByte=\"20\"/>"
               "</ReceiveNMEA2000>");
}

void Enter(TServerSDOEditor& e, const QString& index, const QString& sub, int dim, std::array<int, 4> bytes, int send = 0)
{
    e.E_Index_SDO->setText(index);
    e.E_Sub_SDO->setText(sub);
    e.CB_Dim_SDO->setCurrentIndex(dim);
    QComboBox* b[] = {e.CB_Byte1_SDO, e.CB_Byte2_SDO, e.CB_Byte3_SDO, e.CB_Byte4_SDO};
    for (int k = 0; k < 4; ++k) b[k]->setCurrentIndex(bytes[size_t(k)]);
    if (e.CB_SDO_Send_on_Write) e.CB_SDO_Send_on_Write->setCurrentIndex(send);
}
void Select_Frame(TServerSDOEditor& e, int f)
{
    e.LB_J1939_Frames->setCurrentRow(f);
}
}  // namespace

TEST(ServerSdo, TheWindowsListTheFramesAndTheirTexts)
{
    EditorEnv env(4);
    Write_Frames();
    auto r = Shown_Editor<TFDefine_Server_SDO_Read>();
    auto w = Shown_Editor<TFDefine_Server_SDO_Write>();
    EXPECT_EQ(r->Caption(), "Define SDO Server in Read");
    EXPECT_EQ(w->Caption(), "Define SDO Server in Write");
    EXPECT_EQ(w->Title.L_SW_Desc->text(), "Define Write Server SDOs for Transmit J1939 Frames");
    EXPECT_EQ(w->L_SDO_Byte4->text(), "SDO Byte 4 (LSB)");
    EXPECT_EQ(w->L_SDO_Send_on_Write->text(), "Send Frame J1939 When Write SDO");
    EXPECT_EQ(w->Btn_Paste->Caption(), "Paste");
    EXPECT_EQ(w->Btn_Cancel->Caption(), "Cancel");
    EXPECT_EQ(r->CB_SDO_Send_on_Write, nullptr);
    EXPECT_EQ(r->ClientWidth(), 629);
    EXPECT_EQ(r->ClientHeight(), 572);
    EXPECT_EQ(Lines(r->LB_J1939_Frames), QStringList({"0\t0x100\t0x01", "1\t0x200\t0x02", "0\t0x300\t0x03"}));
    EXPECT_EQ(Lines(w->LB_J1939_Frames), QStringList({"0\t0x400\t0x04", "0\t0x500\t0x05"}));
    EXPECT_EQ(Items(r->CB_Dim_SDO), QStringList({"4 Bytes", "2 Bytes", "1 Bytes"}));
    // nothing selected: the byte selectors offer only None
    EXPECT_EQ(Items(r->CB_Byte1_SDO), Byte_Choices(0));
    // the byte selectors offer the bytes of the selected frame
    const struct {
        TServerSDOEditor* E;
        int Frame, Bytes;
    } cases[] = {{r.get(), 0, 8}, {r.get(), 1, 30}, {r.get(), 2, 0}, {w.get(), 1, 8}};
    for (const auto& c : cases) {
        Select_Frame(*c.E, c.Frame);
        EXPECT_EQ(Items(c.E->CB_Byte3_SDO), Byte_Choices(c.Bytes)) << c.Frame;
    }
    Lang_Texts[475] = "SDO-Server schreiben";
    Lang_Texts[494] = "Einfuegen";
    w->Set_Lang();
    EXPECT_EQ(w->Caption(), "SDO-Server schreiben");
    EXPECT_EQ(w->Btn_Paste->Caption(), "Einfuegen");
}

TEST(ServerSdo, CreateModifyAndDeleteKeepOnePairPerTable)
{
    EditorEnv env(4);
    Write_Frames();
    auto r = Shown_Editor<TFDefine_Server_SDO_Read>();
    // without a frame nothing happens
    Enter(*r, "0x2000", "1", 0, {1, 2, 3, 4});
    r->Btn_Click(r->Btn_Create);
    EXPECT_TRUE(env.Boxes.Calls.empty());

    Select_Frame(*r, 0);
    struct Case {
        int Frame;
        QString Index, Sub;
        const char* Error;
    } cases[] = {
        {0, "0x2000", "1", nullptr},
        {1, "0x2000", "1", "Error!! Index and SubIndex of SDO is already used"},
        {1, "8192", "0x01", "Error!! Index and SubIndex of SDO is already used"},
        {1, "0x1FFF", "1", "Error!! Index of SDO must be between 0x2000 and 0x5FFF"},
        {1, "0x6000", "1", "Error!! Index of SDO must be between 0x2000 and 0x5FFF"},
        {1, "", "1", "Error!! Index of SDO must be between 0x2000 and 0x5FFF"},
        {1, "0x5FFF", "256", "Error!! SubIndex of SDO must be between 0 and 255"},
        {1, "0x5FFF", "-1", "Error!! SubIndex of SDO must be between 0 and 255"},
        {1, "0x5FFF", "255", nullptr},
        {1, "$2000", "0", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Index.toStdString() + "/" + c.Sub.toStdString());
        Select_Frame(*r, c.Frame);
        env.Boxes.Clear();
        Enter(*r, c.Index, c.Sub, 0, {1, 2, 3, 4});
        r->Btn_Click(r->Btn_Create);
        EXPECT_EQ(env.Boxes.Texts(), c.Error ? QStringList{c.Error} : QStringList());
    }
    EXPECT_EQ(Lines(r->LB_SDOs), QStringList({"Index : 0x5FFF; Sub : 255;", "Index : $2000; Sub : 0;"}));
    // the object may keep its own pair; it may not take another object's
    r->LB_SDOs->setCurrentRow(1);
    EXPECT_EQ(r->E_Index_SDO->text(), "$2000");
    r->E_Sub_SDO->setText("00");
    env.Boxes.Clear();
    r->Btn_Click(r->Btn_Modify);
    EXPECT_TRUE(env.Boxes.Calls.empty());
    r->LB_SDOs->setCurrentRow(1);
    r->E_Index_SDO->setText("0x2000");
    r->E_Sub_SDO->setText("1");
    r->Btn_Click(r->Btn_Modify);
    EXPECT_EQ(env.Boxes.Texts(), QStringList{"Error!! Index and SubIndex of SDO is already used"});
    EXPECT_EQ(Lines(r->LB_SDOs), QStringList({"Index : 0x5FFF; Sub : 255;", "Index : $2000; Sub : 00;"}));
    r->LB_SDOs->setCurrentRow(0);
    r->Btn_Click(r->Btn_Delete);
    EXPECT_EQ(Lines(r->LB_SDOs), QStringList({"Index : $2000; Sub : 00;"}));
    // Modify and Delete without a selected object do nothing
    env.Boxes.Clear();
    r->Btn_Click(r->Btn_Delete);
    r->Btn_Click(r->Btn_Modify);
    EXPECT_EQ(Lines(r->LB_SDOs).size(), 1);
    EXPECT_TRUE(env.Boxes.Calls.empty());
}

TEST(ServerSdo, TheSizeChoosesTheByteSelectorsInUse)
{
    EditorEnv env(4);
    Write_Frames();
    auto r = Shown_Editor<TFDefine_Server_SDO_Read>();
    Select_Frame(*r, 0);
    Enter(*r, "0x2001", "1", 0, {1, 2, 3, 4});
    r->CB_Dim_SDO->setCurrentIndex(1);
    EXPECT_TRUE(r->CB_Byte2_SDO->isEnabled());
    EXPECT_FALSE(r->CB_Byte3_SDO->isEnabled());
    EXPECT_FALSE(r->CB_Byte4_SDO->isEnabled());
    EXPECT_EQ(r->CB_Byte3_SDO->currentIndex(), 0);
    EXPECT_EQ(r->CB_Byte4_SDO->currentIndex(), 0);
    EXPECT_EQ(r->CB_Byte2_SDO->currentIndex(), 2);
    r->Btn_Click(r->Btn_Create);
    r->CB_Dim_SDO->setCurrentIndex(2);
    EXPECT_FALSE(r->CB_Byte2_SDO->isEnabled());
    r->CB_Dim_SDO->setCurrentIndex(0);
    EXPECT_TRUE(r->CB_Byte4_SDO->isEnabled());
    r->Btn_OKClick();
    ASSERT_EQ(r->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
    const auto rows = Saved_Rows(File_CANopen_Define_Server_SDO_Read);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], QStringList({"NrPdo=1", "Index=0x2001", "SubIndex=1", "Dimension=1", "B1=1", "B2=2", "B3=0", "B4=0"}));
}

TEST(ServerSdo, ATableRoundTripsGroupedByFrameAndPasteRestoresTheSendChoice)
{
    EditorEnv env(4);
    Write_Frames();
    auto w = Shown_Editor<TFDefine_Server_SDO_Write>();
    Select_Frame(*w, 1);
    Enter(*w, "0x3000", "2", 2, {5, 0, 0, 0}, 1);
    w->Btn_Click(w->Btn_Create);
    Select_Frame(*w, 0);
    Enter(*w, " 0x3000", "1", 0, {1, 2, 3, 4}, 0);
    w->Btn_Click(w->Btn_Create);
    // copy on frame 2, paste on frame 1: the entry panel only
    Select_Frame(*w, 1);
    w->LB_SDOs->setCurrentRow(0);
    w->Btn_Click(w->Btn_Copy);
    Select_Frame(*w, 0);
    EXPECT_EQ(w->E_Index_SDO->text(), "");
    EXPECT_EQ(w->CB_SDO_Send_on_Write->currentIndex(), 0);
    w->Btn_Click(w->Btn_Paste);
    EXPECT_EQ(w->E_Index_SDO->text(), "0x3000");
    EXPECT_EQ(w->E_Sub_SDO->text(), "2");
    EXPECT_EQ(w->CB_Dim_SDO->currentIndex(), 2);
    EXPECT_EQ(w->CB_Byte1_SDO->currentIndex(), 5);
    EXPECT_EQ(w->CB_SDO_Send_on_Write->currentIndex(), 1);
    EXPECT_EQ(Lines(w->LB_SDOs).size(), 1);
    w->E_Sub_SDO->setText("3");
    w->Btn_Click(w->Btn_Create);
    w->Btn_OKClick();
    ASSERT_EQ(w->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
    QString root, comment;
    const auto rows = Saved_Rows(File_CANopen_Define_Server_SDO_Write, &root, &comment);
    EXPECT_EQ(root, "DefineSDOServerTraJ1939");
    EXPECT_EQ(comment, "SW_VERSION = 1.100");
    const std::vector<QStringList> expected{
        {"NrPdo=1", "Index= 0x3000", "SubIndex=1", "Dimension=0", "B1=1", "B2=2", "B3=3", "B4=4", "Send_SDO=0"},
        {"NrPdo=1", "Index=0x3000", "SubIndex=3", "Dimension=2", "B1=5", "B2=0", "B3=0", "B4=0", "Send_SDO=1"},
        {"NrPdo=2", "Index=0x3000", "SubIndex=2", "Dimension=2", "B1=5", "B2=0", "B3=0", "B4=0", "Send_SDO=1"},
    };
    EXPECT_EQ(rows, expected);
    // shown again: the same objects on the same frames; the copy buffer stays
    auto again = Make_Editor<TFDefine_Server_SDO_Write>();
    again->FormShow();
    Select_Frame(*again, 0);
    EXPECT_EQ(Lines(again->LB_SDOs), QStringList({"Index :  0x3000; Sub : 1;", "Index : 0x3000; Sub : 3;"}));
    again->LB_SDOs->setCurrentRow(1);
    EXPECT_EQ(again->CB_SDO_Send_on_Write->currentIndex(), 1);
    EXPECT_EQ(again->CB_Byte1_SDO->currentIndex(), 5);
    EXPECT_FALSE(again->CB_Byte2_SDO->isEnabled());
    w->FormShow();
    w->Btn_Click(w->Btn_Paste);
    EXPECT_EQ(w->E_Sub_SDO->text(), "2");
}

TEST(ServerSdo, ObjectsOnMissingFramesAreAnnouncedBeforeTheyAreDropped)
{
    EditorEnv env(4);
    Write_Frames();
    Write_File(File_CANopen_Define_Server_SDO_Read,
               "<DefineSDOServerRecJ1939>"
               "<row NrPdo=\"3\" Index=\"0x2000\" SubIndex=\"1\" Dimension=\"2\" B1=\"0\" B2=\"0\" B3=\"0\" B4=\"0\"/>"
               "<row NrPdo=\"4\" Index=\"0x2000\" SubIndex=\"2\" Dimension=\"2\" B1=\"1\" B2=\"0\" B3=\"0\" B4=\"0\"/>"
               "<row NrPdo=\"x\" Index=\"0x2000\" SubIndex=\"3\"/>"
               "</DefineSDOServerRecJ1939><!--SW_VERSION = 1.100-->");
    auto r = Shown_Editor<TFDefine_Server_SDO_Read>();
    ASSERT_EQ(env.Boxes.Calls.size(), 1u);
    EXPECT_EQ(env.Boxes.Calls[0].Type, TMsgDlgType::mtWarning);
    EXPECT_TRUE(env.Boxes.Texts()[0].contains("2 object(s)")) << env.Boxes.Texts()[0].toStdString();
    EXPECT_TRUE(env.Boxes.Texts()[0].contains("rows 2, 3"));
    Select_Frame(*r, 2);
    EXPECT_EQ(Lines(r->LB_SDOs), QStringList({"Index : 0x2000; Sub : 1;"}));

    // damaged object files are named, and the window still opens
    for (const QByteArray& bad : {QByteArray("<DefineSDOServerRecJ1939><row"), QByteArray(300, '\x01')}) {
        Write_File(File_CANopen_Define_Server_SDO_Read, bad);
        env.Boxes.Clear();
        r->FormShow();
        ASSERT_EQ(env.Boxes.Calls.size(), 1u);
        EXPECT_EQ(env.Boxes.Calls[0].Type, TMsgDlgType::mtError);
        EXPECT_TRUE(env.Boxes.Texts()[0].contains(File_CANopen_Define_Server_SDO_Read));
        EXPECT_EQ(Lines(r->LB_J1939_Frames).size(), 3);
    }
}

TEST(ServerSdo, OkRefusesObjectsTheDataSheetOrTheFrameCannotHold)
{
    EditorEnv env(4);
    Write_Frames();
    auto row = [](int frame, const char* index, const char* sub, int b1) {
        return "<row NrPdo=\"" + QByteArray::number(frame) + "\" Index=\"" + index + "\" SubIndex=\"" + sub +
               "\" Dimension=\"0\" B1=\"" + QByteArray::number(b1) + "\" B2=\"0\" B3=\"0\" B4=\"0\"/>";
    };
    struct Case {
        const char* Name;
        QByteArray Rows;
        QByteArray OtherTable;   // rows of the write table
        const char* Says;        // nullptr: written
    } cases[] = {
        {"good", row(1, "0x2000", "1", 8) + row(2, "0x2000", "2", 30), {}, nullptr},
        {"a byte the frame lost", row(1, "0x2000", "1", 9),
         {}, "The object Index 0x2000 Sub 1 of frame 1 (PGN 0x100, SA 0x01): SDO Byte 1 takes byte 9 of the frame, which has 8 bytes"},
        {"a frame that lost its transport protocol bytes", row(3, "0x2000", "1", 1), {}, "which has 0 bytes"},
        {"an index the file brought", row(1, "0x6000", "1", 1), {}, "Error!! Index of SDO must be between 0x2000 and 0x5FFF"},
        {"a pair twice in the file", row(1, "0x2000", "1", 1) + row(2, "8192", "1", 1), {},
         "of frame 1 (PGN 0x100, SA 0x01): Error!! Index and SubIndex of SDO is already used"},
        {"a pair of the write table", row(1, "0x2000", "1", 1), row(1, "0x2000", "1", 1),
         "Error!! Index and SubIndex of SDO is already used in the table \"CANopen_Define_Server_SDO_Write.xml\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QByteArray file = "<DefineSDOServerRecJ1939>" + c.Rows + "</DefineSDOServerRecJ1939>";
        Write_File(File_CANopen_Define_Server_SDO_Read, file);
        QFile::remove(File_CANopen_Define_Server_SDO_Write);
        if (!c.OtherTable.isEmpty())
            Write_File(File_CANopen_Define_Server_SDO_Write, "<DefineSDOServerTraJ1939>" + c.OtherTable + "</DefineSDOServerTraJ1939>");
        auto r = Shown_Editor<TFDefine_Server_SDO_Read>();
        env.Boxes.Clear();
        r->Btn_OKClick();
        if (!c.Says) {
            EXPECT_EQ(r->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
            continue;
        }
        EXPECT_EQ(r->ModalResult(), mrNone);
        ASSERT_EQ(env.Boxes.Calls.size(), 1u);
        EXPECT_EQ(env.Boxes.Calls[0].Type, TMsgDlgType::mtError);
        EXPECT_TRUE(env.Boxes.Texts()[0].contains(c.Says)) << env.Boxes.Texts()[0].toStdString();
        EXPECT_EQ(Read_File(File_CANopen_Define_Server_SDO_Read), file);
    }
    // Create refuses the write table's pair too, and a byte selector without a choice
    Write_File(File_CANopen_Define_Server_SDO_Read, "<DefineSDOServerRecJ1939/>");
    auto r = Shown_Editor<TFDefine_Server_SDO_Read>();
    Select_Frame(*r, 0);
    env.Boxes.Clear();
    Enter(*r, "0x2000", "1", 0, {1, 0, 0, 0});
    r->Btn_Click(r->Btn_Create);
    Enter(*r, "0x2000", "2", 0, {9, 0, 0, 0});   // no such item: no choice
    r->Btn_Click(r->Btn_Create);
    EXPECT_EQ(env.Boxes.Texts(),
              QStringList({"Error!! Index and SubIndex of SDO is already used in the table \"CANopen_Define_Server_SDO_Write.xml\"",
                           "Error!! Choose the frame byte of SDO Byte 1"}));
    EXPECT_EQ(r->LB_SDOs->count(), 0);
}

TEST(ServerSdo, WithoutFramesOkWritesTheRootAndTheComment)
{
    EditorEnv env(4);
    auto r = Shown_Editor<TFDefine_Server_SDO_Read>();
    EXPECT_EQ(r->LB_J1939_Frames->count(), 0);
    r->Btn_OKClick();
    EXPECT_EQ(Read_File(File_CANopen_Define_Server_SDO_Read),
              QByteArray("<DefineSDOServerRecJ1939 />\n<!--SW_VERSION = 1.100-->\n"));
    // a failed write keeps the window open and says so
    // a folder where the file should be: the rename cannot replace it
    File_CANopen_Define_Server_SDO_Read = env.Dir.File("PROJECTS/Test/blocked");
    QDir().mkpath(File_CANopen_Define_Server_SDO_Read + "/inside");
    env.Boxes.Clear();
    r->SetModalResult(mrNone);
    r->Btn_OKClick();
    EXPECT_EQ(r->ModalResult(), mrNone);
    ASSERT_EQ(env.Boxes.Calls.size(), 1u);
    EXPECT_TRUE(env.Boxes.Texts()[0].contains("could not be written"));
}

TEST(ServerSdo, AUserMapsAnObjectWithMouseAndKeys)
{
    EditorEnv env(4);
    Write_Frames();
    auto w = Make_Editor<TFDefine_Server_SDO_Write>();
    const User user(w.get());
    QListWidget* frames = w->LB_J1939_Frames;
    QTest::mouseClick(frames->viewport(), Qt::LeftButton, {}, frames->visualItemRect(frames->item(1)).center());
    EXPECT_EQ(w->Selected_Frame(), 1);
    EXPECT_EQ(Items(w->CB_Byte1_SDO), Byte_Choices(8));
    QTest::mouseClick(w->E_Index_SDO, Qt::LeftButton);
    w->E_Index_SDO->setFocus();
    QTest::keyClicks(w->E_Index_SDO, "0x4000");
    QTest::keyClick(w->E_Index_SDO, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w->E_Sub_SDO);
    QTest::keyClicks(w->E_Sub_SDO, "7");
    // the size by keyboard: down to "2 Bytes"
    w->CB_Dim_SDO->setFocus();
    QTest::keyClick(w->CB_Dim_SDO, Qt::Key_Down);
    EXPECT_EQ(w->CB_Dim_SDO->currentIndex(), 1);
    EXPECT_FALSE(w->CB_Byte3_SDO->isEnabled());
    w->CB_Byte1_SDO->setFocus();
    QTest::keyClick(w->CB_Byte1_SDO, Qt::Key_Down);
    QTest::mouseClick(w->Btn_Create, Qt::LeftButton);
    EXPECT_EQ(Lines(w->LB_SDOs), QStringList({"Index : 0x4000; Sub : 7;"}));
    QTest::mouseClick(w->Btn_OK, Qt::LeftButton);
    EXPECT_EQ(w->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
    EXPECT_EQ(Saved_Rows(File_CANopen_Define_Server_SDO_Write),
              std::vector<QStringList>({{"NrPdo=2", "Index=0x4000", "SubIndex=7", "Dimension=1", "B1=1", "B2=0", "B3=0",
                                         "B4=0", "Send_SDO=0"}}));
    w->hide();

    // Escape closes without writing
    auto r = Make_Editor<TFDefine_Server_SDO_Read>();
    const User readUser(r.get());
    r->Btn_Cancel->setFocus();
    QTest::keyClick(r->Btn_Cancel, Qt::Key_Escape);
    EXPECT_EQ(r->ModalResult(), mrCancel);
    EXPECT_FALSE(QFile::exists(File_CANopen_Define_Server_SDO_Read));
    r->hide();
}
