// The fixed J1939 frames of the SDO client, and the guarded CANopen nodes with the frames
// that report their state.
#include "editor_fixture.h"
#include "editors/canopen_client_editors.h"
#include "platform/ui/lb_button.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {
QStringList Frame_Texts(const TFixed_Frame_Row& r)
{
    return {r.CB_Pri ? QString::number(r.CB_Pri->currentIndex()) : "-", QString::number(r.CB_DP->currentIndex()),
            r.E_PGN->text(), r.E_SA->text(), r.E_Mnemonic->text()};
}
QStringList Frame_Row(const char* pri, const char* dp, const char* pgn, const char* sa, const char* mnemonic)
{
    return {QString("Priority=") + pri, QString("DataPage=") + dp, QString("PGN=") + pgn, QString("SA=") + sa,
            QString("Mnemonic=") + mnemonic};
}
QByteArray Frame_Element(const char* attrs) { return QByteArray("<row ") + attrs + "/>"; }
}  // namespace

TEST(ClientSdo, WithoutAFileTheDefaultFramesAreShownAndWritten)
{
    EditorEnv env(4);
    auto e = Make_Editor<TFDefine_Client_SDO>();
    EXPECT_EQ(e->Caption(), "Define SDO Client");
    EXPECT_EQ(e->ClientWidth(), 784);
    EXPECT_EQ(e->ClientHeight(), 278);
    EXPECT_EQ(e->L_Title_Row_Res_Write->text(), "Answer frame J1939 for awrite SDO");
    EXPECT_EQ(e->L_Title_Col_SA->text(), "Source Addr.");
    // only the two answer frames have a priority
    for (int k = 0; k < 5; ++k) EXPECT_EQ(e->Rows[k].CB_Pri != nullptr, k == 1 || k == 4) << k;
    EXPECT_EQ(e->Rows[1].CB_Pri->count(), 8);
    EXPECT_EQ(e->Rows[0].CB_DP->count(), 2);
    e->Rows[4].E_PGN->setText("junk");   // a previous showing's edit is gone
    e->FormShow();
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(Frame_Texts(e->Rows[k]).mid(1),
                  QStringList({"0", QString("0x000%1").arg(k + 1), QString("0x0%1").arg(k + 1), ""}));
    e->Rows[1].CB_Pri->setCurrentIndex(6);
    e->Rows[4].CB_Pri->setCurrentIndex(3);
    e->Btn_OKClick();
    ASSERT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
    QString root, comment;
    const auto rows = Saved_Rows(File_CANopen_Define_Client_SDO, &root, &comment);
    EXPECT_EQ(root, "J1939_Frames_SDOClient");
    EXPECT_EQ(comment, "SW_VERSION = 1.100");
    const std::vector<QStringList> expected{
        Frame_Row("0", "0", "0x0001", "0x01", ""), Frame_Row("6", "0", "0x0002", "0x02", ""),
        Frame_Row("0", "0", "0x0003", "0x03", ""), Frame_Row("0", "0", "0x0004", "0x04", ""),
        Frame_Row("3", "0", "0x0005", "0x05", "")};
    EXPECT_EQ(rows, expected);
}

