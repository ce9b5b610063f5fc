// Printing: the grid's cells laid out on pages (column pages left to right, row pages top
// to bottom inside each) and drawn through QPainter in the metric mode (0.1 mm, y upwards),
// to the printer, to a preview canvas or into a rectangle.
#include "grid/data/print_layout.h"

#include "grid/base/drawing_routines.h"
#include "grid/base/grid_error.h"
#include "grid/base/html_layout.h"
#include "grid/base/text_packing.h"
#include "grid/data/print_device.h"
#include "grid/render/cell_drawing.h"
#include "grid/render/grid_paint.h"
#include "platform/core/date_text.h"
#include "platform/core/modules.h"
#include "platform/ui/canvas.h"
#include "platform/ui/graphics.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextDocument>
#include <algorithm>
#include <climits>
#include <cmath>
#include <unordered_map>

namespace {

// Cells are drawn and measured in screen pixels (96 per inch), k tenths of a millimetre each.
constexpr double ScreenToPage = 254.0 / TFont::PixelsPerInch;

// Rich text laid out at 96 pixels per inch, whatever the printer's resolution.
void LayoutRichText(QTextDocument& Doc, const QString& Text, const TFont& Font)
{
    static QImage device = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.setDotsPerMeterX(int(std::lround(TFont::PixelsPerInch / 0.0254)));
        img.setDotsPerMeterY(int(std::lround(TFont::PixelsPerInch / 0.0254)));
        return img;
    }();
    Doc.setDefaultFont(Font.ToQFont());
    Doc.documentLayout()->setPaintDevice(&device);
    Doc.setDocumentMargin(0);
    LoadRichText(Doc, Text);
}

TProStringGrid::TPrintDialogHandler& PrintDialogHandler()
{
    static TProStringGrid::TPrintDialogHandler h;
    return h;
}

// A fit-to-page factor never goes below this: a zero or negative one would make every column
// vanish or turn it inside out.
constexpr double MinFitFactor = 0.05;

// The most cells whose measured heights a layout keeps between its two passes (16 MB).
constexpr int64_t MaxCachedCellHeights = 4'000'000;

// The look of one cell for printing.
struct TPrintCellLook {
    TGridDrawState State;
    TFont Font;
    TColor Brush = clNone;
    TColor BrushTo = clNone;
    TCellGradientDirection Gradient = GradientVertical;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WordWrap = false;
};

TPrintCellLook PrintCellLook(TProStringGrid* G, int ACol, int ARow)
{
    TPrintCellLook lk;
    TBrush brush;
    TColor mirror = clNone, mirrorTo = clNone;
    lk.WordWrap = G->WordWrap();
    G->GetVisualProperties(ACol, ARow, lk.State, true, false, true, &brush, lk.BrushTo, mirror, mirrorTo, &lk.Font,
                           lk.HA, lk.VA, lk.WordWrap, lk.Gradient);
    lk.Brush = brush.Color();
    return lk;
}

// The painter's transform for the metric mode: 0.1 mm per unit, y growing upwards, the origin
// at Origin (device units).
QTransform MetricTransform(const QPointF& Origin, double DpiX, double DpiY)
{
    QTransform t;
    t.translate(Origin.x(), Origin.y());
    t.scale(DpiX / 254.0, -DpiY / 254.0);
    return t;
}

// Text in a box whose top lies Top below the page top; drawn upright in the metric mode.
void DrawTextBox(QPainter* P, double Left, double Top, double Width, double Height, int Flags, const QString& Text)
{
    P->save();
    P->translate(Left, -Top);
    P->scale(1, -1);
    P->drawText(QRectF(0, 0, Width, Height), Flags, Text);
    P->restore();
}

void DrawHLine(QPainter* P, double X1, double X2, double Top) { P->drawLine(QPointF(X1, -Top), QPointF(X2, -Top)); }
void DrawVLine(QPainter* P, double X, double Top1, double Top2) { P->drawLine(QPointF(X, -Top1), QPointF(X, -Top2)); }

QStringList CellLines(const QString& Text, bool Multiline)
{
    if (!Multiline) return {Text};
    QString t = Text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}

Qt::PenStyle QtPenStyle(TPenStyle S)
{
    switch (S) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

// Fonts of the job at their printed height, measured once each.
class TPrintFonts {
public:
    explicit TPrintFonts(const TProStringGrid* G) : FGrid(G) {}
    const QFont& Font(const TFont& F)
    {
        return Entry(F).first;
    }
    const QFontMetricsF& Metrics(const TFont& F) { return Entry(F).second; }
    // Text height of "gh", the line height of the engine.
    double LineHeight(const TFont& F) { return Metrics(F).height(); }

private:
    const std::pair<QFont, QFontMetricsF>& Entry(const TFont& F)
    {
        const int px = std::max(1, -FGrid->MapFontHeight(F.Size()));
        const auto key = std::make_pair(F.Key(), px);
        auto it = FCache.find(key);
        if (it == FCache.end()) {
            QFont q = F.ToQFont();
            q.setPixelSize(px);
            it = FCache.emplace(key, std::make_pair(q, QFontMetricsF(q))).first;
        }
        return it->second;
    }
    struct KeyHash {
        size_t operator()(const std::pair<quint64, int>& k) const { return std::hash<quint64>()(k.first * 31 + quint64(k.second)); }
    };
    const TProStringGrid* FGrid;
    std::unordered_map<std::pair<quint64, int>, std::pair<QFont, QFontMetricsF>, KeyHash> FCache;
};

bool TopPosition(TPrintPosition P) { return P == ppTopLeft || P == ppTopRight || P == ppTopCenter; }
bool BottomPosition(TPrintPosition P) { return P == ppBottomLeft || P == ppBottomRight || P == ppBottomCenter; }

} // namespace

// ---- the grid's side --------------------------------------------------------------------------

int TProStringGrid::MapFontHeight(int PointSize) const
{
    return -int(std::trunc(PointSize * 254.0 / 72.0 * FPrintFontScale));
}

