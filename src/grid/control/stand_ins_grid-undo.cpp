// Stand-ins for routines another branch builds, so that this one builds and runs.
#include "grid/base/html_text.h"
#include "grid/control/balloon_tooltip.h"
#include "grid/control/pro_string_grid.h"

// The balloon's text: the text of the cell under the mouse.
void TProStringGrid::HandleNotifyMessage(TMessage& Message)
{
    if (Message.Msg != WM_NOTIFY || !Message.LParam) return;
    auto* hdr = reinterpret_cast<TNMHdr*>(Message.LParam);
    if (hdr->code != TTN_GETDISPINFOW || !FBalloonSettings->Enable()) return;
    auto* info = reinterpret_cast<TToolTipDispInfo*>(Message.LParam);
    int c = -1, r = -1;
    MouseToCell(info->Pos.x(), info->Pos.y(), c, r);
    if (c < 0 || r < 0) return;
    info->Text = GetCellEx(RealColIndex(c), r);
    QString title, text = info->Text;
    TBalloonIcon icon{};
    if (IsBalloon(RealColIndex(c), r, title, text, icon)) {
        info->Text = text;
        if (FHToolTip) FHToolTip->SetTitle(title, int(icon));
    }
}

void TProStringGrid::UnHilightInGrid(bool DoFixed)
{
    const int c0 = DoFixed ? 0 : FixedCols(), r0 = DoFixed ? 0 : FixedRows();
    const int c1 = DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            const QString s = GetGridCell(c, r);
            if (!s.contains(QLatin1String("<hi>"), Qt::CaseInsensitive)) continue;
            QString out;
            RemoveHTMLTag(s, QStringLiteral("hi"), out);
            SetGridCell(c, r, out);
        }
}
