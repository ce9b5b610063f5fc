// What the grid paints outside the cell-by-cell work: the frame of the edited cell, the
// coloured border in the window frame, the translucent focus ring, the sizing lines, rich-text
// cells and the form designer's quick configuration panel.
#include "grid/render/grid_paint.h"

#include "grid/base/grid_resources.h"
#include "grid/control/grid_unit.h"
#include "grid/control/pro_string_grid.h"

#include <QAbstractTextDocumentLayout>
#include <QMenu>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cmath>

// ---- paint after the cells -------------------------------------------------------------------

void TProStringGrid::PaintAfterCells()
{
    TCanvas* cv = Canvas();
    if (EditorMode()) {
        // The edited cell keeps its grid lines around the editor.
        const TGridOptions o = Options();
        TColor c = GridLineColor();
        if (GridLineWidth() < 1 || !(o.Contains(goHorzLine) || o.Contains(goVertLine))) c = Color();
        cv->Pen()->SetColor(c);
        const TBrushStyle bs = cv->Brush()->Style();
        cv->Brush()->SetStyle(bsClear);
        cv->Rectangle(CellRect(Col(), GetRowEx()));
        cv->Brush()->SetStyle(bs);
    }
    cv->Pen()->SetColor(clBlack);
    if (HasBackgroundPicture() || FBackGround->ColorTo() != clNone) DrawBackGroundArea();
    PaintDesignHelper();
    if (OnPainted) OnPainted(this);
}

// ---- border ----------------------------------------------------------------------------------

void TProStringGrid::PaintBorder()
{
    switch (FLook) {
    case glSoft:
    case glZUZ:
    case glXP:
    case glListView:
    case glVista:
    case glWin7:
    case glOffice2007: break;
    default: return;
    }
    if (BorderStyle() == bsNone || FBorderColor == clNone || FFlat) return;
    TCanvas* cv = NonClientCanvas();
    // Outside a frame paint, the frame is asked for and the border follows with it.
    if (!cv) {
        InvalidateFrame();
        return;
    }
    const int W = width(), H = height();
    TPen* pen = cv->Pen();
    pen->SetStyle(psSolid);
    pen->SetMode(pmCopy);
    pen->SetWidth(1);
    pen->SetColor(FBorderColor);
    // The inner frame needs a frame of two pixels; in a thinner one the cells would cover it,
    // so the border takes the outer line.
    if (FFitCellsInGrid && frameWidth() >= 2) {
        cv->Polyline({{1, H}, {1, 1}, {W - 2, 1}, {W - 2, H - 2}, {1, H - 2}});
        if (QWidget* parent = parentWidget()) {
            pen->SetColor(QColorToColor(parent->palette().color(QPalette::Window)));
            cv->Polyline({{0, H}, {0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}});
        }
    } else if (FFitCellsInGrid || FIsComCtl6) {
        cv->Polyline({{0, H - 1}, {0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}});
    }
}

void TProStringGrid::HandleNCPaintMessage(TMessage& m)
{
    TBaseGrid::WMNCPaint(m);
    if (FUpdateCount <= 0 && NonClientCanvas()) PaintBorder();
    m.Result = 0;
}

// ---- focus window ----------------------------------------------------------------------------

namespace {
// The focus window shows the picture of Mask with per-pixel alpha at Mask's opacity.  The
// mask's pixels are premultiplied already, as a layered window takes them.
void SetLayeredMask(TGridFocusWindow* Window, TGridAlphaMask& Mask)
{
    const QImage src = Mask.Image().convertToFormat(QImage::Format_ARGB32);
    const QImage premultiplied(src.constBits(), src.width(), src.height(), src.bytesPerLine(),
                               QImage::Format_ARGB32_Premultiplied);
    Window->SetLayer(premultiplied.copy(), Mask.Opacity);
}
}  // namespace

void TProStringGrid::CreateFocusWindow(TRect ARect)
{
    if (!FFocusWindow) return;
    FFocusWindow->hide();
    const int W = ARect.Width() + 9, H = ARect.Height() + 9;
    TBitmap mask;
    CreateRoundRectMask(mask, W, H, 4, 5, 3);
    TBitmap colour;
    colour.SetPixelFormat(pf24bit);
    colour.SetSize(W, H);
    colour.Canvas()->Brush()->SetColor(0xFDD397);
    colour.Canvas()->FillRect(Rect(0, 0, W, H));
    colour.Canvas()->Release();
    TGridAlphaMask alpha;
    alpha.MergeMask(mask, colour, 0xFFFF);
    alpha.Opacity = 230;
    SetLayeredMask(FFocusWindow, alpha);
    // Only the ring around the cell shows; the cell itself stays uncovered.
    FFocusWindow->setMask(QRegion(0, 0, W, H).xored(QRegion(4, 4, ARect.Width(), ARect.Height())));
    const QPoint at = viewport()->mapToGlobal(QPoint(ARect.Left, ARect.Top));
    FFocusWindow->setGeometry(at.x() - 4, at.y() - 4, W, H);
    FFocusWindow->setAttribute(Qt::WA_ShowWithoutActivating);
    FFocusWindow->show();
    SetFocusFrameGrid(this);
}

