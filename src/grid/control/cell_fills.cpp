// Cell checks through a checker component, generated fills, dates and times as cell texts,
// repainting parts of the grid, and moving the current cell, including the advance to the
// next cell after Enter.
#include "grid/control/pro_inplace_edit.h"
#include "grid/control/pro_string_grid.h"

#include "platform/core/date_text.h"

#include <QRandomGenerator>
#include <QRegularExpression>

namespace {
const QString kInvalidRow = QStringLiteral("Invalid row accessed");
const QString kInvalidCol = QStringLiteral("Invalid column accessed");

// The run-time's Format with integer arguments: %[index:][-][width][.precision]type, with
// d, u, x and X; any other type, or more specifiers than arguments, is an error.
QString FormatInts(const QString& Fmt, const std::vector<int>& Args)
{
    auto bad = [&]() -> QString {
        throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(Fmt));
    };
    QString out;
    size_t next = 0;
    const int n = int(Fmt.size());
    for (int i = 0; i < n; ++i) {
        if (Fmt[i] != QLatin1Char('%')) {
            out += Fmt[i];
            continue;
        }
        if (++i >= n) return bad();
        if (Fmt[i] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            continue;
        }
        auto number = [&](int& v) {
            const int start = i;
            v = 0;
            while (i < n && Fmt[i].isDigit()) v = v * 10 + Fmt[i++].digitValue();
            return i > start;
        };
        int v = 0;
        const int save = i;
        if (number(v) && i < n && Fmt[i] == QLatin1Char(':')) {
            next = size_t(v);
            ++i;
        } else {
            i = save;
        }
        bool left = false;
        if (i < n && Fmt[i] == QLatin1Char('-')) {
            left = true;
            ++i;
        }
        int width = 0, prec = -1;
        number(width);
        if (i < n && Fmt[i] == QLatin1Char('.')) {
            ++i;
            number(prec);
        }
        if (i >= n || next >= Args.size()) return bad();
        const int a = Args[next++];
        QString t;
        switch (Fmt[i].unicode()) {
        case 'd':
        case 'D':
            t = QString::number(std::abs(qint64(a)));
            if (prec > 0) t = t.rightJustified(prec, QLatin1Char('0'));
            if (a < 0) t.prepend(QLatin1Char('-'));
            break;
        case 'u':
        case 'U':
            t = QString::number(quint32(a));
            if (prec > 0) t = t.rightJustified(prec, QLatin1Char('0'));
            break;
        case 'x':
        case 'X':
            t = QString::number(quint32(a), 16).toUpper();
            if (prec > 0) t = t.rightJustified(prec, QLatin1Char('0'));
            break;
        default: return bad();
        }
        out += left ? t.leftJustified(width, QLatin1Char(' ')) : t.rightJustified(width, QLatin1Char(' '));
    }
    return out;
}
}  // namespace

// ---- checks --------------------------------------------------------------------------------

bool TProStringGrid::CheckCell(int ACol, int ARow)
{
    if (ACol < 0 || ACol >= TotalColCount()) throw EProGridError(kInvalidCol);
    if (ARow < 0 || ARow >= RowCount()) throw EProGridError(kInvalidRow);
    if (!FCellChecker) return true;
    const QString t = UnMarkText(Cells(ACol, ARow));
    if (FCellChecker->GotoCell()) MoveToCell(RealToDisplColumn(ACol), ARow);
    QString s = t;
    if (FCellChecker->UseCorrect()) s = FCellChecker->Correct(ACol, ARow, t);
    // both get the unmarked text: with both on, the marked text is kept
    if (FCellChecker->UseMarkError()) s = FCellChecker->MarkError(ACol, ARow, t);
    SetCells(ACol, ARow, s);
    return s == t;
}

