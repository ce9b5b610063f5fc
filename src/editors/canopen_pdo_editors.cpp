#include "editors/canopen_pdo_editors.h"

#include "platform/core/sysutils.h"
#include "platform/core/xml.h"
#include "state/canopen_limits.h"
#include "state/lang.h"
#include "state/shared_state.h"

#include <QFileInfo>

TFDefine_TPDO* FDefine_TPDO = nullptr;
TFDefine_RPDO* FDefine_RPDO = nullptr;

QString TPdoEditor::Frame_Item(int k, const QString& pgn, const QString& sourceAddress)
{
    return QString::number(k) + QLatin1Char(';') + pgn + QLatin1Char(';') + sourceAddress + QLatin1Char(';');
}

void TPdoEditor::FormShow()
{
    Load_Frames();
    FUnbound.clear();
    TTableEditor::FormShow();
    if (!FUnbound.isEmpty())
        MessageDlg(QStringLiteral("The PDO table names J1939 frames that the frame table \"%1\" does not hold (%2); "
                                  "these PDOs keep no frame if you press OK.")
                       .arg(Frame_File(), FUnbound.join(QStringLiteral(", "))),
                   TMsgDlgType::mtWarning, mbOK);
}

void TPdoEditor::Load_Frames()
{
    SL.clear();
    const QString path = Frame_File();
    if (!path.isEmpty() && QFileInfo::exists(path)) {
        pugi::xml_document doc;
        QString reason;
        if (!XmlLoadFile(doc, path, &reason))
            ShowError(QStringLiteral("The frame table \"%1\" cannot be read: %2. The J1939 Frame column offers no frames.")
                          .arg(path, reason));
        else
            for (pugi::xml_node row = XmlRoot(doc).first_child(); row; row = row.next_sibling())
                SL << Frame_Item(SL.size() + 1, XmlAttr(row, "PGN"), XmlAttr(row, "SourceAddress"));
    }
    sga->Columns()->Items(Col(u"Frame_J1939"))->ComboItems()->SetStrings(SL);
}

std::vector<TTableColumn> TPdoEditor::Pdo_Columns(int header)
{
    TTableColumn frame = List_Column(header + 3, 130, QStringLiteral("Frame_J1939"), {});
    // the file holds the frame's number; the cell shows the frame as the frame table has it now
    frame.FromFile = [this](const QString& value, int row) {
        const int k = StrToIntDef(value, -1);
        if (k >= 1 && k <= SL.size()) return SL[k - 1];
        FUnbound << QStringLiteral("row %1: frame %2").arg(row).arg(value);
        return QString();
    };
    frame.ToFile = [](const QString& cell) {
        const int semicolon = cell.indexOf(QLatin1Char(';'));
        const int k = semicolon < 0 ? -1 : StrToIntDef(cell.left(semicolon), -1);
        return k > 0 ? QString::number(k) : QString();
    };
    return {
        Text_Column(header, 70, QStringLiteral("COB-ID")),
        Text_Column(header + 1, 70, QStringLiteral("Dimension")),
        Text_Column(header + 2, 70, QStringLiteral("Offset")),
        frame,
    };
}

std::vector<TTableCheck> TPdoEditor::Pdo_Checks(const TColumnNames& col, int msg)
{
    const int dimension = col(u"Dimension"), offset = col(u"Offset");
    return {
        {msg, {}, Out_Of(col(u"COB-ID"), 0, 0x7FF)},
        {msg + 1, {}, Out_Of(dimension, 1, 8)},
        {msg + 2, {}, Out_Of(offset, 1, 8)},
        // the PDO's bytes lie within the eight bytes of the frame
        {msg + 3, {}, [this, dimension, offset](int r) { return Num(dimension, r) + Num(offset, r) > 9; }},
    };
}

namespace {
// Size, texts and keys both PDO windows share.
TTableDesc Pdo_Desc(const QString* file, const char* root)
{
    TTableDesc s;
    s.File = file;
    s.Root = QLatin1String(root);
    s.RowLimit = Max_PDO;
    s.ClientWidth = 700;
    return s;
}
}  // namespace

TTableDesc TFDefine_TPDO::Describe()
{
    TTableDesc s = Pdo_Desc(&File_CANopen_TPDO, "Define_TPDO");
    s.NumberHeader = 502;
    s.Columns = Pdo_Columns(503);
    s.Columns.push_back(Check_Column(507, 78, QStringLiteral("DataChange")));
    s.Columns.push_back(Check_Column(571, 48, QStringLiteral("OnCAN")));
    s.Columns.push_back(Check_Column(508, 70, QStringLiteral("OnTimer")));
    s.Columns.push_back(Text_Column(509, 87, QStringLiteral("SendTimer")));
    s.Columns.push_back(Text_Column(510, 98, QStringLiteral("Mnemonic")));
    s.Caption = 500;
    s.DescText = 501;
    s.BtnOK = 511;
    s.BtnCancel = 512;
    s.BtnDelRow = 513;
    s.BtnInsRow = 514;
    s.ErrorPrefix = 515;
    s.DeleteQuestion = 521;
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"COB-ID");
    s.Checks = Pdo_Checks(col, 516);
    s.Checks.push_back({520, {}, In_Col(col(u"SendTimer"), [this, timer = col(u"OnTimer"), out = Out_Of(col(u"SendTimer"), 1, 1000000)](int r) {
                            return Ticked(timer, r) && out(r);
                        })});
    return s;
}

const QString& TFDefine_TPDO::Frame_File() const { return File_J1939_Receive; }

TTableDesc TFDefine_RPDO::Describe()
{
    TTableDesc s = Pdo_Desc(&File_CANopen_RPDO, "Define_RPDO");
    s.NumberHeader = 435;
    s.Columns = Pdo_Columns(436);
    s.Columns.push_back(Text_Column(440, 288, QStringLiteral("Mnemonic")));
    s.Caption = 433;
    s.DescText = 434;
    s.BtnOK = 441;
    s.BtnCancel = 442;
    s.BtnDelRow = 443;
    s.BtnInsRow = 444;
    s.ErrorPrefix = 445;
    s.DeleteQuestion = 450;
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"COB-ID");
    s.Checks = Pdo_Checks(col, 446);
    return s;
}

const QString& TFDefine_RPDO::Frame_File() const { return File_J1939_Transmit; }
