// The communication parameters document: key sets, defaults, reading rules and writing.
#include "platform/core/exception.h"
#include "platform/core/xml.h"
#include "state/model_table.h"
#include "state/par_gen.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace {

struct KeySetCase {
    int Model;
    const char* Version;
    // key=default pairs in document order
    const char* Keys;
};

// Transcribed from the model key sets and the key dictionary.
const KeySetCase kKeySets[] = {
    {0, "1.101",
     "J1939_BAUDRATE=5;J1939_TIMEOUT=0;J1939_ModReg_TO=0;J1939_PEER_TO_PEER=0;J1939_Remote_Request=0;"
     "J1939_RTR_Pri_Dest=0;J1939_RTR_PGN1=0;J1939_RTR_PGN2=0;J1939_RTR_SA=0;MODBUS_SLAVE_BAUDRATE=7;"
     "MODBUS_SLAVE_PARITY=0;MODBUS_SLAVE_IDDEVICE=10"},
    {1, "1.001",
     "J1939_BAUDRATE=5;J1939_TIMEOUT=0;J1939_ModReg_TO=0;J1939_PEER_TO_PEER=0;J1939_Device_ID=1;"
     "MODBUS_TCP_SLAVE_IP1=192;MODBUS_TCP_SLAVE_IP2=168;MODBUS_TCP_SLAVE_IP3=0;MODBUS_TCP_SLAVE_IP4=10;"
     "MODBUS_TCP_SLAVE_SM1=255;MODBUS_TCP_SLAVE_SM2=255;MODBUS_TCP_SLAVE_SM3=255;MODBUS_TCP_SLAVE_SM4=0;"
     "MODBUS_TCP_SLAVE_EN_GAT=0;MODBUS_TCP_SLAVE_GAT1=192;MODBUS_TCP_SLAVE_GAT2=168;MODBUS_TCP_SLAVE_GAT3=0;"
     "MODBUS_TCP_SLAVE_GAT4=1;MODBUS_TCP_SLAVE_Port=502"},
    {2, "1.205",
     "J1939_BAUDRATE=5;J1939_TIMEOUT=0;J1939_PEER_TO_PEER=0;J1939_Device_ID=1;J1939_Send_DM1=0;"
     "J1939_Stop_Send_Frames=0;J1939_SSF_Num_Fails=1;MODBUS_TCP_MASTER_IP1=192;MODBUS_TCP_MASTER_IP2=168;"
     "MODBUS_TCP_MASTER_IP3=0;MODBUS_TCP_MASTER_IP4=10;MODBUS_TCP_MASTER_SM1=255;MODBUS_TCP_MASTER_SM2=255;"
     "MODBUS_TCP_MASTER_SM3=255;MODBUS_TCP_MASTER_SM4=0;MODBUS_TCP_MASTER_EN_GAT=0;MODBUS_TCP_MASTER_GAT1=192;"
     "MODBUS_TCP_MASTER_GAT2=168;MODBUS_TCP_MASTER_GAT3=0;MODBUS_TCP_MASTER_GAT4=1;MODBUS_TCP_MASTER_Port=502;"
     "MODBUS_TCP_MASTER_TimeOut=1000;MODBUS_TCP_MASTER_CyclicDelay=100"},
    {3, "1.100",
     "J1939_BAUDRATE=5;J1939_TIMEOUT=0;J1939_PEER_TO_PEER=0;J1939_Device_ID=1;ETHERNET_IP1=192;ETHERNET_IP2=168;"
     "ETHERNET_IP3=0;ETHERNET_IP4=10;ETHERNET_SM1=255;ETHERNET_SM2=255;ETHERNET_SM3=255;ETHERNET_SM4=0;"
     "ETHERNET_EN_GAT=0;ETHERNET_GAT1=192;ETHERNET_GAT2=168;ETHERNET_GAT3=0;ETHERNET_GAT4=1;ETHERNET_Port=502"},
    {4, "1.100",
     "J1939_BAUDRATE=5;J1939_TIMEOUT=0;J1939_PEER_TO_PEER=0;J1939_Device_ID=1;CANopen_ID=5;CANopen_Baud=8;"
     "CANopen_Set_Operational=0;CANopen_Net_Operational=0;CANopen_Delay=10;CANopen_En_SDO_Client=0;"
     "CANopen_SDO_Client_TimeOut=10000;CANopen_En_NodeGuard=0;CANopen_NG_Send_Frames=0;"
     "CANopen_NG_Time_Send_Frames=1000"},
    {5, "1.402",
     "J1939_BAUDRATE=5;J1939_TIMEOUT=0;J1939_PEER_TO_PEER=0;J1939_Device_ID=1;MODBUS_MASTER_BAUDRATE=7;"
     "MODBUS_MASTER_PARITY=0;MODBUS_MASTER_STOPBITS=0;MODBUS_MASTER_TimeOut=1000;MODBUS_MASTER_CyclicDelay=100"},
    {6, "1.102", "J1939_BAUDRATE=5;J1939_TIMEOUT=0;J1939_PEER_TO_PEER=0;J1939_Device_ID=1;CAN_Baudrate=9"},
    {7, "3.300",
     "Device_Type=0;BaudRateCAN=5;CANType=1;TimeOut_Data=0;TO_ModReg=0;Peer_to_Peer=0;Filter_FECA=0;TimeOut_FECA=0;"
     "En_Rem_Req=0;Pri_Des=0;PGN1=0;PGN2=0;SA=0;Enable_SFE=0;Deley_FE=100;J1939_Device_ID=1;IP1=192;IP2=168;IP3=0;"
     "IP4=10;SN1=255;SN2=255;SN3=255;SN4=0;Enable_GAT=0;GA1=192;GA2=168;GA3=0;GA4=1;PORT=502;Write_J1939=0;"
     "Enable_FUN=0;WMR_in_Read=0"},
    {8, "1.000",
     "Can_Baud=5;Can_TimeOut=0;Can_Peer=0;Filter_FECA=0;TimeOut_FECA=0;J1939_Device_ID=1;Profi_ID=10;Profi_Baud=0;"
     "Profi_Module=0;Profi_Send_J1939=0"},
    {9, "2.001",
     "Device_Type=0;BaudRateCAN=5;CANType=1;TimeOut_Data=0;Peer_to_Peer=0;Filter_FECA=0;TimeOut_FECA=50;"
     "J1939_Device_ID=1;IP1=192;IP2=168;IP3=0;IP4=10;SN1=255;SN2=255;SN3=255;SN4=0;Enable_GAT=0;GAT1=192;GAT2=168;"
     "GAT3=0;GAT4=1;PORT=502;Protocol=1"},
    {10, "1.002",
     "J1939_BAUDRATE=5;J1939_TIMEOUT=0;J1939_PEER_TO_PEER=0;J1939_Device_ID=1;CAN_Baudrate=9;ETHERNET_IP1=192;"
     "ETHERNET_IP2=168;ETHERNET_IP3=0;ETHERNET_IP4=10;ETHERNET_SM1=255;ETHERNET_SM2=255;ETHERNET_SM3=255;"
     "ETHERNET_SM4=0;ETHERNET_EN_GAT=0;ETHERNET_GAT1=192;ETHERNET_GAT2=168;ETHERNET_GAT3=0;ETHERNET_GAT4=1"},
    {1006, "1.100",
     "J1939_BAUDRATE=5;CAN_Baudrate=9;CUSTOM_CAN_RX=0x5A2;CUSTOM_CAN_TX=0x4A0;CUSTOM_J1939_RX=0xCFFC400;"
     "CUSTOM_J1939_TX1=0xCFFB9C6;CUSTOM_J1939_TX2=0x18FFC7C6;CUSTOM_CAN_TIMEOUT=1000;CUSTOM_J1939_TIMEOUT=1000"},
};

