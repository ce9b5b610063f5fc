#include "platform/core/xml.h"

#include "platform/core/file_io.h"

#include <cstring>
#include <sstream>

namespace {
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi;

bool Check(const pugi::xml_parse_result& r, QString* error)
{
    if (r) return true;
    if (error) *error = QStringLiteral("%1 (offset %2)").arg(QString::fromUtf8(r.description())).arg(r.offset);
    return false;
}
}  // namespace

std::string ToUtf8(const QString& s) { return s.toStdString(); }

bool XmlLoadFile(pugi::xml_document& doc, const QString& path, QString* error)
{
    QByteArray data;
    if (!ReadWholeFile(path, data)) {
        if (error) *error = QStringLiteral("Cannot open file \"%1\"").arg(path);
        doc.reset();
        return false;
    }
    const bool ok = Check(doc.load_buffer(data.constData(), data.size(), kParseOptions), error);
    if (!ok) doc.reset();
    return ok;
}

bool XmlLoadString(pugi::xml_document& doc, const QString& text, QString* error)
{
    const QByteArray data = text.toUtf8();
    const bool ok = Check(doc.load_buffer(data.constData(), data.size(), kParseOptions, pugi::encoding_utf8), error);
    if (!ok) doc.reset();
    return ok;
}

bool XmlLoadBytesInPlace(pugi::xml_document& doc, QByteArray& data, QString* error)
{
    const bool ok = Check(doc.load_buffer_inplace(data.data(), static_cast<size_t>(data.size()), kParseOptions), error);
    if (!ok) doc.reset();
    return ok;
}

pugi::xml_node XmlRoot(const pugi::xml_document& doc) { return doc.first_child(); }

pugi::xml_node XmlChild(pugi::xml_node parent, const char* name)
{
    if (!parent) return {};
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && std::strcmp(c.name(), name) == 0) return c;
    return {};
}

bool XmlTryText(pugi::xml_node node, QString& text)
{
    if (!node || node.type() != pugi::node_element) return false;
    QString t;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element) return false;
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) t += QString::fromUtf8(c.value());
    }
    text = t;
    return true;
}

QString XmlAttr(pugi::xml_node node, const char* name)
{
    if (!node) return QString();
    pugi::xml_attribute a = node.attribute(name);
    return a ? QString::fromUtf8(a.value()) : QString();
}

bool XmlHasAttr(pugi::xml_node node, const char* name) { return node && node.attribute(name); }

pugi::xml_node XmlAddChild(pugi::xml_node parent, const char* name) { return parent.append_child(name); }

pugi::xml_node XmlAddTextChild(pugi::xml_node parent, const char* name, const QString& text)
{
    pugi::xml_node n = parent.append_child(name);
    n.text().set(ToUtf8(text).c_str());
    return n;
}

void XmlSetAttr(pugi::xml_node node, const char* name, const QString& value)
{
    pugi::xml_attribute a = node.attribute(name);
    if (!a) a = node.append_attribute(name);
    a.set_value(ToUtf8(value).c_str());
}

void XmlAddComment(pugi::xml_document& doc, const QString& text)
{
    doc.append_child(pugi::node_comment).set_value(ToUtf8(text).c_str());
}

QByteArray XmlToBytes(const pugi::xml_document& doc)
{
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default | pugi::format_no_declaration, pugi::encoding_utf8);
    const std::string s = out.str();
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

void XmlSaveFile(const pugi::xml_document& doc, const QString& path) { SaveFileAtomic(path, XmlToBytes(doc)); }
