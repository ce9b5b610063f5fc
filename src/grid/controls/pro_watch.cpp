#include "grid/controls/pro_watch.h"

#include "grid/controls/dropdown_styles.h"
#include "platform/core/exception.h"
#include "platform/core/sysutils.h"
#include "platform/ui/graphics.h"
#include "platform/ui/panel.h"

#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

constexpr double DegToRad = 3.14159265358979323846 / 180.0;

int Rnd(double v) { return int(Round(v)); }

std::unique_ptr<TFont> NewFont(int Size)
{
    auto f = std::make_unique<TFont>();
    f->SetName(QStringLiteral("Tahoma"));
    f->SetSize(Size);
    return f;
}

} // namespace

// ---------------------------------------------------------------- appearance

TWatchAppearance::TWatchAppearance() { ResetToDefaults(); }

void TWatchAppearance::ResetToDefaults()
{
#define WATCH_PROP_RESET(T, N, D) F##N = D;
    WATCH_APPEARANCE_PROPS(WATCH_PROP_RESET)
#undef WATCH_PROP_RESET
    FHourFont = NewFont(8);
    FAMPMFont = NewFont(10);
    FPicture = std::make_unique<TPicture>();
    SecondPointerShadow = clBtnShadow;
    Rounding = 5;
    BorderStyle = wbLine;
}

void TWatchAppearance::Assign(const TPersistent* Source)
{
    auto* s = dynamic_cast<const TWatchAppearance*>(Source);
    if (!s) return TPersistent::Assign(Source);
#define WATCH_PROP_COPY(T, N, D) F##N = s->F##N;
    WATCH_APPEARANCE_PROPS(WATCH_PROP_COPY)
#undef WATCH_PROP_COPY
    FHourFont->Assign(*s->FHourFont);
    FAMPMFont->Assign(*s->FAMPMFont);
    FPicture->Assign(s->FPicture.get());
    SecondPointerShadow = s->SecondPointerShadow;
    Rounding = s->Rounding;
    BorderStyle = s->BorderStyle;
    Changed();
}

void TWatchAppearance::SetHourFont(const TFont& v)
{
    FHourFont->Assign(v);
    Changed();
}

void TWatchAppearance::SetAMPMFont(const TFont& v)
{
    FAMPMFont->Assign(v);
    Changed();
}

void TWatchAppearance::SetPicture(const TPicture& v)
{
    FPicture->Assign(&v);
    Changed();
}

