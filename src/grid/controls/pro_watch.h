#pragma once
// The analog clock control: a face with tick marks, hour numbers, an AM/PM box and hands.
// A click inside the face sets the hour, outside it the minute, in the AM/PM box the half of
// the day; a host passes keys to HandleKey.  With animation the hands move to the new
// position in steps on a timer; with Settings.Auto the clock shows the system time.
#include "grid/base/theme.h"
#include "platform/core/classes.h"
#include "platform/core/dateutils.h"
#include "platform/ui/canvas.h"
#include "platform/ui/picture.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

enum TWatchStyle {
    wsClassic, wsTower, wsFluorescent, wsEmerald, wsBlueStar, wsFuchsia, wsBlack, wsBlackWhite, wsGray,
    wsSuperNova, wsSports, wsSmooth
};
enum TWatchShape { wsCircle, wsRect, wsRoundRect };
enum TPointerStyle { psLine, psShortLine, psPointer, psLineArrow };
enum TAMPMFrame { apRect, apRoundRect };
enum TWatchGradient { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };
enum TTickMarks { tmAll, tmHours, tmQuartHours, tmNone };
enum THourMarkStyle { hmsLine, hmsQuartDblLine };
enum TWatchBorderStyle { wbLine, wbDoubleLine, wbNone };

// Hour, minute, second and millisecond of a time.
struct TTimeParts {
    int H = 0, M = 0, S = 0, MS = 0;
};
inline TTimeParts TimeParts(TDateTime T)
{
    TTimeParts p;
    DecodeTime(T, p.H, p.M, p.S, p.MS);
    return p;
}

// The plain-valued properties of the appearance: type, name, default.
#define WATCH_APPEARANCE_PROPS(X)                                                                                      \
    X(int, Size, 0)                                                                                                    \
    X(TWatchShape, Shape, wsCircle)                                                                                    \
    X(TColor, BackgroundColor, 0xFFFFFF)                                                                               \
    X(TColor, BackgroundColorTo, clNone)                                                                               \
    X(TWatchGradient, BackgroundGradient, wgVertical)                                                                  \
    X(TColor, BorderColor, clBlack)                                                                                    \
    X(int, BorderWidth, 4)                                                                                             \
    X(TColor, HourPointer, clBlack)                                                                                    \
    X(TColor, HourPointerShadow, clBtnShadow)                                                                          \
    X(uint8_t, HourPointerSize, 4)                                                                                     \
    X(TColor, MinutePointer, clBlack)                                                                                  \
    X(TColor, MinutePointerShadow, clBtnShadow)                                                                        \
    X(uint8_t, MinutePointerSize, 3)                                                                                   \
    X(TColor, SecondPointer, 0x0000FF)                                                                                 \
    X(uint8_t, SecondPointerSize, 1)                                                                                   \
    X(TPointerStyle, PointerStyle, psLine)                                                                             \
    X(TColor, HourColor, clBlack)                                                                                      \
    X(uint8_t, HourMarkLength, 0)                                                                                      \
    X(uint8_t, HourMarkWidth, 1)                                                                                       \
    X(THourMarkStyle, HourMarkStyle, hmsLine)                                                                          \
    X(TColor, MinuteColor, 0x808080)                                                                                   \
    X(uint8_t, MinuteMarkLength, 0)                                                                                    \
    X(uint8_t, MinuteMarkWidth, 1)                                                                                     \
    X(TTickMarks, TickMarks, tmAll)                                                                                    \
    X(TColor, AMPMColor, 0xFFFFFF)                                                                                     \
    X(TColor, AMPMBorderColor, clBlack)                                                                                \
    X(TAMPMFrame, AMPMFrame, apRect)                                                                                   \
    X(uint8_t, CenterPointSize, 4)                                                                                     \
    X(TColor, CenterPointColor, clBlack)                                                                               \
    X(TColor, CenterPointBorderColor, clNone)                                                                          \
    X(TColor, CenterPointOuterBorderColor, clNone)

