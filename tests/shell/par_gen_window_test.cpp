// The communication parameters window: layout per model, loading, OK, Cancel, collapsing
// groups and the octet edits.
#include "platform/core/exception.h"
#include "platform/core/paths.h"
#include "shell/TFParGen.h"
#include "platform/ui/lb_button.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/shared_state.h"
#include "shell_fixture.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ParGenWindow : public ::testing::Test {
protected:
    TempExeDir Dir;
    MessageBoxRecorder Boxes;
    std::unique_ptr<ScopedModelCode> Model;
    std::unique_ptr<TFParGen> Form;

    // A window for the model with an open configuration "Conf".
    TFParGen& Open(int model)
    {
        Form.reset();
        Model.reset();
        Model = std::make_unique<ScopedModelCode>(model);
        Conf_Name = QStringLiteral("Conf");
        Conf_Dir = PathJoin(Projects_Dir, Conf_Name);
        CreateDir(Conf_Dir);
        Set_Files();
        SW_Code = QString::fromUtf16(Model_Info(model).SW_Code);
        Form = std::make_unique<TFParGen>();
        Form->FormCreate();
        return *Form;
    }
    QString ParGenPath() const { return File_ParGen; }
    QByteArray ParGenBytes() const
    {
        QFile f(File_ParGen);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void WriteParGen(const QByteArray& bytes) const
    {
        QFile f(File_ParGen);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    template <class T>
    T* Get(const char* name) const
    {
        T* w = Form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    TLbButton* CollapseOf(QGroupBox* g) const
    {
        return Get<TLbButton>(("Btn_" + g->objectName().toLatin1() + "_Collapse").constData());
    }
    TLbButton* ExpandOf(QGroupBox* g) const
    {
        return Get<TLbButton>(("Btn_" + g->objectName().toLatin1() + "_Expand").constData());
    }
    // "name@top/height" of every group shown, top to bottom.
    QStringList ShownGroups() const
    {
        QList<QGroupBox*> shown;
        for (QGroupBox* g : Form->findChildren<QGroupBox*>())
            if (!g->isHidden()) shown << g;
        std::sort(shown.begin(), shown.end(), [](QGroupBox* a, QGroupBox* b) { return a->y() < b->y(); });
        QStringList out;
        for (QGroupBox* g : shown)
            out << QStringLiteral("%1@%2/%3").arg(g->objectName()).arg(g->y()).arg(g->height());
        return out;
    }
};

struct LayoutCase {
    int Model;
    int DeviceType;
    const char* Groups;  // name@top/height, top to bottom
    int ButtonsTop;
    int ClientHeight;
    const char* Shown;   // controls shown, with their top where it is set per model
    const char* Hidden;  // controls hidden for the model
};

// Heights: a computed group ends 15 pixels below its last field; edits and lists are 21
// high, check boxes 17.
const LayoutCase kLayouts[] = {
    {0, 0, "GB_J1939@70/295 GB_Modbus_Slave@371/125", 509, 550,
     "E_J1939_ModReg_TO@89 CB_En_Peer_J1939@126 CB_En_Remote_Req_J1939@160 E_J1939_RTR_SA@259",
     "E_J1939_DevID CB_J1939_Send_DM1 E_J1939_FilterFECA"},
    {1, 0, "GB_J1939@70/193 GB_Modbus_TCP_Slave@269/224", 506, 547,
     "E_J1939_ModReg_TO@89 CB_En_Peer_J1939@126 L_J1939_DevID@160 E_J1939_DevID@157 E_PORT@188",
     "CB_En_Remote_Req_J1939 CB_ModTCPs_EnWriteOnReq CB_J1939_FilterFECA"},
    {2, 0, "GB_J1939@70/261 GB_Modbus_TCP_Master@337/292", 642, 683,
     "CB_En_Peer_J1939@92 E_J1939_DevID@123 CB_J1939_Send_DM1@160 CB_J1939_StopSendFrame@194 E_J1939_SSF_NumFails@225",
     "E_J1939_ModReg_TO CB_En_Remote_Req_J1939 E_J1939_FilterFECA"},
    {3, 0, "GB_J1939@70/159 GB_Ethernet@235/224", 472, 513, "CB_En_Peer_J1939@92 E_J1939_DevID@123 E_ETH_PORT@188",
     "E_J1939_ModReg_TO CB_J1939_Send_DM1 CB_Ethernet_Protocol"},
    {4, 0, "GB_J1939@70/159 GB_CANopen@235/329", 577, 618, "E_J1939_DevID@123", "E_J1939_ModReg_TO"},
    {5, 0, "GB_J1939@70/159 GB_Modbus_Master@235/193", 441, 482, "E_J1939_DevID@123", "CB_J1939_Send_DM1"},
    {6, 0, "GB_J1939@70/159 GB_CAN@235/58", 306, 347, "E_J1939_DevID@123", "E_J1939_ModReg_TO"},
    {10, 0, "GB_J1939@70/159 GB_CAN@235/58 GB_Ethernet@299/190", 502, 543, "E_J1939_DevID@123 E_ETH_GAT4@154",
     "E_ETH_PORT L_Eth_Port CB_Ethernet_Protocol"},
    {8, 0, "GB_J1939@70/193 GB_PROFIBUS_Slave@269/158", 440, 481,
     "CB_En_Peer_J1939@92 CB_J1939_FilterFECA@126 E_J1939_FilterFECA@123 L_J1939_DevID@160 E_J1939_DevID@157",
     "E_J1939_ModReg_TO CB_J1939_SendFrame"},
    {1006, 0, "GB_J1939@70/57 GB_CAN@133/58 GB_Custom@197/260", 470, 511, "CB_Baud_J1939@21",
     "E_TO_J1939 L_J1939_TO CB_En_Peer_J1939 E_J1939_DevID"},
    {7, 0, "GB_select_Device@70/58 GB_J1939@134/364 GB_Modbus_TCP_Slave@504/325", 842, 883,
     "E_J1939_ModReg_TO@89 CB_En_Peer_J1939@126 E_J1939_RTR_SA@259 CB_J1939_FilterFECA@296 E_J1939_FilterFECA@294 "
     "CB_J1939_SendFrame@330 E_J1939_SendFrame@328 CB_ModTCPs_WriteModRegInRead@293",
     "E_J1939_DevID"},
    {7, 1, "GB_select_Device@70/58 GB_J1939@134/228 GB_Modbus_TCP_Slave@368/224", 605, 646,
     "E_J1939_ModReg_TO@89 CB_En_Peer_J1939@126 L_J1939_DevID@160 E_J1939_DevID@157 CB_J1939_FilterFECA@194 "
     "E_J1939_FilterFECA@192",
     "CB_En_Remote_Req_J1939 E_J1939_RTR_SA E_J1939_SendFrame CB_ModTCPs_EnWriteOnReq CB_ModTCPs_WriteModRegInRead"},
    {9, 0, "GB_select_Device@70/58 GB_J1939@134/160 GB_Ethernet@300/202", 515, 556,
     "CB_En_Peer_J1939@92 CB_J1939_FilterFECA@126 E_J1939_FilterFECA@124 L_Eth_Port@135 E_ETH_PORT@132 "
     "L_Ethernet_Protocol@169 CB_Ethernet_Protocol@166",
     "E_J1939_DevID E_J1939_ModReg_TO CB_ETH_EN_GAT E_ETH_GAT1 E_ETH_GAT4"},
    {9, 1, "GB_select_Device@70/58 GB_J1939@134/159 GB_Ethernet@299/224", 536, 577,
     "CB_En_Peer_J1939@92 L_J1939_DevID@126 E_J1939_DevID@123 CB_ETH_EN_GAT@134 E_ETH_GAT4@154 E_ETH_PORT@188",
     "E_J1939_FilterFECA CB_Ethernet_Protocol"},
};

TEST_F(ParGenWindow, EachModelShowsAndStacksItsGroups)
{
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(testing::Message() << "model " << c.Model << " device type " << c.DeviceType);
        TFParGen& f = Open(c.Model);
        if (c.DeviceType) f.CB_Select_Device->setCurrentIndex(c.DeviceType);
        EXPECT_EQ(ShownGroups().join(' ').toStdString(), c.Groups);
        EXPECT_EQ(f.Btn_OK->geometry(), QRect(74, c.ButtonsTop, 112, 28));
        EXPECT_EQ(f.Btn_Cancel->geometry(), QRect(192, c.ButtonsTop, 112, 28));
        EXPECT_EQ(f.size(), QSize(312, c.ClientHeight));
        for (const QString& item : QString::fromLatin1(c.Shown).split(' ')) {
            const QStringList parts = item.split('@');
            QWidget* w = Get<QWidget>(parts[0].toLatin1().constData());
            EXPECT_FALSE(w->isHidden()) << parts[0].toStdString();
            if (parts.size() > 1) {
                EXPECT_EQ(w->y(), parts[1].toInt()) << parts[0].toStdString();
            }
        }
        for (const QString& name : QString::fromLatin1(c.Hidden).split(' '))
            EXPECT_TRUE(Get<QWidget>(name.toLatin1().constData())->isHidden()) << name.toStdString();
    }
}

TEST_F(ParGenWindow, ListsDependOnTheModel)
{
    TFParGen& f897 = Open(6);
    EXPECT_EQ(f897.CB_Baud_J1939->count(), 11);
    EXPECT_EQ(f897.CB_Baud_J1939->itemText(10), "750K");
    EXPECT_EQ(f897.CB_Baud_CANopen->count(), 9);
    EXPECT_EQ(f897.CB_Select_Device->itemText(1), "Device from May 2014 (with Dip-Switch)");
    TFParGen& f871 = Open(9);
    EXPECT_EQ(f871.CB_Baud_J1939->count(), 9);
    EXPECT_EQ(f871.CB_Select_Device->itemText(0), "Device with Jumper");
    EXPECT_EQ(f871.L_SW_Code->text(), "CV58871");
}

TEST_F(ParGenWindow, ShowingLoadsEveryKeyIntoItsControl)
{
    // Odd values of every kind reach the controls and come back unchanged, on every model.
    for (int model : Model_Codes) {
        SCOPED_TRACE(model);
        TFParGen& f = Open(model);
        TParGenMap typed;
        int i = 0;
        for (const TParKey& k : ParGen_Keys(model)) {
            ++i;
            switch (k.Kind) {
            case TParKind::Text: typed[k.Name] = i % 2 ? QStringLiteral(" x%1").arg(i) : QString(); break;
            case TParKind::Index: typed[k.Name] = QString::number(i % 2); break;
            case TParKind::Flag: typed[k.Name] = QString::number((i / 2) % 2); break;
            case TParKind::Constant: typed[k.Name] = k.Default; break;
            }
        }
        Write_ParGen(ParGenPath(), model, typed);
        f.FormShow();
        EXPECT_EQ(f.Values(), typed);
        EXPECT_FALSE(f.Is_Change);
        QFile::remove(ParGenPath());
    }
}

TEST_F(ParGenWindow, OkWritesTheDocumentOfTheControls)
{
    TFParGen& f = Open(2);
    f.show();  // no document yet: the defaults
    f.E_MTCPM_IP4->setText(QStringLiteral("0x20"));
    f.CB_J1939_Send_DM1->setChecked(true);
    f.CB_Baud_J1939->setCurrentIndex(8);
    f.Btn_OK->Click();
    EXPECT_EQ(f.ModalResult(), mrOk);
    EXPECT_TRUE(Boxes.Calls.empty());
    TParGenMap expected = ParGen_Defaults(2);
    expected["MODBUS_TCP_MASTER_IP4"] = "0x20";
    expected["J1939_Send_DM1"] = "1";
    expected["J1939_BAUDRATE"] = "8";
    EXPECT_EQ(ParGenBytes(), ParGen_Document(2, expected));
    f.hide();
}

TEST_F(ParGenWindow, FailedCheckShowsOneBoxAndLeavesTheFile)
{
    TFParGen& f = Open(1);
    Write_ParGen(ParGenPath(), 1, ParGen_Defaults(1));
    const QByteArray before = ParGenBytes();
    f.FormShow();
    f.E_IP1->setText(QStringLiteral("300"));
    f.E_PORT->setText(QStringLiteral("70000"));
    f.Btn_OKClick();
    ASSERT_EQ(Boxes.Calls.size(), 1u);
    EXPECT_EQ(Boxes.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(Boxes.Calls[0].Text, "Error Modbus TCP Slave!! IP Address 1 must be between 0 and 255");
    EXPECT_EQ(f.ModalResult(), mrNone);
    EXPECT_EQ(f.E_IP1->text(), "300");
    EXPECT_EQ(ParGenBytes(), before);
}

TEST_F(ParGenWindow, FailedWriteLeavesTheWindowOpen)
{
    TFParGen& f = Open(2);
    f.FormShow();
    File_ParGen = Dir.File(QStringLiteral("PROJECTS/gone/ParGen.xml"));
    EXPECT_ANY_THROW(f.Btn_OKClick());
    EXPECT_EQ(f.ModalResult(), mrNone);
}

TEST_F(ParGenWindow, DamagedDocumentIsReportedAndTheWindowDoesNotOpen)
{
    TFParGen& f = Open(2);
    WriteParGen("<Par_Gen><J1939_TIMEOUT>5</Par_Gen>");
    f.E_TO_J1939->setText(QStringLiteral("kept"));
    try {
        f.ShowModal();
        ADD_FAILURE() << "a damaged document must not open the window";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains(ParGenPath())) << e.Message().toStdString();
    }
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.E_TO_J1939->text(), "kept");  // nothing replaced by defaults
    EXPECT_EQ(ParGenBytes(), "<Par_Gen><J1939_TIMEOUT>5</Par_Gen>");
}