bool TProStringGrid::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    if (FromCol <= ToCol && (FromCol < 0 || ToCol >= TotalColCount())) throw EProGridError(kInvalidCol);
    if (FromRow <= ToRow && (FromRow < 0 || ToRow >= RowCount())) throw EProGridError(kInvalidRow);
    if (!FCellChecker) return true;
    QPointer<TProStringGridCheck> checker = FCellChecker;
    checker->StartCheck();
    const int row = GetRowEx(), col = Col();
    bool result = true;
    for (int r = FromRow; r <= ToRow && checker; ++r)
        for (int c = FromCol; c <= ToCol && checker; ++c)
            if (!CheckCell(c, r)) result = false;
    if (!checker) return result;
    checker->StopCheck();
    if (checker->GotoCell()) MoveToCell(col, row);
    return result;
}

bool TProStringGrid::CheckCol(bool DoFixed, int ACol)
{
    if (DoFixed) return CheckCells(ACol, 0, ACol, RowCount() - 1);
    return CheckCells(ACol, FixedRows(), ACol, RowCount() - FixedFooters() - 1);
}

bool TProStringGrid::CheckRow(bool DoFixed, int ARow)
{
    if (DoFixed) return CheckCells(0, ARow, ColCount() - 1, ARow);
    return CheckCells(FixedCols(), ARow, ColCount() - FixedRightCols() - 1, ARow);
}

bool TProStringGrid::CheckGrid(bool DoFixed)
{
    if (DoFixed) return CheckCells(0, 0, ColCount() - 1, RowCount() - 1);
    return CheckCells(FixedCols(), FixedRows(), ColCount() - FixedRightCols() - 1, RowCount() - FixedFooters() - 1);
}

// ---- fills ---------------------------------------------------------------------------------

void TProStringGrid::FillCells(bool DoFixed, const std::function<QString(int, int)>& Text)
{
    const int c1 = DoFixed ? 0 : FixedCols(), r1 = DoFixed ? 0 : FixedRows();
    const int c2 = DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    const int r2 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    BeginUpdate();
    struct End {
        TProStringGrid* G;
        ~End() { G->EndUpdate(); }
    } end{this};
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c) SetCells(c, r, Text(c, r));
    CellsLoaded();
}

void TProStringGrid::TextFill(bool DoFixed, const QString& Txt)
{
    FillCells(DoFixed, [&](int, int) { return Txt; });
}

void TProStringGrid::FormatFill(bool DoFixed, const QString& Fmt)
{
    // A format that does not take two integers fails before any cell changes.
    FormatInts(Fmt, {0, 0});
    FillCells(DoFixed, [&](int c, int r) { return FormatInts(Fmt, {c, r}); });
}

void TProStringGrid::RandomFill(bool DoFixed, int Rnd)
{
    FillCells(DoFixed, [&](int, int) {
        return QString::number(Rnd > 0 ? QRandomGenerator::global()->bounded(Rnd) : 0);
    });
}

void TProStringGrid::LinearFill(bool DoFixed)
{
    FillCells(DoFixed, [](int c, int r) { return QString::number(c) + QLatin1Char(':') + QString::number(r); });
}

// ---- dates and times -----------------------------------------------------------------------

void TProStringGrid::SetDates(int ACol, int ARow, TDateTime Value)
{
    if (ACol < 0 || ACol >= TotalColCount()) throw EProGridError(kInvalidCol);
    if (ARow < 0 || ARow >= RowCount()) throw EProGridError(kInvalidRow);
    SetCells(ACol, ARow, Value > 0 || FShowNullDates ? DateToStr(Value) : QString());
}

TDateTime TProStringGrid::GetDates(int ACol, int ARow)
{
    if (ACol < 0 || ACol >= TotalColCount()) throw EProGridError(kInvalidCol);
    if (ARow < 0 || ARow >= RowCount()) throw EProGridError(kInvalidRow);
    return StrToDate(Cells(ACol, ARow));
}

void TProStringGrid::SetTimes(int ACol, int ARow, TDateTime Value)
{
    if (ACol < 0 || ACol >= TotalColCount()) throw EProGridError(kInvalidCol);
    if (ARow < 0 || ARow >= RowCount()) throw EProGridError(kInvalidRow);
    SetCells(ACol, ARow, TimeToStr(Value));
}

