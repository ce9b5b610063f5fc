#pragma once
// Pictures of mini-HTML texts: a picture that keeps the bytes of its image file and decodes
// them with Qt's image readers (frame by frame for GIF animations), the cache of pictures
// loaded from references with "://", and the container of named pictures of a form.
#include "platform/core/exception.h"
#include "platform/ui/canvas.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QObject>
#include <QThread>
#include <memory>
#include <vector>

class TDownLoadThread;

class THTMLPicture : public TGraphicsObject {
public:
    THTMLPicture();
    // A download still running is cancelled and waited for.
    ~THTMLPicture() override;
    THTMLPicture(const THTMLPicture&) = delete;
    THTMLPicture& operator=(const THTMLPicture&) = delete;
    QString ClassName() const override { return QStringLiteral("THTMLPicture"); }

    void Assign(const TPersistent* Source) override;
    void Draw(TCanvas* Canvas, const TRect& Rect);
    bool Empty() const { return FIsEmpty; }
    int Width() const;
    int Height() const;
    void SetWidth(int) {}
    void SetHeight(int) {}
    // Form streaming of the raw bytes.
    void ReadData(QIODevice* Stream);
    void WriteData(QIODevice* Stream) const { SaveToStream(Stream); }

    // Decoding errors reach the caller (Exception with the reader's message).
    void LoadFromStream(QIODevice* Stream);
    void LoadFromBytes(const QByteArray& Data);
    // Any failure leaves the picture empty.
    void LoadFromFile(const QString& FileName);
    // Raw-data resources of the program (Qt resources ":/<name>").
    void LoadFromResourceName(const QString& ResName);
    // The resource ":/<ResID>"; a missing one raises "Resource <ResID> not found".
    void LoadFromResourceID(int ResID);
    // "res://" and "file://" load at once; an http or https address, when asynchronous and
    // no download runs yet, is downloaded off the GUI thread (TDownLoadThread) and decoded
    // on the GUI thread when it arrives: OnDownLoadComplete, OnDownLoadError (also for a body
    // over DownloadLimit, a time-out or undecodable bytes: the picture stays empty) or
    // OnDownLoadCancel.  Other references are only recorded.
    void LoadFromURL(const QString& URL);
    void SaveToStream(QIODevice* Stream) const;

    bool Stretch() const { return FStretched; }
    void SetStretch(bool v) { FStretched = v; }
    QString ID() const { return FID; }
    void SetID(const QString& v) { FID = v; }
    QString URL() const { return FURL; }
    bool IsDB() const { return FIsDB; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool v) { FAsynch = v; }
    bool Busy() const { return FThreadBusy; }
    // Largest body a download takes (bytes) and the longest it may last (milliseconds);
    // new pictures start with the defaults.
    qint64 DownloadLimit() const { return FDownloadLimit; }
    void SetDownloadLimit(qint64 v) { FDownloadLimit = v; }
    int DownloadTimeout() const { return FDownloadTimeout; }
    void SetDownloadTimeout(int v) { FDownloadTimeout = v; }
    static qint64 DefaultDownloadLimit;
    static int DefaultDownloadTimeout;
    // Why the last download failed; empty after a good one.
    QString DownloadError() const { return FDownloadError; }

    bool IsGIF() const;
    int FrameCount();
    // Delay of frame Index (from 1) in hundredths of a second; -1 when there is none.
    int GetFrameTime(int Index);
    int Frame() const { return FFrame; }
    void SetFrame(int v);
    void FrameNext();
    void FramePrev();
    int FrameXPos() const { return FFrameXPos; }
    int FrameYPos() const { return FFrameYPos; }
    int MaxWidth() const;
    int MaxHeight() const;
    // One animation tick (a tenth of a second); True when the frame changed.
    bool Step();

    TNotifyEvent OnFrameChange;
    TNotifyEvent OnDownLoadProgress, OnDownLoadCancel, OnDownLoadComplete, OnDownLoadError;

    // The decoded image of the current frame (null when nothing is decoded).
    const QImage& Image() const { return FImage; }

private:
    friend class TDownLoadThread;
    void LoadPicture();
    void ResetFrames();
    // On the GUI thread, once the download thread has ended.
    void DownLoadDone();
    // Byte positions of the graphic control blocks of the frames (at most Limit of them).
    std::vector<qsizetype> FrameBlocks(int Limit, qsizetype Tail) const;

