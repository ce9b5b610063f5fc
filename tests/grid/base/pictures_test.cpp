// Pictures of mini-HTML texts: decoding, GIF frames, the cache and the container.
#include "grid/base/pictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

namespace {

QByteArray Encoded(const QImage& img, const char* format)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format);
    return bytes;
}

QImage Filled(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// A 2 x 2 animation of two 1 x 1 frames: black at (0, 0) for 10/100 s, then white at (1, 1)
// for 20/100 s.
QByteArray TwoFrameGif()
{
    const unsigned char gif[] = {
        'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF,  // header, colours
        0x21, 0xF9, 4, 0, 10, 0, 0, 0,                                                   // frame 1
        0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0,
        0x21, 0xF9, 4, 0, 20, 0, 0, 0,                                                   // frame 2
        0x2C, 1, 0, 1, 0, 1, 0, 1, 0, 0, 2, 2, 0x4C, 0x01, 0,
        0x3B};
    return QByteArray(reinterpret_cast<const char*>(gif), sizeof(gif));
}

TEST(Pictures, DecodesTheFormatsQtReads)
{
    for (const char* format : {"PNG", "BMP", "JPEG", "ICO"}) {
        SCOPED_TRACE(format);
        THTMLPicture p;
        EXPECT_TRUE(p.Empty());
        p.LoadFromBytes(Encoded(Filled(7, 5, Qt::blue), format));
        EXPECT_FALSE(p.Empty());
        EXPECT_EQ(p.Width(), 7);
        EXPECT_EQ(p.Height(), 5);
        EXPECT_EQ(p.FrameCount(), -1);
        EXPECT_FALSE(p.Step());
    }
}

TEST(Pictures, DrawsInItsOwnSizeOrStretched)
{
    THTMLPicture p;
    p.LoadFromBytes(Encoded(Filled(4, 4, Qt::red), "PNG"));
    TBitmap bmp(20, 20);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect({0, 0, 20, 20});
    p.Draw(bmp.Canvas(), {2, 2, 18, 18});
    EXPECT_EQ(QColor(bmp.Image().pixel(5, 5)), QColor(Qt::red));
    EXPECT_EQ(QColor(bmp.Image().pixel(6, 6)), QColor(Qt::white));
    p.SetStretch(true);
    p.Draw(bmp.Canvas(), {2, 2, 18, 18});
    EXPECT_EQ(QColor(bmp.Image().pixel(17, 17)), QColor(Qt::red));
}

TEST(Pictures, ErrorsOfDecodingAndOfFiles)
{
    THTMLPicture p;
    try {
        p.LoadFromBytes(QByteArray("not a picture at all"));
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Could not load image. Invalid format");
    }
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.png"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("garbage");
    f.close();
    p.LoadFromFile(bad);
    EXPECT_TRUE(p.Empty());
    p.LoadFromFile(dir.filePath(QStringLiteral("missing.png")));
    EXPECT_TRUE(p.Empty());
    TBitmap bmp(4, 4);
    p.Draw(bmp.Canvas(), {0, 0, 4, 4});  // nothing to draw, nothing happens
}

TEST(Pictures, LoadFromUrl)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pic.png"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Encoded(Filled(3, 2, Qt::green), "PNG"));
    f.close();
    THTMLPicture p;
    p.LoadFromURL(QStringLiteral("file://") + path);
    EXPECT_EQ(p.ID(), QStringLiteral("file://") + path);
    EXPECT_EQ(p.Width(), 3);

    THTMLPicture web;
    web.LoadFromURL(QStringLiteral("http://host/a.png"));  // asynchronous: kept, never fetched
    EXPECT_TRUE(web.Busy());
    EXPECT_TRUE(web.Empty());
    web.SetAsynch(false);
    THTMLPicture sync;
    sync.SetAsynch(false);
    sync.LoadFromURL(QStringLiteral("http://host/a.png"));
    EXPECT_EQ(sync.ID(), QStringLiteral("http://host/a.png"));
    EXPECT_TRUE(sync.Empty());
}

