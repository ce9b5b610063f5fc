#include "state/par_gen.h"

#include "platform/core/file_io.h"
#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/core/xml.h"
#include "state/model_table.h"

#include <QSet>
#include <array>

namespace {

// One control of the parameters window with the kind and default its keys share.
struct TControlDef {
    const char* Control;
    TParKind Kind;
    const char* Default;
};

using K = TParKind;

constexpr TControlDef kControls[] = {
    {"CB_Baud_J1939", K::Index, "5"},
    {"E_TO_J1939", K::Text, "0"},
    {"E_J1939_ModReg_TO", K::Text, "0"},
    {"CB_En_Peer_J1939", K::Flag, "0"},
    {"CB_En_Remote_Req_J1939", K::Flag, "0"},
    {"E_J1939_RTR_Pri_Dest", K::Text, "0"},
    {"E_J1939_RTR_PGN1", K::Text, "0"},
    {"E_J1939_RTR_PGN2", K::Text, "0"},
    {"E_J1939_RTR_SA", K::Text, "0"},
    {"E_J1939_DevID", K::Text, "1"},
    {"CB_J1939_Send_DM1", K::Flag, "0"},
    {"CB_J1939_StopSendFrame", K::Flag, "0"},
    {"E_J1939_SSF_NumFails", K::Text, "1"},
    {"CB_J1939_FilterFECA", K::Flag, "0"},
    {"E_J1939_FilterFECA", K::Text, "0"},
    {"CB_J1939_SendFrame", K::Flag, "0"},
    {"E_J1939_SendFrame", K::Text, "100"},
    {"CB_Baud_Modbus_Slave", K::Index, "7"},
    {"CB_Par_Modbus_Slave", K::Index, "0"},
    {"E_ID_Modbus_Slave", K::Text, "10"},
    {"CB_ModTCPs_EN_GAT", K::Flag, "0"},
    {"E_PORT", K::Text, "502"},
    {"CB_ModTCPs_EnWriteOnReq", K::Flag, "0"},
    {"CB_ModTCPs_EnFunStatus", K::Flag, "0"},
    {"CB_ModTCPs_WriteModRegInRead", K::Flag, "0"},
    {"CB_MTCPM_EN_GAT", K::Flag, "0"},
    {"E_MTCPM_PORT", K::Text, "502"},
    {"E_TO_Modbus_TCP_Master", K::Text, "1000"},
    {"E_CD_Modbus_TCP_Master", K::Text, "100"},
    {"CB_ETH_EN_GAT", K::Flag, "0"},
    {"E_ETH_PORT", K::Text, "502"},
    {"CB_Ethernet_Protocol", K::Index, "1"},
    {"E_ID_CANopen", K::Text, "5"},
    {"CB_Baud_CANopen", K::Index, "8"},
    {"CB_Set_Ope_CANopen", K::Flag, "0"},
    {"CB_Net_Ope_CANopen", K::Flag, "0"},
    {"E_NO_Delay_CANopen", K::Text, "10"},
    {"CB_En_SDO_Client_CANopen", K::Flag, "0"},
    {"E_SDO_Client_TO_CANopen", K::Text, "10000"},
    {"CB_En_NodeGuard_CANopen", K::Flag, "0"},
    {"CB_NG_SendFrame_CANopen", K::Flag, "0"},
    {"E_NG_SF_Time_CANopen", K::Text, "1000"},
    {"CB_Baud_Modbus_Master", K::Index, "7"},
    {"CB_Par_Modbus_Master", K::Index, "0"},
    {"CB_StopBit_Modbus_Master", K::Index, "0"},
    {"E_TO_Modbus_Master", K::Text, "1000"},
    {"E_CD_Modbus_Master", K::Text, "100"},
    {"CAN_Baud", K::Index, "9"},
    {"CB_Select_Device", K::Index, "0"},
    {"E_ID_DEV_PROFI_Slave", K::Text, "10"},
    {"CB_Baud_PROFI_Slave", K::Constant, "0"},
    {"CB_PROFIS_Module_for_J1939", K::Flag, "0"},
    {"CB_PROFIS_Send_J1939_by_PROFIBUS", K::Flag, "0"},
    {"E_Custom_CAN_RX", K::Text, "0x5A2"},
    {"E_Custom_CAN_TX", K::Text, "0x4A0"},
    {"E_Custom_J1939_RX", K::Text, "0xCFFC400"},
    {"E_Custom_J1939_TX1", K::Text, "0xCFFB9C6"},
    {"E_Custom_J1939_TX2", K::Text, "0x18FFC7C6"},
    {"E_CAN_Timeout", K::Text, "1000"},
    {"E_J1939_Timeout", K::Text, "1000"},
};

const TControlDef& Control(const char* name)
{
    for (const TControlDef& c : kControls)
        if (qstrcmp(c.Control, name) == 0) return c;
    Q_UNREACHABLE();
}

// Builds a key set from "key:control" pairs; a third field overrides the default.
class TKeySetBuilder {
public:
    TKeySetBuilder& Add(const char* key, const char* control, const char* def = nullptr)
    {
        const TControlDef& c = Control(control);
        FKeys.append({QString::fromLatin1(key), QString::fromLatin1(control), c.Kind,
                      QString::fromLatin1(def ? def : c.Default)});
        return *this;
    }
    TKeySetBuilder& Constant(const char* key, const char* text)
    {
        FKeys.append({QString::fromLatin1(key), QString(), K::Constant, QString::fromLatin1(text)});
        return *this;
    }
    // IP, mask, gateway flag and gateway octets with their defaults.
    TKeySetBuilder& Address(const char* ip, const char* sm, const char* enGat, const char* gat,
                            const char* ctlPrefix, const char* enGatControl)
    {
        static const char* const ipDef[] = {"192", "168", "0", "10"};
        static const char* const smDef[] = {"255", "255", "255", "0"};
        static const char* const gatDef[] = {"192", "168", "0", "1"};
        const QByteArray p(ctlPrefix);
        RunWithDefaults(ip, p + "IP", ipDef);
        RunWithDefaults(sm, p + "SM", smDef);
        Add(enGat, enGatControl);
        RunWithDefaults(gat, p + "GAT", gatDef);
        return *this;
    }
    QList<TParKey> Keys() const { return FKeys; }

private:
    void RunWithDefaults(const char* keyPrefix, const QByteArray& controlPrefix, const char* const defs[4])
    {
        for (int i = 1; i <= 4; ++i) {
            const QByteArray key = QByteArray(keyPrefix) + QByteArray::number(i);
            const QByteArray ctl = controlPrefix + QByteArray::number(i);
            FKeys.append({QString::fromLatin1(key), QString::fromLatin1(ctl), K::Text, QString::fromLatin1(defs[i - 1])});
        }
    }
    QList<TParKey> FKeys;
};

TKeySetBuilder J1939Head(bool modRegTimeout)
{
    TKeySetBuilder b;
    b.Add("J1939_BAUDRATE", "CB_Baud_J1939").Add("J1939_TIMEOUT", "E_TO_J1939");
    if (modRegTimeout) b.Add("J1939_ModReg_TO", "E_J1939_ModReg_TO");
    b.Add("J1939_PEER_TO_PEER", "CB_En_Peer_J1939");
    return b;
}

QList<TParKey> BuildKeys(int modelCode)
{
    TKeySetBuilder b;
    switch (modelCode) {
    case 0:  // 891
        b = J1939Head(true);
        b.Add("J1939_Remote_Request", "CB_En_Remote_Req_J1939")
            .Add("J1939_RTR_Pri_Dest", "E_J1939_RTR_Pri_Dest")
            .Add("J1939_RTR_PGN1", "E_J1939_RTR_PGN1")
            .Add("J1939_RTR_PGN2", "E_J1939_RTR_PGN2")
            .Add("J1939_RTR_SA", "E_J1939_RTR_SA")
            .Add("MODBUS_SLAVE_BAUDRATE", "CB_Baud_Modbus_Slave")
            .Add("MODBUS_SLAVE_PARITY", "CB_Par_Modbus_Slave")
            .Add("MODBUS_SLAVE_IDDEVICE", "E_ID_Modbus_Slave");
        break;
    case 1:  // 893
        b = J1939Head(true);
        b.Add("J1939_Device_ID", "E_J1939_DevID")
            .Address("MODBUS_TCP_SLAVE_IP", "MODBUS_TCP_SLAVE_SM", "MODBUS_TCP_SLAVE_EN_GAT", "MODBUS_TCP_SLAVE_GAT", "E_",
                     "CB_ModTCPs_EN_GAT")
            .Add("MODBUS_TCP_SLAVE_Port", "E_PORT");
        break;
    case 2:  // 892
        b = J1939Head(false);
        b.Add("J1939_Device_ID", "E_J1939_DevID")
            .Add("J1939_Send_DM1", "CB_J1939_Send_DM1")
            .Add("J1939_Stop_Send_Frames", "CB_J1939_StopSendFrame")
            .Add("J1939_SSF_Num_Fails", "E_J1939_SSF_NumFails")
            .Address("MODBUS_TCP_MASTER_IP", "MODBUS_TCP_MASTER_SM", "MODBUS_TCP_MASTER_EN_GAT", "MODBUS_TCP_MASTER_GAT",
                     "E_MTCPM_", "CB_MTCPM_EN_GAT")
            .Add("MODBUS_TCP_MASTER_Port", "E_MTCPM_PORT")
            .Add("MODBUS_TCP_MASTER_TimeOut", "E_TO_Modbus_TCP_Master")
            .Add("MODBUS_TCP_MASTER_CyclicDelay", "E_CD_Modbus_TCP_Master");
        break;
    case 3:  // 894
        b = J1939Head(false);
        b.Add("J1939_Device_ID", "E_J1939_DevID")
            .Address("ETHERNET_IP", "ETHERNET_SM", "ETHERNET_EN_GAT", "ETHERNET_GAT", "E_ETH_", "CB_ETH_EN_GAT")
            .Add("ETHERNET_Port", "E_ETH_PORT");
        break;
    case 4:  // 896
        b = J1939Head(false);
        b.Add("J1939_Device_ID", "E_J1939_DevID")
            .Add("CANopen_ID", "E_ID_CANopen")
            .Add("CANopen_Baud", "CB_Baud_CANopen")
            .Add("CANopen_Set_Operational", "CB_Set_Ope_CANopen")
            .Add("CANopen_Net_Operational", "CB_Net_Ope_CANopen")
            .Add("CANopen_Delay", "E_NO_Delay_CANopen")
            .Add("CANopen_En_SDO_Client", "CB_En_SDO_Client_CANopen")
            .Add("CANopen_SDO_Client_TimeOut", "E_SDO_Client_TO_CANopen")
            .Add("CANopen_En_NodeGuard", "CB_En_NodeGuard_CANopen")
            .Add("CANopen_NG_Send_Frames", "CB_NG_SendFrame_CANopen")
            .Add("CANopen_NG_Time_Send_Frames", "E_NG_SF_Time_CANopen");
        break;
    case 5:  // 890
        b = J1939Head(false);
        b.Add("J1939_Device_ID", "E_J1939_DevID")
            .Add("MODBUS_MASTER_BAUDRATE", "CB_Baud_Modbus_Master")
            .Add("MODBUS_MASTER_PARITY", "CB_Par_Modbus_Master")
            .Add("MODBUS_MASTER_STOPBITS", "CB_StopBit_Modbus_Master")
            .Add("MODBUS_MASTER_TimeOut", "E_TO_Modbus_Master")
            .Add("MODBUS_MASTER_CyclicDelay", "E_CD_Modbus_Master");
        break;
    case 6:   // 897
    case 10:  // 860
        b = J1939Head(false);
        b.Add("J1939_Device_ID", "E_J1939_DevID").Add("CAN_Baudrate", "CAN_Baud");
        if (modelCode == 10)
            b.Address("ETHERNET_IP", "ETHERNET_SM", "ETHERNET_EN_GAT", "ETHERNET_GAT", "E_ETH_", "CB_ETH_EN_GAT");
        break;
    case 7:  // 872
        b.Add("Device_Type", "CB_Select_Device")
            .Add("BaudRateCAN", "CB_Baud_J1939")
            .Constant("CANType", "1")
            .Add("TimeOut_Data", "E_TO_J1939")
            .Add("TO_ModReg", "E_J1939_ModReg_TO")
            .Add("Peer_to_Peer", "CB_En_Peer_J1939")
            .Add("Filter_FECA", "CB_J1939_FilterFECA")
            .Add("TimeOut_FECA", "E_J1939_FilterFECA")
            .Add("En_Rem_Req", "CB_En_Remote_Req_J1939")
            .Add("Pri_Des", "E_J1939_RTR_Pri_Dest")
            .Add("PGN1", "E_J1939_RTR_PGN1")
            .Add("PGN2", "E_J1939_RTR_PGN2")
            .Add("SA", "E_J1939_RTR_SA")
            .Add("Enable_SFE", "CB_J1939_SendFrame")
            .Add("Deley_FE", "E_J1939_SendFrame")
            .Add("J1939_Device_ID", "E_J1939_DevID")
            .Address("IP", "SN", "Enable_GAT", "GA", "E_", "CB_ModTCPs_EN_GAT")
            .Add("PORT", "E_PORT")
            .Add("Write_J1939", "CB_ModTCPs_EnWriteOnReq")
            .Add("Enable_FUN", "CB_ModTCPs_EnFunStatus")
            .Add("WMR_in_Read", "CB_ModTCPs_WriteModRegInRead");
        break;
    case 8:  // 895
        b.Add("Can_Baud", "CB_Baud_J1939")
            .Add("Can_TimeOut", "E_TO_J1939")
            .Add("Can_Peer", "CB_En_Peer_J1939")
            .Add("Filter_FECA", "CB_J1939_FilterFECA")
            .Add("TimeOut_FECA", "E_J1939_FilterFECA")
            .Add("J1939_Device_ID", "E_J1939_DevID")
            .Add("Profi_ID", "E_ID_DEV_PROFI_Slave")
            .Add("Profi_Baud", "CB_Baud_PROFI_Slave")
            .Add("Profi_Module", "CB_PROFIS_Module_for_J1939")
            .Add("Profi_Send_J1939", "CB_PROFIS_Send_J1939_by_PROFIBUS");
        break;
    case 9:  // 871
        b.Add("Device_Type", "CB_Select_Device")
            .Add("BaudRateCAN", "CB_Baud_J1939")
            .Constant("CANType", "1")
            .Add("TimeOut_Data", "E_TO_J1939")
            .Add("Peer_to_Peer", "CB_En_Peer_J1939")
            .Add("Filter_FECA", "CB_J1939_FilterFECA")
            .Add("TimeOut_FECA", "E_J1939_FilterFECA", "50")
            .Add("J1939_Device_ID", "E_J1939_DevID")
            .Address("IP", "SN", "Enable_GAT", "GAT", "E_ETH_", "CB_ETH_EN_GAT")
            .Add("PORT", "E_ETH_PORT")
            .Add("Protocol", "CB_Ethernet_Protocol");
        break;
    case 1006:  // QTB900
        b.Add("J1939_BAUDRATE", "CB_Baud_J1939")
            .Add("CAN_Baudrate", "CAN_Baud")
            .Add("CUSTOM_CAN_RX", "E_Custom_CAN_RX")
            .Add("CUSTOM_CAN_TX", "E_Custom_CAN_TX")
            .Add("CUSTOM_J1939_RX", "E_Custom_J1939_RX")
            .Add("CUSTOM_J1939_TX1", "E_Custom_J1939_TX1")
            .Add("CUSTOM_J1939_TX2", "E_Custom_J1939_TX2")
            .Add("CUSTOM_CAN_TIMEOUT", "E_CAN_Timeout")
            .Add("CUSTOM_J1939_TIMEOUT", "E_J1939_Timeout");
        break;
    default:
        break;
    }
    return b.Keys();
}

// The value a key takes from an element's text, or its default when the element is absent.
QString ValueOf(const TParKey& k, const QString* text)
{
    switch (k.Kind) {
    case K::Constant: return k.Default;
    case K::Flag: return text ? (*text == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0")) : k.Default;
    case K::Index: {
        int32_t v = 0;
        return text && TryStrToInt(*text, v) ? IntToStr(v) : k.Default;
    }
    case K::Text: break;
    }
    return text ? *text : k.Default;
}

}  // namespace

const QList<TParKey>& ParGen_Keys(int modelCode)
{
    static const std::array<QList<TParKey>, Model_Count> sets = [] {
        std::array<QList<TParKey>, Model_Count> a;
        for (int i = 0; i < Model_Count; ++i) a[i] = BuildKeys(Model_Codes[i]);
        return a;
    }();
    static const QList<TParKey> none;
    const int i = Model_Index(modelCode);
    return i < 0 ? none : sets[i];
}

const TParKey* ParGen_Key(int modelCode, const QString& name)
{
    for (const TParKey& k : ParGen_Keys(modelCode))
        if (k.Name == name) return &k;
    return nullptr;
}

QString ParGen_Version_Comment(int modelCode)
{
    return QStringLiteral("SW_VERSION = ") + QString::fromUtf16(Model_Info(modelCode).Version);
}

TParGenMap ParGen_Defaults(int modelCode)
{
    TParGenMap m;
    for (const TParKey& k : ParGen_Keys(modelCode)) m.insert(k.Name, k.Default);
    return m;
}

TParGenRead Read_ParGen_Elements(const QString& path, TParGenMap& elements, QString* errorText)
{
    elements.clear();
    if (!FileExists(path)) return TParGenRead::Missing;
    QByteArray data;
    pugi::xml_document doc;
    // Blank-only texts are kept so that a value reads back exactly as it was typed.
    const unsigned options = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi |
                             pugi::parse_ws_pcdata_single;
    const pugi::xml_parse_result r =
        ReadWholeFile(path, data) ? doc.load_buffer(data.constData(), data.size(), options) : pugi::xml_parse_result();
    if (!r) {
        if (errorText)
            *errorText = QStringLiteral("\"%1\" is not a valid XML document: %2").arg(path, QString::fromUtf8(r.description()));
        return TParGenRead::Damaged;
    }
    // the first element of a name is the one read; when it holds child elements it has no
    // value, and a later element of that name does not stand in for it
    QSet<QString> seen;
    for (pugi::xml_node c = XmlRoot(doc).first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        const QString name = QString::fromUtf8(c.name());
        if (seen.contains(name)) continue;
        seen.insert(name);
        QString text;
        if (XmlTryText(c, text)) elements.insert(name, text);
    }
    return TParGenRead::Loaded;
}

TParGenRead Read_ParGen(const QString& path, int modelCode, TParGenMap& values, QString* errorText)
{
    TParGenMap found;
    const TParGenRead r = Read_ParGen_Elements(path, found, errorText);
    values.clear();
    for (const TParKey& k : ParGen_Keys(modelCode)) {
        const auto it = found.constFind(k.Name);
        values.insert(k.Name, ValueOf(k, it == found.constEnd() ? nullptr : &*it));
    }
    return r;
}

QByteArray ParGen_Document(int modelCode, const TParGenMap& values)
{
    pugi::xml_document doc;
    pugi::xml_node root = XmlAddChild(doc, "Par_Gen");
    XmlAddComment(doc, ParGen_Version_Comment(modelCode));
    for (const TParKey& k : ParGen_Keys(modelCode)) {
        QString v = k.Kind == K::Constant ? k.Default : values.value(k.Name, k.Default);
        if (k.Kind == K::Flag) v = v == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
        XmlAddTextChild(root, ToUtf8(k.Name).c_str(), v);
    }
    return XmlToBytes(doc);
}

void Write_ParGen(const QString& path, int modelCode, const TParGenMap& values)
{
    SaveFileAtomic(path, ParGen_Document(modelCode, values));
}
