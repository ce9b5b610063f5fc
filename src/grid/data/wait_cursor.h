#pragma once
// The hourglass for the duration of a long operation; the former cursor comes back at the
// end, also when the operation fails.
#include <QCoreApplication>
#include <QGuiApplication>

struct TWaitCursor {
    TWaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TWaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) QGuiApplication::restoreOverrideCursor();
    }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};
