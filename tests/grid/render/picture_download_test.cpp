// Pictures named by an http address: downloaded from a loopback server this test runs, with
// the picture's size limit and time-out, and shown by the grid once they arrive.
#include "grid/base/pictures.h"
#include "support/grid_shots.h"
#include "support/scripted_server.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray GreenPng(int w = 3, int h = 2)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::green);
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    img.save(&b, "PNG");
    return bytes;
}

QByteArray Answer(const QByteArray& body, const QByteArray& status = "200 OK")
{
    return "HTTP/1.0 " + status + "\r\nContent-Type: image/png\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

QString Url(const TScriptedServer& s, const char* path = "/p.png")
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(s.Port()).arg(QLatin1String(path));
}

struct Outcome {
    int Completes = 0, Errors = 0, Cancels = 0;
};

void Watch(THTMLPicture& p, Outcome& o)
{
    p.OnDownLoadComplete = [&o](TObject*) { ++o.Completes; };
    p.OnDownLoadError = [&o](TObject*) { ++o.Errors; };
    p.OnDownLoadCancel = [&o](TObject*) { ++o.Cancels; };
}

}  // namespace

TEST(PictureDownload, AGoodAnswerIsDecodedOnTheGuiThread)
{
    TScriptedServer server([](TScriptedServer& s) { s.Send(Answer(GreenPng())); });
    THTMLPicture p;
    Outcome o;
    Watch(p, o);
    p.LoadFromURL(Url(server));
    EXPECT_TRUE(p.Busy());
    EXPECT_TRUE(p.Empty());  // nothing before the answer is whole
    ASSERT_TRUE(QTest::qWaitFor([&] { return !p.Busy(); }, 5000));
    EXPECT_EQ(o.Completes, 1);
    EXPECT_EQ(o.Errors, 0);
    EXPECT_FALSE(p.Empty());
    EXPECT_EQ(p.Width(), 3);
    EXPECT_EQ(p.Height(), 2);
    EXPECT_EQ(p.ID(), Url(server));
    EXPECT_TRUE(p.DownloadError().isEmpty());
}

TEST(PictureDownload, BadAnswersLeaveThePictureEmpty)
{
    const QByteArray png = GreenPng(40, 40);
    struct Case {
        const char* Name;
        TScriptedServer::TScript Script;
        qint64 Limit;
        int Timeout;
    } cases[] = {
        {"announced too large", [](TScriptedServer& s) { s.Send("HTTP/1.0 200 OK\r\nContent-Length: 900000000\r\n\r\n"); s.Pause(2000); },
         1000, 5000},
        {"streams past the limit",
         [](TScriptedServer& s) {
             s.Send("HTTP/1.0 200 OK\r\n\r\n");
             for (int i = 0; i < 20 && s.Send(QByteArray(500, 'x')); ++i) s.Pause(5);
         },
         1000, 5000},
        {"never answers", [](TScriptedServer& s) { s.Pause(3000); }, 1 << 20, 150},
        {"not found", [png](TScriptedServer& s) { s.Send(Answer(png, "404 Not Found")); }, 1 << 20, 5000},
        {"not a picture", [](TScriptedServer& s) { s.Send(Answer(QByteArray(300, '\x01'))); }, 1 << 20, 5000},
        {"cut short",
         [png](TScriptedServer& s) {
             s.Send("HTTP/1.0 200 OK\r\nContent-Length: " + QByteArray::number(png.size()) + "\r\n\r\n" +
                    png.left(png.size() / 3));
         },
         1 << 20, 5000},
        {"binary noise instead of HTTP", [](TScriptedServer& s) { s.Send(QByteArray(64, '\xff')); }, 1 << 20, 300},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TScriptedServer server(c.Script);
        THTMLPicture p;
        p.SetDownloadLimit(c.Limit);
        p.SetDownloadTimeout(c.Timeout);
        Outcome o;
        Watch(p, o);
        QElapsedTimer clock;
        clock.start();
        p.LoadFromURL(Url(server));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !p.Busy(); }, 5000));
        EXPECT_LT(clock.elapsed(), 1500);  // a limit or time-out ends it, not the server
        EXPECT_EQ(o.Errors, 1);
        EXPECT_EQ(o.Completes, 0);
        EXPECT_TRUE(p.Empty());
        EXPECT_TRUE(p.Image().isNull());
        EXPECT_FALSE(p.DownloadError().isEmpty());
    }
}

TEST(PictureDownload, AGoingPictureCancelsItsDownloadAtOnce)
{
    TScriptedServer server([](TScriptedServer& s) { s.Pause(3000); });
    QElapsedTimer clock;
    clock.start();
    {
        THTMLPicture p;
        p.LoadFromURL(Url(server));
        QTest::qWait(30);
    }
    EXPECT_LT(clock.elapsed(), 1000);
    QApplication::processEvents();  // the end of the download has nobody left to go to
}

TEST(PictureDownload, OnlyWebAddressesAreFetched)
{
    THTMLPicture p;
    Outcome o;
    Watch(p, o);
    p.LoadFromURL(QStringLiteral("ftp://127.0.0.1/p.png"));
    EXPECT_TRUE(p.Busy());  // recorded as asked, never fetched
    QTest::qWait(20);
    EXPECT_EQ(o.Completes + o.Errors + o.Cancels, 0);
}

TEST(PictureDownload, AGridShowsAWebPictureOnceItArrives)
{
    TScriptedServer server([](TScriptedServer& s) { s.Send(Answer(GreenPng(12, 12))); });
    auto g = MakeGrid(3, 4);
    g->SetColWidths(1, 60);
    g->SetCells(1, 1, QStringLiteral("<IMG src=\"%1\">").arg(Url(server)));
    QApplication::processEvents();
    const TRect cell = g->CellRect(1, 1);
    EXPECT_FALSE(Shows(Shot(g->viewport()), cell, 0x00FF00));
    THTMLPicture* pic = g->ImageCache()->FindPicture(Url(server));
    ASSERT_NE(pic, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pic->Busy(); }, 5000));
    QApplication::processEvents();
    EXPECT_TRUE(Shows(Shot(g->viewport()), cell, 0x00FF00));
}

TEST(PictureResources, ByNumber)
{
    THTMLPicture p;
    EXPECT_THROW(p.LoadFromResourceID(4711), Exception);
    EXPECT_TRUE(p.Empty());
    p.LoadFromResourceID(101);
    EXPECT_EQ(p.Width(), 5);
    EXPECT_EQ(p.Height(), 4);
}
