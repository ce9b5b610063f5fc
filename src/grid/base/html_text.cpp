#include "grid/base/html_text.h"

#include "grid/base/text_packing.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>
#include <vector>

namespace {

struct TEntity {
    char16_t Char;
    const char* Name;
};

// The accented characters written as entities, in the order they are tried.
constexpr TEntity Entities[] = {
    {u'é', "&eacute;"}, {u'è', "&egrave;"}, {u'ë', "&euml;"},   {u'ê', "&ecirc;"},  {u'ó', "&oacute;"},
    {u'ò', "&ograve;"}, {u'ö', "&ouml;"},   {u'ô', "&ocirc;"},  {u'í', "&iacute;"}, {u'ì', "&igrave;"},
    {u'ï', "&iuml;"},   {u'î', "&icirc;"},  {u'ú', "&uacute;"}, {u'ù', "&ugrave;"}, {u'ü', "&uuml;"},
    {u'û', "&ucirc;"},  {u'á', "&aacute;"}, {u'à', "&agrave;"}, {u'ä', "&auml;"},   {u'â', "&acirc;"},
    {u'É', "&Eacute;"}, {u'È', "&Egrave;"}, {u'Ë', "&Euml;"},   {u'Ê', "&Ecirc;"},  {u'Ó', "&Oacute;"},
    {u'Ò', "&Ograve;"}, {u'Ö', "&Ouml;"},   {u'Ô', "&Ocirc;"},  {u'Í', "&Iacute;"}, {u'Ì', "&Igrave;"},
    {u'Ï', "&Iuml;"},   {u'Î', "&Icirc;"},  {u'Ú', "&Uacute;"}, {u'Ù', "&Ugrave;"}, {u'Ü', "&Uuml;"},
    {u'Û', "&Ucirc;"},  {u'Á', "&Aacute;"}, {u'À', "&Agrave;"}, {u'Ä', "&Auml;"},   {u'Â', "&Acirc;"},
    {u'ç', "&ccedil;"}, {u'Ç', "&Ccedil;"}, {u'ø', "&oslash;"}, {u'Ø', "&Oslash;"}, {u'å', "&aring;"},
    {u'Å', "&Aring;"},  {u'©', "&copy;"},   {u'®', "&reg;"},    {u'€', "&euro;"},   {u'«', "&laquo;"},
    {u'»', "&raquo;"},
};

TColor GHighlightColor = clHighlight;
TColor GHighlightTextColor = clHighlightText;

bool IsURLChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') ||
           QStringView(u"%()-./:@\\_{}").contains(c);
}

// The length of the entity ("&name;" or "&#digits;") that starts at S[From], 0 when none does.
qsizetype EntityLengthAt(QStringView S, qsizetype From)
{
    if (From >= S.size() || S[From] != u'&') return 0;
    qsizetype i = From + 1;
    if (i < S.size() && S[i] == u'#') ++i;
    const qsizetype first = i;
    while (i < S.size() && i - From < 12 && (S[i].isLetterOrNumber())) ++i;
    return i > first && i < S.size() && S[i] == u';' ? i + 1 - From : 0;
}

// Whether [From, To) cuts through an entity of S (lies partly inside one).
bool CutsEntity(QStringView S, qsizetype From, qsizetype To)
{
    const qsizetype back = std::max<qsizetype>(0, From - 12);
    for (qsizetype i = back; i < To; ++i) {
        const qsizetype n = EntityLengthAt(S, i);
        if (n == 0) continue;
        const qsizetype end = i + n;
        const bool overlaps = i < To && end > From;
        if (overlaps && (i < From || end > To)) return true;
        i = end - 1;
    }
    return false;
}

// The value of a control attribute: after Name (with its "=", any case), between the first
// double quote and the next one.
QString ControlAttr(const QString& Tag, QStringView Name)
{
    const qsizetype p = Tag.indexOf(Name, 0, Qt::CaseInsensitive);
    if (p < 0) return {};
    const qsizetype q1 = Tag.indexOf(u'"', p + Name.size());
    if (q1 < 0) return {};
    const qsizetype q2 = Tag.indexOf(u'"', q1 + 1);
    if (q2 < 0) return {};
    return Tag.mid(q1 + 1, q2 - q1 - 1);
}

struct TControlTag {
    qsizetype Start;  // index of "<"
    qsizetype End;    // index after ">" (or the text's end)
    QString Text;
};

