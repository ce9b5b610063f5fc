// HTML export (escaping, links, style classes, merged cells, the clipboard copy) and the XML
// files (writing in the declared encoding, reading back with the parser's own decoding).
#include "grid/control/pro_string_grid.h"
#include "grid/data/html_text_export.h"
#include "platform/core/exception.h"
#include "support/made_grid.h"
#include "file_bytes.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct ExportGrid : MadeGridFixture<TProStringGrid> {
    ExportGrid() : MadeGridFixture(3, 3) {}
    QTemporaryDir Dir;
    QString File(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }
};
}  // namespace

TEST(HtmlText, EscapesAndLinks)
{
    struct Case {
        const char* Name;
        QString Text;
        bool Html, Links;
        QString Expected;
    };
    const Case cases[] = {
        {"plain text is escaped", "a<script>&\"", false, false, "a&lt;script&gt;&amp;&quot;"},
        {"own tags pass", "<b>x</b><BR><i>y</i>", true, false, "<B>x</B><BR><I>y</I>"},
        {"other tags are text", "<b>x</b><script>alert(1)</script>", true, false,
         "<B>x</B>&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"unknown attributes go, known ones are quoted", "<font color=red onclick=\"x()\">t</font>", true, false,
         "<FONT COLOR=\"red\">t</FONT>"},
        {"a script link loses its address", "<a href=\"javascript:evil()\">t</a>", true, false, "<A>t</A>"},
        {"a web link stays, escaped", "<a href='http://x.org/?a=1&b=2'>t</a>", true, false,
         "<A HREF=\"http://x.org/?a=1&amp;b=2\">t</A>"},
        {"entities of mini-HTML stay", "<b>&amp; &lt;</b> & x", true, false, "<B>&amp; &lt;</B> &amp; x"},
        {"line break", "a\r\nb", false, false, "a<br>\nb"},
        {"http address is linked", "http://x.org/?a=1&b=2", false, true,
         "<a href=\"http://x.org/?a=1&amp;b=2\">x.org/?a=1&amp;b=2</a>"},
        {"mail address", "mailto:me@x.org", false, true, "<a href=\"mailto:me@x.org\">me@x.org</a>"},
        {"javascript is not linked", "javascript://%0Aalert(1)", false, true, "javascript://%0Aalert(1)"},
        {"text around an address is not linked", "see http://x.org", false, true, "see http://x.org"},
    };
    for (const Case& c : cases) {
        THtmlExportText o;
        o.Html = c.Html;
        o.LinkURLs = c.Links;
        EXPECT_EQ(CellTextToHtml(c.Text, o), c.Expected) << c.Name;
    }
    THtmlExportText o;
    o.Entities = true;
    o.NonBreaking = true;
    EXPECT_EQ(CellTextToHtml("\u00e9 \u6f22", o), "&eacute;&nbsp;\u6f22");

    // Texts the writer leaves alone under some options and changes under others; appending
    // keeps what the text is appended to.
    struct Plain {
        QString Text;
        bool Entities, NonBreaking;
        QString Expected;
    };
    const Plain plain[] = {
        {"a b", false, false, "a b"},
        {"a b", false, true, "a&nbsp;b"},
        {"ab", false, true, "ab"},
        {"\u00e9\u20ac", false, false, "\u00e9\u20ac"},
        {"\u00e9x", true, false, "&eacute;x"},
        {"a\tb", true, true, "a\tb"},
        {"", true, true, ""},
    };
    for (const Plain& c : plain) {
        THtmlExportText po;
        po.Entities = c.Entities;
        po.NonBreaking = c.NonBreaking;
        QString out = "<td>";
        AppendCellTextHtml(out, c.Text, po);
        EXPECT_EQ(out, "<td>" + c.Expected) << c.Text.toStdString();
    }
}