int TProStringGrid::MapFontSize(int Height) const { return int(std::trunc(Height * 72.0 / 254.0)); }

TPrintDevice* TProStringGrid::PrintDevice()
{
    if (!FPrinter) {
        QString why;
        auto make = reinterpret_cast<TNewPrintDevice>(ModuleEntry(PrintModule, PrintModuleEntry, &why));
        if (!make) throw EProGridError(QStringLiteral("Printing is not available: ") + why);
        FPrinter.reset(make());
    }
    return FPrinter.get();
}

QPrinter* TProStringGrid::Printer() { return PrintDevice()->Printer(); }

void TProStringGrid::PrintGetPageNum(int PageNum, int PageColNum, QString& Text)
{
    if (OnPrintGetPageNum) OnPrintGetPageNum(this, PageNum, PageColNum, Text);
}

bool TProStringGrid::PrintRowSelected(int ARow) const
{
    if (ARow < FixedRows() && FPrintSettings->FixedCellsAlways()) return true;
    const TMouseActions* ma = FMouseActions.get();
    if (ma->DisjunctRowSelect())
        return GetRowSelect(ma->RowSelectPersistent() ? DisplToRealRow(ARow) : ARow);
    const TGridRect s = Selection();
    return ARow >= s.Top && ARow <= s.Bottom;
}

bool TProStringGrid::PrintColSelected(int ACol) const
{
    const TMouseActions* ma = FMouseActions.get();
    if (ma->DisjunctRowSelect()) return true;
    if (ACol < FixedCols() && FPrintSettings->FixedCellsAlways()) return true;
    if (ma->DisjunctColSelect()) return GetColSelect(ACol);
    const TGridRect s = Selection();
    return ACol >= s.Left && ACol <= s.Right;
}

// ---- layout -----------------------------------------------------------------------------------