std::vector<TControlTag> ControlTags(const QString& HTML)
{
    std::vector<TControlTag> tags;
    qsizetype p = 0;
    while ((p = HTML.indexOf(QLatin1String("<CONTROL"), p, Qt::CaseInsensitive)) >= 0) {
        const qsizetype gt = HTML.indexOf(u'>', p);
        const qsizetype end = gt < 0 ? HTML.size() : gt + 1;
        tags.push_back({p, end, HTML.mid(p, end - p)});
        p = end;
    }
    return tags;
}

const TControlTag* FindControl(const std::vector<TControlTag>& Tags, const QString& ID)
{
    for (const TControlTag& t : Tags)
        if (ControlAttr(t.Text, u"ID=") == ID) return &t;
    return nullptr;
}

// Index in HTML of the N-th character outside tags (from 1); -1 when there is none.
qsizetype VisibleCharAt(const QString& HTML, int N)
{
    int visible = 0;
    for (qsizetype i = 0; i < HTML.size();) {
        if (HTML[i] == u'<') {
            // an unclosed "<" is text, as StripHTMLTags keeps it
            const qsizetype gt = HTML.indexOf(u'>', i);
            if (gt >= 0) {
                i = gt + 1;
                continue;
            }
        }
        if (++visible == N) return i;
        ++i;
    }
    return -1;
}

}  // namespace

// ---- clipboard ------------------------------------------------------------------------------

void BuildClipboardHtml(QString& Fragment)
{
    const int n = int(Fragment.size());
    auto num = [](int v) { return QStringLiteral("%1").arg(v, 8, 10, QLatin1Char('0')); };
    Fragment = QStringLiteral("Version:1.0\r\nStartHTML:") + num(97) + QStringLiteral("\r\nEndHTML:") +
               num(n + 306) + QStringLiteral("\r\nStartFragment:") + num(274) + QStringLiteral("\r\nEndFragment:") +
               num(n + 274) +
               QStringLiteral("\r\n<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"
                              "<html><head><META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\">"
                              "</head><body><!--StartFragment-->") +
               Fragment + QStringLiteral("<!--EndFragment--></body></html>");
}

// ---- links and entities ---------------------------------------------------------------------

bool InsertURLLink(const QString& S, const QString& Prefix, QString& HTML)
{
    if (Prefix.isEmpty() || !S.toUpper().contains(Prefix)) return false;
    HTML = S;
    HTML.replace(u'<', QLatin1String("&lt;")).replace(u'>', QLatin1String("&gt;"));
    const qsizetype start = HTML.toUpper().indexOf(Prefix);
    if (start < 0) return true;
    qsizetype end = start;
    while (end < HTML.size() && IsURLChar(HTML[end])) ++end;
    const QString url = HTML.mid(start, end - start);
    HTML.insert(end, QLatin1String("</a>"));
    HTML.insert(start, QStringLiteral("<a href=\"") + url + QStringLiteral("\">"));
    return true;
}

