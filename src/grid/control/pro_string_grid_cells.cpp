// Cell access on top of the store: typed values, access by real row into hidden rows, the
// current cell and the used area.
#include "grid/base/number_routines.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/sysutils.h"

#include <QLocale>
#include <cmath>

namespace {

const QString kNoInteger = QStringLiteral("Cell does not contain integer value");
const QString kNoFloat = QStringLiteral("Cell does not contain a float value");

}  // namespace

// Cell text without its markup: line-break tags become line breaks, other tags go.
QString StripCellHtml(const QString& s)
{
    if (!s.contains(QLatin1Char('<'))) return s;
    QString out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] != QLatin1Char('<')) {
            out += s[i];
            continue;
        }
        const int close = s.indexOf(QLatin1Char('>'), i);
        if (close < 0) {
            out += s.mid(i);
            break;
        }
        const QString tag = s.mid(i + 1, close - i - 1).trimmed().toUpper();
        if (tag == QLatin1String("BR") || tag.startsWith(QLatin1String("BR ")) || tag == QLatin1String("BR/") ||
            tag == QLatin1String("HR") || tag.startsWith(QLatin1String("HR ")) || tag == QLatin1String("HR/"))
            out += QStringLiteral("\r\n");
        i = close;
    }
    return out;
}

namespace {

int CellTextToInt(const QString& text)
{
    const QString s = Trim(text);
    if (s.isEmpty() || s == QLatin1String("-")) return 0;
    int v = 0;
    if (!TryStrToInt(s, v)) throw EProGridError(kNoInteger);
    return v;
}

double CellTextToFloat(const QString& text)
{
    const QString t = Trim(text);
    if (t.isEmpty() || t == QLatin1String("-")) return 0;
    // Normalising drops leading characters that cannot start a number; a text that loses
    // everything that way held no number at all.
    const QString s = NormalizeNumberText(t);
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v)) throw EProGridError(kNoFloat);
    return v;
}

}  // namespace

// Formats one floating-point value with a printf-style format holding exactly one
// conversion (e, f, g or n) of at most three-digit width and precision; any other format raises the conversion error instead of
// reading an argument that is not there.
QString FormatFloatValue(const QString& format, double value)
{
    QString out;
    int conversions = 0;
    for (int i = 0; i < format.size(); ++i) {
        if (format[i] != QLatin1Char('%')) {
            out += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        int j = i + 1;
        QString flags, width, precision;
        while (j < format.size() && QStringLiteral("-+ 0#").contains(format[j])) flags += format[j++];
        while (j < format.size() && format[j].isDigit()) width += format[j++];
        if (j < format.size() && format[j] == QLatin1Char('.')) {
            ++j;
            while (j < format.size() && format[j].isDigit()) precision += format[j++];
            if (precision.isEmpty()) precision = QStringLiteral("0");
        }
        // A width or precision beyond any readable number (a format can come from a file)
        // would make the formatter allocate gigabytes.
        if (j >= format.size() || ++conversions > 1 || width.size() > 3 || precision.size() > 3)
            throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format));
        const QChar conv = format[j].toLower();
        QString spec = QLatin1Char('%') + flags + width;
        if (!precision.isEmpty()) spec += QLatin1Char('.') + precision;
        if (conv == QLatin1Char('e') || conv == QLatin1Char('f') || conv == QLatin1Char('g')) {
            spec += conv;
            out += QString::asprintf(spec.toLatin1().constData(), value);
        } else if (conv == QLatin1Char('n')) {
            // Fixed point with thousand separators.
            const int prec = precision.isEmpty() ? 2 : precision.toInt();
            QLocale grouped = QLocale::c();
            grouped.setNumberOptions({});
            out += grouped.toString(value, 'f', prec);
        } else {
            throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format));
        }
        i = j;
    }
    if (conversions == 0)
        throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format));
    return out;
}