// The top-level nodes and the root's children of a document as "name=text" lines.
QStringList Describe(const QByteArray& bytes)
{
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_buffer(bytes.constData(), bytes.size(), pugi::parse_default | pugi::parse_comments |
                                                                       pugi::parse_declaration | pugi::parse_pi));
    QStringList out;
    for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_comment) {
            out << QStringLiteral("<!--%1-->").arg(QString::fromUtf8(n.value()));
            continue;
        }
        out << QStringLiteral("<%1>").arg(QString::fromUtf8(n.name()));
        for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
            EXPECT_FALSE(c.first_attribute()) << c.name();
            out << QStringLiteral("%1=%2").arg(QString::fromUtf8(c.name()), QString::fromUtf8(c.text().get()));
        }
    }
    return out;
}

class ParGenDoc : public ::testing::Test {
protected:
    TempExeDir Dir;
    QString Path() const { return Dir.File(QStringLiteral("ParGen.xml")); }
};

TEST_F(ParGenDoc, DefaultsOfEveryModelAreWrittenAsItsKeySetInOrder)
{
    for (const KeySetCase& c : kKeySets) {
        SCOPED_TRACE(c.Model);
        TParGenMap values;
        EXPECT_EQ(Read_ParGen(Path(), c.Model, values), TParGenRead::Missing);
        QStringList expected{QStringLiteral("<Par_Gen>")};
        for (const QString& kv : QString::fromLatin1(c.Keys).split(QLatin1Char(';'))) expected << kv;
        expected << QStringLiteral("<!--SW_VERSION = %1-->").arg(QLatin1String(c.Version));
        const QByteArray doc = ParGen_Document(c.Model, values);
        EXPECT_EQ(Describe(doc), expected);
        EXPECT_TRUE(doc.startsWith("<Par_Gen>")) << "nothing may stand before the root";

        // An existing document without any of the keys gives the same values.
        Dir.Write(QStringLiteral("ParGen.xml"), "<Par_Gen><Other>7</Other></Par_Gen>");
        TParGenMap fromEmpty;
        EXPECT_EQ(Read_ParGen(Path(), c.Model, fromEmpty), TParGenRead::Loaded);
        EXPECT_EQ(fromEmpty, values);
        QFile::remove(Path());
    }
}

