// The CANopen steps of the J1939 / CANopen gateway: each table step opens its window, and a
// configuration filled through the windows alone gives the data sheet of its tables.
#include "shell_fixture.h"

#include "editors/canopen_client_editors.h"
#include "editors/canopen_pdo_editors.h"
#include "editors/canopen_sdo_editors.h"
#include "editors/j1939_editors.h"
#include "platform/ui/lb_button.h"
#include "state/lang.h"
#include "state/shared_state.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// Clicks the step button; while the window `form` runs modally, `inside` works in it.
void Step(ShellTest& t, const char* button, const char* form, const std::function<void(TForm*)>& inside)
{
    TLbButton* b = t.Main()->findChild<TLbButton*>(QLatin1String(button));
    ASSERT_NE(b, nullptr) << button;
    ASSERT_TRUE(b->isVisibleTo(t.Main())) << button;
    TForm* f = Find_Form(QLatin1String(form));
    ASSERT_NE(f, nullptr) << form;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = f->isVisible();
        inside(f);
        // a window that refused its OK would keep the test waiting
        if (f->ModalResult() == mrNone) f->findChild<TLbButton*>("Btn_Cancel")->Click();
    });
    t.Main()->Btn_Click(b);
    EXPECT_TRUE(shown) << form;
}
}  // namespace

TEST(CanopenSteps, EachStepOpensItsWindow)
{
    const struct {
        const char* Button;
        const char* Form;
        const char* Caption;
        int CaptionText;
    } cases[] = {
        {"Btn_Define_Receive_TPDO", "FDefine_TPDO", "Define Transmit PDO", 500},
        {"Btn_Define_Transmit_RPDO", "FDefine_RPDO", "Define Receive PDO", 433},
        {"Btn_Define_Receive_SDO", "FDefine_Server_SDO_Read", "Define SDO Server in Read", 451},
        {"Btn_Define_Transmit_SDO", "FDefine_Server_SDO_Write", "Define SDO Server in Write", 475},
        {"Btn_Set_SDO_Client", "FDefine_Client_SDO", "Define SDO Client", 379},
        {"Btn_Set_NodeGuard", "FDefine_NodeGuard", "Define Node Guarding", 403},
    };
    ShellTest t(4);
    t.Main()->show();
    t.Open_Conf("A");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Form);
        TForm* editor = Find_Form(c.Form);
        ASSERT_NE(editor, nullptr);
        Step(t, c.Button, c.Form, [&](TForm* f) { f->findChild<TLbButton*>("Btn_Cancel")->Click(); });
        EXPECT_EQ(editor->ModalResult(), mrCancel);
        EXPECT_EQ(editor->Caption(), c.Caption);
        Lang_Texts[c.CaptionText] = "Neu";
        Apply_Lang_To_Forms();
        EXPECT_EQ(editor->Caption(), "Neu");
    }
    EXPECT_TRUE(t.Boxes.Calls.empty()) << t.Boxes.Texts().join('\n').toStdString();
}

TEST(CanopenSteps, AConfigurationFilledThroughTheWindowsGivesItsDataSheet)
{
    ShellTest t(4);
    t.Main()->show();
    t.Open_Conf("A");
    auto grid_ok = [](const std::vector<QStringList>& rows) {
        return [rows](TForm* f) {
            auto* e = static_cast<TTableEditor*>(f);
            for (size_t r = 0; r < rows.size(); ++r)
                for (int c = 0; c < rows[r].size(); ++c) e->Grid()->SetCells(c + 1, int(r) + 1, rows[r][c]);
            e->Btn_OK->Click();
        };
    };
    Step(t, "Btn_Receive_J1939", "FReceive_J1939_Frame_896", grid_ok({{"0", "0xFEF1", "0x00", "N", "", "", "N", "N", "1000", "speed"}}));
    Step(t, "Btn_Transmit_J1939", "FTransmit_J1939_Frame_896", grid_ok({{"6", "0", "0xFF00", "0x10", "8", "N", "Y", "N", "1000", "out"}}));
    Step(t, "Btn_Define_Receive_TPDO", "FDefine_TPDO", [](TForm* f) {
        auto* e = static_cast<TFDefine_TPDO*>(f);
        for (int c = 0; c < 9; ++c)
            e->Grid()->SetCells(c + 1, 1, QStringList({"0x181", "8", "1", e->SL.value(0), "Y", "N", "N", "", "a"})[c]);
        e->Btn_OK->Click();
    });
    Step(t, "Btn_Define_Transmit_RPDO", "FDefine_RPDO", [](TForm* f) {
        auto* e = static_cast<TFDefine_RPDO*>(f);
        for (int c = 0; c < 5; ++c)
            e->Grid()->SetCells(c + 1, 1, QStringList({"0x201", "2", "1", e->SL.value(0), "b"})[c]);
        e->Btn_OK->Click();
    });
    auto sdo = [](const char* index) {
        return [index](TForm* f) {
            auto* e = static_cast<TServerSDOEditor*>(f);
            e->LB_J1939_Frames->setCurrentRow(0);
            e->E_Index_SDO->setText(QLatin1String(index));
            e->E_Sub_SDO->setText("1");
            e->CB_Byte1_SDO->setCurrentIndex(1);
            e->Btn_Create->Click();
            e->Btn_OK->Click();
        };
    };
    Step(t, "Btn_Define_Receive_SDO", "FDefine_Server_SDO_Read", sdo("0x2000"));
    Step(t, "Btn_Define_Transmit_SDO", "FDefine_Server_SDO_Write", sdo("0x3000"));
    Step(t, "Btn_Set_SDO_Client", "FDefine_Client_SDO", [](TForm* f) { f->findChild<TLbButton*>("Btn_OK")->Click(); });
    Step(t, "Btn_Set_NodeGuard", "FDefine_NodeGuard", grid_ok({{"5", "100", "3", "pump"}}));
    EXPECT_TRUE(t.Boxes.Calls.empty()) << t.Boxes.Texts().join('\n').toStdString();
    for (const QString* file : {&File_J1939_Receive, &File_J1939_Transmit, &File_CANopen_TPDO, &File_CANopen_RPDO,
                                &File_CANopen_Define_Server_SDO_Read, &File_CANopen_Define_Server_SDO_Write,
                                &File_CANopen_Define_Client_SDO, &File_CANopen_Define_NodeGuard,
                                &File_CANopen_Define_NG_J1939_Frames})
        EXPECT_TRUE(QFile::exists(*file)) << file->toStdString();

    FileDialogRecorder dialogs;
    const QString target = t.Dir.File("PROJECTS/A/gateway.eds");
    dialogs.Answers = {target};
    t.Main()->Btn_Click(t.Main()->Btn_CANopen_EDSFile);
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray eds = f.readAll();
    EXPECT_TRUE(eds.contains("\r\nNrOfRXPDO=1\r\nNrOfTXPDO=1\r\n"));
    EXPECT_TRUE(eds.contains("\r\n[2000sub1]\r\n"));
    EXPECT_TRUE(eds.contains("\r\n[3000sub1]\r\n"));
    EXPECT_TRUE(t.Boxes.Calls.empty()) << t.Boxes.Texts().join('\n').toStdString();
}
