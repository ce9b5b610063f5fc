#include "platform/ui/cursors.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <map>

namespace {

constexpr int kSize = 32;
constexpr QPointF kCentre(kSize / 2.0, kSize / 2.0);

// A filled triangle pointing along (dx, dy), its tip `reach` pixels from the centre.
QPainterPath Head(double dx, double dy, double reach, double length, double halfWidth)
{
    const double n = std::hypot(dx, dy);
    dx /= n;
    dy /= n;
    const QPointF tip = kCentre + QPointF(dx, dy) * reach;
    const QPointF base = tip - QPointF(dx, dy) * length;
    const QPointF side(-dy * halfWidth, dx * halfWidth);
    QPainterPath p;
    p.moveTo(tip);
    p.lineTo(base + side);
    p.lineTo(base - side);
    p.closeSubpath();
    return p;
}

// Black shapes with a white rim, so that they show on any background.
QCursor Draw(const QPainterPath& shape, QPoint hotSpot)
{
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(Qt::black);
    p.drawPath(shape);
    p.setPen(Qt::NoPen);
    p.drawPath(shape);
    p.end();
    return QCursor(pm, hotSpot.x(), hotSpot.y());
}

// The pan cursors: a dot where the button went down and a head for each way the view moves.
QCursor Pan(std::initializer_list<QPointF> ways)
{
    QPainterPath shape;
    shape.addEllipse(kCentre, 2.5, 2.5);
    for (QPointF w : ways) shape.addPath(Head(w.x(), w.y(), 13, 6, 5));
    return Draw(shape, kCentre.toPoint());
}

// A short thick arrow pointing along (dx, dy), the hot spot at its tip.
QCursor Arrow(double dx, double dy)
{
    QPainterPath shape = Head(dx, dy, 10, 9, 6);
    const double n = std::hypot(dx, dy);
    const QPointF d(dx / n, dy / n), side(-d.y() * 2, d.x() * 2);
    const QPointF from = kCentre - d * 8, to = kCentre + d * 2;
    QPainterPath shaft;
    shaft.moveTo(from + side);
    shaft.lineTo(to + side);
    shaft.lineTo(to - side);
    shaft.lineTo(from - side);
    shaft.closeSubpath();
    shape = shape.united(shaft);
    return Draw(shape, (kCentre + d * 10).toPoint());
}

QCursor MakeGridCursor(TCursor c)
{
    switch (c) {
    case crPanNeutral: return Pan({{0, -1}, {0, 1}, {-1, 0}, {1, 0}});
    case crPanDown: return Pan({{0, 1}});
    case crPanLeft: return Pan({{-1, 0}});
    case crPanRight: return Pan({{1, 0}});
    case crPanUp: return Pan({{0, -1}});
    case crPanUpRight: return Pan({{1, -1}});
    case crPanUpLeft: return Pan({{-1, -1}});
    case crPanDownRight: return Pan({{1, 1}});
    case crPanDownLeft: return Pan({{-1, 1}});
    case crGridHand: return QCursor(Qt::PointingHandCursor);
    case crSelectRow: return Arrow(1, 0);
    case crSelectColumn: return Arrow(0, 1);
    case crSelectAll: return Arrow(1, 1);
    default: return QCursor(Qt::ArrowCursor);
    }
}

}  // namespace

QCursor CursorOf(TCursor c)
{
    switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: break;
    }
    if (c < crPanNeutral || c > crSelectAll) return Qt::ArrowCursor;
    // drawn once, on first use
    static std::map<TCursor, QCursor> drawn;
    auto it = drawn.find(c);
    if (it == drawn.end()) it = drawn.emplace(c, MakeGridCursor(c)).first;
    return it->second;
}

void TScreen::SetCursor(TCursor c)
{
    if (c == FCursor) return;
    const bool had = FCursor != crDefault;
    FCursor = c;
    if (c == crDefault) {
        if (had) QGuiApplication::restoreOverrideCursor();
    } else if (had) {
        QGuiApplication::changeOverrideCursor(CursorOf(c));
    } else {
        QGuiApplication::setOverrideCursor(CursorOf(c));
    }
}

TScreen* Screen()
{
    static TScreen screen;
    return &screen;
}