void TProStringGrid::MoveFocusWindow()
{
    if (!FFocusWindow) return;
    const TRect r = CellRect(Col(), GetRowEx());
    const QPoint at = viewport()->mapToGlobal(QPoint(r.Left, r.Top));
    FFocusWindow->setGeometry(at.x() - 4, at.y() - 4, r.Width() + 9, r.Height() + 9);
    FFocusWindow->update();
}

void TProStringGrid::HideFocusWindow()
{
    SetFocusFrameGrid(nullptr);
    if (auto* w = FFocusWindow.Created()) w->hide();
}

// ---- sizing lines ----------------------------------------------------------------------------

namespace {
// A dotted line on the window between paints that a second drawing removes.
void DrawInvertedLine(TCanvas* Canvas, int X1, int Y1, int X2, int Y2)
{
    TPen saved;
    saved.Assign(*Canvas->Pen());
    TPen* pen = Canvas->Pen();
    pen->SetColor(clBlack);
    pen->SetStyle(psDot);
    pen->SetMode(pmNotXor);
    pen->SetWidth(1);
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
    pen->Assign(saved);
}
}  // namespace

void TProStringGrid::DrawSizingLineVert(int X)
{
    const int bottom = std::max(height(), CalcCellRect(0, RowCount() - 1).Bottom);
    DrawInvertedLine(Canvas(), X, 0, X, bottom);
}

void TProStringGrid::DrawSizingLineHorz(int Y)
{
    const int right = std::max(width(), CalcCellRect(ColCount() - 1, 0).Right);
    DrawInvertedLine(Canvas(), 0, Y, right, Y);
}

// ---- rich-text cells -------------------------------------------------------------------------

TRichTextFrame RichTextFrame(const TRect& R, int DpiX, int DpiY, TPoint XYOffset)
{
    TRichTextFrame f;
    f.MarginX = DpiX * XYOffset.X / 96;
    f.MarginY = DpiY * XYOffset.Y / 96;
    auto twips = [](int v, int dpi) { return int(std::nearbyint(double(v) / dpi * 1440)); };
    f.Twips.Left = twips(R.Left + f.MarginX, DpiX);
    f.Twips.Top = twips(R.Top + f.MarginY, DpiY);
    f.Twips.Right = f.Twips.Left + twips(R.Right - R.Left - 2 * f.MarginX, DpiX);
    f.Twips.Bottom = f.Twips.Top + twips(R.Bottom - R.Top - 2 * f.MarginY, DpiY);
    return f;
}

namespace {
// A reader of the RTF that rich-text cells hold: groups, character formats (bold, italic,
// underline, strike, colour, size), paragraphs, tabs and escaped characters; tables of
// fonts, styles and document information are skipped.
class TRtfReader {
public:
    TRtfReader(QTextDocument& Doc, const QString& Text) : FText(Text), FCursor(&Doc) {}

    void Read()
    {
        while (FPos < FText.size()) {
            const QChar ch = FText[FPos++];
            if (ch == QLatin1Char('{')) {
                FStack.push_back(FState);
            } else if (ch == QLatin1Char('}')) {
                if (FStack.empty()) return;
                FState = FStack.back();
                FStack.pop_back();
            } else if (ch == QLatin1Char('\\')) {
                ControlWord();
            } else if (ch != QLatin1Char('\r') && ch != QLatin1Char('\n')) {
                Put(ch);
            }
        }
    }

private:
    struct State {
        bool Skip = false, ColorTable = false, Bold = false, Italic = false, Underline = false, Strike = false;
        int Color = 0, HalfPoints = 0;
        QTextCharFormat::VerticalAlignment VAlign = QTextCharFormat::AlignNormal;
    };

