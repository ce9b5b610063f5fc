// Balloon hints of the grid, the small relays of its settings objects, the hook in front of
// a custom editor's control, the search footer's settings copied to its panel, and the start
// of a column drag out of a list of columns.
#include "grid/base/html_text.h"
#include "grid/control/balloon_tooltip.h"
#include "grid/control/pro_string_grid.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDateTime>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QTextDocument>

// ---- the tooltip window --------------------------------------------------------------------

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

// ---- balloon settings ----------------------------------------------------------------------

void TBalloonSettings::Assign(const TPersistent* Source)
{
    auto* s = dynamic_cast<const TBalloonSettings*>(Source);
    if (!s) return;
    FTextColor = s->FTextColor;
    FBackgroundColor = s->FBackgroundColor;
    FInitialDelay = s->FInitialDelay;
    FAutoHideDelay = s->FAutoHideDelay;
    FReshowDelay = s->FReshowDelay;
    FEnable = s->FEnable;
}

// ---- the grid's balloon --------------------------------------------------------------------

void TProStringGrid::BalloonInit()
{
    TBalloonSettings* b = FBalloonSettings.get();
    if (!b || b->Init()) return;
    b->SetInit(true);
    FHToolTip = new TBalloonToolTip(this);
    FHToolTip->OnNotify = [this](TMessage& m) { HandleNotifyMessage(m); };
    FHToolTip->AddTool();
    FHToolTip->SetTitle(QStringLiteral("ToolTipText"), TTI_ERROR);
    if (b->InitialDelay() != -1) FHToolTip->SetDelayTime(TTDT_INITIAL, b->InitialDelay());
    if (b->ReshowDelay() != -1) FHToolTip->SetDelayTime(TTDT_RESHOW, b->ReshowDelay());
    if (b->AutoHideDelay() != -1) FHToolTip->SetDelayTime(TTDT_AUTOPOP, b->AutoHideDelay());
    if (b->Transparency() > 0) FHToolTip->SetOpacity(255 - b->Transparency());
}

void TProStringGrid::BalloonDone()
{
    TBalloonSettings* b = FBalloonSettings.get();
    if (!b) return;
    if (b->Init()) {
        delete FHToolTip;
        FHToolTip = nullptr;
    }
    b->SetInit(false);
}

void TProStringGrid::BalloonEnableChanged(TObject*)
{
    if (FLoading) return;
    if (FBalloonSettings->Enable()) BalloonInit();
    else BalloonDone();
}

// ---- relays --------------------------------------------------------------------------------

void TProStringGrid::ShowModifiedChanged(TObject*) { InvalidateCol(0); }

void TProStringGrid::BandsChanged(TObject*) { Invalidate(); }

void TProStringGrid::UnitChanged(TObject*, const QString& NewUnit)
{
    if (OnUnitChanged) OnUnitChanged(this, Col(), Row(), NewUnit);
}

void TProStringGrid::EditLinkWindowMessageHook(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE && Options().Contains(goTabs)) {
        Message.Result |= DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
        return;
    }
    if (FGridControlWndProc) FGridControlWndProc(Message);
}

// ---- the search footer's panel -------------------------------------------------------------

TSearchPanel::TSearchPanel(QWidget* AOwner) : QWidget(AOwner)
{
    FExitButton = new TProGridButton(this);
    FExitButton->setGeometry(4, 4, 20, 23);
    FExitButton->OnClick = [this](TObject*) { if (OnExitClick) OnExitClick(); };
    FForwardButton = new TProGridButton(this);
    FForwardButton->setGeometry(140, 4, 90, 23);
    FForwardButton->OnClick = [this](TObject*) { if (OnForwardClick) OnForwardClick(); };
    FBackwardButton = new TProGridButton(this);
    FBackwardButton->setGeometry(235, 4, 90, 23);
    FBackwardButton->OnClick = [this](TObject*) { if (OnBackwardClick) OnBackwardClick(); };
    FHiliteButton = new TProGridButton(this);
    FHiliteButton->setGeometry(330, 4, 90, 23);
    FHiliteButton->SetGroupIndex(1);
    FHiliteButton->SetAllowAllUp(true);
    FHiliteButton->OnClick = [this](TObject*) { if (OnHighLightClick) OnHighLightClick(); };
    FMatchCase = new TProCheckBox(this);
    FMatchCase->setGeometry(425, 6, 120, 18);
    FMatchCase->SetCaption(QString());
    hide();
}

void TSearchPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (FColorTo == clNone) {
        p.fillRect(rect(), ColorToQColor(FColor));
        return;
    }
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, ColorToQColor(FColor));
    g.setColorAt(1, ColorToQColor(FColorTo));
    p.fillRect(rect(), g);
}

