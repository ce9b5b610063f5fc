#include "platform/core/exception.h"
#include "platform/core/file_io.h"
#include "platform/core/paths.h"
#include "platform/core/xml.h"
#include "support/full_disk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <functional>
#include <memory>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QStringList FilesIn(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

TEST(SaveFileAtomic, WritesWholeAndReplaces)
{
    QTemporaryDir dir;
    const QString p = PathJoin(dir.path(), QStringLiteral("a.bin"));
    SaveFileAtomic(p, QByteArray("first content"));
    SaveFileAtomic(p, QByteArray("second"));
    QByteArray back;
    ASSERT_TRUE(ReadWholeFile(p, back));
    EXPECT_EQ(back, QByteArray("second"));
    // nothing but the target is left in the folder
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.bin")});
}

TEST(SaveFileAtomic, FailureRaisesAndLeavesNothing)
{
    QTemporaryDir dir;
    // a target that is a folder, and a parent that does not exist
    const QString folder = PathJoin(dir.path(), QStringLiteral("sub"));
    QDir().mkdir(folder);
    EXPECT_THROW(SaveFileAtomic(folder, QByteArray("x")), EInOutError);
    const QString missing = PathJoin(dir.path(), QStringLiteral("nope/a.bin"));
    QString err;
    EXPECT_FALSE(TrySaveFileAtomic(missing, QByteArray("x"), &err));
    EXPECT_TRUE(err.contains(missing));
    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST(SaveFileAtomic, KeepsModeAndReplacesTheFileALinkNames)
{
    QTemporaryDir dir;
    const QString p = PathJoin(dir.path(), QStringLiteral("a.bin"));
    SaveFileAtomic(p, QByteArray("old"));
    ASSERT_TRUE(QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QString link = PathJoin(dir.path(), QStringLiteral("link.bin"));
    ASSERT_TRUE(QFile::link(p, link));
    SaveFileAtomic(link, QByteArray("new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    QByteArray back;
    ASSERT_TRUE(ReadWholeFile(p, back));
    EXPECT_EQ(back, QByteArray("new"));
    const QFile::Permissions modeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                                        QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(p) & modeBits, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}

// A disk that fills up: the save fails with the platform's text and the old file stays.
TEST(SaveFileAtomic, FullDiskFailsAndKeepsTheOldFile)
{
    const int devFull = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    struct Case {
        const char* Name;
        TFileWriteHook Hook;
    };
    const Case cases[] = {
        {"nothing fits", FullDiskWrite},
        {"full after a part",
         [](int fd, const void* data, size_t size) -> ssize_t {
             if (size > 100) return ::write(fd, data, 100);
             errno = ENOSPC;
             return -1;
         }},
        {"/dev/full", [devFull](int, const void* data, size_t size) { return ::write(devFull, data, size); }},
    };
    const QByteArray big(5000, 'x');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        if (QByteArray(c.Name) == "/dev/full" && devFull < 0) continue;
        QTemporaryDir dir;
        const QString p = PathJoin(dir.path(), QStringLiteral("Fabricat.xml"));
        SaveFileAtomic(p, QByteArray("<Conf_Settings/>"));
        ScopedWriteHook full(c.Hook);
        try {
            SaveFileAtomic(p, big);
            ADD_FAILURE() << "the save reported success";
        } catch (const EInOutError& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("No space left on device"))) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains(p));
        }
        QString err;
        EXPECT_FALSE(TrySaveFileAtomic(p, big, &err));
        EXPECT_TRUE(err.contains(QStringLiteral("No space left on device")));
        QByteArray back;
        ASSERT_TRUE(ReadWholeFile(p, back));
        EXPECT_EQ(back, QByteArray("<Conf_Settings/>"));
        EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Fabricat.xml")});
    }
    if (devFull >= 0) ::close(devFull);
}

// The message names the target and the step that failed, then the platform's reason.
TEST(SaveFileAtomic, TheMessageNamesWhatFailed)
{
    QTemporaryDir dir;
    const QString folder = PathJoin(dir.path(), QStringLiteral("sub"));
    QDir().mkdir(folder);
    const QString missing = PathJoin(dir.path(), QStringLiteral("nope/a.bin"));
    const QString target = PathJoin(dir.path(), QStringLiteral("a.bin"));
    struct Case {
        QString Path;
        bool FullDisk;
        QString Message;
    } cases[] = {
        {folder, false, QStringLiteral("Cannot write file \"%1\": a folder stands in its place. Is a directory").arg(folder)},
        {missing, false,
         QStringLiteral("Cannot write file \"%1\": its temporary file cannot be created. No such file or directory").arg(missing)},
        {target, true, QStringLiteral("Cannot write file \"%1\": writing its content failed. No space left on device").arg(target)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Path.toStdString());
        std::unique_ptr<ScopedWriteHook> full;
        if (c.FullDisk) full = std::make_unique<ScopedWriteHook>();
        QString err;
        EXPECT_FALSE(TrySaveFileAtomic(c.Path, QByteArray("x"), &err));
        EXPECT_EQ(err, c.Message);
    }
}

