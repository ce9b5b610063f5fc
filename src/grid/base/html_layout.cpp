#include "grid/base/html_layout.h"

#include "grid/base/drawing_routines.h"
#include "grid/base/html_text.h"
#include "grid/base/pictures.h"
#include "grid/base/theme.h"
#include "platform/ui/image_list.h"

#include <QAbstractScrollArea>
#include <QLocale>
#include <QPointer>
#include <algorithm>
#include <cmath>

namespace {

// Sizes read from the markup are kept within what a cell can show, so that a huge number
// never asks for a huge font, picture or control.
constexpr int MaxMarkupPixels = 8192;
constexpr int MaxFontPoints = 400;
constexpr int ListIndent = 12;

struct TPassState {
    TFont Font;
    bool InAnchor = false;
    QString Href, Title;
};

struct HtmlRenderState {
    THtmlRenderArgs* A = nullptr;
    TRect CellRect;
    int GH = 0;                  // text height of "gh" in the starting font
    TColor SavedPenColor = clBlack;
    int SavedPenWidth = 1;
    TColor SavedBrushColor = clWhite;
    TBrushStyle SavedBrushStyle = bsSolid;
    TFont StartFont;
    TPassState MeasurePass, DrawPass;
    TColor StartBackground = clWhite;
    uint32_t DrawFlags = 0;
    bool Themed = false;
    bool FirstPass = true;       // the measuring pass of a line: collects the plain text
    bool Replay = false;         // the second pass replays the line the first pass chose
    bool InAnchor = false;
    QString Href, Title;
    int AnchorCounter = 0, ImageCounter = 0, ListLevel = 0;
    bool HitPending = false;
    int AnchorStartX = 0, AnchorStartTop = 0;
    bool FocusOpen = false;
    TRect FocusRect;
    TColor KeptHoverBrush = clNone, KeptHoverFont = clNone;
    bool ParaBackground = false;
    TColor KeptParaBrush = clNone;
    TColor KeptHiFont = clNone, KeptHiBrush = clNone;
    TColor KeptFontBrush = clNone;
    bool Sub = false, Sup = false, Shadow = false, Hidden = false, ErrorUnderline = false;
    int ControlWidth = 0, ControlHeight = 0, ControlBoxHeight = 0;
    bool ControlHot = false;
    int SavedOrientation = 0;
    bool Rotated = false;
    TColor Brush = clNone;       // background of text runs; clNone: clear
};

// Per-line values handed between the call and the line layout.
struct THtmlLine {
    TRect R;
    int Width = 0;
    int Height = 0;
    int SubDrop = 0;
    int SuperLift = 0;
    int TextOffset = 0;
    int Alignment = 0;  // 0 left, 1 right, 2 centre
    int Indent = 0;
    QString Markup;
    bool AnchorTextHit = false;
    bool ImageOrControlHit = false;
};

// Position of Name in the upper-cased tag, and the text between the first double quote
// after it and the next one, taken from Source (the tag as written or upper-cased).
bool QuotedAttr(const QString& Upper, const QString& Source, QStringView Name, QString& Value, qsizetype From = 0)
{
    const qsizetype p = Upper.indexOf(Name, From);
    if (p < 0) return false;
    const qsizetype q1 = Upper.indexOf(u'"', p + Name.size());
    const qsizetype q2 = q1 < 0 ? -1 : Upper.indexOf(u'"', q1 + 1);
    Value = q2 < 0 ? QString() : Source.mid(q1 + 1, q2 - q1 - 1);
    return true;
}

// The integer of an attribute: True only when the whole value is a number.
bool IntAttr(const QString& Upper, QStringView Name, int& Value)
{
    QString v;
    if (!QuotedAttr(Upper, Upper, Name, v)) return false;
    bool ok = false;
    const long long n = v.trimmed().toLongLong(&ok);
    if (!ok) return false;
    Value = int(std::clamp<long long>(n, -MaxMarkupPixels, MaxMarkupPixels));
    return true;
}

// A value after a one-letter attribute ("x" of IND, "a" of R): the character after the
// letter is skipped, then the quoted value.
bool LetterAttr(const QString& Upper, QChar Letter, qsizetype From, int& Value)
{
    const qsizetype p = Upper.indexOf(Letter, From);
    if (p < 0) return false;
    QString v;
    const qsizetype q1 = Upper.indexOf(u'"', p + 2);
    const qsizetype q2 = q1 < 0 ? -1 : Upper.indexOf(u'"', q1 + 1);
    if (q2 < 0) return false;
    v = Upper.mid(q1 + 1, q2 - q1 - 1);
    bool ok = false;
    const long long n = v.trimmed().toLongLong(&ok);
    if (!ok) return false;
    Value = int(std::clamp<long long>(n, -MaxMarkupPixels, MaxMarkupPixels));
    return true;
}

TColor MarkupColor(const QString& Value)
{
    return Value.startsWith(u'#') ? HTMLHexColor(Value) : HTMLColorByName(Value.toLower());
}

void SetStyle(TFont* f, TFontStyle s, bool on)
{
    TFontStyles st = f->Style();
    if (on) st.Include(s);
    else st.Exclude(s);
    f->SetStyle(st);
}

void ApplyBrush(TCanvas* cv, TColor c)
{
    if (c == clNone) cv->Brush()->SetStyle(bsClear);
    else cv->Brush()->SetColor(c);
}

int RunWidth(TCanvas* cv, const QString& run, const TRect& line)
{
    if (run.isEmpty()) return 0;
    TRect r = line;
    cv->DrawText(run, r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    return r.Width();
}

// A picture named by a source: by name in the container, or by reference in the cache
// (added and loaded there on first use, so a failed load is not tried again).
THTMLPicture* FindMarkupPicture(const QString& Src, const THtmlRenderArgs& A)
{
    THTMLPicture* pic = nullptr;
    if (!Src.contains(u':') && A.PictureContainer) pic = A.PictureContainer->FindPicture(Src);
    if (Src.contains(QLatin1String("://")) && A.PictureCache) {
        pic = A.PictureCache->FindPicture(Src);
        if (!pic) {
            pic = A.PictureCache->AddPicture();
            // A picture from the web arrives later: the window it shows in is repainted then.
            const QString up = Src.toUpper();
            const bool web = up.startsWith(QLatin1String("HTTP://")) || up.startsWith(QLatin1String("HTTPS://"));
            pic->SetAsynch(web);
            if (web) {
                pic->OnDownLoadComplete = [w = QPointer<QWidget>(A.ThemeWindow)](TObject*) {
                    if (!w) return;
                    if (auto* area = qobject_cast<QAbstractScrollArea*>(w.data())) area->viewport()->update();
                    else w->update();
                };
            }
            pic->LoadFromURL(Src);
            pic->SetID(Src);
        }
    }
    return pic && !pic->Empty() && !pic->Image().isNull() ? pic : nullptr;
}

class TLineLayout {
public:
    TLineLayout(TCanvas* cv, QStringView& text, THtmlLine& ln, bool measure, HtmlRenderState& S)
        : cv(cv), Text(text), Ln(ln), Measure(measure), S(S), A(*S.A)
    {
    }
    void Run();

private:
    void ApplyTag(const QString& tag);
    void OpenTag(const QString& tag, const QString& up);
    void CloseTag(const QString& up);
    void Anchor(const QString& tag, const QString& up);
    void CloseAnchor();
    void Font(const QString& up);
    void Paragraph(const QString& up);
    void Body(const QString& up);
    void Image(const QString& tag, const QString& up);
    void Control(const QString& tag);
    void ListItem();
    void DrawControl(const QString& type, const QString& value, int width, int height, int boxH);
    // Room on the line for an image or control; False when it begins the next line.
    bool TakeRoom(int width, int height);
    bool HoverApplies() const
    {
        return !A.HoverAnchorOnly || S.AnchorCounter == A.HoverAnchorIndex;
    }
    bool Draw() const { return !Measure && !A.HitTestOnly; }
    int L() const { return Ln.R.Left; }
    int T() const { return Ln.R.Top; }
    int LineW() const { return Ln.R.Right - Ln.R.Left; }

    TCanvas* cv;
    QStringView& Text;
    THtmlLine& Ln;
    bool Measure;
    HtmlRenderState& S;
    THtmlRenderArgs& A;
    int B = 0;
    int X = 0;
    bool LineEnd = false;
    bool Overflow = false;
    bool RunOnLine = false;
    bool ItemOnLine = false;
    bool ListItemOnLine = false;
};

void TLineLayout::Run()
{
    B = Ln.R.Bottom - Ln.SubDrop;
    Ln.Width = 0;
    int trailing = 0;
    X = L();
    const bool rtl = S.DrawFlags & DT_RTLREADING;
    if (S.ParaBackground && Draw() && S.Brush != clNone)
        FillRectColor(cv, {S.CellRect.Left, T(), S.CellRect.Right, T() + Ln.Height}, S.Brush);

    while (!Text.isEmpty() && !LineEnd && !Overflow) {
        const qsizetype lt = Text.indexOf(u'<');
        qsizetype runLen = lt < 0 ? Text.size() : lt;
        if (A.WordWrap) {
            // only up to the next tag: a search through the whole rest made long texts quadratic
            const qsizetype blank = Text.left(runLen).indexOf(u' ');
            if (blank >= 0) runLen = blank + 1;
        }
        const QStringView raw = Text.left(runLen);
        const QString run = ConvertRunEntities(raw.toString());
        if (!run.isEmpty()) {
            const int th = cv->TextHeight(run);
            Ln.Height = std::max(Ln.Height, th);
            if (S.Sub) Ln.SubDrop = std::max(Ln.SubDrop, th / 4);
            if (S.Sup) Ln.SuperLift = std::max(Ln.SuperLift, th / 4);
            if (S.FirstPass) A.PlainText += run;
        }
        if (S.Hidden) {
            Text = Text.mid(runLen);
        } else {
            const int before = Ln.Width;
            int w = 0;
            if (Measure) {
                w = RunWidth(cv, run, Ln.R);
                Ln.Width += w;
                const int hx = (rtl ? Ln.R.Right - A.HitX : A.HitX) - L();
                if (S.InAnchor && !run.isEmpty() && A.HitX - L() >= before && Ln.Width >= hx) {
                    Ln.AnchorTextHit = true;
                    if (A.HitY > T()) {
                        A.AnchorHref = S.Href;
                        A.AnchorTitle = S.Title;
                        S.HitPending = true;
                    }
                }
            } else if (!run.isEmpty()) {
                int bottom = B - S.Sup * Ln.SuperLift + S.Sub * Ln.SubDrop - Ln.TextOffset;
                const int th = cv->TextHeight(run);
                TRect rr{X, std::min(T(), bottom - th), Ln.R.Right, bottom};
                ApplyBrush(cv, S.Brush);
                // past the right edge nothing shows: a long line is measured, not drawn
                const bool shown = X < Ln.R.Right;
                if (S.Shadow && shown) {
                    const TColor keep = cv->Font()->Color();
                    cv->Font()->SetColor(A.ShadowColor);
                    TRect sr = rr;
                    OffsetRect(sr, A.ShadowOffset, A.ShadowOffset);
                    cv->DrawText(run, sr, S.DrawFlags);
                    cv->Font()->SetColor(keep);
                }
                if (shown) cv->DrawText(run, rr, S.DrawFlags);
                w = RunWidth(cv, run, Ln.R);
                if (S.AnchorCounter == A.FocusAnchorIndex + 1 && S.InAnchor) A.FocusAnchorHref = S.Href;
                if (S.ErrorUnderline) {
                    const TColor keepPen = cv->Pen()->Color();
                    cv->Pen()->SetColor(clRed);
                    cv->Pen()->SetWidth(1);
                    int x = X & ~1;
                    int amp = (x % 4 == 0) ? 2 : 0;
                    cv->MoveTo(x, B - 1 + amp);
                    while (x < X + w) {
                        x += 2;
                        amp = 2 - amp;
                        cv->LineTo(x, B - 1 + amp);
                    }
                    cv->Pen()->SetColor(keepPen);
                }
                X += w;
                Ln.Width += w;
            }
            bool fits = true;
            if (Measure && !S.Replay) {
                fits = Ln.Width < LineW() || w >= LineW();
                // A word continued across a tag is not broken there.
                if (!fits && A.WordWrap && (!RunOnLine || trailing == 0)) fits = true;
            }
            if (fits || !A.WordWrap) {
                Ln.Markup += raw;
                Text = Text.mid(runLen);
                if (!run.isEmpty()) {
                    trailing = run.endsWith(u' ') ? cv->TextWidth(QStringLiteral(" ")) : 0;
                    if (!fits && RunOnLine) Text = {};  // the line ends in an ellipsis; nothing follows
                    RunOnLine = true;
                }
                if (Measure) X = L() + Ln.Width;
            } else {
                LineEnd = true;
                Ln.Width -= w;
                continue;
            }
        }
        if (Text.startsWith(u'<')) {
            if (Text.size() <= 2) {
                Text = {};
                break;
            }
            const qsizetype gt = Text.indexOf(u'>');
            if (gt < 0) {  // an unclosed tag ends the text
                Text = {};
                break;
            }
            const QString tag = Text.left(gt + 1).toString();
            ApplyTag(tag);
            if (!Overflow) {
                Ln.Markup += tag;
                Text = Text.mid(gt + 1);
            }
        }
    }
    Ln.Width -= trailing;
    A.MeasuredWidth = std::max(A.MeasuredWidth, Ln.Width);
    if (Draw() && S.FocusOpen) {
        TRect f{S.FocusRect.Left - 1, B - Ln.TextOffset - S.GH, X + 1, B - Ln.TextOffset};
        cv->DrawFocusRect(f);
        S.FocusRect.Left = S.CellRect.Left + 1;
    }
}

void TLineLayout::ApplyTag(const QString& tag)
{
    const QString up = tag.toUpper();
    if (up.startsWith(QLatin1String("</"))) {
        if (up.size() >= 4) CloseTag(up);
    } else {
        OpenTag(tag, up);
    }
}

void TLineLayout::OpenTag(const QString& tag, const QString& up)
{
    const QChar c = up[1];
    const QChar c2 = up.size() > 2 ? up[2] : QChar();
    TFont* f = cv->Font();
    switch (c.unicode()) {
    case u'A':
        Anchor(tag, up);
        break;
    case u'B':
        if (c2 == u'>') SetStyle(f, fsBold, true);
        else if (c2 == u'R') {
            LineEnd = true;
            if (S.FirstPass) A.PlainText += u'\r';
        } else if (c2 == u'L') {
            if (!A.BlinkVisible) f->SetColor(S.StartBackground);
        } else if (c2 == u'O') {
            Body(up);
        }
        break;
    case u'C':
        Control(tag);
        break;
    case u'E':
        if (c2 == u'>' && Draw()) S.ErrorUnderline = true;
        break;
    case u'F':
        Font(up);
        break;
    case u'H':
        if (c2 == u'I' && Draw()) {
            S.KeptHiFont = f->Color();
            S.KeptHiBrush = S.Brush;
            f->SetColor(HTMLHighlightTextColor());
            S.Brush = HTMLHighlightColor();
        } else if (c2 == u'R') {
            LineEnd = true;
            if (Draw()) {
                cv->Pen()->SetColor(clBlack);
                cv->Pen()->SetWidth(1);
                cv->MoveTo(L(), B + 1);
                cv->LineTo(Ln.R.Right, B + 1);
            }
        }
        break;
    case u'I':
        if (c2 == u'>') SetStyle(f, fsItalic, true);
        else if (c2 == u'N') {
            int v = 0;
            if (LetterAttr(up, u'X', 3, v) && v > Ln.Width) {
                Ln.Width = v;
                X = L() + v;
            }
        } else if (c2 == u'M') {
            Image(tag, up);
        }
        break;
    case u'L':
        ListItem();
        break;
    case u'P':
        Paragraph(up);
        break;
    case u'R': {
        int angle = 0;
        if (LetterAttr(up, u'A', 2, angle)) {
            if (!S.Rotated) S.SavedOrientation = f->Orientation();
            S.Rotated = true;
            f->SetOrientation((angle % 360) * 10);
        }
        break;
    }
    case u'S':
        if (c2 == u'>') SetStyle(f, fsStrikeOut, true);
        else if (c2 == u'H') S.Shadow = true;
        else if (up == QLatin1String("<SUB>")) S.Sub = true;
        else if (up == QLatin1String("<SUP>")) S.Sup = true;
        break;
    case u'U':
        if (c2 == u'>') SetStyle(f, fsUnderline, true);
        else if (c2.isLetter()) {
            ++S.ListLevel;
            LineEnd = true;
        }
        break;
    case u'Z':
        S.Hidden = true;
        break;
    default:
        break;
    }
}

void TLineLayout::CloseTag(const QString& up)
{
    const QChar c = up[2];
    const QChar c2 = up[3];
    TFont* f = cv->Font();
    switch (c.unicode()) {
    case u'A':
        CloseAnchor();
        break;
    case u'B':
        if (c2 == u'>') SetStyle(f, fsBold, false);
        else f->SetColor(S.StartFont.Color());
        break;
    case u'E':
        if (Draw()) S.ErrorUnderline = false;
        break;
    case u'F':
        f->SetName(S.StartFont.Name());
        f->SetHeight(S.StartFont.Height());
        if (Draw() && !A.Selected) {
            f->SetColor(S.StartFont.Color());
            S.Brush = S.KeptFontBrush;
        }
        break;
    case u'H':
        if (Draw()) {
            f->SetColor(S.KeptHiFont == clNone ? S.StartFont.Color() : S.KeptHiFont);
            S.Brush = S.KeptHiBrush;
        }
        break;
    case u'I':
        SetStyle(f, fsItalic, false);
        break;
    case u'L':
        LineEnd = true;
        break;
    case u'P':
        LineEnd = true;
        if (Draw()) {
            S.Brush = S.KeptParaBrush;
            S.ParaBackground = false;
        }
        break;
    case u'R':
        if (S.Rotated) f->SetOrientation(S.SavedOrientation);
        S.Rotated = false;
        break;
    case u'S':
        if (c2 == u'U') S.Sub = S.Sup = false;
        else if (c2 == u'H') S.Shadow = false;
        else SetStyle(f, fsStrikeOut, false);
        break;
    case u'U':
        if (c2 == u'>' || S.ListLevel < 1) SetStyle(f, fsUnderline, false);
        else --S.ListLevel;
        break;
    case u'Z':
        S.Hidden = false;
        break;
    default:
        break;
    }
}

void TLineLayout::Anchor(const QString& tag, const QString& up)
{
    TFont* f = cv->Font();
    if (S.AnchorCounter == A.FocusAnchorIndex) {
        S.FocusOpen = true;
        S.FocusRect.Left = X;
        S.FocusRect.Top = T();
    }
    ++S.AnchorCounter;
    if (HoverApplies() && Draw()) {
        SetStyle(f, fsUnderline, true);
        if (A.HoverBrushColor != clNone) {
            S.KeptHoverBrush = S.Brush;
            S.Brush = A.HoverBrushColor;
        }
        if (A.HoverFontColor != clNone) {
            S.KeptHoverFont = f->Color();
            f->SetColor(A.HoverFontColor);
        }
    }
    if (!A.Selected &&
        !(A.HoverAnchorOnly && S.AnchorCounter == A.HoverAnchorIndex && A.HoverFontColor != clNone))
        f->SetColor(A.URLColor);
    QString v;
    if (QuotedAttr(up, tag, u"HREF", v)) {
        S.Href = v;
        S.InAnchor = true;
    }
    if (QuotedAttr(up, tag, u"TITLE", v)) S.Title = v;
    S.AnchorStartX = X;
    S.AnchorStartTop = T();
}

void TLineLayout::CloseAnchor()
{
    TFont* f = cv->Font();
    if (HoverApplies() && Draw()) {
        SetStyle(f, fsUnderline, false);
        if (A.HoverBrushColor != clNone) S.Brush = S.KeptHoverBrush;
        if (A.HoverFontColor != clNone) f->SetColor(S.KeptHoverFont);
    }
    if (!A.Selected) f->SetColor(S.StartFont.Color());
    S.InAnchor = false;
    if (S.HitPending) {
        const bool sameLine = S.AnchorStartTop == T();
        A.HitAnchorRect = {sameLine ? S.AnchorStartX : L(), T(), L() + Ln.Width, Ln.R.Bottom};
        A.HitAnchorIndex = S.AnchorCounter;
        S.HitPending = false;
    }
    if (Draw() && S.FocusOpen && S.AnchorCounter == A.FocusAnchorIndex + 1) {
        const int bottom = B - Ln.TextOffset;
        cv->DrawFocusRect({S.FocusRect.Left - 1, bottom - S.GH, X + 1, bottom});
        S.FocusOpen = false;
    }
}

void TLineLayout::Font(const QString& up)
{
    TFont* f = cv->Font();
    QString v;
    if (QuotedAttr(up, up, u"FACE", v) && !v.isEmpty()) f->SetName(v);
    if (QuotedAttr(up, up, u" COLOR", v) && !v.isEmpty() && !A.Selected) f->SetColor(MarkupColor(v));
    if (QuotedAttr(up, up, u"BGCOLOR", v) && !v.isEmpty() && Draw() && !A.Selected) {
        S.KeptFontBrush = S.Brush;
        S.Brush = MarkupColor(v);
    }
    const qsizetype sz = up.indexOf(QLatin1String("SIZE"));
    if (sz >= 0) {
        const qsizetype eq = up.indexOf(u'=', sz);
        if (eq >= 0) {
            const int points = HTMLFontSize(up.mid(eq + 1));
            if (points > 0) f->SetSize(points);
        }
    }
}

void TLineLayout::Paragraph(const QString& up)
{
    QString v;
    if (QuotedAttr(up, up, u"ALIGN", v)) {
        if (v.contains(QLatin1String("RIGHT"))) Ln.Alignment = 1;
        else if (v.contains(QLatin1String("LEFT"))) Ln.Alignment = 0;
        else if (v.contains(QLatin1String("CENTER"))) Ln.Alignment = 2;
    }
    int indent = 0;
    if (IntAttr(up, u"INDENT", indent)) Ln.Indent = std::max(indent, 0);
    if (QuotedAttr(up, up, u"BGCOLOR", v) && Draw()) {
        const TColor c = v.isEmpty() ? clNone : MarkupColor(v);
        if (c != clNone) FillRectColor(cv, {S.CellRect.Left, T(), S.CellRect.Right, T() + Ln.Height}, c);
        S.KeptParaBrush = S.Brush;
        S.Brush = c;
        S.ParaBackground = true;
    }
}

void TLineLayout::Body(const QString& up)
{
    if (!Draw()) return;
    QString v;
    if (QuotedAttr(up, up, u"BACKGROUND", v)) {
        if (THTMLPicture* pic = FindMarkupPicture(v, A)) {
            const int w = pic->Width(), h = pic->Height();
            if (w > 0 && h > 0) {
                cv->SaveState();
                cv->IntersectClipRect(S.CellRect);
                for (int y = S.CellRect.Top; y < S.CellRect.Bottom; y += h)
                    for (int x = S.CellRect.Left; x < S.CellRect.Right; x += w) pic->Draw(cv, Bounds(x, y, w, h));
                cv->RestoreState();
            }
        }
    }
    if (QuotedAttr(up, up, u"BGCOLOR", v) && !v.isEmpty()) {
        const TColor c = v.contains(QLatin1String("CL")) ? HTMLColorByName(v.toLower()) : HTMLHexColor(v);
        FillRectColor(cv, S.CellRect, c);
    }
}

bool TLineLayout::TakeRoom(int width, int height)
{
    if (Measure && !S.Replay && ItemOnLine && Ln.Width + width > LineW() && width < LineW()) {
        Overflow = true;
        return false;
    }
    Ln.Width += width;
    X += width;
    Ln.Height = std::max(Ln.Height, height);
    ItemOnLine = true;
    return true;
}

void TLineLayout::Image(const QString& tag, const QString& up)
{
    QString src, srcUp;
    QuotedAttr(up, tag, u"SRC", src);  // as written: file names keep their case
    srcUp = src.toUpper();
    int w = 0, h = 0;
    const bool hasW = IntAttr(up, u"WIDTH", w) && w > 0;
    const bool hasH = IntAttr(up, u"HEIGHT", h) && h > 0;
    ++S.ImageCounter;

    // Pixels per inch of the device; a device that has none yet (an empty window canvas) is a screen.
    auto ppi = [&](bool x) {
        const int v = cv->Device() ? (x ? cv->Device()->logicalDpiX() : cv->Device()->logicalDpiY()) : 0;
        return v > 0 ? v : 96;
    };
    const int ppiX = ppi(true), ppiY = ppi(false);
    int iw = 0, ih = 0;
    int listIndex = -1;
    QString sysIcon;
    bool large = false;
    THTMLPicture* pic = nullptr;
    bool animated = false;
    if (srcUp.startsWith(QLatin1String("IDX:"))) {
        bool ok = false;
        const int idx = srcUp.mid(4).trimmed().toInt(&ok);
        if (ok && A.ImageList && idx >= 0 && idx < A.ImageList->Count()) {
            listIndex = idx;
            iw = A.ImageList->Width() * ppiX / 96;
            ih = A.ImageList->Height() * ppiY / 96;
        }
    } else if (srcUp.startsWith(QLatin1String("SSYS:")) || srcUp.startsWith(QLatin1String("LSYS:"))) {
        sysIcon = src.mid(5);
        large = srcUp.startsWith(u'L');
        QSize size;
        DrawSystemIcon(cv, 0, 0, sysIcon, large, false, A.Printing, A.ImageScale, size);
        iw = size.width() * ppiX / 96;
        ih = size.height() * ppiY / 96;
    } else if ((pic = FindMarkupPicture(src, A))) {
        animated = pic->FrameCount() > 1;
        if (hasW && hasH) {
            iw = w;
            ih = h;
        } else if (hasW && pic->Width() > 0) {
            iw = w;
            ih = int(std::lround(double(w) * pic->Height() / pic->Width()));
        } else if (hasH && pic->Height() > 0) {
            ih = h;
            iw = int(std::lround(double(h) * pic->Width() / pic->Height()));
        } else {
            iw = animated ? pic->MaxWidth() : pic->Width();
            ih = animated ? pic->MaxHeight() : pic->Height();
        }
        iw = std::clamp(iw, 0, MaxMarkupPixels) * ppiX / 96;
        ih = std::clamp(ih, 0, MaxMarkupPixels) * ppiY / 96;
    }
    if (iw <= 0 && ih <= 0) return;

    const int before = Ln.Width;
    const int x = X;
    if (!TakeRoom(iw, ih)) return;
    if (S.InAnchor && A.HitX - L() > before && A.HitX - L() < before + iw && A.HitY > T() && A.HitY < T() + ih) {
        Ln.ImageOrControlHit = true;
        A.AnchorHref = S.Href;
        A.AnchorTitle = S.Title;
    }
    QString align;
    if (QuotedAttr(up, up, u"ALIGN", align)) {
        if (align.startsWith(QLatin1String("TOP"))) Ln.TextOffset = Ln.Height - S.GH;
        else if (align.startsWith(QLatin1String("MIDDLE"))) Ln.TextOffset = (Ln.Height - S.GH) / 2;
    }
    if (!Draw()) return;
    const int y = T();
    if (listIndex >= 0) {
        if (A.Printing) {
            const QImage img = A.ImageList->Image(listIndex);
            cv->StretchDrawImage(Bounds(x, y, int(iw * A.ImageScale), int(ih * A.ImageScale)), img);
        } else {
            A.ImageList->Draw(cv, x, y, listIndex);
        }
    } else if (!sysIcon.isEmpty()) {
        QSize size;
        DrawSystemIcon(cv, x, y, sysIcon, large, true, A.Printing, A.ImageScale, size);
    } else if (pic) {
        if (hasW || hasH) {
            cv->StretchDrawImage(Bounds(x, y, iw, ih), pic->Image());
        } else if (animated) {
            FillRectColor(cv, Bounds(x, y, pic->MaxWidth(), pic->MaxHeight()), S.StartBackground);
            pic->Draw(cv, Bounds(x + pic->FrameXPos(), y + pic->FrameYPos(), pic->Width(), pic->Height()));
        } else {
            pic->Draw(cv, Bounds(x, y, iw, ih));
        }
    }
}

void TLineLayout::Control(const QString& tag)
{
    QString type, id, value, width, height, prop, maxLen;
    ParseControlTag(tag, type, id, value, width, height, prop, maxLen);
    if (width.isEmpty()) return;
    bool wOk = false, hOk = false;
    const int cwv = std::clamp(width.trimmed().toInt(&wOk), 0, MaxMarkupPixels);
    int hAttr = height.trimmed().toInt(&hOk);
    hAttr = hOk ? std::clamp(hAttr, 0, MaxMarkupPixels) : 25;
    // A width that does not parse leaves the size of the previous image or control.
    int cw = S.ControlWidth, ch = S.ControlHeight;
    if (type == QLatin1String("EDIT") || type == QLatin1String("PASSWORD") || type == QLatin1String("MASK")) {
        if (wOk) { cw = cwv; ch = S.GH + 10; }
    } else if (type == QLatin1String("COMBO") || type == QLatin1String("BUTTON")) {
        if (wOk) { cw = cwv; ch = 25; }
    } else if (type == QLatin1String("CHECK") || type == QLatin1String("RADIO")) {
        cw = ch = 16;
    } else {
        return;
    }
    S.ControlWidth = cw;
    S.ControlHeight = ch;
    const bool small = type == QLatin1String("CHECK") || type == QLatin1String("RADIO");
    const int lineH = hAttr > 25 ? hAttr - 2 : small ? 16 : 23;
    S.ControlBoxHeight = lineH;

    const int before = Ln.Width;
    const int x = X;
    if (!TakeRoom(cw, lineH)) return;
    const int hx = A.HitX - L();
    if ((hx > before && hx < before + cw && A.HitY > T() && A.HitY < T() + ch) ||
        (A.HitTestOnly && id == A.ControlID)) {
        Ln.ImageOrControlHit = true;
        A.AnchorHref = QStringLiteral("ctrl");
        A.ControlRect = {L() + before, T(), L() + before + cw, T() + ch};
        A.ControlValue = value;
        A.ControlID = id;
        A.ControlType = type;
    }
    S.ControlHot = A.HitX > x - 2 && A.HitX < x + cw - 2 && A.HitY > B - ch - 2 && A.HitY < B - 2;
    if (Draw()) {
        const int keepX = X;
        X = x;
        DrawControl(type, value, cw, hAttr, lineH);
        X = keepX;
    }
}

void TLineLayout::DrawControl(const QString& type, const QString& value, int width, int height, int boxH)
{
    const int x = X;
    const TColor keepPen = cv->Pen()->Color();
    const TColor keepBrush = cv->Brush()->Color();
    const TBrushStyle keepStyle = cv->Brush()->Style();
    cv->Pen()->SetColor(S.Themed ? TColor(0xB99D7F) : clGray);
    const bool checked = value.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
    auto box = [&]() {
        cv->Brush()->SetColor(clWhite);
        cv->Rectangle(x, B - boxH + 4, x + width, B + 2);
        cv->Brush()->SetStyle(bsClear);
    };
    if (type == QLatin1String("EDIT") || type == QLatin1String("PASSWORD") || type == QLatin1String("MASK")) {
        box();
        TRect tr{x + 2, B - boxH + 4, x + width, B};
        const QString shown = type == QLatin1String("PASSWORD") ? PasswordMask(value) : value;
        cv->DrawText(shown, tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    } else if (type == QLatin1String("COMBO")) {
        box();
        TRect tr{x + 4, B - boxH + 4, x + width - 18, B};
        cv->DrawText(value, tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        const TRect br{x + width - 18, B - boxH + 5, x + width - 1, B + 1};
        if (S.Themed) cv->DrawThemeBackground(A.ThemeWindow, QStringLiteral("combobox"), 1, S.ControlHot ? 2 : 1, br);
        else cv->DrawFrameControl(br, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
    } else if (type == QLatin1String("CHECK")) {
        const TRect br{x + 2, B - 15, x + 15, B};
        if (S.Themed) cv->DrawThemeBackground(A.ThemeWindow, QStringLiteral("button"), 3, checked ? 5 : 1, br);
        else cv->DrawFrameControl(br, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? uint32_t(DFCS_CHECKED) : 0u));
    } else if (type == QLatin1String("RADIO")) {
        const TRect br{x + 2, B - 14, x + 14, B};
        if (S.Themed) cv->DrawThemeBackground(A.ThemeWindow, QStringLiteral("button"), 2, checked ? 5 : 1, br);
        else cv->DrawFrameControl(br, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_FLAT | (checked ? uint32_t(DFCS_CHECKED) : 0u));
    } else if (type == QLatin1String("BUTTON")) {
        const TRect br{x + 2, B - height, x + width - 2, B};
        if (S.Themed)
            cv->DrawThemeBackground(A.ThemeWindow, QStringLiteral("button"), 1,
                                    A.MouseDown ? 3 : S.ControlHot ? 2 : 1, br);
        else
            cv->DrawFrameControl(br, DFC_BUTTON,
                                 DFCS_BUTTONPUSH | (S.ControlHot && A.MouseDown ? uint32_t(DFCS_PUSHED) : 0u));
        cv->Brush()->SetStyle(bsClear);
        TRect tr = br;
        InflateRect(tr, -2, -2);
        cv->DrawText(value, tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    cv->Pen()->SetColor(keepPen);
    cv->Brush()->SetColor(keepBrush);
    cv->Brush()->SetStyle(keepStyle);
}

void TLineLayout::ListItem()
{
    if (Measure && !S.Replay && ListItemOnLine) {
        Overflow = true;
        return;
    }
    ListItemOnLine = true;
    const int level = S.ListLevel;
    if (Draw() && level > 0) {
        const QString keepName = cv->Font()->Name();
        cv->Font()->SetName(QStringLiteral("Symbol"));
        ApplyBrush(cv, clNone);
        TRect br{X + ListIndent * (level - 1), T(), Ln.R.Right, B - Ln.TextOffset};
        // the bullet of odd levels, a circle on even ones
        cv->DrawText(level % 2 ? QStringLiteral("\u2022") : QStringLiteral("o"), br,
                     DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
        cv->Font()->SetName(keepName);
    }
    Ln.Width += ListIndent * level;
    X += ListIndent * level;
}

}  // namespace

// ---- text preparation -----------------------------------------------------------------------

QString ConvertRunEntities(const QString& Run)
{
    if (!Run.contains(u'&')) return Run;
    QString r = Run;
    r.replace(QLatin1String("&nbsp;"), QLatin1String(" "), Qt::CaseInsensitive);
    r.replace(QLatin1String("&lt;"), QLatin1String("<"), Qt::CaseInsensitive);
    r.replace(QLatin1String("&gt;"), QLatin1String(">"), Qt::CaseInsensitive);
    return r;
}

QString UnwrapHashTags(const QString& S)
{
    // Every "<#" loses its "<" and takes away the first ">" after it that no earlier one took.
    // One pass: Pending counts the ">" still owed.  A "<" left just before a removed ">" meets
    // the "#" after it and makes one more "<#", as removing in place would.
    QString r;
    r.reserve(S.size());
    qsizetype pending = 0;
    const qsizetype n = S.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = S[i];
        if (c == u'<' && i + 1 < n && S[i + 1] == u'#') {
            ++pending;
            continue;
        }
        if (c == u'>' && pending > 0) {
            --pending;
            if (!r.isEmpty() && r.back() == u'<' && i + 1 < n && S[i + 1] == u'#') {
                r.chop(1);
                ++pending;
            }
            continue;
        }
        r += c;
    }
    return r;
}

QString TextToBreakTags(const QString& S)
{
    QString r = S;
    r.remove(u'\n');
    return r.replace(u'\r', QLatin1String("<BR>"));
}

QString PrepareHtmlText(const QString& Text)
{
    static const struct {
        const char16_t* Entity;
        const char16_t* Text;
    } entities[] = {
        {u"&amp;", u"&&"},   {u"&quot;", u"\""}, {u"&sect;", u"§"},  {u"&permil;", u"‰"}, {u"&reg;", u"®"},
        {u"&copy;", u"©"},   {u"&para;", u"¶"},  {u"&trade;", u"™"}, {u"&euro;", u"€"},
    };
    if (!Text.contains(u'&')) return TextToBreakTags(UnwrapHashTags(Text));
    // Replaced until none is left, in one pass: entities never overlap, and only "&amp;" gives
    // a new "&", which may begin another entity with the text after it ("&amp;quot;" -> "&\"").
    const QStringView s(Text);
    QString r;
    r.reserve(s.size());
    qsizetype i = 0;
    while (i < s.size()) {
        if (s[i] != u'&') {
            r += s[i++];
            continue;
        }
        qsizetype after = i + 1;  // the text after an "&"
        for (;;) {
            const QStringView rest = s.mid(after);
            bool amp = false, other = false;
            for (const auto& e : entities) {
                const QStringView tail = QStringView(e.Entity).mid(1);
                if (!rest.startsWith(tail, Qt::CaseInsensitive)) continue;
                after += tail.size();
                if (tail == u"amp;") {
                    amp = true;
                } else {
                    r += QStringView(e.Text);
                    other = true;
                }
                break;
            }
            if (amp) {
                r += u'&';  // the first "&" of "&&"; the second one goes on
                continue;
            }
            if (!other) r += u'&';
            break;
        }
        i = after;
    }
    return TextToBreakTags(UnwrapHashTags(r));
}

int HTMLFontSize(const QString& SizeText)
{
    const qsizetype q = SizeText.indexOf(u'"');
    const int n = StrToIntPartial(q < 0 ? SizeText : SizeText.mid(q + 1));
    switch (n) {
    case 0:
        return 0;
    case 1:
        return 8;
    case 2:
        return 10;
    case 3:
        return 12;
    case 4:
        return 14;
    case 5:
        return 16;
    default:
        return std::min(n, MaxFontPoints);
    }
}

uint32_t BiDiDrawTextFlags(uint32_t Flags, int BiDiMode)
{
    if (QLocale::system().textDirection() != Qt::RightToLeft) return Flags;
    if (BiDiMode == 1) {
        if (Flags & DT_RIGHT) Flags &= ~DT_RIGHT;
        else if (!(Flags & DT_CENTER)) Flags |= DT_RIGHT;
    }
    if (BiDiMode != 0) Flags |= DT_RTLREADING;
    return Flags;
}

// ---- the call -------------------------------------------------------------------------------

bool RenderHtmlCell(TCanvas* Canvas, const QString& Text, const TRect& Rect, THtmlRenderArgs& Args)
{
    THtmlRenderArgs& A = Args;
    HtmlRenderState S;
    S.A = &A;
    S.CellRect = Rect;
    TCanvas* cv = Canvas;
    S.SavedPenColor = cv->Pen()->Color();
    S.SavedPenWidth = cv->Pen()->Width();
    S.SavedBrushColor = cv->Brush()->Color();
    S.SavedBrushStyle = cv->Brush()->Style();
    S.StartFont.Assign(*cv->Font());
    S.MeasurePass.Font.Assign(S.StartFont);
    S.DrawPass.Font.Assign(S.StartFont);
    S.StartBackground = cv->Brush()->Color();
    S.KeptHiFont = S.StartFont.Color();
    S.Brush = clNone;
    S.Themed = IsThemeActive();
    if (!A.HitTestOnly) A.ControlID.clear();
    A.ControlRect = {};
    A.ControlValue.clear();
    A.ControlType.clear();
    A.AnchorHref.clear();
    A.FocusAnchorHref.clear();
    A.AnchorTitle.clear();
    A.PlainText.clear();
    A.MeasuredWidth = A.MeasuredHeight = A.AnchorCount = 0;
    A.HitAnchorIndex = -1;
    A.HitAnchorRect = {};
    S.DrawFlags = BiDiDrawTextFlags(DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING, A.BiDiMode);
    if (!A.WordWrap) S.DrawFlags |= DT_END_ELLIPSIS;
    S.GH = cv->TextHeight(QStringLiteral("gh"));

    const QString prepared = PrepareHtmlText(Text);
    QStringView rest(prepared);
    TRect mr = Rect;
    mr.Left += 1;
    int alignment = 0, indent = 0;
    bool result = false;
    while (!rest.isEmpty()) {
        cv->SetFont(S.MeasurePass.Font);
        S.InAnchor = S.MeasurePass.InAnchor;
        S.Href = S.MeasurePass.Href;
        S.Title = S.MeasurePass.Title;
        S.Sub = S.Sup = false;
        THtmlLine ln;
        ln.R = mr;
        ln.Height = S.GH;
        ln.Alignment = alignment;
        ln.Indent = indent;
        const int anchors = S.AnchorCounter, level = S.ListLevel, images = S.ImageCounter;
        const bool shadow = S.Shadow, hidden = S.Hidden;
        const bool inAnchor = S.InAnchor;
        const QString href = S.Href, title = S.Title;

        S.FirstPass = true;
        S.Replay = false;
        const qsizetype before = rest.size();
        TLineLayout(cv, rest, ln, true, S).Run();
        // A line always takes something, so that no markup can keep the loop from ending.
        if (rest.size() == before) rest = rest.mid(1);
        alignment = ln.Alignment;
        indent = ln.Indent;
        S.MeasurePass.Font.Assign(*cv->Font());
        S.MeasurePass.InAnchor = S.InAnchor;
        S.MeasurePass.Href = S.Href;
        S.MeasurePass.Title = S.Title;
        S.InAnchor = inAnchor;
        S.Href = href;
        S.Title = title;

        TRect dr = mr;
        if (ln.Alignment == 1 && mr.Right - ln.Width > dr.Left) dr.Left = mr.Right - ln.Width;
        else if (ln.Alignment == 2 && mr.Width() - ln.Width > 0) dr.Left += (mr.Width() - ln.Width) / 2;
        dr.Left += ln.Indent;
        const int lineH = ln.Height + ln.SubDrop + ln.SuperLift;
        dr.Bottom = dr.Top + lineH;

        if (!A.MeasureOnly) {
            cv->SetFont(S.DrawPass.Font);
            S.AnchorCounter = anchors;
            S.ListLevel = level;
            S.ImageCounter = images;
            S.Shadow = shadow;
            S.Hidden = hidden;
            S.Sub = S.Sup = false;
            S.FirstPass = false;
            S.Replay = true;
            const QString markup = ln.Markup;
            QStringView replay(markup);
            THtmlLine dl = ln;
            dl.R = dr;
            dl.Markup.clear();
            dl.AnchorTextHit = dl.ImageOrControlHit = false;
            TLineLayout(cv, replay, dl, A.HitTestOnly, S).Run();
            S.DrawPass.Font.Assign(*cv->Font());
            const int bottom = dr.Bottom - dl.TextOffset;
            if ((dl.AnchorTextHit && A.HitY > bottom - S.GH && A.HitY < bottom) || dl.ImageOrControlHit) result = true;
        }
        mr.Top += lineH;
        A.MeasuredHeight += lineH;
        if (!A.MeasureOnly && Rect.Bottom < mr.Top + S.GH) break;
    }
    if (A.MeasuredHeight == 0) A.MeasuredHeight = S.GH;
    A.AnchorCount = S.AnchorCounter;
    cv->Pen()->SetColor(S.SavedPenColor);
    cv->Pen()->SetWidth(S.SavedPenWidth);
    cv->Brush()->SetColor(S.SavedBrushColor);
    cv->Brush()->SetStyle(S.SavedBrushStyle);
    cv->SetFont(S.StartFont);
    return !A.MeasureOnly && result;
}