TEST_F(ParGenWindow, CancelAsksOnlyAfterAChange)
{
    TFParGen& f = Open(2);
    f.FormShow();  // defaults applied: no change yet
    f.Btn_CancelClick();
    EXPECT_TRUE(Boxes.Calls.empty());
    EXPECT_EQ(f.ModalResult(), mrCancel);

    f.FormShow();
    f.SetModalResult(mrNone);
    f.E_TO_J1939->setText(QStringLiteral("9"));
    QTest::keyClick(&f, Qt::Key_Escape);  // only OK, Cancel and the close box end a showing
    EXPECT_EQ(f.ModalResult(), mrNone);
    EXPECT_TRUE(Boxes.Calls.empty());
    Boxes.Answers = {mrNo, mrYes};
    f.Btn_CancelClick();
    ASSERT_EQ(Boxes.Calls.size(), 1u);
    EXPECT_EQ(Boxes.Calls[0].Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(Boxes.Calls[0].Buttons, unsigned(mbYes | mbNo));
    EXPECT_EQ(Boxes.Calls[0].Text, "Do you want to exit without saving changes?");
    EXPECT_EQ(f.ModalResult(), mrNone);
    f.Btn_CancelClick();
    EXPECT_EQ(f.ModalResult(), mrCancel);
    EXPECT_FALSE(QFileInfo::exists(ParGenPath()));

    // The next showing drops the abandoned edit.
    f.FormShow();
    EXPECT_EQ(f.E_TO_J1939->text(), "0");
}

TEST_F(ParGenWindow, ProfibusCheckBoxesDoNotCountAsChanges)
{
    TFParGen& f = Open(8);
    f.FormShow();
    f.CB_PROFIS_Module_for_J1939->setChecked(true);
    f.CB_PROFIS_Send_J1939_by_PROFIBUS->setChecked(true);
    EXPECT_FALSE(f.Is_Change);
    f.CB_J1939_FilterFECA->setChecked(true);
    EXPECT_TRUE(f.Is_Change);
}

TEST_F(ParGenWindow, CollapsedGroupKeepsItsHeaderThroughRelayouts)
{
    TFParGen& f = Open(9);
    f.FormShow();
    f.Btn_GB_Collapse(CollapseOf(f.GB_J1939));
    EXPECT_FALSE(f.GB_J1939_Visible);
    EXPECT_TRUE(CollapseOf(f.GB_J1939)->isHidden());
    EXPECT_FALSE(ExpandOf(f.GB_J1939)->isHidden());
    EXPECT_TRUE(f.CB_Baud_J1939->isHidden());
    EXPECT_EQ(ShownGroups().join(' ').toStdString(), "GB_select_Device@70/58 GB_J1939@134/26 GB_Ethernet@166/202");

    f.CB_Select_Device->setCurrentIndex(1);
    EXPECT_EQ(ShownGroups().join(' ').toStdString(), "GB_select_Device@70/58 GB_J1939@134/26 GB_Ethernet@166/224");
    EXPECT_TRUE(f.CB_Baud_J1939->isHidden());
    EXPECT_EQ(f.E_J1939_DevID->y(), 123);

    f.Btn_GB_Expande(ExpandOf(f.GB_J1939));
    EXPECT_TRUE(f.GB_J1939_Visible);
    EXPECT_FALSE(f.CB_Baud_J1939->isHidden());
    EXPECT_EQ(ShownGroups().join(' ').toStdString(), "GB_select_Device@70/58 GB_J1939@134/159 GB_Ethernet@299/224");
}

TEST_F(ParGenWindow, CollapsingMovesTheButtonsUp)
{
    TFParGen& f = Open(10);
    f.Btn_GB_Collapse(CollapseOf(f.GB_Ethernet));
    EXPECT_EQ(ShownGroups().join(' ').toStdString(), "GB_J1939@70/159 GB_CAN@235/58 GB_Ethernet@299/26");
    EXPECT_EQ(f.Btn_OK->y(), 338);
    EXPECT_EQ(f.height(), 379);
    EXPECT_TRUE(f.L_Eth_IP->isHidden());
    f.Btn_GB_Expande(ExpandOf(f.GB_Ethernet));
    EXPECT_EQ(f.GB_Ethernet->height(), 190);

    TFParGen& q = Open(1006);
    q.Btn_GB_Collapse(CollapseOf(q.GB_Custom));
    EXPECT_EQ(q.GB_Custom->height(), 26);
    q.Btn_GB_Expande(ExpandOf(q.GB_Custom));
    EXPECT_EQ(q.GB_Custom->height(), 278);
    EXPECT_EQ(q.Btn_OK->y(), 197 + 278 + 13);
}

TEST_F(ParGenWindow, DotMovesToTheNextOctetOfTheShownGroup)
{
    TFParGen& f = Open(2);
    f.show();
    QApplication::setActiveWindow(&f);
    f.E_MTCPM_IP3->setFocus();
    QTest::keyClick(f.E_MTCPM_IP3, '.');
    EXPECT_TRUE(f.E_MTCPM_IP4->hasFocus());
    EXPECT_EQ(f.E_MTCPM_IP3->text(), "0");

    f.E_MTCPM_SM4->setFocus();
    QTest::keyClicks(f.E_MTCPM_SM4, "0.");
    EXPECT_TRUE(f.E_MTCPM_GAT1->hasFocus());
    EXPECT_EQ(f.E_MTCPM_SM4->text(), "00");

    f.E_MTCPM_GAT4->setFocus();
    QTest::keyClicks(f.E_MTCPM_GAT4, "7.");
    EXPECT_TRUE(f.E_MTCPM_GAT4->hasFocus());
    EXPECT_EQ(f.E_MTCPM_GAT4->text(), "17");

    // An octet of another model's group only loses its dot.
    QChar key = '.';
    f.KeyPress(f.E_IP1, key);
    EXPECT_TRUE(key.isNull());
    EXPECT_TRUE(f.E_MTCPM_GAT4->hasFocus());
    f.hide();
}

TEST_F(ParGenWindow, EachModelOpensOnItsTopFieldAndTabsDownTheGroups)
{
    const struct {
        int Model;
        const char* First;
        const char* Second;
    } cases[] = {
        {2, "CB_Baud_J1939", "E_TO_J1939"},
        {4, "CB_Baud_J1939", "E_TO_J1939"},
        {5, "CB_Baud_J1939", "E_TO_J1939"},
        {7, "CB_Select_Device", "CB_Baud_J1939"},
        {9, "CB_Select_Device", "CB_Baud_J1939"},
        {1006, "CB_Baud_J1939", "CAN_Baud"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.Model);
        TFParGen& f = Open(c.Model);
        f.show();
        QApplication::setActiveWindow(&f);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.First);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.Second);
        // backwards from the top field: Cancel, then OK
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), f.Btn_Cancel);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), f.Btn_OK);
        f.hide();
    }
}