TEST(ClientSdo, EachFrameRowLoadsOnItsOwn)
{
    EditorEnv env(4);
    Write_File(File_CANopen_Define_Client_SDO,
               "<!--before--><J1939_Frames_SDOClient>" +
                   Frame_Element("Priority=\"0\" DataPage=\"1\" PGN=\"0xFEF1\" SA=\"0x10\" Mnemonic=\"req read\"") +
                   Frame_Element("Priority=\"5\" DataPage=\"1\" PGN=\"0xFEF2\" SA=\"0x11\" Mnemonic=\"ans read\"") +
                   Frame_Element("Priority=\"0\" DataPage=\"1\" PGN=\"0xFEF3\" Mnemonic=\"no SA\"") +
                   Frame_Element("Priority=\"x\" DataPage=\"1\" PGN=\"0xFEF4\" SA=\"0x13\" Mnemonic=\"no priority list\"") +
                   Frame_Element("Priority=\"0x\" DataPage=\"0\" PGN=\"0xFEF5\" SA=\"0x14\" Mnemonic=\"bad priority\"") +
                   "</J1939_Frames_SDOClient>");
    auto e = Make_Editor<TFDefine_Client_SDO>();
    e->FormShow();
    EXPECT_EQ(Frame_Texts(e->Rows[0]), QStringList({"-", "1", "0xFEF1", "0x10", "req read"}));
    EXPECT_EQ(Frame_Texts(e->Rows[1]), QStringList({"5", "1", "0xFEF2", "0x11", "ans read"}));
    EXPECT_EQ(Frame_Texts(e->Rows[2]), QStringList({"-", "0", "0x0003", "0x03", ""}));
    // a row without a priority list does not read Priority
    EXPECT_EQ(Frame_Texts(e->Rows[3]), QStringList({"-", "1", "0xFEF4", "0x13", "no priority list"}));
    EXPECT_EQ(Frame_Texts(e->Rows[4]), QStringList({"0", "0", "0x0005", "0x05", ""}));
    EXPECT_TRUE(env.Boxes.Calls.empty());

    // fewer rows, another root, a damaged file: defaults, and the damage is named
    struct Case {
        const char* Name;
        QByteArray Data;
        int Loaded;   // rows read from the file
        bool Reported;
    } cases[] = {
        {"two rows", "<J1939_Frames_SDOClient>" + Frame_Element("DataPage=\"1\" PGN=\"1\" SA=\"2\" Mnemonic=\"\"") +
                         Frame_Element("Priority=\"1\" DataPage=\"1\" PGN=\"1\" SA=\"2\" Mnemonic=\"\"") +
                         "</J1939_Frames_SDOClient>",
         2, false},
        {"another root", "<Other>" + Frame_Element("DataPage=\"1\" PGN=\"1\" SA=\"2\" Mnemonic=\"\"") + "</Other>", 0, false},
        {"truncated", "<J1939_Frames_SDOClient><row DataPage=\"1\"", 0, true},
        {"binary", QByteArray(500, '\xFE'), 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Write_File(File_CANopen_Define_Client_SDO, c.Data);
        env.Boxes.Clear();
        e->FormShow();
        for (int k = 0; k < 5; ++k) EXPECT_EQ(e->Rows[k].CB_DP->currentIndex(), k < c.Loaded ? 1 : 0) << k;
        EXPECT_EQ(e->Rows[4].E_PGN->text(), "0x0005");
        EXPECT_EQ(env.Boxes.Calls.size(), c.Reported ? 1u : 0u);
    }
}

TEST(ClientSdo, ChecksRunFrameByFrame)
{
    struct Case {
        int Row;
        const char* Pgn;
        const char* Sa;
        const char* Error;
    } cases[] = {
        {0, "0xFEF1", "253", nullptr},
        {0, "0x10000", "1", "Error in Request SDO Read!! PGN must be between 0x0000 and 0xFFFF"},
        {0, "1", "254", "Error in Request SDO Read!! Source Address must be between 0 and 253"},
        {1, "", "1", "Error in Answer SDO Read!! PGN must be between 0x0000 and 0xFFFF"},
        {2, "-1", "1", "Error in Request SDO Write (1/2)!! PGN must be between 0x0000 and 0xFFFF"},
        {3, "1", "x", "Error in Request SDO Write (2/2)!! Source Address must be between 0 and 253"},
        {4, "$FFFF", "0xFE", "Error in Answer SDO Write!! Source Address must be between 0 and 253"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Row);
        EditorEnv env(4);
        auto e = Make_Editor<TFDefine_Client_SDO>();
        e->FormShow();
        e->Rows[c.Row].E_PGN->setText(c.Pgn);
        e->Rows[c.Row].E_SA->setText(c.Sa);
        e->Rows[4].E_SA->setText(c.Row == 4 ? c.Sa : "7");
        e->Btn_OKClick();
        EXPECT_EQ(env.Boxes.Texts(), c.Error ? QStringList{c.Error} : QStringList());
        EXPECT_EQ(QFile::exists(File_CANopen_Define_Client_SDO), c.Error == nullptr);
        EXPECT_EQ(e->ModalResult(), c.Error ? mrNone : mrOk);
    }
    // a stored list index outside the list leaves no choice, which OK does not write
    EditorEnv env(4);
    Write_File(File_CANopen_Define_Client_SDO,
               "<J1939_Frames_SDOClient>" + Frame_Element("DataPage=\"0\" PGN=\"1\" SA=\"2\" Mnemonic=\"\"") +
                   Frame_Element("Priority=\"9\" DataPage=\"0\" PGN=\"1\" SA=\"2\" Mnemonic=\"\"") + "</J1939_Frames_SDOClient>");
    auto e = Make_Editor<TFDefine_Client_SDO>();
    e->FormShow();
    EXPECT_EQ(e->Rows[1].CB_Pri->currentIndex(), -1);
    e->Btn_OKClick();
    EXPECT_EQ(env.Boxes.Texts(), QStringList{"Error in Answer frame J1939 for a read SDO!! Priority and Data Page must be chosen"});
    EXPECT_EQ(e->ModalResult(), mrNone);
}

TEST(ClientSdo, AUserTypesAFrameAndPressesOkByKeyboard)
{
    EditorEnv env(4);
    auto e = Make_Editor<TFDefine_Client_SDO>();
    const User user(e.get());
    QLineEdit* pgn = e->Rows[0].E_PGN;
    QTest::mouseDClick(pgn, Qt::LeftButton);
    pgn->setFocus();
    pgn->selectAll();
    QTest::keyClicks(pgn, "0xEF00");
    QTest::keyClick(pgn, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), e->Rows[0].E_SA);
    e->Rows[0].E_SA->selectAll();
    QTest::keyClicks(e->Rows[0].E_SA, "254");
    e->Btn_OK->setFocus();
    QTest::keyClick(e->Btn_OK, Qt::Key_Return);
    EXPECT_EQ(env.Boxes.Texts(), QStringList{"Error in Request SDO Read!! Source Address must be between 0 and 253"});
    QTest::keyClick(e->Rows[0].E_SA, Qt::Key_Backspace);
    QTest::mouseClick(e->Btn_OK, Qt::LeftButton);
    EXPECT_EQ(e->ModalResult(), mrOk);
    EXPECT_EQ(Saved_Rows(File_CANopen_Define_Client_SDO).at(0), Frame_Row("0", "0", "0xEF00", "25", ""));
    e->hide();

    auto again = Make_Editor<TFDefine_Client_SDO>();
    const User againUser(again.get());
    EXPECT_EQ(again->Rows[0].E_PGN->text(), "0xEF00");
    again->Rows[0].E_PGN->setText("1");
    again->Btn_Cancel->setFocus();
    QTest::keyClick(again->Btn_Cancel, Qt::Key_Escape);
    EXPECT_EQ(again->ModalResult(), mrCancel);
    EXPECT_EQ(Saved_Rows(File_CANopen_Define_Client_SDO).at(0), Frame_Row("0", "0", "0xEF00", "25", ""));
    again->hide();
}

