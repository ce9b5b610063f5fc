#pragma once
// The program's windows: each created once at start, in a fixed order, the main window
// first (its creation step is the start-up that the others' creation relies on), and
// registered under its form variable name.  Only the windows that the build's model can
// open are created; the others stay null and unregistered.
#include "shell/form_registry.h"

#include <QString>
#include <QStringList>
#include <functional>

// Remembers how to free a window at exit (in the reverse order of creation).
void Keep_Form(std::function<void()> destroy);

// Creates a window, stores it in its form variable, runs its creation step and registers
// it, with its Set_Lang when it has one.
template <class T>
T* Create_Form(const QString& name, T*& variable)
{
    variable = new T();
    variable->FormCreate();
    if constexpr (requires(T* f) { f->Set_Lang(); })
        Register_Form(name, variable, [f = variable] { f->Set_Lang(); });
    else
        Register_Form(name, variable);
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
// The other windows that Model_Code's steps can open, in start-up order.
void Create_Model_Forms();
// Their form names, in start-up order.
QStringList Model_Form_Names(int model);
// Frees the windows, the main window last.
void Destroy_Forms();
