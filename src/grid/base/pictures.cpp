#include "grid/base/pictures.h"

#include "grid/base/download.h"
#include "platform/core/modules.h"
#include "platform/core/file_io.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace {

uint16_t Word(const QByteArray& d, qsizetype at)
{
    if (at < 0 || at + 1 >= d.size()) return 0;
    return uint16_t(uint8_t(d[at]) | (uint8_t(d[at + 1]) << 8));
}

}  // namespace

// ---- THTMLPicture ---------------------------------------------------------------------------

qint64 THTMLPicture::DefaultDownloadLimit = 16 * 1024 * 1024;
int THTMLPicture::DefaultDownloadTimeout = 15000;

THTMLPicture::THTMLPicture() = default;

THTMLPicture::~THTMLPicture()
{
    if (FThread) {
        FThread->requestInterruption();
        FThread->wait();
    }
}

void THTMLPicture::ResetFrames()
{
    FFrameCount = -1;
    FNextCount = -1;
    FTimerCount = -1;
    FFrame = 1;
}

void THTMLPicture::Assign(const TPersistent* Source)
{
    FIsEmpty = true;
    FImage = QImage();
    ResetFrames();
    if (!Source) {
        FDatastream.clear();
        return;
    }
    const auto* src = dynamic_cast<const THTMLPicture*>(Source);
    if (!src) return;
    FDatastream = src->FDatastream;
    if (FDatastream.isEmpty()) return;
    FIsEmpty = false;
    LoadPicture();
    Changed();
}

void THTMLPicture::LoadFromBytes(const QByteArray& Data)
{
    FDatastream = Data;
    FIsEmpty = false;
    FImage = QImage();
    ResetFrames();
    LoadPicture();
    Changed();
}

void THTMLPicture::LoadFromStream(QIODevice* Stream)
{
    if (!Stream) return;
    LoadFromBytes(Stream->readAll());
}

void THTMLPicture::ReadData(QIODevice* Stream)
{
    if (!Stream) return;
    FDatastream = Stream->readAll();
    FIsEmpty = false;
    ResetFrames();
    LoadPicture();
}

void THTMLPicture::SaveToStream(QIODevice* Stream) const
{
    if (Stream) Stream->write(FDatastream);
}

void THTMLPicture::LoadFromFile(const QString& FileName)
{
    try {
        QByteArray data;
        if (!ReadWholeFile(FileName, data)) throw Exception(QStringLiteral("Could not load image"));
        QBuffer f(&data);
        f.open(QIODevice::ReadOnly);
        LoadFromStream(&f);
    } catch (const std::exception&) {
        FIsEmpty = true;
        FImage = QImage();
    }
}

void THTMLPicture::LoadFromResourceName(const QString& ResName)
{
    QFile f(QStringLiteral(":/") + ResName);
    if (!ResName.isEmpty() && f.exists() && f.open(QIODevice::ReadOnly)) LoadFromStream(&f);
}

void THTMLPicture::LoadFromResourceID(int ResID)
{
    QFile f(QStringLiteral(":/") + QString::number(ResID));
    if (!f.open(QIODevice::ReadOnly)) throw Exception(QStringLiteral("Resource %1 not found").arg(ResID));
    LoadFromStream(&f);
}

void THTMLPicture::LoadFromURL(const QString& URL)
{
    const QString up = URL.toUpper();
    if (up.startsWith(QLatin1String("RES://"))) {
        FID = URL;
        const QString rest = URL.mid(6);
        if (!rest.isEmpty()) {
            try {
                LoadFromResourceName(rest);
            } catch (const std::exception&) {
                FIsEmpty = true;
                FImage = QImage();
            }
        }
    } else if (up.startsWith(QLatin1String("FILE://"))) {
        FID = URL;
        LoadFromFile(URL.mid(7));
    } else if (!FAsynch) {
        FURL = URL;
        FID = URL;
    } else if (!FThreadBusy) {
        FURL = URL;
        FThreadBusy = true;
        if (!up.startsWith(QLatin1String("HTTP://")) && !up.startsWith(QLatin1String("HTTPS://"))) return;
        if (!FReceiver) FReceiver = std::make_unique<QObject>();
        FThread = std::make_unique<TDownLoadThread>(this, URL, FDownloadLimit, FDownloadTimeout);
        QObject::connect(FThread.get(), &QThread::finished, FReceiver.get(), [this] { DownLoadDone(); },
                         Qt::QueuedConnection);
        FThread->start();
    }
}

