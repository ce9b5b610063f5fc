// The mini-HTML text routines and the layout: plain text, sizes and hits of marked-up texts,
// entities, tag removal, the clipboard format and the embedded form controls.
#include "grid/base/html_layout.h"
#include "grid/base/html_text.h"
#include "grid/base/pictures.h"
#include "platform/ui/image_list.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <random>

namespace {

// ---- text routines --------------------------------------------------------------------------

TEST(HtmlText, ClipboardFormatOffsetsPointAtTheDocumentAndTheFragment)
{
    for (const QString& fragment : {QString(), QStringLiteral("<b>cell</b>&nbsp;x")}) {
        QString s = fragment;
        BuildClipboardHtml(s);
        const int n = int(fragment.size());
        auto offset = [&](const QString& key) {
            const qsizetype p = s.indexOf(key);
            return s.mid(p + key.size(), 8).toInt();
        };
        EXPECT_EQ(offset(QStringLiteral("StartHTML:")), 97);
        EXPECT_EQ(offset(QStringLiteral("EndHTML:")), n + 306);
        EXPECT_EQ(offset(QStringLiteral("StartFragment:")), 274);
        EXPECT_EQ(offset(QStringLiteral("EndFragment:")), n + 274);
        EXPECT_EQ(s.size(), n + 306);
        EXPECT_TRUE(s.mid(97).startsWith(QLatin1String("<!DOCTYPE")));
        EXPECT_EQ(s.mid(274, n), fragment);
        EXPECT_TRUE(s.mid(274 + n).startsWith(QLatin1String("<!--EndFragment-->")));
    }
}

TEST(HtmlText, UrlLinks)
{
    QString html;
    ASSERT_TRUE(InsertURLLink(QStringLiteral("see <http://www.Maker.com/a_b?x>"), QStringLiteral("HTTP://"), html));
    EXPECT_EQ(html, QStringLiteral("see &lt;<a href=\"http://www.Maker.com/a_b\">http://www.Maker.com/a_b</a>?x&gt;"));
    html = QStringLiteral("unchanged");
    EXPECT_FALSE(InsertURLLink(QStringLiteral("no link"), QStringLiteral("WWW."), html));
    EXPECT_EQ(html, QStringLiteral("unchanged"));
}

TEST(HtmlText, Entities)
{
    EXPECT_EQ(DecodeHTMLEntities(QStringLiteral("&LT;b&gt; &eacute; &amp;eacute; &quot;"), true),
              QStringLiteral("<b> é &eacute; \""));
    EXPECT_EQ(DecodeHTMLEntities(QStringLiteral("&amp;eacute;"), false), QStringLiteral("&eacute;"));
    // one pass: what a decoded entity gives is text, not the start of another entity
    EXPECT_EQ(DecodeHTMLEntities(QStringLiteral("&amp;amp;"), false), QStringLiteral("&amp;"));
    EXPECT_EQ(EncodeHTMLEntities(QStringLiteral("a<b & \"c\">"), false),
              QStringLiteral("a&lt;b &amp; &quot;c&quot;&gt;"));
    EXPECT_EQ(EncodeHTMLEntities(QStringLiteral("é*amp;€"), true), QStringLiteral("&eacute;&amp;&euro;"));
    EXPECT_EQ(SpacesToNbsp(QStringLiteral("a b")), QStringLiteral("a&nbsp;b"));
    EXPECT_EQ(PasswordMask(QStringLiteral("abc")), QStringLiteral("***"));
    // the text preparation of the layout
    EXPECT_EQ(PrepareHtmlText(QStringLiteral("&AMP;&permil;&Euro;<#x>\r\n")), QStringLiteral("&&‰€#x<BR>"));
    EXPECT_EQ(ConvertRunEntities(QStringLiteral("&LT;&nbsp;&gt;")), QStringLiteral("< >"));
}

// The preparation replaces entities until none is left and unwraps every "<#" with the first
// ">" after it that is still there, as replacing and removing in place would; checked against
// that rule done literally, on hand-picked and on random texts.
TEST(HtmlText, PreparationReplacesUntilNothingIsLeft)
{
    auto literally = [](QString s) {
        static const char16_t* const entities[][2] = {
            {u"&amp;", u"&&"}, {u"&quot;", u"\""}, {u"&sect;", u"§"}, {u"&permil;", u"‰"}, {u"&reg;", u"®"},
            {u"&copy;", u"©"}, {u"&para;", u"¶"}, {u"&trade;", u"™"}, {u"&euro;", u"€"}};
        for (bool again = true; again;) {
            again = false;
            for (const auto& e : entities) {
                const qsizetype p = s.indexOf(QStringView(e[0]), 0, Qt::CaseInsensitive);
                if (p < 0) continue;
                s.replace(p, QStringView(e[0]).size(), QStringView(e[1]).toString());
                again = true;
            }
        }
        for (qsizetype p = 0; (p = s.indexOf(QLatin1String("<#"), p)) >= 0;) {
            s.remove(p, 1);
            const qsizetype gt = s.indexOf(u'>', p);
            if (gt >= 0) s.remove(gt, 1);
        }
        s.remove(u'\n');
        return s.replace(u'\r', QLatin1String("<BR>"));
    };
    const struct {
        const char* Text;
        const char* Prepared;
    } cases[] = {
        {"&amp;quot;", "&\""},  {"&amp;amp;amp;", "&&&&"}, {"&AmP;sect;", "&§"},  {"&amp;lt;", "&&lt;"},
        {"&quot;amp;", "\"amp;"}, {"<#a<#b>", "#a#b"},      {"<#x<>#y>", "#x#y"}, {"<<#x>", "<#x"},
        {"a>b<#c", "a>b#c"},    {"&amp;<#x>\r\n", "&&#x<BR>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PrepareHtmlText(QString::fromUtf8(c.Text)), QString::fromUtf8(c.Prepared)) << c.Text;
        EXPECT_EQ(literally(QString::fromUtf8(c.Text)), QString::fromUtf8(c.Prepared)) << c.Text;
    }
    const QString pieces[] = {"&", "amp;", "AMP;", "quot;", "sect;", "euro", ";", "<", "#", ">", "x", "\r", "\n"};
    std::mt19937 rng(7);
    for (int i = 0; i < 3000; ++i) {
        QString s;
        for (int n = int(rng() % 14); n > 0; --n) s += pieces[rng() % std::size(pieces)];
        ASSERT_EQ(PrepareHtmlText(s), literally(s)) << s.toStdString();
    }
}

TEST(HtmlText, EncodedTextsDecodeToThemselves)
{
    const char* texts[] = {"a&lt;b", "&amp;lt;", "R&D", "<b>x</b>", "say &quot;y&quot;", "é&eacute;&", "&&;;", "&#60;"};
    for (const char* t : texts)
        for (bool accents : {false, true}) {
            const QString s = QString::fromUtf8(t);
            EXPECT_EQ(DecodeHTMLEntities(EncodeHTMLEntities(s, accents), accents), s) << t << " accents " << accents;
        }
}

TEST(HtmlText, TagRemovalAndVisiblePositions)
{
    EXPECT_EQ(StripHTMLTags(QStringLiteral("<b>word</b>")), QStringLiteral("word"));
    EXPECT_EQ(StripHTMLTags(QStringLiteral("a<b")), QStringLiteral("a<b"));
    EXPECT_EQ(HtmlToPlainText(QStringLiteral("a<br>b<HR>c<i>d</i>")), QStringLiteral("a\r\nb\r\ncd"));
    const QString h = QStringLiteral("<b>ab</b>");
    EXPECT_EQ(VisibleToTextIndex(h, 1), 1);
    EXPECT_EQ(VisibleToTextIndex(h, 2), 5);
    EXPECT_EQ(VisibleToTextIndex(h, 3), 10);
    EXPECT_EQ(VisibleToTextIndex(h, 4), 0);
    int p = -1;
    EXPECT_EQ(FindTextFrom(QStringLiteral("AB"), QStringLiteral("abab"), 1, p, false), 3);
    EXPECT_EQ(p, 3);
    EXPECT_EQ(FindTextFrom(QStringLiteral("AB"), QStringLiteral("abab"), 0, p, true), 0);
    EXPECT_EQ(p, 0);
}

TEST(HtmlText, Highlighting)
{
    QString r;
    HighlightInHTML(QStringLiteral("abab"), QStringLiteral("ab"), QStringLiteral("hi"), true, r);
    EXPECT_EQ(r, QStringLiteral("<hi>ab</hi><hi>ab</hi>"));
    HighlightInHTML(QStringLiteral("x <b>word</b>"), QStringLiteral("WORD"), QStringLiteral("hi"), false, r);
    EXPECT_EQ(r, QStringLiteral("x <b><hi>word</hi></b>"));
    // a match inside an entity is not what the user sees; a whole entity is
    struct Case {
        const char* html;
        const char* text;
        const char* marked;
    } cases[] = {
        {"a &amp; b", "amp", "a &amp; b"},
        {"x &lt;lt", "lt", "x &lt;<hi>lt</hi>"},
        {"&quot;q&quot;", "quot;q", "&quot;q&quot;"},
        {"a&amp;b", "&amp;", "a<hi>&amp;</hi>b"},
        {"&#60;60", "60", "&#60;<hi>60</hi>"},
    };
    for (const Case& k : cases) {
        HighlightInHTML(QString::fromUtf8(k.html), QString::fromUtf8(k.text), QStringLiteral("hi"), true, r);
        EXPECT_EQ(r, QString::fromUtf8(k.marked)) << k.html;
    }
    HighlightInHTML(QStringLiteral("x"), QString(), QStringLiteral("hi"), false, r);
    EXPECT_EQ(r, QStringLiteral("x"));
    RemoveHTMLTag(QStringLiteral("<hi>a</HI>&lt;"), QStringLiteral("hi"), r);
    EXPECT_EQ(r, QStringLiteral("a<"));
}

TEST(HtmlText, ColoursAndNumbers)
{
    EXPECT_EQ(HTMLColorByName(QStringLiteral("CLRED")), clRed);
    EXPECT_EQ(HTMLColorByName(QStringLiteral("clinfobk")), clInfoBk);
    EXPECT_EQ(HTMLColorByName(QStringLiteral("nothing")), clBlack);
    EXPECT_EQ(HTMLHexColor(QStringLiteral("#FF0000")), 0x0000FF);
    EXPECT_EQ(HTMLHexColor(QStringLiteral("#00FF8")), 0x00FF00);
    EXPECT_EQ(StrToIntPartial(QStringLiteral("12ab")), 12);
    EXPECT_EQ(StrToIntPartial(QStringLiteral("x1")), 0);
    EXPECT_EQ(StrToIntPartial(QStringLiteral("99999999999999999999")), INT_MAX);
    EXPECT_EQ(HTMLFontSize(QStringLiteral("\"3\"")), 12);
    EXPECT_EQ(HTMLFontSize(QStringLiteral("\"20\"")), 20);
    EXPECT_EQ(HTMLFontSize(QStringLiteral("\"x\"")), 0);
    EXPECT_LE(HTMLFontSize(QStringLiteral("\"9999999999999\"")), 400);
}

TEST(HtmlText, FormControls)
{
    QString h = QStringLiteral(
        "A <control type=\"edit\" ID=\"e1\" VALUE=\"x&amp;y\" WIDTH=\"50\" PROP=\"p\"> "
        "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\" WIDTH=\"20\"> "
        "<CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\" WIDTH=\"20\"> "
        "<CONTROL TYPE=\"COMBO\" ID=\"e2\" VALUE=\"\" WIDTH=\"60\" HEIGHT=\"40\" MAXLEN=\"12\"> end");
    EXPECT_TRUE(HasControlTag(h));
    QString id;
    NextControlID(h, QString(), id);
    EXPECT_EQ(id, QStringLiteral("e1"));
    NextControlID(h, QStringLiteral("e1"), id);
    EXPECT_EQ(id, QStringLiteral("e2"));
    NextControlID(h, QStringLiteral("e2"), id);
    EXPECT_EQ(id, QString());
    QString v;
    ASSERT_TRUE(GetControlValue(h, QStringLiteral("e1"), v));
    EXPECT_EQ(v, QStringLiteral("x&y"));
    EXPECT_FALSE(GetControlValue(h, QStringLiteral("E1"), v));
    GetControlProp(h, QStringLiteral("e1"), v);
    EXPECT_EQ(v, QStringLiteral("p"));
    EXPECT_EQ(GetControlMaxLen(h, QStringLiteral("e2")), 12);
    EXPECT_EQ(GetControlMaxLen(h, QStringLiteral("zz")), 0);

    ASSERT_TRUE(SetControlValue(h, QStringLiteral("e2"), QStringLiteral("<é>")));
    EXPECT_TRUE(h.contains(QStringLiteral(
        "<CONTROL ID=\"e2\" VALUE=\"&lt;&eacute;&gt;\" WIDTH=\"60\" TYPE=\"COMBO\" HEIGHT=\"40\" MAXLEN=\"12\"> end")));
    ASSERT_TRUE(GetControlValue(h, QStringLiteral("e2"), v));
    EXPECT_EQ(v, QStringLiteral("<é>"));
    const QString before = h;
    EXPECT_FALSE(SetControlValue(h, QStringLiteral("zz"), QStringLiteral("1")));
    EXPECT_EQ(h, before);

    h = ResetRadioControls(h);
    ASSERT_TRUE(GetControlValue(h, QStringLiteral("r1"), v));
    EXPECT_EQ(v, QStringLiteral("FALSE"));
    ASSERT_TRUE(GetControlValue(h, QStringLiteral("c1"), v));
    EXPECT_EQ(v, QStringLiteral("TRUE"));
    QString type, cid, value, width, height, prop, maxLen;
    ParseControlTag(QStringLiteral("<CONTROL type=\"edit\" ID=\"a"), type, cid, value, width, height, prop, maxLen);
    EXPECT_EQ(type, QStringLiteral("EDIT"));
    EXPECT_EQ(cid, QString());
}

// ---- layout ---------------------------------------------------------------------------------

class MiniHtml : public ::testing::Test {
protected:
    MiniHtml() : Bmp(300, 200)
    {
        Cv = Bmp.Canvas();
        Cv->Font()->SetName(QStringLiteral("DejaVu Sans"));
        Cv->Font()->SetSize(9);
        Cv->Brush()->SetColor(clWhite);
        Cv->FillRect({0, 0, 300, 200});
        GH = Cv->TextHeight(QStringLiteral("gh"));
    }
    int Width(const QString& s, bool bold = false)
    {
        TFont keep;
        keep.Assign(*Cv->Font());
        if (bold) Cv->Font()->SetStyle(TFontStyles{fsBold});
        const int w = Cv->TextWidth(s);
        Cv->SetFont(keep);
        return w;
    }
    bool Render(const QString& text, THtmlRenderArgs& a, TRect r = {0, 0, 300, 200})
    {
        return RenderHtmlCell(Cv, text, r, a);
    }
    TBitmap Bmp;
    TCanvas* Cv;
    int GH = 0;
};

TEST_F(MiniHtml, PlainTextAndSizeOfTexts)
{
    struct Case {
        QString Text;
        QString Plain;
        QString Runs;  // runs whose widths add up to the width ("|" between them); empty: not checked
        int Lines;
    };
    const Case cases[] = {
        {"", "", "", 1},
        {"abc", "abc", "abc", 1},
        {"ab<br>a", "ab\ra", "ab", 2},
        {"a<", "a", "a", 1},
        {"a<b", "a", "a", 1},
        {"a<I>b</I>c<Q>d</Q>e</X>", "abcde", "", 1},
        {"a<Z>hidden</Z>b", "ahiddenb", "a|b", 1},
        {"&lt;x&gt;&nbsp;", "<x> ", "<x>", 1},
        {"<#tag>", "#tag", "#tag", 1},
        {"ab<HR>a", "aba", "ab", 2},
        {"<P>one</P>on", "oneon", "one", 2},
        {"<UL><LI>a</UL>", "a", "", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        THtmlRenderArgs a;
        EXPECT_FALSE(Render(c.Text, a));
        EXPECT_EQ(a.PlainText, c.Plain);
        int w = 0;
        for (const QString& run : c.Runs.split(u'|', Qt::SkipEmptyParts)) w += Width(run);
        if (!c.Runs.isEmpty() || c.Text.isEmpty()) EXPECT_EQ(a.MeasuredWidth, w);
        EXPECT_EQ(a.MeasuredHeight, c.Lines * GH);
        EXPECT_EQ(a.HitAnchorIndex, -1);
    }
}

TEST_F(MiniHtml, TagsChangeTheFont)
{
    THtmlRenderArgs a;
    a.MeasureOnly = true;
    Render(QStringLiteral("<B>abc</B>"), a);
    EXPECT_EQ(a.MeasuredWidth, Width(QStringLiteral("abc"), true));
    Render(QStringLiteral("<b>ab</b>c"), a);
    EXPECT_EQ(a.MeasuredWidth, Width(QStringLiteral("ab"), true) + Width(QStringLiteral("c")));

    auto heightAt = [&](int points) {
        TFont f;
        f.Assign(*Cv->Font());
        f.SetSize(points);
        TFont keep;
        keep.Assign(*Cv->Font());
        Cv->SetFont(f);
        const int h = Cv->TextHeight(QStringLiteral("x"));
        Cv->SetFont(keep);
        return h;
    };
    Render(QStringLiteral("<FONT size=\"3\">x</FONT>"), a);
    EXPECT_EQ(a.MeasuredHeight, heightAt(12));
    Render(QStringLiteral("<FONT size=\"20\">x</FONT>"), a);
    EXPECT_EQ(a.MeasuredHeight, heightAt(20));
    // a huge size stays within what a cell can show
    Render(QStringLiteral("<FONT size=\"99999999999999999\">x</FONT>"), a);
    EXPECT_LE(a.MeasuredHeight, heightAt(400));
    // the canvas gets its font back
    EXPECT_FALSE(Cv->Font()->Style().Contains(fsBold));
    EXPECT_EQ(Cv->Font()->Size(), 9);
}

TEST_F(MiniHtml, WordWrapAndCuts)
{
    const int w = Width(QStringLiteral("aaaa bbbb"));
    THtmlRenderArgs a;
    a.MeasureOnly = true;
    Render(QStringLiteral("aaaa bbbb"), a, {0, 0, w - 2, 500});
    EXPECT_EQ(a.MeasuredHeight, 2 * GH);
    EXPECT_NEAR(a.MeasuredWidth, Width(QStringLiteral("aaaa")), 1);
    // a word begun in bold is not broken at its tag
    Render(QStringLiteral("<B>bo</B>ld"), a, {0, 0, 4, 500});
    EXPECT_EQ(a.MeasuredHeight, GH);
    // a word after a blank and a tag may go to the next line
    Render(QStringLiteral("aaaa <B>bbbb</B>"), a, {0, 0, w - 2, 500});
    EXPECT_EQ(a.MeasuredHeight, 2 * GH);

    // without word wrap: break tags only; a long first line of several runs ends the text
    a.WordWrap = false;
    Render(QStringLiteral("a<br>b"), a, {0, 0, 300, 500});
    EXPECT_EQ(a.MeasuredHeight, 2 * GH);
    a.MeasureOnly = false;
    Render(QStringLiteral("aaaa <b>bbbb</b><br>c"), a, {0, 0, Width(QStringLiteral("aaaa ")) + 10, 500});
    EXPECT_EQ(a.MeasuredHeight, GH);
    EXPECT_EQ(a.PlainText, QStringLiteral("aaaa bbbb"));

    // measuring reports the whole height; drawing stops at the bottom
    const QString five = QStringLiteral("1<br>2<br>3<br>4<br>5");
    a = {};
    a.MeasureOnly = true;
    Render(five, a, {0, 0, 100, 2 * GH});
    EXPECT_EQ(a.MeasuredHeight, 5 * GH);
    a.MeasureOnly = false;
    Render(five, a, {0, 0, 100, 2 * GH});
    EXPECT_LT(a.MeasuredHeight, 5 * GH);
}

TEST_F(MiniHtml, HitTests)
{
    const QString text = QStringLiteral("<A href=\"One\" title=\"t1\">first</A> <A HREF=\"Two\" TITLE=\"T2\">second</A>");
    const int secondX = 1 + Width(QStringLiteral("first "));
    THtmlRenderArgs a;
    a.HitTestOnly = true;
    a.HitX = secondX + 5;
    a.HitY = GH / 2;
    ASSERT_TRUE(Render(text, a));
    EXPECT_EQ(a.AnchorHref, QStringLiteral("Two"));
    EXPECT_EQ(a.AnchorTitle, QStringLiteral("T2"));
    EXPECT_EQ(a.HitAnchorIndex, 2);
    EXPECT_EQ(a.AnchorCount, 2);
    EXPECT_EQ(a.HitAnchorRect, (TRect{secondX, 0, secondX + Width(QStringLiteral("second")), GH}));

    // on the blank between the anchors, or below the text: nothing
    a.HitX = 1 + Width(QStringLiteral("first")) + 2;
    EXPECT_FALSE(Render(text, a));
    a.HitX = secondX + 5;
    a.HitY = GH + 3;
    EXPECT_FALSE(Render(text, a));

    // drawing with a focused anchor reports its reference
    a = {};
    a.FocusAnchorIndex = 0;
    Render(text, a);
    EXPECT_EQ(a.FocusAnchorHref, QStringLiteral("One"));
}

TEST_F(MiniHtml, FormControls)
{
    const QString check = QStringLiteral("ab<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"true\" WIDTH=\"16\">");
    THtmlRenderArgs a;
    a.HitTestOnly = true;
    a.ControlID = QStringLiteral("c1");
    a.HitX = a.HitY = -100;
    ASSERT_TRUE(Render(check, a));
    EXPECT_EQ(a.AnchorHref, QStringLiteral("ctrl"));
    EXPECT_EQ(a.ControlType, QStringLiteral("CHECK"));
    EXPECT_EQ(a.ControlValue, QStringLiteral("true"));
    const int x = 1 + Width(QStringLiteral("ab"));
    EXPECT_EQ(a.ControlRect, (TRect{x, 0, x + 16, 16}));

    // by the point, in a drawing call
    a = {};
    a.HitX = x + 8;
    a.HitY = 8;
    EXPECT_TRUE(Render(check, a));
    EXPECT_EQ(a.ControlID, QStringLiteral("c1"));

    struct Size {
        QString Tag;
        int Width, Height;
    };
    const Size sizes[] = {
        {"<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"v\">", 0, GH},  // no WIDTH: ignored
        {"<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"40\">", 40, 23},
        {"<CONTROL TYPE=\"BUTTON\" ID=\"b\" WIDTH=\"60\" HEIGHT=\"40\">", 60, 38},
        {"<CONTROL TYPE=\"RADIO\" ID=\"r\" WIDTH=\"60\">", 16, std::max(16, GH)},
        {"<CONTROL TYPE=\"ODD\" ID=\"o\" WIDTH=\"60\">", 0, GH},
    };
    for (const Size& s : sizes) {
        SCOPED_TRACE(s.Tag.toStdString());
        THtmlRenderArgs m;
        m.MeasureOnly = true;
        Render(s.Tag, m);
        EXPECT_EQ(m.MeasuredWidth, s.Width);
        EXPECT_EQ(m.MeasuredHeight, std::max(s.Height, GH));
    }
}

TEST_F(MiniHtml, Images)
{
    TCustomImageList list(16, 16);
    QImage green(16, 16, QImage::Format_RGB32);
    green.fill(Qt::green);
    for (int i = 0; i < 5; ++i) list.Add(green);
    TPictureContainer container;
    TPictureItem* item = container.Items()->Add();
    item->SetName(QStringLiteral("logo"));
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    QImage logo(20, 10, QImage::Format_RGB32);
    logo.fill(Qt::black);
    logo.save(&buf, "PNG");
    item->Picture()->LoadFromBytes(png);
    THTMLPictureCache cache;

    struct Case {
        QString Text;
        int Width;
    };
    const Case cases[] = {
        {"<IMG src=\"idx:1\">", 16},
        {"<IMG src=\"IDX:5\">", 0},
        {"<IMG src=\"LOGO\">", 20},
        {"<IMG src=\"logo\" width=\"40\">", 40},
        {"<IMG src=\"logo\" height=\"5\">", 10},
        {"<IMG src=\"none\">", 0},
        {"<IMG src=\"file:///no/such/picture.png\">", 0},
        {"<IMG src=\"http://host/p.png\">", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        THtmlRenderArgs a;
        a.ImageList = &list;
        a.PictureContainer = &container;
        a.PictureCache = &cache;
        Render(c.Text, a);
        EXPECT_EQ(a.MeasuredWidth, c.Width);
    }
    // drawn where the line puts it
    THtmlRenderArgs d;
    d.PictureContainer = &container;
    Cv->Brush()->SetColor(clBlack);
    Render(QStringLiteral("a<IMG src=\"logo\">"), d);
    EXPECT_EQ(QColor(Bmp.Image().pixel(1 + Width(QStringLiteral("a")) + 5, 5)), QColor(Qt::black));
    // references are loaded once and kept, found again by their text
    EXPECT_EQ(cache.Count(), 2);
    ASSERT_NE(cache.FindPicture(QStringLiteral("http://host/p.png")), nullptr);
    EXPECT_TRUE(cache.FindPicture(QStringLiteral("http://host/p.png"))->Empty());
}

TEST_F(MiniHtml, RightAlignedParagraphsAndColours)
{
    THtmlRenderArgs a;
    Render(QStringLiteral("<P align=\"right\"><FONT color=\"#FF0000\">WWW</FONT><br>x"), a, {0, 0, 300, 100});
    const QImage& img = Bmp.Image();
    int red = 0, leftInk = 0, rightInk = 0;
    for (int y = 0; y < 2 * GH; ++y)
        for (int x = 0; x < 300; ++x) {
            const QRgb p = img.pixel(x, y);
            if (qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60) ++red;
            if (p != qRgb(255, 255, 255)) (x < 150 ? leftInk : rightInk)++;
        }
    EXPECT_GT(red, 5);
    EXPECT_EQ(leftInk, 0);  // both lines keep to the right
    EXPECT_GT(rightInk, 10);
}

// ---- robustness -----------------------------------------------------------------------------

// Mutated, truncated and binary texts never read past the text, never hang and always give
// a size.
TEST_F(MiniHtml, FuzzedMarkup)
{
    const QStringList seeds = {
        QStringLiteral("<A href=\"x\" title=\"t\">link</A> <B>bold</B> <I>i</I> <U>u</U> <S>s</S>"),
        QStringLiteral("<FONT face=\"Arial\" color=\"#FF00\" bgcolor=\"clred\" size=\"7\">f</FONT><HI>h</HI>"),
        QStringLiteral("<P align=\"center\" indent=\"10\" bgcolor=\"#00FF00\">p</P><HR><UL><LI>a<LI>b</UL>"),
        QStringLiteral("<IMG src=\"idx:0\" align=\"middle\"><IMG src=\"file:///x.png\" width=\"9\"><BODY bgcolor=\"clyellow\">"),
        QStringLiteral("<CONTROL TYPE=\"COMBO\" ID=\"c\" VALUE=\"v\" WIDTH=\"50\"><CONTROL TYPE=\"BUTTON\" WIDTH=\"30\" VALUE=\"b\">"),
        QStringLiteral("<SUB>2</SUB><SUP>3</SUP><SHAD>s</SHAD><E>e</E><Z>z</Z><R a=\"90\">r</R><IND x=\"40\">x<BLINK>b</BLINK>"),
        QStringLiteral("&amp;&lt;&gt;&nbsp;&quot;&sect;&permil;<#x>\r\n&&"),
    };
    const QString pieces[] = {"<",        ">",        "</",       "\"",   "=",        " ",      "&",      "&amp;",
                              "<A href=", "<IMG src", "<CONTROL", "<FONT", "size=\"", "9999999999", "\r", "<#",
                              "<P ",      "<UL>",     "</UL>",    "<LI>", "x=\"",    "a=\"",   "#",      "cl"};
    std::mt19937 rng(20240611);
    TCustomImageList list(8, 8);
    list.Add(QImage(8, 8, QImage::Format_RGB32));
    THTMLPictureCache cache;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 3000; ++i) {
        QString s = seeds[rng() % seeds.size()];
        const int edits = 1 + rng() % 8;
        for (int e = 0; e < edits; ++e) {
            const int at = s.isEmpty() ? 0 : int(rng() % (s.size() + 1));
            switch (rng() % 5) {
            case 0:
                s.insert(at, pieces[rng() % std::size(pieces)]);
                break;
            case 1:
                s.truncate(at);
                break;
            case 2:
                if (at < s.size()) s.remove(at, 1 + rng() % 6);
                break;
            case 3:
                s.insert(at, QChar(char16_t(rng() % 0x10000)));
                break;
            default:
                s += seeds[rng() % seeds.size()].left(int(rng() % 40));
                break;
            }
        }
        THtmlRenderArgs a;
        a.ImageList = &list;
        a.PictureCache = &cache;
        a.WordWrap = rng() % 2;
        a.MeasureOnly = rng() % 3 == 0;
        a.HitTestOnly = !a.MeasureOnly && rng() % 3 == 0;
        a.HitX = int(rng() % 120);
        a.HitY = int(rng() % 60);
        a.FocusAnchorIndex = int(rng() % 3) - 1;
        a.HoverAnchorIndex = int(rng() % 3);
        a.ControlID = QStringLiteral("c");
        Render(s, a, {2, 2, 2 + int(rng() % 120), 2 + int(rng() % 80)});
        ASSERT_GT(a.MeasuredHeight, 0) << s.toStdString();
        ASSERT_GE(a.MeasuredWidth, 0);
        // the routines around the markup take the same texts
        QString r;
        HighlightInHTML(s, QStringLiteral("a"), QStringLiteral("hi"), false, r);
        StripHTMLTags(s);
        HtmlToPlainText(s);
        VisibleToTextIndex(s, int(rng() % 50));
        SetControlValue(s, QStringLiteral("c"), QStringLiteral("<v>"));
    }
    EXPECT_LT(clock.elapsed(), 60000);
}


// Cells of hundreds of kilobytes of markup (tags nested thousands deep, long runs of tags, a tag
// every few characters, entities, unclosed tags) take time in proportion to their length: a
// text 32 times as long may take 32 times as long, with generous room for a busy machine, but
// not the thousand times of a quadratic layout.
TEST_F(MiniHtml, LongMarkupTakesLinearTime)
{
    struct Case {
        const char* Name;
        QString Unit;
    };
    const Case cases[] = {
        {"nested tags", "<b><i><u><font color=\"#FF0000\">"},
        {"nested tags without blanks", "<b><i><u><s>"},
        {"sibling tags", "<b>x</b>"},
        {"a tag every few characters", "abc<i>d</i>ef "},
        {"one word across tags", "abc<i>d</i>ef"},
        {"unclosed tags", "a<b"},
        {"hash tags", "<#x>"},
        {"entities", "&amp;&quot;x"},
        {"line breaks", "a<br>"},
    };
    auto seconds = [&](const QString& text, bool wrap, bool measure) {
        THtmlRenderArgs a;
        a.WordWrap = wrap;
        a.MeasureOnly = measure;
        QElapsedTimer t;
        t.start();
        Render(text, a, {0, 0, 100, 40});
        return double(t.nsecsElapsed()) / 1e9;
    };
    for (const Case& c : cases) {
        const QString small = c.Unit.repeated(600), large = c.Unit.repeated(600 * 32);
        for (int mode = 0; mode < 4; ++mode) {
            const bool wrap = mode % 2 == 0, measure = mode >= 2;
            SCOPED_TRACE(std::string(c.Name) + (wrap ? ", wrapped" : ", one line") + (measure ? ", measured" : ", drawn"));
            // the best of a few runs, so that a run slowed down by the machine does not count
            double best = 1e9;
            for (int i = 0; i < 5; ++i) best = std::min(best, seconds(small, wrap, measure));
            const double limit = std::max(best, 0.002) * 32 * 8;
            double took = 1e9;
            for (int i = 0; i < 3 && took >= limit; ++i) took = std::min(took, seconds(large, wrap, measure));
            EXPECT_LT(took, limit) << "small " << best << " s, large " << took << " s";
        }
    }
}

}  // namespace