void ApplyWatchComponentStyle(TWatchAppearance& A, TProStyle AStyle)
{
    A.SetCenterPointOuterBorderColor(clBlack);
    A.HourFont()->SetColor(clBlack);
    A.AMPMFont()->SetColor(clBlack);
    struct Row {
        TProStyle Style;
        TColor AMPMBorder, AMPM, Back, BackTo, Border, CenterBorder, Center, Hands, Shadows, Second;
    };
    static const Row rows[] = {
        {tsOffice2003Blue, 0x962D00, 0xD68759, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759, 0xFFFFFF, 0xFFFFFF},
        {tsOffice2003Silver, 0x962D00, 0xBDA4A5, 0xE6D8D8, 0xE6D8D8, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xFFFFFF, 0xFFFFFF},
        {tsOffice2003Olive, 0x962D00, 0x82C0AF, 0xB9EAE1, 0xB9EAE1, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0xFFFFFF, 0xFFFFFF},
        {tsOffice2003Classic, 0x962D00, 0x808080, 0xF2F2F2, 0xF2F2F2, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080},
        {tsOffice2007Luna, 0xF0DED0, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0x723708, 0xFFFFFF, 0x723708},
        {tsOffice2007Obsidian, 0xF2F1F0, 0x5C534C, 0x5C534C, 0x5C534C, 0xF2F1F0, 0xFFEFE3, 0xFFEFE3, 0xF2F1F0, 0xFFFFFF, 0xF2F1F0},
        {tsWindowsXP, 0x000000, clBtnFace, clBtnFace, clBtnFace, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0x000000},
        {tsWhidbey, 0x7E9898, 0xF5F9FA, 0xF5F9FA, 0xF5F9FA, 0x7E9898, 0x7E9898, 0x7E9898, 0x7E9898, 0xFFFFFF, 0x7E9898},
        {tsOffice2007Silver, 0xE8E0DB, 0xF8F4F1, 0xF8F4F1, 0xF8F4F1, 0xE8E0DB, 0xE8E0DB, 0x74706F, 0x74706F, 0xFFFFFF, 0x74706F},
        {tsWindowsVista, 0xFEDF9A, 0xFFFDF9, 0xFFFDF9, 0xFFFAF0, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFFFFFF, 0xFEDF9A},
        {tsWindows7, 0xFBD6B8, 0xFDFBFA, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFFFFFF, 0xFBD6B8},
        {tsTerminal, 0x808080, clBtnFace, clBtnFace, clBtnFace, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080},
        {tsOffice2010Blue, 0xC7B29F, 0xF0DAC7, 0xFDF6EF, 0xFDF6EF, 0xC7B29F, 0xC7B29F, 0xC7B29F, 0xC7B29F, 0xFFFFFF, 0xC7B29F},
        {tsOffice2010Silver, 0xD2CDC8, 0xEDE5E0, 0xFFFFFF, 0xFFFFFF, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xC0C0C0, 0xD2CDC8},
        {tsOffice2010Black, 0x6D6D6D, 0x919191, 0xBFBFBF, 0xBFBFBF, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0xFFFFFF, 0x6D6D6D},
    };
    for (const Row& r : rows) {
        if (r.Style != AStyle) continue;
        A.SetAMPMBorderColorDirect(r.AMPMBorder);
        A.SetAMPMColorDirect(r.AMPM);
        A.SetBackgroundColor(r.Back);
        A.SetBackgroundColorTo(r.BackTo);
        A.SetBorderColor(r.Border);
        A.SetCenterPointBorderColor(r.CenterBorder);
        A.SetCenterPointColor(r.Center);
        A.SetHourColor(r.Hands);
        A.SetMinuteColor(r.Hands);
        A.SetHourPointer(r.Hands);
        A.SetMinutePointer(r.Hands);
        A.SetHourPointerShadow(r.Shadows);
        A.SetMinutePointerShadow(r.Shadows);
        A.SetSecondPointer(r.Second);
        if (AStyle == tsOffice2007Obsidian) {
            A.AMPMFont()->SetColor(0xF2F1F0);
            A.HourFont()->SetColor(0xF2F1F0);
        }
    }
}

// ---------------------------------------------------------------- settings

void TWatchSettings::Assign(const TPersistent* Source)
{
    auto* s = dynamic_cast<const TWatchSettings*>(Source);
    if (!s) return;
    FSecond = s->FSecond;
    FTimeOffset = s->FTimeOffset;
    SetAuto(s->FAuto);
}

void TWatchSettings::SetAuto(bool v)
{
    if (FAuto == v) return;
    FAuto = v;
    FireNotify(OnChange, this);
}

void TWatchSettings::SetSecond(bool v)
{
    if (FSecond == v) return;
    FSecond = v;
    FireNotify(OnChange, this);
}

void TWatchSettings::SetTimeOffset(int v)
{
    if (FTimeOffset == v) return;
    FTimeOffset = v;
    FireNotify(OnChange, this);
}

// ---------------------------------------------------------------- the clock

std::function<TDateTime()> TProWatch::SystemTime = [] {
    const QTime t = QTime::currentTime();
    return EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
};

TProWatch::TProWatch(QWidget* AParent)
    : QWidget(AParent), FAppearance(std::make_unique<TWatchAppearance>()),
      FSettings(std::make_unique<TWatchSettings>())
{
    resize(180, 180);
    setMouseTracking(true);
    FAppearance->OnChange = [this](TObject*) { AppearanceChanged(); };
    FSettings->OnChange = [this](TObject*) { SettingsChanged(); };
    FWatchTimer.setInterval(100);
    QObject::connect(&FWatchTimer, &QTimer::timeout, this, [this] { PaintHands(); });
    FAnimationTimer.setInterval(1);
    QObject::connect(&FAnimationTimer, &QTimer::timeout, this, [this] { AnimationTick(); });
    // the AM/PM box scrolls one pixel per 10 ms
    FAMPMTimer.setInterval(10);
    QObject::connect(&FAMPMTimer, &QTimer::timeout, this, [this] { AMPMStep(); });
}

