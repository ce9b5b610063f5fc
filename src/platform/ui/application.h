#pragma once
// The application object.  Qt does not catch exceptions that escape an event handler; this
// one does, and shows the exception's text in the default error box, so one failed action
// never ends the program.
#include <QApplication>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    // Shows an escaped exception's text; also used where code catches on purpose.
    static void ShowException(const std::exception& e);
};