TEST(NodeGuard, TheWindowHoldsThirtyTwoNodesAndFiveFrames)
{
    EditorEnv env(4);
    auto e = Make_Editor<TFDefine_NodeGuard>();
    EXPECT_EQ(e->Caption(), "Define Node Guarding");
    EXPECT_EQ(e->ClientWidth(), 635);
    EXPECT_EQ(e->ClientHeight(), 495);
    EXPECT_EQ(e->Grid()->RowCount(), 33);
    EXPECT_EQ(e->Btn_DelRow, nullptr);
    EXPECT_EQ(e->Btn_InsRow, nullptr);
    EXPECT_EQ(e->L_NG_J1939_Title1->text(), "Insert here the ID of CANopen Devices to check with Node Guard");
    EXPECT_EQ(e->L_NG_J1939_SA->text(), "Source Addr.");
    EXPECT_EQ(e->Grid()->Columns()->Items(3)->Header(), "Life Time Factor");
    // the grid lies between the two panels
    EXPECT_EQ(e->Grid()->geometry().top(), 69 + 17);
    EXPECT_EQ(e->Grid()->geometry().bottom() + 1, 495 - 40 - 183);
    EXPECT_EQ(e->Panel2->geometry().top(), 495 - 40 - 183);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(e->Rows[k].CB_Pri->count(), 8);
        EXPECT_EQ(e->Rows[k].CB_DP->count(), 8);
    }
    Lang_Texts[411] = "Zustandsrahmen";
    Lang_Texts[407] = "Knoten";
    e->Set_Lang();
    EXPECT_EQ(e->L_NG_J1939_Title2->text(), "Zustandsrahmen");
    EXPECT_EQ(e->Grid()->Columns()->Items(1)->Header(), "Knoten");
}