TEST_F(ExportGrid, EachCellIsOneLineBetweenItsRowsTags)
{
    grid->HTMLSettings()->SetExportImages(false);
    grid->HTMLSettings()->SetNonBreakingText(true);
    grid->SetCells(1, 1, "a b");
    grid->SetCells(2, 1, "  ");
    grid->SetCells(1, 2, "x&y");
    const QString html = grid->SaveToHTMLString(Dir.path() + "/");
    QStringList lines = html.mid(html.indexOf("<TABLE")).split("\r\n");
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.takeLast(), "</TABLE>");
    lines.removeFirst();
    // three rows of three cells, the fixed ones included; blank cells are a non-breaking space
    ASSERT_EQ(lines.size(), 15) << html.toStdString();
    const QString texts[] = {">&nbsp;</td>", ">&nbsp;</td>",      ">&nbsp;</td>",
                             ">&nbsp;</td>", ">a&nbsp;b</td>",    ">&nbsp;</td>",
                             ">&nbsp;</td>", ">x&amp;y</td>",     ">&nbsp;</td>"};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(lines[r * 5], "<TR>");
        EXPECT_EQ(lines[r * 5 + 4], "</TR>");
        for (int c = 0; c < 3; ++c) {
            const QString& cell = lines[r * 5 + 1 + c];
            EXPECT_TRUE(cell.startsWith("<TD class=\"c") && cell.contains("\" nowrap>")) << cell.toStdString();
            EXPECT_TRUE(cell.endsWith(texts[r * 3 + c])) << cell.toStdString();
        }
    }
}

TEST_F(ExportGrid, TableClassesMergesAndHeaderEscaping)
{
    grid->SetCells(0, 0, "<script>x</script>");
    grid->SetCells(1, 1, "a");
    grid->SetCells(2, 1, "b");
    grid->SetCells(1, 2, "c");
    grid->OnGetAlignment = [](TObject*, int ARow, int ACol, TAlignment& H, TVAlignment&) {
        if (ARow == 2 && ACol == 1) H = taRightJustify;
    };
    grid->HTMLSettings()->SetExportImages(false);
    const QString html = grid->SaveToHTMLString(Dir.path() + "/");
    EXPECT_TRUE(html.contains("&lt;script&gt;x&lt;/script&gt;")) << html.toStdString();
    EXPECT_FALSE(html.contains("<script>"));
    EXPECT_TRUE(html.startsWith("<style>\r\n.c0 {"));
    // (1,1) and (2,1) share a look; (1,2) differs only in alignment
    const qsizetype a = html.indexOf(">a</td>"), b = html.indexOf(">b</td>"), c = html.indexOf(">c</td>");
    ASSERT_GT(a, 0);
    const QString classA = html.mid(html.lastIndexOf("class=", a), 10);
    EXPECT_EQ(classA, html.mid(html.lastIndexOf("class=", b), 10));
    EXPECT_NE(classA, html.mid(html.lastIndexOf("class=", c), 10));
    EXPECT_TRUE(html.contains("text-align: right"));

    grid->MergeCells(1, 1, 2, 2);
    const QString merged = grid->SaveToHTMLString(Dir.path() + "/");
    EXPECT_TRUE(merged.contains("COLSPAN=\"2\" ROWSPAN=\"2\"")) << merged.toStdString();
    EXPECT_FALSE(merged.contains(">b</td>"));
    EXPECT_FALSE(merged.contains(">c</td>"));
}

TEST_F(ExportGrid, PicturesGoBesideThePageAsJpeg)
{
    TBitmap bmp(8, 6);
    grid->SetCells(1, 1, "pic");
    grid->AddBitmap(1, 1, &bmp, false, haLeft, vaTop);
    const QString html = grid->SaveToHTMLString(Dir.path() + "/");
    const QString path = Dir.path() + "/images/img1.jpg";
    EXPECT_TRUE(html.contains(">pic<img src= \"file://" + path + "\"></td>")) << html.toStdString();
    QImage img(path);
    EXPECT_EQ(img.size(), QSize(8, 6));
    grid->HTMLSettings()->SetExportImages(false);
    EXPECT_FALSE(grid->SaveToHTMLString(Dir.path() + "/").contains("<img"));
}

TEST_F(ExportGrid, ClipboardPicturesGoToAFolderOfThisProcessAlone)
{
    TBitmap bmp(8, 6);
    grid->SetCells(1, 1, "pic");
    grid->AddBitmap(1, 1, &bmp, false, haLeft, vaTop);
    grid->CopyToClipBoardAsHTML();
    const QString html = QGuiApplication::clipboard()->mimeData()->html();
    const qsizetype at = html.indexOf("file://");
    ASSERT_GE(at, 0) << html.toStdString();
    const QString path = html.mid(at + 7, html.indexOf('"', at) - at - 7);
    ASSERT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
    // Not the shared "<temp>/images"; a folder under the temporary one that only we may enter.
    const QFileInfo folder(QDir(QFileInfo(path).absolutePath() + "/..").canonicalPath());
    EXPECT_NE(QFileInfo(path).absolutePath(), QDir::tempPath() + "/images");
    EXPECT_EQ(folder.absolutePath(), QDir(QDir::tempPath()).canonicalPath());
    EXPECT_EQ(folder.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::WriteOther | QFile::ExeOther),
              QFile::Permissions());
    EXPECT_FALSE(folder.isSymLink());
    EXPECT_EQ(QImage(path).size(), QSize(8, 6));
}