    void Put(QChar ch)
    {
        if (FState.ColorTable) {
            if (ch == QLatin1Char(';')) {
                FColors.push_back(FPendingColor);
                FPendingColor = QColor(0, 0, 0);
            }
            return;
        }
        if (FState.Skip) return;
        QTextCharFormat f;
        f.setFontWeight(FState.Bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(FState.Italic);
        f.setFontUnderline(FState.Underline);
        f.setFontStrikeOut(FState.Strike);
        if (FState.Color > 0 && FState.Color < int(FColors.size())) f.setForeground(FColors[size_t(FState.Color)]);
        if (FState.HalfPoints > 0) f.setFontPointSize(FState.HalfPoints / 2.0);
        f.setVerticalAlignment(FState.VAlign);
        FCursor.insertText(QString(ch), f);
    }

    void ControlWord()
    {
        if (FPos >= FText.size()) return;
        const QChar c = FText[FPos];
        if (!c.isLetter()) {
            ++FPos;
            if (c == QLatin1Char('\'') && FPos + 2 <= FText.size()) {
                bool ok = false;
                const int code = FText.mid(FPos, 2).toInt(&ok, 16);
                FPos += 2;
                if (ok) Put(QString::fromLatin1(QByteArray(1, char(code)))[0]);
            } else if (c == QLatin1Char('*')) {
                FState.Skip = true;
            } else if (c == QLatin1Char('~')) {
                Put(QChar(0xA0));
            } else if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}')) {
                Put(c);
            }
            return;
        }
        const int start = FPos;
        while (FPos < FText.size() && FText[FPos].isLetter()) ++FPos;
        const QString word = FText.mid(start, FPos - start);
        int param = 0;
        bool hasParam = false;
        const int numStart = FPos;
        if (FPos < FText.size() && (FText[FPos] == QLatin1Char('-') || FText[FPos].isDigit())) {
            ++FPos;
            while (FPos < FText.size() && FText[FPos].isDigit()) ++FPos;
            param = FText.mid(numStart, FPos - numStart).toInt(&hasParam);
        }
        if (FPos < FText.size() && FText[FPos] == QLatin1Char(' ')) ++FPos;
        Apply(word, hasParam ? param : -1, hasParam);
    }

    void Apply(const QString& w, int p, bool hasParam)
    {
        static const QStringList skipped = {QStringLiteral("fonttbl"), QStringLiteral("stylesheet"),
                                            QStringLiteral("info"),    QStringLiteral("pict"),
                                            QStringLiteral("header"),  QStringLiteral("footer"),
                                            QStringLiteral("listtable"), QStringLiteral("listoverridetable")};
        const bool on = !hasParam || p != 0;
        if (skipped.contains(w)) FState.Skip = true;
        else if (w == QLatin1String("colortbl")) FState.ColorTable = true;
        else if (w == QLatin1String("red")) FPendingColor.setRed(p);
        else if (w == QLatin1String("green")) FPendingColor.setGreen(p);
        else if (w == QLatin1String("blue")) FPendingColor.setBlue(p);
        else if (w == QLatin1String("b")) FState.Bold = on;
        else if (w == QLatin1String("i")) FState.Italic = on;
        else if (w == QLatin1String("ul")) FState.Underline = on;
        else if (w == QLatin1String("ulnone")) FState.Underline = false;
        else if (w == QLatin1String("strike")) FState.Strike = on;
        else if (w == QLatin1String("cf")) FState.Color = std::max(0, p);
        else if (w == QLatin1String("fs")) FState.HalfPoints = std::max(0, p);
        else if (w == QLatin1String("super")) FState.VAlign = QTextCharFormat::AlignSuperScript;
        else if (w == QLatin1String("sub")) FState.VAlign = QTextCharFormat::AlignSubScript;
        else if (w == QLatin1String("nosupersub")) FState.VAlign = QTextCharFormat::AlignNormal;
        else if (w == QLatin1String("plain")) {
            const State keep = FState;
            FState = State{};
            FState.Skip = keep.Skip;
        } else if (w == QLatin1String("tab")) Put(QLatin1Char('\t'));
        else if (w == QLatin1String("line")) Put(QChar(0x2028));
        else if (w == QLatin1String("par")) {
            if (!FState.Skip && !FState.ColorTable) FCursor.insertBlock();
        } else if (w == QLatin1String("u") && hasParam) {
            Put(QChar(char16_t(p < 0 ? p + 65536 : p)));
            // the fallback character that follows
            if (FPos < FText.size() && FText[FPos] != QLatin1Char('\\') && FText[FPos] != QLatin1Char('{') &&
                FText[FPos] != QLatin1Char('}'))
                ++FPos;
        }
    }

