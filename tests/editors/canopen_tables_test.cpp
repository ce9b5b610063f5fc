// A configuration of the J1939 / CANopen gateway filled through its windows: the data
// sheet and the device image are made from what the windows saved.
#include "editor_fixture.h"
#include "editors/canopen_pdo_editors.h"
#include "editors/canopen_sdo_editors.h"
#include "editors/j1939_editors.h"
#include "generate/eds_writer.h"
#include "generate/image_dispatch.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

namespace {
// Frames, PDOs and server objects of one gateway, each table through its window.
void Fill_Through_The_Windows()
{
    auto run = [](TForm& e, const std::function<void()>& fill, const std::function<void()>& ok) {
        e.FormShow();
        fill();
        ok();
        ASSERT_EQ(e.ModalResult(), mrOk);
    };
    auto rx = Make_Editor<TFReceive_J1939_Frame_896>();
    run(*rx, [&] {
        Fill_Cells(*rx, 1, {"0", "0xFEF1", "0x00", "N", "", "", "N", "N", "1000", "speed"});
        Fill_Cells(*rx, 2, {"0", "0xFEEE", "0x01", "Y", "0", "20", "N", "N", "1000", "long"});
    }, [&] { rx->Btn_OKClick(); });
    auto tx = Make_Editor<TFTransmit_J1939_Frame_896>();
    run(*tx, [&] { Fill_Cells(*tx, 1, {"6", "0", "0xFF00", "0x10", "8", "N", "Y", "N", "1000", "out"}); },
        [&] { tx->Btn_OKClick(); });

    auto tpdo = Make_Editor<TFDefine_TPDO>();
    run(*tpdo, [&] {
        Fill_Cells(*tpdo, 1, {"0x181", "8", "1", tpdo->SL[0], "Y", "N", "N", "", "a"});
        Fill_Cells(*tpdo, 2, {"0x182", "2", "3", tpdo->SL[1], "N", "Y", "Y", "100", "b"});
    }, [&] { tpdo->Btn_OKClick(); });
    auto rpdo = Make_Editor<TFDefine_RPDO>();
    run(*rpdo, [&] { Fill_Cells(*rpdo, 1, {"0x201", "4", "5", rpdo->SL[0], "c"}); }, [&] { rpdo->Btn_OKClick(); });

    auto create = [](TServerSDOEditor& e, int frame, const char* index, const char* sub, int dim, int b1) {
        e.LB_J1939_Frames->setCurrentRow(frame);
        e.E_Index_SDO->setText(QLatin1String(index));
        e.E_Sub_SDO->setText(QLatin1String(sub));
        e.CB_Dim_SDO->setCurrentIndex(dim);
        e.CB_Byte1_SDO->setCurrentIndex(b1);
        e.Btn_Click(e.Btn_Create);
    };
    auto read = Make_Editor<TFDefine_Server_SDO_Read>();
    run(*read, [&] {
        create(*read, 0, "0x2000", "1", 0, 1);
        create(*read, 1, "0x2000", "2", 2, 20);
        create(*read, 0, "0x2100", "0", 1, 8);
    }, [&] { read->Btn_OKClick(); });
    auto write = Make_Editor<TFDefine_Server_SDO_Write>();
    run(*write, [&] { create(*write, 0, "0x3000", "1", 1, 2); }, [&] { write->Btn_OKClick(); });
}

QString Section(const QString& eds, const QString& name)
{
    const qsizetype at = eds.indexOf("\r\n[" + name + "]\r\n");
    if (at < 0) return QString();
    const qsizetype end = eds.indexOf("\r\n\r\n", at + 2);
    return eds.mid(at + 2, end - at - 2);
}
}  // namespace

