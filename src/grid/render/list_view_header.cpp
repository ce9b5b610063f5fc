// The header cells of the list-view look, drawn as the style's header sections: normal, hot
// under the mouse, pressed while a button is held on them.
#include "grid/render/cell_drawing.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <map>
#include <utility>

namespace {

// Whether the style draws a header section in the state differently from a resting one.
// Styles such as Fusion draw every section alike; the grid then marks the state itself.
bool StyleShowsHeaderState(QWidget* window, QStyle::State state)
{
    static std::map<std::pair<const QStyle*, int>, bool> known;
    QStyle* style = window->style();
    const auto key = std::make_pair(static_cast<const QStyle*>(style), int(state));
    const auto it = known.find(key);
    if (it != known.end()) return it->second;
    auto draw = [&](QStyle::State s) {
        QImage img(40, 20, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        QStyleOptionHeader h;
        h.initFrom(window);
        h.rect = img.rect();
        h.state = QStyle::State_Enabled | QStyle::State_Raised | s;
        style->drawControl(QStyle::CE_HeaderSection, &h, &p, window);
        p.end();
        return img;
    };
    const bool shows = draw(state) != draw(QStyle::State_None);
    known[key] = shows;
    return shows;
}

}  // namespace

void TProStringGrid::DrawListViewHeader(TCellPaintContext& C)
{
    TRect& R = C.Rect;
    TCanvas* cv = C.Canvas;
    const bool hot = FHotFixedCell.X == C.DisplayCol && FHotFixedCell.Y == C.Row;
    const bool pressed = hot && FMouseDownMove;
    if (FIsWinXP) {
        R.Bottom += 1;
        int part = 3, state = 1;
        if (hot) {
            part = 1;
            state = pressed ? 3 : 2;
        }
        if (cv->DrawThemeBackground(this, QStringLiteral("header"), part, state, R)) {
            const QStyle::State shown = pressed ? QStyle::State_Sunken : QStyle::State_MouseOver;
            QPainter* p = hot && !StyleShowsHeaderState(this, shown) ? cv->Painter() : nullptr;
            if (p) {
                QColor tint = palette().color(pressed ? QPalette::Dark : QPalette::Highlight);
                tint.setAlpha(pressed ? 90 : 50);
                p->fillRect(R.ToQRect(), tint);
            }
            TPen* pen = cv->Pen();
            pen->SetColor(clWhite);
            cv->MoveTo(R.Left, R.Top);
            cv->LineTo(R.Right, R.Top);
            return;
        }
    }
    cv->Brush()->SetColor(clBtnFace);
    cv->Pen()->SetColor(clWhite);
    cv->Rectangle(R);
}

TRect TProStringGrid::MirrorInCell(const TRect& tr, const TRect& R) const
{
    if (!UseRightToLeftAlignment()) return tr;
    return {R.Left + R.Right - tr.Right, tr.Top, R.Left + R.Right - tr.Left, tr.Bottom};
}

TRect TProStringGrid::NodeCellRect(const TRect& Local, const TRect& Cell) const
{
    if (!UseRightToLeftAlignment()) return Local;
    return MirrorInCell({Local.Left + Cell.Left, Local.Top, Local.Right + Cell.Left, Local.Bottom}, Cell);
}

int TProStringGrid::MirrorXInCell(int X, const TRect& R) const
{
    return MirrorInCell({X, 0, X + 1, 0}, R).Left;
}

TRect TProStringGrid::GlyphRect(const TRect& Drawn) const
{
    if (!UseRightToLeftAlignment()) return Drawn;
    const int cw = ClientWidth();
    return {cw - Drawn.Right, Drawn.Top, cw - Drawn.Left, Drawn.Bottom};
}

int TProStringGrid::SortIndicatorX(int DrawnX) const
{
    if (!UseRightToLeftAlignment()) return DrawnX;
    TSortSettings* sort = FSortSettings.get();
    const bool glyphs = !sort->UpGlyph()->Empty() && !sort->DownGlyph()->Empty();
    return ClientWidth() - DrawnX - 4 - (glyphs ? sort->UpGlyph()->Width() + 7 : 7);
}
