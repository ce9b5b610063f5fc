#include "grid/base/grid_settings.h"

#include "platform/core/exception.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

// ---- TSearchFooter -------------------------------------------------------------------------

TSearchFooter::TSearchFooter(QObject* AOwner, bool InitDesign)
{
    (void)AOwner;
    // A grid loaded from a form gets its captions from there; a newly placed one gets these.
    if (InitDesign) {
        FFindNextCaption = QStringLiteral("Find &next");
        FFindPrevCaption = QStringLiteral("Find &previous");
        FMatchCaseCaption = QStringLiteral("Match case");
        FHighLightCaption = QStringLiteral("Highlight");
        FHintFindNext = QStringLiteral("Find next occurrence");
        FHintFindPrev = QStringLiteral("Find previous occurrence");
        FHintHighlight = QStringLiteral("Highlight occurrences");
        FHintClose = QStringLiteral("Close");
    }
}

void TSearchFooter::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TSearchFooter*>(Source);
    if (!s) return;
    FShowFindPrev = s->FShowFindPrev;
    FShowFindNext = s->FShowFindNext;
    FFindNextCaption = s->FFindNextCaption;
    FFindPrevCaption = s->FFindPrevCaption;
    FColorTo = s->FColorTo;
    FColor = s->FColor;
    FVisible = s->FVisible;
    FShowClose = s->FShowClose;
    FShowHighLight = s->FShowHighLight;
    FShowMatchCase = s->FShowMatchCase;
    FMatchCaseCaption = s->FMatchCaseCaption;
    FHintClose = s->FHintClose;
    FHintFindPrev = s->FHintFindPrev;
    FHintHighlight = s->FHintHighlight;
    FHintFindNext = s->FHintFindNext;
    FSearchColumn = s->FSearchColumn;
    FSearchActiveColumnOnly = s->FSearchActiveColumnOnly;
    FSearchMatchStart = s->FSearchMatchStart;
    FSearchHiddenRows = s->FSearchHiddenRows;
    FHighLightCaption = s->FHighLightCaption;
    FAlwaysHighLight = s->FAlwaysHighLight;
    FSearchDirection = s->FSearchDirection;
    FFont.Assign(s->FFont);
    // One notification for the whole copy, so the search panel shows it.
    Changed();
}

// ---- TNavigation ---------------------------------------------------------------------------

void TNavigation::SetAdvanceAuto(bool v)
{
    if (v == FAdvanceAuto) return;
    FAdvanceAuto = v;
    if (v) FAdvanceOnEnter = true;
}

void TNavigation::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TNavigation*>(Source);
    if (!s) return;
    // Everything but KeepScrollOnSort and the event; no notification.
    const bool keepScroll = FKeepScrollOnSort;
    const TNotifyEvent onChange = OnChange;
    *this = *s;
    FKeepScrollOnSort = keepScroll;
    OnChange = onChange;
}

// ---- TMouseActions -------------------------------------------------------------------------

bool TMouseActions::Designing()
{
    bool designing = false;
    if (OnIsDesigning) OnIsDesigning(this, designing);
    return designing;
}