// Files of a set are all prepared before any of them replaces its target.
TEST(AtomicFile, SetOfFilesChangesOnlyWhenAllAreWritten)
{
    QTemporaryDir dir;
    const QString a = PathJoin(dir.path(), QStringLiteral("bank1.bin")), b = PathJoin(dir.path(), QStringLiteral("bank2.bin"));
    SaveFileAtomic(a, QByteArray("a1"));
    SaveFileAtomic(b, QByteArray("b1"));
    {
        TAtomicFile fa(a), fb(b);
        fa.Write(QByteArray("a2"));
        fa.Finish();
        ScopedWriteHook fullDisk;
        EXPECT_THROW(fb.Write(QByteArray("b2")), EInOutError);
    }
    QByteArray back;
    ASSERT_TRUE(ReadWholeFile(a, back));
    EXPECT_EQ(back, QByteArray("a1"));
    EXPECT_EQ(FilesIn(dir), (QStringList{QStringLiteral("bank1.bin"), QStringLiteral("bank2.bin")}));
    {
        TAtomicFile fa(a), fb(b);
        fa.Write(QByteArray("a3"));
        fb.Write(QByteArray("b3"));
        fa.Finish();
        fb.Finish();
        fa.Commit();
        fb.Commit();
    }
    ASSERT_TRUE(ReadWholeFile(b, back));
    EXPECT_EQ(back, QByteArray("b3"));
}

// Temporary files left by a writer that was killed before its rename go at the next save
// of their target; anything else, and the file of a writer still at work, stays.
TEST(AtomicFile, NextSaveRemovesStaleTemporaryFiles)
{
    QTemporaryDir dir;
    const QString p = PathJoin(dir.path(), QStringLiteral("Fabricat.xml"));
    const QStringList kept = {"Fabricat.xml.backup", "Fabricat.xml.tmp-12345", "Fabricat.xml.tmp-1234567",
                              "Fabricat.xml.tmp-ab_cde", "Other.xml.tmp-Ab12Cd"};
    const QStringList stale = {"Fabricat.xml.tmp-Ab12Cd", "Fabricat.xml.tmp-zzzzzz"};
    for (const QString& n : kept + stale) SaveFileAtomic(PathJoin(dir.path(), n), QByteArray("x"));
    TAtomicFile running(p);
    running.Write(QByteArray("from the writer at work"));
    SaveFileAtomic(p, QByteArray("saved"));
    for (const QString& n : stale) EXPECT_FALSE(QFile::exists(PathJoin(dir.path(), n))) << n.toStdString();
    for (const QString& n : kept) EXPECT_TRUE(QFile::exists(PathJoin(dir.path(), n))) << n.toStdString();
    EXPECT_TRUE(QFile::exists(running.TempPath()));
    running.Commit();
    QByteArray back;
    ASSERT_TRUE(ReadWholeFile(p, back));
    EXPECT_EQ(back, QByteArray("from the writer at work"));
}

