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
        if (Saving) {
            FIni->UpdateFile();
            return;
        }
        try {
            FIni->UpdateFile();
        } catch (const Exception&) {
        }
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
    place.Close(true);
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