std::shared_ptr<TProStringGrid::TPrintLayout> TProStringGrid::LayoutPrintPages(const TGridRect& Gridrect,
                                                                               bool SelectedOnly, int PageWidth,
                                                                               int PageHeight, int StopAfterPage)
{
    TPrintSettings* ps = FPrintSettings.get();
    auto L = std::make_shared<TPrintLayout>();
    L->Range = Gridrect;
    L->Range.Left = std::max(0, Gridrect.Left);
    L->Range.Top = std::max(0, Gridrect.Top);
    L->Range.Right = std::min(ColCount() - 1, Gridrect.Right);
    L->Range.Bottom = std::min(RowCount() - 1, Gridrect.Bottom);
    const TGridRect R = L->Range;
    L->SelectedOnly = SelectedOnly;
    L->PageWidth = PageWidth;
    L->PageHeight = PageHeight;

    FPrintFontScale = 1.0;
    TPrintFonts fonts(this);
    L->HeaderTextHeight = int(fonts.LineHeight(*ps->HeaderFont()));
    L->FooterTextHeight = int(fonts.LineHeight(*ps->FooterFont()));
    const int cH = int(fonts.LineHeight(*ps->Font()));
    const int p = cH / 8;
    L->Margin = p;
    const double k = 254.0 / TFont::PixelsPerInch;
    const int s = ps->UseFixedWidth() ? 0 : ps->ColumnSpacing() + 20;
    L->Spacing = s;

    TCanvas measure;

    // Column widths, sized to the grid.
    const int cc = ColCount();
    L->Widths.assign(size_t(std::max(cc, 0)), 0);
    const bool repeatCols = ps->RepeatFixedCols() && FixedCols() >= 1;
    std::vector<int> measured;
    // The heights the width pass measured, for the row heights below when nothing can make
    // them differ (no fitting scale, no size hooks); kept only for grids of moderate size.
    const int firstRow = ps->RepeatFixedRows() ? 0 : R.Top;
    const int64_t measuredRows = std::max(0, R.Bottom - firstRow + 1);
    std::vector<int> heights;
    if (!ps->NoAutoSize() && !ps->UseFixedWidth() && !OnCustomCellSize && !OnPrintSetColumnWidth &&
        measuredRows * cc <= MaxCachedCellHeights)
        heights.assign(size_t(measuredRows * cc), -1);
    for (int c = 0; c < cc; ++c) {
        const bool inRange = c >= R.Left && c <= R.Right;
        if (!inRange && !(repeatCols && c < FixedCols())) continue;
        measured.push_back(c);
        int w = 0;
        if (ps->NoAutoSize()) {
            w = int(std::lround(ColWidths(c) * k));
        } else {
            for (int r = firstRow; r <= R.Bottom; ++r) {
                if (r < R.Top && r >= FixedRows()) continue;
                // a block's width is its columns' together
                if (IsXMergedCell(c, r)) continue;
                int cw = ps->FixedWidth();
                if (!ps->UseFixedWidth()) {
                    const TPoint size = CalcPrintCellSize(measure, c, r, 1.0);
                    cw = size.X;
                    if (!heights.empty()) heights[size_t(int64_t(r - firstRow) * cc + c)] = size.Y;
                }
                w = std::max(w, cw);
            }
        }
        L->Widths[size_t(c)] = w;
    }

    // Fit to page.
    double f = 1.0;
    if (ps->FitToPage() != fpNever) {
        int64_t S = 0;
        int n = 0;
        for (int c = R.Left; c <= R.Right; ++c, ++n) S += L->Widths[size_t(c)] + s;
        const int64_t V = int64_t(n) * s;
        if (S != V) {
            f = double(PageWidth - ps->RightSize() - ps->LeftSize() - V) / double(S - V);
            if (f > 1 && ps->FitToPage() == fpShrink) f = 1;
            if (f < 1 && ps->FitToPage() == fpGrow) f = 1;
            if (ps->FitToPage() == fpCustom && f != 1 && OnFitToPage) {
                bool allow = true;
                OnFitToPage(this, f, allow);
                if (!allow) f = 1;
            }
            if (!(f >= MinFitFactor)) f = MinFitFactor;
            if (f != 1)
                for (int c : measured) L->Widths[size_t(c)] = int(std::trunc(L->Widths[size_t(c)] * f));
        }
    }
    L->FontScale = f;
    FPrintFontScale = f;
    for (int c = R.Left; c <= R.Right; ++c)
        if (OnPrintSetColumnWidth) OnPrintSetColumnWidth(this, c, L->Widths[size_t(c)]);

    // Column pages.
    const int W = PageWidth;
    for (int col = R.Left; col <= R.Right;) {
        TPrintLayout::TColPage cp;
        const int lm = ps->Centered() ? 0 : ps->LeftSize();
        int x = lm;
        if (repeatCols && col > FixedCols() - 1)
            for (int fc = 0; fc < FixedCols(); ++fc) {
                cp.Cols.push_back({fc, x});
                x += L->Widths[size_t(fc)] + s;
            }
        cp.FirstOwn = int(cp.Cols.size());
        while (col <= R.Right) {
            if (SelectedOnly && !PrintColSelected(col)) {
                ++col;
                continue;
            }
            const int w = L->Widths[size_t(col)] + s;
            if (int(cp.Cols.size()) > cp.FirstOwn && x + w > W - ps->RightSize()) break;
            cp.Cols.push_back({col, x});
            x += w;
            ++col;
        }
        if (int(cp.Cols.size()) == cp.FirstOwn) break;  // nothing of the range left to print
        if (ps->Centered() && x < W)
            for (auto& pc : cp.Cols) pc.Left += (W - x) / 2;
        L->ColPages.push_back(std::move(cp));
    }

    // Header and footer areas.
    const bool titleLines = ps->TitleText().isEmpty() && ps->TitleLines().size() > 1;
    const int extraLines = titleLines ? int(ps->TitleLines().size()) - 1 : 0;
    const TPrintPosition items[] = {ps->Time(), ps->Date(), ps->PageNr(), ps->Title()};
    const bool anyTop = std::any_of(std::begin(items), std::end(items), TopPosition);
    const bool anyBottom = std::any_of(std::begin(items), std::end(items), BottomPosition);
    const int hH = L->HeaderTextHeight, fH = L->FooterTextHeight;
    const QString htmlTitle = PrintHtmlTitle();
    if (!htmlTitle.isEmpty()) {
        TCanvas cv;
        cv.SetFont(TopPosition(ps->Title()) ? *ps->HeaderFont() : *ps->FooterFont());
        THtmlRenderArgs a = HtmlArgs();
        a.MeasureOnly = true;
        a.Printing = true;
        RenderHtmlCell(&cv, htmlTitle, TRect{0, 0, int(PageWidth / ScreenToPage), 65535}, a);
        L->TitleHeight = int(std::lround(a.MeasuredHeight * ScreenToPage));
    }
    int topTitle = 0;
    if (TopPosition(ps->Title()))
        topTitle = htmlTitle.isEmpty() ? extraLines * hH : L->TitleHeight + ps->HeaderSize();
    L->HeaderArea = anyTop ? p + hH + ps->HeaderSize() + topTitle : ps->HeaderSize();
    L->FooterArea = anyBottom ? 2 * p + 2 * fH + ps->FooterSize() + (BottomPosition(ps->Title()) ? extraLines * fH : 0)
                              : p + fH + ps->FooterSize();

    // Row heights, the last one asked kept.
    int cachedRow = -1, cachedHeight = 0;
    auto rowHeight = [&](int r) {
        if (r == cachedRow) return cachedHeight;
        int h = 0;
        if (ps->NoAutoSizeRow()) {
            h = int(std::lround(RowHeights(r) * k)) - 4;
        } else if (ps->UseFixedHeight()) {
            h = ps->FixedHeight();
        } else {
            int last = 0;
            for (int c : measured) {
                if (SelectedOnly && c >= R.Left && !PrintColSelected(c)) continue;
                // a block's height is its rows' together
                if (IsYMergedCell(c, r)) continue;
                const int known = f == 1.0 && !heights.empty() && r >= firstRow && r <= R.Bottom
                                      ? heights[size_t(int64_t(r - firstRow) * cc + c)]
                                      : -1;
                last = known >= 0 ? known : CalcPrintCellSize(measure, c, r, f).Y;
                h = std::max(h, last);
            }
            if (h == 0) h = last;
            h += h / 8;
        }
        if (OnPrintSetRowHeight) OnPrintSetRowHeight(this, r, h);
        cachedRow = r;
        cachedHeight = std::max(0, h) + 2 * p + ps->RowSpacing();
        return cachedHeight;
    };

    // Row pages of each column page. A page always takes at least one row of the range, clipped
    // when it is taller than the room left, so that a job always ends.
    const int H = PageHeight;
    const int room = H - L->FooterArea;
    const bool repeatRows = ps->RepeatFixedRows() && FixedRows() > 0;
    for (int ci = 0; ci < int(L->ColPages.size()); ++ci) {
        int row = R.Top;
        for (int rowPage = 1;; ++rowPage) {
            TPrintLayout::TPage pg;
            pg.ColPage = ci;
            pg.RowPage = rowPage;
            int d = L->HeaderArea + ps->TitleSpacing() + (TopPosition(ps->Title()) ? L->TitleHeight : 0);
            if (repeatRows && (rowPage > 1 || R.Top >= FixedRows()))
                for (int fr = 0; fr < FixedRows(); ++fr) {
                    if (SelectedOnly && !PrintRowSelected(fr)) continue;
                    const int h = rowHeight(fr);
                    pg.Rows.push_back({fr, d, h, d + h >= room});
                    d += h;
                }
            int own = 0;
            while (row <= R.Bottom) {
                if (SelectedOnly && !PrintRowSelected(row)) {
                    ++row;
                    continue;
                }
                const int h = rowHeight(row);
                const bool fits = d + h < room;
                if (!fits && own > 0) break;
                pg.Rows.push_back({row, d, h, !fits});
                d += h;
                ++own;
                ++row;
                if (!fits) break;
                bool newPage = false;
                if (OnPrintNewPage && row <= R.Bottom) OnPrintNewPage(this, row, newPage);
                if (newPage) break;
            }
            pg.Bottom = d;
            L->Pages.push_back(std::move(pg));
            if (StopAfterPage > 0 && int(L->Pages.size()) >= StopAfterPage) break;
            if (row > R.Bottom) break;
        }
        if (StopAfterPage > 0 && int(L->Pages.size()) >= StopAfterPage) break;
    }

    // The printed widths and left positions of the last layout.
    MaxWidths.assign(size_t(std::max(cc, 0)), 0);
    Indents.assign(size_t(std::max(cc, 0)), 0);
    for (int c : measured) MaxWidths[size_t(c)] = L->Widths[size_t(c)];
    for (const auto& cp : L->ColPages)
        for (const auto& pc : cp.Cols) Indents[size_t(pc.Col)] = pc.Left;
    FPrintFontScale = 1.0;
    return L;
}

