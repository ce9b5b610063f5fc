#include "support/fixtures.h"

#include "state/lang.h"
#include "state/model_table.h"
#include "state/shared_state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

ScopedModelCode::ScopedModelCode(int code) : FOld(Model_Code) { Model_Code = code; }
ScopedModelCode::~ScopedModelCode() { Model_Code = FOld; }

MessageBoxRecorder::MessageBoxRecorder()
{
    FOld = SetMessageBoxHandler([this](const MessageBoxCall& c) {
        Calls.push_back(c);
        if (!Answers.empty()) {
            const int a = Answers.front();
            Answers.erase(Answers.begin());
            return a;
        }
        return DefaultAnswer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHandler(std::move(FOld)); }

QStringList MessageBoxRecorder::Texts() const
{
    QStringList l;
    for (const MessageBoxCall& c : Calls) l << c.Text;
    return l;
}

FileDialogRecorder::FileDialogRecorder()
{
    FOld = SetFileDialogHandler([this](const FileDialogCall& c) {
        Calls.push_back(c);
        if (Answers.empty()) return QString();
        const QString a = Answers.front();
        Answers.erase(Answers.begin());
        return a;
    });
}

FileDialogRecorder::~FileDialogRecorder() { SetFileDialogHandler(std::move(FOld)); }

TempExeDir::TempExeDir()
{
    Reset_Shared_State();
    Init_Folders(FDir.path());
    Set_Default_Lang();
}

TempExeDir::~TempExeDir() { Reset_Shared_State(); }

QString TempExeDir::File(const QString& relative) const { return FDir.path() + QLatin1Char('/') + relative; }

void TempExeDir::Write(const QString& relative, const QByteArray& data) const
{
    const QString p = File(relative);
    QDir().mkpath(QFileInfo(p).path());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly)) f.write(data);
}

QByteArray TempExeDir::Read(const QString& relative) const
{
    QFile f(File(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempExeDir::Exists(const QString& relative) const { return QFileInfo::exists(File(relative)); }
