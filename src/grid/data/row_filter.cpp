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

    // Fold: the value is compared as if upper-cased, which for a text of ASCII characters
    // alone is the letters a to z made capitals; other texts are upper-cased beforehand.
    template <bool Fold> static bool Same(QChar P, QChar V)
    {
        char16_t v = V.unicode();
        if constexpr (Fold)
            if (v >= u'a' && v <= u'z') v = char16_t(v - (u'a' - u'A'));
        return P.unicode() == v || P == QLatin1Char('?');
    }

    template <bool Fold> static bool PieceAt(QStringView Piece, QStringView V, qsizetype At)
    {
        if (At < 0 || At + Piece.size() > V.size()) return false;
        for (qsizetype i = 0; i < Piece.size(); ++i)
            if (!Same<Fold>(Piece[i], V[At + i])) return false;
        return true;
    }

    template <bool Fold> static qsizetype FindPiece(QStringView Piece, bool Any, QStringView V, qsizetype From)
    {
        if (!Fold && !Any) return V.indexOf(Piece, From);
        if (Piece.isEmpty()) return From <= V.size() ? From : -1;
        // the first character found directly, the rest compared where it stands
        const QChar head = Piece[0];
        for (qsizetype at = From; at + Piece.size() <= V.size(); ++at)
            if (Same<Fold>(head, V[at]) && PieceAt<Fold>(Piece, V, at)) return at;
        return -1;
    }

    template <bool Fold> bool MatchAs(QStringView V) const
    {
        const size_t n = Pieces.size();
        if (n == 0) return true;
        qsizetype from = 0;
        size_t first = 0, last = n;
        if (AnchorStart) {
            if (!PieceAt<Fold>(Pieces[0], V, 0)) return false;
            from = Pieces[0].size();
            first = 1;
            if (n == 1 && AnchorEnd) return from == V.size();
        }
        qsizetype end = V.size();
        if (AnchorEnd && last > first) {
            const QString& tail = Pieces[n - 1];
            if (end - tail.size() < from || !PieceAt<Fold>(tail, V, end - tail.size())) return false;
            end -= tail.size();
            --last;
        }
        // The pieces between go leftmost each: a later place never helps the ones after.
        const QStringView inner = V.left(end);
        for (size_t k = first; k < last; ++k) {
            const qsizetype at = FindPiece<Fold>(Pieces[k], HasAny[k], inner, from);
            if (at < 0) return false;
            from = at + Pieces[k].size();
        }
        return true;
    }

    static bool IsAscii(QStringView V)
    {
        char16_t any = 0;
        for (QChar c : V) any |= c.unicode();
        return any < 0x80;
    }

    bool Match(QStringView V) const
    {
        if (!IgnoreCase) return MatchAs<false>(V);
        // Upper-casing may change a text's length (a sharp s becomes two letters): only an
        // ASCII text is compared in place.
        if (IsAscii(V)) return MatchAs<true>(V);
        return MatchAs<false>(V.toString().toUpper());
    }
};

// A condition as a pass tests it.
struct TFilterTest {
    int Column;
    TFilterCells Data;
    TFilterOperation Operation;
    TFilterMethod Method;
    bool CaseSensitive;
    QString Condition, Prefix, Suffix;
    TWildPattern Wild;
    QString UpperCondition;
};

}  // namespace

// The conditions of a pass, each read once before the rows are tested.
struct TProStringGrid::TFilterPlan {
    using Item = TFilterTest;
    std::vector<Item> Items;

    explicit TFilterPlan(const TFilter& Filter)
    {
        for (int i = 0; i < Filter.Count(); ++i) {
            const TFilterData* f = Filter.GetItem(i);
            Item item{f->Column(), f->Data(), f->Operation(), f->Method(), f->CaseSensitive(),
                      f->Condition(), f->Prefix(), f->Suffix(), {}, {}};
            if (item.Data == fcRow) item.UpperCondition = item.Condition.toUpper();
            else if (item.Method == fmExpression && !item.Condition.isEmpty())
                item.Wild = TWildPattern::Make(item.Condition, item.CaseSensitive);
            Items.push_back(std::move(item));
        }
    }
};

namespace {

// Text is the cell's text, trimmed and unpacked.
bool MatchCondition(const TFilterTest& F, QStringView Text)
{
    if (F.Data == fcRow) return Text.toString().toUpper().contains(F.UpperCondition);
    if (!F.Prefix.isEmpty() && Text.startsWith(F.Prefix)) Text = Text.sliced(F.Prefix.size());
    if (!F.Suffix.isEmpty()) {
        // only a suffix whose first occurrence ends the text is taken off
        const qsizetype at = Text.indexOf(F.Suffix);
        if (at >= 0 && at + F.Suffix.size() == Text.size()) Text = Text.first(at);
    }
    if (F.Condition.isEmpty()) return true;
    if (F.Method == fmLiteral) return Text == F.Condition;
    if (F.Wild.Plain) return F.Wild.Match(Text);
    return MatchFilterExpression(F.Condition, Text.toString(), F.CaseSensitive);
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
    for (const TFilterPlan::Item& F : Plan.Items) {
        const int col = F.Column;
        QString text;
        switch (F.Data) {
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
        // otherwise be cut off (the bar alone is the faster search, and mostly absent)
        if (text.contains(QLatin1Char('|')) && text.contains(QLatin1String("|\\")))
            text = UnpackWideText(TrimLeft(text));
        bool match = false;
        try {
            match = MatchCondition(F, Trim(text));
        } catch (const std::exception&) {
            match = false;
        }
        switch (F.Operation) {
        case foSHORT: Result = match; break;
        case foNONE: Result = match; break;
        case foAND: Result = Result && match; break;
        case foXOR: Result = Result != match; break;
        case foOR: Result = Result || match; break;
        }
        if (F.Operation == foSHORT && !match) break;
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
