// Column widths, column order and states, the look and the print settings of the grid, kept
// in INI files, the registry, a text of the caller's or a name-value file.
#include "grid/control/pro_string_grid.h"
#include "grid/data/mem_ini_file.h"
#include "platform/core/exception.h"
#include "platform/core/registry.h"
#include "platform/core/sysutils.h"
#include <algorithm>
#include <memory>
#include <optional>

namespace {

constexpr int MaxStoredWidth = 32767;
// Real columns the hidden-column table maps.
constexpr int MappedColumns = TProStringGrid::MaxColumns - 1;

// The place of the column settings: a section of an INI file, or a registry key with the
// section as its sub-key.
class TColumnPlace {
public:
    TColumnPlace(TColumnSizeLocation Location, const QString& Key, const QString& Section) : FSection(Section)
    {
        if (Location == clIniFile) {
            FIni = std::make_unique<TMemIniFile>(Key);
        } else {
            FReg = std::make_unique<TRegistry>(HKEY::HKEY_CURRENT_USER);
            FReg->OpenKey(Key + QLatin1Char('\\') + Section, true);
        }
    }

    bool Exists(const QString& Name) const
    {
        return FIni ? FIni->ValueExists(FSection, Name) : FReg->ValueExists(Name);
    }

    // The stored integer, or nothing when it is missing or not a number.
    std::optional<int> Read(const QString& Name) const
    {
        int32_t v = 0;
        if (FIni) {
            if (!FIni->ValueExists(FSection, Name) || !TryStrToInt(FIni->ReadString(FSection, Name, {}), v))
                return std::nullopt;
            return v;
        }
        if (!FReg->ValueExists(Name)) return std::nullopt;
        try {
            return FReg->ReadInteger(Name);
        } catch (const Exception&) {
            return std::nullopt;
        }
    }

    void Write(const QString& Name, int Value)
    {
        if (FIni) FIni->WriteInteger(FSection, Name, Value);
        else FReg->WriteInteger(Name, Value);
    }

    // INI files go back whole after every operation; a save reports a failed write, a load
    // has lost nothing when the write-back fails.
    void Close(bool Saving)
    {
        if (!FIni) return;
        if (Saving) FIni->UpdateFile();
        else FIni->TryUpdateFile();
    }

private:
    QString FSection;
    std::unique_ptr<TMemIniFile> FIni;
    std::unique_ptr<TRegistry> FReg;
};

QString ColName(int i) { return QStringLiteral("Col%1").arg(i); }
QString PosName(int i) { return QStringLiteral("Pos%1").arg(i); }

// Whether List holds each of 0..N-1 exactly once.
bool IsPermutation(const std::vector<int>& List, int N)
{
    if (int(List.size()) != N) return false;
    std::vector<bool> seen(size_t(N), false);
    for (int v : List) {
        if (v < 0 || v >= N || seen[size_t(v)]) return false;
        seen[size_t(v)] = true;
    }
    return true;
}

// For each initial column index p, the position whose entry is p.
std::vector<int> Inverse(const std::vector<int>& Order)
{
    std::vector<int> inv(Order.size());
    for (size_t i = 0; i < Order.size(); ++i) inv[size_t(Order[i])] = int(i);
    return inv;
}

}  // namespace

// ---- column widths ---------------------------------------------------------------------------

void TProStringGrid::SaveColSizes()
{
    TColumnSize* cs = FColumnSize.get();
    if (FDesigning || cs->Key().isEmpty() || cs->Section().isEmpty()) return;
    TColumnPlace place(cs->Location(), cs->Key(), cs->Section());
    for (int i = 0; i < ColCount(); ++i) place.Write(ColName(i), ColWidths(i));
    // The grid going away saves from its destructor, where a failure has nobody to go to.
    place.Close(!FTornDown);
}

