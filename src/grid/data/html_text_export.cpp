#include "grid/data/html_text_export.h"

#include "grid/base/html_text.h"

#include <QStringList>

namespace {
// The grid's formatting tags that an export keeps, each with the attributes it may carry.
struct TAllowedTag {
    const char* Name;
    QStringList Attributes;
};
const TAllowedTag* AllowedTag(const QString& Upper)
{
    static const TAllowedTag tags[] = {
        {"B", {}},   {"I", {}},   {"U", {}},  {"S", {}},  {"BR", {}}, {"SUB", {}}, {"SUP", {}}, {"HR", {}},
        {"UL", {}},  {"LI", {}},  {"P", {QStringLiteral("ALIGN")}},
        {"FONT", {QStringLiteral("COLOR"), QStringLiteral("BGCOLOR"), QStringLiteral("SIZE"), QStringLiteral("FACE")}},
        {"A", {QStringLiteral("HREF")}},
    };
    for (const TAllowedTag& t : tags)
        if (Upper == QLatin1String(t.Name)) return &t;
    return nullptr;
}

bool IsEntityAt(const QString& S, qsizetype I)
{
    // &name; &#123; &#x1F;
    qsizetype j = I + 1;
    const qsizetype n = S.size();
    if (j < n && S[j] == u'#') {
        ++j;
        const bool hex = j < n && (S[j] == u'x' || S[j] == u'X');
        if (hex) ++j;
        const qsizetype from = j;
        while (j < n && j - from < 8 && (S[j].isDigit() || (hex && QStringLiteral("abcdefABCDEF").contains(S[j])))) ++j;
        return j > from && j < n && S[j] == u';';
    }
    const qsizetype from = j;
    while (j < n && j - from < 10 && S[j].unicode() < 128 && S[j].isLetterOrNumber()) ++j;
    return j > from && j < n && S[j] == u';';
}

struct TWriter {
    const THtmlExportText& O;
    QString& Out;

    void Text(QChar c)
    {
        switch (c.unicode()) {
        case u'&': Out += QLatin1String("&amp;"); return;
        case u'<': Out += QLatin1String("&lt;"); return;
        case u'>': Out += QLatin1String("&gt;"); return;
        case u'"': Out += QLatin1String("&quot;"); return;
        case u'\r': Out += QLatin1String("<br>"); return;
        case u' ':
            Out += O.NonBreaking ? QLatin1String("&nbsp;") : QLatin1String(" ");
            return;
        default: break;
        }
        if (O.Entities && c.unicode() >= 128) {
            const QString e = EncodeHTMLEntities(QString(c), true);
            Out += e;
            return;
        }
        Out += c;
    }

    // A tag of the text from its "<" to its ">": rebuilt when it is one of the grid's own,
    // else written as text.
    void Tag(const QString& Body)
    {
        QString s = Body.trimmed();
        const bool closing = s.startsWith(u'/');
        if (closing) s = s.mid(1).trimmed();
        if (s.endsWith(u'/')) s.chop(1);
        qsizetype i = 0;
        while (i < s.size() && s[i].unicode() < 128 && s[i].isLetterOrNumber()) ++i;
        const QString name = s.left(i).toUpper();
        const TAllowedTag* tag = name.isEmpty() ? nullptr : AllowedTag(name);
        if (!tag) {
            Text(u'<');
            for (QChar c : Body) Text(c);
            Text(u'>');
            return;
        }
        QString r = QLatin1Char('<') + (closing ? QStringLiteral("/") : QString()) + name;
        // attributes: name = value, the value quoted with " or ' or bare
        while (!closing && i < s.size()) {
            while (i < s.size() && s[i].isSpace()) ++i;
            const qsizetype from = i;
            while (i < s.size() && !s[i].isSpace() && s[i] != u'=') ++i;
            const QString attr = s.mid(from, i - from).toUpper();
            while (i < s.size() && s[i].isSpace()) ++i;
            QString value;
            if (i < s.size() && s[i] == u'=') {
                ++i;
                while (i < s.size() && s[i].isSpace()) ++i;
                if (i < s.size() && (s[i] == u'"' || s[i] == u'\'')) {
                    const QChar q = s[i++];
                    const qsizetype end = s.indexOf(q, i);
                    value = s.mid(i, end < 0 ? -1 : end - i);
                    i = end < 0 ? s.size() : end + 1;
                } else {
                    const qsizetype v = i;
                    while (i < s.size() && !s[i].isSpace()) ++i;
                    value = s.mid(v, i - v);
                }
            }
            if (attr.isEmpty()) {
                if (i == from) ++i;
                continue;
            }
            if (!tag->Attributes.contains(attr)) continue;
            if (attr == QLatin1String("HREF") && !IsExportableURL(DecodeHTMLEntities(value, false))) continue;
            r += QLatin1Char(' ') + attr + QStringLiteral("=\"") + EscapeHtml(value) + QLatin1Char('"');
        }
        Out += r + QLatin1Char('>');
    }
};
}  // namespace

