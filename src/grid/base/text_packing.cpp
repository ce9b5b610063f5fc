#include "grid/base/text_packing.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr QChar kCR(u'\r');
constexpr QChar kLF(u'\n');
constexpr QChar kSubNul(u'\x01');
constexpr QChar kSubLF(u'\x08');
constexpr QChar kSubCR(u'\x09');
constexpr QChar kVTab(u'\x0B');
const QString kWideMarker = QStringLiteral("|\\");

// Code pages of a Western European desktop: OEM 850, ANSI 1252.
constexpr const char* kOemCodePage = "IBM850";
constexpr const char* kAnsiCodePage = "windows-1252";
}

QString PackLineBreaks(const QString& S)
{
    if (!S.contains(kCR)) return S;
    QString r = S;
    for (QChar& c : r) {
        if (c == kCR) c = kSubCR;
        else if (c == kLF) c = kSubLF;
        else if (c == QChar(0)) c = kSubNul;
    }
    return r;
}

QString UnpackLineBreaks(const QString& S, bool AllLines)
{
    if (!S.contains(kSubLF)) return S;
    QString r = S;
    for (QChar& c : r) {
        if (c == kSubCR) c = kCR;
        else if (c == kSubLF) c = kLF;
        else if (c == kSubNul) c = QChar(0);
    }
    if (AllLines) return r;
    QString line;
    CutFirstLine(r, false, line);
    return line;
}

void CSVQuoteMultiLine(QString& S)
{
    S.replace(QStringLiteral("\r\n"), QString(kVTab));
    S = QLatin1Char('"') + S + QLatin1Char('"');
}

void VTabToCRLF(QString& S)
{
    if (S.contains(kVTab)) S.replace(kVTab, QStringLiteral("\r\n"));
}

void CRToTilde(QString& S)
{
    S.remove(kLF);
    S.replace(kCR, QLatin1Char('~'));
}

void TildeToCRLF(QString& S)
{
    S.replace(QLatin1Char('~'), QStringLiteral("\r\n"));
    if (S == QStringLiteral("^")) S.clear();
}

QString CRToBackslashN(const QString& S)
{
    QString r = S;
    r.remove(kLF);
    r.replace(kCR, QStringLiteral("\\n"));
    return r;
}

QString BackslashNToCR(const QString& S)
{
    QString r = S;
    r.replace(QStringLiteral("\\n"), QString(kCR));
    return r;
}

void CRLFToLF(QString& S) { S.replace(QStringLiteral("\r\n"), QString(kLF)); }

QString StripCR(const QString& S)
{
    QString r = S;
    r.remove(kCR);
    return r;
}

QString CRToLF(const QString& S)
{
    QString r = S;
    r.replace(kCR, kLF);
    return r;
}

QString CRToBreakTag(const QString& S)
{
    if (!S.contains(kCR)) return S;
    QString r = S;
    r.replace(kCR, QStringLiteral("<br>"));
    return r;
}

QString EscapeDoubleQuotes(const QString& S)
{
    QString r = S;
    r.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return r;
}

QString UndoubleChar(QChar Ch, const QString& S)
{
    if (!S.contains(Ch)) return S;
    QString r;
    r.reserve(S.size());
    for (qsizetype i = 0; i < S.size(); ++i) {
        r.append(S[i]);
        if (S[i] == Ch && i + 1 < S.size() && S[i + 1] == Ch) ++i;
    }
    return r;
}

int SingleCharPos(QChar Ch, const QString& S, int& P)
{
    // An even run of Ch is escaped; the answer is the last Ch of an odd run, or a Ch that
    // ends the text.
    int run = 0;
    const int len = int(S.size());
    P = 0;
    for (int i = 1; i <= len; ++i) {
        if (S[i - 1] == Ch) {
            if (i == len) { P = i; return P; }
            ++run;
        } else if (run % 2 == 1) {
            P = i - 1;
            return P;
        } else {
            run = 0;
        }
    }
    return P;
}

int CountSingleChars(QChar Ch, const QString& S)
{
    QString rest = S;
    int n = 0, p = 0;
    while (SingleCharPos(Ch, rest, p) > 0) {
        ++n;
        rest = rest.mid(p);
    }
    return n;
}

int CountChar(QChar Ch, const QString& S) { return int(S.count(Ch)); }

void TextToOem(QString& S)
{
    QStringEncoder enc(kOemCodePage);
    if (!enc.isValid()) return;
    const QByteArray bytes = enc.encode(S);
    QString r;
    r.reserve(bytes.size());
    for (char b : bytes) r.append(QChar(uchar(b)));
    S = r;
}

void OemToText(QString& S)
{
    // TextToOem keeps one character per byte; characters beyond that range come from
    // elsewhere and are taken in the ANSI code page.
    QStringEncoder ansi(kAnsiCodePage);
    QStringDecoder oem(kOemCodePage);
    if (!ansi.isValid() || !oem.isValid()) return;
    QByteArray bytes;
    bytes.reserve(S.size());
    for (QChar c : S) {
        if (c.unicode() < 256) bytes.append(char(c.unicode()));
        else bytes.append(ansi.encode(QString(c)));
    }
    S = oem.decode(bytes);
}