TEST(CanopenTables, TheDataSheetDescribesWhatTheWindowsSaved)
{
    EditorEnv env(4);
    Fill_Through_The_Windows();
    ASSERT_TRUE(env.Boxes.Calls.empty()) << env.Boxes.Texts().join('\n').toStdString();
    const QString path = Conf_Dir + "/gateway.eds";
    Write_EDS_File(path);
    const QString eds = QString::fromLatin1(Read_File(path));
    EXPECT_TRUE(Section(eds, "DeviceInfo").contains("NrOfRXPDO=1\r\nNrOfTXPDO=2"));
    EXPECT_TRUE(Section(eds, "1400sub1").contains("DefaultValue=0x00000201")) << Section(eds, "1400sub1").toStdString();
    EXPECT_TRUE(Section(eds, "1800sub1").contains("DefaultValue=0x40000181"));
    EXPECT_TRUE(Section(eds, "1801sub1").contains("DefaultValue=0x40000182"));
    EXPECT_TRUE(Section(eds, "1600").contains("SubNumber=5"));
    EXPECT_TRUE(Section(eds, "1A00").contains("SubNumber=9"));
    EXPECT_TRUE(Section(eds, "1A01").contains("SubNumber=3"));
    EXPECT_EQ(Section(eds, "ManufacturerObjects"),
              "[ManufacturerObjects]\r\nSupportedObjects=3\r\n1=0x2000\r\n2=0x2100\r\n3=0x3000");
    const struct {
        const char* Name;
        const char* DataType;
        const char* Access;
    } objects[] = {{"2000sub1", "0x0007", "ro"}, {"2000sub2", "0x0005", "ro"}, {"2100sub0", "0x0006", "ro"},
                   {"3000sub1", "0x0006", "rw"}};
    for (const auto& o : objects) {
        const QString s = Section(eds, o.Name);
        EXPECT_TRUE(s.contains(QString("DataType=") + o.DataType)) << o.Name << s.toStdString();
        EXPECT_TRUE(s.contains(QString("AccessType=") + o.Access)) << o.Name;
    }
    EXPECT_TRUE(Section(eds, "2000").contains("SubNumber=2"));
}

TEST(CanopenTables, ThePdoWindowsAcceptWhatTheDataSheetCanDescribe)
{
    EditorEnv env(4);
    // the PDO tables cannot grow beyond what the data sheet describes
    for (TTableEditor* e : std::initializer_list<TTableEditor*>{Make_Editor<TFDefine_TPDO>().release(),
                                                                Make_Editor<TFDefine_RPDO>().release()}) {
        std::unique_ptr<TTableEditor> owned(e);
        EXPECT_EQ(e->Grid()->RowCount() - 1, Max_PDO);
        for (int r = 1; r <= Max_PDO; ++r) Fill_Cells(*e, r, {"0x7FF", "8", "1"});
        e->Btn_OKClick();
        ASSERT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
    }
    const QString path = Conf_Dir + "/full.eds";
    EXPECT_NO_THROW(Write_EDS_File(path));
    EXPECT_EQ(Num_RPDO, Max_PDO);
    EXPECT_EQ(Num_TPDO, Max_PDO);
}

TEST(CanopenTables, TheImageIsTheSameAsFromTablesWrittenByHand)
{
    EditorEnv env(4);
    QDir().mkpath(Conf_Dir + "/bin");
    Fill_Through_The_Windows();
    Build_Device_Image();
    Save_Device_Image();
    const QByteArray bank = Read_File(Conf_Dir + "/bin/bank.bin");
    ASSERT_GT(bank.size(), 0);

    // the same tables by hand, attributes in another order, on one line each
    Write_File(File_CANopen_TPDO,
               "<T><row Mnemonic='a' SendTimer='' OnTimer='N' OnCAN='N' DataChange='Y' Frame_J1939='1' Offset='1' "
               "Dimension='8' COB-ID='0x181'/><row Mnemonic='b' SendTimer='100' OnTimer='Y' OnCAN='Y' DataChange='N' "
               "Frame_J1939='2' Offset='3' Dimension='2' COB-ID='0x182'/></T>");
    Write_File(File_CANopen_RPDO, "<R><row Mnemonic='c' Frame_J1939='1' Offset='5' Dimension='4' COB-ID='0x201'/></R>");
    Write_File(File_CANopen_Define_Server_SDO_Read,
               "<S><row B4='0' B3='0' B2='0' B1='1' Dimension='0' SubIndex='1' Index='0x2000' NrPdo='1'/>"
               "<row B4='0' B3='0' B2='0' B1='8' Dimension='1' SubIndex='0' Index='0x2100' NrPdo='1'/>"
               "<row B4='0' B3='0' B2='0' B1='20' Dimension='2' SubIndex='2' Index='0x2000' NrPdo='2'/></S>");
    Write_File(File_CANopen_Define_Server_SDO_Write,
               "<W><row Send_SDO='0' B4='0' B3='0' B2='0' B1='2' Dimension='1' SubIndex='1' Index='0x3000' NrPdo='1'/></W>");
    QFile::remove(Conf_Dir + "/bin/bank.bin");
    Build_Device_Image();
    Save_Device_Image();
    EXPECT_EQ(Read_File(Conf_Dir + "/bin/bank.bin"), bank);
}
