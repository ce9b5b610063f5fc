#pragma once
// Downloads of pictures named by an http or https address.  They come from the download
// module (download_module.cpp, libfabricat_download.so), so that Qt Network is loaded only
// once a picture is fetched.
#include <QByteArray>
#include <QString>

class QThread;

// Fetches URL on the calling thread (Thread), following at most 5 safe redirects: the body
// in Data, or the reason in Error and Data empty.  Over Limit bytes or Timeout milliseconds
// fails; an interruption requested of Thread ends the download with Cancelled set.
using TDownloadEntry = void (*)(QThread* Thread, const QString& URL, qint64 Limit, int Timeout, QByteArray& Data,
                                QString& Error, bool& Cancelled);
inline constexpr const char* DownloadModule = "fabricat_download";
inline constexpr const char* DownloadModuleEntry = "fabricat_download";