    const QString& FText;
    qsizetype FPos = 0;
    QTextCursor FCursor;
    State FState;
    std::vector<State> FStack;
    std::vector<QColor> FColors;
    QColor FPendingColor{0, 0, 0};
};
}  // namespace

void LoadRichText(QTextDocument& Doc, const QString& Text)
{
    Doc.clear();
    if (!Text.startsWith(QLatin1String("{\\rtf"))) {
        Doc.setPlainText(Text);
        return;
    }
    TRtfReader(Doc, Text).Read();
    // A closing paragraph mark leaves no empty line behind.
    QTextCursor c(&Doc);
    c.movePosition(QTextCursor::End);
    if (c.block().text().isEmpty() && Doc.blockCount() > 1) c.deletePreviousChar();
}

void TProStringGrid::DrawRichTextCell(int ACol, int ARow, TRect R, TCanvas* Canvas)
{
    if (FDesigning || !Canvas || !Canvas->CanDraw()) return;
    QPainter* p = Canvas->Painter();
    QPaintDevice* device = p->device();

    QTextDocument doc;
    doc.setDefaultFont(Canvas->Font()->ToQFont());
    doc.documentLayout()->setPaintDevice(device);
    doc.setDocumentMargin(0);
    LoadRichText(doc, Cells(ACol, ARow));

    const int dcol = RealToDisplColumn(ACol);
    TMouseActions* ma = FMouseActions.get();
    const bool focusedCurrent =
        dcol == Col() && ARow == GetRowEx() && Focused() && !Options().Contains(goDrawFocusSelected);
    const bool selected =
        (!ma->DisjunctRowSelect() && PointInGridRect(dcol, ARow, Selection()) && !focusedCurrent) ||
        (ma->DisjunctRowSelect() && GetRowSelect(ma->RowSelectPersistent() ? DisplToRealRow(ARow) : ARow)) ||
        (ma->DisjunctColSelect() && GetColSelect(dcol));
    // On the screen a selected cell shows its text in the selection's text colour.
    const bool screen = device && device->devType() == QInternal::Widget;
    if (selected && !FSelectionRTFKeep && screen && FSelectionTextColor != clNone) {
        QTextCursor all(&doc);
        all.select(QTextCursor::Document);
        QTextCharFormat f;
        f.setForeground(ColorToQColor(FSelectionTextColor));
        all.mergeCharFormat(f);
    }

    const int dpiX = device ? device->logicalDpiX() : 96, dpiY = device ? device->logicalDpiY() : 96;
    const TRichTextFrame frame = RichTextFrame(R, dpiX, dpiY, FXYOffset);
    auto px = [](int twips, int dpi) { return int(std::nearbyint(double(twips) * dpi / 1440)); };
    const QRect target(px(frame.Twips.Left, dpiX), px(frame.Twips.Top, dpiY),
                       px(frame.Twips.Right - frame.Twips.Left, dpiX), px(frame.Twips.Bottom - frame.Twips.Top, dpiY));
    if (target.width() <= 0 || target.height() <= 0) return;
    doc.setTextWidth(target.width());
    p->save();
    p->setClipRect(target, Qt::IntersectClip);
    p->translate(target.topLeft());
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette.setColor(QPalette::Text, ColorToQColor(Canvas->Font()->Color()));
    ctx.clip = QRectF(0, 0, target.width(), target.height());
    doc.documentLayout()->draw(p, ctx);
    p->restore();
}

// ---- design-time quick configuration panel ---------------------------------------------------

namespace {
TFont DesignFont()
{
    TFont f;
    f.SetName(QStringLiteral("Tahoma"));
    f.SetSize(8);
    f.SetColor(0x800000);
    return f;
}

int DesignLineHeight() { return DesignFont().LineHeight(); }

// The looks of the panel's menu, in its order.
const TGridLook DesignMenuLooks[] = {glStandard, glSoft,     glClassic, glZUZ,  glListView,
                                     glOffice2007, glXP, glVista, glWin7};
}  // namespace

void TProStringGrid::SetShowDesignHelper(bool v)
{
    if (v == FShowDesignHelper) return;
    FShowDesignHelper = v;
    Invalidate();
}

TRect TProStringGrid::DesignHelperRect()
{
    const int w = 150, h = 4 * DesignLineHeight() + 18;
    return {ClientWidth() - w, ClientHeight() - h, ClientWidth(), ClientHeight()};
}

