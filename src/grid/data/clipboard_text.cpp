#include "grid/data/clipboard_text.h"

namespace {
constexpr char16_t Tab = 9, LF = 10, VT = 11, CR = 13, Quote = u'"';
const QString CRLF = QStringLiteral("\r\n");

// Every line break (CR LF, CR, LF) and character 11 as CR LF.
QString GridLineBreaks(QStringView S)
{
    QString out;
    out.reserve(S.size());
    for (qsizetype i = 0; i < S.size(); ++i) {
        const char16_t c = S[i].unicode();
        if (c == CR) {
            if (i + 1 < S.size() && S[i + 1] == QChar(LF)) ++i;
            out += CRLF;
        } else if (c == LF || c == VT) {
            out += CRLF;
        } else {
            out += S[i];
        }
    }
    return out;
}
}  // namespace

QString ClipboardField(const QString& Text, bool ExcelFormat)
{
    bool special = false;
    for (QChar c : Text) {
        const char16_t u = c.unicode();
        if (u == Tab || u == CR || u == LF || u == Quote || u == VT) {
            special = true;
            break;
        }
    }
    if (!special) return Text;
    QString out;
    out.reserve(Text.size() + 8);
    out += QChar(Quote);
    const QChar lineBreak = ExcelFormat ? QChar(VT) : QChar(LF);
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const char16_t u = Text[i].unicode();
        if (u == CR) {
            if (i + 1 < Text.size() && Text[i + 1] == QChar(LF)) ++i;
            out += lineBreak;
        } else if (u == LF) {
            out += lineBreak;
        } else if (u == Quote) {
            out += QStringLiteral("\"\"");
        } else {
            out += Text[i];
        }
    }
    out += QChar(Quote);
    return out;
}

std::vector<QStringList> ParseClipboardText(const QString& Text)
{
    std::vector<QStringList> rows;
    const qsizetype n = Text.size();
    const QChar* s = Text.constData();
    qsizetype i = 0;
    QStringList row;
    while (i < n) {
        // One field from i.
        QString field;
        bool quoted = false;
        if (s[i] == QChar(Quote)) {
            // Look for the closing quote: a quote not followed by another one.
            qsizetype j = i + 1;
            QString inner;
            bool closed = false;
            while (j < n) {
                if (s[j] == QChar(Quote)) {
                    if (j + 1 < n && s[j + 1] == QChar(Quote)) {
                        inner += QChar(Quote);
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                inner += s[j];
                ++j;
            }
            if (closed) {
                quoted = true;
                field = GridLineBreaks(inner);
                // Whatever stands between the closing quote and the field's end is kept.
                while (j < n && s[j] != QChar(Tab) && s[j] != QChar(CR) && s[j] != QChar(LF)) field += s[j++];
                i = j;
            }
        }
        if (!quoted) {
            qsizetype j = i;
            while (j < n && s[j] != QChar(Tab) && s[j] != QChar(CR) && s[j] != QChar(LF)) ++j;
            field = GridLineBreaks(QStringView(s + i, j - i));
            i = j;
        }
        row << field;
        if (i >= n) break;
        if (s[i] == QChar(Tab)) {
            ++i;
            if (i >= n) row << QString();
            continue;
        }
        // A line break ends the row.
        if (s[i] == QChar(CR) && i + 1 < n && s[i + 1] == QChar(LF)) ++i;
        ++i;
        rows.push_back(std::move(row));
        row = QStringList();
    }
    if (!row.isEmpty()) rows.push_back(std::move(row));
    return rows;
}