    QByteArray FDatastream;
    bool FIsEmpty = true;
    bool FStretched = false;
    QImage FImage;
    int FLogPixX = 96, FLogPixY = 96;
    QString FURL, FID;
    bool FIsDB = false;
    bool FAsynch = true;
    bool FThreadBusy = false;
    int FFrame = 1;
    int FFrameCount = -1;
    uint16_t FFrameXPos = 0, FFrameYPos = 0, FFrameXSize = 0, FFrameYSize = 0;
    bool FFrameTransp = false;
    uint16_t FFrameDisposal = 0;
    uint16_t FAnimMaxX = 0, FAnimMaxY = 0;
    int FNextCount = -1;
    int FTimerCount = -1;
    qint64 FDownloadLimit = DefaultDownloadLimit;
    int FDownloadTimeout = DefaultDownloadTimeout;
    QString FDownloadError;
    std::unique_ptr<TDownLoadThread> FThread;
    // Lives on the GUI thread; the end of a download is delivered to it, and not at all once
    // the picture is gone.
    std::unique_ptr<QObject> FReceiver;
};

// Fetches the bytes of one picture's http or https address with Qt Network, in a thread of
// its own: at most Limit bytes (announced or received), within Timeout milliseconds, ended
// early when interruption is requested.  The picture takes the result when it has finished.
class TDownLoadThread : public QThread {
public:
    TDownLoadThread(THTMLPicture* APicture, const QString& URL, qint64 Limit, int Timeout);
    THTMLPicture* HTMLPicture;
    QByteArray Data;
    QString Error;        // empty when the body arrived whole
    bool Cancelled = false;

protected:
    void run() override;

private:
    QString FURL;
    qint64 FLimit;
    int FTimeout;
};

// Pictures loaded on demand by references with "://"; owns them.
class THTMLPictureCache : public TObject {
public:
    QString ClassName() const override { return QStringLiteral("THTMLPictureCache"); }
    THTMLPicture* AddPicture();
    // By ID, case-sensitive.
    THTMLPicture* FindPicture(const QString& ID) const;
    void ClearPictures() { FItems.clear(); }
    int Count() const { return int(FItems.size()); }
    THTMLPicture* GetPicture(int Index) const;
    void SetPicture(int Index, THTMLPicture* Value);
    bool Animate();

private:
    std::vector<std::unique_ptr<THTMLPicture>> FItems;
};

class TPictureItem : public TPersistent {
public:
    TPictureItem() : FPicture(std::make_unique<THTMLPicture>()) {}
    QString ClassName() const override { return QStringLiteral("TPictureItem"); }
    void Assign(const TPersistent* Source) override;
    THTMLPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const THTMLPicture* Value) { FPicture->Assign(Value); }
    int Tag() const { return FTag; }
    void SetTag(int v) { FTag = v; }
    QString Name() const { return FName; }
    void SetName(const QString& v) { FName = v; }

private:
    std::unique_ptr<THTMLPicture> FPicture;
    int FTag = 0;
    QString FName;
};

class TPictureCollection : public TPersistent {
public:
    explicit TPictureCollection(TObject* AOwner = nullptr) : FOwner(AOwner) {}
    QString ClassName() const override { return QStringLiteral("TPictureCollection"); }
    void Assign(const TPersistent* Source) override;
    TPictureItem* Add() { return Insert(Count()); }
    TPictureItem* Insert(int Index);
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    int Count() const { return int(FItems.size()); }
    TPictureItem* Items(int Index) const;
    TObject* GetOwner() const { return FOwner; }
    bool Animate();

private:
    TObject* FOwner;
    std::vector<std::unique_ptr<TPictureItem>> FItems;
};

// Named pictures of a form, found by name ignoring case.
class TPictureContainer : public TObject {
public:
    explicit TPictureContainer(TObject* AOwner = nullptr) : FItems(this) { (void)AOwner; }
    QString ClassName() const override { return QStringLiteral("TPictureContainer"); }
    TPictureCollection* Items() { return &FItems; }
    void SetItems(const TPictureCollection* Value) { FItems.Assign(Value); }
    virtual THTMLPicture* FindPicture(const QString& Name);

private:
    TPictureCollection FItems;
};