int TProStringGrid::PrintLayoutPageCount(const TPrintLayout& Layout) const { return int(Layout.Pages.size()); }

// ---- drawing ----------------------------------------------------------------------------------

QString TProStringGrid::PrintPageNumberText(const TPrintLayout& Layout, int PageNr, int PageTotal)
{
    TPrintSettings* ps = FPrintSettings.get();
    const TPrintLayout::TPage& pg = Layout.Pages[size_t(PageNr - 1)];
    QString num;
    if (Layout.ColPages.size() > 1)
        num = QString::number(pg.RowPage) + QLatin1Char('-') + QString::number(pg.ColPage + 1);
    else
        num = QString::number(int64_t(PageNr) + ps->PageNumberOffset());
    // An unknown total (0: the pages were not counted) is not printed.
    if (!ps->PageNumSep().isEmpty() && PageTotal > 1)
        num += ps->PageNumSep() + QString::number(int64_t(PageTotal) + ps->MaxPagesOffset());
    PrintGetPageNum(PageNr, pg.ColPage + 1, num);
    return num;
}

void TProStringGrid::DrawPrintPage(QPainter* P, const TPrintLayout& L, int PageNr, int PageTotal)
{
    if (PageNr < 1 || PageNr > int(L.Pages.size())) return;
    TPrintSettings* ps = FPrintSettings.get();
    const TPrintLayout::TPage& pg = L.Pages[size_t(PageNr - 1)];
    const TPrintLayout::TColPage& cp = L.ColPages[size_t(pg.ColPage)];
    const int W = L.PageWidth, H = L.PageHeight, p = L.Margin, s = L.Spacing;
    FPrintFontScale = L.FontScale;
    TPrintFonts fonts(this);
    P->save();
    P->setRenderHint(QPainter::Antialiasing, false);

    // Header and footer texts, one per position.
    QString texts[7];
    auto put = [&](TPrintPosition pos, const QString& item) {
        if (pos == ppNone) return;
        QString& t = texts[pos];
        if (t.isEmpty()) t = item;
        else if (pos == ppTopLeft || pos == ppBottomLeft) t = item + QLatin1Char(' ') + t;
        else t = t + QLatin1Char(' ') + item;
    };
    const QDateTime now = QDateTime::currentDateTime();
    const TDateTime stamp = EncodeDate(now.date().year(), now.date().month(), now.date().day()) +
                            EncodeTime(now.time().hour(), now.time().minute(), now.time().second(), 0);
    put(ps->Time(), FormatDateTime(QStringLiteral("hh:nn"), stamp));
    put(ps->Date(), FormatDateTime(ps->DateFormat(), stamp));
    put(ps->PageNr(), ps->PagePrefix() + QLatin1Char(' ') + PrintPageNumberText(L, PageNr, PageTotal) +
                          QLatin1Char(' ') + ps->PageSuffix());
    const QStringList lines = ps->TitleLines();
    const QString htmlTitle = PrintHtmlTitle();
    if (htmlTitle.isEmpty())
        put(ps->Title(), ps->TitleText().isEmpty() ? (lines.isEmpty() ? QString() : lines.first()) : ps->TitleText());
    for (int pos = ppTopLeft; pos <= ppBottomCenter; ++pos) {
        const bool top = pos <= ppTopCenter;
        const TFont& font = top ? *ps->HeaderFont() : *ps->FooterFont();
        QStringList all{texts[pos]};
        if (pos == ps->Title() && ps->TitleText().isEmpty() && htmlTitle.isEmpty()) all += lines.mid(1);
        if (all.first().isEmpty() && all.size() == 1) continue;
        P->setFont(fonts.Font(font));
        P->setPen(ColorToQColor(font.Color()));
        const double lh = fonts.LineHeight(font);
        double y = top ? ps->HeaderSize() : H - L.FooterTextHeight - p - ps->FooterSize();
        for (const QString& t : all) {
            const double tw = fonts.Metrics(font).horizontalAdvance(t);
            double x = ps->LeftSize();
            if (pos == ppTopRight || pos == ppBottomRight) x = W - tw - ps->RightSize() - 20;
            else if (pos == ppTopCenter || pos == ppBottomCenter) x = (W - tw) / 2;
            DrawTextBox(P, x, y, tw + 1, lh, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, t);
            y += lh;
        }
    }

    // A mini-HTML title across the page, under the header or above the page bottom.
    if (!htmlTitle.isEmpty() && ps->Title() != ppNone && L.TitleHeight > 0) {
        const bool top = TopPosition(ps->Title());
        const double u = ScreenToPage * L.FontScale;
        const double y = top ? ps->HeaderSize() + L.HeaderTextHeight + p : H - L.TitleHeight - p - ps->FooterSize();
        P->save();
        P->translate(0, -y);
        P->scale(u, -u);
        TCanvas cv;
        cv.BeginPaint(P);
        cv.SetFont(top ? *ps->HeaderFont() : *ps->FooterFont());
        THtmlRenderArgs a = HtmlArgs();
        a.Printing = true;
        a.HitX = a.HitY = -1;
        RenderHtmlCell(&cv, htmlTitle, TRect{int(ps->LeftSize() / u), 0, int((W - ps->RightSize()) / u),
                                             int(std::ceil(L.TitleHeight / u)) + 1}, a);
        cv.EndPaint();
        P->restore();
    }

    // The rows: each cell, or each merged block once, at its first printed piece on the page.
    const TPrintBorders b = ps->Borders();
    for (size_t ri = 0; ri < pg.Rows.size(); ++ri) {
        const auto& pr = pg.Rows[ri];
        const double top = pr.Top;
        for (size_t ci = 0; ci < cp.Cols.size(); ++ci) {
            const auto& pc = cp.Cols[ci];
            int bc = pc.Col, br = pr.Row;
            size_t lastCi = ci, lastRi = ri;
            if (IsMergedCell(pc.Col, pr.Row)) {
                ResolveBaseCell(pc.Col, pr.Row, bc, br);
                const TPoint span = CellSpan(bc, br);
                auto inBlock = [&](int c, int r) {
                    return c >= bc && c <= bc + span.X && r >= br && r <= br + span.Y;
                };
                if (ci > 0 && inBlock(cp.Cols[ci - 1].Col, pr.Row)) continue;
                if (ri > 0 && inBlock(pc.Col, pg.Rows[ri - 1].Row)) continue;
                while (lastCi + 1 < cp.Cols.size() && inBlock(cp.Cols[lastCi + 1].Col, pr.Row)) ++lastCi;
                while (lastRi + 1 < pg.Rows.size() && inBlock(pc.Col, pg.Rows[lastRi + 1].Row)) ++lastRi;
            }
            const auto& lastCol = cp.Cols[lastCi];
            const auto& lastRow = pg.Rows[lastRi];
            const double right = lastCol.Left + L.Widths[size_t(lastCol.Col)] + s;
            const double full = lastRow.Top + lastRow.Height;
            P->save();
            if (lastRow.Clipped) {
                const double bottom = std::max<double>(top + 1, H - L.FooterArea);
                P->setClipRect(QRectF(0, -top, W, -(bottom - top)).normalized());
            }
            DrawPrintCell(P, bc, br, QRectF(pc.Left, top, right - pc.Left, full - top), L.FontScale, s, p,
                          lastRow.Clipped);
            P->restore();
        }
    }

    // The block frame.
    if (!cp.Cols.empty() && !pg.Rows.empty()) {
        QPen blockPen(Qt::black);
        blockPen.setStyle(QtPenStyle(ps->BorderStyle()));
        blockPen.setWidthF(b == pbDouble ? 10 : 2);
        P->setPen(blockPen);
        P->setBrush(Qt::NoBrush);
        const double left = cp.Cols.front().Left;
        const double right = cp.Cols.back().Left + L.Widths[size_t(cp.Cols.back().Col)] + s;
        const double top = pg.Rows.front().Top;
        const double bottom = std::min<double>(pg.Bottom, H - L.FooterArea) + p / 2.0;
        if (b == pbAround || b == pbAroundVertical || b == pbAroundHorizontal)
            P->drawRect(QRectF(left, -top, right - left, -(bottom - top)).normalized());
        if (b == pbDouble || b == pbHorizontal || b == pbAroundHorizontal) DrawHLine(P, left, right, bottom);
        // lines at the repeated fixed columns: before each and after the last
        if (b == pbDouble || b == pbVertical || b == pbAroundVertical)
            for (int i = 0; i < cp.FirstOwn; ++i) {
                DrawVLine(P, cp.Cols[size_t(i)].Left, top, bottom);
                DrawVLine(P, cp.Cols[size_t(i + 1)].Left, top, bottom);
            }
    }
    P->restore();
    FPrintFontScale = 1.0;
}

