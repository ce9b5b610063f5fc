// The grid's cells as a simple XML document of records and fields, and XML documents read
// back into cells.
#include "grid/control/pro_string_grid.h"
#include "grid/data/text_io.h"
#include "platform/core/exception.h"
#include "platform/core/file_io.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>
#include <pugixml.hpp>
#include <vector>

namespace {
// Nodes nested deeper than this are not walked.
constexpr int kMaxXmlDepth = 64;

bool IsUtf(const QString& Encoding)
{
    const QString e = Encoding.trimmed().toUpper();
    return e == QLatin1String("UTF-8") || e == QLatin1String("UTF8");
}

// The characters XML 1.0 cannot hold are dropped; those the file's encoding cannot hold
// become character references.
class TXmlTextWriter {
public:
    explicit TXmlTextWriter(const QString& Encoding) : FEncoding(Encoding.trimmed())
    {
        FUtf = IsUtf(FEncoding);
        if (!FUtf) {
            FEncoder = QStringEncoder(FEncoding.toLatin1().constData());
            FDecoder = QStringDecoder(FEncoding.toLatin1().constData());
            // an encoding the system does not know is written as UTF-8, and declared so
            if (!FEncoder.isValid() || !FDecoder.isValid()) {
                FUtf = true;
                FEncoding = QStringLiteral("UTF-8");
            }
        }
    }
    const QString& Encoding() const { return FEncoding; }

    void Escaped(QString& Out, const QString& S)
    {
        const qsizetype n = S.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = S[i].unicode();
            switch (c) {
            case u'&': Out += QLatin1String("&amp;"); continue;
            case u'>': Out += QLatin1String("&gt;"); continue;
            case u'<': Out += QLatin1String("&lt;"); continue;
            case u'"': Out += QLatin1String("&quot;"); continue;
            default: break;
            }
            if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') continue;
            if (c == 0xFFFE || c == 0xFFFF) continue;
            char32_t code = c;
            qsizetype len = 1;
            if (QChar::isHighSurrogate(c)) {
                if (i + 1 >= n || !QChar::isLowSurrogate(S[i + 1].unicode())) continue;
                code = QChar::surrogateToUcs4(c, S[i + 1].unicode());
                len = 2;
            } else if (QChar::isLowSurrogate(c)) {
                continue;
            }
            if (code < 0x80 || FUtf || Representable(code)) Out += S.mid(i, len);
            else Out += QStringLiteral("&#%1;").arg(uint(code));
            i += len - 1;
        }
    }

    QByteArray Encode(const QString& S)
    {
        if (FUtf) return S.toUtf8();
        QStringEncoder enc(FEncoding.toLatin1().constData());
        return enc.encode(S);
    }

private:
    bool Representable(char32_t Code)
    {
        const auto it = FKnown.constFind(Code);
        if (it != FKnown.constEnd()) return *it;
        const QString s = QString::fromUcs4(&Code, 1);
        QStringEncoder enc(FEncoding.toLatin1().constData());
        const QByteArray b = enc.encode(s);
        QStringDecoder dec(FEncoding.toLatin1().constData());
        const QString back = dec.decode(b);
        const bool ok = !enc.hasError() && !dec.hasError() && back == s;
        FKnown.insert(Code, ok);
        return ok;
    }
    QString FEncoding;
    bool FUtf = true;
    QStringEncoder FEncoder;
    QStringDecoder FDecoder;
    QHash<char32_t, bool> FKnown;
};

// The text of a node as the document gives it: its own for text, its descendants' for an
// element.
void NodeText(pugi::xml_node Node, QString& Out, int Depth)
{
    if (Node.type() == pugi::node_pcdata || Node.type() == pugi::node_cdata) {
        Out += QString::fromUtf8(Node.value());
        return;
    }
    if (Depth >= kMaxXmlDepth) return;
    for (pugi::xml_node c : Node.children()) NodeText(c, Out, Depth + 1);
}

struct TXmlOp {
    int Col, Row;
    QString Text;
    bool Clear;
};
}  // namespace

void TProStringGrid::SaveToXML(const QString& FileName, const QString& ListDescr, const QString& RecordDescr,
                               const QStringList& FieldDescr, bool ExportEmptyCells)
{
    TXmlTextWriter w(FXMLEncoding);
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\" ?>\r\n<%2>\r\n").arg(w.Encoding(), ListDescr);
    const int c0 = SaveStartCol(), c1 = SaveEndCol() + (FSaveHiddenCells ? NumHiddenColumns() : 0);
    const int r0 = SaveStartRow(), r1 = SaveEndRow();
    QString t;
    ExportRows(r0, r1, std::max(1, r1 - r0), [&](int r) {
        out += QLatin1Char('<') + RecordDescr + QStringLiteral(">\r\n");
        for (int c = c0; c <= c1; ++c) {
            const int rc = FSaveHiddenCells ? c : DisplToRealColumn(c);
            if (IsMergedNonBaseCell(rc, r)) continue;
            SaveCell(rc, r, t);
            if (t.isEmpty() && !ExportEmptyCells) continue;
            if (t.isEmpty() && FQuoteEmptyCells) t = QStringLiteral("\"\"");
            const int i = c - c0;
            const QString tag = i < FieldDescr.size() ? FieldDescr[i] : QStringLiteral("FIELD%1").arg(i);
            out += QLatin1Char('<') + tag + QLatin1Char('>');
            w.Escaped(out, t);
            out += QStringLiteral("</") + tag + QStringLiteral(">\r\n");
        }
        out += QStringLiteral("</") + RecordDescr + QStringLiteral(">\r\n");
    });
    out += QStringLiteral("</") + ListDescr + QStringLiteral(">\r\n");
    SaveFileAtomic(FileName, w.Encode(out));
}

