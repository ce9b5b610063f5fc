#pragma once
// A started program in a fresh folder: every window created, message boxes recorded, and
// windows of later steps standing in as recorders of their showing.  As in the program, a
// window after the main window builds its contents the first time it is asked for by name
// (Need_Form): a test that drives one through its form variable asks for it first.
#include "platform/ui/forms.h"
#include "shell/TFFabricateFirmWare.h"
#include "shell/TFNew_Project.h"
#include "shell/TFOpenConf.h"

#include <QLineEdit>
#include <QListWidget>
#include "shell/app_forms.h"
#include "support/fixtures.h"

#include <QByteArray>
#include <QStringList>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

// A window that records that it was shown instead of running a modal loop.
class RecordingForm : public TForm {
public:
    RecordingForm(QString name, QStringList* log) : FName(std::move(name)), FLog(log) {}
    int ShowModal() override
    {
        FLog->append(FName);
        if (OnShow) OnShow();
        return mrOk;
    }
    std::function<void()> OnShow;

private:
    QString FName;
    QStringList* FLog;
};

// The Open dialog where the user picks Choose (when set) in the list and presses OK.
class OpenConfStandIn : public TFOpenConf {
public:
    OpenConfStandIn() { FormCreate(); }
    QString Choose;
    int ShowModal() override
    {
        FormShow();
        if (!Choose.isEmpty()) ListBox1->setCurrentRow(SL.indexOf(Choose));
        return mrOk;
    }
};

// The New dialog where the user types Name and presses OK.
class NewProjectStandIn : public TFNew_Project {
public:
    NewProjectStandIn() { FormCreate(); }
    QString Name;
    int ShowModal() override
    {
        FormShow();
        E_New_Proj->setText(Name);
        Btn_OKClick();
        return ModalResult();
    }
};

// What a test has created at start: every window of the model, or only the main window
// (for tests that stand in for every window they open).
enum class TStartWindows { Model, MainOnly };

class ShellTest {
public:
    explicit ShellTest(int model, const QByteArray& settings = QByteArray(),
                       TStartWindows windows = TStartWindows::Model);
    ~ShellTest();
    TFFabricateFirmWare* Main() const { return FFabricateFirmWare; }
    // Registers a recorder under a form name; shown windows land in Shown.
    RecordingForm* Stand_In(const QString& name);
    // Puts a window in place of the one registered under name until the test ends.
    void Replace_Form(const QString& name, TForm* form, std::function<void()> setLang = {});
    // Writes PROJECTS/<name>/ParGen.xml and makes it the open configuration.
    void Open_Conf(const QString& name, const QByteArray& parGen = QByteArray());

    ScopedModelCode Model;
    TempExeDir Dir;
    MessageBoxRecorder Boxes;
    QStringList Shown;

private:
    std::vector<std::unique_ptr<RecordingForm>> FStandIns;
    std::vector<std::pair<QString, TForm*>> FReplaced;
};

// A one-shot HTTP server on 127.0.0.1 that records the request and answers with the given
// bytes; with Silent it reads the request and never answers.
class FakeHttpServer {
public:
    explicit FakeHttpServer(QByteArray answer, bool silent = false);
    ~FakeHttpServer();
    int Port() const { return FPort; }
    QByteArray Request();

private:
    int FListen = -1;
    int FPort = 0;
    QByteArray FAnswer;
    bool FSilent;
    QByteArray FRequest;
    std::thread FThread;
    std::atomic<bool> FDone{false};
};

// A port on 127.0.0.1 where nothing listens.
int Closed_Port();
