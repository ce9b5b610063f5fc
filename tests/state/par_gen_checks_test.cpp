// The checks of the communication parameters: ranges, conditions, order and texts.
#include "state/lang.h"
#include "state/par_gen_checks.h"

#include <gtest/gtest.h>

namespace {

struct CheckCase {
    int Model;
    // key=value changes over the model's defaults, separated by ';'
    const char* Values;
    // the expected error text; nullptr when every check passes
    const char* Expected;
};

const char* const kOk = nullptr;

const CheckCase kCases[] = {
    // 891
    {0, "", kOk},
    {0, "J1939_TIMEOUT=100000;J1939_ModReg_TO=65535;MODBUS_SLAVE_IDDEVICE=247", kOk},
    {0, "J1939_TIMEOUT=100001", "Error J1939!! TimeOut must be between 0 and 100000s"},
    {0, "J1939_TIMEOUT=", "Error J1939!! TimeOut must be between 0 and 100000s"},
    {0, "J1939_TIMEOUT=12 ", "Error J1939!! TimeOut must be between 0 and 100000s"},
    {0, "J1939_ModReg_TO=65536", "Error J1939!! Modbus Register for TimeOut must be between 0 and 65535"},
    {0, "J1939_RTR_Pri_Dest=x;J1939_RTR_PGN1=;J1939_RTR_SA=-5", kOk},
    {0, "J1939_Remote_Request=1;J1939_ModReg_TO=100;J1939_RTR_Pri_Dest=100;J1939_RTR_PGN1=2;J1939_RTR_PGN2=3;J1939_RTR_SA=4",
     "Error J1939!! Modbus Registers for Remote Request must be different form Modbus Register for TimeOut"},
    {0, "J1939_Remote_Request=1;J1939_ModReg_TO=0;J1939_RTR_Pri_Dest=1;J1939_RTR_PGN1=2;J1939_RTR_PGN2=3;J1939_RTR_SA=0x4", kOk},
    {0, "J1939_Remote_Request=1;J1939_RTR_Pri_Dest=65536",
     "Error J1939!! Modbus Register for Remote Request (Priority and Destination) must be between 0 and 65535"},
    {0, "J1939_Remote_Request=1;J1939_RTR_Pri_Dest=1;J1939_RTR_PGN1=",
     "Error J1939!! Modbus Register for Remote Request (PGN 1) must be between 0 and 65535"},
    {0, "J1939_Remote_Request=1;J1939_RTR_Pri_Dest=1;J1939_RTR_PGN1=2;J1939_RTR_PGN2=-1",
     "Error J1939!! Modbus Register for Remote Request (PGN 2) must be between 0 and 65535"},
    {0, "J1939_Remote_Request=1;J1939_RTR_SA=70000",
     "Error J1939!! Modbus Register for Remote Request (Source Address) must be between 0 and 65535"},
    {0, "J1939_Remote_Request=1;J1939_ModReg_TO=9;J1939_RTR_Pri_Dest=1;J1939_RTR_PGN1=1;J1939_RTR_PGN2=1;J1939_RTR_SA=1",
     "Error J1939!! Modbus Register for Remote Request (Priority and Destination) must be different form Modbus Register "
     "for Remote Request (PGN 1)"},
    {0, "J1939_Remote_Request=1;J1939_ModReg_TO=9;J1939_RTR_Pri_Dest=1;J1939_RTR_PGN1=2;J1939_RTR_PGN2=1;J1939_RTR_SA=1",
     "Error J1939!! Modbus Register for Remote Request (Priority and Destination) must be different form Modbus Register "
     "for Remote Request (PGN 2)"},
    {0, "J1939_Remote_Request=1;J1939_ModReg_TO=9;J1939_RTR_Pri_Dest=1;J1939_RTR_PGN1=2;J1939_RTR_PGN2=3;J1939_RTR_SA=1",
     "Error J1939!! Modbus Register for Remote Request (Priority and Destination) must be different form Modbus Register "
     "for Remote Request (Source Address)"},
    {0, "J1939_Remote_Request=1;J1939_ModReg_TO=9;J1939_RTR_Pri_Dest=1;J1939_RTR_PGN1=2;J1939_RTR_PGN2=2;J1939_RTR_SA=2",
     "Error J1939!! Modbus Register for Remote Request (PGN 1) must be different form Modbus Register for Remote Request "
     "(PGN 2)"},
    {0, "J1939_Remote_Request=1;J1939_ModReg_TO=9;J1939_RTR_Pri_Dest=1;J1939_RTR_PGN1=2;J1939_RTR_PGN2=3;J1939_RTR_SA=2",
     "Error J1939!! Modbus Register for Remote Request (PGN 1) must be different form Modbus Register for Remote Request "
     "(Source Address)"},
    {0, "J1939_Remote_Request=1;J1939_ModReg_TO=9;J1939_RTR_Pri_Dest=1;J1939_RTR_PGN1=2;J1939_RTR_PGN2=3;J1939_RTR_SA=3",
     "Error J1939!! Modbus Register for Remote Request (PGN 2) must be different form Modbus Register for Remote Request "
     "(Source Address)"},
    {0, "MODBUS_SLAVE_IDDEVICE=0", "Error Modbus Slave!! ID Device must be between 1 and 247"},
    {0, "MODBUS_SLAVE_IDDEVICE=", "Error Modbus Slave!! ID Device must be between 1 and 247"},
    {0, "MODBUS_SLAVE_IDDEVICE=248", "Error Modbus Slave!! ID Device must be between 1 and 247"},
    // 893
    {1, "", kOk},
    {1, "MODBUS_TCP_SLAVE_IP1=0xFF;J1939_Device_ID=0xEF;MODBUS_TCP_SLAVE_Port=65535", kOk},
    {1, "MODBUS_TCP_SLAVE_IP1=300;MODBUS_TCP_SLAVE_Port=70000",
     "Error Modbus TCP Slave!! IP Address 1 must be between 0 and 255"},
    {1, "J1939_ModReg_TO=-1", "Error J1939!! Modbus Register for TimeOut must be between 0 and 65535"},
    {1, "J1939_Device_ID=240", "Error J1939!! Device ID J1939 must be between 0 and 239"},
    {1, "MODBUS_TCP_SLAVE_SM4=256", "Error Modbus TCP Slave!! SUBNET Mask 4 must be between 0 and 255"},
    {1, "MODBUS_TCP_SLAVE_GAT1=x", kOk},
    {1, "MODBUS_TCP_SLAVE_EN_GAT=1;MODBUS_TCP_SLAVE_GAT1=x",
     "Error Modbus TCP Slave!! GATEWAY IP 1 must be between 0 and 255"},
    {1, "MODBUS_TCP_SLAVE_EN_GAT=1;MODBUS_TCP_SLAVE_GAT4=256",
     "Error Modbus TCP Slave!! GATEWAY IP 4 must be between 0 and 255"},
    {1, "MODBUS_TCP_SLAVE_Port=65536", "Error Modbus TCP Slave!! PORT must be between 0 and 65535"},
    // 892
    {2, "", kOk},
    {2, "J1939_SSF_Num_Fails=abc;J1939_Device_ID=255", kOk},
    // the image gives the device its own address as one byte
    {2, "J1939_Device_ID=256;J1939_TIMEOUT=5", "Error J1939!! Device ID J1939 must be between 0 and 255"},
    {2, "J1939_Device_ID=-1", "Error J1939!! Device ID J1939 must be between 0 and 255"},
    {2, "J1939_Device_ID=;MODBUS_TCP_MASTER_IP1=300", "Error J1939!! Device ID J1939 must be between 0 and 255"},
    {2, "J1939_Device_ID=300;J1939_TIMEOUT=100001", "Error J1939!! TimeOut must be between 0 and 100000s"},
    {2, "J1939_Device_ID=0xFF;J1939_Stop_Send_Frames=1;J1939_SSF_Num_Fails=1",
     "Error J1939!! Stop Send Frames Number of Fails must be between 2 and 200"},
    {2, "J1939_Stop_Send_Frames=1;J1939_SSF_Num_Fails=1",
     "Error J1939!! Stop Send Frames Number of Fails must be between 2 and 200"},
    {2, "J1939_Stop_Send_Frames=1;J1939_SSF_Num_Fails=201",
     "Error J1939!! Stop Send Frames Number of Fails must be between 2 and 200"},
    {2, "J1939_Stop_Send_Frames=1;J1939_SSF_Num_Fails=200;MODBUS_TCP_MASTER_IP3= 5", kOk},
    {2, "MODBUS_TCP_MASTER_IP3=5 ", "Error Modbus TCP Master!! IP Address 3 must be between 0 and 255"},
    {2, "MODBUS_TCP_MASTER_SM1=256", "Error Modbus TCP Master!! SUBNET Mask 1 must be between 0 and 255"},
    {2, "MODBUS_TCP_MASTER_EN_GAT=1;MODBUS_TCP_MASTER_GAT2=",
     "Error Modbus TCP Master!! GATEWAY IP 2 must be between 0 and 255"},
    {2, "MODBUS_TCP_MASTER_Port=65536", "Error Modbus TCP Master!! PORT must be between 0 and 65535"},
    {2, "MODBUS_TCP_MASTER_TimeOut=100001", "Error Modbus TCP Master!! TimeOut must be between 0 and 100000ms"},
    {2, "MODBUS_TCP_MASTER_CyclicDelay=10001", "Error Modbus TCP Master!! Cyclic Delay must be between 0 and 10000ms"},
    {2, "MODBUS_TCP_MASTER_CyclicDelay=10000;MODBUS_TCP_MASTER_TimeOut=0", kOk},
    // 894
    {3, "", kOk},
    {3, "J1939_Device_ID=240", "Error J1939!! Device ID J1939 must be between 0 and 239"},
    {3, "ETHERNET_SM1=-1", "Error Ethernet!! SUBNET Mask 1 must be between 0 and 255"},
    {3, "ETHERNET_EN_GAT=1;ETHERNET_GAT3=999", "Error Ethernet!! GATEWAY IP 3 must be between 0 and 255"},
    {3, "ETHERNET_Port=", "Error Ethernet!! PORT must be between 0 and 65535"},
    // 896
    {4, "", kOk},
    {4, "CANopen_ID=0", "Error CANopen!! Device ID must be between 1 and 127"},
    {4, "CANopen_ID=128", "Error CANopen!! Device ID must be between 1 and 127"},
    {4, "CANopen_ID=127;CANopen_Delay=999;CANopen_SDO_Client_TimeOut=x;CANopen_En_NodeGuard=1;"
        "CANopen_NG_Time_Send_Frames=x", kOk},
    {4, "CANopen_Net_Operational=1;CANopen_Delay=256", "Error CANopen!! Delay must be between 0 and 255 seconds"},
    {4, "CANopen_En_SDO_Client=1;CANopen_SDO_Client_TimeOut=1000001",
     "Error CANopen!! TimeOut SDO must be between 0 and 1000000"},
    {4, "CANopen_NG_Send_Frames=1;CANopen_En_NodeGuard=1;CANopen_NG_Time_Send_Frames=-2",
     "Error CANopen!! Send Frame Every must be between 0 and 1000000"},
    // 890
    {5, "", kOk},
    {5, "J1939_Device_ID=0", kOk},
    {5, "J1939_Device_ID=300;MODBUS_MASTER_STOPBITS=1;MODBUS_MASTER_PARITY=1",
     "Error J1939!! Device ID J1939 must be between 0 and 255"},
    {5, "MODBUS_MASTER_STOPBITS=1;MODBUS_MASTER_PARITY=1",
     "Error Modbus Master!! Two Stop Bits can be selected only if the Parity is NONE"},
    {5, "MODBUS_MASTER_STOPBITS=1;MODBUS_MASTER_PARITY=0", kOk},
    {5, "MODBUS_MASTER_STOPBITS=0;MODBUS_MASTER_PARITY=2", kOk},
    {5, "MODBUS_MASTER_STOPBITS=1;MODBUS_MASTER_PARITY=2;J1939_TIMEOUT=-1",
     "Error J1939!! TimeOut must be between 0 and 100000s"},
    {5, "MODBUS_MASTER_TimeOut=100001", "Error Modbus Master!! TimeOut must be between 0 and 100000ms"},
    {5, "MODBUS_MASTER_CyclicDelay=10001", "Error Modbus Master!! Cyclic Delay must be between 0 and 10000ms"},
    // 897 and 860
    {6, "", kOk},
    {6, "J1939_TIMEOUT=0x186A1", "Error J1939!! TimeOut must be between 0 and 100000s"},
    {6, "J1939_Device_ID=", "Error J1939!! Device ID J1939 must be between 0 and 239"},
    {10, "", kOk},
    {10, "ETHERNET_IP4=256", "Error Ethernet!! IP Address 4 must be between 0 and 255"},
    {10, "ETHERNET_EN_GAT=1;ETHERNET_GAT1=", "Error Ethernet!! GATEWAY IP 1 must be between 0 and 255"},
    // 872 checks nothing
    {7, "TimeOut_Data=;TO_ModReg=x;J1939_Device_ID=999;IP1=300;PORT=-1;Enable_GAT=1;GA1=", kOk},
    // 895
    {8, "", kOk},
    {8, "Can_TimeOut=100001", "Error J1939!! TimeOut must be between 0 and 100000s"},
    {8, "TimeOut_FECA=x", kOk},
    {8, "Filter_FECA=1;TimeOut_FECA=100001", "Error J1939!! Filter FECA Time must be between 0 and 100000s"},
    {8, "J1939_Device_ID=240", "Error J1939!! Device ID J1939 must be between 0 and 239"},
    {8, "Profi_ID=0", "Error PROFIBUS Slave!! ID Device must be between 1 and 125"},
    {8, "Profi_ID=126", "Error PROFIBUS Slave!! ID Device must be between 1 and 125"},
    {8, "Profi_ID=125", kOk},
    // 871
    {9, "", kOk},
    {9, "TimeOut_Data=300", "Error J1939!! TimeOut must be between 0 and 255 s"},
    {9, "Device_Type=1;TimeOut_Data=300", kOk},
    {9, "Device_Type=1;TimeOut_Data=100001", "Error J1939!! TimeOut must be between 0 and 100000 s"},
    {9, "TimeOut_FECA=1001", "Error J1939!! TimeOut for Filter FECA must be between 0 and 1000 ms"},
    {9, "Device_Type=1;TimeOut_FECA=1001", kOk},
    {9, "J1939_Device_ID=240", kOk},
    {9, "Device_Type=1;J1939_Device_ID=240", "Error J1939!! Device ID J1939 must be between 0 and 239"},
    {9, "IP1=256", "Error Ethernet!! IP Address 1 must be between 0 and 255"},
    {9, "SN2=x", "Error Ethernet!! SUBNET Mask 2 must be between 0 and 255"},
    {9, "Enable_GAT=1;GAT1=x", kOk},
    {9, "Device_Type=1;Enable_GAT=1;GAT1=x", "Error Ethernet!! GATEWAY IP 1 must be between 0 and 255"},
    {9, "PORT=65536", "Error Ethernet!! PORT must be between 0 and 65535"},
    {9, "PORT=10000", "Error Ethernet!! PORT must be different to 10000"},
    {9, "PORT=0x2710", "Error Ethernet!! PORT must be different to 10000"},
    // QTB900
    {1006, "", kOk},
    {1006, "CUSTOM_CAN_RX=0x7FF;CUSTOM_CAN_TX=0;CUSTOM_J1939_RX=0x1FFFFFFF;CUSTOM_CAN_TIMEOUT=1000000", kOk},
    {1006, "CUSTOM_CAN_RX=0x800", "Error Custom!! CAN RX CobID must be between 0 and 2047"},
    {1006, "CUSTOM_CAN_RX=0x20000005", kOk},
    {1006, "CUSTOM_CAN_RX=0x60000800", "Error Custom!! CAN RX CobID must be between 0 and 2047"},
    {1006, "CUSTOM_CAN_RX=abc", "Error Custom!! CAN RX must be a valid CobID"},
    {1006, "CUSTOM_CAN_RX=-1", "Error Custom!! CAN RX must be a valid CobID"},
    {1006, "CUSTOM_CAN_RX=0x80000001", "Error Custom!! CAN RX must be a valid CobID"},
    {1006, "CUSTOM_CAN_TX=", "Error Custom!! CAN TX must be a valid CobID"},
    {1006, "CUSTOM_CAN_TX=2048", "Error Custom!! CAN TX CobID must be between 0 and 2047"},
    {1006, "CUSTOM_J1939_RX=0x20000000",
     "Error Custom!! J1939 RX CobID must be between 0x00000000 and 0x1FFFFFFF"},
    {1006, "CUSTOM_J1939_TX1=-1", "Error Custom!! J1939 TX 1 CobID must be between 0x00000000 and 0x1FFFFFFF"},
    {1006, "CUSTOM_J1939_TX2=x", "Error Custom!! J1939 TX 2 CobID must be between 0x00000000 and 0x1FFFFFFF"},
    {1006, "CUSTOM_CAN_TIMEOUT=1000001", "Error Custom!! CAN TimeOut must be between 0 and 1000000 ms"},
    {1006, "CUSTOM_J1939_TIMEOUT=", "Error Custom!! J1939 TimeOut must be between 0 and 1000000 ms"},
};

TEST(ParGenChecks, FirstFailingFieldGivesItsText)
{
    Set_Default_Lang();
    for (const CheckCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "model " << c.Model << ": " << c.Values);
        TParGenMap values = ParGen_Defaults(c.Model);
        for (const QString& kv : QString::fromLatin1(c.Values).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const int eq = kv.indexOf(QLatin1Char('='));
            ASSERT_TRUE(values.contains(kv.left(eq))) << kv.toStdString();
            values[kv.left(eq)] = kv.mid(eq + 1);
        }
        const TParGenCheck r = Check_ParGen(c.Model, values);
        EXPECT_EQ(r.Ok, c.Expected == nullptr);
        EXPECT_EQ(r.Message.toStdString(), c.Expected ? c.Expected : "");
    }
}

