#pragma once
// Shared test fixtures: a fresh folder playing Exe_Dir, a recorder for message boxes and
// file dialogs, and a scoped switch of the gateway model.
#include "platform/ui/dialogs.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <vector>

// Switches Model_Code for the lifetime of the object.
class ScopedModelCode {
public:
    explicit ScopedModelCode(int code);
    ~ScopedModelCode();

private:
    int FOld;
};

// Records every message box and answers with a preset result (mrOk by default); the
// answers list, when not empty, is used in order.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    std::vector<MessageBoxCall> Calls;
    std::vector<int> Answers;
    int DefaultAnswer = mrOk;
    // Texts of the recorded boxes, in order.
    QStringList Texts() const;
    void Clear() { Calls.clear(); }

private:
    MessageBoxHandler FOld;
};

// Answers file dialogs with preset names (empty = cancelled) and records the calls.
class FileDialogRecorder {
public:
    FileDialogRecorder();
    ~FileDialogRecorder();
    std::vector<FileDialogCall> Calls;
    std::vector<QString> Answers;

private:
    FileDialogHandler FOld;
};

// A fresh temporary folder set as Exe_Dir with MASTER, PROJECTS and LANGUAGE beside it;
// the shared state is reset on entry and exit.
class TempExeDir {
public:
    TempExeDir();
    ~TempExeDir();
    QString Path() const { return FDir.path(); }
    QString File(const QString& relative) const;
    void Write(const QString& relative, const QByteArray& data) const;
    QByteArray Read(const QString& relative) const;
    bool Exists(const QString& relative) const;

private:
    QTemporaryDir FDir;
};