TEST(NodeGuard, ChecksTheNodesThenTheFrames)
{
    struct Case {
        const char* Name;
        QStringList Node;   // row 1
        int Frame;          // frame whose PGN is set to Pgn, -1 none
        const char* Pgn;
        const char* Error;
    } cases[] = {
        {"good", {"1", "1", "1", ""}, -1, "", nullptr},
        {"highest", {"127", "65535", "255", "x"}, 4, "0xFFFF", nullptr},
        {"node 0", {"0", "1", "1"}, -1, "", "Error in row 1!! Node ID must be between 1 and 127"},
        {"node 128", {"128", "1", "1"}, -1, "", "Error in row 1!! Node ID must be between 1 and 127"},
        {"node of blanks", {" ", "1", "1"}, -1, "", "Error in row 1!! Node ID must be between 1 and 127"},
        {"guard time 0", {"1", "0", "1"}, -1, "", "Error in row 1!! Guard Time must be between 1 and 65535 ms"},
        {"life time 256", {"1", "1", "256"}, -1, "", "Error in row 1!! Life Time Factor must be between 1 and 255"},
        {"frame 3 PGN", {"1", "1", "1"}, 2, "0x10000", "Error in Frame J1939 3. PGN must be between 0x0000 and 0xFFFF"},
        {"nodes first", {"0", "1", "1"}, 2, "0x10000", "Error in row 1!! Node ID must be between 1 and 127"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env(4);
        auto e = Make_Editor<TFDefine_NodeGuard>();
        e->FormShow();
        Fill_Cells(*e, 1, c.Node);
        if (c.Frame >= 0) e->Rows[c.Frame].E_PGN->setText(c.Pgn);
        Expect_Check(*e, env.Boxes, c.Error);
    }
    EditorEnv env(4);
    auto e = Make_Editor<TFDefine_NodeGuard>();
    e->FormShow();
    e->Rows[4].E_SA->setText("254");
    EXPECT_FALSE(e->Controllo_dati());
    EXPECT_EQ(env.Boxes.Texts(), QStringList{"Error in Frame J1939 5. Source Address must be between 0 and 253"});
}

TEST(NodeGuard, BothFilesAreWrittenTogetherAndLoadBack)
{
    EditorEnv env(4);
    auto e = Make_Editor<TFDefine_NodeGuard>();
    e->FormShow();
    // no node: an empty node table, and still the five frames
    e->Btn_OKClick();
    ASSERT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
    EXPECT_EQ(Read_File(File_CANopen_Define_NodeGuard), QByteArray("<Node_Guarding />\n<!--SW_VERSION = 1.100-->\n"));
    QString root;
    auto frames = Saved_Rows(File_CANopen_Define_NG_J1939_Frames, &root);
    EXPECT_EQ(root, "NG_J1939_Frames");
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[2], Frame_Row("0", "0", "0x0003", "0x03", ""));

    Fill_Cells(*e, 1, {"5", "100", "3", " pump "});
    Fill_Cells(*e, 2, {"0x7F", "$FFFF", "255", ""});
    e->Rows[0].CB_Pri->setCurrentIndex(7);
    e->Rows[0].CB_DP->setCurrentIndex(5);
    e->Rows[0].E_Mnemonic->setText("state");
    e->Btn_OKClick();
    auto again = Make_Editor<TFDefine_NodeGuard>();
    again->FormShow();
    EXPECT_EQ(Row_Cells(*again, 1), QStringList({"5", "100", "3", " pump "}));
    EXPECT_EQ(Row_Cells(*again, 2), QStringList({"0x7F", "$FFFF", "255", ""}));
    EXPECT_EQ(Frame_Texts(again->Rows[0]), QStringList({"7", "5", "0x0001", "0x01", "state"}));

    // one file cannot be written: neither changes
    const QByteArray nodes = Read_File(File_CANopen_Define_NodeGuard);
    const QByteArray frameFile = Read_File(File_CANopen_Define_NG_J1939_Frames);
    const QString framesPath = File_CANopen_Define_NG_J1939_Frames;
    File_CANopen_Define_NG_J1939_Frames = env.Dir.File("PROJECTS/Test/missing/frames.xml");
    Fill_Cells(*again, 1, {"9", "9", "9", ""});
    env.Boxes.Clear();
    again->Btn_OKClick();
    EXPECT_EQ(again->ModalResult(), mrNone);
    ASSERT_EQ(env.Boxes.Calls.size(), 1u);
    EXPECT_TRUE(env.Boxes.Texts()[0].contains("could not be written")) << env.Boxes.Texts()[0].toStdString();
    EXPECT_EQ(Read_File(File_CANopen_Define_NodeGuard), nodes);
    EXPECT_EQ(Read_File(framesPath), frameFile);

    // a node file with another root opens empty and says why
    Write_File(File_CANopen_Define_NodeGuard, "<Other><row NodeID=\"3\"/></Other>");
    env.Boxes.Clear();
    again->FormShow();
    EXPECT_EQ(again->Cell(1, 1), "");
    ASSERT_EQ(env.Boxes.Calls.size(), 1u);
    EXPECT_TRUE(env.Boxes.Texts()[0].contains("Node_Guarding"));
}

TEST(NodeGuard, AUserTypesANodeAndPressesOk)
{
    EditorEnv env(4);
    auto e = Make_Editor<TFDefine_NodeGuard>();
    const User user(e.get(), e->Grid());
    Click_Cell(e->Grid(), 1, 1);
    user.Type_Cells({"12", "500", "3"});
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(Row_Cells(*e, 1).mid(0, 3), QStringList({"12", "500", "3"}));
    QTest::mouseClick(e->Btn_OK, Qt::LeftButton);
    EXPECT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
    EXPECT_EQ(Saved_Rows(File_CANopen_Define_NodeGuard).at(0),
              QStringList({"NodeID=12", "GuardTime=500", "LifeTimeFactor=3", "Mnemonic="}));
    e->hide();
}