// ---- jobs -------------------------------------------------------------------------------------

int TProStringGrid::PrintGridRect(const TGridRect& Range, bool SelectedOnly)
{
    TPrintSettings* ps = FPrintSettings.get();
    ExportNotification(esExportStart, 0);
    FPrintRect = Range;
    TPrintDevice* device = PrintDevice();
    if (!ps->UseDefaultOrientation()) device->SetLandscape(ps->Orientation() == poLandscape);
    QPagedPaintDevice* printer = device->Device();
    const double dpiX = printer->logicalDpiX(), dpiY = printer->logicalDpiY();
    const int W = int(std::lround(254.0 / dpiX * printer->width()));
    const int H = int(std::lround(254.0 / dpiY * printer->height()));
    device->SetDocName(ps->JobName());

    std::shared_ptr<TPrintLayout> L;
    int pages = INT_MAX;
    if (!FFastPrint) {
        L = LayoutPrintPages(Range, SelectedOnly, W, H);
        pages = PrintLayoutPageCount(*L);
    }
    FPrintPageFrom = 1;
    FPrintPageTo = pages;
    FPrintPageNum = pages;
    if (OnPrintStart) {
        OnPrintStart(this, pages, FPrintPageFrom, FPrintPageTo);
        if (FPrintPageFrom == 0 || FPrintPageTo == 0 || FPrintPageTo < FPrintPageFrom) {
            ExportNotification(esExportDone, 0);
            return 0;
        }
    }
    FPrintPageNum = FPrintPageTo;
    if (!L) L = LayoutPrintPages(Range, SelectedOnly, W, H, FPrintPageTo == INT_MAX ? 0 : FPrintPageTo);
    const int total = FFastPrint ? 0 : PrintLayoutPageCount(*L);
    const int last = std::min(FPrintPageTo, PrintLayoutPageCount(*L));

    QPainter painter;
    if (!painter.begin(printer)) throw EProGridError(QStringLiteral("Printer not ready"));
    int printed = 0;
    try {
        for (int page = std::max(1, FPrintPageFrom); page <= last; ++page) {
            if (printed > 0) printer->newPage();
            painter.setTransform(MetricTransform(QPointF(0, 0), dpiX, dpiY));
            if (OnPrintPage) OnPrintPage(this, &painter, page, W, H);
            DrawPrintPage(&painter, *L, page, total);
            ++printed;
            const auto& pg = L->Pages[size_t(page - 1)];
            if (OnPrintPageDone)
                OnPrintPageDone(this, &painter, pg.Rows.empty() ? -1 : pg.Rows.back().Row, -pg.Bottom,
                                page == last, W, H);
            bool cancel = false;
            if (OnPrintCancel) OnPrintCancel(this, page, cancel);
            if (cancel) break;
        }
    } catch (...) {
        painter.end();
        ExportNotification(esExportDone, 0);
        throw;
    }
    painter.end();
    ExportNotification(esExportDone, 0);
    return printed;
}

