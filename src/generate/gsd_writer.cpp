#include "generate/gsd_writer.h"

#include "generate/gen_document.h"
#include "generate/image_895.h"
#include "platform/core/exception.h"
#include "platform/core/file_io.h"
#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "state/model_table.h"
#include "state/shared_state.h"

TGSD_Sizes GSD_Sizes;

namespace {

int64_t Ceil_Div(int64_t a, int64_t b) { return a > 0 ? (a + b - 1) / b : 0; }

void Check_Module_Count(int64_t count)
{
    if (count > Max_GSD_Modules)
        throw Exception(QStringLiteral("The configuration needs %1 PROFIBUS modules; a GSD file describes at most %2.")
                            .arg(count)
                            .arg(Max_GSD_Modules));
}

QString Hex2(int v) { return IntToHex(v, 2); }

const char* const Fixed_Head[] = {
    "#Profibus_DP",
    "",
    ";====================================================================================",
    ";==== Prm-Text-Def-List =============================================================",
    ";====================================================================================",
    "",
    "PrmText=1",
    "Text(0)=\"disable\"",
    "Text(1)=\"enable\"",
    "EndPrmText",
    "",
    "PrmText  = 2",
    "Text(0)  = \"clock up\"",
    "Text(1)  = \"clock down\"",
    "EndPrmText",
    "",
    "PrmText  = 3",
    "Text(1)  = \"10\"",
    "Text(2)  = \"20\"",
    "Text(3)  = \"30\"",
    "Text(4)  = \"40\"",
    "Text(5)  = \"50\"",
    "EndPrmText",
    "",
    ";=====================================================================================",
    ";==== Ext-User-Prm-Data-Def-List =====================================================",
    ";=====================================================================================",
    "",
    "ExtUserPrmData=1 \"[SlotNumber]\"",
    "Unsigned8 0 0-32",
    "EndExtUserPrmData",
    "",
    "ExtUserPrmData=2 \"Diagnostic Alarm\"",
    "Bit(0) 0 0-1",
    "Prm_Text_Ref=1",
    "EndExtUserPrmData",
    "",
    "ExtUserPrmData=3 \"Process Alarm\"",
    "Bit(1) 0 0-1",
    "Prm_Text_Ref=1",
    "EndExtUserPrmData",
    "",
    "ExtUserPrmData=4 \"Counter mode\"",
    "Unsigned8 0 0-1",
    "Prm_Text_Ref=2",
    "EndExtUserPrmData",
    "",
    "ExtUserPrmData=5 \"Counter timebase (ms)\"",
    "Unsigned8 1 1-5",
    "Prm_Text_Ref=3",
    "EndExtUserPrmData",
    "",
    "ExtUserPrmData=6 \"Counter high-limit\"",
    "Unsigned16 65535 0-65535",
    "EndExtUserPrmData",
    "",
    "ExtUserPrmData=7 \"Counter low-limit\"",
    "Unsigned16 0 0-65535",
    "EndExtUserPrmData",
    "",
    ";=====================================================================================",
    ";==== General DP Keywords ============================================================",
    ";=====================================================================================",
    "",
    "GSD_Revision = 5",
    "Vendor_Name = \"Korvix\"",
    "Model_Name = \"GV58895\"",
    "Revision = \"1.00\"",
    "Ident_Number = 0x5C3D",
    "Protocol_Ident = 0",
    "Station_Type = 0",
    "FMS_supp = 0",
    "Hardware_Release = \"V1.00\"",
    "Software_Release = \"V1.00\"",
    "Redundancy = 0",
    "Repeater_Ctrl_Sig = 2",
    "24V_Pins = 0",
    "",
    ";==============================================================================",
    ";==== Supported baudrates =====================================================",
    ";==============================================================================",
    "",
    "9.6_supp = 1",
    "19.2_supp = 1",
    "45.45_supp = 1",
    "93.75_supp = 1",
    "187.5_supp = 1",
    "500_supp = 1",
    "1.5M_supp = 1",
    "3M_supp = 1",
    "6M_supp = 1",
    "12M_supp = 1",
    "",
    "MaxTsdr_9.6=15",
    "MaxTsdr_19.2=15",
    "MaxTsdr_45.45=15",
    "MaxTsdr_93.75=15",
    "MaxTsdr_187.5=15",
    "MaxTsdr_500=15",
    "MaxTsdr_1.5M=20",
    "MaxTsdr_3M=35",
    "MaxTsdr_6M=50",
    "MaxTsdr_12M=95",
    "",
    ";==============================================================================",
    ";==== Slave specific values ===================================================",
    ";==============================================================================",
    "",
    "OrderNumber=\"GV58895\"",
    "Slave_Family = 9@Korvix@GV58895",
    "Implementation_Type = \"VPC3+\"",
    "Info_Text=\"Korvix: J1939 / PROFIBUS Slave - Converter\"",
    "Bitmap_Device = \"DPV0_1N\"",
    "Bitmap_SF=\"DPV0_1S\"",
    "",
    "Freeze_Mode_supp=1",
    "Sync_Mode_supp=1",
    "Fail_Safe=1",
    "Auto_Baud_supp=1",
    "Set_Slave_Add_supp=0",
    "",
    "Min_Slave_Intervall=6",
    "",
    "Modular_Station=1",
};

const char* const Fixed_User_Prm[] = {
    "Max_Diag_Data_Len=18",
    "",
    "WD_Base_1ms_supp = 1",
    "Publisher_supp = 1",
    "",
    ";==============================================================================",
    ";==== User-Prm-Data ===========================================================",
    ";==============================================================================",
    "",
    "Max_User_Prm_Data_Len = 12",
    "Ext_User_Prm_Data_Const(0)= 0x00,0x00,0x00",
    "",
    ";==============================================================================",
    ";==== Modulstatus =============================================================",
    ";==============================================================================",
    "",
    "Unit_Diag_Area = 24 - 25",
    "Value(1)= \"Slot 1: Module error\"",
    "Value(2)= \"Slot 1: Wrong module\"",
    "Value(3)= \"Slot 1: No module\"",
    "Unit_Diag_Area_End",
    "Unit_Diag_Area = 26 - 27",
    "Value(1)= \"Slot 2: Module error\"",
    "Value(2)= \"Slot 2: Wrong module\"",
    "Value(3)= \"Slot 2: No module\"",
    "Unit_Diag_Area_End",
    "",
    ";==============================================================================",
    ";==== Module-Definition-List ==================================================",
    ";==============================================================================",
    "",
};

// The maker's contact lines of the banner (postal address, telephone, fax, support).
const char* const Maker_Lines[] = {
    "Korvix",
    "Industrial Gateways",
    "(postal address)",
    "Tel: (telephone)",
    "Fax: (fax)",
    "Support: (support e-mail)",
};

QString Framed(const QString& content) { return QStringLiteral(";*") + content.leftJustified(82, QLatin1Char(' '), true) + QLatin1Char('*'); }

void Add_Banner(QStringList& l)
{
    const QString rule = QLatin1Char(' ') + QString(80, QLatin1Char('=')) + QLatin1Char(' ');
    const QString indent(11, QLatin1Char(' '));
    l << QStringLiteral(";");
    l << QStringLiteral(";") + QString(23, QLatin1Char('*')) + QStringLiteral(" J1939 / PROFIBUS Slave - Converter ") +
             QString(25, QLatin1Char('*'));
    l << Framed(rule) << Framed(QString());                                     // 3, 4
    l << Framed(QStringLiteral(" Vendor:   Korvix"));                            // 5
    for (const char* m : Maker_Lines) l << Framed(indent + QLatin1String(m));    // 6 .. 11
    l << Framed(QString()) << Framed(rule) << Framed(QString());                 // 12, 13, 14
    l << Framed(QStringLiteral(" Function:       J1939 / PROFIBUS Slave - Converter"));  // 15
    l << Framed(QString()) << Framed(QString());                                 // 16, 17
    l << Framed(QStringLiteral(" Order Number : ") + QString::fromUtf16(Model_Info(8).HW_Code));  // 18
    l << Framed(QString()) << Framed(QString());                                 // 19, 20
    l << QStringLiteral(";") + QString(84, QLatin1Char('*'));                    // 21
}

bool Per_Frame() { return GSD_Sizes.Profi_Module == 1; }

}  // namespace