void TMouseActions::SetDisjunctRowSelect(bool v)
{
    FDisjunctRowSelect = v;
    if (v && Designing()) {
        FDisjunctColSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctColSelect(bool v)
{
    FDisjunctColSelect = v;
    if (v && Designing()) {
        FDisjunctRowSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctCellSelect(bool v)
{
    FDisjunctCellSelect = v;
    if (v && Designing()) {
        FDisjunctRowSelect = false;
        FDisjunctColSelect = false;
    }
}

void TMouseActions::SetHotmailRowSelect(bool v)
{
    FHotmailRowSelect = v;
    if (v) {
        SetDisjunctRowSelect(true);
        SetCheckAllCheck(true);
    }
    FireNotify(OnInvalidate, this);
}

void TMouseActions::SetEditOnDblClickOnly(bool v)
{
    FEditOnDblClickOnly = v;
    if (v) FireNotify(OnDisableEdit, this);
}

void TMouseActions::SetWheelAction(TWheelAction v)
{
    if (v == FWheelAction) return;
    FWheelAction = v;
    Changed();
}

void TMouseActions::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TMouseActions*>(Source);
    if (!s) return;
    // Every flag, enumeration and number except these three; no lists, no events.
    const bool sizeFixedRow = FSizeFixedRow, hotmail = FHotmailRowSelect, dblOnly = FEditOnDblClickOnly;
    const QStringList combo = FFixedComboValues;
    const TNotifyEvent onChange = OnChange, onInvalidate = OnInvalidate, onDisable = OnDisableEdit;
    const auto onDesigning = OnIsDesigning;
    *this = *s;
    FSizeFixedRow = sizeFixedRow;
    FHotmailRowSelect = hotmail;
    FEditOnDblClickOnly = dblOnly;
    FFixedComboValues = combo;
    OnChange = onChange;
    OnInvalidate = onInvalidate;
    OnDisableEdit = onDisable;
    OnIsDesigning = onDesigning;
}

// ---- TSyncGrid, TBands, TFocusHelper, TShowModified, TGridProgressAppearance -----------------

void TSyncGrid::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TSyncGrid*>(Source);
    if (!s) return;
    FScrollHorizontal = s->FScrollHorizontal;
    FScrollVertical = s->FScrollVertical;
    FSelectionRow = s->FSelectionRow;
    FSelectionColumn = s->FSelectionColumn;
    FMoveRow = s->FMoveRow;
    FMoveColumn = s->FMoveColumn;
    SetGrid(s->FGrid);
}

void TBands::SetActive(bool v)
{
    if (v == FActive) return;
    FActive = v;
    Changed();
}

void TBands::SetPrimaryColor(TColor v)
{
    if (v == FPrimaryColor) return;
    FPrimaryColor = v;
    ChangedWhenActive();
}

void TBands::SetSecondaryColor(TColor v)
{
    if (v == FSecondaryColor) return;
    FSecondaryColor = v;
    ChangedWhenActive();
}

void TBands::SetPrimaryLength(int v)
{
    if (v == FPrimaryLength) return;
    FPrimaryLength = v;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    ChangedWhenActive();
}

void TBands::SetSecondaryLength(int v)
{
    if (v == FSecondaryLength) return;
    FSecondaryLength = v;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    ChangedWhenActive();
}

void TBands::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TBands*>(Source);
    if (!s) return;
    FActive = s->FActive;
    FPrimaryColor = s->FPrimaryColor;
    FSecondaryColor = s->FSecondaryColor;
    FPrimaryLength = s->FPrimaryLength;
    FSecondaryLength = s->FSecondaryLength;
    FPrint = s->FPrint;
    FTotalLength = FPrimaryLength + FSecondaryLength;
}

void TFocusHelper::Assign(const TPersistent* Source)
{
    if (const auto* s = dynamic_cast<const TFocusHelper*>(Source)) FEnabled = s->FEnabled;
}

void TShowModified::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TShowModified*>(Source);
    if (!s) return;
    SetColor(s->FColor);
    FEnabled = s->FEnabled;
}

void TGridProgressAppearance::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TGridProgressAppearance*>(Source);
    if (!s) return;
    const TNotifyEvent onChange = OnChange;
    *this = *s;
    OnChange = onChange;
    Changed();
}

// ---- Focus window and masks ----------------------------------------------------------------

TGridFocusWindow::TGridFocusWindow(QWidget* AOwner)
    : QWidget(AOwner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setEnabled(false);
    resize(0, 0);
}

void TGridFocusWindow::SetLayer(const QImage& Image, uint8_t Opacity)
{
    setAttribute(Qt::WA_TranslucentBackground);
    FLayer = Image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    FOpacity = Opacity;
    resize(FLayer.size());
    update();
}

void TGridFocusWindow::paintEvent(QPaintEvent*)
{
    if (FLayer.isNull()) return;
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setOpacity(FOpacity / 255.0);
    p.drawImage(0, 0, FLayer);
}

void TGridAlphaMask::Assign(const TBitmap& Source)
{
    if (auto* mask = dynamic_cast<const TGridAlphaMask*>(&Source)) {
        Opacity = mask->Opacity;
        auto& src = const_cast<TGridAlphaMask&>(*mask);
        // Scan lines are copied; a target of another size takes the source's size first
        // rather than writing past its own lines.
        QImage img = src.Image().convertToFormat(QImage::Format_ARGB32);
        LoadFromImage(img);
    } else {
        TBitmap::Assign(Source);
    }
    SetPixelFormat(pf32bit);
}

void TGridAlphaMask::MergeMask(TBitmap& Mask, TBitmap& Bitmap, TColor Color)
{
    (void)Color;
    if (Bitmap.PixelFormat() != pf24bit) return;
    const QImage& src = Bitmap.Image();
    const QImage& mask = Mask.Image();
    QImage out(src.size(), QImage::Format_ARGB32);
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            const QRgb p = src.pixel(x, y);
            const int a = (x < mask.width() && y < mask.height()) ? qRed(mask.pixel(x, y)) : 0;
            auto pm = [a](int c) { return int(std::nearbyint(c * a / 255.0)); };
            out.setPixel(x, y, qRgba(pm(qRed(p)), pm(qGreen(p)), pm(qBlue(p)), a));
        }
    }
    LoadFromImage(out);
    SetPixelFormat(pf32bit);
}