TEST(Pictures, GifFrames)
{
    THTMLPicture p;
    p.LoadFromBytes(TwoFrameGif());
    ASSERT_TRUE(p.IsGIF());
    EXPECT_EQ(p.FrameCount(), 2);
    EXPECT_EQ(p.GetFrameTime(1), 10);
    EXPECT_EQ(p.GetFrameTime(2), 20);
    EXPECT_EQ(p.GetFrameTime(3), -1);
    EXPECT_EQ(p.MaxWidth(), 2);
    EXPECT_EQ(p.MaxHeight(), 2);
    EXPECT_EQ(p.FrameXPos(), 0);
    EXPECT_EQ(QColor(p.Image().pixel(0, 0)), QColor(Qt::black));

    int changes = 0;
    p.OnFrameChange = [&](TObject*) { ++changes; };
    p.SetFrame(2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(p.FrameXPos(), 1);
    EXPECT_EQ(p.FrameYPos(), 1);
    EXPECT_EQ(p.Width(), 1);
    EXPECT_EQ(QColor(p.Image().pixel(0, 0)), QColor(Qt::white));
    p.FrameNext();
    EXPECT_EQ(p.Frame(), 1);
    p.FramePrev();
    EXPECT_EQ(p.Frame(), 2);

    // ticks of a tenth of a second: after the first due time frame 2 shows two ticks, frame 1 one
    THTMLPicture a;
    a.LoadFromBytes(TwoFrameGif());
    std::vector<int> frames;
    for (int tick = 0; tick < 6; ++tick) {
        a.Step();
        frames.push_back(a.Frame());
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 1, 2, 2, 1, 2}));

    THTMLPicture four;
    four.LoadFromBytes(Encoded(Filled(2, 2, Qt::red), "PNG"));
    EXPECT_FALSE(four.IsGIF());
    TPictureItem item;
    EXPECT_FALSE(item.Picture()->IsGIF());  // nothing loaded
}

TEST(Pictures, IsGifNeedsFiveBytes)
{
    THTMLPicture p;
    try {
        p.LoadFromBytes(QByteArray("GIF8"));
    } catch (const Exception&) {
    }
    EXPECT_FALSE(p.IsGIF());
}

TEST(Pictures, CacheAndContainer)
{
    THTMLPictureCache cache;
    THTMLPicture* a = cache.AddPicture();
    a->SetID(QStringLiteral("http://Host/A.png"));
    EXPECT_EQ(cache.FindPicture(QStringLiteral("http://Host/A.png")), a);
    EXPECT_EQ(cache.FindPicture(QStringLiteral("HTTP://HOST/A.PNG")), nullptr);
    cache.AddPicture()->LoadFromBytes(TwoFrameGif());
    bool animated = false;
    for (int i = 0; i < 3; ++i) animated = cache.Animate() || animated;
    EXPECT_TRUE(animated);
    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);

    TPictureContainer container;
    TPictureItem* item = container.Items()->Add();
    item->SetName(QStringLiteral("logo"));
    item->Picture()->LoadFromBytes(Encoded(Filled(3, 3, Qt::red), "PNG"));
    EXPECT_EQ(container.FindPicture(QStringLiteral("LOGO")), item->Picture());
    EXPECT_EQ(container.FindPicture(QStringLiteral("other")), nullptr);

    TPictureItem copy;
    copy.Assign(item);
    EXPECT_EQ(copy.Name(), QStringLiteral("logo"));
    EXPECT_EQ(copy.Picture()->Width(), 3);
    THTMLPicture cleared;
    cleared.Assign(item->Picture());
    cleared.Assign(nullptr);
    EXPECT_TRUE(cleared.Empty());
}

// Mutated and truncated picture files give an error or a picture, never a crash or a read
// past their bytes.
TEST(Pictures, FuzzedFiles)
{
    const QByteArray seeds[] = {Encoded(Filled(9, 7, Qt::red), "PNG"), Encoded(Filled(9, 7, Qt::red), "BMP"),
                                Encoded(Filled(9, 7, Qt::red), "JPEG"), Encoded(Filled(9, 7, Qt::red), "ICO"),
                                TwoFrameGif()};
    std::mt19937 rng(7);
    TBitmap bmp(16, 16);
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    for (int i = 0; i < 2000; ++i) {
        QByteArray d = seeds[rng() % std::size(seeds)];
        const int edits = 1 + rng() % 6;
        for (int e = 0; e < edits && !d.isEmpty(); ++e) {
            const int at = int(rng() % d.size());
            switch (rng() % 4) {
            case 0:
                d[at] = char(rng());
                break;
            case 1:
                d.truncate(at);
                break;
            case 2:
                d.insert(at, char(0x21));
                break;
            default:
                d[at] = char(0xFF);
                break;
            }
        }
        THTMLPicture p;
        try {
            p.LoadFromBytes(d);
        } catch (const Exception&) {
        }
        p.FrameCount();
        p.GetFrameTime(2);
        p.SetFrame(2);
        p.Step();
        p.Draw(bmp.Canvas(), {0, 0, 16, 16});
        EXPECT_LE(p.Width(), 65535);
    }
}

}  // namespace