namespace {

TGridItem* FindHidden(const std::vector<std::unique_ptr<TGridItem>>& items, int ARow)
{
    for (const auto& i : items)
        if (i->Idx() == ARow) return i.get();
    return nullptr;
}

}  // namespace

QString TProStringGrid::GetStrippedCell(int ACol, int ARow) { return StripCellHtml(Cells(ACol, ARow)); }

// ---- by real row ---------------------------------------------------------------------------

QString TProStringGrid::GetCellsEx(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return QString();
    if (TGridItem* item = FindHidden(FGridItems, ARow)) {
        QString s = item->Cell(ACol);
        GetDisplText(ACol, ARow, s);
        return s;
    }
    return Cells(ACol, RealToDisplRow(ARow));
}

void TProStringGrid::SetCellsEx(int ACol, int ARow, const QString& Value)
{
    if (ACol < 0 || ARow < 0) return;
    if (TGridItem* item = FindHidden(FGridItems, ARow)) {
        item->SetCell(ACol, Value);
        return;
    }
    const int r = RealToDisplRow(ARow);
    SetCells(ACol, r, Value);
    if (RealToDisplColumn(ACol) != ACol) InvalidateCell(RealToDisplColumn(ACol), r);
}

QString TProStringGrid::GetGridCellsEx(int ACol, int ARow)
{
    if (TGridItem* item = FindHidden(FGridItems, ARow)) {
        if (ACol < 0 || ACol >= StoreColCount())
            throw EListError(QStringLiteral("List index out of bounds (%1)").arg(ACol));
        return item->Cell(ACol);
    }
    return GetGridCell(ACol, RealToDisplRow(ARow));
}

void TProStringGrid::SetGridCellsEx(int ACol, int ARow, const QString& Value)
{
    if (TGridItem* item = FindHidden(FGridItems, ARow)) {
        if (ACol < 0 || ACol >= StoreColCount())
            throw EListError(QStringLiteral("List index out of bounds (%1)").arg(ACol));
        item->SetCell(ACol, Value);
        return;
    }
    SetGridCell(ACol, RealToDisplRow(ARow), Value);
}

TObject* TProStringGrid::GetObjectsEx(int ACol, int ARow)
{
    if (TGridItem* item = FindHidden(FGridItems, ARow)) {
        TObject* o = item->Object(ACol);
        if (auto* p = dynamic_cast<TCellProperties*>(o)) return reinterpret_cast<TObject*>(p->CellObject());
        return o;
    }
    return GetObjectEx(ACol, RealToDisplRow(ARow));
}

void TProStringGrid::SetObjectsEx(int ACol, int ARow, TObject* AObject)
{
    if (ACol < 0) return;
    if (TGridItem* item = FindHidden(FGridItems, ARow)) {
        if (auto* p = dynamic_cast<TCellProperties*>(item->Object(ACol)))
            p->SetCellObject(reinterpret_cast<uintptr_t>(AObject));
        else
            item->SetObject(ACol, AObject);
        return;
    }
    SetObjectEx(ACol, RealToDisplRow(ARow), AObject);
}

TObject* TProStringGrid::GetGridObjectsEx(int ACol, int ARow)
{
    if (TGridItem* item = FindHidden(FGridItems, ARow)) {
        return item->Object(ACol);
    }
    return GetGridObject(ACol, RealToDisplRow(ARow));
}

// ---- typed values ------------------------------------------------------------------------

int TProStringGrid::GetInts(int ACol, int ARow) { return CellTextToInt(GetStrippedCell(ACol, ARow)); }

void TProStringGrid::SetInts(int ACol, int ARow, int Value)
{
    SetCells(ACol, ARow, IntToStr(Value));
    if (FNumHidden > 0) InvalidateCell(RealToDisplColumn(ACol), ARow);
}

int TProStringGrid::GetAllInts(int ACol, int ARow) { return CellTextToInt(GetCellsEx(ACol, ARow)); }