void TProStringGrid::LoadColSizes()
{
    TColumnSize* cs = FColumnSize.get();
    if (FDesigning || cs->Key().isEmpty() || cs->Section().isEmpty()) return;
    TColumnPlace place(cs->Location(), cs->Key(), cs->Section());
    for (int i = 0; i < ColCount(); ++i) {
        // A missing, malformed or impossible width keeps the current one.
        const std::optional<int> w = place.Read(ColName(i));
        if (w && *w >= 0 && *w <= MaxStoredWidth && *w != ColWidths(i)) SetColWidths(i, *w);
    }
    place.Close(false);
}

// ---- column positions ------------------------------------------------------------------------

void TProStringGrid::SaveColPositions()
{
    SaveColPositionsAt(FColumnSize->Location(), FColumnSize->Key(), FColumnSize->Section());
}

void TProStringGrid::LoadColPositions()
{
    LoadColPositionsAt(FColumnSize->Location(), FColumnSize->Key(), FColumnSize->Section());
}

void TProStringGrid::SaveColPositionsAt(TColumnSizeLocation Location, const QString& Key, const QString& Section)
{
    if (FDesigning || Key.isEmpty() || Section.isEmpty()) return;
    TColumnPlace place(Location, Key, Section);
    for (int i = 0; i < FColumnOrder->Count(); ++i) place.Write(PosName(i), FColumnOrder->GetInteger(i));
    place.Close(true);
}

void TProStringGrid::LoadColPositionsAt(TColumnSizeLocation Location, const QString& Key, const QString& Section)
{
    if (FDesigning || Key.isEmpty() || Section.isEmpty()) return;
    TColumnPlace place(Location, Key, Section);
    const int n = TotalColCount();
    std::vector<int> stored;
    if (place.Exists(PosName(0))) {
        for (int i = 0; i < n; ++i) {
            const std::optional<int> v = place.Read(PosName(i));
            if (!v) {
                stored.clear();
                break;
            }
            if (*v != -1) stored.push_back(*v);
        }
    }
    place.Close(false);
    // Only a complete arrangement of this grid's columns is applied.
    if (!IsPermutation(stored, n)) return;
    // The hidden columns by initial index, so that the same columns are hidden afterwards
    // wherever they then stand.
    std::vector<int> hidden;
    for (int c = 0; c < std::min(n, MappedColumns); ++c)
        if (IsHiddenColumn(c)) hidden.push_back(InitialColumnAt(c));
    ApplyColumnOrder(stored);
    const std::vector<int> position = Inverse(stored);
    std::vector<int> hide;
    for (int x : hidden) hide.push_back(position[size_t(x)]);
    std::sort(hide.rbegin(), hide.rend());
    for (int c : hide) HideColumn(c);
}

int TProStringGrid::InitialColumnAt(int RealCol) const
{
    const int n = TotalColCount();
    std::vector<int> order;
    for (int i = 0; i < FColumnOrder->Count(); ++i) order.push_back(FColumnOrder->GetInteger(i));
    return IsPermutation(order, n) ? order[size_t(RealCol)] : RealCol;
}

void TProStringGrid::ApplyColumnOrder(const std::vector<int>& Order)
{
    // Back to the initial arrangement first, which the stored order is relative to.
    ResetColumnOrder();
    FColumnOrder->Clear();
    for (int p : Inverse(Order)) FColumnOrder->Add(p);
    ResetColumnOrder();
    FColumnOrder->Clear();
    for (int p : Order) FColumnOrder->Add(p);
}

// ---- column states text ----------------------------------------------------------------------

QString TProStringGrid::ColumnStatesToString()
{
    const int n = TotalColCount();
    QStringList widths, order, visible;
    for (int i = 0; i < n; ++i) {
        widths << QString::number(i < ColCount() ? ColWidths(i) : DefaultColWidth());
        order << QString::number(FColumnOrder->Count() > 0 && i < FColumnOrder->Count() ? FColumnOrder->GetInteger(i) : i);
        visible << QString(i < MappedColumns && IsHiddenColumn(i) ? QStringLiteral("0") : QStringLiteral("1"));
    }
    return QString::number(n) + QLatin1Char('#') + widths.join(QLatin1Char(',')) + QLatin1Char('#') +
           order.join(QLatin1Char(',')) + QLatin1Char('#') + visible.join(QLatin1Char(','));
}

