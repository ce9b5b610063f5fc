#pragma once
// Thin helpers over pugixml for the way the program reads and writes its documents:
// the first node of a document is its root whatever its name, children are looked up by
// name among the direct children, and files are saved whole without a declaration.
#include <QString>
#include <pugixml.hpp>
#include <string>

std::string ToUtf8(const QString& s);
inline QString FromUtf8(const char* s) { return QString::fromUtf8(s); }

// Loads a document keeping declarations, comments and processing instructions as nodes.
// Returns false (with a readable reason) when the file cannot be read or is not well formed.
bool XmlLoadFile(pugi::xml_document& doc, const QString& path, QString* error = nullptr);
bool XmlLoadString(pugi::xml_document& doc, const QString& text, QString* error = nullptr);
// Parses `data` in place, without a copy: the document points into it, so `data` must
// outlive the document and stay unchanged.
bool XmlLoadBytesInPlace(pugi::xml_document& doc, QByteArray& data, QString* error = nullptr);

// The document's first child node, whatever kind or name it has.
pugi::xml_node XmlRoot(const pugi::xml_document& doc);
// The first direct child element of that name; a null node when there is none.
pugi::xml_node XmlChild(pugi::xml_node parent, const char* name);
// The text of an element holding only text (or nothing).  False for a null node, a node
// that is not an element, or an element with child elements.
bool XmlTryText(pugi::xml_node node, QString& text);
// An attribute's text; empty when the attribute is absent.
QString XmlAttr(pugi::xml_node node, const char* name);
bool XmlHasAttr(pugi::xml_node node, const char* name);

pugi::xml_node XmlAddChild(pugi::xml_node parent, const char* name);
pugi::xml_node XmlAddTextChild(pugi::xml_node parent, const char* name, const QString& text);
void XmlSetAttr(pugi::xml_node node, const char* name, const QString& value);
// Appends a comment at document level, after the root.
void XmlAddComment(pugi::xml_document& doc, const QString& text);

// The document as text, without a declaration.
QByteArray XmlToBytes(const pugi::xml_document& doc);
// Saves whole through a temporary file; throws EInOutError when it cannot be written.
void XmlSaveFile(const pugi::xml_document& doc, const QString& path);
