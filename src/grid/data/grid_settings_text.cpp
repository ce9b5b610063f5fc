#include "grid/data/grid_settings_text.h"
#include "platform/core/exception.h"
#include "platform/core/sysutils.h"
#include <QStringDecoder>
#include <QStringList>

namespace {

struct TColorName {
    TColor Color;
    const char* Name;
};

const TColorName ColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"}, {clMedGray, "clMedGray"},
    {clNone, "clNone"}, {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"}, {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"}, {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"}, {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"}, {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"}, {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"}, {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"}, {clMenuBar, "clMenuBar"},
    // Other names of the same colours, read but never written.
    {clLtGray, "clLtGray"}, {clDkGray, "clDkGray"},
};

}  // namespace

QString ColorToString(TColor Color)
{
    for (const TColorName& n : ColorNames)
        if (n.Color == Color) return QString::fromLatin1(n.Name);
    return QStringLiteral("$%1").arg(uint32_t(Color), 8, 16, QLatin1Char('0')).toUpper();
}

TColor StringToColor(const QString& Text)
{
    for (const TColorName& n : ColorNames)
        if (Text.compare(QLatin1String(n.Name), Qt::CaseInsensitive) == 0) return n.Color;
    // "$" and up to eight hexadecimal digits may give a value above the signed range.
    QString t = Trim(Text);
    if (t.startsWith(QLatin1Char('$')) && t.size() > 1 && t.size() <= 9) {
        bool ok = false;
        const uint32_t v = t.mid(1).toUInt(&ok, 16);
        if (ok) return TColor(v);
    }
    int32_t v = 0;
    if (!TryStrToInt(Text, v)) throw EConvertError(QStringLiteral("'%1' is not a valid colour").arg(Text));
    return v;
}

const QString* TNameValues::Find(const QString& Name) const
{
    for (const TItem& i : FItems)
        if (i.Name.compare(Name, Qt::CaseInsensitive) == 0) return &i.Value;
    return nullptr;
}

TNameValues ReadNameValues(const QByteArray& Bytes)
{
    QByteArray b = Bytes;
    if (b.startsWith("\xEF\xBB\xBF")) b.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(b);
    if (utf8.hasError()) text = QString::fromLatin1(b);
    TNameValues values;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0) values.Add(line.left(eq), line.mid(eq + 1));
    }
    return values;
}
