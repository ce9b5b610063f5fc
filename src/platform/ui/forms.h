#pragma once
// Base of every window: a dialog that runs modally through ShowModal and ends with a
// ModalResult.  Controls are placed at absolute pixel positions; tests call the handlers
// directly instead of running the modal loop.
#include "platform/ui/dialogs.h"

#include <QDialog>

class TForm : public QDialog {
public:
    explicit TForm(QWidget* parent = nullptr);

    // Shows the window modally and returns its modal result.
    virtual int ShowModal();
    int ModalResult() const { return FModalResult; }
    // Setting a result other than mrNone ends a modal run.
    void SetModalResult(int r);

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& s) { setWindowTitle(s); }
    void SetClientSize(int w, int h);
    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }

    // Hooks of the window's life: creation runs once from the creator after the window
    // exists; FormShow runs each time the window is shown.
    virtual void FormCreate() {}
    virtual void FormShow() {}
    virtual void FormClose() {}

    void CentreOnScreen();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void done(int r) override;

private:
    int FModalResult = mrNone;
    bool FInModal = false;
};
