// Looks, component styles and colour tones: the colours each one writes, read back from the
// grid's settings, and a few of them as they show.
#include "grid/base/drawing_routines.h"
#include "grid/base/theme.h"
#include "support/grid_shots.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// The button face as the settings store it once resolved (read after the application exists).
TColor BtnFaceRGB() { return ColorToRGB(clBtnFace); }

struct LookColours {
    TGridLook Look;
    TColor GradFrom, GradTo, Line, FixedLine, Active, Selection, SelectionText, FooterTo;
    TGridSelectionStyle SelStyle;
};

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) ++Paints;
        return false;
    }
};
}  // namespace

TEST(Looks, EachLookWritesItsColourSet)
{
    const TColor BtnFace = BtnFaceRGB();
    const LookColours cases[] = {
        {glStandard, BtnFace, clNone, 0xC0C0C0, 0x808080, 0x808080, clHighlight, clHighlightText, clBtnFace, ssDefault},
        {glSoft, BtnFace, clNone, 0xC0C0C0, 0x808080, 0x808080, clHighlight, clHighlightText, clBtnFace, ssDefault},
        {glClassic, BtnFace, clNone, 0xC0C0C0, 0x808080, 0x808080, clHighlight, clHighlightText, clBtnFace, ssDefault},
        {glListView, 0xFFFFFF, BtnFace, 0xC0C0C0, 0x808080, 0x808080, clHighlight, clHighlightText, clBtnFace,
         ssDefault},
        {glXP, 0xFFFFFF, BtnFace, 0xC0C0C0, 0x808080, 0xEACAB6, 0xEACAB6, 0, BtnFace, ssDefault},
        // The footer takes the gradient's end before the look darkens it.
        {glZUZ, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0xEACAB6, 0xEACAB6, 0, BtnFace, ssDefault},
        {glVista, 0xFFFFFF, 0xFFFFFF, 0xECECF0, 0xD4D2D1, 0xFDF8F1, 0xEACAB6, 0, 0xF4F2F1, ssVista},
        {glWin7, 0xFDFCFA, 0xFAF0E6, 0xECECF0, 0xD4D2D1, 0xFCEBDC, 0xEACAB6, 0, 0xF7E9DD, ssWin7},
        {glOffice2007, 0xFBF9F6, 0xE8DBD2, 0xF1EDEB, 0xD1BBA4, 0x9DD8F9, 0x5EC1F1, 0, clNone, ssOffice2007},
    };
    for (const auto& c : cases) {
        auto g = MakeGrid();
        g->SetLook(c.Look == glStandard ? glXP : glStandard);
        g->SetBorderStyle(bsNone);
        g->SetBorderColor(clRed);
        g->SetLook(c.Look);
        const QString name = TProStringGrid::LookToString(c.Look);
        EXPECT_EQ(g->ProGradFrom(), c.GradFrom) << name.toStdString();
        EXPECT_EQ(g->ProGradTo(), c.GradTo) << name.toStdString();
        EXPECT_EQ(g->GridLineColor(), c.Line) << name.toStdString();
        EXPECT_EQ(g->GridFixedLineColor(), c.FixedLine) << name.toStdString();
        EXPECT_EQ(g->ActiveCellColor(), c.Active) << name.toStdString();
        EXPECT_EQ(g->SelectionColor(), c.Selection) << name.toStdString();
        EXPECT_EQ(g->SelectionTextColor(), c.SelectionText) << name.toStdString();
        EXPECT_EQ(g->SearchFooter()->ColorTo(), c.FooterTo) << name.toStdString();
        EXPECT_EQ(g->SelectionStyle(), c.SelStyle) << name.toStdString();
        // Every look ends with the same frame.
        EXPECT_EQ(g->BorderStyle(), bsSingle) << name.toStdString();
        EXPECT_EQ(g->BorderColor(), TColor(0xB99D7F)) << name.toStdString();
        EXPECT_EQ(g->ScrollType(), ssNormal) << name.toStdString();
    }
}

