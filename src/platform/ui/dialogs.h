#pragma once
// Every message box of the program goes through here.  Tests install a handler that
// records each box and answers with a preset button, so no test ever shows a real box.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons as a bit set, and the modal results the boxes return.
enum TMsgDlgBtn : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32, mbIgnore = 64 };
using TMsgDlgButtons = unsigned;

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

struct MessageBoxCall {
    TMsgDlgType Type;
    QString Text;
    TMsgDlgButtons Buttons;
};

using MessageBoxHandler = std::function<int(const MessageBoxCall&)>;

// Replaces the handler; returns the previous one.  An empty handler restores the real boxes.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons);
void ShowMessage(const QString& text);
// The error style with a single OK button that the program uses for every problem.
void ShowError(const QString& text);

// File dialogs, replaceable in tests the same way.  An empty result means cancelled.
struct FileDialogCall {
    bool Save;
    QString Title;
    QString InitialDir;
    QString FileName;
    QString Filter;       // "Description|*.ext|...": pairs of a description and its patterns
    QString DefaultExt;
};
using FileDialogHandler = std::function<QString(const FileDialogCall&)>;
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);
QString ExecuteFileDialog(const FileDialogCall& call);

// The control that has the keyboard while a box or a modal window is open gets it back when
// it closes (or, when that control is gone, the first control of its window that takes Tab):
// without a window manager the keyboard would otherwise go nowhere.
class TFocusKeeper {
public:
    TFocusKeeper();
    ~TFocusKeeper();
    TFocusKeeper(const TFocusKeeper&) = delete;
    TFocusKeeper& operator=(const TFocusKeeper&) = delete;

private:
    QPointer<QWidget> FWidget;
    QPointer<QWidget> FWindow;
};