TEST(ReadRegularFile, TakesOnlyRegularFilesUpToTheCap)
{
    QTemporaryDir dir;
    auto path = [&](const char* name) { return PathJoin(dir.path(), QString::fromLatin1(name)); };
    {
        QFile f(path("small"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("0123456789");
    }
    QFile(path("small")).copy(path("sparse"));
    ASSERT_TRUE(QFile(path("sparse")).resize(1024 * 1024 + 1));  // one byte beyond 1 MB, never written
    {
        QFile f(path("empty"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path("small"), path("link")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path("zero-link")));
    struct Case {
        const char* Name;
        QString Path;
        qint64 Cap;
        TFileCheck Check;
        QByteArray Data;  // on Ok
    };
    const Case cases[] = {
        {"a small file", path("small"), 100, TFileCheck::Ok, "0123456789"},
        {"exactly the cap", path("small"), 10, TFileCheck::Ok, "0123456789"},
        {"one byte beyond the cap", path("small"), 9, TFileCheck::TooLarge, {}},
        {"a sparse file beyond the cap", path("sparse"), 1024 * 1024, TFileCheck::TooLarge, {}},
        {"an empty file", path("empty"), 100, TFileCheck::Ok, ""},
        {"a link to a file", path("link"), 100, TFileCheck::Ok, "0123456789"},
        {"a FIFO without a writer", path("fifo"), 100, TFileCheck::NotRegular, {}},
        {"an endless device", QStringLiteral("/dev/zero"), MaxReadFileSize, TFileCheck::NotRegular, {}},
        {"a link to a device", path("zero-link"), MaxReadFileSize, TFileCheck::NotRegular, {}},
        {"a folder", dir.path(), 100, TFileCheck::NotRegular, {}},
        {"a missing file", path("none"), 100, TFileCheck::Unreadable, {}},
        {"no name", QString(), 100, TFileCheck::Unreadable, {}},
    };
    for (const Case& c : cases) {
        QByteArray data("untouched");
        EXPECT_EQ(ReadRegularFile(c.Path, c.Cap, data), c.Check) << c.Name;
        EXPECT_EQ(data, c.Check == TFileCheck::Ok ? c.Data : QByteArray("untouched")) << c.Name;
        // the check without opening agrees
        EXPECT_EQ(CheckRegularFile(c.Path, c.Cap), c.Check) << c.Name;
    }
    EXPECT_EQ(FileCheckText(TFileCheck::TooLarge, 1024 * 1024), "it is larger than 1 MB");
    EXPECT_EQ(FileCheckText(TFileCheck::TooLarge, 1000), "it is larger than 1000 bytes");
    EXPECT_EQ(FileCheckText(TFileCheck::NotRegular, 1), "it is not a regular file");
    EXPECT_TRUE(IsRegularFile(path("sparse")));
    EXPECT_FALSE(IsRegularFile(path("fifo")));
    QByteArray whole;
    EXPECT_FALSE(ReadWholeFile(QStringLiteral("/dev/zero"), whole));
}

TEST(ReadRegularFile, ReadsFilesThatReportNoSize)
{
    // files of /proc report the size 0 and still hold text
    QByteArray data;
    ASSERT_EQ(ReadRegularFile(QStringLiteral("/proc/self/status"), 1024 * 1024, data), TFileCheck::Ok);
    EXPECT_TRUE(data.startsWith("Name:"));
    EXPECT_EQ(ReadRegularFile(QStringLiteral("/proc/self/status"), 8, data), TFileCheck::TooLarge);
    EXPECT_TRUE(data.startsWith("Name:"));
}

TEST(Xml, FirstNodeIsTheRootWhateverItIs)
{
    pugi::xml_document doc;
    ASSERT_TRUE(XmlLoadString(doc, QStringLiteral("<Other><a><b>x</b></a></Other>")));
    QString t;
    EXPECT_TRUE(XmlTryText(XmlChild(XmlChild(XmlRoot(doc), "a"), "b"), t));
    EXPECT_EQ(t, QStringLiteral("x"));

    ASSERT_TRUE(XmlLoadString(doc, QStringLiteral("<!-- note --><Root><a>1</a></Root>")));
    EXPECT_EQ(XmlRoot(doc).type(), pugi::node_comment);
    EXPECT_FALSE(XmlTryText(XmlChild(XmlRoot(doc), "a"), t));

    // an element with element children has no plain text
    ASSERT_TRUE(XmlLoadString(doc, QStringLiteral("<R><a><b/></a><e></e></R>")));
    EXPECT_FALSE(XmlTryText(XmlChild(XmlRoot(doc), "a"), t));
    EXPECT_TRUE(XmlTryText(XmlChild(XmlRoot(doc), "e"), t));
    EXPECT_EQ(t, QString());

    EXPECT_FALSE(XmlLoadString(doc, QStringLiteral("<R><a></R>")));
}

TEST(Xml, SavesWithoutDeclarationAndCommentAfterRoot)
{
    pugi::xml_document doc;
    pugi::xml_node root = XmlAddChild(doc, "Root");
    pugi::xml_node row = XmlAddChild(root, "row");
    XmlSetAttr(row, "Name", QStringLiteral("a \"b\" & ü"));
    XmlAddComment(doc, QStringLiteral("SW_VERSION = 1.205"));
    const QByteArray text = XmlToBytes(doc);
    EXPECT_TRUE(text.startsWith("<Root>"));
    EXPECT_TRUE(text.trimmed().endsWith("<!--SW_VERSION = 1.205-->"));

    pugi::xml_document back;
    ASSERT_TRUE(XmlLoadString(back, QString::fromUtf8(text)));
    EXPECT_EQ(XmlAttr(XmlChild(XmlRoot(back), "row"), "Name"), QStringLiteral("a \"b\" & ü"));
    EXPECT_EQ(XmlAttr(XmlChild(XmlRoot(back), "row"), "Missing"), QString());
}

}  // namespace
