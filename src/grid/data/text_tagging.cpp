// Highlight ("hi") and mark ("e") tags around the occurrences of a text in the cells, and
// their removal.  Only cells holding the text are tagged and only cells holding the tag are
// untagged; a plain text the tagging had to entity-encode gets its own text back.
#include "grid/base/html_text.h"
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"

namespace {
const QString kHi = QStringLiteral("hi");
const QString kMark = QStringLiteral("e");

// "&", double quote, "<" and ">" as entities, in one pass.
QString EncodeTagEntities(const QString& S)
{
    QString r;
    r.reserve(S.size());
    for (QChar ch : S) {
        switch (ch.unicode()) {
        case u'&': r += QLatin1String("&amp;"); break;
        case u'"': r += QLatin1String("&quot;"); break;
        case u'<': r += QLatin1String("&lt;"); break;
        case u'>': r += QLatin1String("&gt;"); break;
        default: r += ch;
        }
    }
    return r;
}

QString TagText(const QString& Tag, bool DoCase, const QString& S, const QString& Text)
{
    QString out;
    HighlightInHTML(S, Text, Tag, DoCase, out);
    return out;
}

// S without the opening and closing tags of that name (name compared without case); nothing
// else of the text changes.
QString UnTagText(const QString& S, const QString& Tag)
{
    QString r = S;
    r.remove(QLatin1Char('<') + Tag + QLatin1Char('>'), Qt::CaseInsensitive);
    r.remove(QStringLiteral("</") + Tag + QLatin1Char('>'), Qt::CaseInsensitive);
    return r;
}

bool HasTag(const QString& S, const QString& Tag)
{
    return S.contains(QLatin1Char('<') + Tag + QLatin1Char('>'), Qt::CaseInsensitive);
}

quint64 TagCellKey(int ACol, int ARealRow) { return (quint64(quint32(ACol)) << 32) | quint32(ARealRow); }
}  // namespace

QString TProStringGrid::HilightText(bool DoCase, const QString& S, const QString& Text)
{
    return TagText(kHi, DoCase, S, Text);
}

QString TProStringGrid::MarkText(bool DoCase, const QString& S, const QString& Text)
{
    return TagText(kMark, DoCase, S, Text);
}

QString TProStringGrid::UnHilightText(const QString& S) { return UnTagText(S, kHi); }

// Walks the base cells of the range (bounds clipped to the cells there are); Retag(c, r, text)
// gives the cell's new text, or false to leave it.  The grid repaints once when any changed.
template <typename F>
static void RetagRange(TProStringGrid* g, int FromCol, int FromRow, int ToCol, int ToRow, F Retag)
{
    ToCol = std::min(ToCol, g->AllColCount() - 1);
    ToRow = std::min(ToRow, g->RowCount() - 1);
    bool any = false;
    for (int r = std::max(FromRow, 0); r <= ToRow; ++r)
        for (int c = std::max(FromCol, 0); c <= ToCol; ++c) {
            if (!g->IsBaseCell(c, r)) continue;
            QString text = g->GetGridCell(c, r);
            if (!Retag(c, r, text)) continue;
            g->SetGridCell(c, r, text);
            any = true;
        }
    if (any) g->Invalidate();
}

void TProStringGrid::TagTextInRange(const QString& Text, const QString& Tag, bool DoCase, int FromCol, int FromRow,
                                    int ToCol, int ToRow)
{
    if (Text.isEmpty()) return;
    const QString encText = EncodeTagEntities(Text);
    const Qt::CaseSensitivity cs = DoCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    RetagRange(this, FromCol, FromRow, ToCol, ToRow, [&](int c, int r, QString& text) {
        const QString stored = text;
        const bool html = CellTextKind(stored, FEnableHTML) == 1;
        // A cell whose visible text lacks the text is left exactly as it is.
        if (!(html ? StripHTMLTags(stored).contains(encText, cs) : stored.contains(Text, cs))) return false;
        text = TagText(Tag, DoCase, html ? stored : EncodeTagEntities(stored), encText);
        if (text == stored) return false;
        const quint64 key = TagCellKey(c, RealRowIndex(r));
        auto it = FTagEncoded.find(key);
        if (!html) FTagEncoded.insert(key, {stored, text});
        else if (it != FTagEncoded.end() && it->second == stored) it->second = text;
        return true;
    });
}

void TProStringGrid::UnTagTextInRange(const QString& Tag, int FromCol, int FromRow, int ToCol, int ToRow)
{
    RetagRange(this, FromCol, FromRow, ToCol, ToRow, [&](int c, int r, QString& text) {
        if (!HasTag(text, Tag)) return false;
        const QString stored = text;
        text = UnTagText(stored, Tag);
        auto it = FTagEncoded.find(TagCellKey(c, RealRowIndex(r)));
        if (it == FTagEncoded.end()) return true;
        if (it->second != stored) {
            // Changed since it was tagged: the record no longer speaks for it.
            FTagEncoded.erase(it);
        } else if (!HasTag(text, kHi) && !HasTag(text, kMark)) {
            text = it->first;
            FTagEncoded.erase(it);
        } else {
            it->second = text;
        }
        return true;
    });
}

