#include "grid/base/int_list.h"
#include "support/recording_canvas.h"

#include "platform/core/exception.h"
#include "platform/ui/canvas.h"

#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {
struct ChangeLog {
    std::vector<std::pair<int, int>> calls;
    TImageChangeEvent Handler()
    {
        return [this](TObject*, int c, int r) { calls.emplace_back(c, r); };
    }
};
}

TEST(IntListTest, ChangeEventsCarryTheListsCell)
{
    TIntList list(3, 7);
    ChangeLog log;
    list.OnChange = log.Handler();
    list.Insert(0, 5);
    EXPECT_TRUE(log.calls.empty());
    list.Add(6);
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0], std::make_pair(3, 7));
    list.SetInteger(0, 9);
    list.DeleteValue(42);  // absent: nothing
    EXPECT_EQ(log.calls.size(), 2u);
    list.DeleteValue(9);
    EXPECT_EQ(log.calls.size(), 3u);
    EXPECT_EQ(list.StrValue(), QStringLiteral("6"));
    EXPECT_THROW(list.GetInteger(1), EListError);
}

TEST(IntListTest, StrValueIsCommaText)
{
    TIntList list(0, 0);
    ChangeLog log;
    list.OnChange = log.Handler();
    list.SetStrValue(QStringLiteral("4, 5"));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0], 4);
    EXPECT_EQ(list[1], 5);
    EXPECT_EQ(log.calls.size(), 2u);
    list.Add(-3);
    EXPECT_EQ(list.StrValue(), QStringLiteral("4,5,-3"));
    EXPECT_EQ(TIntList(0, 0).StrValue(), QString());
    // A bad item raises after the good ones before it were added.
    EXPECT_THROW(list.SetStrValue(QStringLiteral("1,x,2")), EConvertError);
    EXPECT_EQ(list.StrValue(), QStringLiteral("1"));
}

TEST(SortIndexListTest, DirectionsAndTextForm)
{
    TSortIndexList list(0, 0);
    list.AddIndex(2, true);
    list.AddIndex(5, false);
    EXPECT_EQ(list.SaveToString(), QStringLiteral("u2;d5"));
    EXPECT_TRUE(list.SortDirections(0));
    EXPECT_FALSE(list.SortDirections(1));
    EXPECT_EQ(list.SortColumns(1), 5);
    EXPECT_EQ(list.FindIndex(5), 1);
    EXPECT_EQ(list.FindIndex(9), -1);
    list.ToggleIndex(5);
    EXPECT_TRUE(list.SortDirections(1));
    list.SetSortDirections(0, false);
    list.SetSortColumns(0, 8);
    EXPECT_EQ(list.SaveToString(), QStringLiteral("d8;u5"));

    list.LoadFromString(QStringLiteral("u2;;d;x7;d12abc"));
    EXPECT_EQ(list.SaveToString(), QStringLiteral("u2;d7;d12"));
    list.LoadFromString(QStringLiteral("U3"));
    EXPECT_EQ(list.SaveToString(), QStringLiteral("d3"));

    TSortIndexList wide(0, 0);
    wide.AddIndex(70000, true);
    EXPECT_EQ(wide.SaveToString(), QStringLiteral("u4464"));
    EXPECT_EQ(TSortIndexList(0, 0).SaveToString(), QString());
}

TEST(FileStringListTest, WritesAndReadsLines)
{
    TFileStringList f;
    f.Write(QStringLiteral("a"));
    f.Write(QStringLiteral("b"));
    f.WriteLn(QStringLiteral("c"));
    f.WriteLn(QStringLiteral("d"));
    ASSERT_EQ(f.size(), 2);
    f.Reset();
    QString line;
    f.ReadLn(line);
    EXPECT_EQ(line, QStringLiteral("abc"));
    f.ReadLn(line);
    EXPECT_EQ(line, QStringLiteral("d"));
    EXPECT_TRUE(f.Eof());
}

TEST(ControlListTest, FindsAndRemovesItemsButNotControls)
{
    TControlList list;
    QWidget a, b;
    list.AddControl(1, 2, &a);
    list.AddControl(3, 4, &b);
    EXPECT_EQ(list.ControlIndex(3, 4), 1);
    EXPECT_EQ(list.ControlIndex(4, 3), -1);
    EXPECT_TRUE(list.HasHandle(&a));
    list.RemoveControl(0);
    EXPECT_FALSE(list.HasHandle(&a));
    EXPECT_EQ(list.GetControl(0)->Control(), &b);
}

TEST(FilePictureTest, ReadsItsSizeOnceAndDrawsFromTheFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("p.png"));
    QImage img(7, 5, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(file));
    TFilePicture pic;
    pic.SetFilename(file);
    EXPECT_EQ(pic.Width(), 7);
    EXPECT_EQ(pic.Height(), 5);
    TFilePicture copy;
    copy.Assign(&pic);
    EXPECT_EQ(copy.Filename(), file);
    EXPECT_EQ(copy.Width(), 7);

    TRecordingCanvas canvas;
    copy.DrawPicture(&canvas, Rect(0, 0, 14, 10));
    EXPECT_EQ(canvas.Ops.size(), 1u);
    TFilePicture empty;
    empty.DrawPicture(&canvas, Rect(0, 0, 14, 10));
    EXPECT_EQ(canvas.Ops.size(), 1u);
}
