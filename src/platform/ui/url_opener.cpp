#include "platform/ui/url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
UrlOpenHandler& Handler()
{
    static UrlOpenHandler h;
    return h;
}
}  // namespace

UrlOpenHandler SetUrlOpenHandler(UrlOpenHandler handler)
{
    UrlOpenHandler old = std::move(Handler());
    Handler() = std::move(handler);
    return old;
}

bool OpenURL(const QString& url)
{
    if (Handler()) return Handler()(url);
    return QDesktopServices::openUrl(QUrl(url));
}