TEST(Looks, HoverAndPressedGradientsOfTheLooks)
{
    struct Case {
        TGridLook Look;
        TProStringGrid::TFixedGradient Hover, Down;
    } cases[] = {
        {glXP, {0xCFD0D1, 0xBEC6C8, 0xBEC6C8, 0xABBCBF, 0}, {0x868788, 0x737C7E, 0x737C7E, 0x627376, 0}},
        {glVista, {0xFFF7E3, 0xFFF7E3, 0xFFEDBD, 0xFBE7B7, 0xE3C993}, {0xF9E4BC, 0xF9E4BC, 0xF7D68D, 0xF5D18A, 0xAE904F}},
        {glWin7, {0xFEFBF8, 0xFAF2ED, 0xF4E4D7, 0xE8D2C1, 0xEEE8E3}, {0xF1E8DD, 0xF1E4D8, 0xECDBCF, 0xEDDCCF, 0xD5BCAA}},
        {glOffice2007, {0xE4E2DF, 0xDBD3CD, 0xDBD3CD, 0xD2C5BC, 0xB79F87}, {0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D}},
    };
    for (const auto& c : cases) {
        auto g = MakeGrid();
        g->SetLook(glStandard);
        g->SetLook(c.Look);
        const auto h = g->HoverGradient(), d = g->DownGradient();
        const std::string name = TProStringGrid::LookToString(c.Look).toStdString();
        EXPECT_EQ((std::array{h.From, h.To, h.MirrorFrom, h.MirrorTo, h.Border}),
                  (std::array{c.Hover.From, c.Hover.To, c.Hover.MirrorFrom, c.Hover.MirrorTo, c.Hover.Border}))
            << name;
        EXPECT_EQ((std::array{d.From, d.To, d.MirrorFrom, d.MirrorTo, d.Border}),
                  (std::array{c.Down.From, c.Down.To, c.Down.MirrorFrom, c.Down.MirrorTo, c.Down.Border}))
            << name;
    }
}

TEST(Looks, SameLookChangesNothingAndCustomKeepsTheColours)
{
    auto g = MakeGrid();
    ASSERT_EQ(g->Look(), glXP);
    g->SetSelectionColor(clRed);
    g->SetBorderStyle(bsNone);
    g->SetLook(glXP);
    EXPECT_EQ(g->SelectionColor(), TColor(clRed));
    EXPECT_EQ(g->BorderStyle(), bsNone);

    g->SetGridLineColor(clLime);
    g->SetZUZGradientFrom(clYellow);
    g->SetLook(glCustom);
    EXPECT_EQ(g->SelectionColor(), TColor(clRed));
    EXPECT_EQ(g->GridLineColor(), TColor(clLime));
    EXPECT_EQ(g->ProGradFrom(), TColor(clYellow));
    EXPECT_EQ(g->BorderStyle(), bsSingle);
    EXPECT_EQ(g->BorderColor(), TColor(0xB99D7F));
}

TEST(Looks, ControlLookPassesItsGradientsOnUnlessNotSet)
{
    const TColor BtnFace = BtnFaceRGB();
    auto g = MakeGrid();
    TControlLook* cl = g->ControlLook();
    cl->SetFixedGradientHoverFrom(0x123456);
    EXPECT_EQ(g->HoverGradient().From, TColor(0x123456));
    cl->SetFixedGradientHoverFrom(clNone);
    EXPECT_EQ(g->HoverGradient().From, TColor(0x123456));
    EXPECT_EQ(cl->FixedGradientHoverFrom(), TColor(clNone));
    // The mirror halves always follow, also to "not set".
    cl->SetFixedGradientDownMirrorTo(0x654321);
    EXPECT_EQ(g->DownGradient().MirrorTo, TColor(0x654321));
    cl->SetFixedGradientDownMirrorTo(clNone);
    EXPECT_EQ(g->DownGradient().MirrorTo, TColor(clNone));
    // The normal gradient goes through the grid's setters, which store plain RGB.
    cl->SetFixedGradientTo(clBtnFace);
    EXPECT_EQ(g->ProGradTo(), BtnFace);
    cl->SetFixedGradientTo(clNone);
    EXPECT_EQ(g->ProGradTo(), BtnFace);
}

