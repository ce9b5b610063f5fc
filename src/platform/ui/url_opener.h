#pragma once
// Opening a link with the desktop's handler, replaceable in tests.
#include <QString>
#include <functional>

using UrlOpenHandler = std::function<bool(const QString& url)>;
// Replaces the handler; returns the previous one.  An empty handler restores the desktop's.
UrlOpenHandler SetUrlOpenHandler(UrlOpenHandler handler);
bool OpenURL(const QString& url);