namespace {

[[noreturn]] void BadColumnStates(const QString& What)
{
    throw EConvertError(QStringLiteral("Invalid column states: %1").arg(What));
}

// The comma-separated integers of a field, each converted strictly.
std::vector<int> IntegerField(const QString& Field, const QString& What)
{
    std::vector<int> values;
    if (Field.isEmpty()) return values;
    for (const QString& s : Field.split(QLatin1Char(','))) {
        int32_t v = 0;
        if (!TryStrToInt(s, v)) BadColumnStates(What);
        values.push_back(v);
    }
    return values;
}

}  // namespace

void TProStringGrid::StringToColumnStates(const QString& Value)
{
    if (!Value.contains(QLatin1Char('#'))) return;
    // Every field is checked before the grid changes.
    const QStringList fields = Value.split(QLatin1Char('#'));
    if (fields.size() < 4) BadColumnStates(QStringLiteral("fields missing"));
    int32_t n = 0;
    if (!TryStrToInt(fields[0], n) || n <= FixedCols() || n < 1 || n > MappedColumns)
        BadColumnStates(QStringLiteral("column count"));
    const std::vector<int> widths = IntegerField(fields[1], QStringLiteral("widths"));
    std::vector<int> order;
    for (int v : IntegerField(fields[2], QStringLiteral("order")))
        if (v != -1 && int(order.size()) < n) order.push_back(v);
    if (!fields[2].isEmpty() && !IsPermutation(order, n)) BadColumnStates(QStringLiteral("order"));
    const QStringList visible = fields[3].split(QLatin1Char(','));
    if (visible.size() < n) BadColumnStates(QStringLiteral("visibility"));
    int shown = 0;
    for (int k = 0; k < n; ++k) {
        if (visible[k] != QLatin1String("0") && visible[k] != QLatin1String("1"))
            BadColumnStates(QStringLiteral("visibility"));
        if (visible[k] == QLatin1String("1")) ++shown;
    }
    if (int(widths.size()) < std::max(shown, 1)) BadColumnStates(QStringLiteral("widths"));
    for (int w : widths)
        if (w < 0 || w > MaxStoredWidth) BadColumnStates(QStringLiteral("widths"));

    // The stored order is relative to the initial arrangement.
    if (FColumnOrder->Count() > 0) ResetColumnOrder();
    FColumnOrder->Clear();
    UnHideColumnsAll();
    SetColCount(n);
    if (!order.empty()) ApplyColumnOrder(order);
    for (int k = n - 1; k >= 0; --k)
        if (visible[k] == QLatin1String("0")) HideColumn(k);
    const bool stretch = FColumnSize->Stretch();
    if (stretch) {
        FColumnSize->SetStretch(false);
        const int sc = FColumnSize->StretchColumn() == -1 ? ColCount() - 1 : FColumnSize->StretchColumn();
        if (sc >= 0 && sc < ColCount()) SetDefaultColWidth(ColWidths(sc));
    }
    for (int k = 0; k < std::min(ColCount(), int(widths.size())); ++k) SetColWidths(k, widths[size_t(k)]);
    if (stretch) FColumnSize->SetStretch(true);
}

// ---- print settings --------------------------------------------------------------------------

namespace {

int StyleBits(TFontStyles s)
{
    return (s.Contains(fsBold) ? 1 : 0) | (s.Contains(fsItalic) ? 2 : 0) | (s.Contains(fsUnderline) ? 4 : 0) |
           (s.Contains(fsStrikeOut) ? 8 : 0);
}

TFontStyles StylesOfBits(int Bits)
{
    TFontStyles s;
    if (Bits & 1) s.Include(fsBold);
    if (Bits & 2) s.Include(fsItalic);
    if (Bits & 4) s.Include(fsUnderline);
    if (Bits & 8) s.Include(fsStrikeOut);
    return s;
}

const QString YesNo(bool b) { return b ? QStringLiteral("Y") : QStringLiteral("N"); }

// The three fonts of the print settings with the prefixes of their keys.
std::vector<std::pair<QString, TFont*>> PrintFonts(TPrintSettings* ps)
{
    return {{QString(), ps->Font()}, {QStringLiteral("Header"), ps->HeaderFont()},
            {QStringLiteral("Footer"), ps->FooterFont()}};
}

}  // namespace