TEST(Looks, ControlLookCreationAndAssign)
{
    auto g = MakeGrid();
    TControlLook* cl = g->ControlLook();
    EXPECT_EQ(cl->CheckSize(), 15);
    EXPECT_EQ(cl->RadioSize(), 10);
    EXPECT_EQ(cl->DropDownCount(), 8);
    EXPECT_EQ(cl->CommentColor(), TColor(0x0000FF));
    EXPECT_EQ(cl->FixedGradientHoverFrom(), TColor(0x808080));
    EXPECT_EQ(cl->FixedGradientHoverTo(), TColor(0xFFFFFF));
    EXPECT_EQ(cl->FixedGradientDownBorder(), TColor(0x808080));
    EXPECT_EQ(cl->ControlStyle(), csTheme);
    ASSERT_NE(cl->DropDownHeader(), nullptr);

    TControlLook other(nullptr);
    other.SetFixedGradientFrom(0x000001);
    other.SetFixedGradientTo(0x000002);
    other.SetFixedGradientMirrorFrom(0x000003);
    other.SetFixedGradientMirrorTo(0x000004);
    other.SetFixedGradientHoverFrom(0x000005);
    other.SetFixedGradientHoverTo(0x000006);
    other.SetFixedGradientHoverMirrorFrom(0x000007);
    other.SetFixedGradientHoverMirrorTo(0x000008);
    other.SetFixedGradientHoverBorder(0x000009);
    other.SetFixedGradientDownFrom(0x00000A);
    other.SetFixedGradientDownTo(0x00000B);
    other.SetFixedGradientDownMirrorFrom(0x00000C);
    other.SetFixedGradientDownMirrorTo(0x00000D);
    other.SetFixedGradientDownBorder(0x00000E);
    other.SetFlatButton(true);
    other.SetCheckSize(20);
    const TColor hoverBefore = g->HoverGradient().From;
    cl->Assign(&other);
    EXPECT_EQ((std::array{cl->FixedGradientFrom(), cl->FixedGradientTo(), cl->FixedGradientMirrorFrom(),
                          cl->FixedGradientMirrorTo(), cl->FixedGradientHoverFrom(), cl->FixedGradientHoverTo(),
                          cl->FixedGradientHoverMirrorFrom(), cl->FixedGradientHoverMirrorTo(),
                          cl->FixedGradientHoverBorder(), cl->FixedGradientDownFrom(), cl->FixedGradientDownTo(),
                          cl->FixedGradientDownMirrorFrom(), cl->FixedGradientDownMirrorTo(),
                          cl->FixedGradientDownBorder()}),
              (std::array<TColor, 14>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    EXPECT_EQ(cl->CheckSize(), 20);
    EXPECT_FALSE(cl->FlatButton());
    // Assigning does not reach the grid's copies.
    EXPECT_EQ(g->HoverGradient().From, hoverBefore);
}

TEST(Styles, StylesWriteTheirTable)
{
    struct Case {
        TProGridStyle Style;
        TGridLook Look;
        TColor From, To, MirrorFrom, MirrorTo, Active, ActiveTo, Line, FixedLine, Footer, FooterTo, Sel, SelTo,
            SelText;
    } cases[] = {
        {gsOffice2003Blue, glXP, 0xFCE1CB, 0xE0A57D, clNone, clNone, 0x94E6FB, 0x1595EE, 0xC0C0C0, 0x808080, 0xFCE1CB,
         clNone, 0x94E6FB, 0x1595EE, 0},
        {gsOffice2003Classic, glXP, 0xFFFFFF, 0xCCD4D8, clNone, clNone, 0xD8D5D4, 0xD8D5D4, 0xC0C0C0, 0x808080,
         0xFFFFFF, clNone, clHighlight, clNone, clHighlightText},
        {gsOffice2007Obsidian, glOffice2007, 0xF7F7F7, 0xDEDEDE, clNone, clNone, 0x9DD8F9, 0x5EC1F1, 0xE5D7D0,
         0x808080, 0xF7F7F7, clNone, 0x5EC1F1, clNone, 0},
        {gsWindowsXP, glXP, clBtnFace, clBtnFace, clNone, clNone, clBtnFace, clBtnFace, 0xC0C0C0, 0x808080, clBtnFace,
         clNone, clHighlight, clNone, clHighlightText},
        {gsOffice2010Black, glOffice2007, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x5BD5FF, 0x71EFFF, 0xC0C0C0,
         0x444444, 0x6A6A6A, 0x6A6A6A, 0xFFDBB7, clNone, 0},
        {gsWindows7, glWin7, 0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD, 0xFCEBDC, 0xFCDBC1, 0xECECF0, 0xD4D2D1, 0xFDFCFA,
         0xF7E9DD, 0xEACAB6, clNone, 0},
    };
    for (const auto& c : cases) {
        auto g = MakeGrid();  // in the default look, glXP
        g->SetStyle(c.Style);
        const std::string name = std::to_string(int(c.Style));
        EXPECT_EQ(g->Look(), c.Look) << name;
        EXPECT_EQ((std::array{g->ProGradFrom(), g->ProGradTo(), g->ProGradMirrorFrom(), g->ProGradMirrorTo()}),
                  (std::array{c.From, c.To, c.MirrorFrom, c.MirrorTo}))
            << name;
        EXPECT_EQ((std::array{g->ActiveCellColor(), g->ActiveCellColorTo(), g->GridLineColor(), g->GridFixedLineColor()}),
                  (std::array{c.Active, c.ActiveTo, c.Line, c.FixedLine}))
            << name;
        EXPECT_EQ((std::array{g->SearchFooter()->Color(), g->SearchFooter()->ColorTo()}),
                  (std::array{c.Footer, c.FooterTo}))
            << name;
        EXPECT_EQ((std::array{g->SelectionColor(), g->SelectionColorTo(), g->SelectionTextColor()}),
                  (std::array{c.Sel, c.SelTo, c.SelText}))
            << name;
    }
}

TEST(Styles, CustomResetsSelectionAndControlLook)
{
    auto g = MakeGrid();
    g->SetSelectionColor(clRed);
    g->SetSelectionStyle(ssWin7);
    g->SortSettings()->SetHeaderColor(clRed);
    TControlLook* cl = g->ControlLook();
    cl->SetColor(clRed);
    cl->SetFixedGradientHoverFrom(clRed);
    cl->SetFixedGradientHoverMirrorFrom(clRed);
    g->SetComponentStyle(tsCustom);
    EXPECT_EQ(g->Style(), tsCustom);
    EXPECT_EQ(g->SelectionColor(), TColor(clHighlight));
    EXPECT_EQ(g->SelectionTextColor(), TColor(clHighlightText));
    EXPECT_EQ(g->SelectionStyle(), ssDefault);
    EXPECT_EQ(g->SortSettings()->HeaderColor(), TColor(clNone));
    EXPECT_EQ(cl->Color(), TColor(0));
    EXPECT_EQ(cl->FixedGradientHoverFrom(), TColor(0x808080));
    EXPECT_EQ(cl->FixedGradientHoverMirrorFrom(), TColor(clNone));
    EXPECT_EQ(g->HoverGradient().MirrorFrom, TColor(clNone));
    // Only the hover colour handed on through the setter stays with the grid.
    EXPECT_EQ(g->HoverGradient().From, TColor(clRed));
}

TEST(Styles, ComponentStyleLeavesTheMetroScrollType)
{
    auto g = MakeGrid();
    g->SetScrollType(ssMetro);
    g->SetComponentStyle(tsCustom);
    EXPECT_EQ(g->ScrollType(), ssMetro);
    g->SetComponentStyle(tsWhidbey);
    EXPECT_EQ(g->ScrollType(), ssNormal);
}

TEST(Styles, ColorTonesMakeAFlatGlyphLook)
{
    auto g = MakeGrid();
    TColorTones t;
    t.Background = {0xFFFFFF, 0xDDDDDD, 0x111111};
    t.Foreground = {0xC8C8C8, 0xAAAAAA, 0x222222};
    t.Selected = {0x00AA00, 0x008800, 0xFFFFFF};
    t.Hover = {0x00CC00, 0x00BB00, 0x000000};
    g->SetColorTones(t);
    EXPECT_EQ(g->Look(), glClassic);
    EXPECT_TRUE(g->Flat());
    EXPECT_EQ(g->ScrollType(), ssMetro);
    EXPECT_EQ(g->FixedColor(), TColor(0xC8C8C8));
    EXPECT_EQ(g->FixedFont()->Color(), TColor(0x222222));
    EXPECT_EQ(g->Font()->Name(), DefaultFontName());
    EXPECT_EQ(g->Color(), TColor(0xFFFFFF));
    EXPECT_EQ(g->SelectionColor(), TColor(0x00AA00));
    EXPECT_EQ(g->SelectionTextColor(), TColor(0xFFFFFF));
    EXPECT_EQ(g->GridLineColor(), TColor(0xE6E6E6));
    // 200 less 20 % is 160.
    EXPECT_EQ(g->GridFixedLineColor(), TColor(0xA0A0A0));
    EXPECT_EQ(g->BorderStyle(), bsNone);
    EXPECT_EQ(g->ControlLook()->ControlStyle(), csGlyph);
    EXPECT_FALSE(g->ControlLook()->CheckedGlyph()->Empty());
    EXPECT_FALSE(g->ControlLook()->RadioOnGlyph()->Empty());
    EXPECT_TRUE(g->ControlLook()->FlatButton());
    EXPECT_EQ(g->FloatingFooter()->Color(), TColor(0xC8C8C8));
    EXPECT_EQ(g->SearchFooter()->ColorTo(), TColor(0xC8C8C8));
    EXPECT_EQ(g->CellNode()->NodeType(), cnFlat);
    const TGridCombo* b = g->EditComboControl();
    EXPECT_EQ((std::array{b->ButtonColor(), b->ButtonColorHot(), b->ButtonColorDown(), b->ButtonBorderColor()}),
              (std::array<TColor, 4>{0xFFFFFF, 0x00CC00, 0x00AA00, 0xDDDDDD}));
    EXPECT_TRUE(b->Flat());
}

TEST(Styles, ThemesSetTheFixedGradient)
{
    const TColor BtnFace = BtnFaceRGB();
    struct Case {
        TXPColorScheme Scheme;
        TColor From, To, MirrorFrom, Active, FooterTo, ControlFrom;
    } cases[] = {
        {xpBlue, 0xFCE1CB, 0xE0A57D, clNone, 0x94E6FB, 0xE0A57D, 0xFCE1CB},
        {xpGreen, 0xCFF0EA, 0x8CC0B1, clNone, 0x94E6FB, 0x8CC0B1, 0xCFF0EA},
        {xpGray, 0xECE2E1, 0xB39698, clNone, 0x94E6FB, 0xB39698, 0xECE2E1},
        {vistaAero, 0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0x94E6FB, 0xB39698, 0xFFFFFF},
        {xpNone, 0xFFFFFF, clBtnFace, clNone, 0xFFFFFF, 0xFFD9B3, clNone},
    };
    for (const auto& c : cases) {
        auto g = MakeGrid();
        g->SetTheme(c.Scheme);
        EXPECT_EQ((std::array{g->ProGradFrom(), g->ProGradTo(), g->ProGradMirrorFrom(), g->ActiveCellColor(),
                              g->SearchFooter()->ColorTo(), g->ControlLook()->FixedGradientFrom()}),
                  (std::array{c.From, c.To, c.MirrorFrom, c.Active, c.FooterTo, c.ControlFrom}))
            << int(c.Scheme);
    }
}

TEST(Styles, LookNames)
{
    const char* names[][2] = {{"glStandard", "Standard"}, {"glSoft", "Soft"},          {"glClassic", "Classic"},
                              {"glZUZ", "ZUZ"},           {"glXP", "Windows XP"},      {"glListView", "ListView"},
                              {"glVista", "Windows Vista"}, {"glWin7", "Windows 7"}, {"glOffice2007", "Office2007"}};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(TProStringGrid::LookToString(TGridLook(i)), QLatin1String(names[i][0]));
        EXPECT_EQ(TProStringGrid::LookToDisplayName(TGridLook(i)), QLatin1String(names[i][1]));
    }
    EXPECT_TRUE(TProStringGrid::LookToString(glCustom).isEmpty());
}

TEST(Styles, OfficeThemeIsFollowedOnce)
{
    QTemporaryDir dir;
    QSettings store(dir.filePath(QStringLiteral("registry.ini")), QSettings::IniFormat);
    SetRegistryStore(&store);
    TRegistry reg;
    reg.OpenKey(QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common"), true);
    reg.WriteInteger(QStringLiteral("Theme"), 3);
    reg.OpenKey(QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common\\General"), true);
    reg.WriteString(QStringLiteral("Present"), QStringLiteral("1"));
    store.sync();

    auto g = MakeGrid();
    g->UpdateOfficeTheme();
    EXPECT_EQ(g->OldOfficeTheme(), ot2010Black);
    EXPECT_EQ(g->ProGradFrom(), TColor(0x6A6A6A));
    // The same theme again leaves the grid's own changes alone.
    g->SetZUZGradientFrom(clRed);
    g->UpdateOfficeTheme();
    EXPECT_EQ(g->ProGradFrom(), TColor(clRed));
    SetRegistryStore(nullptr);
}

TEST(Looks, ChangingTheLookRepaintsTheShownGrid)
{
    auto g = MakeGrid();
    QApplication::setActiveWindow(g.get());
    g->setFocus();
    QTest::qWaitForWindowExposed(g.get());
    QApplication::processEvents();
    PaintCounter counter;
    g->viewport()->installEventFilter(&counter);
    const TRect header = g->CellRect(2, 0);
    g->SetComponentStyle(tsOffice2010Black);
    QApplication::processEvents();
    EXPECT_GT(counter.Paints, 0);
    const QImage img = Shot(g->viewport());
    EXPECT_EQ(At(img, header.Left + 20, header.Top + 5), TColor(0x6A6A6A));
    // A click still lands on the newly styled grid: the current cell follows it.
    const TRect cell = g->CellRect(1, 1);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, QPoint(cell.Left + 5, cell.Top + 5));
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
}
