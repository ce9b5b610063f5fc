#include "platform/core/exception.h"
#include "platform/core/file_io.h"
#include "platform/core/paths.h"
#include "platform/core/xml.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

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
