#pragma once
// Cell texts as HTML for an export: every text is escaped, and of a mini-HTML text only the
// grid's own formatting tags pass, rebuilt with their known attributes quoted and escaped.
// Links go only to http, https, ftp and mailto addresses.
#include <QString>

struct THtmlExportText {
    bool Html = false;          // the text is mini-HTML: its formatting tags pass
    bool Entities = false;      // accented letters as named entities
    bool NonBreaking = false;   // spaces as &nbsp;
    bool LinkURLs = false;      // a text that is one address becomes a link
    bool FullURL = false;       // the link's label keeps the address's scheme
};

// Whether an address may become a link: http, https, ftp or mailto, without blanks.
bool IsExportableURL(const QString& S);
// The text of one table cell; line breaks become <br>.
QString CellTextToHtml(const QString& S, const THtmlExportText& Options);
// The same, appended to Out.
void AppendCellTextHtml(QString& Out, const QString& S, const THtmlExportText& Options);
// Text for an attribute value or an element: & < > " escaped.
QString EscapeHtml(const QString& S);