TDateTime TProStringGrid::GetTimes(int ACol, int ARow)
{
    if (ACol < 0 || ACol >= TotalColCount()) throw EProGridError(kInvalidCol);
    if (ARow < 0 || ARow >= RowCount()) throw EProGridError(kInvalidRow);
    return StrToTime(Cells(ACol, ARow));
}

// ---- repainting ----------------------------------------------------------------------------

void TProStringGrid::RepaintRow(int ARow)
{
    if (!HandleAllocated() || !isVisible() || ARow < 0 || ARow >= RowCount() || ColCount() == 0) return;
    // the row's band over the whole width; nothing when the row is out of view
    const TRect r = TStringGrid::CellRect(FixedCols() > 0 ? 0 : LeftCol(), ARow);
    if (IsRectEmpty(r)) return;
    InvalidateClientRect(TRect{0, r.Top, ClientWidth(), r.Bottom});
}

void TProStringGrid::RepaintCol(int ACol)
{
    if (!HandleAllocated() || !isVisible() || ACol < 0 || ACol >= ColCount() || RowCount() == 0) return;
    const TRect r = TStringGrid::CellRect(ACol, FixedRows() > 0 ? 0 : TopRow());
    if (IsRectEmpty(r)) return;
    InvalidateClientRect(TRect{r.Left, 0, r.Right, ClientHeight()});
}

void TProStringGrid::RepaintRect(TRect r)
{
    if (r.Left < 0 || r.Top < 0 || r.Right < 0 || r.Bottom < 0) return;
    if (!HandleAllocated() || !isVisible()) return;
    const TRect a = CellRect(r.Left, r.Top);
    const TRect b = CellRect(std::min(VisibleColCount() + FixedCols(), r.Right), r.Bottom);
    // a corner off screen: the whole grid
    if (IsRectEmpty(a) || IsRectEmpty(b)) {
        Invalidate();
        return;
    }
    TRect u;
    UnionRect(u, a, b);
    InvalidateClientRect(u);
}

// ---- moving the current cell ---------------------------------------------------------------

void TProStringGrid::MoveToCell(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) {
        // a grid without such a cell (all rows hidden): only the selection follows
        SetSelection(TGridRect{ACol, ARow, ACol, ARow});
        return;
    }
    MoveColRow(ACol, ARow, true, true);
}

void TProStringGrid::GotoCell(int ACol, int ARow)
{
    if (ACol < 0 || ACol >= ColCount()) throw EProGridError(kInvalidCol);
    if (ARow < 0 || ARow >= RowCount()) throw EProGridError(kInvalidRow);
    SetRowEx(ARow);
    SetCol(ACol);
}

void TProStringGrid::EditCell(int ACol, int ARow)
{
    if (ACol < 0 || ACol >= ColCount()) throw EProGridError(kInvalidCol);
    if (ARow < 0 || ARow >= RowCount()) throw EProGridError(kInvalidRow);
    SetFocus();
    GotoCell(ACol, ARow);
    ShowInplaceEdit();
}

void TProStringGrid::FocusCell(int ACol, int ARow)
{
    if (ACol < 0 || ACol >= ColCount()) throw EProGridError(kInvalidCol);
    if (ARow < 0 || ARow >= RowCount()) throw EProGridError(kInvalidRow);
    SetGridSelection(TGridRect{ACol, ARow, ACol, ARow});
}

bool TProStringGrid::IsCell(const QString& SubStr, int& ACol, int& ARow)
{
    for (int r = 0; r < RowCount(); ++r) {
        for (int c = 0; c < TotalColCount(); ++c) {
            if (GetGridCell(c, r) == SubStr) {
                ACol = c;
                ARow = r;
                return true;
            }
        }
    }
    return false;
}

bool TProStringGrid::IsWideCell(int ACol, int ARow)
{
    if (ACol < 0 || ACol >= TotalColCount()) throw EProGridError(kInvalidCol);
    if (ARow < 0 || ARow >= RowCount()) throw EProGridError(kInvalidRow);
    return Cells(ACol, ARow).startsWith(QLatin1String("|\\"));
}

