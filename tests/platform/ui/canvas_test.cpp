#include "platform/ui/canvas.h"
#include "support/recording_canvas.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

// A white bitmap to paint on and read back.
struct Surface {
    TBitmap Bmp{20, 20};
    TCanvas& C = *Bmp.Canvas();
    TColor At(int x, int y) { return C.Pixels(x, y); }
};

}  // namespace

TEST(CanvasGeometry, FillAndFrameLeaveOutRightAndBottomEdges)
{
    Surface s;
    s.C.Brush()->SetColor(clBlack);
    s.C.FillRect(Rect(2, 2, 5, 5));
    EXPECT_EQ(s.At(2, 2), clBlack);
    EXPECT_EQ(s.At(4, 4), clBlack);
    EXPECT_EQ(s.At(5, 4), clWhite);
    EXPECT_EQ(s.At(4, 5), clWhite);

    s.C.Brush()->SetColor(clRed);
    s.C.FrameRect(Rect(10, 10, 15, 14));
    EXPECT_EQ(s.At(10, 10), clRed);
    EXPECT_EQ(s.At(14, 13), clRed);
    EXPECT_EQ(s.At(12, 11), clWhite);   // inside stays
    EXPECT_EQ(s.At(15, 13), clWhite);
    EXPECT_EQ(s.At(14, 14), clWhite);
}

TEST(CanvasGeometry, LineToLeavesOutItsEndPoint)
{
    struct Case {
        TPoint From, To, LastDrawn, End;
    } cases[] = {
        {{0, 1}, {6, 1}, {5, 1}, {6, 1}},
        {{6, 3}, {0, 3}, {1, 3}, {0, 3}},
        {{2, 0}, {2, 7}, {2, 6}, {2, 7}},
        {{0, 10}, {5, 15}, {4, 14}, {5, 15}},
    };
    for (const Case& c : cases) {
        Surface s;
        s.C.MoveTo(c.From.X, c.From.Y);
        s.C.LineTo(c.To.X, c.To.Y);
        EXPECT_EQ(s.At(c.From.X, c.From.Y), clBlack);
        EXPECT_EQ(s.At(c.LastDrawn.X, c.LastDrawn.Y), clBlack) << c.To.X << "," << c.To.Y;
        EXPECT_EQ(s.At(c.End.X, c.End.Y), clWhite) << c.To.X << "," << c.To.Y;
        EXPECT_EQ(s.C.PenPos(), c.To);
    }
}

TEST(CanvasGeometry, RectangleFramesWithPenAndFillsWithBrush)
{
    Surface s;
    s.C.Pen()->SetColor(clRed);
    s.C.Brush()->SetColor(clBlue);
    s.C.Rectangle(1, 1, 6, 6);
    EXPECT_EQ(s.At(1, 1), clRed);
    EXPECT_EQ(s.At(5, 5), clRed);
    EXPECT_EQ(s.At(3, 3), clBlue);
    EXPECT_EQ(s.At(6, 6), clWhite);

    // without a pen the fill stops one pixel short on the right and bottom
    s.C.Pen()->SetStyle(psClear);
    s.C.Brush()->SetColor(clLime);
    s.C.Rectangle(10, 10, 15, 15);
    EXPECT_EQ(s.At(10, 10), clLime);
    EXPECT_EQ(s.At(13, 13), clLime);
    EXPECT_EQ(s.At(14, 14), clWhite);

    // a clear brush leaves the inside alone
    Surface t;
    t.C.Brush()->SetStyle(bsClear);
    t.C.Rectangle(Rect(0, 0, 8, 8));
    EXPECT_EQ(t.At(0, 0), clBlack);
    EXPECT_EQ(t.At(4, 4), clWhite);
}

