// Model 890 from start to device image through the windows alone: each step button opens
// its table editor, the Modbus requests are mapped in the map dialog, and the update step
// builds the image from what the editors saved.
#include "editors/modbus_890_editors.h"
#include "editors/register_map_dialog.h"
#include "platform/ui/lb_button.h"
#include "shell/form_registry.h"
#include "shell_fixture.h"
#include "state/lang.h"
#include "state/shared_state.h"

#include <QComboBox>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// Sets the cells of a row by attribute name, as the user fills them.
void Fill(TTableEditor* e, int row, const std::vector<std::pair<const char*, const char*>>& cells)
{
    for (const auto& [attr, text] : cells) {
        int col = 0;
        for (int c = 1; c <= int(e->Desc().Columns.size()); ++c)
            if (e->Desc().Columns[size_t(c - 1)].Attribute == QLatin1String(attr)) col = c;
        ASSERT_GT(col, 0) << attr;
        e->Grid()->SetCells(col, row, QString::fromUtf8(text));
    }
}

// Clicks the step button; while its window runs modally, `edit` works in it.
TTableEditor* Step(ShellTest& t, const char* button, const char* form, const std::function<void(TTableEditor*)>& edit)
{
    auto* e = dynamic_cast<TTableEditor*>(Find_Form(form));
    EXPECT_NE(e, nullptr) << form;
    if (!e) return nullptr;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = e->isVisible();
        edit(e);
        e->Btn_OK->Click();
    });
    t.Main()->Btn_Click(t.Main()->findChild<TLbButton*>(button));
    EXPECT_TRUE(shown) << form;
    EXPECT_EQ(e->ModalResult(), mrOk) << form << ": " << t.Boxes.Texts().join('\n').toStdString();
    return e;
}

// Opens the map dialog by the editor's Map button for the current row and imports, per
// point, the given byte of the given frame into its first column.
void Map_By_Dialog(TTableEditor* e, int row, const std::vector<std::pair<int, int>>& frameBytes)
{
    auto* d = dynamic_cast<TFConf_Regs_890*>(Find_Form("FConf_Regs_890"));
    ASSERT_NE(d, nullptr);
    e->Grid()->SetRow(row);
    QTimer::singleShot(0, [d, frameBytes] {
        for (size_t k = 0; k < frameBytes.size(); ++k) {
            d->CB_Sel_FrameJ1939->setCurrentIndex(frameBytes[k].first);
            d->CB_Sel_FrameJ1939Change();
            d->CB_Available_Byte->setCurrentIndex(frameBytes[k].second);
            d->ACG_Modbus_Regs->SetCol(1);
            d->ACG_Modbus_Regs->SetRow(int(k) + 1);
            d->Btn_ImportClick();
        }
        d->Btn_OK->Click();
    });
    e->Btn_RegMap->Click();
}
}  // namespace

TEST(Model890Road, EveryTableStepOpensItsEditorAndTheUpdateStepBuildsTheirImage)
{
    ShellTest t(5);
    t.Stand_In("FBootCAN");
    t.Open_Conf("A");
    for (const char* n : {"FModbusReadReq_890", "FModbusWriteReq_890", "FConf_Regs_890"})
        EXPECT_NE(Find_Form(n), nullptr) << n;

    Step(t, "Btn_Receive_J1939", "FReceive_J1939_892", [](TTableEditor* e) {
        Fill(e, 1, {{"DataPage", "0"}, {"PGN", "61444"}, {"SourceAddress", "0"}, {"TransportProtocol", "N"},
                    {"CancelData", "N"}});
        Fill(e, 2, {{"DataPage", "0"}, {"PGN", "65262"}, {"SourceAddress", "0"}, {"TransportProtocol", "N"},
                    {"StartByte", "0"}, {"NumBytes", "4"}, {"CancelData", "N"}});
    });
    Step(t, "Btn_Modbus_Write_Request", "FModbusWriteReq_890", [](TTableEditor* e) {
        Fill(e, 1, {{"SlaveID", "3"}, {"Type", "Holding Register"}, {"Address", "10"}, {"NPoint", "1"},
                    {"PollTime", "100"}, {"OnChange", "Y"}, {"OnCMD", "N"}, {"MaxError", "0"}});
        Map_By_Dialog(e, 1, {{1, 3}});   // the second frame's fourth byte: position 12
        EXPECT_EQ(e->Cell(9, 1), "[12,0]");
    });
    Step(t, "Btn_Transmit_J1939", "FTransmit_J1939_892", [](TTableEditor* e) {
        Fill(e, 1, {{"Priority", "6"}, {"DataPage", "0"}, {"PGN", "65280"}, {"SourceAddress", "1"}, {"NumByte", "8"},
                    {"Request", "N"}, {"DataChange", "Y"}, {"OnTimer", "N"}});
    });
    Step(t, "Btn_Modbus_Read_Request", "FModbusReadReq_890", [](TTableEditor* e) {
        Fill(e, 1, {{"SlaveID", "3"}, {"Type", "Coil Status"}, {"Address", "0"}, {"NPoint", "2"}, {"PollTime", "100"},
                    {"MaxError", "5"}});
        Map_By_Dialog(e, 1, {{0, 0}, {0, 7}});
        e->Grid()->SetCells(7, 1, e->Cell(7, 1).replace("[1,0]", "[1,1]").replace("[8,0]", "[8,2]"));
    });
    EXPECT_TRUE(t.Boxes.Calls.empty()) << t.Boxes.Texts().join('\n').toStdString();

    t.Main()->Btn_Click(t.Main()->Btn_CreateBin);
    EXPECT_EQ(t.Shown, QStringList({"FBootCAN"}));
    QFile bank2(Conf_Dir + "/bin/bank2.bin");
    ASSERT_TRUE(bank2.open(QIODevice::ReadOnly));
    // the maps close the image: the write request's register, then the read request's coils
    EXPECT_EQ(bank2.readAll().right(12).toHex(), QByteArray("0c000000"
                                                            "01000100"
                                                            "08000200"));

    // a change of language reaches the two editors and the map dialog
    Lang_Texts[276] = "Modbus lesen";
    Lang_Texts[822] = "Auf Befehl";
    Lang_Texts[588] = "Importieren";
    Apply_Lang_To_Forms();
    EXPECT_EQ(Find_Form("FModbusReadReq_890")->Caption(), "Modbus lesen");
    EXPECT_EQ(FModbusWriteReq_890->Grid()->Cells(7, 0), "Auf Befehl");
    EXPECT_EQ(FConf_Regs_890->Btn_Import->Caption(), "Importieren");
}
