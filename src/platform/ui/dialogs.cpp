#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace {
MessageBoxHandler& Handler()
{
    static MessageBoxHandler h;
    return h;
}
FileDialogHandler& FileHandler()
{
    static FileDialogHandler h;
    return h;
}

int ShowRealBox(const MessageBoxCall& call)
{
    QMessageBox box(QApplication::activeWindow());
    switch (call.Type) {
    case TMsgDlgType::mtWarning: box.setIcon(QMessageBox::Warning); box.setWindowTitle(QStringLiteral("Warning")); break;
    case TMsgDlgType::mtError: box.setIcon(QMessageBox::Critical); box.setWindowTitle(QStringLiteral("Error")); break;
    case TMsgDlgType::mtInformation: box.setIcon(QMessageBox::Information); box.setWindowTitle(QStringLiteral("Information")); break;
    case TMsgDlgType::mtConfirmation: box.setIcon(QMessageBox::Question); box.setWindowTitle(QStringLiteral("Confirm")); break;
    case TMsgDlgType::mtCustom: box.setWindowTitle(QApplication::applicationName()); break;
    }
    box.setText(call.Text);
    struct B { unsigned bit; QMessageBox::StandardButton sb; int result; };
    const B map[] = {{mbYes, QMessageBox::Yes, mrYes}, {mbNo, QMessageBox::No, mrNo}, {mbOK, QMessageBox::Ok, mrOk},
                     {mbCancel, QMessageBox::Cancel, mrCancel}, {mbAbort, QMessageBox::Abort, mrAbort},
                     {mbRetry, QMessageBox::Retry, mrRetry}, {mbIgnore, QMessageBox::Ignore, mrIgnore}};
    QMessageBox::StandardButtons sbs;
    for (const B& b : map)
        if (call.Buttons & b.bit) sbs |= b.sb;
    if (!sbs) sbs = QMessageBox::Ok;
    box.setStandardButtons(sbs);
    const int r = box.exec();
    for (const B& b : map)
        if (r == b.sb) return b.result;
    return mrCancel;
}
}  // namespace

TFocusKeeper::TFocusKeeper() : FWidget(QApplication::focusWidget()), FWindow(QApplication::activeWindow())
{
    if (FWindow) return;
    // No window has been activated yet (no window manager, the user only clicked): the
    // window the dialog opens over is the modal one, else the program's visible window, and
    // the control is the one that window would give the keyboard to.
    FWindow = QApplication::activeModalWidget();
    if (!FWindow)
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog)) {
                FWindow = w;
                break;
            }
    if (FWindow && !FWidget) FWidget = FWindow->focusWidget();
}

TFocusKeeper::~TFocusKeeper()
{
    QWidget* target = FWidget && FWidget->isVisible() && FWidget->isEnabled() ? FWidget.data() : nullptr;
    QWidget* window = target ? target->window() : FWindow.data();
    if (!window || !window->isVisible()) return;
    window->activateWindow();
    QApplication::setActiveWindow(window);
    if (!target) {
        // the control went away while the dialog was open: the window's first that takes Tab
        for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
                target = w;
                break;
            }
    }
    if (target) target->setFocus(Qt::ActiveWindowFocusReason);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler old = std::move(Handler());
    Handler() = std::move(handler);
    return old;
}

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    const MessageBoxCall call{type, text, buttons};
    const TFocusKeeper keeper;
    if (Handler()) return Handler()(call);
    return ShowRealBox(call);
}

void ShowMessage(const QString& text) { MessageDlg(text, TMsgDlgType::mtCustom, mbOK); }

void ShowError(const QString& text) { MessageDlg(text, TMsgDlgType::mtError, mbOK); }

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler)
{
    FileDialogHandler old = std::move(FileHandler());
    FileHandler() = std::move(handler);
    return old;
}

QString ExecuteFileDialog(const FileDialogCall& call)
{
    const TFocusKeeper keeper;
    if (FileHandler()) return FileHandler()(call);
    // "Text|*.txt|All|*.*" becomes "Text (*.txt);;All (*.*)"
    const QStringList parts = call.Filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
    QFileDialog dlg(QApplication::activeWindow(), call.Title, call.InitialDir);
    dlg.setAcceptMode(call.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(call.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!filters.isEmpty()) dlg.setNameFilters(filters);
    if (!call.DefaultExt.isEmpty()) dlg.setDefaultSuffix(call.DefaultExt);
    if (!call.FileName.isEmpty()) dlg.selectFile(call.FileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
    return dlg.selectedFiles().first();
}