TEST(CanvasGeometry, EllipseAndPolygonStayInsideTheirBox)
{
    Surface s;
    s.C.Brush()->SetColor(clBlue);
    s.C.Pen()->SetColor(clBlue);
    s.C.Ellipse(2, 2, 12, 12);
    EXPECT_EQ(s.At(7, 7), clBlue);
    EXPECT_EQ(s.At(12, 7), clWhite);
    EXPECT_EQ(s.At(2, 2), clWhite);   // corner of the box is outside the ellipse

    s.C.Brush()->SetColor(clRed);
    s.C.Pen()->SetColor(clRed);
    s.C.Polygon({{14, 14}, {19, 14}, {14, 19}});
    EXPECT_EQ(s.At(15, 15), clRed);
    EXPECT_EQ(s.At(19, 19), clWhite);
}

TEST(CanvasGeometry, ClippingAndSavedStates)
{
    Surface s;
    s.C.SaveState();
    s.C.IntersectClipRect(Rect(5, 5, 10, 10));
    EXPECT_EQ(s.C.ClipRect(), Rect(5, 5, 10, 10));
    s.C.Brush()->SetColor(clBlack);
    s.C.FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(s.At(4, 4), clWhite);
    EXPECT_EQ(s.At(5, 5), clBlack);
    EXPECT_EQ(s.At(10, 10), clWhite);
    s.C.RestoreState();
    EXPECT_EQ(s.C.Brush()->Color(), clWhite);
    EXPECT_EQ(s.C.ClipRect(), Rect(0, 0, 20, 20));
}

TEST(CanvasGeometry, FocusRectDrawnTwiceVanishes)
{
    Surface s;
    s.C.DrawFocusRect(Rect(2, 2, 9, 9));
    EXPECT_NE(s.At(2, 2), clWhite);
    s.C.DrawFocusRect(Rect(2, 2, 9, 9));
    for (int i = 2; i < 9; ++i) EXPECT_EQ(s.At(i, 2), clWhite);
}

TEST(CanvasBitmap, TransparentColourIsLeftOutAndCopyRectCopies)
{
    TBitmap glyph(4, 4);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    glyph.Canvas()->SetPixels(1, 1, clGreen);
    glyph.SetTransparent(true);
    EXPECT_EQ(glyph.TransparentColor(), clFuchsia);   // the bottom-left pixel's

    Surface s;
    s.C.Draw(3, 3, glyph);
    EXPECT_EQ(s.At(4, 4), clGreen);
    EXPECT_EQ(s.At(3, 3), clWhite);

    Surface t;
    t.C.CopyRect(Rect(0, 0, 2, 2), s.C, Rect(3, 3, 5, 5));
    EXPECT_EQ(t.At(1, 1), clGreen);
    EXPECT_EQ(t.At(0, 0), clWhite);
}

TEST(CanvasTools, FontSizeAndHeightAndChangeNotification)
{
    TFont f;
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    f.SetSize(8);
    EXPECT_EQ(f.Height(), -11);   // -MulDiv(8, 96, 72), rounded
    EXPECT_EQ(f.Size(), 8);
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);
    f.SetStyle({fsBold, fsItalic});
    EXPECT_TRUE(f.ToQFont().bold());
    EXPECT_TRUE(f.ToQFont().italic());
    EXPECT_EQ(f.ToQFont().pixelSize(), 16);
    f.SetStyle({fsBold, fsItalic});   // unchanged: no notification
    EXPECT_EQ(changes, 2);

    TBrush b;
    b.SetStyle(bsClear);
    b.SetColor(clRed);
    EXPECT_EQ(b.Style(), bsSolid);
}

// ---------------------------------------------------------------- DrawText

namespace {

struct TextFixture : ::testing::Test {
    TRecordingCanvas C;
    int W(const QString& s) { return C.TextWidth(s); }
    int H() { return C.TextHeight(QStringLiteral("Wg")); }
    std::vector<TRecordingCanvas::Op> Draw(const QString& text, TRect r, uint32_t f)
    {
        C.Clear();
        C.DrawText(text, r, f);
        std::vector<TRecordingCanvas::Op> out;
        for (auto& op : C.Ops)
            if (op.Kind == QLatin1String("Text")) out.push_back(op);
        return out;
    }
};

}  // namespace

