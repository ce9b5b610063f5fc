#pragma once
// The look every window of the program shares: the window colour, the push buttons'
// colours, and the title panel with the software code at the top of the dialogs.
#include "platform/ui/graphics.h"

#include <QImage>
#include <QString>
#include <functional>

class QFrame;
class QObject;
class QSize;
class QLabel;
class QWidget;
class TLbButton;

constexpr TColor Window_Colour = 0xEDF7F8;     // RGB(248, 247, 237)

void Apply_Window_Colour(QWidget* w, TColor colour);
// Calls fit with the form's size now and whenever the form is resized, while owner lives.
void Follow_Form_Size(QWidget* form, QObject* owner, std::function<void(const QSize&)> fit);
// Face in the window colour, grey frame, orange when pressed, yellow under the cursor.
void Apply_Button_Look(TLbButton* b);
// A push button with that look, at (left, top) and of the given size.
TLbButton* Make_Button(QWidget* parent, const char* name, int left, int top, int width, int height);

// Our small button pictures, one 16 x 16 image on a key colour that stays transparent:
// 'o' OK, 'c' Cancel, '>' Next, '<' Previous, 's' a step of the main window, 'u' update check.
QImage Shell_Glyph(char kind);

struct TTitlePanel {
    QFrame* P_Title;
    QLabel* L_SW_Code;     // the software code, 24 pt
    QLabel* L_SW_Desc;
};
// The panel across the top of a dialog, 69 pixels high; L_SW_Code shows the software code.
TTitlePanel Make_Title_Panel(QWidget* form, const QString& swCode);
// The panel along the bottom of a dialog, 40 pixels high, that holds its buttons.
QFrame* Make_Button_Panel(QWidget* form);
// A label that shows its text as it stands: names of folders and language texts come from
// outside and must never be taken for markup.
QLabel* New_Label(QWidget* parent, const char* name = nullptr);
// Sets a label's text and fits the label to it.
void Set_Label(QLabel* l, const QString& text);
