#pragma once
// The grid's clipboard text: cells joined by TAB, rows ended by a line break, and fields that
// hold a TAB, a line break or a double quote wrapped in double quotes with their quotes
// doubled, as spreadsheets exchange cells.
#include <QString>
#include <QStringList>
#include <vector>

// A cell text as one clipboard field.  Line breaks inside become LF (spreadsheet style), or
// character 11 with ExcelFormat.
QString ClipboardField(const QString& Text, bool ExcelFormat);

// Rows of fields of a clipboard text.  Lines end at CR LF, LF or CR; a line break that ends
// the text ends the last row and opens none.  A field that starts with a double quote runs to
// its closing quote, line breaks and TABs included, with doubled quotes made single; its line
// breaks and every character 11 become CR LF.  A quote that is never closed is plain text.
std::vector<QStringList> ParseClipboardText(const QString& Text);