void TProStringGrid::SetAllInts(int ACol, int ARow, int Value) { SetCellsEx(ACol, ARow, IntToStr(Value)); }

double TProStringGrid::GetFloats(int ACol, int ARow) { return CellTextToFloat(GetStrippedCell(ACol, ARow)); }

void TProStringGrid::SetFloats(int ACol, int ARow, double Value)
{
    QString fmt = FFloatFormat;
    GetFloatFormat(ACol, ARow, fmt);
    SetCells(ACol, ARow, FormatFloatValue(fmt, Value));
}

double TProStringGrid::GetAllFloats(int ACol, int ARow) { return CellTextToFloat(GetCellsEx(ACol, ARow)); }

void TProStringGrid::SetAllFloats(int ACol, int ARow, double Value)
{
    SetCellsEx(ACol, ARow, FormatFloatValue(FFloatFormat, Value));
}

void TProStringGrid::GetFloatFormat(int ACol, int ARow, QString& AFloatFormat)
{
    (void)ACol;
    (void)ARow;
    (void)AFloatFormat;
}

// ---- positions -----------------------------------------------------------------------------

QString TProStringGrid::GetOriginalCells(int ACol, int ARow)
{
    const int c = ColumnPosition(ACol);
    return Cells(c == -1 ? ACol : c, ARow);
}

void TProStringGrid::SetOriginalCells(int ACol, int ARow, const QString& Value)
{
    const int c = ColumnPosition(ACol);
    SetCells(c == -1 ? ACol : c, ARow, Value);
}

int TProStringGrid::UnSortedRowIndex(int ARow)
{
    if (FSortRowXRef->Count() == 0) return ARow;
    const int i = FSortRowXRef->IndexOf(ARow);
    return i < 0 ? FSortRowXRef->Count() : i;
}

int TProStringGrid::SortedRowIndex(int ARow)
{
    const int r = (ARow >= 0 && ARow < FSortRowXRef->Count()) ? FSortRowXRef->GetInteger(ARow) : ARow;
    return DisplToRealRow(r);
}

QString TProStringGrid::GetUnSortedCell(int ACol, int ARow)
{
    const int r = FSortRowXRef->Count() >= ARow ? UnSortedRowIndex(ARow) : ARow;
    return Cells(ACol, FSortRowXRef->Count() == 0 ? ARow : r);
}

void TProStringGrid::SetUnSortedCell(int ACol, int ARow, const QString& Value)
{
    const int r = FSortRowXRef->Count() >= ARow ? UnSortedRowIndex(ARow) : ARow;
    SetCells(ACol, FSortRowXRef->Count() == 0 ? ARow : r, Value);
}

QString TProStringGrid::CurrentCell()
{
    int c = RealCol(), r = Row();
    ResolveBaseCell(RealCol(), Row(), c, r);
    return GetGridCell(c, r);
}

void TProStringGrid::SetCurrentCell(const QString& Value)
{
    int c = RealCol(), r = Row();
    ResolveBaseCell(RealCol(), Row(), c, r);
    SetCells(c, r, Value);
}

QString TProStringGrid::GetCurrentBaseCell()
{
    int c = RealCol(), r = Row();
    ResolveBaseCell(RealCol(), Row(), c, r);
    return Cells(c, r);
}

int TProStringGrid::GetLinesInCell(int ACol, int ARow) { return 1 + int(Cells(ACol, ARow).count(QLatin1Char('\r'))); }

TRect TProStringGrid::GetUsedCells()
{
    TRect used{0, 0, 0, 0};
    bool any = false;
    for (int r = 0; r < RowCount(); ++r) {
        for (int c = 0; c < ColCount(); ++c) {
            if (Cells(c, r).isEmpty()) continue;
            if (!any) {
                used = {c, r, c, r};
                any = true;
                continue;
            }
            used.Left = std::min(used.Left, c);
            used.Right = std::max(used.Right, c);
            used.Bottom = std::max(used.Bottom, r);
        }
    }
    return used;
}