TEST_F(TextFixture, PlacesSingleLinesByAlignment)
{
    const QString t = QStringLiteral("Cell");
    const TRect r = Rect(10, 20, 110, 60);
    struct Case {
        uint32_t Flags;
        int X, Y;
    } cases[] = {
        {DT_LEFT | DT_TOP | DT_SINGLELINE, 10, 20},
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE, 10 + (100 - W(t)) / 2, 20 + (40 - H()) / 2},
        {DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, 110 - W(t), 60 - H()},
        // vertical placement needs a single line
        {DT_RIGHT | DT_VCENTER, 110 - W(t), 20},
        {DT_BOTTOM, 10, 20},
    };
    for (const Case& c : cases) {
        auto ops = Draw(t, r, c.Flags);
        ASSERT_EQ(ops.size(), 1u) << c.Flags;
        EXPECT_EQ(ops[0].R.Left, c.X) << c.Flags;
        EXPECT_EQ(ops[0].R.Top, c.Y) << c.Flags;
    }
}

TEST_F(TextFixture, BreaksLinesAtLineEndsAndWords)
{
    // line ends split lines unless single line; a final line end opens no new line
    auto ops = Draw(QStringLiteral("one\r\ntwo\nthree\n"), Rect(0, 0, 200, 200), DT_LEFT);
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[2].Text, "three");
    EXPECT_EQ(ops[2].R.Top, 2 * H());
    ops = Draw(QStringLiteral("one\r\ntwo"), Rect(0, 0, 200, 200), DT_SINGLELINE);
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].Text, "onetwo");

    // word break: as many words as fit, blanks at the break dropped
    const int width = W(QStringLiteral("alpha beta")) + 1;
    ops = Draw(QStringLiteral("alpha beta gamma"), Rect(0, 0, width, 200), DT_WORDBREAK);
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].Text, "alpha beta");
    EXPECT_EQ(ops[1].Text, "gamma");

    // a word wider than the line stays whole, except under the edit-control rule
    const int narrow = W(QStringLiteral("abc"));
    ops = Draw(QStringLiteral("abcdef"), Rect(0, 0, narrow, 200), DT_WORDBREAK);
    ASSERT_EQ(ops.size(), 1u);
    ops = Draw(QStringLiteral("abcdef"), Rect(0, 0, narrow, 200), DT_WORDBREAK | DT_EDITCONTROL);
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].Text, "abc");
    EXPECT_EQ(ops[1].Text, "def");
}

TEST_F(TextFixture, EllipsisAndPrefixes)
{
    const QString longText = QStringLiteral("A rather long cell text");
    const int width = W(QStringLiteral("A rather..."));
    auto ops = Draw(longText, Rect(0, 0, width, 20), DT_SINGLELINE | DT_END_ELLIPSIS);
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].Text, "A rather...");

    const QString path = QStringLiteral("C:\\projects\\gateway\\config.xml");
    const int pw = W(QStringLiteral("C:\\pro...\\config.xml"));
    ops = Draw(path, Rect(0, 0, pw, 20), DT_SINGLELINE | DT_PATH_ELLIPSIS);
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].Text, "C:\\pro...\\config.xml");

    struct Case {
        const char* In;
        uint32_t Flags;
        const char* Out;
    } cases[] = {
        {"&File", DT_SINGLELINE, "File"},
        {"a&&b", DT_SINGLELINE, "a&b"},
        {"a&&b", DT_SINGLELINE | DT_NOPREFIX, "a&&b"},
        {"end&", DT_SINGLELINE, "end"},
    };
    for (const Case& c : cases) {
        ops = Draw(QString::fromUtf8(c.In), Rect(0, 0, 200, 20), c.Flags);
        ASSERT_EQ(ops.size(), 1u);
        EXPECT_EQ(ops[0].Text, QString::fromUtf8(c.Out)) << c.In;
    }
}

