#include "generate/eds_writer.h"

#include "generate/gen_document.h"
#include "platform/core/exception.h"
#include "platform/core/file_io.h"
#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "state/shared_state.h"

#include <QStringList>

PDO_Def RPDO_Defs[Max_PDO];
PDO_Def TPDO_Defs[Max_PDO];
int32_t Num_RPDO = 0;
int32_t Num_TPDO = 0;
std::vector<SDO_Index> SDO_Index_List;

namespace {

void Read_PDO_File(const QString& path, PDO_Def* defs, int32_t& count)
{
    count = 0;
    TGenDocument doc;
    if (!doc.Load(path)) return;
    // the object dictionary has room for ten PDOs of each kind; a longer table cannot be described
    if (doc.Row_Count() > Max_PDO) Refuse_Row(doc, Max_PDO, QStringLiteral("at most %1 PDOs can be defined.").arg(Max_PDO));
    for (int i = 0; i < doc.Row_Count(); ++i) {
        const TGenRow row = doc.Row(i);
        PDO_Def& d = defs[count];
        d.COB_ID = uint16_t(row.Int_Def("COB-ID", 0x201));
        const uint8_t dim = uint8_t(row.Int_Def("Dimension", 8));
        d.Dimension = dim > 8 ? 8 : dim;
        ++count;
    }
}

void Read_SDO_File(const QString& path, bool readonly)
{
    TGenDocument doc;
    if (!doc.Load(path)) return;
    for (int r = 0; r < doc.Row_Count(); ++r) {
        const TGenRow row = doc.Row(r);
        const int32_t index = row.Strict("Index");
        const int32_t sub = row.Strict("SubIndex");
        const int32_t dim = row.Strict("Dimension");
        // server SDOs live in the manufacturer area; anything else would clash with the
        // communication and PDO objects of the same file
        if (index < SDO_Index_Min || index > SDO_Index_Max)
            Refuse_Row(doc, r, QStringLiteral("the index 0x%1 lies outside 0x%2 to 0x%3.")
                                   .arg(IntToHex(index, 4), IntToHex(SDO_Index_Min, 4), IntToHex(SDO_Index_Max, 4)));
        if (sub < SDO_SubIndex_Min || sub > SDO_SubIndex_Max)
            Refuse_Row(doc, r, QStringLiteral("the sub-index %1 lies outside %2 to %3.").arg(sub).arg(SDO_SubIndex_Min).arg(SDO_SubIndex_Max));
        SDO_Sub_Type entry;
        entry.Sub = uint8_t(sub);
        entry.Quantity = uint8_t(dim);
        entry.Readonly = readonly;
        const int32_t p = Find_SDO_Index(index);
        if (p < 0) {
            SDO_Index_List.push_back(SDO_Index{uint16_t(index), {entry}});
            continue;
        }
        // one object entry per index and sub-index: a second one would give two sections of one name
        for (const SDO_Sub_Type& s : SDO_Index_List[size_t(p)].Sub_Indexs) {
            if (s.Sub != entry.Sub) continue;
            const QString what = QStringLiteral("Index 0x%1 sub-index 0x%2").arg(IntToHex(index, 4), IntToHex(sub, 2));
            if (s.Readonly != readonly)
                throw Exception(QStringLiteral("%1 is defined both in %2 and in %3 (row %4); an EDS file can describe it only once.")
                                    .arg(what, ExtractFileName(File_CANopen_Define_Server_SDO_Read),
                                         ExtractFileName(File_CANopen_Define_Server_SDO_Write))
                                    .arg(r + 1));
            Refuse_Row(doc, r, QStringLiteral("%1 is defined twice; an EDS file can describe it only once.").arg(what));
        }
        SDO_Index_List[size_t(p)].Sub_Indexs.push_back(entry);
    }
}

// The text as a list of lines, one section after the other.
class TEdsText {
public:
    void Section(const QString& name) { FLines << QLatin1Char('[') + name + QLatin1Char(']'); }
    void Key(const QString& key, const QString& value) { FLines << key + QLatin1Char('=') + value; }
    void Line(const QString& line) { FLines << line; }
    void End() { FLines << QString(); }

    // A variable: a plain object or a sub-index.  An empty default writes no DefaultValue line.
    void Var(const QString& name, const QString& parameter, const char* dataType, const char* access,
             const QString& defaultValue, const char* pdoMapping = "0")
    {
        Section(name);
        Key(QStringLiteral("ParameterName"), parameter);
        Key(QStringLiteral("ObjectType"), QStringLiteral("0x07"));
        Key(QStringLiteral("DataType"), QLatin1String(dataType));
        Key(QStringLiteral("AccessType"), QLatin1String(access));
        if (!defaultValue.isEmpty()) Key(QStringLiteral("DefaultValue"), defaultValue);
        Key(QStringLiteral("PDOMapping"), QLatin1String(pdoMapping));
        End();
    }