void Compute_GSD_Sizes()
{
    TGSD_Sizes& s = GSD_Sizes;
    s = TGSD_Sizes();
    TGenDocument doc;
    if (!doc.Load(File_ParGen)) return;
    s.Profi_Module = doc.Key_Int("Profi_Module", 0);
    s.Profi_Send_J1939 = doc.Key_Int("Profi_Send_J1939", 0);
    if (doc.Load(File_J1939_Receive)) {
        Check_J1939_Table_895(doc);
        for (int i = 0; i < doc.Row_Count(); ++i) {
            const TGenRow row = doc.Row(i);
            const int size = row.Flag_Upper("TransportProtocol") ? row.Int_Def("NumBytes", 0) : 8;
            if (size < 0) Refuse_Row(doc, i, QStringLiteral("a frame cannot hold %1 bytes").arg(size));
            s.Rx_Frame_Sizes.push_back(size);
            s.Input_Len += size;
        }
        s.In_Modules = doc.Row_Count();
    }
    int txRows = 0;
    if (doc.Load(File_J1939_Transmit)) {
        Check_J1939_Table_895(doc);
        txRows = doc.Row_Count();
        s.Out_Modules = txRows;
        s.Output_Len = 8 * txRows;
    }
    // Any mode value but 1 packs the data into 64-byte modules, so the sizing below and the
    // module list always agree.
    if (s.Profi_Send_J1939 == 1) {
        s.Status_Bytes = Ceil_Div(txRows, 8);
        if (!Per_Frame()) {
            s.Input_Len += s.Status_Bytes;
            s.Output_Len += s.Status_Bytes;
        }
    }
    if (!Per_Frame()) {
        s.In_Modules = Ceil_Div(s.Input_Len, 64);
        s.Out_Modules = Ceil_Div(s.Output_Len, 64);
    }
}