void THTMLPicture::DownLoadDone()
{
    if (!FThread) return;
    FThread->wait();
    const std::unique_ptr<TDownLoadThread> t = std::move(FThread);
    FThreadBusy = false;
    if (t->Cancelled) {
        if (OnDownLoadCancel) OnDownLoadCancel(this);
        return;
    }
    FDownloadError = t->Error;
    if (FDownloadError.isEmpty()) {
        try {
            LoadFromBytes(t->Data);
        } catch (const std::exception& e) {
            FDownloadError = QString::fromUtf8(e.what());
        }
    }
    if (!FDownloadError.isEmpty()) {
        // nothing of a failed download is kept
        FDatastream.clear();
        FIsEmpty = true;
        FImage = QImage();
        if (OnDownLoadError) OnDownLoadError(this);
        return;
    }
    FID = FURL;
    if (OnDownLoadComplete) OnDownLoadComplete(this);
}

// ---- TDownLoadThread -----------------------------------------------------------------------

TDownLoadThread::TDownLoadThread(THTMLPicture* APicture, const QString& URL, qint64 Limit, int Timeout)
    : HTMLPicture(APicture), FURL(URL), FLimit(Limit), FTimeout(Timeout)
{
}

void TDownLoadThread::run()
{
    QString why;
    auto download = reinterpret_cast<TDownloadEntry>(ModuleEntry(DownloadModule, DownloadModuleEntry, &why));
    if (!download) {
        if (!isInterruptionRequested()) Error = QStringLiteral("Picture downloads are not available: ") + why;
        Cancelled = isInterruptionRequested();
        return;
    }
    download(this, FURL, FLimit, FTimeout, Data, Error, Cancelled);
}

std::vector<qsizetype> THTMLPicture::FrameBlocks(int Limit, qsizetype Tail) const
{
    std::vector<qsizetype> blocks;
    const QByteArray& d = FDatastream;
    for (qsizetype p = 0; p + Tail < d.size() && int(blocks.size()) < Limit; ++p) {
        if (uint8_t(d[p]) == 0x21 && uint8_t(d[p + 1]) == 0xF9 && uint8_t(d[p + 2]) == 4 && uint8_t(d[p + 8]) == 0x2C)
            blocks.push_back(p);
    }
    return blocks;
}

bool THTMLPicture::IsGIF() const { return FDatastream.size() >= 5 && FDatastream.startsWith("GIF8"); }

int THTMLPicture::FrameCount()
{
    if (FFrameCount >= 0) return FFrameCount;
    if (!IsGIF()) return -1;
    FFrameCount = int(FrameBlocks(INT_MAX, 9).size());
    return FFrameCount;
}

int THTMLPicture::GetFrameTime(int Index)
{
    if (!IsGIF() || Index < 1) return -1;
    const auto blocks = FrameBlocks(Index, 8);
    if (int(blocks.size()) < Index) return -1;
    const qsizetype p = blocks[Index - 1];
    const uint8_t packed = uint8_t(FDatastream[p + 3]);
    FFrameTransp = packed & 1;
    FFrameDisposal = (packed >> 2) & 7;
    return Word(FDatastream, p + 4);
}

void THTMLPicture::LoadPicture()
{
    FFrameXPos = FFrameYPos = FFrameXSize = FFrameYSize = 0;
    FAnimMaxX = FAnimMaxY = 0;
    QByteArray data = FDatastream;
    if (IsGIF() && FrameCount() >= 1) {
        FAnimMaxX = Word(FDatastream, 6);
        FAnimMaxY = Word(FDatastream, 8);
        const int frame = std::clamp(FFrame, 1, FFrameCount);
        const auto blocks = FrameBlocks(frame, 9);
        const qsizetype first = blocks.front(), current = blocks.back();
        // The frames before the current one are left out, so the reader shows the current one.
        data = FDatastream.left(first) + FDatastream.mid(current);
        FFrameXPos = Word(FDatastream, current + 9);
        FFrameYPos = Word(FDatastream, current + 11);
        FFrameXSize = Word(FDatastream, current + 13);
        FFrameYSize = Word(FDatastream, current + 15);
    }
    FImage = QImage();
    if (data.isEmpty()) throw Exception(QStringLiteral("Empty image stream created"));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QImage image;
    if (!reader.read(&image) || image.isNull()) throw Exception(QStringLiteral("Could not load image. Invalid format"));
    // The reader places a frame on the whole animation area; the picture is the frame itself.
    if (FFrameXSize > 0 && FFrameYSize > 0 && image.size() == QSize(FAnimMaxX, FAnimMaxY) &&
        QRect(0, 0, FAnimMaxX, FAnimMaxY).contains(QRect(FFrameXPos, FFrameYPos, FFrameXSize, FFrameYSize)) &&
        image.size() != QSize(FFrameXSize, FFrameYSize))
        image = image.copy(FFrameXPos, FFrameYPos, FFrameXSize, FFrameYSize);
    FImage = image;
}