QString DecodeHTMLEntities(const QString& S, bool Accents)
{
    // One pass: what an entity decodes to is never read again, so "&amp;lt;" stays "&lt;".
    static constexpr std::pair<QStringView, char16_t> Basic[] = {
        {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&amp;", u'&'}, {u"&quot;", u'"'}};
    const QStringView s(S);
    QString r;
    r.reserve(S.size());
    for (qsizetype i = 0; i < s.size();) {
        qsizetype taken = 0;
        if (s[i] == u'&') {
            for (const auto& [name, ch] : Basic)
                if (s.mid(i).startsWith(name, Qt::CaseInsensitive)) {
                    r += QChar(ch);
                    taken = name.size();
                    break;
                }
            if (!taken && Accents)
                for (const TEntity& e : Entities)
                    if (s.mid(i).startsWith(QLatin1String(e.Name))) {
                        r += QChar(e.Char);
                        taken = qsizetype(std::strlen(e.Name));
                        break;
                    }
        }
        if (taken) {
            i += taken;
        } else {
            r += s[i];
            ++i;
        }
    }
    return r;
}

QString EncodeHTMLEntities(const QString& S, bool Accents)
{
    QString r = S;
    r.replace(u'&', QLatin1String("*amp;"));
    r.replace(u'"', QLatin1String("&quot;"));
    r.replace(u'<', QLatin1String("&lt;"));
    r.replace(u'>', QLatin1String("&gt;"));
    if (Accents)
        for (const TEntity& e : Entities) r.replace(QChar(e.Char), QLatin1String(e.Name));
    r.replace(QLatin1String("*amp;"), QLatin1String("&amp;"));
    return r;
}

QString SpacesToNbsp(const QString& S)
{
    QString r = S;
    return r.replace(u' ', QLatin1String("&nbsp;"));
}

QString PasswordMask(const QString& S) { return QString(S.size(), u'*'); }

// ---- plain text -----------------------------------------------------------------------------

QString HtmlToPlainText(const QString& HTML)
{
    QString s = HTML;
    s.replace(QLatin1String("<BR>"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    s.replace(QLatin1String("<HR>"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    QString r;
    r.reserve(s.size());
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype lt = s.indexOf(u'<', i);
        const qsizetype gt = lt < 0 ? -1 : s.indexOf(u'>', lt);
        if (gt < 0) {  // no further tag: the rest is text
            r += QStringView(s).mid(i);
            break;
        }
        r += QStringView(s).mid(i, lt - i);
        i = gt + 1;
    }
    return r;
}

QString StripHTMLTags(const QString& HTML)
{
    QString r;
    r.reserve(HTML.size());
    qsizetype i = 0;
    for (;;) {
        const qsizetype lt = HTML.indexOf(u'<', i);
        const qsizetype gt = lt < 0 ? -1 : HTML.indexOf(u'>', i);
        if (lt < 0 || gt < 0 || gt < lt) {
            // A ">" before the next "<" is text; so is an unclosed "<".
            if (lt >= 0 && gt >= 0 && gt < lt) {
                r += QStringView(HTML).mid(i, gt + 1 - i);
                i = gt + 1;
                continue;
            }
            r += QStringView(HTML).mid(i);
            return r;
        }
        r += QStringView(HTML).mid(i, lt - i);
        i = gt + 1;
    }
}

int VisibleToTextIndex(const QString& HTML, int N)
{
    if (N < 1) return 0;
    int visible = 0;
    qsizetype tagRun = -1;  // start of the tags standing directly before the next character
    qsizetype i = 0;
    while (i < HTML.size()) {
        if (HTML[i] == u'<') {
            if (tagRun < 0) tagRun = i;
            const qsizetype gt = HTML.indexOf(u'>', i);
            i = gt < 0 ? HTML.size() : gt + 1;
            continue;
        }
        if (++visible == N) return int((tagRun >= 0 ? tagRun : i) + 1);
        tagRun = -1;
        ++i;
    }
    return N == visible + 1 ? int(HTML.size() + 1) : 0;
}

int FindTextFrom(const QString& SubStr, const QString& S, int Offset, int& P, bool CaseSensitive)
{
    P = 0;
    if (SubStr.isEmpty() || Offset < 0 || Offset >= S.size()) return 0;
    const qsizetype p = S.indexOf(SubStr, Offset, CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
    P = int(p + 1);
    return P;
}

void HighlightInHTML(const QString& HTML, const QString& Text, const QString& Tag, bool CaseSensitive,
                     QString& Result)
{
    QString html = HTML;
    QString text = Text;
    QString visible = StripHTMLTags(html);
    if (html.contains(text) && (visible.contains(u'<') || visible.contains(u'>'))) {
        visible.replace(u'<', QLatin1String("&lt;")).replace(u'>', QLatin1String("&gt;"));
        html = visible;
        text.replace(u'<', QLatin1String("&lt;")).replace(u'>', QLatin1String("&gt;"));
    }
    if (!text.isEmpty()) {
        const QString open = QLatin1Char('<') + Tag + QLatin1Char('>');
        const QString close = QStringLiteral("</") + Tag + QLatin1Char('>');
        int offset = 0, p = 0;
        while (FindTextFrom(text, visible, offset, p, CaseSensitive) > 0) {
            // A match that cuts through an entity ("amp" in "&amp;") is no text the user sees.
            if (CutsEntity(visible, p - 1, p - 1 + text.size())) {
                offset = p;
                continue;
            }
            // The marks go right around the found characters, inside the tags next to them, so
            // that they never cross a tag of the text or of an earlier mark.
            const qsizetype last = VisibleCharAt(html, p + int(text.size()) - 1);
            const qsizetype first = VisibleCharAt(html, p);
            if (first < 0 || last < 0) break;
            html.insert(last + 1, close);
            html.insert(first, open);
            offset = p + int(text.size()) - 1;
        }
    }
    Result = html;
}

void RemoveHTMLTag(const QString& HTML, const QString& Tag, QString& Result)
{
    Result = HTML;
    Result.remove(QLatin1Char('<') + Tag + QLatin1Char('>'), Qt::CaseInsensitive);
    Result.remove(QStringLiteral("</") + Tag + QLatin1Char('>'), Qt::CaseInsensitive);
    Result.replace(QLatin1String("&lt;"), QLatin1String("<")).replace(QLatin1String("&gt;"), QLatin1String(">"));
}

// ---- colours --------------------------------------------------------------------------------

void SetHTMLHighlightColors(TColor BackColor, TColor TextColor)
{
    GHighlightColor = BackColor;
    GHighlightTextColor = TextColor;
}

TColor HTMLHighlightColor() { return GHighlightColor; }
TColor HTMLHighlightTextColor() { return GHighlightTextColor; }

TColor HTMLColorByName(const QString& Name)
{
    static const struct {
        const char* Name;
        TColor Color;
    } names[] = {
        {"clred", clRed},
        {"clblack", clBlack},
        {"clblue", clBlue},
        {"clgreen", clGreen},
        {"claqua", clAqua},
        {"clyellow", clYellow},
        {"clfuchsia", clFuchsia},
        {"clwhite", clWhite},
        {"cllime", clLime},
        {"clsilver", clSilver},
        {"clgray", clGray},
        {"clolive", clOlive},
        {"clnavy", clNavy},
        {"clpurple", clPurple},
        {"clteal", clTeal},
        {"clmaroon", clMaroon},
        {"clbackground", clBackground},
        {"clactivecaption", clActiveCaption},
        {"clinactivecaption", clInactiveCaption},
        {"clmenu", clMenu},
        {"clwindow", clWindow},
        {"clwindowframe", clWindowFrame},
        {"clmenutext", clMenuText},
        {"clwindowtext", clWindowText},
        {"clcaptiontext", clCaptionText},
        {"clactiveborder", clActiveBorder},
        {"clinactiveborder", clInactiveBorder},
        {"clappworkspace", clAppWorkSpace},
        {"clhighlight", clHighlight},
        {"clhighlighttext", clHighlightText},
        {"clbtnface", clBtnFace},
        {"clbtnshadow", clBtnShadow},
        {"clgraytext", clGrayText},
        {"clbtntext", clBtnText},
        {"clinactivecaptiontext", clInactiveCaptionText},
        {"clbtnhighlight", clBtnHighlight},
        {"cl3ddkshadow", cl3DDkShadow},
        {"cl3dlight", cl3DLight},
        {"clinfotext", clInfoText},
        {"clinfobk", clInfoBk},
    };
    const QString n = Name.toLower();
    for (const auto& e : names)
        if (n == QLatin1String(e.Name)) return e.Color;
    return clBlack;
}

TColor HTMLHexColor(const QString& Value)
{
    const qsizetype hash = Value.indexOf(u'#');
    const QString digits = hash < 0 ? Value : Value.mid(hash + 1);
    auto pair = [&](int i) {
        if (digits.size() < i + 2) return 0;
        bool ok = false;
        const int v = digits.mid(i, 2).toInt(&ok, 16);
        return ok ? v : 0;
    };
    return RGB(pair(0), pair(2), pair(4));
}

// ---- form controls --------------------------------------------------------------------------

void ParseControlTag(const QString& Tag, QString& Type, QString& ID, QString& Value, QString& Width,
                     QString& Height, QString& Prop, QString& MaxLen)
{
    Type = ControlAttr(Tag, u"TYPE=").toUpper();
    ID = ControlAttr(Tag, u"ID=");
    Value = DecodeHTMLEntities(ControlAttr(Tag, u"VALUE="), true);
    Width = ControlAttr(Tag, u"WIDTH=");
    Height = ControlAttr(Tag, u"HEIGHT=");
    Prop = DecodeHTMLEntities(ControlAttr(Tag, u"PROP="), true);
    MaxLen = ControlAttr(Tag, u"MAXLEN=");
}

bool HasControlTag(const QString& HTML) { return HTML.contains(QLatin1String("<CONTROL"), Qt::CaseInsensitive); }

void NextControlID(const QString& HTML, const QString& ID, QString& NextID)
{
    NextID.clear();
    bool passed = ID.isEmpty();
    for (const TControlTag& t : ControlTags(HTML)) {
        const QString id = ControlAttr(t.Text, u"ID=");
        if (!passed) {
            passed = id == ID;
            continue;
        }
        const QString type = ControlAttr(t.Text, u"TYPE=").toUpper();
        if (type != QLatin1String("BUTTON") && type != QLatin1String("CHECK") && type != QLatin1String("RADIO")) {
            NextID = id;
            return;
        }
    }
}

bool GetControlValue(const QString& HTML, const QString& ID, QString& Value)
{
    const auto tags = ControlTags(HTML);
    const TControlTag* t = FindControl(tags, ID);
    if (!t) return false;
    Value = DecodeHTMLEntities(ControlAttr(t->Text, u"VALUE="), true);
    return true;
}

void GetControlProp(const QString& HTML, const QString& ID, QString& Prop)
{
    const auto tags = ControlTags(HTML);
    const TControlTag* t = FindControl(tags, ID);
    Prop = t ? DecodeHTMLEntities(ControlAttr(t->Text, u"PROP="), true) : QString();
}

int GetControlMaxLen(const QString& HTML, const QString& ID)
{
    const auto tags = ControlTags(HTML);
    const TControlTag* t = FindControl(tags, ID);
    return t ? StrToIntPartial(ControlAttr(t->Text, u"MAXLEN=")) : 0;
}

bool SetControlValue(QString& HTML, const QString& ID, const QString& Value)
{
    const auto tags = ControlTags(HTML);
    const TControlTag* t = FindControl(tags, ID);
    if (!t) return false;
    QString type, id, value, width, height, prop, maxLen;
    ParseControlTag(t->Text, type, id, value, width, height, prop, maxLen);
    auto quoted = [](const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); };
    QString tag = QStringLiteral("<CONTROL ID=") + quoted(ID) + QStringLiteral(" VALUE=") +
                  quoted(EncodeHTMLEntities(Value, true)) + QStringLiteral(" WIDTH=") + quoted(width) +
                  QStringLiteral(" TYPE=") + quoted(type);
    // The height is kept: without it the control would shrink to the default on the next edit.
    if (t->Text.contains(QLatin1String("HEIGHT="), Qt::CaseInsensitive))
        tag += QStringLiteral(" HEIGHT=") + quoted(height);
    if (t->Text.contains(QLatin1String("PROP="), Qt::CaseInsensitive))
        tag += QStringLiteral(" PROP=") + quoted(EncodeHTMLEntities(prop, true));
    if (t->Text.contains(QLatin1String("MAXLEN="), Qt::CaseInsensitive))
        tag += QStringLiteral(" MAXLEN=") + quoted(maxLen);
    tag += QLatin1Char('>');
    HTML.replace(t->Start, t->End - t->Start, tag);
    return true;
}

QString ResetRadioControls(const QString& HTML)
{
    QString r = HTML;
    for (const TControlTag& t : ControlTags(HTML))
        if (ControlAttr(t.Text, u"TYPE=").toUpper() == QLatin1String("RADIO"))
            SetControlValue(r, ControlAttr(t.Text, u"ID="), QStringLiteral("FALSE"));
    return r;
}

// ---- search and replace ---------------------------------------------------------------------

int PosNoCase(const QString& SubStr, const QString& S) { return int(S.indexOf(SubStr, 0, Qt::CaseInsensitive) + 1); }

int VarUpperPos(const QString& SubStr, const QString& S, int& P)
{
    P = UpperPos(SubStr, S);
    return P;
}

int TagVarPos(const QString& SubStr, const QString& S, int& P) { return VarPos(SubStr, S, P); }

bool ReplaceFirstNoCase(const QString& SubStr, const QString& NewStr, QString& S)
{
    const qsizetype p = S.indexOf(SubStr, 0, Qt::CaseInsensitive);
    if (p < 0 || SubStr.isEmpty()) return false;
    S.replace(p, SubStr.size(), NewStr);
    return true;
}

int StrToIntPartial(const QString& S)
{
    long long v = 0;
    for (QChar c : S) {
        if (c < u'0' || c > u'9') break;
        v = std::min<long long>(v * 10 + (c.unicode() - u'0'), INT_MAX);
    }
    return int(v);
}
