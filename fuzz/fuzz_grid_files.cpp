// The grid's text readers: CSV (from a stream, as a drop hands it), the grid text format
// (file and stream) and the XML import.  Each input goes to a small grid; a reader that
// refuses its input must leave the grid as it was.
#include "fuzz_target.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/text_io.h"
#include "platform/core/exception.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace {
TProStringGrid* Grid = nullptr;
std::unique_ptr<QTemporaryDir> Dir;

void Make()
{
    Dir = std::make_unique<QTemporaryDir>();
    Grid = CreateGrid<TProStringGrid>();
}

void Drop()
{
    Grid->Free();
    Grid = nullptr;
    Dir.reset();
}

// A small grid with a few texts; the fingerprint of what a refused load must not change.
QString Reset()
{
    Grid->SetColCount(4);
    Grid->SetRowCount(4);
    QString print;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            Grid->SetCells(c, r, QStringLiteral("%1.%2").arg(c).arg(r));
            print += Grid->Cells(c, r) + u'|';
        }
    return print + QString::number(Grid->ColCount()) + u'x' + QString::number(Grid->RowCount());
}

QString Print()
{
    QString print;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) print += Grid->Cells(c, r) + u'|';
    return print + QString::number(Grid->ColCount()) + u'x' + QString::number(Grid->RowCount());
}

QString WriteFile(const char* name, const std::string& input)
{
    const QString path = Dir->filePath(QString::fromLatin1(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(input.data(), qint64(input.size()));
    return path;
}

// Runs one load; a refused input must leave the grid unchanged.
template <class F>
void Load(F load)
{
    const QString before = Reset();
    try {
        load();
    } catch (const Exception&) {
        if (Print() != before) std::abort();
    }
}

const TFuzzRegistration Files({
    {"grid_csv", Make,
     [](const std::string& input) {
         for (QChar d : {QChar(), QChar(u';')}) {
             Grid->SetDelimiter(d);
             Grid->SetJavaCSV(d.isNull());
             Load([&] {
                 QBuffer b;
                 b.setData(input.data(), qsizetype(input.size()));
                 b.open(QIODevice::ReadOnly);
                 Grid->LoadFromCSVStream(b, d.isNull() ? 0 : 50);
             });
         }
         Grid->SetDelimiter(QChar());
         Grid->SetJavaCSV(false);
         Load([&] { Grid->InsertFromCSV(WriteFile("in.csv", input)); });
     },
     [] {
         return std::vector<std::string>{"a,b,c\r\n1,2,3\r\n", "\"x,\"\"y\"\"\nz\";2\r\n;\r\n", "a~b,^\r\n",
                                         "\xEF\xBB\xBFname\tvalue\r\n\xC3\xA9\t1\r\n"};
     },
     Drop},
    {"grid_text", Make,
     [](const std::string& input) {
         Load([&] { Grid->LoadFromFile(WriteFile("grid.txt", input)); });
         Load([&] {
             QBuffer b;
             b.setData(input.data(), qsizetype(input.size()));
             b.open(QIODevice::ReadOnly);
             Grid->LoadFromStream(b);
         });
     },
     [] {
         const std::string stream("3\0,\0" "2\0\r\0\n\0" "c\0w\0 \0" "0\0,\0" "6\0" "4\0\r\0\n\0" "1\0,\0" "1\0,\0" "x\0\r\0\n\0", 36);
         return std::vector<std::string>{"2,2\r\ncw 0,64\r\ncw 1,80\r\n0,0,a\r\n1,1,two\x09\x08lines\r\n", stream};
     },
     Drop},
    {"grid_xml", Make,
     [](const std::string& input) {
         const QString path = WriteFile("in.xml", input);
         Load([&] { Grid->LoadFromXML(path); });
         Load([&] { Grid->LoadFromXML(path, true, true); });
     },
     [] {
         return std::vector<std::string>{
             "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<list>\r\n<rec>\r\n<one>a &amp; b</one>\r\n<FIELD1>x</FIELD1>\r\n"
             "</rec>\r\n</list>\r\n",
             "<list><r a=\"1\" b=\"2\"><c>3</c><d><e>4</e><f/></d></r><r/></list>",
             "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><l><r><n>\xE9</n></r></l>"};
     },
     Drop},
    {"text_encoding", [] {},
     [](const std::string& input) {
         const QByteArray bytes(input.data(), qsizetype(input.size()));
         // what is taken for UTF-8 is UTF-8 in Qt's eyes too (Qt drops a leading mark)
         if (IsMultiByteUtf8(bytes) && !bytes.startsWith("\xEF\xBB\xBF") && QString::fromUtf8(bytes).toUtf8() != bytes)
             std::abort();
         // a file written without Unicode reads back as the text it was given
         const QString text = DecodeText(bytes);
         for (qsizetype i = 0; i < text.size(); ++i) {
             const bool high = text[i].isHighSurrogate(), low = text[i].isLowSurrogate();
             if (high && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
             else if (high || low) return;  // no text of a cell holds half a character
         }
         if (DecodeText(EncodeAnsiFileText(text)) != text) std::abort();
     },
     [] {
         return std::vector<std::string>{"Zo\xC3\xAB,1\r\n", "Zo\xEB,\x80\r\n", "\xC3\xAB\xAB", "\xDC\xA0",
                                         "\xEF\xBB\xBF\xE2\x9C\x93", std::string("\xFF\xFE\x13\x27", 4)};
     }},
});
}  // namespace
