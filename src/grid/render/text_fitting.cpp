// Plain cell text that is narrower or shorter than it needs: wrapping only into lines that
// show whole, and the marks of misspelt ranges under the drawn characters.
#include "grid/base/drawing_routines.h"
#include "grid/render/cell_drawing.h"

namespace {
// The text up to its first line break.
QString FirstLine(const QString& Text)
{
    qsizetype end = Text.indexOf(QLatin1Char('\r'));
    const qsizetype lf = Text.indexOf(QLatin1Char('\n'));
    if (end < 0 || (lf >= 0 && lf < end)) end = lf;
    return end < 0 ? Text : Text.left(end);
}
}  // namespace

void TProStringGrid::FitWrappedText(TCanvas* Canvas, QString& Text, TRect& tr, uint32_t& Flags)
{
    const int lineH = Canvas->TextHeight(QStringLiteral("hg"));
    if (lineH <= 0 || Text.isEmpty()) return;
    const bool breaks = Text.contains(QLatin1Char('\r')) || Text.contains(QLatin1Char('\n'));
    // one line that fits: the common case, settled without measuring where possible
    if (!breaks && (Canvas->Font()->SurelyFits(Text, tr.Width()) || Canvas->TextFits(Text, tr.Width()))) return;
    // whether the lines outnumber the ones that show whole: counted no further than that
    const int fit = tr.Height() / lineH;
    if (Canvas->TextLineCount(Text, tr.Width(), Flags, fit + 1) <= fit) return;
    if (fit > 1) {
        tr.Bottom = tr.Top + fit * lineH;
        return;
    }
    // Room for one line: the first line, unbroken, placed as a single line is.
    Text = FirstLine(Text);
    Flags = (Flags & ~(DT_WORDBREAK | DT_EDITCONTROL)) | DT_SINGLELINE;
}

void TProStringGrid::DrawMarkedRange(TCanvas* Canvas, const QString& Text, const TRect& tr, uint32_t Flags,
                                     int YOffset, int Pos, int Len)
{
    if (Text.isEmpty()) return;
    const int lineH = Canvas->TextHeight(QStringLiteral("hg"));
    // The first line of the text: where the drawing put it.
    const QString line = FirstLine(Text);
    const int w = Canvas->TextWidth(line);
    int x = tr.Left;
    if (Flags & DT_CENTER) x = tr.Left + (tr.Width() - w) / 2;
    else if (Flags & DT_RIGHT) x = tr.Right - w;
    int y = tr.Top;
    if (Flags & DT_SINGLELINE) {
        if (Flags & DT_VCENTER) y = tr.Top + (tr.Height() - lineH) / 2;
        else if (Flags & DT_BOTTOM) y = tr.Bottom - lineH;
    }
    DrawErrorUnderline(nullptr, Canvas, line, TRect{x, y, x + w, y + lineH}, YOffset, Pos, Len);
}
