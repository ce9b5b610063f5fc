#pragma once
// The program's windows: each created once at start, in a fixed order, the main window
// first (its creation step is the start-up that the others' creation relies on), and
// registered under its form variable name.  Only the windows that the build's model can
// open are created; the others stay null and unregistered.  The windows after the main
// window are created as objects at start-up and build their contents the first time they
// are asked for by name.
#include "shell/form_registry.h"

#include <QString>
#include <QStringList>
#include <functional>

// Remembers how to free a window at exit (in the reverse order of creation).
void Keep_Form(std::function<void()> destroy);

// Creates a window, stores it in its form variable and registers it, with its Set_Lang when
// it has one; its creation step runs now, or with `pending` the first time the window is
// asked for by name (form_registry.h).
template <class T>
T* Create_Form(const QString& name, T*& variable, bool pending = false)
{
    variable = new T();
    T* form = variable;
    std::function<void()> setLang;
    if constexpr (requires(T* f) { f->Set_Lang(); }) setLang = [form] { form->Set_Lang(); };
    if (pending) {
        Register_Pending_Form(name, form, std::move(setLang), [form] { form->FormCreate(); });
    } else {
        form->FormCreate();
        Register_Form(name, form, std::move(setLang));
    }
    Keep_Form([&variable, name] {
        Unregister_Form(name);
        delete variable;
        variable = nullptr;
    });
    return variable;
}

// Start-up of the whole program with the executable's folder: Create_Main_Form, then
// Create_Model_Forms.
void Create_Forms(const QString& exeDir);
// The main window, whose creation step is the program's start-up, and its update hooks.
void Create_Main_Form(const QString& exeDir);
// The other windows that Model_Code's steps can open, in start-up order; each runs its
// creation step the first time it is asked for by name, but for a window that another
// window reaches through its form variable (model 890's register map), which runs it now.
void Create_Model_Forms();
// Their form names, in start-up order.
QStringList Model_Form_Names(int model);
// Frees the windows, the main window last.
void Destroy_Forms();