TForm* TProStringGrid::FindParentForm(QWidget* Control)
{
    for (QWidget* w = Control; w; w = w->parentWidget())
        if (auto* f = dynamic_cast<TForm*>(w)) return f;
    return nullptr;
}

// ---- the search footer ---------------------------------------------------------------------

bool TProStringGrid::LastRowAboveSearchFooter()
{
    if (!FSearchFooter->Visible() || RowCount() == 0) return false;
    if (GetTopRowEx() + VisibleRowCount() < RowCount() - 1) return false;
    const TRect r = TStringGrid::CellRect(FixedCols() > 0 ? 0 : LeftCol(), RowCount() - 1);
    const int panel = FSearchPanel ? FSearchPanel->height() : 0;
    return !IsRectEmpty(r) && r.Bottom < ClientHeight() - panel + 2;
}

void TProStringGrid::ScrollAboveSearchFooter()
{
    if (!FSearchFooter->Visible() || RowCount() == 0) return;
    const int panel = FSearchPanel ? FSearchPanel->height() : 0;
    if (ClientHeight() <= DefaultRowHeight() + panel) return;
    const int limit = ClientHeight() - panel;
    while (GetRowEx() < RowCount() && GetTopRowEx() < RowCount()) {
        const TRect r = TStringGrid::CellRect(FixedCols() > 0 ? 0 : LeftCol(), RowCount() - 1);
        if (!IsRectEmpty(r) && r.Bottom <= limit) break;
        const int top = GetTopRowEx();
        SetTopRowEx(top + 1);
        if (GetTopRowEx() == top) break;  // the platform keeps the top row where it is
    }
}

// ---- the advance after Enter ---------------------------------------------------------------

// One step from (ACol, ARow) as Navigation directs; False when the advance must stop where
// it is (a row could not be added, or the new row has nothing to edit).
bool TProStringGrid::AdvanceStep(int& ACol, int& ARow, bool Forward, TPoint S)
{
    TNavigation* nav = FNavigation.get();
    const TAdvanceDirection dir = nav->AdvanceDirection();
    const int firstCol = FixedCols() == 0 && HasNodes() ? 1 : FixedCols();
    const int lastRow = RowCount() - FixedFooters() - 1;
    const int lastCol = ColCount() - FixedRightCols() - 1;
    if (Forward && (dir == adLeftRight || dir == adLeftRightInRow)) {
        const int lastShown = ColCount() - 1 - VisibleFixedRightCols();
        if (ACol + S.X < lastShown) {
            ACol += S.X + 1;
        } else if (dir == adLeftRightInRow) {
            if (nav->AdvanceOnEnterLoop()) ACol = firstCol;
        } else if (ARow + S.Y < lastRow) {
            ARow += S.Y + 1;
            ACol = firstCol;
        } else if (nav->AdvanceInsert()) {
            bool canAdd = true;
            CanAddRow(canAdd);
            if (!canAdd) return false;
            ACol = firstCol;
            AddRow();
            ARow = RowCount() - FixedFooters() - 1;
            if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
            bool any = false;
            for (int c = firstCol; c <= lastShown && !any; ++c) any = IsEditable(RealColIndex(c), ARow);
            if (!any) return false;
        } else if (nav->AdvanceOnEnterLoop()) {
            ARow = FixedRows();
            ACol = firstCol;
        }
    } else if (Forward) {
        if (ARow + S.Y < lastRow) {
            ARow += S.Y + 1;
        } else if (dir == adTopBottomInCol) {
            ARow = FixedRows();
        } else if (dir == adTopBottom) {
            if (ACol + S.X < lastCol) {
                ARow = FixedRows();
                ACol += S.X + 1;
                if (ACol >= ColCount()) ACol = firstCol;
            } else if (nav->AdvanceInsert()) {
                SetColCount(ColCount() + 1);
                ACol += S.X + 1;
                ARow = FixedRows();
                if (OnAutoInsertCol) OnAutoInsertCol(this, ColCount() - FixedRightCols() - 1);
            } else {
                ACol = firstCol;
                ARow = FixedRows();
            }
            Invalidate();
        }
    } else if (dir == adLeftRight) {
        if (ACol > firstCol) {
            --ACol;
        } else {
            ARow = ARow > FixedRows() ? ARow - 1 : lastRow;
            ACol = lastCol;
        }
    } else if (dir == adTopBottom) {
        if (ARow > FixedRows()) {
            --ARow;
        } else {
            ACol = ACol > firstCol ? ACol - 1 : lastCol;
            ARow = lastRow;
        }
    }
    return true;
}