QString EscapeHtml(const QString& S)
{
    QString r;
    r.reserve(S.size() + 8);
    for (QChar c : S) {
        switch (c.unicode()) {
        case u'&': r += QLatin1String("&amp;"); break;
        case u'<': r += QLatin1String("&lt;"); break;
        case u'>': r += QLatin1String("&gt;"); break;
        case u'"': r += QLatin1String("&quot;"); break;
        default: r += c;
        }
    }
    return r;
}

bool IsExportableURL(const QString& S)
{
    static const QLatin1String schemes[] = {QLatin1String("http://"), QLatin1String("https://"),
                                            QLatin1String("ftp://"), QLatin1String("mailto:")};
    bool scheme = false;
    for (const QLatin1String& p : schemes)
        if (S.startsWith(p, Qt::CaseInsensitive) && S.size() > p.size()) scheme = true;
    if (!scheme) return false;
    for (QChar c : S)
        if (c.isSpace() || c.unicode() < 32 || c == u'"' || c == u'<' || c == u'>' || c == u'\'') return false;
    return true;
}

QString CellTextToHtml(const QString& S, const THtmlExportText& O)
{
    QString out;
    AppendCellTextHtml(out, S, O);
    return out;
}

void AppendCellTextHtml(QString& Out, const QString& S, const THtmlExportText& O)
{
    if (O.LinkURLs && !O.Html && IsExportableURL(S)) {
        const bool mail = S.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive);
        QString label = S;
        if (mail) label = S.mid(7);
        else if (!O.FullURL) label = S.mid(S.indexOf(QLatin1String("://")) + 3);
        Out += QStringLiteral("<a href=\"") + EscapeHtml(S) + QStringLiteral("\">") + EscapeHtml(label) +
               QStringLiteral("</a>");
        return;
    }
    // A text of none of the characters the writer changes goes as it is.
    const char16_t* p = reinterpret_cast<const char16_t*>(S.constData());
    const qsizetype n = S.size();
    const char16_t high = O.Entities ? 128 : 0xFFFF;
    bool plain = true;
    for (qsizetype i = 0; i < n && plain; ++i) {
        const char16_t c = p[i];
        plain = c != u'&' && c != u'<' && c != u'>' && c != u'"' && c != u'\r' && !(c == u' ' && O.NonBreaking) &&
                c < high;
    }
    if (plain) {
        Out += S;
        return;
    }
    TWriter w{O, Out};
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = S[i];
        if (O.Html && c == u'<') {
            const qsizetype end = S.indexOf(u'>', i + 1);
            if (end > i) {
                w.Tag(S.mid(i + 1, end - i - 1));
                i = end;
                continue;
            }
        }
        if (O.Html && c == u'&' && IsEntityAt(S, i)) {
            const qsizetype end = S.indexOf(u';', i);
            w.Out += S.mid(i, end - i + 1);
            i = end;
            continue;
        }
        w.Text(c);
    }
}