void TProStringGrid::Print() { PrintGridRect(TGridRect{0, 0, ColCount() - 1, RowCount() - 1}, false); }
void TProStringGrid::PrintSelection() { PrintGridRect(Selection(), false); }
void TProStringGrid::PrintRect(const TGridRect& Gridrect) { PrintGridRect(Gridrect, false); }
void TProStringGrid::PrintSelectedRows() { PrintGridRect(TGridRect{0, 0, ColCount() - 1, RowCount() - 1}, true); }
void TProStringGrid::PrintSelectedCols() { PrintSelectedRows(); }

TProStringGrid::TPrintDialogHandler TProStringGrid::SetPrintDialogHandler(TPrintDialogHandler Handler)
{
    TPrintDialogHandler old = std::move(PrintDialogHandler());
    PrintDialogHandler() = std::move(Handler);
    return old;
}

bool TProStringGrid::PrintWithDialog(QWidget* Parent)
{
    TPrintDevice* device = PrintDevice();
    if (PrintDialogHandler()) {
        if (!PrintDialogHandler()(device->Printer(), Parent)) return false;
    } else if (!device->ExecDialog(Parent))
        return false;
    const int from = device->FromPage(), to = device->ToPage();
    auto previous = OnPrintStart;
    if (from > 0 && to >= from)
        OnPrintStart = [&](TObject* Sender, int Pages, int& FromPage, int& ToPage) {
            FromPage = from;
            ToPage = to;
            if (previous) previous(Sender, Pages, FromPage, ToPage);
        };
    try {
        Print();
    } catch (...) {
        OnPrintStart = previous;
        throw;
    }
    OnPrintStart = previous;
    return true;
}

// ---- preview and drawing into a rectangle -----------------------------------------------------

void TProStringGrid::PreviewGridRect(TCanvas* Canvas, const TRect& Displayrect, bool SelectedOnly,
                                     const TGridRect& Range)
{
    QPainter* P = Canvas ? Canvas->Painter() : nullptr;
    if (!P || !P->device()) return;
    ExportNotification(esExportStart, 0);
    FPrintRect = Range;
    const double dpiX = P->device()->logicalDpiX(), dpiY = P->device()->logicalDpiY();
    const int W = int(std::lround(Displayrect.Width() * 254.0 / dpiX));
    const int H = int(std::lround(Displayrect.Height() * 254.0 / dpiY));
    const int page = std::max(1, FPrintPageFrom);
    FIsPrintPreview = true;
    try {
        std::shared_ptr<TPrintLayout> L = LayoutPrintPages(Range, SelectedOnly, W, H, FFastPrint ? page : 0);
        const int pages = FFastPrint ? 1 : PrintLayoutPageCount(*L);
        FPrintPageNum = pages;
        int from = 1, to = pages;
        if (OnPrintStart) OnPrintStart(this, pages, from, to);
        if (from > 0 && to > 0 && to >= from) {
            P->save();
            P->setClipRect(QRect(Displayrect.Left, Displayrect.Top, Displayrect.Width(), Displayrect.Height()));
            P->setTransform(MetricTransform(QPointF(Displayrect.Left, Displayrect.Top), dpiX, dpiY), true);
            if (OnPrintPage) OnPrintPage(this, P, page, W, H);
            DrawPrintPage(P, *L, page, FFastPrint ? 0 : pages);
            P->restore();
        }
    } catch (...) {
        FIsPrintPreview = false;
        ExportNotification(esExportDone, 0);
        throw;
    }
    FIsPrintPreview = false;
    ExportNotification(esExportDone, 0);
}

void TProStringGrid::PrintPreview(TCanvas* Canvas, const TRect& Displayrect)
{
    PreviewGridRect(Canvas, Displayrect, false, TGridRect{0, 0, ColCount() - 1, RowCount() - 1});
}

void TProStringGrid::PrintPreviewRect(TCanvas* Canvas, const TRect& Displayrect, const TGridRect& Gridrect)
{
    PreviewGridRect(Canvas, Displayrect, false, Gridrect);
}

void TProStringGrid::PrintPreviewSelection(TCanvas* Canvas, const TRect& Displayrect)
{
    PreviewGridRect(Canvas, Displayrect, false, Selection());
}

void TProStringGrid::PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& Displayrect)
{
    PreviewGridRect(Canvas, Displayrect, true, TGridRect{0, 0, ColCount() - 1, RowCount() - 1});
}

void TProStringGrid::PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& Displayrect)
{
    PrintPreviewSelectedRows(Canvas, Displayrect);
}

void TProStringGrid::PrintDraw(TCanvas* Canvas, const TRect& DrawRect)
{
    PrintDrawRect(Canvas, DrawRect, TGridRect{0, 0, ColCount() - 1, RowCount() - 1});
}

void TProStringGrid::PrintDrawRect(TCanvas* Canvas, const TRect& DrawRect, const TGridRect& Gridrect)
{
    QPainter* P = Canvas ? Canvas->Painter() : nullptr;
    if (!P || !P->device()) return;
    const double dpiX = P->device()->logicalDpiX(), dpiY = P->device()->logicalDpiY();
    const int W = int(std::lround(DrawRect.Width() * 254.0 / dpiX));
    const int H = int(std::lround(DrawRect.Height() * 254.0 / dpiY));
    FPrintRect = Gridrect;
    FPrintPageFrom = FPrintPageTo = 1;
    std::shared_ptr<TPrintLayout> L = LayoutPrintPages(Gridrect, false, W, H, 1);
    P->save();
    P->setClipRect(QRect(DrawRect.Left, DrawRect.Top, DrawRect.Width(), DrawRect.Height()));
    P->setTransform(MetricTransform(QPointF(DrawRect.Left, DrawRect.Top), dpiX, dpiY), true);
    DrawPrintPage(P, *L, 1, 0);
    P->restore();
}