TProWatch::~TProWatch()
{
    FAppearance->OnChange = nullptr;
    FSettings->OnChange = nullptr;
}

void TProWatch::AppearanceChanged()
{
    FCacheValid = false;
    update();
}

void TProWatch::PaintAll()
{
    FCacheValid = false;
    update();
}

void TProWatch::SetTime(TDateTime v)
{
    if (v == FTime) return;
    SetTimeInternal(v);
    PaintHands();
}

void TProWatch::SetTimeInternal(TDateTime T)
{
    if (T == FTime) return;
    FTime = T;
    FInternalSet = true;
    SetAM(TimeParts(T).H < 12);
    FInternalSet = false;
}

void TProWatch::SetShowAMPM(bool v)
{
    if (FShowAMPM == v) return;
    FShowAMPM = v;
    PaintAll();
}

void TProWatch::SetShowNumbers(bool v)
{
    if (FShowNumbers == v) return;
    FShowNumbers = v;
    PaintAll();
}

void TProWatch::FireChange()
{
    if (OnChange) OnChange(this);
}

TDateTime TProWatch::CurrentTime() const
{
    if (FSettings->Auto()) return SystemTime() + FSettings->TimeOffset() / 1440.0;
    return FTime;
}

void TProWatch::SettingsChanged()
{
    if (FSettings->Auto())
        FWatchTimer.start();
    else
        FWatchTimer.stop();
    if (FSettings->Auto()) {
        SetTime(SystemTime());
        FInternalSet = true;
        SetAM(TimeParts(FTime).H < 12);
        FInternalSet = false;
    }
    update();
}

// ---- geometry

TRect TProWatch::WatchRect() const
{
    const int W = width(), H = height();
    int s;
    if (FAppearance->Size() > 0)
        s = std::min(std::min(FAppearance->Size(), H), W);
    else
        s = std::min(W, H) - 20;
    return Bounds((W - s) / 2, (H - s) / 2, s, s);
}

TPoint TProWatch::GetCenter() const
{
    const TRect r = WatchRect();
    return {r.Left + (r.Right - r.Left) / 2, r.Top + (r.Bottom - r.Top) / 2};
}

int TProWatch::FaceRadius() const
{
    const TRect r = WatchRect();
    return (r.Right - r.Left) / 2;
}