TEST(ParGenChecks, FailureNamesTheKeyOfItsField)
{
    Set_Default_Lang();
    const struct {
        int Model;
        const char* Key;
        const char* Value;
    } cases[] = {
        {2, "MODBUS_TCP_MASTER_SM3", "x"},
        {2, "J1939_Device_ID", "300"},
        {5, "MODBUS_MASTER_CyclicDelay", "10001"},
        {1006, "CUSTOM_CAN_TX", "0x800"},
    };
    for (const auto& c : cases) {
        TParGenMap values = ParGen_Defaults(c.Model);
        values[c.Key] = c.Value;
        const TParGenCheck r = Check_ParGen(c.Model, values);
        EXPECT_FALSE(r.Ok) << c.Key;
        EXPECT_EQ(r.Key, c.Key);
    }
    EXPECT_TRUE(Check_ParGen(2, ParGen_Defaults(2)).Key.isEmpty());
}

TEST(ParGenChecks, MessagesFollowTheLanguage)
{
    Set_Default_Lang();
    Lang_Texts[58] = QStringLiteral("Zeitlimit falsch");
    TParGenMap values = ParGen_Defaults(2);
    values["J1939_TIMEOUT"] = "-1";
    EXPECT_EQ(Check_ParGen(2, values).Message, "Zeitlimit falsch");
    Set_Default_Lang();
}

}  // namespace
