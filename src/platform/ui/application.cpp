#include "platform/ui/application.h"

#include "platform/core/exception.h"
#include "platform/ui/dialogs.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowError(QStringLiteral("Unknown error"));
    }
    return false;
}

void TApplication::ShowException(const std::exception& e)
{
    if (auto* ex = dynamic_cast<const Exception*>(&e)) ShowError(ex->Message());
    else ShowError(QString::fromUtf8(e.what()));
}
