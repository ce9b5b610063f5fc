// Printing, picture downloads and the office come from modules loaded on first use: without
// their module (missing, or a file that is no library) each says so as an error and goes on
// once the module is there again.
#include "grid/base/grid_error.h"
#include "grid/base/pictures.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/office_server.h"
#include "platform/core/modules.h"
#include "support/made_grid.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct ModuleGrid : MadeGridFixture<TProStringGrid> {
    ModuleGrid() : MadeGridFixture(3, 4) {}
    void TearDown() override
    {
        SetModuleFolder(QString());
        MadeGridFixture::TearDown();
    }
};

QString ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EProGridError& e) {
        return e.Message();
    }
    return QString();
}

}  // namespace

TEST_F(ModuleGrid, WithoutItsModuleEachServiceRaisesItsErrorAndLaterWorks)
{
    QTemporaryDir missing, broken;
    for (const char* name : {"libfabricat_print.so", "libfabricat_download.so", "libfabricat_office.so"}) {
        QFile f(broken.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\x7f" "ELF", 4) + QByteArray(100, '\xee'));  // a truncated library
    }
    for (const QString& folder : {missing.path(), broken.path()}) {
        SCOPED_TRACE(folder.toStdString());
        SetModuleFolder(folder);
        grid->SetCells(1, 1, QStringLiteral("kept"));
        EXPECT_TRUE(ErrorOf([&] { grid->Print(); }).startsWith(QStringLiteral("Printing is not available: ")));
        EXPECT_TRUE(ErrorOf([&] { grid->PrintWithDialog(); }).startsWith(QStringLiteral("Printing is not available: ")));
        EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("kept"));
        EXPECT_EQ(ErrorOf([] { TOfficeServer office(QStringLiteral("Excel OLE server not found")); }),
                  QStringLiteral("Excel OLE server not found"));

        THTMLPicture p;
        int errors = 0, completes = 0;
        p.OnDownLoadError = [&](TObject*) { ++errors; };
        p.OnDownLoadComplete = [&](TObject*) { ++completes; };
        p.LoadFromURL(QStringLiteral("http://127.0.0.1:9/p.png"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !p.Busy(); }, 5000));
        EXPECT_EQ(errors, 1);
        EXPECT_EQ(completes, 0);
        EXPECT_TRUE(p.Empty());
        EXPECT_TRUE(p.DownloadError().startsWith(QStringLiteral("Picture downloads are not available: ")));
    }
    // the executable's own folder again: a grid that failed once prints now
    SetModuleFolder(QString());
    ASSERT_NE(grid->PrintDevice(), nullptr);
    EXPECT_NE(grid->Printer(), nullptr);
    QString why;
    EXPECT_EQ(ModuleEntry("fabricat_print", "no_such_entry", &why), nullptr);
    EXPECT_TRUE(why.contains(QStringLiteral("no_such_entry")));
}