TEST_F(ExportGrid, HtmlFileIsUtf8AndTheClipboardGetsBothForms)
{
    grid->SetCells(1, 1, "\u00e9\u6f22");
    WriteBytes(File("head.txt"), "<p>top</p>");
    grid->HTMLSettings()->SetHeaderFile(File("head.txt"));
    grid->SaveToHTML(File("t.html"));
    const QByteArray bytes = ReadBytes(File("t.html"));
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF<p>top</p>\r\n<style>"));
    EXPECT_TRUE(bytes.contains("\xC3\xA9\xE6\xBC\xA2"));
    grid->AppendToHTML(File("t.html"));
    EXPECT_EQ(ReadBytes(File("t.html")).count("<TABLE"), 2);

    grid->CopyToClipBoardAsHTML();
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->hasHtml());
    EXPECT_TRUE(m->html().contains("\u00e9\u6f22"));
    EXPECT_TRUE(m->text().contains("<TABLE"));
}

TEST_F(ExportGrid, XmlWritesTheDeclaredEncodingAndReadsBack)
{
    grid->SetCells(0, 0, "a & <b> \"c\"");
    grid->SetCells(1, 0, "\u00e9\u6f22\x01");
    grid->SetCells(2, 0, "x");
    grid->SetRowCount(1);
    grid->SaveToXML(File("u.xml"), "list", "rec", {"one", "two"});
    const QByteArray utf8 = ReadBytes(File("u.xml"));
    EXPECT_EQ(utf8, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<list>\r\n<rec>\r\n"
                    "<one>a &amp; &lt;b&gt; &quot;c&quot;</one>\r\n<two>\xC3\xA9\xE6\xBC\xA2</two>\r\n"
                    "<FIELD2>x</FIELD2>\r\n</rec>\r\n</list>\r\n");
    grid->SetXMLEncoding("ISO-8859-1");
    grid->SaveToXML(File("l.xml"), "list", "rec");
    EXPECT_TRUE(ReadBytes(File("l.xml")).contains("<FIELD1>\xE9&#28450;</FIELD1>"));

    for (const char* name : {"u.xml", "l.xml"}) {
        auto* other = CreateGrid<TProStringGrid>();
        other->SetFixedRows(0);
        other->LoadFromXML(File(name));
        EXPECT_EQ(other->RowCount(), 1) << name;
        EXPECT_EQ(other->ColCount(), 3) << name;
        EXPECT_EQ(other->Cells(0, 0), "a & <b> \"c\"") << name;
        EXPECT_EQ(other->Cells(1, 0), "\u00e9\u6f22") << name;
        other->Free();
    }
}

TEST_F(ExportGrid, XmlReadingTrustsTheParserAndRefusesBadDocuments)
{
    WriteBytes(File("r.xml"), "<list><r><name>&amp;lt;</name><v>1</v><w/></r><r><name>b</name><v>2</v><w/></r></list>");
    grid->LoadFromXML(File("r.xml"), false, true);
    EXPECT_EQ(grid->Cells(0, 0), "name");
    EXPECT_EQ(grid->Cells(1, 0), "v");
    EXPECT_EQ(grid->Cells(0, 1), "&lt;");  // decoded once, by the parser
    EXPECT_EQ(grid->Cells(1, 2), "2");
    EXPECT_EQ(grid->RowCount(), 3);

    grid->SetColCount(3);
    grid->SetCells(2, 2, "keep");
    WriteBytes(File("bad.xml"), "<list>\n<r>\n<a>1</b></r></list>");
    try {
        grid->LoadFromXML(File("bad.xml"));
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().startsWith("XMLDOM Parsing error ")) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().endsWith(" on line 3")) << e.Message().toStdString();
    }
    EXPECT_EQ(grid->Cells(2, 2), "keep");
    EXPECT_THROW(grid->LoadFromXML(File("none.xml")), Exception);

    // very deep nesting is cut off, not followed
    QByteArray deep = "<list><r>";
    for (int i = 0; i < 5000; ++i) deep += "<d><e/>";
    for (int i = 0; i < 5000; ++i) deep += "</d>";
    deep += "</r></list>";
    WriteBytes(File("deep.xml"), deep);
    grid->LoadFromXML(File("deep.xml"), true);
    EXPECT_LE(grid->RowCount(), 200);
}