TRect TProWatch::AMPMRect()
{
    if (!FShowAMPM) return Rect(-1, -1, -1, -1);
    TCanvas measure;
    measure.SetFont(*FAppearance->AMPMFont());
    TRect box = Rect(0, 0, 200, 200);
    const int h = measure.DrawText(QStringLiteral("AM"), box, DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
    const int w = box.Width();
    const TPoint c = GetCenter();
    const int left = c.X - (w + 8) / 2;
    const int top = c.Y + Rnd((FaceRadius() - h) / 3.0);
    return Bounds(left, top, w + 8, h);
}

int TProWatch::MinuteAt(int X, int Y) const
{
    const TPoint c = GetCenter();
    double dy = std::abs(double(c.Y - Y)), dx = std::abs(double(c.X - X));
    if (dy == 0) dy = 1;
    if (dx == 0) dx = 1;
    const int f = Rnd(std::atan(dy / dx) / DegToRad / 6.0);
    int m;
    if (X >= c.X && Y >= c.Y)
        m = f + 15;
    else if (X <= c.X && Y >= c.Y)
        m = 45 - f;
    else if (X <= c.X && Y <= c.Y)
        m = f + 45;
    else
        m = 15 - f;
    return (m < 0 || m > 59) ? 0 : m;
}

int TProWatch::HourAt(int X, int Y) const
{
    const int c = Rnd(MinuteAt(X, Y) / 5.0) % 12;
    return FAM ? c : c + 12;
}

// ---- setting the time

void TProWatch::SetHour(int Value)
{
    const TTimeParts t = TimeParts(CurrentTime());
    if (Value == t.H) return;
    if (!FAnimation || FInternalCall) {
        SetTimeInternal(EncodeTime(Value, t.M, t.S, t.MS));
        PaintHands();
        if (Value == FCurrentHourTo) FireChange();
        return;
    }
    FCurrentHourTo = Value;
    FHourAnimating = true;
    FAnimationTimer.start();
}

void TProWatch::SetMinute(int Value)
{
    if (Value >= 60) throw Exception(QStringLiteral("Invalid time"));
    TTimeParts t = TimeParts(CurrentTime());
    if (Value == t.M) return;
    if (FAnimation && !FInternalCall) {
        FCurrentMinuteTo = Value;
        FHourAnimating = false;
        FMinuteFrom = t.M;
        FAnimationTimer.start();
        return;
    }
    if (!FAnimation) FMinuteFrom = t.M;
    if (Value == 0 && FMinuteFrom > 30) {
        t.H = (t.H + 1) % 24;
        FMinuteFrom = 0;
    }
    SetTimeInternal(EncodeTime(t.H, Value, t.S, t.MS));
    PaintHands();
    if (Value == FCurrentMinuteTo) FireChange();
}

void TProWatch::AnimationTick()
{
    if (!FAnimation) return;
    const TTimeParts t = TimeParts(CurrentTime());
    // a factor below 1 would divide by zero or run away: step as with 1
    const double factor = std::max(FAnimationFactor, 1);
    int v, target;
    if (FHourAnimating) {
        target = FCurrentHourTo;
        v = t.H;
        if (v != target) {
            const int step = std::max(1, Rnd(std::abs(target - v) / factor));
            v += v < target ? step : -step;
        }
    } else {
        target = FCurrentMinuteTo;
        v = t.M;
        if (v != target) {
            const bool forward = target == 0 && v > 30;
            const int distance = forward ? 60 - v : std::abs(target - v);
            const int step = std::max(1, Rnd(distance / factor));
            v += (v < target || forward) ? step : -step;
            if (v >= 60) v = 0;
        }
    }
    const bool arrived = v == (FHourAnimating ? t.H : t.M);
    FInternalCall = true;
    try {
        if (FHourAnimating)
            SetHour(arrived ? target : v);
        else
            SetMinute(arrived ? target : v);
    } catch (...) {
        FInternalCall = false;
        FAnimationTimer.stop();
        throw;
    }
    FInternalCall = false;
    if (arrived) FAnimationTimer.stop();
}

void TProWatch::SetAM(bool AM)
{
    if (AM == FAM) return;
    FAM = AM;
    if (FAnimation && FShowAMPM && FAppearance->AMPMColor() != clNone && !FInternalSet) {
        const int h = std::max(0, AMPMRect().Height() - 2);
        // the strip shows "PM" at offset h and "AM" at 0; it scrolls toward the new half
        FAMPMOffset = AM ? h : 0;
        FAMPMStepDir = AM ? -1 : 1;
        FAMPMSteps = h;
        if (h > 0) FAMPMTimer.start();
    }
    PaintAll();
}

bool TProWatch::AMPMStep()
{
    if (FAMPMSteps <= 0) {
        FAMPMTimer.stop();
        return false;
    }
    FAMPMOffset += FAMPMStepDir;
    --FAMPMSteps;
    if (FAMPMSteps <= 0) FAMPMTimer.stop();
    update();
    return FAMPMSteps > 0;
}

// ---- input

void TProWatch::HandleMouseUp(int X, int Y)
{
    if (FSettings->Auto()) return;
    const QRegion face(WatchRect().ToQRect(), QRegion::Ellipse);
    if (!face.contains(QPoint(X, Y))) {
        SetMinute(MinuteAt(X, Y));
        return;
    }
    if (PtInRect(AMPMRect(), Point(X, Y))) {
        if (FAnimation) SetAM(!FAM);
        const int h = TimeParts(CurrentTime()).H;
        FInternalCall = true;
        FCurrentHourTo = h > 11 ? h - 12 : h + 12;
        SetHour(FCurrentHourTo);
        FInternalCall = false;
        return;
    }
    SetHour(HourAt(X, Y));
}

void TProWatch::HandleKey(int Key)
{
    if (FSettings->Auto()) return;
    const TTimeParts t = TimeParts(CurrentTime());
    auto internalHour = [this](int h) {
        FInternalCall = true;
        SetHour(h);
        FInternalCall = false;
    };
    switch (Key) {
    case Qt::Key_A:
        if (t.H > 11) SetHour(t.H - 12);
        break;
    case Qt::Key_P:
        if (t.H < 12) SetHour(t.H + 12);
        break;
    case Qt::Key_PageUp:
        if (t.H == 23)
            internalHour(0);
        else
            SetHour(t.H + 1);
        break;
    case Qt::Key_PageDown:
        if (t.H == 0)
            internalHour(23);
        else
            SetHour(t.H - 1);
        break;
    case Qt::Key_Home:
        internalHour(12);
        break;
    case Qt::Key_End:
        SetMinute(0);
        break;
    case Qt::Key_Left:
        if (t.M == 0)
            SetTime(EncodeTime((t.H + 23) % 24, 59, t.S, t.MS));
        else
            SetMinute(t.M - 1);
        break;
    case Qt::Key_Right:
        SetMinute(t.M == 59 ? 0 : t.M + 1);
        break;
    default:
        break;
    }
}

void TProWatch::mouseReleaseEvent(QMouseEvent* e)
{
    QWidget::mouseReleaseEvent(e);
    HandleMouseUp(e->position().toPoint().x(), e->position().toPoint().y());
}

void TProWatch::mouseMoveEvent(QMouseEvent* e)
{
    QWidget::mouseMoveEvent(e);
    const QPoint p = e->position().toPoint();
    setCursor(PtInRect(AMPMRect(), Point(p.x(), p.y())) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TProWatch::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    FCacheValid = false;
}

// ---- painting

void TProWatch::paintEvent(QPaintEvent*)
{
    if (FSettings->Auto()) {
        FInternalSet = true;
        SetAM(TimeParts(CurrentTime()).H < 12);
        FInternalSet = false;
    }
    const TRect client = Rect(0, 0, width(), height());
    if (!FCacheValid || FBKGCache.Width() != width() || FBKGCache.Height() != height()) {
        FBKGCache.SetSize(width(), height());
        TCanvas* c = FBKGCache.Canvas();
        c->Brush()->SetStyle(bsSolid);
        // the cache starts as what lies under the clock: its panel's colour or the window's
        auto* panel = dynamic_cast<TCustomPanel*>(parentWidget());
        c->Brush()->SetColor(panel ? panel->Color() : QColorToColor(palette().color(backgroundRole())));
        c->FillRect(client);
        DrawFace(c, client);
        DrawTickMarks(c);
        DrawNumbers(c);
        DrawAMPM(c);
        c->Release();
        FCacheValid = true;
    }
    QPainter p(this);
    TCanvas canvas;
    canvas.BeginPaint(&p);
    canvas.Draw(0, 0, FBKGCache);
    if (FAMPMTimer.isActive()) {
        // the box mid-scroll: a window of the AM-over-PM strip, then the box's frame
        const TRect B = AMPMRect();
        const int w = B.Width() - 2, h = B.Height() - 2;
        TBitmap strip(w, 2 * h);
        TCanvas* s = strip.Canvas();
        s->Brush()->SetColor(FAppearance->AMPMColor());
        s->FillRect(Rect(0, 0, w, 2 * h));
        s->SetFont(*FAppearance->AMPMFont());
        s->Brush()->SetStyle(bsClear);
        TRect top = Rect(0, 0, w, h), bottom = Rect(0, h, w, 2 * h);
        s->DrawText(QStringLiteral("AM"), top, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        s->DrawText(QStringLiteral("PM"), bottom, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        s->Release();
        canvas.CopyRect(Rect(B.Left + 1, B.Top + 1, B.Right - 1, B.Bottom - 1), *s,
                        Rect(0, FAMPMOffset, w, FAMPMOffset + h));
        canvas.Pen()->SetColor(FAppearance->AMPMBorderColor());
        canvas.Pen()->SetWidth(1);
        canvas.Brush()->SetStyle(bsClear);
        if (FAppearance->AMPMFrame() == apRoundRect)
            canvas.RoundRect(B.Left, B.Top, B.Right, B.Bottom, 5, 5);
        else
            canvas.Rectangle(B);
    }
    DrawHands(&canvas);
    canvas.EndPaint();
}

void TProWatch::DrawFace(TCanvas* Canvas, const TRect& R)
{
    if (!Canvas->CanDraw()) return;
    TWatchAppearance& A = *FAppearance;
    const TRect F = A.Shape() == wsCircle ? WatchRect() : R;
    Canvas->SaveState();
    if (QPainter* p = Canvas->Painter()) {
        const QRect bounds(F.Left - 1, F.Top - 1, F.Width() + 3, F.Height() + 3);
        if (A.Shape() == wsCircle)
            p->setClipRegion(QRegion(bounds, QRegion::Ellipse), Qt::IntersectClip);
        else if (A.Shape() == wsRoundRect) {
            QPainterPath path;
            path.addRoundedRect(QRectF(bounds), 10, 10);
            p->setClipPath(path, Qt::IntersectClip);
        }
    }
    if (A.BackgroundColor() != clNone && A.BackgroundColorTo() != clNone)
        DrawGradient(Canvas, A.BackgroundColor(), A.BackgroundColorTo(), 80, F, A.BackgroundGradient() == wgRadial);
    else if (A.BackgroundColor() != clNone) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(A.BackgroundColor());
        Canvas->FillRect(F);
    }
    if (A.BorderColor() != clNone && A.BorderWidth() > 0) {
        Canvas->Pen()->SetColor(A.BorderColor());
        Canvas->Pen()->SetWidth(A.BorderWidth());
        Canvas->Brush()->SetStyle(bsClear);
        if (A.Shape() == wsCircle)
            Canvas->Ellipse(F);
        else if (A.Shape() == wsRect)
            Canvas->Rectangle(R);
        else
            Canvas->RoundRect(R.Left, R.Top, R.Right, R.Bottom, 20, 20);
    }
    Canvas->RestoreState();
    if (TBitmap* g = A.Picture()->Graphic(); g && R.Width() > 0 && R.Height() > 0) {
        TBitmap tmp(R.Width(), R.Height());
        tmp.Canvas()->Draw(0, 0, *g);
        tmp.Canvas()->Release();
        tmp.SetTransparent(true);
        Canvas->StretchDraw(R, tmp);
    }
}

void TProWatch::DrawTickMarks(TCanvas* Canvas)
{
    TWatchAppearance& A = *FAppearance;
    if (A.TickMarks() == tmNone || !Canvas->CanDraw()) return;
    const TPoint c = GetCenter();
    const double Ro = FaceRadius() - A.BorderWidth() / 2;
    auto mark = [&](double a, double r1, double r2, int dx, int dy) {
        const double ca = std::cos(a * DegToRad), sa = std::sin(a * DegToRad);
        Canvas->MoveTo(Rnd(c.X + ca * r1) + dx, Rnd(c.Y + sa * r1) + dy);
        Canvas->LineTo(Rnd(c.X + ca * r2) + dx, Rnd(c.Y + sa * r2) + dy);
    };
    const double Ri = A.HourMarkLength() > 0 ? Ro - A.HourMarkLength() : Ro * 0.9;
    Canvas->Pen()->SetColor(A.HourColor());
    Canvas->Pen()->SetWidth(A.HourMarkWidth());
    for (int a = 0; a < 360; a += 90) {
        if (A.HourMarkStyle() == hmsQuartDblLine) {
            const bool horizontal = a == 0 || a == 180;
            mark(a, Ri, Ro, horizontal ? 0 : -2, horizontal ? -2 : 0);
            mark(a, Ri, Ro, horizontal ? 0 : 2, horizontal ? 2 : 0);
        } else
            mark(a, Ri, Ro, 0, 0);
    }
    if (A.TickMarks() == tmAll || A.TickMarks() == tmHours)
        for (int i = 1; i <= 11; ++i)
            if (i % 3 != 0) mark(30 * i, Ri, Ro, 0, 0);
    if (A.TickMarks() != tmAll) return;
    const double Rm = A.MinuteMarkLength() > 0 ? Ro - A.MinuteMarkLength() : Ro * 0.95;
    Canvas->Pen()->SetColor(A.MinuteColor());
    Canvas->Pen()->SetWidth(A.MinuteMarkWidth());
    for (int i = 0; i < 60; ++i)
        if (i % 5 != 0) mark(6 * i, Rm, Ro, 0, 0);
}

void TProWatch::DrawNumbers(TCanvas* Canvas)
{
    TWatchAppearance& A = *FAppearance;
    if (!FShowNumbers || A.TickMarks() == tmNone || A.TickMarks() == tmHours || !Canvas->CanDraw()) return;
    Canvas->SetFont(*A.HourFont());
    const TPoint c = GetCenter();
    const int Ro = FaceRadius() - A.BorderWidth() / 2;
    const int L = A.HourMarkLength() > 0 ? A.HourMarkLength() : Rnd(Ro - Ro * 0.9) + 2;
    const int Rn = Ro - 2 * L - 2;
    Canvas->Brush()->SetStyle(bsClear);
    for (int i = 1; i <= 12; ++i) {
        if (A.TickMarks() == tmQuartHours && i % 3 != 0) continue;
        const QString text = QString::number(i);
        const QSize ext = MeasureText(Canvas, text);
        const int d = i == 10 ? Rnd(ext.height() * 0.2) : i == 11 ? Rnd(ext.height() * 0.15) : 0;
        const double a = 30.0 * i * DegToRad;
        const double rho = Rn - d + L / 2;
        Canvas->TextOut(c.X + Rnd(std::sin(a) * rho) - ext.width() / 2,
                        c.Y - Rnd(std::cos(a) * rho) - ext.height() / 2, text);
    }
}

void TProWatch::DrawAMPM(TCanvas* Canvas)
{
    if (!FShowAMPM || !Canvas->CanDraw()) return;
    TWatchAppearance& A = *FAppearance;
    TRect B = AMPMRect();
    if (A.AMPMColor() != clNone) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(A.AMPMColor());
    } else
        Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(A.AMPMBorderColor());
    if (A.AMPMColor() != clNone || A.AMPMBorderColor() != clNone) {
        if (A.AMPMFrame() == apRoundRect)
            Canvas->RoundRect(B.Left, B.Top, B.Right, B.Bottom, 5, 5);
        else
            Canvas->Rectangle(B);
    }
    Canvas->SetFont(*A.AMPMFont());
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->DrawText(FAM ? QStringLiteral("AM") : QStringLiteral("PM"), B, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void TProWatch::DrawHands(TCanvas* Canvas)
{
    if (!Canvas->CanDraw()) return;
    TWatchAppearance& A = *FAppearance;
    TTimeParts t = TimeParts(CurrentTime());
    if (FSettings->Auto()) {
        FInternalSet = true;
        SetAM(t.H < 12);
        FInternalSet = false;
    }
    t.H %= 12;
    const TPoint c = GetCenter();
    const double R = FaceRadius();
    const double th = 30.0 * t.H + (t.M / 12.0) * 6.0, tm = 6.0 * t.M, ts = 6.0 * t.S;
    auto at = [&](double angle, double k, int dx = 0, int dy = 0) {
        const double a = angle * DegToRad;
        return TPoint{Rnd(c.X + std::sin(a) * R * k) + dx, Rnd(c.Y - std::cos(a) * R * k) + dy};
    };
    auto line = [&](TColor color, int width, double angle, double k1, double k2, int dx, int dy) {
        Canvas->Pen()->SetColor(color);
        Canvas->Pen()->SetWidth(width);
        const TPoint a = at(angle, k1, dx, dy), b = at(angle, k2, dx, dy);
        Canvas->MoveTo(a.X, a.Y);
        Canvas->LineTo(b.X, b.Y);
    };
    auto pointer = [&](TColor color, double angle, double tip, int dx, int dy) {
        const double a = angle * DegToRad, side = 0.05 * R;
        Canvas->Pen()->SetColor(color);
        Canvas->Pen()->SetWidth(1);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(color);
        Canvas->Polygon({at(angle, -0.1, dx, dy),
                         {Rnd(c.X + std::cos(a) * side) + dx, Rnd(c.Y + std::sin(a) * side) + dy},
                         at(angle, tip, dx, dy),
                         {Rnd(c.X - std::cos(a) * side) + dx, Rnd(c.Y - std::sin(a) * side) + dy}});
    };
    const bool second = FSettings->Auto() && FSettings->Second();
    if (A.PointerStyle() == psLine) {
        if (A.HourPointerShadow() != clNone) line(A.HourPointerShadow(), A.HourPointerSize(), th, -0.1, 0.46, -1, 3);
        if (A.MinutePointerShadow() != clNone)
            line(A.MinutePointerShadow(), A.MinutePointerSize(), tm, -0.1, 0.65, 0, 3);
        line(A.HourPointer(), A.HourPointerSize(), th, -0.1, 0.5, 0, 0);
        line(A.MinutePointer(), A.MinutePointerSize(), tm, -0.1, 0.7, 0, 0);
        if (second) line(A.SecondPointer(), A.SecondPointerSize(), ts, -0.2, 0.9, 0, 0);
    } else if (A.PointerStyle() == psPointer) {
        if (A.HourPointerShadow() != clNone) pointer(A.HourPointerShadow(), th, 0.5, 1, 3);
        pointer(A.HourPointer(), th, 0.5, 0, 0);
        if (A.MinutePointerShadow() != clNone) pointer(A.MinutePointerShadow(), tm, 0.7, 1, 3);
        pointer(A.MinutePointer(), tm, 0.7, 0, 0);
        if (second) line(A.SecondPointer(), A.SecondPointerSize(), ts, -0.2, 0.9, 0, 0);
    }
    const int S = A.CenterPointSize();
    if (S <= 0) return;
    const TRect box = Bounds(Rnd(c.X - S / 2.0), Rnd(c.Y - S / 2.0), S, S);
    if (A.CenterPointColor() != clNone) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(A.CenterPointColor());
        Canvas->Pen()->SetColor(A.CenterPointColor());
        Canvas->Pen()->SetWidth(1);
        Canvas->Ellipse(box);
    }
    int w = 0;
    if (A.CenterPointOuterBorderColor() != clNone) {
        w = Rnd(S * 0.2);
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetColor(A.CenterPointOuterBorderColor());
        Canvas->Pen()->SetWidth(w);
        Canvas->Ellipse(box);
    }
    if (A.CenterPointBorderColor() != clNone) {
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetColor(A.CenterPointBorderColor());
        Canvas->Pen()->SetWidth(Rnd(S * 0.1));
        const int inner = S - w;
        Canvas->Ellipse(Bounds(Rnd(c.X - inner / 2.0), Rnd(c.Y - inner / 2.0), inner, inner));
    }
}

// ---- presets

void TProWatch::SetStyle(TWatchStyle v)
{
    if (v == FStyle) return;
    FStyle = v;
    ApplyStyle(v);
}

void TProWatch::ApplyStyle(TWatchStyle S)
{
    FAppearance->ResetToDefaults();
    ApplyWatchStylePreset(*FAppearance, S, width(), height(), FAnimation, FAnimationFactor, FShowAMPM,
                          FShowNumbers);
    PaintAll();
}
