#include "platform/ui/forms.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

TForm::TForm(QWidget* parent) : QDialog(parent)
{
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

int TForm::ShowModal()
{
    // the keyboard goes back where it was when the window closes
    const TFocusKeeper keeper;
    FModalResult = mrNone;
    CentreOnScreen();
    FInModal = true;
    exec();
    FInModal = false;
    if (FModalResult == mrNone) FModalResult = mrCancel;
    return FModalResult;
}

void TForm::SetModalResult(int r)
{
    FModalResult = r;
    if (r != mrNone && FInModal) QDialog::done(r);
}

void TForm::SetClientSize(int w, int h) { setFixedSize(w, h); }

void TForm::CentreOnScreen()
{
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect g = s->availableGeometry();
        move(g.x() + (g.width() - width()) / 2, g.y() + (g.height() - height()) / 2);
    }
}

void TForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

void TForm::closeEvent(QCloseEvent* e)
{
    FormClose();
    QDialog::closeEvent(e);
}

void TForm::done(int r)
{
    // Escape and the window's close box end the window as Cancel
    if (FModalResult == mrNone) FModalResult = (r == QDialog::Accepted) ? mrOk : mrCancel;
    QDialog::done(r);
}
