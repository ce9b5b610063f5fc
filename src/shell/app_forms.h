#pragma once
// The program's windows: each created once at start, in a fixed order, the main window
// first (its creation step is the start-up that the others' creation relies on), and
// registered under its form variable name.
#include "shell/form_registry.h"

#include <QString>
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

// Start-up of the whole program with the executable's folder.
void Create_Forms(const QString& exeDir);
// Frees the windows, the main window last.
void Destroy_Forms();
