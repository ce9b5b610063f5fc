#pragma once
// The OK / Cancel buttons every editor window has on the panel along its foot.
#include <functional>

class QFrame;
class QWidget;
class TLbButton;

struct TOKCancelPanel {
    QFrame* Panel = nullptr;
    TLbButton* OK = nullptr;       // "Btn_OK", at the left of the panel
    TLbButton* Cancel = nullptr;   // "Btn_Cancel", beside it
};

// Builds the panel at the foot of `form` with its two buttons, 110 x 28 each, bearing the
// OK and Cancel pictures.  A click on OK runs onOK, or, when onOK is null, closes the window
// with mrOk; Cancel (and the Escape key) closes it with mrCancel.  The captions are the
// window's language texts, set by the window.
TOKCancelPanel Make_OK_Cancel_Panel(QWidget* form, std::function<void()> onOK);