int TProStringGrid::DesignHelperHitTest(int X, int Y)
{
    if (!FDesigning || !FShowDesignHelper) return -1;
    const TRect r = DesignHelperRect();
    if (!PtInRect(r, {X, Y})) return -1;
    if (X >= r.Right - 18 && X < r.Right - 2 && Y >= r.Top + 2 && Y < r.Top + 18) return 4;
    const int line = (Y - r.Top - 2) / (DesignLineHeight() + 4);
    return line >= 1 && line <= 3 ? line : -1;
}

void TProStringGrid::PaintDesignHelper()
{
    if (!FDesigning || !FShowDesignHelper) return;
    TCanvas* cv = Canvas();
    const TRect r = DesignHelperRect();
    const int lh = DesignLineHeight();
    const TFont savedFont(*cv->Font());
    cv->Brush()->SetStyle(bsSolid);
    cv->Brush()->SetColor(clInfoBk);
    cv->Pen()->SetColor(0x808080);
    cv->Rectangle(r);
    TFont f = DesignFont();
    f.SetStyle(TFontStyles{fsUnderline});
    cv->SetFont(f);
    cv->Brush()->SetStyle(bsClear);
    cv->TextOut(r.Left + 4, r.Top + 2, QStringLiteral("Quick config [v6.2.1.3]"));
    TBitmap close;
    LoadResourceBitmap(close, QStringLiteral("PSGCLOSE"));
    cv->Draw(r.Right - 18, r.Top + 2, close);
    const QString lines[] = {QStringLiteral("Allow edit"), QStringLiteral("Column numbers"),
                             QStringLiteral("Set look: ") + LookToDisplayName(FLook)};
    for (int i = 1; i <= 3; ++i) {
        const int y = r.Top + 2 + i * (lh + 4);
        int x = r.Left + 4;
        if (i < 3) {
            const bool checked = i == 1 ? Options().Contains(goEditing) : FShowColNrs;
            DrawCheck(cv, Bounds(x, y + (lh - 13) / 2, 13, 13), checked, true, false, csWinXP, false, 0);
            x += 18;
        }
        f.SetStyle(i == FLastDesignChoice ? TFontStyles{fsUnderline} : TFontStyles{});
        cv->SetFont(f);
        cv->TextOut(x, y, lines[i - 1]);
    }
    cv->Brush()->SetStyle(bsSolid);
    cv->SetFont(savedFont);
}

void TProStringGrid::HandleDesignHitTestMessage(TMessage& m)
{
    const int x = int16_t(LoWord(m.LParam)), y = int16_t(HiWord(m.LParam));
    const int hit = DesignHelperHitTest(x, y);
    if (hit != FLastDesignChoice) {
        FLastDesignChoice = hit;
        InvalidateClientRect(DesignHelperRect());
    }
    m.Result = hit >= 1 && hit <= 4 ? 1 : 0;
}

void TProStringGrid::DesignHelperClick(int X, int Y)
{
    const int hit = DesignHelperHitTest(X, Y);
    switch (hit) {
    case 1: SetOptions(Options().Contains(goEditing) ? Options() - goEditing : Options() + goEditing); break;
    case 2:
        FShowColNrs = !FShowColNrs;
        Invalidate();
        break;
    case 3: {
        const QStringList items = {QStringLiteral("Standard"),     QStringLiteral("Soft"),
                                   QStringLiteral("Classic"),      QStringLiteral("ZUZ"),
                                   QStringLiteral("ListView"),     QStringLiteral("Office 2007"),
                                   QStringLiteral("Windows XP"),   QStringLiteral("Windows Vista"),
                                   QStringLiteral("Windows 7")};
        int checked = -1;
        for (int i = 0; i < items.size(); ++i)
            if (DesignMenuLooks[i] == FLook) checked = i;
        int chosen = -1;
        if (OnDesignLookMenu) {
            chosen = OnDesignLookMenu(items, checked);
        } else {
            QMenu menu(this);
            for (int i = 0; i < items.size(); ++i) {
                QAction* a = menu.addAction(items[i]);
                a->setCheckable(true);
                a->setChecked(i == checked);
                a->setData(i);
            }
            if (QAction* a = menu.exec(viewport()->mapToGlobal(QPoint(X, Y)))) chosen = a->data().toInt();
        }
        if (chosen >= 0 && chosen < items.size()) SetLook(DesignMenuLooks[chosen]);
        break;
    }
    case 4: SetShowDesignHelper(false); return;
    default: return;
    }
    // The designer sees a change of the form only when the form itself changes.
    if (QWidget* form = window(); form && form != this) {
        form->resize(form->width() - 1, form->height());
        form->resize(form->width() + 1, form->height());
    }
}
