// The balloon tooltip window: its delays, title and colours, when it shows and goes, and how
// it lays out and paints the balloon with its stem.
#include "grid/control/balloon_tooltip.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <algorithm>

namespace {
// The platform's delays follow the double-click time.
int DefaultInitial() { return QApplication::doubleClickInterval(); }
constexpr int StemHeight = 10;
constexpr int Pad = 8;
}  // namespace

TBalloonToolTip::TBalloonToolTip(QWidget* Tool)
    : QWidget(Tool, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), FTool(Tool)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (Tool) {
        Tool->installEventFilter(this);
        if (QWidget* w = MouseWidget(); w != Tool) w->installEventFilter(this);
    }
    hide();
}

TBalloonToolTip::~TBalloonToolTip()
{
    if (FTool) {
        FTool->removeEventFilter(this);
        if (QWidget* w = MouseWidget()) w->removeEventFilter(this);
    }
}

QWidget* TBalloonToolTip::MouseWidget() const
{
    if (auto* area = qobject_cast<QAbstractScrollArea*>(FTool.data())) return area->viewport();
    return FTool.data();
}

void TBalloonToolTip::SetTitle(const QString& Title, int Icon)
{
    FTitle = Title.left(255);
    FIcon = Icon >= 0 && Icon <= 3 ? Icon : TTI_NONE;
    update();
}

void TBalloonToolTip::SetDelayTime(int Which, int Ms)
{
    switch (Which) {
    case TTDT_INITIAL: FInitial = Ms; break;
    case TTDT_AUTOPOP: FAutoPop = Ms; break;
    case TTDT_RESHOW: FReshow = Ms; break;
    default: FInitial = FAutoPop = FReshow = -1; break;
    }
}

int TBalloonToolTip::DelayTime(int Which) const
{
    switch (Which) {
    case TTDT_INITIAL: return FInitial >= 0 ? FInitial : DefaultInitial();
    case TTDT_AUTOPOP: return FAutoPop >= 0 ? FAutoPop : DefaultInitial() * 10;
    case TTDT_RESHOW: return FReshow >= 0 ? FReshow : DefaultInitial() / 5;
    }
    return 0;
}

void TBalloonToolTip::SetOpacity(int Alpha)
{
    FAlpha = std::clamp(Alpha, 0, 255);
    setWindowOpacity(FAlpha / 255.0);
}

void TBalloonToolTip::Notify(int Code, TNMTTDispInfo* Info)
{
    TNMTTDispInfo local;
    TNMTTDispInfo* info = Info ? Info : &local;
    info->hdr.hwndFrom = this;
    info->hdr.idFrom = reinterpret_cast<uintptr_t>(FTool.data());
    info->hdr.code = Code;
    TMessage m{WM_NOTIFY, intptr_t(info->hdr.idFrom), reinterpret_cast<intptr_t>(info), 0};
    if (OnNotify) OnNotify(m);
}

bool TBalloonToolTip::event(QEvent* Event)
{
    if (Event->type() != TMessageEvent::EventType()) return QWidget::event(Event);
    TMessage& m = static_cast<TMessageEvent*>(Event)->Message;
    switch (m.Msg) {
    case TTM_SETMAXTIPWIDTH: SetMaxTipWidth(int(m.LParam)); break;
    // Colours come as RGB values, which read as colours of the same encoding.
    case TTM_SETTIPTEXTCOLOR: SetTipTextColor(TColor(m.WParam)); break;
    case TTM_SETTIPBKCOLOR: SetTipBkColor(TColor(m.WParam)); break;
    case TTM_SETTITLEW:
        SetTitle(m.LParam ? QString::fromUtf16(reinterpret_cast<const char16_t*>(m.LParam)) : QString(), int(m.WParam));
        break;
    case TTM_POP: Pop(); break;
    default: return QWidget::event(Event);
    }
    return true;
}

bool TBalloonToolTip::eventFilter(QObject* Watched, QEvent* Event)
{
    if (!FToolRegistered || (Watched != FTool.data() && Watched != MouseWidget())) return false;
    switch (Event->type()) {
    case QEvent::MouseMove: {
        const QPoint p = static_cast<QMouseEvent*>(Event)->position().toPoint();
        FRestPos = Watched == MouseWidget() ? p : MouseWidget()->mapFrom(FTool, p);
        if (!isVisible()) {
            // Soon after a balloon went, the next one comes after the reshow delay.
            const bool reshow = QDateTime::currentMSecsSinceEpoch() - FLastPop < DelayTime(TTDT_AUTOPOP);
            FShowTimer.start(reshow ? DelayTime(TTDT_RESHOW) : DelayTime(TTDT_INITIAL), this);
        }
        break;
    }
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::Hide:
        FShowTimer.stop();
        if (isVisible()) Pop();
        break;
    default: break;
    }
    return false;
}