void TProStringGrid::SavePrintSettings(const QString& Key, const QString& Section)
{
    TPrintSettings* ps = FPrintSettings.get();
    TMemIniFile ini(Key);
    const auto integer = [&](const char* k, int v) { ini.WriteInteger(Section, QString::fromLatin1(k), v); };
    const auto text = [&](const char* k, const QString& v) { ini.WriteString(Section, QString::fromLatin1(k), v); };
    integer("ColumnSpacing", ps->ColumnSpacing());
    integer("RowSpacing", ps->RowSpacing());
    integer("TitleSpacing", ps->TitleSpacing());
    integer("FixedHeight", ps->FixedHeight());
    integer("FixedWidth", ps->FixedWidth());
    text("Centered", YesNo(ps->Centered()));
    text("NoAutoSize", YesNo(ps->NoAutoSize()));
    text("UseFixedHeight", YesNo(ps->UseFixedHeight()));
    text("UseFixedWidth", YesNo(ps->UseFixedWidth()));
    text("RepeatFixedRows", YesNo(ps->RepeatFixedRows()));
    text("RepeatFixedCols", YesNo(ps->RepeatFixedCols()));
    text("UseDisplFont", YesNo(ps->UseDisplayFont()));
    text("UseDefOrientation", YesNo(ps->UseDefaultOrientation()));
    integer("Borders", ps->Borders());
    integer("BorderColor", ps->BorderColor());
    integer("BorderStyle", ps->BorderStyle());
    integer("Date", ps->Date());
    integer("PageNr", ps->PageNr());
    integer("Title", ps->Title());
    integer("Time", ps->Time());
    text("DateFormat", ps->DateFormat());
    text("TitleText", ps->TitleText());
    integer("FooterSize", ps->FooterSize());
    integer("HeaderSize", ps->HeaderSize());
    integer("LeftSize", ps->LeftSize());
    integer("RightSize", ps->RightSize());
    integer("FitToPage", ps->FitToPage());
    for (const auto& [prefix, font] : PrintFonts(ps)) {
        ini.WriteString(Section, prefix + QStringLiteral("FontName"), font->Name());
        ini.WriteInteger(Section, prefix + QStringLiteral("FontSize"), font->Size());
        ini.WriteInteger(Section, prefix + QStringLiteral("FontStyle"), StyleBits(font->Style()));
        ini.WriteInteger(Section, prefix + QStringLiteral("FontColor"), font->Color());
    }
    text("PageNumSep", ps->PageNumSep());
    text("PageSuffix", ps->PageSuffix());
    text("PagePrefix", ps->PagePrefix());
    integer("Orientation", ps->Orientation());
    // The lines as one value: each line break written as a backslash and "n".
    QString lines;
    for (const QString& l : ps->TitleLines()) lines += QString(l).remove(QLatin1Char('\n')).replace(QLatin1Char('\r'), QStringLiteral("\\n")) + QStringLiteral("\\n");
    text("TitleLines", lines);
    text("PrintGraphics", YesNo(ps->PrintGraphics()));
    ini.UpdateFile();
}

