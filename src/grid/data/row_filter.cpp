// Row filtering: the row test, filter passes, narrowing down as typed, and FilterActive.
#include "grid/base/number_routines.h"
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/sysutils.h"

#include <algorithm>
#include <exception>

namespace {

// A condition that is a plain wildcard pattern ("*" any run, "?" one character, quotes only
// group) is matched here directly: the expression matcher would take the condition apart again
// for every row.  Anything with operators goes to the expression matcher.
struct TWildPattern {
    bool Plain = false;
    bool IgnoreCase = false;
    bool AnchorStart = true, AnchorEnd = true;
    std::vector<QString> Pieces;  // the texts between the stars
    std::vector<bool> HasAny;     // a piece holds "?"

    static TWildPattern Make(const QString& Condition, bool CaseSensitive)
    {
        TWildPattern p;
        QString s = StripUnquotedSpaces(Trim(Condition));
        if (s.startsWith(QLatin1Char('='))) s.remove(0, 1);
        for (QChar c : s)
            if (QStringLiteral("(;^&|<>!").contains(c)) return p;
        s.remove(QLatin1Char('"'));
        if (!CaseSensitive) s = s.toUpper();
        p.Plain = true;
        p.IgnoreCase = !CaseSensitive;
        p.AnchorStart = !s.startsWith(QLatin1Char('*'));
        p.AnchorEnd = !s.endsWith(QLatin1Char('*'));
        for (const QString& piece : s.split(QLatin1Char('*'), Qt::SkipEmptyParts)) {
            p.Pieces.push_back(piece);
            p.HasAny.push_back(piece.contains(QLatin1Char('?')));
        }
        // a pattern without stars is one piece held at both ends, the empty text too
        if (p.Pieces.empty() && p.AnchorStart) {
            p.Pieces.push_back(QString());
            p.HasAny.push_back(false);
        }
        return p;
    }

    static bool PieceAt(QStringView Piece, QStringView V, qsizetype At)
    {
        if (At < 0 || At + Piece.size() > V.size()) return false;
        for (qsizetype i = 0; i < Piece.size(); ++i)
            if (Piece[i] != QLatin1Char('?') && Piece[i] != V[At + i]) return false;
        return true;
    }

    static qsizetype FindPiece(QStringView Piece, bool Any, QStringView V, qsizetype From)
    {
        if (!Any) return V.indexOf(Piece, From);
        for (qsizetype at = From; at + Piece.size() <= V.size(); ++at)
            if (PieceAt(Piece, V, at)) return at;
        return -1;
    }

    // The value is upper-cased already when case is ignored.
    bool Match(QStringView V) const
    {
        const size_t n = Pieces.size();
        if (n == 0) return true;
        qsizetype from = 0;
        size_t first = 0, last = n;
        if (AnchorStart) {
            if (!PieceAt(Pieces[0], V, 0)) return false;
            from = Pieces[0].size();
            first = 1;
            if (n == 1 && AnchorEnd) return from == V.size();
        }
        qsizetype end = V.size();
        if (AnchorEnd && last > first) {
            const QString& tail = Pieces[n - 1];
            if (end - tail.size() < from || !PieceAt(tail, V, end - tail.size())) return false;
            end -= tail.size();
            --last;
        }
        // The pieces between go leftmost each: a later place never helps the ones after.
        const QStringView inner = V.left(end);
        for (size_t k = first; k < last; ++k) {
            const qsizetype at = FindPiece(Pieces[k], HasAny[k], inner, from);
            if (at < 0) return false;
            from = at + Pieces[k].size();
        }
        return true;
    }
};

}  // namespace

// The conditions of a pass, each read once before the rows are tested.
struct TProStringGrid::TFilterPlan {
    struct Item {
        const TFilterData* F;
        TWildPattern Wild;
        QString UpperCondition;
    };
    std::vector<Item> Items;

    explicit TFilterPlan(const TFilter& Filter)
    {
        for (int i = 0; i < Filter.Count(); ++i) {
            const TFilterData* f = Filter.GetItem(i);
            Item item{f, {}, {}};
            if (f->Data() == fcRow) item.UpperCondition = f->Condition().toUpper();
            else if (f->Method() == fmExpression && !f->Condition().isEmpty())
                item.Wild = TWildPattern::Make(f->Condition(), f->CaseSensitive());
            Items.push_back(std::move(item));
        }
    }
};