void TProStringGrid::LoadFromXML(const QString& FileName, bool LevelToRow, bool LoadFieldDescr)
{
    if (!QFile::exists(FileName)) throw Exception(QStringLiteral("XML file not found"));
    QByteArray bytes = ReadTextFile(FileName);
    pugi::xml_document doc;
    const pugi::xml_parse_result res = doc.load_buffer(bytes.constData(), size_t(bytes.size()));
    if (!res) {
        const qsizetype at = std::min<qsizetype>(bytes.size(), qsizetype(std::max<ptrdiff_t>(0, res.offset)));
        const int line = 1 + int(QByteArrayView(bytes).first(at).count('\n'));
        throw Exception(QStringLiteral("XMLDOM Parsing error %1 on line %2").arg(int(res.status)).arg(line));
    }

    // The walk writes into a list first; the grid changes only once the document is read.
    const int c0 = SaveStartCol();
    const bool names = FSaveFixedCells || FSaveFixedRows;
    const int r0 = (!names || LoadFieldDescr) ? FixedRows() : 0;
    std::vector<TXmlOp> ops;
    QHash<int, QString> header;  // row 0 as the walk leaves it
    int column = 0, row = 0, level = 1;
    int maxCol = c0, maxRow = r0;
    auto inside = [](qint64 c, qint64 r) { return c >= 0 && r >= 0 && c < MaxLoadCols && r < MaxLoadRows; };
    auto headerEmpty = [&](int c) {
        const auto it = header.constFind(c);
        if (it != header.constEnd()) return it->isEmpty();
        return c >= TotalColCount() || GetGridCell(c, 0).isEmpty();
    };
    auto put = [&](const QString& name, const QString& value, bool withName) {
        const qint64 c = qint64(c0) + column, r = qint64(r0) + row;
        if (inside(c, r)) {
            if (withName && names && headerEmpty(int(c))) {
                ops.push_back({int(c), 0, name, false});
                header.insert(int(c), name);
            }
            ops.push_back({int(c), int(r), value, false});
            if (r == 0) header.insert(int(c), value);
            maxCol = std::max(maxCol, int(c));
            maxRow = std::max(maxRow, int(r));
        }
        ++column;
    };
    std::function<void(pugi::xml_node, int)> walk = [&](pugi::xml_node node, int depth) {
        if (depth > kMaxXmlDepth) return;
        bool advanced = false;
        int attributes = 0;
        for (pugi::xml_attribute a : node.attributes()) {
            put(QString::fromUtf8(a.name()), QString::fromUtf8(a.value()), true);
            ++attributes;
        }
        if (LevelToRow && attributes > 0) {
            ++row;
            column = level;
            advanced = true;
        }
        int children = 0;
        for (pugi::xml_node c = node.first_child(); c && children < 2; c = c.next_sibling()) ++children;
        if (children > 1) {
            if (LevelToRow && !advanced) {
                ++row;
                column = 0;
            }
            ++level;
            for (pugi::xml_node c : node.children()) walk(c, depth + 1);
        } else if (children == 0) {
            const qint64 c = qint64(c0) + column, r = qint64(r0) + row;
            if (inside(c, r)) ops.push_back({int(c), int(r), QString(), true});
            ++column;
        } else {
            QString text;
            NodeText(node, text, depth);
            if (FQuoteEmptyCells && text == QLatin1String("\"\"")) text.clear();
            put(QString::fromUtf8(node.name()), text, LoadFieldDescr);
        }
    };
    const pugi::xml_node root = doc.document_element();
    bool firstRecord = true;
    for (pugi::xml_node record : root.children()) {
        column = 0;
        level = 1;
        if (LevelToRow && firstRecord && !record.first_attribute()) row = -1;
        firstRecord = false;
        walk(record, 1);
        if (!LevelToRow) ++row;
    }

    BeginUpdate();
    SetColCount(maxCol + 1);
    SetRowCount(maxRow + 1);
    for (const TXmlOp& op : ops) {
        if (op.Col >= TotalColCount() || op.Row >= RowCount()) continue;
        if (op.Clear) SetGridCell(op.Col, op.Row, QString());
        else LoadCell(op.Col, op.Row, op.Text);
    }
    EndUpdate();
    CellsChanged({0, 0, ColCount(), RowCount()});
    CellsLoaded();
}