void THTMLPicture::Draw(TCanvas* Canvas, const TRect& Rect)
{
    if (FIsEmpty || FImage.isNull() || !Canvas) return;
    if (FStretched) {
        Canvas->StretchDrawImage(Rect, FImage);
        return;
    }
    Canvas->StretchDrawImage(Bounds(Rect.Left, Rect.Top, Width(), Height()), FImage);
}

int THTMLPicture::Width() const { return FImage.isNull() ? 0 : FImage.width() * 96 / FLogPixX; }
int THTMLPicture::Height() const { return FImage.isNull() ? 0 : FImage.height() * 96 / FLogPixY; }
int THTMLPicture::MaxWidth() const { return FImage.isNull() ? 0 : FAnimMaxX ? FAnimMaxX : Width(); }
int THTMLPicture::MaxHeight() const { return FImage.isNull() ? 0 : FAnimMaxY ? FAnimMaxY : Height(); }

void THTMLPicture::SetFrame(int v)
{
    FFrame = v;
    if (FDatastream.isEmpty()) return;
    try {
        LoadPicture();
    } catch (const std::exception&) {
        FImage = QImage();
    }
    FireNotify(OnFrameChange, this);
}

void THTMLPicture::FrameNext()
{
    const int n = FrameCount();
    SetFrame(FFrame >= n ? 1 : FFrame + 1);
}

void THTMLPicture::FramePrev()
{
    const int n = FrameCount();
    SetFrame(FFrame <= 1 ? std::max(n, 1) : FFrame - 1);
}

bool THTMLPicture::Step()
{
    if (FrameCount() < 2 || FIsEmpty) return false;
    bool changed = false;
    if (FNextCount == -1) FNextCount = GetFrameTime(FFrame);
    if (FTimerCount * 10 >= FNextCount) {
        FrameNext();
        FNextCount += GetFrameTime(FFrame);
        changed = true;
    }
    ++FTimerCount;
    return changed;
}

// ---- THTMLPictureCache ----------------------------------------------------------------------

THTMLPicture* THTMLPictureCache::AddPicture()
{
    FItems.push_back(std::make_unique<THTMLPicture>());
    return FItems.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(const QString& ID) const
{
    for (const auto& p : FItems)
        if (p->ID() == ID) return p.get();
    return nullptr;
}

THTMLPicture* THTMLPictureCache::GetPicture(int Index) const
{
    return Index >= 0 && Index < Count() ? FItems[Index].get() : nullptr;
}

void THTMLPictureCache::SetPicture(int Index, THTMLPicture* Value)
{
    if (Index >= 0 && Index < Count()) FItems[Index]->Assign(Value);
}

bool THTMLPictureCache::Animate()
{
    bool any = false;
    for (const auto& p : FItems) any = p->Step() || any;
    return any;
}

// ---- container ------------------------------------------------------------------------------

void TPictureItem::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TPictureItem*>(Source);
    if (!s) return;
    FName = s->FName;
    FTag = s->FTag;
    FPicture->Assign(s->FPicture.get());
}

void TPictureCollection::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TPictureCollection*>(Source);
    if (!s || s == this) return;
    FItems.clear();
    for (const auto& item : s->FItems) Add()->Assign(item.get());
}

TPictureItem* TPictureCollection::Insert(int Index)
{
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, std::make_unique<TPictureItem>());
    return FItems[Index].get();
}

void TPictureCollection::Delete(int Index)
{
    if (Index >= 0 && Index < Count()) FItems.erase(FItems.begin() + Index);
}

TPictureItem* TPictureCollection::Items(int Index) const
{
    return Index >= 0 && Index < Count() ? FItems[Index].get() : nullptr;
}

bool TPictureCollection::Animate()
{
    bool any = false;
    for (const auto& item : FItems) any = item->Picture()->Step() || any;
    return any;
}

THTMLPicture* TPictureContainer::FindPicture(const QString& Name)
{
    for (int i = 0; i < FItems.Count(); ++i)
        if (FItems.Items(i)->Name().compare(Name, Qt::CaseInsensitive) == 0) return FItems.Items(i)->Picture();
    return nullptr;
}
