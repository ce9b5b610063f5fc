// The track bar drop-down: the bar in the pop-up, the arrow keys and the mouse drag.
#include "grid/controls/pro_trackbar_dropdown.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>

TProTrackBarDropDown::TProTrackBarDropDown(QWidget* AParent) : TProCustomDropDown(AParent)
{
    SetEditorEnabled(false);
    DropDownEnabled = true;
    SetEditType(etNumeric);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    ForceShadow = true;
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
}

void TProTrackBarDropDown::Change()
{
    // a text that is no integer (only possible with typing on) leaves the position alone
    bool ok = false;
    const int v = Text().trimmed().toInt(&ok);
    if (ok) SetPosition(v);
}

void TProTrackBarDropDown::SetPosition(int v)
{
    FPosition = v;
    if (FTrackBar) {
        FTrackBar->setValue(v);
        FPosition = FTrackBar->value();
    }
}

void TProTrackBarDropDown::SetMin(int v)
{
    FMin = v;
    if (FTrackBar) {
        FTrackBar->setMinimum(v);
        FMin = FTrackBar->minimum();
    }
}

void TProTrackBarDropDown::SetMax(int v)
{
    FMax = v;
    if (FTrackBar) {
        FTrackBar->setMaximum(v);
        FMax = FTrackBar->maximum();
    }
}

void TProTrackBarDropDown::SetPageSize(int v)
{
    FPageSize = v;
    if (FTrackBar) FTrackBar->setPageStep(v);
}

void TProTrackBarDropDown::SetFrequency(int v)
{
    FFrequency = v;
    if (FTrackBar) FTrackBar->setTickInterval(v);
}

void TProTrackBarDropDown::CreateDropDownForm()
{
    TProCustomDropDown::CreateDropDownForm();
    if (FTrackBar) return;
    FTrackBar = new QSlider(Qt::Horizontal, FDropDownForm);
    FTrackBar->setGeometry(0, 0, width(), 40);
    FTrackBar->setTickPosition(QSlider::TicksBelow);
    connect(FTrackBar, &QSlider::valueChanged, this, [this] { TrackBarChange(); });
}

void TProTrackBarDropDown::BeforeDropDown()
{
    TProCustomDropDown::BeforeDropDown();
    FDropDownForm->CancelOnDeActivate = false;
    // filling the bar is no move of it
    const QSignalBlocker quiet(FTrackBar);
    FTrackBar->setRange(FMin, FMax);
    FTrackBar->setValue(FPosition);
    FPosition = FTrackBar->value();
    FTrackBar->setPageStep(FPageSize);
    FTrackBar->setTickInterval(FFrequency);
    FTrackBar->setSingleStep(std::max(1, FFrequency));
    FTrackBar->resize(width(), 40);
    SetFocusControl(FTrackBar);
    SetControl(FTrackBar);
}

void TProTrackBarDropDown::TrackBarChange()
{
    FPosition = FTrackBar->value();
    SetTextDirect(QString::number(FPosition));
    if (OnTrackChange) OnTrackChange(this);
}

void TProTrackBarDropDown::HandleKeyDown(QKeyEvent* e)
{
    TProCustomDropDown::HandleKeyDown(e);
    if (EditorEnabled() || (e->modifiers() & Qt::AltModifier)) return;
    // a step that would leave the range is ignored, not clamped
    if (e->key() == Qt::Key_Up && FPosition - FFrequency >= FMin) SetPosition(FPosition - FFrequency);
    else if (e->key() == Qt::Key_Down && FPosition + FFrequency <= FMax) SetPosition(FPosition + FFrequency);
}

void TProTrackBarDropDown::mousePressEvent(QMouseEvent* e)
{
    TProCustomDropDown::mousePressEvent(e);
    if (DropDownEnabled && !EditorEnabled()) {
        FDragging = true;
        FLastX = int(e->position().x());
    }
}

void TProTrackBarDropDown::mouseMoveEvent(QMouseEvent* e)
{
    TProCustomDropDown::mouseMoveEvent(e);
    // a page size of 0 gives no step size: dragging does nothing then
    if (!FDragging || FPageSize == 0) return;
    const int x = int(e->position().x());
    SetPosition(FPosition + (x - FLastX) / FPageSize);
    FLastX = x;
}

void TProTrackBarDropDown::mouseReleaseEvent(QMouseEvent* e)
{
    TProCustomDropDown::mouseReleaseEvent(e);
    FDragging = false;
}