void TProStringGrid::SearchFooterChanged(TObject*)
{
    TSearchPanel* panel = FSearchPanel;
    TSearchFooter* sf = FSearchFooter.get();
    if (FLoading || !panel || !sf) return;

    // 1.
    if ((panel->FHiliteButton->Down() && panel->isVisible() && !sf->Visible()) || sf->AlwaysHighLight())
        UnHilightInGrid(false);

    // 2.
    panel->SetColor(sf->Color());
    panel->SetColorTo(sf->ColorTo());
    panel->setVisible(sf->Visible());
    panel->FFindNextCaption = sf->FindNextCaption();
    panel->FFindPrevCaption = sf->FindPrevCaption();
    panel->FHighLightCaption = sf->HighLightCaption();
    panel->FMatchCaseCaption = sf->MatchCaseCaption();
    panel->FForwardButton->SetCaption(sf->FindNextCaption());
    panel->FBackwardButton->SetCaption(sf->FindPrevCaption());
    panel->FHiliteButton->SetCaption(sf->HighLightCaption());
    panel->FMatchCase->SetCaption(sf->MatchCaseCaption());
    panel->FHintFindNext = sf->HintFindNext();
    panel->FHintFindPrev = sf->HintFindPrev();
    panel->FHintClose = sf->HintClose();
    panel->FHintHighlight = sf->HintHighlight();
    for (TProGridButton* b : {panel->FForwardButton, panel->FBackwardButton, panel->FHiliteButton, panel->FExitButton})
        b->Font()->Assign(*sf->Font());
    panel->FMatchCase->Font()->Assign(*sf->Font());

    // 3. the buttons' look
    TProGridButton* three[] = {panel->FBackwardButton, panel->FForwardButton, panel->FHiliteButton};
    switch (FControlLook->ControlStyle()) {
    case csFlat:
        for (TProGridButton* b : three) b->SetFlat(true);
        break;
    case csWinXP:
    case csTheme:
        if (!FAutoThemeAdapt)
            for (TProGridButton* b : three) {
                b->SetAutoXPStyle(true);
                b->SetFlat(false);
            }
        break;
    case csClassic:
        for (TProGridButton* b : three) {
            b->SetAutoXPStyle(false);
            b->SetFlat(false);
        }
        break;
    default: break;
    }
    if (FAutoThemeAdapt)
        for (TProGridButton* b : three) {
            b->SetAutoThemeAdapt(true);
            b->SetFlat(true);
        }

    // 4. what shows
    panel->FHiliteButton->setVisible(sf->ShowHighLight());
    panel->FExitButton->setVisible(sf->ShowClose());
    panel->FMatchCase->setVisible(sf->ShowMatchCase());
    panel->FMatchCase->SetTransparent(true);
    panel->FBackwardButton->setVisible(sf->ShowFindPrev());
    panel->FForwardButton->setVisible(sf->ShowFindNext());
    auto hint = [](TProGridButton* b, const QString& text) { b->setToolTip(text); };
    hint(panel->FExitButton, sf->HintClose());
    hint(panel->FForwardButton, sf->HintFindNext());
    hint(panel->FBackwardButton, sf->HintFindPrev());
    hint(panel->FHiliteButton, sf->HintHighlight());

    // 5. layout
    TProCheckBox* mc = panel->FMatchCase;
    mc->move(sf->ShowHighLight() ? 425 : 330, mc->y());
    for (TProGridButton* b : three) b->resize(b->width(), b->isVisibleTo(panel) ? 23 : 0);
    mc->resize(mc->width(), mc->isVisibleTo(panel) ? 18 : 0);
    if (sf->Visible()) {
        panel->setGeometry(0, height() - 32, width(), 32);
        ScrollAboveSearchFooter();
    } else {
        panel->resize(panel->width(), 0);
    }
}

// ---- a column dragged out of a list --------------------------------------------------------

namespace {
const QString ColumnFormat = QStringLiteral("application/x-prostringgrid-column");
}

void TProStringGrid::OleColumnDragStart(int ACol, int AIndex, QListWidget* AList)
{
    FOleDragCol = ACol;
    FOleDragIndex = AIndex;
    FOleDragList = AList;
}

QMimeData* TProStringGrid::ColumnDragData(int ACol)
{
    auto* data = new QMimeData;
    data->setData(ColumnFormat, QByteArray::number(ACol));
    data->setText(QString::number(ACol));
    return data;
}

int TProStringGrid::ColumnOfDragData(const QMimeData* Data)
{
    if (!Data || !Data->hasFormat(ColumnFormat)) return -1;
    bool ok = false;
    const int col = Data->data(ColumnFormat).toInt(&ok);
    return ok && col >= 0 ? col : -1;
}

Qt::DropAction TProStringGrid::OleColumnDrag(int ACol, int AIndex, QListWidget* AList)
{
    OleColumnDragStart(ACol, AIndex, AList);
    auto* drag = new QDrag(AList ? static_cast<QObject*>(AList) : this);
    drag->setMimeData(ColumnDragData(ACol));
    return drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

QObject* TProStringGrid::BalloonToolTip() { return FHToolTip; }

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
