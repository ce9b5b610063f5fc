// The peer of the start-up benchmark: a Qt program that shows one empty QDialog, the least a
// Qt Widgets program does before its first window is on the screen.
#include <QApplication>
#include <QDialog>
#include <QStyleFactory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QDialog dialog;
    dialog.resize(694, 484);
    dialog.setWindowTitle(QStringLiteral("bare dialog"));
    dialog.show();
    return app.exec();
}
