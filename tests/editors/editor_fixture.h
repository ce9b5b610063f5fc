#pragma once
// An editor window made as the program makes it, over a fresh configuration folder, with
// message boxes recorded and the English texts loaded.
#include "editors/table_editor.h"
#include "state/lang.h"
#include "state/shared_state.h"
#include "support/fixtures.h"

#include <QDir>
#include <memory>

struct EditorEnv {
    explicit EditorEnv(int model) : Model(model)
    {
        Set_Default_Lang();
        Conf_Name = QStringLiteral("Test");
        Conf_Dir = Dir.File(QStringLiteral("PROJECTS/Test"));
        QDir().mkpath(Conf_Dir);
        Set_Files();
    }
    ScopedModelCode Model;
    TempExeDir Dir;
    MessageBoxRecorder Boxes;
};

template <class T>
std::unique_ptr<T> Make_Editor()
{
    auto e = std::make_unique<T>();
    e->FormCreate();
    return e;
}