void TBalloonToolTip::timerEvent(QTimerEvent* Event)
{
    if (Event->timerId() == FShowTimer.timerId()) {
        FShowTimer.stop();
        if (FTool && FTool->isVisible()) Popup(FRestPos);
    } else if (Event->timerId() == FHideTimer.timerId()) {
        Pop();
    }
}

void TBalloonToolTip::Popup(const QPoint& Pos)
{
    if (!FTool) return;
    FRestPos = Pos;
    TNMTTDispInfo info;
    info.HasPos = true;
    info.Pos = Pos;
    Notify(TTN_GETDISPINFOW, &info);
    FText = info.lpszText ? QString::fromUtf16(info.lpszText) : QString();
    if (FText.isEmpty()) {
        if (isVisible()) Pop();
        return;
    }
    Layout(MouseWidget()->mapToGlobal(Pos) + QPoint(0, 16));
    const bool was = isVisible();
    show();
    update();
    if (!was) Notify(TTN_SHOW);
    FHideTimer.start(DelayTime(TTDT_AUTOPOP), this);
}

void TBalloonToolTip::UpdateTipText()
{
    if (isVisible()) Popup(FRestPos);
}

void TBalloonToolTip::Pop()
{
    FHideTimer.stop();
    if (!isVisible()) return;
    hide();
    FLastPop = QDateTime::currentMSecsSinceEpoch();
    Notify(TTN_POP);
}

void TBalloonToolTip::Layout(const QPoint& GlobalAnchor)
{
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics fm(font()), bm(bold);
    const int maxw = FMaxTipWidth > 0 ? FMaxTipWidth : 10000;
    const QRect textRect = fm.boundingRect(QRect(0, 0, maxw, 100000), Qt::TextWordWrap, FText);
    const int icon = FIcon != TTI_NONE ? 16 + 4 : 0;
    const bool titled = !FTitle.trimmed().isEmpty() || FIcon != TTI_NONE;
    const int titleW = titled ? icon + bm.horizontalAdvance(FTitle) : 0;
    const int titleH = titled ? std::max(bm.height(), FIcon != TTI_NONE ? 16 : 0) + 4 : 0;
    const int w = std::max(textRect.width(), titleW) + 2 * Pad;
    const int h = titleH + textRect.height() + 2 * Pad + StemHeight;
    FAnchor = GlobalAnchor;
    setGeometry(GlobalAnchor.x() - 16, GlobalAnchor.y(), std::max(w, 40), h);
}

void TBalloonToolTip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(0.5, StemHeight + 0.5, width() - 1.0, height() - StemHeight - 1.0);
    QPainterPath path;
    path.addRoundedRect(body, 6, 6);
    QPainterPath stem;
    stem.moveTo(10, StemHeight + 1);
    stem.lineTo(16, 0.5);
    stem.lineTo(26, StemHeight + 1);
    stem.closeSubpath();
    path = path.united(stem);
    p.fillPath(path, ColorToQColor(FBkColor));
    p.setPen(ColorToQColor(clInfoText));
    p.drawPath(path);
    p.setRenderHint(QPainter::Antialiasing, false);

    int y = StemHeight + Pad;
    p.setPen(ColorToQColor(FTextColor));
    const bool titled = !FTitle.trimmed().isEmpty() || FIcon != TTI_NONE;
    if (titled) {
        int x = Pad;
        if (FIcon != TTI_NONE) {
            const QStyle::StandardPixmap kind = FIcon == TTI_INFO      ? QStyle::SP_MessageBoxInformation
                                                : FIcon == TTI_WARNING ? QStyle::SP_MessageBoxWarning
                                                                       : QStyle::SP_MessageBoxCritical;
            style()->standardIcon(kind).paint(&p, QRect(x, y, 16, 16));
            x += 20;
        }
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.drawText(QRect(x, y, width() - x - Pad, 18), Qt::AlignLeft | Qt::AlignVCenter, FTitle);
        p.setFont(font());
        y += std::max(QFontMetrics(bold).height(), FIcon != TTI_NONE ? 16 : 0) + 4;
    }
    p.drawText(QRect(Pad, y, width() - 2 * Pad, height() - y - Pad), Qt::TextWordWrap, FText);
}