    // The main section of an array or a record.
    void Compound(const QString& name, int subNumber, const QString& parameter, const char* objectType)
    {
        Section(name);
        Key(QStringLiteral("SubNumber"), IntToStr(subNumber));
        Key(QStringLiteral("ParameterName"), parameter);
        Key(QStringLiteral("ObjectType"), QLatin1String(objectType));
        End();
    }

    QByteArray Bytes() const { return (FLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1(); }

private:
    QStringList FLines;
};

QString Hex4(int v) { return IntToHex(v, 4); }
QString Sub(int index, int sub) { return Hex4(index) + QStringLiteral("sub") + IntToHex(sub, 1); }

const char* const Contact = "support@example.com";

void Write_Info(TEdsText& t, int R, int T)
{
    t.Section(QStringLiteral("FileInfo"));
    for (const char* l : {"FileName=s1.eds", "FileVersion=1", "FileRevision=0", "EDSVersion=4.0",
                          "Description=Example for CANopen Library.", "CreationTime=12:09PM", "CreationDate=08-15-2005"})
        t.Line(QLatin1String(l));
    t.Key(QStringLiteral("CreatedBy"), QLatin1String(Contact));
    t.Line(QStringLiteral("ModificationTime=12:01PM"));
    t.Line(QStringLiteral("ModificationDate=12-09-2013"));
    t.Key(QStringLiteral("ModifiedBy"), QLatin1String(Contact));
    t.End();

    t.Section(QStringLiteral("DeviceInfo"));
    for (const char* l : {"VendorName=port GmbH Halle", "VendorNumber=0x34", "ProductName=CANopen Library Example \"s1\"",
                          "ProductNumber=0x80015", "RevisionNumber=0x0", "OrderCode=0564/1", "BaudRate_10=1",
                          "BaudRate_20=1", "BaudRate_50=1", "BaudRate_125=1", "BaudRate_250=1", "BaudRate_500=1",
                          "BaudRate_800=0", "BaudRate_1000=1", "DynamicChannelsSupported=0", "GroupMessaging=0",
                          "LSS_Supported=0", "Granularity=0", "SimpleBootUpSlave=1", "SimpleBootUpMaster=0"})
        t.Line(QLatin1String(l));
    t.Key(QStringLiteral("NrOfRXPDO"), IntToStr(R));
    t.Key(QStringLiteral("NrOfTXPDO"), IntToStr(T));
    t.End();

    t.Section(QStringLiteral("Comments"));
    t.Line(QStringLiteral("Lines=0"));
    t.End();

    t.Section(QStringLiteral("DummyUsage"));
    for (int i = 1; i <= 7; ++i) t.Key(QStringLiteral("Dummy%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("0"));
    t.End();
}

void Write_Object_Lists(TEdsText& t, int R, int T)
{
    t.Section(QStringLiteral("MandatoryObjects"));
    for (const char* l : {"SupportedObjects=3", "1=0x1000", "2=0x1001", "3=0x1018"}) t.Line(QLatin1String(l));
    t.End();

    QStringList optional = {QStringLiteral("0x1005"), QStringLiteral("0x1006"), QStringLiteral("0x1008"),
                            QStringLiteral("0x1017"), QStringLiteral("0x1280")};
    for (const auto& [base, n] : {std::pair{0x1400, R}, {0x1600, R}, {0x1800, T}, {0x1A00, T}, {0x6000, R}, {0x6050, T}})
        for (int i = 0; i < n; ++i) optional << QStringLiteral("0x") + Hex4(base + i);
    t.Section(QStringLiteral("OptionalObjects"));
    t.Key(QStringLiteral("SupportedObjects"), IntToStr(optional.size()));
    for (int i = 0; i < optional.size(); ++i) t.Key(IntToStr(i + 1), optional[i]);
    t.End();

    // the server SDO objects are the manufacturer-specific part of the dictionary
    t.Section(QStringLiteral("ManufacturerObjects"));
    t.Key(QStringLiteral("SupportedObjects"), IntToStr(int64_t(SDO_Index_List.size())));
    for (size_t i = 0; i < SDO_Index_List.size(); ++i)
        t.Key(IntToStr(int64_t(i + 1)), QStringLiteral("0x") + Hex4(SDO_Index_List[i].Index));
    t.End();
}

void Write_Fixed_Objects(TEdsText& t)
{
    t.Var(QStringLiteral("1000"), QStringLiteral("Device Type"), "0x0007", "const", QStringLiteral("0x0000000"));
    t.Var(QStringLiteral("1001"), QStringLiteral("Error Register"), "0x0005", "ro", QStringLiteral("0x00"));
    t.Var(QStringLiteral("1005"), QStringLiteral("COB-ID SYNC"), "0x0007", "rw", QStringLiteral("0x80000080"));
    t.Var(QStringLiteral("1006"), QStringLiteral("Communication Cycle Period"), "0x0007", "rw", QStringLiteral("0x00000000"));
    t.Var(QStringLiteral("1008"), QStringLiteral("Manufacturer Device Name"), "0x0009", "const", QStringLiteral("s1"));
    t.Var(QStringLiteral("1017"), QStringLiteral("Producer Heartbeat Time"), "0x0006", "rw", QStringLiteral("0x000003E8"));

    t.Compound(QStringLiteral("1018"), 5, QStringLiteral("Identity Object"), "0x09");
    t.Var(QStringLiteral("1018sub0"), QStringLiteral("number of entries"), "0x0005", "ro", QStringLiteral("0x4"));
    t.Var(QStringLiteral("1018sub1"), QStringLiteral("Vendor Id"), "0x0007", "ro", QString());
    t.Var(QStringLiteral("1018sub2"), QStringLiteral("Product Code"), "0x0007", "ro", QString());
    t.Var(QStringLiteral("1018sub3"), QStringLiteral("Revision number"), "0x0007", "ro", QString());
    t.Var(QStringLiteral("1018sub4"), QStringLiteral("Serial number"), "0x0007", "ro", QString());

    t.Compound(QStringLiteral("1280"), 4, QStringLiteral("Client SDO Parameter 1"), "0x09");
    t.Var(QStringLiteral("1280sub0"), QStringLiteral("Number of Entries"), "0x0005", "ro", QStringLiteral("0x03"));
    t.Var(QStringLiteral("1280sub1"), QStringLiteral("COB-ID Client -> Server"), "0x0007", "rw", QString());
    t.Var(QStringLiteral("1280sub2"), QStringLiteral("COB-ID Server -> Client"), "0x0007", "rw", QString());
    t.Var(QStringLiteral("1280sub3"), QStringLiteral("Node ID of the SDO Server"), "0x0005", "rw", QString());
}

// Parameter names: the first receive PDO carries no number, every transmit PDO does.
QString Pdo_Name(const char* what, bool receive, int n)
{
    const QString base = QLatin1String(receive ? "Receive PDO " : "Transmit PDO ") + QLatin1String(what);
    return receive && n == 1 ? base : base + QLatin1Char(' ') + IntToStr(n);
}

void Write_Communication(TEdsText& t, bool receive, int i, const PDO_Def& d)
{
    const int index = (receive ? 0x1400 : 0x1800) + i;
    t.Compound(Hex4(index), 4, Pdo_Name("Communication Parameter", receive, i + 1), "0x09");
    t.Var(Sub(index, 0), QStringLiteral("Number of Entries"), "0x0005", "ro", QStringLiteral("0x03"));
    // a transmit PDO has bit 30 set: no remote frame
    const QString cob = receive ? QStringLiteral("0x") + IntToHex(d.COB_ID, 8) : QStringLiteral("0x4") + IntToHex(d.COB_ID, 7);
    t.Var(Sub(index, 1), QStringLiteral("COB-ID"), "0x0007", "rw", cob);
    t.Var(Sub(index, 2), QStringLiteral("Transmission Type"), "0x0005", "rw", QStringLiteral("0xFE"));
    t.Var(Sub(index, 3), QStringLiteral("Inhibit Time"), "0x0006", "rw", QStringLiteral("0x0"));
}

void Write_Mapping(TEdsText& t, bool receive, int i, const PDO_Def& d)
{
    const int index = (receive ? 0x1600 : 0x1A00) + i;
    const int data = (receive ? 0x6000 : 0x6050) + i;
    t.Compound(Hex4(index), d.Dimension + 1, Pdo_Name("Mapping Parameter", receive, i + 1), "0x09");
    t.Var(Sub(index, 0), QStringLiteral("Number of Entries"), "0x0005", "ro", QStringLiteral("0x0") + IntToStr(d.Dimension));
    for (int k = 1; k <= d.Dimension; ++k)
        t.Var(Sub(index, k), QStringLiteral("Mapping Entry %1").arg(k), "0x0007", "ro",
              QStringLiteral("0x") + IntToHex(int64_t(data) * 0x10000 + k * 0x100 + 8, 8));
}

void Write_Data(TEdsText& t, bool receive, int i, const PDO_Def& d)
{
    // the byte names of the process variables, as the device's firmware knows them
    static const char RLetters[] = "bcdefghjki";
    static const char TLetters[] = "lmnopqrstu";
    const int index = (receive ? 0x6000 : 0x6050) + i;
    t.Compound(Hex4(index), d.Dimension + 1, QLatin1String(receive ? "RPDO" : "TPDO") + IntToStr(i + 1), "0x08");
    t.Var(Sub(index, 0), QStringLiteral("Number of Entries"), "0x0005", receive && i < 2 ? "ro" : "rw",
          QStringLiteral("0x") + IntToStr(d.Dimension));
    const QChar letter = QLatin1Char(receive ? RLetters[i] : TLetters[i]);
    for (int k = 1; k <= d.Dimension; ++k)
        t.Var(Sub(index, k), letter + IntToStr(k), "0x0005", receive ? "rww" : "rwr", QStringLiteral("0x0"), "1");
}

void Write_SDO_Objects(TEdsText& t)
{
    struct Limits {
        const char* DataType;
        const char* Low;
        const char* High;
        const char* Default;
    };
    static const Limits One = {"0x0005", "0x00", "0xFF", "0x00"};
    static const Limits Two = {"0x0006", "0x0000", "0xFFFF", "0x0000"};
    static const Limits Four = {"0x0007", "0x00000000", "0xFFFFFFFF", "0x00000000"};
    for (const SDO_Index& e : SDO_Index_List) {
        t.Compound(Hex4(e.Index), int(e.Sub_Indexs.size()), QStringLiteral("Application Variables"), "0x09");
        for (const SDO_Sub_Type& s : e.Sub_Indexs) {
            const Limits& l = s.Quantity == 2 ? One : s.Quantity == 1 ? Two : Four;
            t.Section(Sub(e.Index, s.Sub));
            t.Line(QStringLiteral("ParameterName=Application Variable"));
            t.Line(QStringLiteral("ObjectType=0x7"));
            t.Key(QStringLiteral("DataType"), QLatin1String(l.DataType));
            t.Key(QStringLiteral("LowLimit"), QLatin1String(l.Low));
            t.Key(QStringLiteral("HighLimit"), QLatin1String(l.High));
            t.Key(QStringLiteral("DefaultValue"), QLatin1String(l.Default));
            t.Key(QStringLiteral("AccessType"), QLatin1String(s.Readonly ? "ro" : "rw"));
            t.Line(QStringLiteral("PDOMapping=0"));
            t.End();
        }
    }
}

}  // namespace

int32_t Find_SDO_Index(int32_t Index)
{
    for (size_t i = 0; i < SDO_Index_List.size(); ++i)
        if (SDO_Index_List[i].Index == Index) return int32_t(i);
    return -1;
}

void Read_EDS_PDO_Files()
{
    Read_PDO_File(File_CANopen_RPDO, RPDO_Defs, Num_RPDO);
    Read_PDO_File(File_CANopen_TPDO, TPDO_Defs, Num_TPDO);
}

void Read_EDS_SDO_Files()
{
    Read_SDO_File(File_CANopen_Define_Server_SDO_Read, true);
    Read_SDO_File(File_CANopen_Define_Server_SDO_Write, false);
}

void Write_EDS_File(const QString& FileName)
{
    SDO_Index_List.clear();
    Read_EDS_PDO_Files();
    Read_EDS_SDO_Files();

    const int R = Num_RPDO, T = Num_TPDO;
    TEdsText t;
    Write_Info(t, R, T);
    Write_Object_Lists(t, R, T);
    Write_Fixed_Objects(t);
    for (int i = 0; i < R; ++i) Write_Communication(t, true, i, RPDO_Defs[i]);
    for (int i = 0; i < R; ++i) Write_Mapping(t, true, i, RPDO_Defs[i]);
    for (int i = 0; i < T; ++i) Write_Communication(t, false, i, TPDO_Defs[i]);
    for (int i = 0; i < T; ++i) Write_Mapping(t, false, i, TPDO_Defs[i]);
    for (int i = 0; i < R; ++i) Write_Data(t, true, i, RPDO_Defs[i]);
    for (int i = 0; i < T; ++i) Write_Data(t, false, i, TPDO_Defs[i]);
    Write_SDO_Objects(t);
    t.End();
    SaveFileAtomic(FileName, t.Bytes());
}