QString PackWideText(const QString& W)
{
    QString r = kWideMarker;
    r.reserve(2 + 2 * W.size());
    for (QChar c : W) {
        r.append(QChar(c.unicode() >> 8));
        r.append(QChar(c.unicode() & 0xFF));
    }
    return r;
}

QString UnpackWideText(const QString& S)
{
    if (!S.startsWith(kWideMarker)) return S;
    QString r;
    r.reserve((S.size() - 2) / 2);
    for (qsizetype i = 2; i + 1 < S.size(); i += 2)
        r.append(QChar(char16_t(((S[i].unicode() & 0xFF) << 8) | (S[i + 1].unicode() & 0xFF))));
    return r;
}

int WidePos(const QString& SubStr, const QString& S) { return int(S.indexOf(SubStr)) + 1; }

int CellTextKind(const QString& S, bool AllowHTML)
{
    // Asked for every cell a file or the clipboard takes: no copy, one pass for the tags.
    if (S.isEmpty()) return 0;
    const QChar first = S[0];
    if (first == QLatin1Char('=')) return 3;
    if (first == QLatin1Char('|') && S.startsWith(kWideMarker))
        return (S.size() >= 4 && S[2].unicode() == 0 && S[3] == QLatin1Char('=')) ? 3 : 5;
    if (first == QLatin1Char('{') && S.startsWith(QStringLiteral("{\\"))) return 2;
    if (AllowHTML)
        for (qsizetype i = S.indexOf(QLatin1Char('<')); i >= 0 && i + 1 < S.size(); i = S.indexOf(QLatin1Char('<'), i + 1)) {
            const char16_t c = S[i + 1].unicode();
            if (c == u'/' || c == u'B' || c == u'I' || c == u'C') return 1;
        }
    return 0;
}

void CutFirstLine(QString& S, bool KeepRest, QString& Line)
{
    const qsizetype cr = S.indexOf(kCR);
    if (cr < 0) {
        Line = S;
        S.clear();
        return;
    }
    Line = S.left(cr);
    qsizetype from = cr + 1;
    if (from < S.size() && S[from] == kLF) ++from;
    if (KeepRest) S = S.mid(from);
    else S.clear();
}

int CountTextLines(const QString& S, bool MultiLine) { return MultiLine ? 1 + int(S.count(kCR)) : 1; }

void FillChars(QString& S, QChar Ch) { S.fill(Ch); }

QString NextToken(QString& S, const QString& Delimiter)
{
    const qsizetype p = Delimiter.isEmpty() ? -1 : S.indexOf(Delimiter);
    if (p < 0) return QString();
    const QString token = S.left(p);
    S.remove(0, p + 1);
    return token;
}

QString JoinStrings(const QStringList& List) { return List.join(QString()); }

int CharPos(QChar Ch, const QString& S) { return int(S.indexOf(Ch)) + 1; }

int VarCharPos(QChar Ch, const QString& S, int& P)
{
    const int r = CharPos(Ch, S);
    if (r > 0) P = r;
    return r;
}

int VarPos(const QString& SubStr, const QString& S, int& P)
{
    P = int(S.indexOf(SubStr)) + 1;
    return P;
}

int UpperPos(const QString& SubStr, const QString& S) { return int(S.toUpper().indexOf(SubStr)) + 1; }

bool IsURLText(const QString& S) { return S.contains(QStringLiteral("://")) || S.contains(QStringLiteral("mailto:")); }

void StripURLScheme(QString& S)
{
    qsizetype p = S.indexOf(QStringLiteral("://"));
    if (p >= 0) {
        S.remove(0, p + 3);
        return;
    }
    p = S.indexOf(QStringLiteral("mailto:"));
    if (p >= 0) S.remove(0, p + 7);
}

bool IsWordBreakChar(QChar Ch)
{
    return Ch == QLatin1Char(' ') || Ch == QLatin1Char('\'') || Ch == QLatin1Char(',') ||
           Ch == QLatin1Char('-') || Ch == QLatin1Char('.');
}

QString CapitalizeWords(const QString& S)
{
    QString r = S;
    const int len = int(S.size());
    bool startWord = true;
    for (int i = 1; i <= len; ++i) {
        if (IsWordBreakChar(r[i - 1])) {
            startWord = true;
        } else if (startWord) {
            r[i - 1] = S[i - 1].toUpper();
            startWord = false;
        } else {
            r[i - 1] = S[i - 1].toLower();
        }
        // Mc prefixes and the roman numerals II and III at the end keep their capitals.
        if (r.left(i) == QStringLiteral("Mc")) startWord = true;
        else if (i > 2 && r.indexOf(QStringLiteral(" Mc")) + 1 == i - 2) startWord = true;
        else if (i > len - 3 && ((i >= 2 && r.mid(i - 2, 2) == QStringLiteral(" I")) ||
                                 (i >= 3 && r.mid(i - 3, 3) == QStringLiteral(" II"))))
            startWord = true;
    }
    return r;
}