TEST_F(ParGenWindow, KeyboardRoadOf892)
{
    TFParGen& f = Open(2);
    Write_ParGen(ParGenPath(), 2, ParGen_Defaults(2));
    f.show();
    QApplication::setActiveWindow(&f);
    // the window opens on its first field
    EXPECT_EQ(QApplication::focusWidget(), f.CB_Baud_J1939);

    // Tab walks the fields the model shows, top to bottom, then OK and Cancel; never a
    // collapse button
    QStringList road;
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* w = QApplication::focusWidget();
        ASSERT_NE(w, nullptr);
        if (w == f.CB_Baud_J1939) break;
        road << w->objectName();
    }
    EXPECT_EQ(road.join(' ').toStdString(),
              "E_TO_J1939 CB_En_Peer_J1939 E_J1939_DevID CB_J1939_Send_DM1 CB_J1939_StopSendFrame "
              "E_J1939_SSF_NumFails E_MTCPM_IP1 E_MTCPM_IP2 E_MTCPM_IP3 E_MTCPM_IP4 E_MTCPM_SM1 E_MTCPM_SM2 "
              "E_MTCPM_SM3 E_MTCPM_SM4 CB_MTCPM_EN_GAT E_MTCPM_GAT1 E_MTCPM_GAT2 E_MTCPM_GAT3 E_MTCPM_GAT4 "
              "E_MTCPM_PORT E_TO_Modbus_TCP_Master E_CD_Modbus_TCP_Master Btn_OK Btn_Cancel");

    // a Device ID the image cannot give the device is refused on Return in its field
    f.E_J1939_DevID->setFocus();
    f.E_J1939_DevID->selectAll();
    QTest::keyClicks(f.E_J1939_DevID, "300");
    QTest::keyClick(f.E_J1939_DevID, Qt::Key_Return);
    EXPECT_EQ(Boxes.Texts(), QStringList{"Error J1939!! Device ID J1939 must be between 0 and 255"});
    EXPECT_EQ(f.ModalResult(), mrNone);
    EXPECT_EQ(QApplication::focusWidget(), f.E_J1939_DevID);

    // an error in a collapsed group opens it
    f.E_MTCPM_IP1->setFocus();
    f.E_MTCPM_IP1->selectAll();
    QTest::keyClicks(f.E_MTCPM_IP1, "999");
    QTest::mouseClick(CollapseOf(f.GB_Modbus_TCP_Master), Qt::LeftButton);
    EXPECT_EQ(f.GB_Modbus_TCP_Master->height(), 26);
    EXPECT_EQ(f.height(), 417);
    // the keyboard is out of the collapsed group, and Tab passes it by
    EXPECT_FALSE(f.GB_Modbus_TCP_Master->isAncestorOf(QApplication::focusWidget()));
    f.E_J1939_SSF_NumFails->setFocus();
    QTest::keyClick(f.E_J1939_SSF_NumFails, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.Btn_OK);
    Boxes.Clear();
    f.E_J1939_DevID->setFocus();
    f.E_J1939_DevID->selectAll();
    QTest::keyClicks(f.E_J1939_DevID, "17");
    QTest::keyClick(f.E_J1939_DevID, Qt::Key_Return);
    EXPECT_EQ(Boxes.Texts(), QStringList{"Error Modbus TCP Master!! IP Address 1 must be between 0 and 255"});
    EXPECT_EQ(f.GB_Modbus_TCP_Master->height(), 292);
    EXPECT_EQ(f.height(), 683);
    EXPECT_TRUE(f.E_MTCPM_IP1->isVisible());
    EXPECT_TRUE(f.E_MTCPM_IP1->isEnabled());

    f.E_MTCPM_IP1->setFocus();
    f.E_MTCPM_IP1->selectAll();
    QTest::keyClicks(f.E_MTCPM_IP1, "10");
    EXPECT_EQ(f.E_MTCPM_IP1->text(), "10");
    QTest::keyClick(f.E_MTCPM_IP1, Qt::Key_Enter);
    EXPECT_EQ(f.ModalResult(), mrOk);
    EXPECT_TRUE(ParGenBytes().contains("<J1939_Device_ID>17</J1939_Device_ID>")) << ParGenBytes().toStdString();
    EXPECT_TRUE(ParGenBytes().contains("<MODBUS_TCP_MASTER_IP1>10</MODBUS_TCP_MASTER_IP1>"));
    f.hide();
}

