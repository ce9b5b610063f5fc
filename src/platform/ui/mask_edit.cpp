#include "platform/ui/mask_edit.h"

#include "platform/core/format_settings.h"

QString TranslateEditMask(const QString& Mask)
{
    if (Mask.isEmpty()) return {};
    QString body = Mask;
    QChar blank = QLatin1Char('_');
    // "mask;save;blank": the save flag has no Qt counterpart, the blank character has
    const QStringList parts = Mask.split(QLatin1Char(';'));
    if (parts.size() >= 2) {
        body = parts[0];
        if (parts.size() >= 3 && !parts[2].isEmpty()) blank = parts[2][0];
    }
    static const QString QtMeta = QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}");
    QString out;
    for (int i = 0; i < body.size(); ++i) {
        const QChar ch = body[i];
        switch (ch.unicode()) {
        case 'L': out += QLatin1Char('A'); break;
        case 'l': out += QLatin1Char('a'); break;
        case 'A': out += QLatin1Char('N'); break;
        case 'a': out += QLatin1Char('n'); break;
        case 'C': out += QLatin1Char('X'); break;
        case 'c': out += QLatin1Char('x'); break;
        case '0': out += QLatin1Char('9'); break;
        case '9': out += QLatin1Char('0'); break;
        case '#': out += QLatin1Char('#'); break;
        case '>': out += QLatin1Char('>'); break;
        case '<':
            if (i + 1 < body.size() && body[i + 1] == QLatin1Char('>')) {
                out += QLatin1Char('!');
                ++i;
            } else {
                out += QLatin1Char('<');
            }
            break;
        case '!': break;   // leading blanks trimmed: nothing to do for Qt
        case ':': out += QLatin1Char('\\') + QString(LocaleTimeSeparator()); break;
        case '/': out += QLatin1Char('\\') + QString(LocaleDateSeparator()); break;
        case '_': out += QLatin1Char(' '); break;
        case '\\':
            if (i + 1 < body.size()) {
                ++i;
                if (QtMeta.contains(body[i])) out += QLatin1Char('\\');
                out += body[i];
            }
            break;
        default:
            if (QtMeta.contains(ch)) out += QLatin1Char('\\');
            out += ch;
        }
    }
    return out + QLatin1Char(';') + blank;
}

TCustomMaskEdit::TCustomMaskEdit(QWidget* AParent) : QLineEdit(AParent) {}

void TCustomMaskEdit::SetEditMask(const QString& v)
{
    FEditMask = v;
    setInputMask(TranslateEditMask(v));
}

int TCustomMaskEdit::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TCustomMaskEdit::SetSel(int Start, int Length)
{
    const int n = text().size();
    Start = std::clamp(Start, 0, n);
    Length = std::clamp(Length, 0, n - Start);
    if (Length > 0) setSelection(Start, Length);
    else {
        deselect();
        setCursorPosition(Start);
    }
}
