#include "grid/control/grid_unit.h"

#include "grid/base/cell_checker.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/format_settings.h"
#include "platform/ui/messages.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class FocusGrid : public TProStringGrid {
public:
    int moves = 0;
    void MoveFocusWindow() override { ++moves; }
};
}

TEST(GridUnit, StartUpRegistersMessagesAndTheCommonControlsFlag)
{
    InitGridUnit();
    EXPECT_TRUE(GridUnitStarted());
    EXPECT_EQ(GridEditDoneMessage(), RegisterWindowMessage(QStringLiteral("GridEditDone")));
    EXPECT_EQ(DTPShiftFocusMessage(), RegisterWindowMessage(QStringLiteral("DTPShiftFocus")));
    EXPECT_NE(GridEditDoneMessage(), DTPShiftFocusMessage());
    EXPECT_TRUE(ComCtrlOk());
    EXPECT_TRUE(ThemeApiLoaded());
    EXPECT_FALSE(GridCellsClipboardFormat().isEmpty());
}

TEST(GridUnit, FileVersionFromTheFixedFileInformation)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.dll"));
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("no version here");
    f.close();
    EXPECT_EQ(GetFileVersion(plain), -1);
    EXPECT_EQ(GetFileVersion(dir.filePath(QStringLiteral("missing.dll"))), -1);

    // signature, structure version, then the most significant version pair 6.0
    const QString versioned = dir.filePath(QStringLiteral("comctl32.dll"));
    QFile v(versioned);
    ASSERT_TRUE(v.open(QIODevice::WriteOnly));
    v.write(QByteArray("MZ....") + QByteArray::fromHex("BD04EFFE" "00000100" "00000600" "00000000"));
    v.close();
    EXPECT_EQ(GetFileVersion(versioned), 0x00060000);
    EXPECT_GT(GetFileVersion(versioned), 0x00040045);
}

TEST(GridUnit, OnlyWindowMovesReachTheGridShowingItsFocusFrame)
{
    auto* g = CreateGrid<FocusGrid>();
    FocusWindowMoveHook(0x46);  // no grid shows a frame
    EXPECT_EQ(g->moves, 0);
    SetFocusFrameGrid(g);
    FocusWindowMoveHook(0x0F);
    EXPECT_EQ(g->moves, 0);
    FocusWindowMoveHook(0x46);
    FocusWindowMoveHook(0x47);
    EXPECT_EQ(g->moves, 2);
    g->Free();
    EXPECT_EQ(FocusFrameGrid(), nullptr);  // a destroyed grid is forgotten
}

TEST(GridUnit, SeparatorsAreReadAtEveryCall)
{
    TFormatSettings saved = FormatSettings();
    FormatSettings().DecimalSeparator = QLatin1Char(',');
    FormatSettings().TimeSeparator = QLatin1Char('.');
    FormatSettings().ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    EXPECT_EQ(GetDecimalSeparator(), QLatin1Char(','));
    EXPECT_EQ(GetTimeSeparator(), QLatin1Char('.'));
    EXPECT_EQ(GetShortDateFormat(), QStringLiteral("dd.mm.yyyy"));
    FormatSettings() = saved;
}

TEST(CellChecker, BaseReturnsEveryTextUnchanged)
{
    TProStringGridCheck check;
    EXPECT_EQ(check.Correct(1, 2, QStringLiteral("teh")), QStringLiteral("teh"));
    EXPECT_EQ(check.MarkError(1, 2, QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_FALSE(check.UseCorrect());
    EXPECT_FALSE(check.GotoCell());
}