namespace {

bool MatchCondition(const TFilterData& F, const TWildPattern& Wild, const QString& UpperCondition, QString Text)
{
    if (F.Data() == fcRow) return Text.toUpper().contains(UpperCondition);
    if (!F.Prefix().isEmpty() && Text.startsWith(F.Prefix())) Text.remove(0, F.Prefix().size());
    if (!F.Suffix().isEmpty()) {
        // only a suffix whose first occurrence ends the text is taken off
        const qsizetype at = Text.indexOf(F.Suffix());
        if (at >= 0 && at + F.Suffix().size() == Text.size()) Text.truncate(at);
    }
    if (F.Condition().isEmpty()) return true;
    if (F.Method() == fmLiteral) return Text == F.Condition();
    if (Wild.Plain) return Wild.Match(Wild.IgnoreCase ? Text.toUpper() : Text);
    return MatchFilterExpression(F.Condition(), Text, F.CaseSensitive());
}

}  // namespace

bool TProStringGrid::RowMatchesFilter(int ARow)
{
    if (FFilterPlan) return RowMatchesPlan(*FFilterPlan, ARow);
    const TFilterPlan plan(*FFilter);
    return RowMatchesPlan(plan, ARow);
}

bool TProStringGrid::RowMatchesPlan(const TFilterPlan& Plan, int ARow)
{
    bool Result = true;
    for (const TFilterPlan::Item& item : Plan.Items) {
        const TFilterData& F = *item.F;
        const int col = F.Column();
        QString text;
        switch (F.Data()) {
        case fcVirtual: text = Cells(col, ARow); break;
        case fcNormal: text = GetGridCell(col, ARow); break;
        case fcStripHTML: text = GetStrippedCell(col, ARow); break;
        case fcCalculated: GetCellText(col, ARow, text); break;
        case fcRow: {
            QStringList cells;
            for (int c = 0; c < ColCount(); ++c) cells << Cells(DisplToRealColumn(c), ARow);
            text = cells.join(QLatin1String("\r\n"));
            break;
        }
        }
        // unpacked before trimming: a packed character whose low byte is a blank would
        // otherwise be cut off
        if (text.contains(QLatin1String("|\\"))) text = UnpackWideText(TrimLeft(text));
        text = Trim(text);
        bool match = false;
        try {
            match = MatchCondition(F, item.Wild, item.UpperCondition, text);
        } catch (const std::exception&) {
            match = false;
        }
        switch (F.Operation()) {
        case foSHORT: Result = match; break;
        case foNONE: Result = match; break;
        case foAND: Result = Result && match; break;
        case foXOR: Result = Result != match; break;
        case foOR: Result = Result || match; break;
        }
        if (F.Operation() == foSHORT && !match) break;
    }
    if (OnCustomFilter) OnCustomFilter(this, ARow, Result);
    return Result;
}

// ---- filter passes ---------------------------------------------------------------------------

void TProStringGrid::ApplyFilter()
{
    FFilterFixedRows = FixedRows();
    const int first = FixedRows(), last = RowCount() - FFixedFooters - 1;
    const int total = RowCount() - FFixedFooters - FixedRows();
    const TFilterPlan plan(*FFilter);
    FFilterPlan = &plan;
    std::vector<int> failing;
    int tested = 0;
    try {
        for (int r = first; r <= last; ++r) {
            if (FFilterNormalCellsOnly && (IsNode(r) || IsSummary(r))) continue;
            if (!RowMatchesFilter(r)) failing.push_back(r);
            ++tested;
            if (OnFilterProgress && total > 0) OnFilterProgress(this, int(Round(tested * 100.0 / total)));
        }
    } catch (...) {
        FFilterPlan = nullptr;
        throw;
    }
    FFilterPlan = nullptr;
    // One pass, however many rows it hides: they leave the store together.
    HideFilterPass(std::move(failing));
    if (OnFilterProgress) OnFilterProgress(this, 100);
}

