#pragma once
// The windows of the program by their form variable name ("FParGen", "FReceive_J1939_892"),
// each with its Set_Lang.  A window registers itself once it is created; the main window
// shows windows by name and re-applies the texts of every registered window after a
// language change.  A name nobody registered shows nothing.
#include <QString>
#include <functional>

class TForm;

void Register_Form(const QString& name, TForm* form, std::function<void()> setLang = {});
void Unregister_Form(const QString& name);
TForm* Find_Form(const QString& name);
// Shows the window modally; mrNone when no window carries that name.
int Show_Form(const QString& name);
// Set_Lang of every registered window, in registration order.
void Apply_Lang_To_Forms();