// ---- cells ------------------------------------------------------------------------------------

QString TProStringGrid::PrintHtmlTitle() const
{
    const TPrintSettings* ps = FPrintSettings.get();
    if (ps->Title() == ppNone || !ps->TitleText().isEmpty() || ps->TitleLines().isEmpty()) return {};
    const QString joined = ps->TitleLines().join(QStringLiteral("\r\n"));
    return CellTextKind(joined, true) == 1 ? joined : QString();
}

TPoint TProStringGrid::CalcPrintCellSize(int ACol, int ARow, double Scale)
{
    TCanvas measure;
    return CalcPrintCellSize(measure, ACol, ARow, Scale);
}

TPoint TProStringGrid::CalcPrintCellSize(TCanvas& Measure, int ACol, int ARow, double Scale)
{
    TPrintSettings* ps = FPrintSettings.get();
    const TPrintCellLook lk = PrintCellLook(this, ACol, ARow);
    TCanvas& cv = Measure;
    cv.SetFont(lk.Font);
    QString text = IsDataControlCell(this, ACol, ARow) ? QString() : GetFormattedCell(ACol, ARow);
    int kind = CellTextKind(text, FEnableHTML);
    if (kind == 3) {
        GetCellText(ACol, ARow, text);
        kind = CellTextKind(text, FEnableHTML);
    }
    int angle = 0;
    const bool rotated = IsRotated(ACol, ARow, angle);
    const int dc = RealToDisplColumn(ACol);
    TPoint g{0, 0};
    if (ps->PrintGraphics() && !rotated && GetCellGraphic(ACol, ARow))
        g = CalcPrintGraphicSize(ACol, ARow, ColWidths(dc), RowHeights(ARow), 1.0);

    // Sizes in screen pixels first.
    int w = 0, h = 0;
    if (kind == 1) {
        cv.Font()->SetSize(ps->Font()->Size());
        THtmlRenderArgs a = HtmlArgs();
        a.MeasureOnly = true;
        a.Printing = true;
        RenderHtmlCell(&cv, text, TRect{0, 0, ps->NoAutoSize() ? ColWidths(dc) + 12 : 65535, 65535}, a);
        w = a.MeasuredWidth + 2 + g.X;
        h = a.MeasuredHeight + 2;
    } else if (kind == 2) {
        QTextDocument doc;
        LayoutRichText(doc, text, lk.Font);
        if (ps->NoAutoSize()) doc.setTextWidth(ColWidths(dc));
        w = int(std::ceil(ps->NoAutoSize() ? doc.textWidth() : doc.idealWidth())) + g.X;
        h = int(std::ceil(doc.size().height()));
    } else {
        if (text.isEmpty()) text = QStringLiteral("gh");
        if (rotated) {
            cv.Font()->SetOrientation(angle * 10);
            const double a = angle * M_PI / 180.0;
            const double tw = cv.TextWidth(text + QLatin1Char('w')), th = cv.TextHeight(text);
            w = int(std::ceil(std::abs(tw * std::cos(a)) + std::abs(th * std::sin(a))));
            h = int(std::ceil(std::abs(tw * std::sin(a)) + std::abs(th * std::cos(a))));
        } else if (lk.WordWrap && ps->NoAutoSize()) {
            const int width = IsXMergedCell(ACol, ARow) ? 65535 : ColWidths(dc);
            TRect calc{0, 0, width, 0};
            h = cv.DrawText(text, calc, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL);
            w = width;
        } else {
            // a word-wrapped cell breaks at its line breaks, as on the screen
            const QStringList lines = CellLines(text, Multilinecells() || lk.WordWrap);
            for (QString line : lines) {
                if (FURLShow && !FURLFull && IsURLText(line)) StripURLScheme(line);
                w = std::max(w, cv.TextWidth(line));
            }
            w += g.X;
            h = cv.TextHeight(QStringLiteral("gh")) * int(lines.size());
        }
    }
    w = std::max(w, g.X);
    h = std::max(h, g.Y);
    const double u = ScreenToPage * Scale;
    TPoint size{int(std::ceil(w * u)), int(std::ceil(h * u))};
    if (OnCustomCellSize) OnCustomCellSize(this, &cv, ACol, ARow, size, true);
    return size;
}