void TProStringGrid::RestoreLastPass()
{
    UnHideRowList();
    if (FixedRows() != FFilterFixedRows && FFilterFixedRows < RowCount()) SetFixedRows(FFilterFixedRows);
    if (FSelHidden) UnHideSelection();
    CalcFooter(-1);
}

bool TProStringGrid::RemoveLastFilter()
{
    if (FFilterLevel <= 0) return false;
    RestoreLastPass();
    --FFilterLevel;
    return FFilterLevel > 0;
}

void TProStringGrid::RemoveAllFilters()
{
    if (FFilterLevel == 0) {
        FFilter->Clear();
        return;
    }
    BeginUpdate();
    while (FFilterLevel > 0) RemoveLastFilter();
    EndUpdate();
}

void TProStringGrid::FilterRow(int ARow)
{
    if (!RowMatchesFilter(ARow)) HideRow(DisplToRealRow(ARow));
}

void TProStringGrid::SetFilterActive(bool Value)
{
    if (Value != FFilter->FFilterActive) {
        FFilter->FFilterActive = Value;
        if (Value) {
            if (Row() >= RowCount() || Col() >= ColCount()) MoveToCell(FixedCols(), FixedRows());
            BeginUpdate();
            try {
                ApplyFilter();
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
            FSelHidden = false;
        } else if (FFilterLevel > 0) {
            // The pass goes with its level, so that the next pass, or narrowing back by a
            // letter, finds the levels as the passes stand.
            RestoreLastPass();
            --FFilterLevel;
        }
        if (FixedRows() < RowCount()) SetTopRow(FixedRows());
        if (FFilter->OnActiveChange) FFilter->OnActiveChange(FFilter.get());
    }
    CalcFooter(-1);
}

bool TProStringGrid::PauseFilter()
{
    if (!FilterActive()) return false;
    const int real = DisplToRealRow(Row());
    SetFilterActive(false);
    if (RowCount() > FixedRows()) SetRow(std::clamp(RealToDisplRow(real), FixedRows(), RowCount() - 1));
    return true;
}

int TProStringGrid::ResumeFilter(bool WasActive, int KeepRow)
{
    if (!WasActive) return KeepRow;
    const int real = DisplToRealRow(KeepRow);
    SetFilterActive(true);
    return std::clamp(RealToDisplRow(real), FixedRows(), std::max(FixedRows(), RowCount() - 1));
}

void TFilter::SetFilterActive(bool Value)
{
    if (FOwner) {
        FOwner->SetFilterActive(Value);
        return;
    }
    if (Value == FFilterActive) return;
    FFilterActive = Value;
    if (OnActiveChange) OnActiveChange(this);
}

// ---- narrowing down as typed -----------------------------------------------------------------

void TProStringGrid::ReplaceNarrowCondition(const QString& ACondition, int AColumn)
{
    FFilter->Clear();
    TFilterData* f = FFilter->Add();
    f->SetCaseSensitive(false);
    f->SetColumn(int16_t(AColumn));
    if (AColumn == -1) {
        f->SetData(fcRow);
        f->SetCondition(ACondition);
    } else {
        f->SetData(fcNormal);
        QString c = QLatin1Char('*') + ACondition + QLatin1Char('*');
        if (c.contains(QLatin1Char(' '))) c = QLatin1Char('"') + c + QLatin1Char('"');
        f->SetCondition(c);
    }
}

void TProStringGrid::NarrowDown(const QString& ACondition, int AColumn)
{
    FFixedRowAlways = true;
    const QString& last = FLastFilter;
    if (ACondition.size() == last.size() + 1 && ACondition.startsWith(last)) {
        // a letter more: a further pass over what is left
        ReplaceNarrowCondition(ACondition, AColumn);
        ApplyFilter();
    } else if (!ACondition.isEmpty() && last.size() == ACondition.size() + 1 && last.startsWith(ACondition)) {
        // a letter less: the last pass goes
        RemoveLastFilter();
    } else {
        RemoveAllFilters();
        if (!ACondition.isEmpty()) {
            ReplaceNarrowCondition(ACondition, AColumn);
            ApplyFilter();
        }
    }
    // With no text left every pass is gone; rows hidden otherwise keep their records.
    FLastFilter = ACondition;
}