TEST_F(ParGenWindow, ActivationBringsATooTallWindowDown)
{
    TFParGen& f = Open(7);
    f.move(100, -40);
    f.FormActivate();
    EXPECT_EQ(f.pos(), QPoint(100, 0));
}

TEST_F(ParGenWindow, TextsFollowTheLanguage)
{
    Lang_Texts[37] = QStringLiteral("Kommunikation");
    Lang_Texts[52] = QStringLiteral("KEINE");
    Lang_Texts[703] = QStringLiteral("Zuklappen");
    TFParGen& f = Open(0);
    EXPECT_EQ(f.Caption(), "Kommunikation");
    EXPECT_EQ(f.CB_Par_Modbus_Slave->itemText(0), "KEINE");
    EXPECT_EQ(f.CB_Par_Modbus_Master->itemText(0), "NONE");
    EXPECT_EQ(CollapseOf(f.GB_PROFIBUS_Slave)->Hint(), "Zuklappen");
    EXPECT_EQ(CollapseOf(f.GB_Custom)->Hint(), "");
    EXPECT_EQ(f.GB_select_Device->title(), " Select Device ");
}

// The main window's Set Communication step opens the real window; on model 892 the DM1
// buttons follow what its OK wrote.
TEST(ParGenFromMainWindow, SetCommunicationOpensTheWindow)
{
    ShellTest t(2);
    t.Open_Conf("A");
    TFFabricateFirmWare* w = t.Main();
    ASSERT_EQ(Find_Form("FParGen"), FParGen);
    QTimer::singleShot(0, FParGen, [] {
        FParGen->CB_J1939_Send_DM1->setChecked(true);
        FParGen->Btn_OKClick();
    });
    w->Btn_Click(w->Btn_Prm_Gen);
    EXPECT_EQ(FParGen->ModalResult(), mrOk);
    EXPECT_TRUE(w->Btn_Modbus_Read_DM1->Enabled());
    EXPECT_TRUE(t.Dir.Read("PROJECTS/A/ParGen.xml").contains("<J1939_Send_DM1>1</J1939_Send_DM1>"));

    QTimer::singleShot(0, FParGen, [] { FParGen->Btn_CancelClick(); });
    w->Btn_Click(w->Btn_Prm_Gen);
    EXPECT_EQ(FParGen->ModalResult(), mrCancel);
    EXPECT_TRUE(FParGen->CB_J1939_Send_DM1->isChecked());  // loaded from the document
    EXPECT_TRUE(t.Boxes.Calls.empty());

    // A damaged document: the step is abandoned with the parser's report, buttons untouched.
    t.Dir.Write("PROJECTS/A/ParGen.xml", "<Par_Gen>");
    EXPECT_THROW(w->Btn_Click(w->Btn_Prm_Gen), Exception);
    EXPECT_FALSE(FParGen->isVisible());
    EXPECT_TRUE(w->Btn_Modbus_Read_DM1->Enabled());
}

}  // namespace
