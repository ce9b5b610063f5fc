#pragma once
// The grid's balloon tooltip: one popup window over a tool widget's client area.  Each time
// it is about to show it asks its owner for the text with a WM_NOTIFY message whose LParam
// points at a TNMTTDispInfo (code TTN_GETDISPINFOW); the owner may also set the title,
// colours and width then.  An empty text shows nothing.
#include "platform/ui/graphics.h"
#include "platform/ui/messages.h"
#include "platform/ui/notify.h"

#include <QBasicTimer>
#include <QPointer>
#include <QWidget>
#include <functional>

// Title icons.
enum : int { TTI_NONE = 0, TTI_INFO = 1, TTI_WARNING = 2, TTI_ERROR = 3 };
// Which delay.
enum : int { TTDT_AUTOMATIC = 0, TTDT_RESHOW = 1, TTDT_AUTOPOP = 2, TTDT_INITIAL = 3 };

class TBalloonToolTip : public QWidget {
public:
    // Tool: the window the balloon covers and whose mouse it follows.
    explicit TBalloonToolTip(QWidget* Tool);
    ~TBalloonToolTip() override;

    // Receives the notifications (TTN_GETDISPINFOW before each show, TTN_SHOW, TTN_POP).
    std::function<void(TMessage& Message)> OnNotify;

    QWidget* Tool() const { return FTool.data(); }
    // The tool covers the tool window's whole client area while registered.
    void AddTool() { FToolRegistered = true; }
    bool ToolRegistered() const { return FToolRegistered; }

    // The title and its icon; an icon outside 0 .. 3 counts as none.  At most 255
    // characters of the title are kept.
    void SetTitle(const QString& Title, int Icon);
    QString Title() const { return FTitle; }
    int Icon() const { return FIcon; }
    void SetMaxTipWidth(int v) { FMaxTipWidth = v; }
    int MaxTipWidth() const { return FMaxTipWidth; }
    void SetTipTextColor(TColor v) { FTextColor = v; update(); }
    TColor TipTextColor() const { return FTextColor; }
    void SetTipBkColor(TColor v) { FBkColor = v; update(); }
    TColor TipBkColor() const { return FBkColor; }
    // Delays in milliseconds; -1 (or TTDT_AUTOMATIC) returns to the platform's defaults.
    void SetDelayTime(int Which, int Ms);
    int DelayTime(int Which) const;
    // 0 .. 255, 255 opaque.
    void SetOpacity(int Alpha);
    int Opacity() const { return FAlpha; }

    // The text of the balloon on show (or last shown).
    QString Text() const { return FText; }
    // Shows the balloon for the mouse resting at Pos (tool client coordinates) at once, or
    // hides it again.
    void Popup(const QPoint& Pos);
    void Pop();
    // Asks for the text anew and shows it where the balloon is (TTM_UPDATE).
    void UpdateTipText();

protected:
    // The tooltip messages (TTM_) its owner sends while it answers a notification.
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void timerEvent(QTimerEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void Notify(int Code, TNMTTDispInfo* Info = nullptr);
    QWidget* MouseWidget() const;
    void Layout(const QPoint& GlobalAnchor);

    QPointer<QWidget> FTool;
    bool FToolRegistered = false;
    QString FTitle;
    int FIcon = TTI_NONE;
    QString FText;
    int FMaxTipWidth = -1;
    TColor FTextColor = clInfoText;
    TColor FBkColor = clInfoBk;
    int FInitial = -1, FAutoPop = -1, FReshow = -1;
    int FAlpha = 255;
    QPoint FRestPos;
    QPoint FAnchor;
    QBasicTimer FShowTimer, FHideTimer;
    qint64 FLastPop = 0;
};