std::vector<TGSD_Module> GSD_Modules()
{
    const TGSD_Sizes& s = GSD_Sizes;
    std::vector<TGSD_Module> m;
    if (Per_Frame()) {
        for (std::size_t i = 0; i < s.Rx_Frame_Sizes.size(); ++i) {
            const int size = s.Rx_Frame_Sizes[i];
            if (size < 1 || size > 64)
                throw Exception(QStringLiteral("%1, row %2: a frame of %3 bytes does not fit one PROFIBUS module (1 to 64 bytes)")
                                    .arg(ExtractFileName(File_J1939_Receive))
                                    .arg(i + 1)
                                    .arg(size));
            m.push_back({true, size});
        }
        if (s.Profi_Send_J1939 == 1 && s.Status_Bytes > 0) m.push_back({true, s.Status_Bytes});
        for (int64_t i = 0; i < s.Out_Modules; ++i) m.push_back({false, 8});
        if (s.Profi_Send_J1939 == 1 && s.Status_Bytes > 0) m.push_back({false, s.Status_Bytes});
        Check_Module_Count(static_cast<int64_t>(m.size()));
    } else {
        Check_Module_Count(Ceil_Div(s.Input_Len, 64) + Ceil_Div(s.Output_Len, 64));
        auto pack = [&m](bool input, int64_t len) {
            for (; len > 64; len -= 64) m.push_back({input, 64});
            if (len > 0) m.push_back({input, static_cast<int>(len)});
        };
        pack(true, s.Input_Len);
        pack(false, s.Output_Len);
    }
    return m;
}

QStringList GSD_Lines()
{
    const TGSD_Sizes& s = GSD_Sizes;
    const std::vector<TGSD_Module> modules = GSD_Modules();
    const int status = s.Profi_Send_J1939 == 1 && Per_Frame() ? s.Status_Bytes : 0;

    QStringList l;
    Add_Banner(l);
    l << QString() << QString();
    for (const char* line : Fixed_Head) l << QLatin1String(line);
    // The module count is that of the modules written, so every slot offers a module that exists.
    l << QStringLiteral("Max_Module=") + IntToStr(static_cast<int64_t>(modules.size()));
    l << QStringLiteral("Modul_Offset=1");
    l << QStringLiteral("Max_Input_Len=") + IntToStr(s.Input_Len + status);
    l << QStringLiteral("Max_Output_Len=") + IntToStr(s.Output_Len + status);
    l << QStringLiteral("Max_Data_Len=") + IntToStr(s.Input_Len + s.Output_Len + 2 * status);
    for (const char* line : Fixed_User_Prm) l << QLatin1String(line);
    int n = 0;
    for (const TGSD_Module& m : modules) {
        ++n;
        l << QStringLiteral("Module=\"%1  (PORT%2)    \" 0x%3,0x%4,0x00,0x%5")
                 .arg(m.Input ? QStringLiteral("DI") : QStringLiteral("DO"))
                 .arg(n)
                 .arg(m.Input ? QStringLiteral("42") : QStringLiteral("82"), Hex2(m.Size - 1), Hex2(n));
        l << IntToStr(n) << QStringLiteral("EndModule");
    }
    l << QString() << QString() << QString() << QStringLiteral("SlotDefinition");
    for (int k = 1; k <= n; ++k) l << QStringLiteral("Slot(%1) = \"Slot %1\" %1 %1").arg(k);
    l << QStringLiteral("EndSlotDefinition");
    l << QString() << QString() << QString() << QString();
    return l;
}

void Write_GSD_File(const QString& fileName)
{
    Compute_GSD_Sizes();
    QByteArray text;
    for (const QString& line : GSD_Lines()) {
        text += line.toLatin1();
        text += "\r\n";
    }
    SaveFileAtomic(fileName, text);
}

QString GSD_File_Name(const QString& chosen)
{
    // a name that already ends in .gsd keeps it; every other name gets it appended
    if (chosen.endsWith(QLatin1String(".gsd"), Qt::CaseInsensitive)) return chosen;
    return chosen + QStringLiteral(".gsd");
}