void TProStringGrid::DrawPrintCell(QPainter* P, int ACol, int ARow, const QRectF& Box, double Scale, int Spacing,
                                   int Margin, bool Clipped)
{
    TPrintSettings* ps = FPrintSettings.get();
    const TPrintCellLook lk = PrintCellLook(this, ACol, ARow);

    // The background, as one fill or as 64 bands towards the end colour.
    if (lk.Brush != clNone && lk.BrushTo == clNone)
        P->fillRect(QRectF(Box.left(), -Box.top(), Box.width(), -Box.height()).normalized(), ColorToQColor(lk.Brush));

    // The content is drawn in screen pixels, scaled onto the page, y down from the cell's top.
    const double u = ScreenToPage * Scale;
    P->save();
    P->translate(Box.left(), -Box.top());
    P->scale(u, -u);
    TCanvas cv;
    cv.BeginPaint(P);
    cv.SetFont(lk.Font);
    cv.Brush()->SetColor(lk.Brush);
    const TRect cell{0, 0, int(std::lround(Box.width() / u)), int(std::lround(Box.height() / u))};
    if (lk.Brush != clNone && lk.BrushTo != clNone)
        GradientFillRect(&cv, lk.Brush, lk.BrushTo, 64, cell, lk.Gradient == GradientHorizontal);

    TCellPaintContext C;
    C.Canvas = &cv;
    C.Rect = cell;
    C.DisplayCol = RealToDisplColumn(ACol);
    C.RealCol = ACol;
    C.Row = ARow;
    C.State = lk.State;
    C.SelectRow = ARow;
    C.HAlign = lk.HA;
    C.VAlign = lk.VA;
    C.WordWrap = lk.WordWrap;
    C.GradientDir = lk.Gradient;
    C.ColorTo = lk.BrushTo;
    int angle = 0;
    const bool rotated = IsRotated(ACol, ARow, angle);
    if (rotated || ps->PrintGraphics())
        C.Graphic = GetCellGraphicInfo(ACol, ARow, C.GraphicWidth, C.GraphicHeight, C.TextBeside, C.GraphicHAlign,
                                       C.GraphicVAlign);
    if (C.Graphic && C.Graphic->CellType() == ctNode) C.Graphic = nullptr;

    const bool ownerDraws = OnCustomCellDraw && FNoDefaultDraw;
    if (!ownerDraws && (!C.Graphic || C.TextBeside) && !rotated) {
        QString text = IsDataControlCell(this, ACol, ARow) ? QString() : GetFormattedCell(ACol, ARow);
        int kind = CellTextKind(text, FEnableHTML);
        if (kind == 3) {
            GetCellText(ACol, ARow, text);
            kind = CellTextKind(text, FEnableHTML);
        }
        const int sx = int(std::lround(Spacing / 2.0 / u)), py = int(std::lround(Margin / u));
        TRect tr{cell.Left + sx, cell.Top + py, cell.Right - sx, cell.Bottom - py};
        if (C.Graphic) {
            if (C.GraphicHAlign == haLeft || C.GraphicHAlign == haBeforeText) tr.Left += C.GraphicWidth;
            else if (C.GraphicHAlign == haRight || C.GraphicHAlign == haAfterText) tr.Right -= C.GraphicWidth;
            if (C.GraphicVAlign == vaAboveText) tr.Top += C.GraphicHeight;
            if (C.GraphicVAlign == vaUnderText) tr.Bottom -= C.GraphicHeight;
        }
        cv.Brush()->SetStyle(bsClear);
        if (kind == 1) {
            THtmlRenderArgs a = HtmlArgs();
            a.Printing = true;
            a.HitX = a.HitY = -1;
            a.WordWrap = !FEnhTextSize;
            RenderHtmlCell(&cv, text, tr, a);
            C.TextWidth = a.MeasuredWidth + 2;
        } else if (kind == 2) {
            QTextDocument doc;
            LayoutRichText(doc, text, lk.Font);
            doc.setTextWidth(std::max(1, tr.Width()));
            P->save();
            P->translate(tr.Left, tr.Top);
            QAbstractTextDocumentLayout::PaintContext ctx;
            ctx.palette.setColor(QPalette::Text, ColorToQColor(lk.Font.Color()));
            ctx.clip = QRectF(0, 0, tr.Width(), tr.Height());
            doc.documentLayout()->draw(P, ctx);
            P->restore();
            C.TextWidth = int(std::ceil(doc.idealWidth()));
        } else if (!text.isEmpty()) {
            if (FURLShow && !FURLFull && IsURLText(text)) StripURLScheme(text);
            uint32_t flags = DT_NOPREFIX | DT_EDITCONTROL;
            flags |= lk.HA == taRightJustify ? DT_RIGHT : lk.HA == taCenter ? DT_CENTER : DT_LEFT;
            flags |= lk.VA == vtaCenter ? DT_VCENTER : lk.VA == vtaBottom ? DT_BOTTOM : DT_TOP;
            if (lk.WordWrap && ps->NoAutoSize()) {
                flags |= DT_WORDBREAK | DT_EXPANDTABS;
            } else if (Multilinecells() || (lk.WordWrap && (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))))) {
                text = CellLines(text, true).join(QLatin1Char('\n'));
            } else {
                flags |= DT_SINGLELINE;
                // a text too long for a column sized as on the screen ends in an ellipsis
                if (ps->NoAutoSize() && FEnhTextSize) flags |= DT_END_ELLIPSIS;
            }
            if (C.Graphic) {
                TRect calc = tr;
                cv.DrawText(text, calc, flags | DT_CALCRECT);
                C.TextWidth = calc.Width() + 2;
            }
            cv.DrawText(text, tr, flags);
        }
        cv.Brush()->SetStyle(bsSolid);
    }
    if (C.Graphic && !ownerDraws) {
        TRect g = cell;
        DrawCellGraphic(C, g);
    }
    if (OnCustomCellDraw) OnCustomCellDraw(this, &cv, ACol, ARow, lk.State, cell, true);
    cv.EndPaint();
    P->restore();

    // The cell's lines: the sides the border setting gives, changed by the print border hook.
    const TPrintBorders b = ps->Borders();
    TCellBorders sides;
    if (b == pbSingle || b == pbDouble || b == pbVertical || b == pbAroundVertical) {
        sides.Include(cbLeft);
        sides.Include(cbRight);
    }
    if (b == pbSingle || b == pbDouble || b == pbHorizontal || b == pbAroundHorizontal) {
        sides.Include(cbTop);
        sides.Include(cbBottom);
    }
    TPen pen;
    pen.SetColor(ps->BorderColor());
    pen.SetWidth(1);
    GetCellPrintBorder(ACol, ARow, &pen, sides);
    if (sides.Empty() || pen.Style() == psClear) return;
    QPen qp(ColorToQColor(pen.Color()));
    qp.setWidthF(std::max(1, pen.Width()));
    qp.setStyle(QtPenStyle(pen.Style()));
    P->setPen(qp);
    const double left = Box.left(), right = Box.right(), top = Box.top(), bottom = Box.bottom();
    if (sides.Contains(cbLeft)) DrawVLine(P, left, top, bottom);
    if (sides.Contains(cbRight)) DrawVLine(P, right, top, bottom);
    if (sides.Contains(cbTop)) DrawHLine(P, left, right, top);
    if (sides.Contains(cbBottom) && !Clipped) DrawHLine(P, left, right, bottom);
}