void TProStringGrid::AdvanceEdit(int ACol, int ARow, bool Always, bool AutoEdit, bool Forward, bool Recursing,
                                 bool DoEdit)
{
    TNavigation* nav = FNavigation.get();
    if (!nav->AdvanceOnEnter() && !Always) return;
    if (ColCount() == 0 || RowCount() == 0) return;
    if (FMouseActions->RangeSelectAndEdit()) SetOptions(Options() + goEditing);
    if (!Recursing) {
        FAECol = ACol;
        FAERow = ARow;
    }
    const int c0 = ACol, r0 = ARow;
    FStartEditChar = QChar();
    // Skipping read-only cells goes at most once round the grid: a grid without an editable
    // cell ends where the round ends instead of looping for ever.
    const int bound = std::max(1, ColCount() * RowCount());
    bool editable = true;
    for (int step = 0;; ++step) {
        const TPoint S = CellSpan(RealColIndex(ACol), ARow);
        if (!AdvanceStep(ACol, ARow, Forward, S)) return;
        editable = true;
        CanEditCell(RealColIndex(ACol), ARow, editable);
        if (editable || !nav->AdvanceSkipReadOnlyCells() || step >= bound) break;
        if (ACol == c0 && ARow == r0) break;
    }
    if (editable) {
        bool Allow = true;
        if (OnAutoAdvance) OnAutoAdvance(this, FAERow, FAECol, ARow, ACol, Allow);
        if (Allow && OnCellChanging) OnCellChanging(this, FAERow, FAECol, ARow, ACol, Allow);
        FDisableChange = true;
        if (Allow && ACol >= 0 && ACol < ColCount() && ARow >= 0 && ARow < RowCount()) MoveToCell(ACol, ARow);
        else MoveToCell(FAECol, FAERow);
        FDisableChange = false;
    } else {
        MoveToCell(ACol, ARow);
    }

    if (DoEdit) {
        const int rc = RealColIndex(Col());
        const bool control = HasClickControl(rc, Row());
        bool canEdit = true;
        CanEditCell(rc, Row(), canEdit);
        if (((AutoEdit && nav->AdvanceAutoEdit()) || control) && canEdit) {
            ShowInplaceEdit();
            if (control) {
                const int nc = Col(), nr = Row();
                FDisableChange = true;
                MoveToCell(c0, r0);
                MoveToCell(nc, nr);
                FDisableChange = false;
                if (!HasClickControl(RealColIndex(c0), r0)) SimulateCellClick(nc, nr);
                if (nav->AdvanceDirection() != adLeftRight) HideInplaceEdit();
                bool ignored = true;
                if (OnCellChanging) OnCellChanging(this, r0, c0, Row(), Col(), ignored);
                TEditorType kind = FDefaultEditor;
                GetCellEditor(RealColIndex(c0), r0, kind);
                switch (kind) {
                case edNormal:
                case edNumeric:
                case edPositiveNumeric:
                case edFloat:
                case edCapital:
                case edMixedCase:
                case edPassword:
                case edLowerCase:
                case edUpperCase:
                case edPositiveFloat: break;
                default: HideInplaceEdit(); break;
                }
            }
        }
    }
    if (FMouseActions->DisjunctRowSelect()) {
        ClearRowSelect();
        SetRowSelect(Row(), true);
    }
}

QString TProStringGrid::UnMarkText(const QString& S)
{
    static const QRegularExpression tag(QStringLiteral("<\\s*/?\\s*e\\s*>"), QRegularExpression::CaseInsensitiveOption);
    QString r = S;
    r.remove(tag);
    r.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    r.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return r;
}