void CreateRoundRectMask(TBitmap& Bitmap, int Width, int Height, int PenWidth, int Radius, int Blur)
{
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(Width, Height);
    TCanvas* c = Bitmap.Canvas();
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(0, 0, Width, Height));
    c->Pen()->SetColor(clWhite);
    if (PenWidth < 1) {
        c->Pen()->SetWidth(1);
        c->Brush()->SetColor(clWhite);
    } else {
        c->Pen()->SetWidth(PenWidth);
        c->Brush()->SetColor(clBlack);
    }
    const int half = PenWidth / 2;
    c->RoundRect(half + 2, half + 2, Width - half - 2, Height - half - 2, Radius, Radius);
    if (Blur > 0) BlurBitmap(Bitmap, Blur);
}

namespace {
std::vector<float> MakeBlurKernel(int Radius, int& S)
{
    std::vector<float> w(21);
    float sum = 0;
    for (int i = -10; i <= 10; ++i) {
        const float t = float(i) / float(Radius);
        w[size_t(i + 10)] = std::exp(-t * t / 2);
        sum += w[size_t(i + 10)];
    }
    for (float& v : w) v /= sum;
    S = 10;
    float dropped = 0;
    while (S > 1 && dropped + 2 * w[size_t(S + 10)] < 1.0f / 510.0f) {
        dropped += 2 * w[size_t(S + 10)];
        --S;
    }
    sum = 0;
    for (int i = -S; i <= S; ++i) sum += w[size_t(i + 10)];
    for (int i = -S; i <= S; ++i) w[size_t(i + 10)] /= sum;
    return w;
}

int ClampChannel(float v)
{
    // A tiny allowance keeps an exact 255 (or any exact level) from truncating one below.
    if (v < 0) return 0;
    if (v + 1e-3f >= 255.0f) return 255;
    return int(v + 1e-3f);
}

void BlurLine(const std::vector<float>& w, int S, std::vector<QRgb>& line)
{
    const int N = int(line.size()) - 1;
    std::vector<QRgb> out(line.size());
    for (int x = 0; x <= N; ++x) {
        float r = 0, g = 0, b = 0;
        for (int i = -S; i <= S; ++i) {
            const QRgb p = line[size_t(std::clamp(x - i, 0, N))];
            const float k = w[size_t(i + 10)];
            r += k * float(qRed(p));
            g += k * float(qGreen(p));
            b += k * float(qBlue(p));
        }
        out[size_t(x)] = qRgb(ClampChannel(r), ClampChannel(g), ClampChannel(b));
    }
    line.swap(out);
}
}

void BlurBitmap(TBitmap& Bitmap, int Radius)
{
    if (Bitmap.PixelFormat() != pf24bit) throw Exception(QStringLiteral("Blur only works for 24-bit bitmaps"));
    if (Radius <= 0 || Bitmap.Empty()) return;
    int S = 0;
    const std::vector<float> w = MakeBlurKernel(Radius, S);
    QImage img = Bitmap.Image().convertToFormat(QImage::Format_RGB32);
    const int W = img.width(), H = img.height();
    std::vector<QRgb> line;
    // Mask interiors are uniform: rows and columns well inside copy row or column 15.
    for (int y = 0; y < H; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        if (y >= 21 && y <= H - 21 && H > 15) {
            std::copy_n(reinterpret_cast<const QRgb*>(img.constScanLine(15)), W, row);
            continue;
        }
        line.assign(row, row + W);
        BlurLine(w, S, line);
        std::copy(line.begin(), line.end(), row);
    }
    for (int x = 0; x < W; ++x) {
        if (x >= 21 && x <= W - 21 && W > 15) {
            for (int y = 0; y < H; ++y) img.setPixel(x, y, img.pixel(15, y));
            continue;
        }
        line.resize(size_t(H));
        for (int y = 0; y < H; ++y) line[size_t(y)] = img.pixel(x, y);
        BlurLine(w, S, line);
        for (int y = 0; y < H; ++y) img.setPixel(x, y, line[size_t(y)]);
    }
    Bitmap.LoadFromImage(img);
    Bitmap.SetPixelFormat(pf24bit);
}