TEST_F(TextFixture, CalcRectMeasuresWithoutDrawing)
{
    TRect r = Rect(5, 5, 300, 6);
    int h = C.DrawText(QStringLiteral("wide line\nx"), r, DT_CALCRECT | DT_LEFT);
    EXPECT_TRUE(C.Texts().isEmpty());
    EXPECT_EQ(h, 2 * H());
    EXPECT_EQ(r, Rect(5, 5, 5 + W(QStringLiteral("wide line")), 5 + 2 * H()));

    // word break measures at the given width
    const int width = W(QStringLiteral("alpha beta")) + 1;
    r = Rect(0, 0, width, 0);
    h = C.DrawText(QStringLiteral("alpha beta gamma"), r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(h, 2 * H());
    EXPECT_EQ(r.Right, W(QStringLiteral("alpha beta")));

    // tabs expand to stops eight average characters apart
    r = Rect(0, 0, 500, 0);
    C.DrawText(QStringLiteral("a\tb"), r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_GE(r.Right, 8 * C.Font()->Metrics().averageCharWidth());
}

TEST(CanvasText, OpaqueTextFillsItsBackgroundAndClipsToTheRect)
{
    TBitmap b(60, 30);
    TCanvas& c = *b.Canvas();
    c.Brush()->SetColor(clYellow);
    TRect r = Rect(0, 0, 60, 30);
    c.DrawText(QStringLiteral("W"), r, DT_SINGLELINE);
    EXPECT_EQ(c.Pixels(c.TextWidth(QStringLiteral("W")) - 1, 0), clYellow);
    EXPECT_EQ(c.Pixels(c.TextWidth(QStringLiteral("W")) + 1, 0), clWhite);

    // clipped: nothing lands right of a narrow rectangle
    TBitmap d(60, 30);
    d.Canvas()->Font()->SetColor(clBlack);
    d.Canvas()->Brush()->SetStyle(bsClear);
    TRect narrow = Rect(0, 0, 3, 30);
    d.Canvas()->DrawText(QStringLiteral("WWWW"), narrow, DT_SINGLELINE);
    bool outside = false;
    for (int x = 3; x < 60; ++x)
        for (int y = 0; y < 30; ++y) outside |= d.Canvas()->Pixels(x, y) != clWhite;
    EXPECT_FALSE(outside);
}

namespace {

// Breaking by the rule, word by word: as many words as fit on a line, blanks at a break
// dropped, a word wider than the line split after the most characters that fit (at least one).
QStringList ReferenceWrap(const TCanvas& c, const QString& para, int width)
{
    QStringList out;
    const QStringList words = para.split(u' ', Qt::SkipEmptyParts);
    QString line;
    for (QString w : words) {
        if (!line.isEmpty() && c.TextWidth(line + u' ' + w) <= width) {
            line += u' ' + w;
            continue;
        }
        if (!line.isEmpty()) out << line;
        line.clear();
        while (c.TextWidth(w) > width) {
            int k = 1;
            while (k < w.size() && c.TextWidth(w.left(k + 1)) <= width) ++k;
            out << w.left(k);
            w = w.mid(k);
        }
        line = w;
    }
    if (!line.isEmpty() || out.isEmpty()) out << line;
    return out;
}

QStringList Texts(const std::vector<TRecordingCanvas::Op>& ops)
{
    QStringList out;
    for (const auto& op : ops) out << op.Text;
    return out;
}

}  // namespace

TEST_F(TextFixture, WrappedLinesFollowTheWordRule)
{
    // words of many widths, single blanks, at widths from narrower than a letter up
    const QStringList texts = {
        QStringLiteral("The gateway joins J1939 to Modbus, CANopen and PROFIBUS networks"),
        QStringLiteral("a bb ccc dddd eeeee ffffff ggggggg hhhhhhhh iiiiiiiii"),
        QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW iii WWWWW"),
        QStringLiteral("Zoë’s café ✓ naïve façade 日本語テキスト"),
    };
    for (const QString& t : texts)
        for (int width : {3, 20, 41, 64, 97, 150, 400}) {
            const auto ops = Draw(t, Rect(0, 0, width, 10000), DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
            EXPECT_EQ(Texts(ops), ReferenceWrap(C, t, width)) << t.toStdString() << " at " << width;
        }
}

TEST_F(TextFixture, ClippedWrapStopsAtTheLastLineShown)
{
    // a long text in a cell of two and a half lines: three lines drawn, the same as the first
    // three of the whole text
    QString t;
    for (int i = 0; i < 2000; ++i) t += QStringLiteral("word%1 ").arg(i);
    const uint32_t f = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
    const QStringList all = Texts(Draw(t, Rect(0, 0, 80, 1000000), f));
    ASSERT_GT(all.size(), 100);
    const auto shown = Draw(t, Rect(0, 10, 80, 10 + 2 * H() + H() / 2), f);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(Texts(shown), all.mid(0, 3));
    EXPECT_EQ(shown[2].R.Top, 10 + 2 * H());
    // unclipped, every line goes out; measuring counts them all
    EXPECT_EQ(Draw(t, Rect(0, 0, 80, 10), f | DT_NOCLIP).size(), size_t(all.size()));
    TRect calc = Rect(0, 0, 80, 10);
    EXPECT_EQ(C.DrawText(t, calc, f | DT_CALCRECT), int(all.size()) * H());
    EXPECT_EQ(C.TextLineCount(t, 80, f, 5), 5);
    EXPECT_EQ(C.TextLineCount(t, 80, f, 100000), all.size());
}

TEST(CanvasText, ClipOfThePainterBoundsTheLinesDrawn)
{
    // a tall rectangle on a small bitmap: only what the bitmap's clip shows is drawn, and it is
    // drawn as the whole text would be
    QString t;
    for (int i = 0; i < 400; ++i) t += QStringLiteral("w%1 ").arg(i);
    const uint32_t f = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
    auto paint = [&](bool clipped) {
        TBitmap b(80, 40);
        TCanvas& c = *b.Canvas();
        c.Brush()->SetStyle(bsClear);
        TRect r = Rect(0, -30, 80, 100000);
        if (clipped) c.IntersectClipRect(Rect(0, 0, 80, 40));
        c.DrawText(t, r, f);
        return b.Image().copy();
    };
    EXPECT_EQ(paint(true), paint(false));
}

namespace {

// Seconds of the fastest of three runs of f.
template <class F> double Fastest(F f)
{
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e9);
    }
    return best;
}

}  // namespace

TEST(CanvasText, WrappingCostGrowsWithTheTextNotItsSquare)
{
    // one unbroken word of 100,000 and of 1,000,000 characters in a narrow cell: measured, the
    // big one costs about ten times as much as the small one, where breaking a word by
    // measuring its whole rest on every line costs a hundred times as much (and at this size
    // never ends); painted, only the lines shown are broken. Each figure is the fastest of
    // three runs, so that a busy machine does not decide.
    TBitmap b(100, 60);
    TCanvas& c = *b.Canvas();
    const uint32_t f = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
    const QString small(100000, u'x'), big(1000000, u'x');
    auto paint = [&](const QString& s) {
        return Fastest([&] {
            TRect r = Rect(0, 0, 64, 36);
            c.DrawText(s, r, f);
        });
    };
    auto measure = [&](const QString& s) {
        return Fastest([&] {
            TRect r = Rect(0, 0, 64, 0);
            c.DrawText(s, r, f | DT_CALCRECT);
        });
    };
    const double paintBig = paint(big);
    const double measureSmall = measure(small);
    const double measureBig = measure(big);
    TRect r = Rect(0, 0, 64, 0);
    const int h = c.DrawText(big, r, f | DT_CALCRECT);
    EXPECT_LT(measureBig, 40 * measureSmall) << measureSmall << " s, " << measureBig << " s";
    EXPECT_LT(paintBig, measureBig / 4) << paintBig << " s, " << measureBig << " s";
    EXPECT_GT(h, 1000000 / 20 * c.TextHeight(QStringLiteral("x")));   // at most 20 characters a line
}
