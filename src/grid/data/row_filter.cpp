// Whether a row passes the grid's filter conditions.
#include "grid/base/number_routines.h"
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/sysutils.h"

#include <exception>

namespace {

bool MatchCondition(const TFilterData& F, QString Text)
{
    if (F.Data() == fcRow) return Text.toUpper().contains(F.Condition().toUpper());
    if (!F.Prefix().isEmpty() && Text.startsWith(F.Prefix())) Text.remove(0, F.Prefix().size());
    if (!F.Suffix().isEmpty()) {
        // only a suffix whose first occurrence ends the text is taken off
        const qsizetype at = Text.indexOf(F.Suffix());
        if (at >= 0 && at + F.Suffix().size() == Text.size()) Text.truncate(at);
    }
    if (F.Condition().isEmpty()) return true;
    if (F.Method() == fmLiteral) return Text == F.Condition();
    return MatchFilterExpression(F.Condition(), Text, F.CaseSensitive());
}

}  // namespace

bool TProStringGrid::RowMatchesFilter(int ARow)
{
    bool Result = true;
    for (int i = 0; i < FFilter->Count(); ++i) {
        const TFilterData& F = *FFilter->GetItem(i);
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
            match = MatchCondition(F, text);
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
