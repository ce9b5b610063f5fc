#pragma once
// The windows of the program by their form variable name ("FParGen", "FReceive_J1939_892"),
// each with its Set_Lang.  A window registers itself once it is created; the main window
// shows windows by name and re-applies the texts of every registered window after a
// language change.
//
// A window may be registered before its creation step has run: the step then runs the first
// time anything asks for the window by name (Find_Form, Need_Form, Show_Form) or a language
// change reaches it, so that start-up pays only for the window objects.
#include <QString>
#include <functional>

class TForm;

void Register_Form(const QString& name, TForm* form, std::function<void()> setLang = {});
// Registers a window whose creation step `create` has not run yet.
void Register_Pending_Form(const QString& name, TForm* form, std::function<void()> setLang,
                           std::function<void()> create);
// Whether the window registered under name still waits for its creation step.
bool Form_Pending(const QString& name);
void Unregister_Form(const QString& name);
TForm* Find_Form(const QString& name);
// The window of that name; a name nobody registered raises an Exception, so that a
// misspelt name cannot pass for a window that shows nothing.
TForm& Need_Form(const QString& name);
// Shows the window modally and returns its modal result; raises as Need_Form.
int Show_Form(const QString& name);
// Set_Lang of every registered window, in registration order.
void Apply_Lang_To_Forms();
