#include "state/par_gen_checks.h"

#include "platform/core/sysutils.h"
#include "state/lang.h"

namespace {

class TChecker {
public:
    explicit TChecker(const TParGenMap& values) : FValues(values) {}

    TParGenCheck Result() const { return {!FFailed, FMessage, FKey}; }
    bool Failed() const { return FFailed; }

    int Num(const char* key) const { return StrToIntDef(FValues.value(QLatin1String(key)), -1); }
    bool On(const char* key) const { return FValues.value(QLatin1String(key)) == QLatin1String("1"); }

    void Fail(const QString& message, const char* key)
    {
        if (FFailed) return;
        FFailed = true;
        FMessage = message;
        FKey = QLatin1String(key);
    }
    void FailIf(bool condition, int textIndex, const char* key)
    {
        if (condition) Fail(LT(textIndex), key);
    }
    void Range(const char* key, int lo, int hi, int textIndex)
    {
        if (FFailed) return;
        const int v = Num(key);
        FailIf(v < lo || v > hi, textIndex, key);
    }
    // The gateway's own J1939 address: the image passes it on to the device as its source
    // address, a single byte.
    void Own_Address()
    {
        if (FFailed) return;
        const int v = Num("J1939_Device_ID");
        if (v < 0 || v > 255) Fail(QStringLiteral("Error J1939!! Device ID J1939 must be between 0 and 255"), "J1939_Device_ID");
    }
    // Four octets <prefix>1..<prefix>4, each 0..255, with consecutive message indices.
    void Octets(const char* prefix, int firstText)
    {
        for (int i = 1; i <= 4; ++i) Range((QByteArray(prefix) + QByteArray::number(i)).constData(), 0, 255, firstText + i - 1);
    }
    // Address, mask and (when enabled) gateway octets of one group: twelve messages in a run.
    void Address(const char* ip, const char* sm, const char* gat, bool gatewayOn, int firstText)
    {
        Octets(ip, firstText);
        Octets(sm, firstText + 4);
        if (gatewayOn) Octets(gat, firstText + 8);
    }

private:
    const TParGenMap& FValues;
    bool FFailed = false;
    QString FMessage;
    QString FKey;
};

void Check_891(TChecker& c)
{
    c.Range("J1939_TIMEOUT", 0, 100000, 58);
    c.Range("J1939_ModReg_TO", 0, 65535, 59);
    if (c.On("J1939_Remote_Request")) {
        c.Range("J1939_RTR_Pri_Dest", 0, 65535, 60);
        c.Range("J1939_RTR_PGN1", 0, 65535, 61);
        c.Range("J1939_RTR_PGN2", 0, 65535, 62);
        c.Range("J1939_RTR_SA", 0, 65535, 63);
        const int to = c.Num("J1939_ModReg_TO"), pd = c.Num("J1939_RTR_Pri_Dest"), p1 = c.Num("J1939_RTR_PGN1"),
                  p2 = c.Num("J1939_RTR_PGN2"), sa = c.Num("J1939_RTR_SA");
        c.FailIf(to == pd || to == p1 || to == p2 || to == sa, 64, "J1939_ModReg_TO");
        c.FailIf(pd == p1, 65, "J1939_RTR_Pri_Dest");
        c.FailIf(pd == p2, 66, "J1939_RTR_Pri_Dest");
        c.FailIf(pd == sa, 67, "J1939_RTR_Pri_Dest");
        c.FailIf(p1 == p2, 68, "J1939_RTR_PGN1");
        c.FailIf(p1 == sa, 69, "J1939_RTR_PGN1");
        c.FailIf(p2 == sa, 70, "J1939_RTR_PGN2");
    }
    c.Range("MODBUS_SLAVE_IDDEVICE", 1, 247, 71);
}

void Check_893(TChecker& c)
{
    c.Range("J1939_TIMEOUT", 0, 100000, 58);
    c.Range("J1939_ModReg_TO", 0, 65535, 59);
    c.Range("J1939_Device_ID", 0, 239, 370);
    c.Address("MODBUS_TCP_SLAVE_IP", "MODBUS_TCP_SLAVE_SM", "MODBUS_TCP_SLAVE_GAT", c.On("MODBUS_TCP_SLAVE_EN_GAT"), 213);
    c.Range("MODBUS_TCP_SLAVE_Port", 0, 65535, 225);
}

void Check_892(TChecker& c)
{
    c.Range("J1939_TIMEOUT", 0, 100000, 58);
    c.Own_Address();
    if (c.On("J1939_Stop_Send_Frames")) c.Range("J1939_SSF_Num_Fails", 2, 200, 826);
    c.Address("MODBUS_TCP_MASTER_IP", "MODBUS_TCP_MASTER_SM", "MODBUS_TCP_MASTER_GAT", c.On("MODBUS_TCP_MASTER_EN_GAT"),
              234);
    c.Range("MODBUS_TCP_MASTER_Port", 0, 65535, 246);
    c.Range("MODBUS_TCP_MASTER_TimeOut", 0, 100000, 247);
    c.Range("MODBUS_TCP_MASTER_CyclicDelay", 0, 10000, 248);
}

void Check_Ethernet(TChecker& c) { c.Address("ETHERNET_IP", "ETHERNET_SM", "ETHERNET_GAT", c.On("ETHERNET_EN_GAT"), 357); }

void Check_894(TChecker& c)
{
    c.Range("J1939_TIMEOUT", 0, 100000, 58);
    c.Range("J1939_Device_ID", 0, 239, 370);
    Check_Ethernet(c);
    c.Range("ETHERNET_Port", 0, 65535, 369);
}

void Check_896(TChecker& c)
{
    c.Range("J1939_TIMEOUT", 0, 100000, 58);
    c.Range("J1939_Device_ID", 0, 239, 370);
    c.Range("CANopen_ID", 1, 127, 371);
    if (c.On("CANopen_Net_Operational")) c.Range("CANopen_Delay", 0, 255, 372);
    if (c.On("CANopen_En_SDO_Client")) c.Range("CANopen_SDO_Client_TimeOut", 0, 1000000, 373);
    if (c.On("CANopen_En_NodeGuard") && c.On("CANopen_NG_Send_Frames"))
        c.Range("CANopen_NG_Time_Send_Frames", 0, 1000000, 374);
}

void Check_890(TChecker& c)
{
    c.Range("J1939_TIMEOUT", 0, 100000, 58);
    c.Own_Address();
    c.FailIf(c.Num("MODBUS_MASTER_STOPBITS") == 1 && c.Num("MODBUS_MASTER_PARITY") > 0, 706, "MODBUS_MASTER_STOPBITS");
    c.Range("MODBUS_MASTER_TimeOut", 0, 100000, 375);
    c.Range("MODBUS_MASTER_CyclicDelay", 0, 10000, 376);
}

void Check_897_860(TChecker& c, bool ethernet)
{
    c.Range("J1939_TIMEOUT", 0, 100000, 58);
    c.Range("J1939_Device_ID", 0, 239, 370);
    if (ethernet) Check_Ethernet(c);
}

void Check_895(TChecker& c)
{
    c.Range("Can_TimeOut", 0, 100000, 58);
    if (c.On("Filter_FECA")) c.Range("TimeOut_FECA", 0, 100000, 715);
    c.Range("J1939_Device_ID", 0, 239, 370);
    c.Range("Profi_ID", 1, 125, 716);
}

void Check_871(TChecker& c)
{
    const int deviceType = c.Num("Device_Type");
    if (deviceType == 0) {
        c.Range("TimeOut_Data", 0, 255, 761);
        c.Range("TimeOut_FECA", 0, 1000, 763);
    } else {
        c.Range("TimeOut_Data", 0, 100000, 762);
    }
    if (deviceType == 1) c.Range("J1939_Device_ID", 0, 239, 764);
    c.Address("IP", "SN", "GAT", deviceType == 1 && c.On("Enable_GAT"), 765);
    c.Range("PORT", 0, 65535, 777);
    c.FailIf(c.Num("PORT") == 10000, 778, "PORT");
}

void Check_QTB900(TChecker& c)
{
    // A standard identifier: refused when negative (bit 31 or no number), then only the
    // low 29 bits are compared with the 11-bit range.
    auto standardId = [&c](const char* key, const char* frame) {
        if (c.Failed()) return;
        const int v = c.Num(key);
        if (v < 0)
            c.Fail(QStringLiteral("Error Custom!! %1 must be a valid CobID").arg(QLatin1String(frame)), key);
        else if ((v & 0x1FFFFFFF) > 2047)
            c.Fail(QStringLiteral("Error Custom!! %1 CobID must be between 0 and 2047").arg(QLatin1String(frame)), key);
    };
    auto range = [&c](const char* key, int hi, const char* message) {
        if (c.Failed()) return;
        const int v = c.Num(key);
        if (v < 0 || v > hi) c.Fail(QLatin1String(message), key);
    };
    standardId("CUSTOM_CAN_RX", "CAN RX");
    standardId("CUSTOM_CAN_TX", "CAN TX");
    range("CUSTOM_J1939_RX", 0x1FFFFFFF, "Error Custom!! J1939 RX CobID must be between 0x00000000 and 0x1FFFFFFF");
    range("CUSTOM_J1939_TX1", 0x1FFFFFFF, "Error Custom!! J1939 TX 1 CobID must be between 0x00000000 and 0x1FFFFFFF");
    range("CUSTOM_J1939_TX2", 0x1FFFFFFF, "Error Custom!! J1939 TX 2 CobID must be between 0x00000000 and 0x1FFFFFFF");
    range("CUSTOM_CAN_TIMEOUT", 1000000, "Error Custom!! CAN TimeOut must be between 0 and 1000000 ms");
    range("CUSTOM_J1939_TIMEOUT", 1000000, "Error Custom!! J1939 TimeOut must be between 0 and 1000000 ms");
}

}  // namespace

TParGenCheck Check_ParGen(int modelCode, const TParGenMap& values)
{
    TChecker c(values);
    switch (modelCode) {
    case 0: Check_891(c); break;
    case 1: Check_893(c); break;
    case 2: Check_892(c); break;
    case 3: Check_894(c); break;
    case 4: Check_896(c); break;
    case 5: Check_890(c); break;
    case 6: Check_897_860(c, false); break;
    case 10: Check_897_860(c, true); break;
    case 7: break;  // 872 writes whatever is typed
    case 8: Check_895(c); break;
    case 9: Check_871(c); break;
    case 1006: Check_QTB900(c); break;
    default: break;
    }
    return c.Result();
}
