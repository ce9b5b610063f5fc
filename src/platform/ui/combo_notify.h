#pragma once
// Combo boxes over a grid tell the grid what happens to them as the platform's combo boxes
// tell their parent: WM_COMMAND with a CBN_ code in the high word of wParam and the combo
// box in lParam.
#include <cstdint>

class QComboBox;
class QWidget;

// Sends WM_COMMAND with `code` from `control` to the grid it lies in; 0 when none.
intptr_t NotifyGrid(QWidget* control, int code);

// From now on the combo box reports CBN_SELCHANGE when the user picks an item,
// CBN_EDITCHANGE when its text changes, and CBN_DROPDOWN and CBN_CLOSEUP when its list
// opens and closes.
void ConnectComboNotifications(QComboBox* combo);