// ---- ranges -------------------------------------------------------------------------------------

void TProStringGrid::HilightInCell(bool DoCase, int ACol, int ARow, const QString& HiText)
{
    TagTextInRange(HiText, kHi, DoCase, ACol, ARow, ACol, ARow);
}

void TProStringGrid::MarkInCell(bool DoCase, int ACol, int ARow, const QString& HiText)
{
    TagTextInRange(HiText, kMark, DoCase, ACol, ARow, ACol, ARow);
}

void TProStringGrid::HilightInCol(bool DoFixed, bool DoCase, int ACol, const QString& HiText)
{
    TagTextInRange(HiText, kHi, DoCase, ACol, DoFixed ? 0 : FixedRows(), ACol,
                   DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1);
}

void TProStringGrid::MarkInCol(bool DoFixed, bool DoCase, int ACol, const QString& HiText)
{
    TagTextInRange(HiText, kMark, DoCase, ACol, DoFixed ? 0 : FixedRows(), ACol,
                   DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1);
}

void TProStringGrid::HilightInRow(bool DoFixed, bool DoCase, int ARow, const QString& HiText)
{
    TagTextInRange(HiText, kHi, DoCase, DoFixed ? 0 : FixedCols(), ARow,
                   DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1, ARow);
}

void TProStringGrid::MarkInRow(bool DoFixed, bool DoCase, int ARow, const QString& HiText)
{
    TagTextInRange(HiText, kMark, DoCase, DoFixed ? 0 : FixedCols(), ARow,
                   DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1, ARow);
}

void TProStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const QString& HiText)
{
    if (DoFixed) TagTextInRange(HiText, kHi, DoCase, 0, 0, ColCount() - 1, RowCount() - 1);
    else
        TagTextInRange(HiText, kHi, DoCase, FixedCols(), FixedRows(),
                       ColCount() + NumHiddenColumns() - FixedRightCols() - 1, RowCount() - FixedFooters() - 1);
}

void TProStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const QString& HiText)
{
    if (DoFixed) TagTextInRange(HiText, kMark, DoCase, 0, 0, ColCount() - 1, RowCount() - 1);
    else
        TagTextInRange(HiText, kMark, DoCase, FixedCols(), FixedRows(), ColCount() - FixedRightCols() - 1,
                       RowCount() - FixedFooters() - 1);
}

void TProStringGrid::UnHilightInCell(int ACol, int ARow) { UnTagTextInRange(kHi, ACol, ARow, ACol, ARow); }
void TProStringGrid::UnMarkInCell(int ACol, int ARow) { UnTagTextInRange(kMark, ACol, ARow, ACol, ARow); }

void TProStringGrid::UnHilightInCol(bool DoFixed, int ACol)
{
    UnTagTextInRange(kHi, ACol, DoFixed ? 0 : FixedRows(), ACol,
                     DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1);
}

void TProStringGrid::UnMarkInCol(bool DoFixed, int ACol)
{
    UnTagTextInRange(kMark, ACol, DoFixed ? 0 : FixedRows(), ACol,
                     DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1);
}

void TProStringGrid::UnHilightInRow(bool DoFixed, int ARow)
{
    UnTagTextInRange(kHi, DoFixed ? 0 : FixedCols(), ARow,
                     ColCount() + NumHiddenColumns() - (DoFixed ? 0 : FixedRightCols()) - 1, ARow);
}

void TProStringGrid::UnMarkInRow(bool DoFixed, int ARow)
{
    UnTagTextInRange(kMark, DoFixed ? 0 : FixedCols(), ARow,
                     ColCount() + NumHiddenColumns() - (DoFixed ? 0 : FixedRightCols()) - 1, ARow);
}

void TProStringGrid::UnHilightInGrid(bool DoFixed)
{
    if (DoFixed) UnTagTextInRange(kHi, 0, 0, ColCount() + NumHiddenColumns() - 1, RowCount() - 1);
    else
        UnTagTextInRange(kHi, FixedCols(), FixedRows(), ColCount() + NumHiddenColumns() - FixedRightCols() - 1,
                         RowCount() - FixedFooters() - 1);
}

void TProStringGrid::UnMarkInGrid(bool DoFixed)
{
    if (DoFixed) UnTagTextInRange(kMark, 0, 0, ColCount() + NumHiddenColumns() - 1, RowCount() - 1);
    else
        UnTagTextInRange(kMark, FixedCols(), FixedRows(), ColCount() + NumHiddenColumns() - FixedRightCols() - 1,
                         RowCount() - FixedFooters() - 1);
}