TEST_F(ParGenDoc, ReadingTakesEachKeyOnItsOwn)
{
    Dir.Write(QStringLiteral("ParGen.xml"),
              "<Par_Gen>"
              "<J1939_BAUDRATE>fast</J1939_BAUDRATE>"
              "<J1939_TIMEOUT> 12 </J1939_TIMEOUT>"
              "<J1939_TIMEOUT>99</J1939_TIMEOUT>"
              "<J1939_PEER_TO_PEER>true</J1939_PEER_TO_PEER>"
              "<J1939_Remote_Request>1</J1939_Remote_Request>"
              "<J1939_RTR_PGN1><x>5</x></J1939_RTR_PGN1>"
              "<J1939_RTR_PGN1>7</J1939_RTR_PGN1>"
              "<MODBUS_SLAVE_BAUDRATE>9</MODBUS_SLAVE_BAUDRATE>"
              "<MODBUS_SLAVE_PARITY> 2</MODBUS_SLAVE_PARITY>"
              "<MODBUS_SLAVE_IDDEVICE></MODBUS_SLAVE_IDDEVICE>"
              "<j1939_modreg_to>4</j1939_modreg_to>"
              "<CANopen_ID>3</CANopen_ID>"
              "</Par_Gen><!--SW_VERSION = 1.101-->");
    ScopedModelCode model(0);
    TParGenMap v;
    ASSERT_EQ(Read_ParGen(Path(), 0, v), TParGenRead::Loaded);
    EXPECT_EQ(v.size(), 12);
    EXPECT_EQ(v["J1939_BAUDRATE"], "5");           // not a number: default index
    EXPECT_EQ(v["J1939_TIMEOUT"], " 12 ");         // first element, text unchanged
    EXPECT_EQ(v["J1939_PEER_TO_PEER"], "0");       // only "1" checks
    EXPECT_EQ(v["J1939_Remote_Request"], "1");
    EXPECT_EQ(v["J1939_RTR_PGN1"], "0");           // first element not a text: default, not the later one
    EXPECT_EQ(v["MODBUS_SLAVE_BAUDRATE"], "9");    // applied without a range check
    EXPECT_EQ(v["MODBUS_SLAVE_PARITY"], "2");
    EXPECT_EQ(v["MODBUS_SLAVE_IDDEVICE"], "");     // present but empty stays empty
    EXPECT_EQ(v["J1939_ModReg_TO"], "0");          // names are case-sensitive
    EXPECT_FALSE(v.contains("CANopen_ID"));        // other models' keys are ignored
}