void TProStringGrid::LoadPrintSettings(const QString& Key, const QString& Section)
{
    TPrintSettings* ps = FPrintSettings.get();
    TMemIniFile ini(Key);
    // A file that cannot be read whole would read as all defaults.
    if (!ini.Readable()) throw EInOutError(QStringLiteral("Cannot read file %1").arg(Key));
    const auto integer = [&](const char* k, int def) { return ini.ReadInteger(Section, QString::fromLatin1(k), def); };
    const auto text = [&](const char* k, const QString& def) { return ini.ReadString(Section, QString::fromLatin1(k), def); };
    const auto yes = [&](const char* k, const char* def) { return text(k, QString::fromLatin1(def)) == QLatin1String("Y"); };
    // An ordinal outside its range leaves the setting as it is; a print position becomes none.
    const auto ordinal = [&](const char* k, int max, const std::function<void(int)>& set) {
        const int v = integer(k, 0);
        if (v >= 0 && v <= max) set(v);
    };
    const auto position = [&](const char* k) {
        const int v = integer(k, 0);
        return TPrintPosition(v >= 0 && v <= ppBottomCenter ? v : ppNone);
    };
    ps->SetColumnSpacing(integer("ColumnSpacing", 20));
    ps->SetRowSpacing(integer("RowSpacing", 20));
    ps->SetTitleSpacing(integer("TitleSpacing", 20));
    ps->SetFixedHeight(integer("FixedHeight", 0));
    ps->SetFixedWidth(integer("FixedWidth", 0));
    ps->SetCentered(yes("Centered", "Y"));
    ps->SetNoAutoSize(yes("NoAutoSize", "N"));
    ps->SetUseFixedHeight(yes("UseFixedHeight", "N"));
    ps->SetUseFixedWidth(yes("UseFixedWidth", "N"));
    ps->SetRepeatFixedRows(yes("RepeatFixedRows", "N"));
    ps->SetRepeatFixedCols(yes("RepeatFixedCols", "N"));
    ps->SetUseDisplayFont(yes("UseDisplFont", "N"));
    ps->SetUseDefaultOrientation(yes("UseDefOrientation", "N"));
    ordinal("Borders", pbCustom, [ps](int v) { ps->SetBorders(TPrintBorders(v)); });
    ps->SetBorderColor(integer("BorderColor", 0));
    ordinal("BorderStyle", psInsideFrame, [ps](int v) { ps->SetBorderStyle(TPenStyle(v)); });
    ps->SetDate(position("Date"));
    ps->SetPageNr(position("PageNr"));
    ps->SetTitle(position("Title"));
    ps->SetTime(position("Time"));
    ps->SetDateFormat(text("DateFormat", QString()));
    ps->SetTitleText(text("TitleText", QString()));
    ps->SetFooterSize(integer("FooterSize", 100));
    ps->SetHeaderSize(integer("HeaderSize", 100));
    ps->SetLeftSize(integer("LeftSize", 100));
    ps->SetRightSize(integer("RightSize", 100));
    ordinal("FitToPage", fpCustom, [ps](int v) { ps->SetFitToPage(TFitToPage(v)); });
    for (const auto& [prefix, font] : PrintFonts(ps)) {
        font->SetName(ini.ReadString(Section, prefix + QStringLiteral("FontName"), QStringLiteral("Arial")));
        const int size = ini.ReadInteger(Section, prefix + QStringLiteral("FontSize"), 10);
        font->SetSize(size > 0 && size <= 1000 ? size : 10);
        // The stored bits are the whole style, so a style stored plain reads back plain.
        font->SetStyle(StylesOfBits(ini.ReadInteger(Section, prefix + QStringLiteral("FontStyle"), 0)));
        font->SetColor(ini.ReadInteger(Section, prefix + QStringLiteral("FontColor"), 0));
    }
    ps->SetPageNumSep(text("PageNumSep", QString()));
    ps->SetPageSuffix(text("PageSuffix", QString()));
    ps->SetPagePrefix(text("PagePrefix", QString()));
    ordinal("Orientation", poLandscape, [ps](int v) { ps->SetOrientation(TPrinterOrientation(v)); });
    QStringList lines = text("TitleLines", QString()).split(QStringLiteral("\\n"));
    // The value ends with a line break after its last line.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    ps->SetTitleLines(lines);
    ps->SetPrintGraphics(yes("PrintGraphics", "N"));
    ini.TryUpdateFile();
}

// ---- scaling ---------------------------------------------------------------------------------

void TProStringGrid::ApplyScaleChange(int M, int D)
{
    if (FDesigning || M == D || D == 0) return;
    FFixedFont.SetSize(MulDiv(FFixedFont.Size(), M, D));
    FActiveCellFont.SetSize(MulDiv(FActiveCellFont.Size(), M, D));
}
