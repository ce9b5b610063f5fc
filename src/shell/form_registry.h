#pragma once
// The windows of the program by their form variable name ("FParGen", "FReceive_J1939_892"),
// each with its Set_Lang.  A window registers itself once it is created; the main window
// shows windows by name and re-applies the texts of every registered window after a
// language change.
#include <QString>
#include <functional>

class TForm;

void Register_Form(const QString& name, TForm* form, std::function<void()> setLang = {});
void Unregister_Form(const QString& name);
TForm* Find_Form(const QString& name);
// The window of that name; a name nobody registered raises an Exception, so that a
// misspelt name cannot pass for a window that shows nothing.
TForm& Need_Form(const QString& name);
// Shows the window modally and returns its modal result; raises as Need_Form.
int Show_Form(const QString& name);
// Set_Lang of every registered window, in registration order.
void Apply_Lang_To_Forms();