TEST_F(ParGenDoc, RootIsTheFirstNodeWhateverItIs)
{
    Dir.Write(QStringLiteral("ParGen.xml"), "<!--note--><Par_Gen><J1939_TIMEOUT>7</J1939_TIMEOUT></Par_Gen>");
    TParGenMap v;
    EXPECT_EQ(Read_ParGen(Path(), 2, v), TParGenRead::Loaded);
    EXPECT_EQ(v, ParGen_Defaults(2));

    Dir.Write(QStringLiteral("ParGen.xml"), "<Other><J1939_TIMEOUT>7</J1939_TIMEOUT></Other>");
    EXPECT_EQ(Read_ParGen(Path(), 2, v), TParGenRead::Loaded);
    EXPECT_EQ(v["J1939_TIMEOUT"], "7");
}

TEST_F(ParGenDoc, AnotherModelsDocumentGivesDefaults)
{
    TParGenMap v891 = ParGen_Defaults(0);
    v891["J1939_BAUDRATE"] = "3";
    v891["J1939_TIMEOUT"] = "44";
    Write_ParGen(Path(), 0, v891);
    TParGenMap v;
    EXPECT_EQ(Read_ParGen(Path(), 8, v), TParGenRead::Loaded);
    EXPECT_EQ(v, ParGen_Defaults(8));
}

TEST_F(ParGenDoc, ConstantsAreWrittenWhateverTheyHeld)
{
    Dir.Write(QStringLiteral("ParGen.xml"), "<Par_Gen><Profi_Baud>3</Profi_Baud><Profi_ID>77</Profi_ID></Par_Gen>");
    TParGenMap v;
    Read_ParGen(Path(), 8, v);
    EXPECT_EQ(v["Profi_Baud"], "0");
    EXPECT_EQ(v["Profi_ID"], "77");
    v["Profi_Baud"] = "2";
    EXPECT_TRUE(Describe(ParGen_Document(8, v)).contains("Profi_Baud=0"));
    for (int model : {7, 9}) {
        TParGenMap m = ParGen_Defaults(model);
        m["CANType"] = "0";
        EXPECT_TRUE(Describe(ParGen_Document(model, m)).contains("CANType=1")) << model;
    }
}

TEST_F(ParGenDoc, SaveThenLoadGivesBackEveryValueAsTyped)
{
    for (int model : Model_Codes) {
        SCOPED_TRACE(model);
        // Distinct values of every kind: odd texts (blanks, hexadecimal, empty, markup
        // characters), flags set, list positions off their defaults.
        TParGenMap typed;
        int i = 0;
        for (const TParKey& k : ParGen_Keys(model)) {
            ++i;
            switch (k.Kind) {
            case TParKind::Text: {
                static const char* const texts[] = {" 12", "0x1F", "", "a<b&c", "  ", "-7", "300"};
                typed[k.Name] = QString::fromLatin1(texts[i % 7]);
                break;
            }
            case TParKind::Index: typed[k.Name] = QString::number(i % 3); break;
            case TParKind::Flag: typed[k.Name] = QStringLiteral("1"); break;
            case TParKind::Constant: typed[k.Name] = k.Default; break;
            }
        }
        Write_ParGen(Path(), model, typed);
        TParGenMap back;
        ASSERT_EQ(Read_ParGen(Path(), model, back), TParGenRead::Loaded);
        EXPECT_EQ(back, typed);
        const QByteArray bytes = Dir.Read(QStringLiteral("ParGen.xml"));
        EXPECT_TRUE(bytes.trimmed().endsWith("-->"));
    }
}

TEST_F(ParGenDoc, DamagedDocumentIsReportedAndNotTakenForDefaults)
{
    Dir.Write(QStringLiteral("ParGen.xml"), "<Par_Gen><J1939_TIMEOUT>5</J1939_TIM");
    TParGenMap v;
    QString error;
    EXPECT_EQ(Read_ParGen(Path(), 2, v, &error), TParGenRead::Damaged);
    EXPECT_TRUE(error.contains(Path())) << error.toStdString();
    EXPECT_EQ(Dir.Read(QStringLiteral("ParGen.xml")), "<Par_Gen><J1939_TIMEOUT>5</J1939_TIM");
}

TEST_F(ParGenDoc, FailedWriteThrowsAndLeavesNothing)
{
    const QString path = Dir.File(QStringLiteral("gone/ParGen.xml"));
    EXPECT_THROW(Write_ParGen(path, 2, ParGen_Defaults(2)), EInOutError);
    EXPECT_FALSE(QFileInfo::exists(path));
}

}  // namespace