// The look of the clock.  Every setter stores and notifies when the value changes; the font
// and picture setters copy and always notify.
class TWatchAppearance : public TPersistent {
public:
    TWatchAppearance();
    QString ClassName() const override { return QStringLiteral("TWatchAppearance"); }
    void Assign(const TPersistent* Source) override;
    // Every field back to its default, without notification.
    void ResetToDefaults();

#define WATCH_PROP_ACCESS(T, N, D)                                                                                     \
    T N() const { return F##N; }                                                                                       \
    void Set##N(T v)                                                                                                   \
    {                                                                                                                  \
        if (F##N == v) return;                                                                                         \
        F##N = v;                                                                                                      \
        Changed();                                                                                                     \
    }
    WATCH_APPEARANCE_PROPS(WATCH_PROP_ACCESS)
#undef WATCH_PROP_ACCESS

    TFont* HourFont() { return FHourFont.get(); }
    void SetHourFont(const TFont& v);
    TFont* AMPMFont() { return FAMPMFont.get(); }
    void SetAMPMFont(const TFont& v);
    TPicture* Picture() { return FPicture.get(); }
    void SetPicture(const TPicture& v);
    // Kept and copied, not drawn.
    TColor SecondPointerShadow = clBtnShadow;
    int Rounding = 5;
    TWatchBorderStyle BorderStyle = wbLine;

    // Written without notification by the presets and component styles.
    void SetAMPMColorDirect(TColor v) { FAMPMColor = v; }
    void SetAMPMBorderColorDirect(TColor v) { FAMPMBorderColor = v; }

    TNotifyEvent OnChange;
    void Changed() { FireNotify(OnChange, this); }

private:
#define WATCH_PROP_FIELD(T, N, D) T F##N = D;
    WATCH_APPEARANCE_PROPS(WATCH_PROP_FIELD)
#undef WATCH_PROP_FIELD
    std::unique_ptr<TFont> FHourFont, FAMPMFont;
    std::unique_ptr<TPicture> FPicture;
};

// Colours AAppearance by a component style of the drop-down family (tsCustom: only the
// centre point's outer border and the font colours become black).
void ApplyWatchComponentStyle(TWatchAppearance& AAppearance, TProStyle AStyle);
// Puts the preset Style over AAppearance (which the caller has reset) for a control of W x H;
// the flags are the control's own.
void ApplyWatchStylePreset(TWatchAppearance& A, TWatchStyle Style, int W, int H, bool& Animation,
                           int& AnimationFactor, bool& ShowAMPM, bool& ShowNumbers);

// What the clock does: the live mode and its second hand and time offset (minutes).
class TWatchSettings : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TWatchSettings"); }
    void Assign(const TPersistent* Source) override;
    bool Auto() const { return FAuto; }
    void SetAuto(bool v);
    bool Second() const { return FSecond; }
    void SetSecond(bool v);
    int TimeOffset() const { return FTimeOffset; }
    void SetTimeOffset(int v);
    TNotifyEvent OnChange;

private:
    bool FAuto = false;
    bool FSecond = true;
    int FTimeOffset = 0;
};

class TProWatch : public QWidget {
public:
    explicit TProWatch(QWidget* AParent = nullptr);
    ~TProWatch() override;

    // The system's time of day; tests replace it.
    static std::function<TDateTime()> SystemTime;

    TWatchAppearance* Appearance() { return FAppearance.get(); }
    void SetAppearance(const TWatchAppearance& v) { FAppearance->Assign(&v); }
    TWatchSettings* Settings() { return FSettings.get(); }
    void SetSettings(const TWatchSettings& v) { FSettings->Assign(&v); }
    TDateTime Time() const { return FTime; }
    void SetTime(TDateTime v);
    bool ShowAMPM() const { return FShowAMPM; }
    void SetShowAMPM(bool v);
    bool ShowNumbers() const { return FShowNumbers; }
    void SetShowNumbers(bool v);
    bool Animation() const { return FAnimation; }
    void SetAnimation(bool v) { FAnimation = v; }
    int AnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(int v) { FAnimationFactor = v; }
    TWatchStyle Style() const { return FStyle; }
    void SetStyle(TWatchStyle v);
    void SetComponentStyle(TProStyle AStyle) { ApplyWatchComponentStyle(*FAppearance, AStyle); }
    std::function<void(QObject* Sender)> OnChange;

    void SetHour(int Value);
    // Throws "Invalid time" for 60 or more.
    void SetMinute(int Value);
    // The keys a host passes on (virtual-key codes as Qt keys: A, P, Page Up/Down, Home,
    // End, Left, Right).
    void HandleKey(int Key);
    void HandleMouseUp(int X, int Y);

    // ---- geometry and state, for the host and the tests
    TRect WatchRect() const;
    TPoint GetCenter() const;
    int FaceRadius() const;
    TRect AMPMRect();
    TDateTime CurrentTime() const;
    int MinuteAt(int X, int Y) const;
    int HourAt(int X, int Y) const;
    bool AM() const { return FAM; }
    void SetAM(bool AM);
    // One tick of the hand animation (the timer's; tests call it directly).
    void AnimationTick();
    bool Animating() const { return FAnimationTimer.isActive(); }
    // One step of the AM/PM box scroll; answers whether it goes on.
    bool AMPMStep();
    bool AMPMScrolling() const { return FAMPMTimer.isActive(); }
    QTimer& LiveTimer() { return FWatchTimer; }

    void DrawFace(TCanvas* Canvas, const TRect& R);
    void DrawTickMarks(TCanvas* Canvas);
    void DrawNumbers(TCanvas* Canvas);
    void DrawAMPM(TCanvas* Canvas);
    void DrawHands(TCanvas* Canvas);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void SetTimeInternal(TDateTime T);
    void PaintHands() { update(); }
    void PaintAll();
    void SettingsChanged();
    void AppearanceChanged();
    void ApplyStyle(TWatchStyle S);
    void FireChange();

    std::unique_ptr<TWatchAppearance> FAppearance;
    std::unique_ptr<TWatchSettings> FSettings;
    TDateTime FTime = 0;
    bool FShowAMPM = true, FShowNumbers = true, FAnimation = true;
    int FAnimationFactor = 10;
    TWatchStyle FStyle = wsClassic;
    bool FAM = true;
    int FCurrentHourTo = -1, FCurrentMinuteTo = -1, FMinuteFrom = 0;
    bool FHourAnimating = false;
    bool FInternalCall = false, FInternalSet = false;
    // Face, marks, numbers and AM/PM box; rebuilt on a full paint only.
    TBitmap FBKGCache;
    bool FCacheValid = false;
    QTimer FWatchTimer, FAnimationTimer, FAMPMTimer;
    // The AM/PM scroll: the strip's offset, its end and its direction.
    int FAMPMOffset = 0, FAMPMSteps = 0, FAMPMStepDir = 0;
};
