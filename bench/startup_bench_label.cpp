// A second peer of the start-up benchmark, kept beside the bare dialog as a note: the same
// dialog with one label in the configurator's font, measured before the window is shown, as
// any window that sizes a text must.  It pays what the bare dialog never does: fontconfig's
// configuration and a font of its own.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QStyleFactory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QDialog dialog;
    dialog.resize(694, 484);
    dialog.setWindowTitle(QStringLiteral("label dialog"));
    QLabel label(QStringLiteral("Select the step"), &dialog);
    label.setFont(QFont(QStringLiteral("Verdana"), 8));
    label.move(16, 16);
    label.adjustSize();
    dialog.show();
    return app.exec();
}
