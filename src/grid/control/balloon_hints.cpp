// The grid's balloon hints: the options copied between grids, and the tooltip the grid makes
// when they are enabled and drops when they are not.
#include "grid/control/balloon_tooltip.h"
#include "grid/control/pro_string_grid.h"

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

QObject* TProStringGrid::BalloonToolTip() { return FHToolTip; }
