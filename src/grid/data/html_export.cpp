// The grid as an HTML table: the string the clipboard copy uses, and HTML files.
#include "grid/base/html_text.h"
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/html_text_export.h"
#include "grid/data/text_io.h"
#include "platform/core/exception.h"
#include "platform/core/file_io.h"
#include "platform/ui/image_list.h"
#include "platform/ui/picture.h"

#include <QClipboard>
#include <QDir>
#include <QTemporaryDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <QDesktopServices>
#include <map>
#include <tuple>
#include <vector>

namespace {
QString HexColor(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return QStringLiteral("%1%2%3")
        .arg(GetRValue(rgb), 2, 16, QLatin1Char('0'))
        .arg(GetGValue(rgb), 2, 16, QLatin1Char('0'))
        .arg(GetBValue(rgb), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString Quoted(int v) { return QLatin1Char('"') + QString::number(v) + QLatin1Char('"'); }
}  // namespace

QString TProStringGrid::CellStyleToCSS(TFont* AFont, TColor ABrushColor, TAlignment HA, TVAlignment VA)
{
    QStringList d;
    if (FHTMLSettings->SaveColor() && ABrushColor != clNone) d << QStringLiteral("background-color: #") + HexColor(ABrushColor);
    if (FHTMLSettings->SaveColor() && AFont->Color() != clNone) d << QStringLiteral("color: #") + HexColor(AFont->Color());
    d << QStringLiteral("font-size:%1pt").arg(AFont->Size());
    if (AFont->Style().Contains(fsItalic)) d << QStringLiteral("font-style: italic");
    if (AFont->Style().Contains(fsBold)) d << QStringLiteral("font-weight: bold");
    d << QStringLiteral("font-family: ") + EscapeHtml(AFont->Name()).remove(u'{').remove(u'}').remove(u';');
    if (HA == taRightJustify) d << QStringLiteral("text-align: right");
    else if (HA == taCenter) d << QStringLiteral("text-align: center");
    switch (VA) {
    case vtaTop: d << QStringLiteral("vertical-align: top"); break;
    case vtaCenter: d << QStringLiteral("vertical-align: middle"); break;
    case vtaBottom: d << QStringLiteral("vertical-align: bottom"); break;
    }
    return d.join(u';');
}

QString TProStringGrid::SaveToHTMLString(const QString& Dir)
{
    THTMLSettings* h = FHTMLSettings.get();
    const int c0 = (FSaveFixedCells || FSaveFixedCols) ? 0 : FixedCols();
    const int r0 = (FSaveFixedCells || FSaveFixedRows) ? 0 : FixedRows();
    const QString crlf = QStringLiteral("\r\n");

    QString prolog;
    if (h->XHTML()) {
        prolog += QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>") + crlf;
        prolog += QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                                 "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">") + crlf;
        prolog += QStringLiteral("<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">") + crlf;
    }
    prolog += h->PrefixTag();

    QStringList lines;
    QString table = QStringLiteral("<TABLE BORDER=%1 CELLSPACING=%2 CELLPADDING=%3 ")
                        .arg(Quoted(h->BorderSize()), Quoted(h->CellSpacing()), Quoted(h->CellPadding()));
    if (!h->Summary().isEmpty()) table += QStringLiteral("SUMMARY=\"") + EscapeHtml(h->Summary()) + QStringLiteral("\" ");
    if (!h->TableStyle().isEmpty()) table += QLatin1Char(' ') + h->TableStyle() + QLatin1Char(' ');
    table += QStringLiteral(" WIDTH=\"%1%\">").arg(h->Width());
    lines << table;

    // A look's class number by the look's parts, so that its declarations are built once.
    using TLook = std::tuple<QString, int, int, TColor, TColor, int, int>;
    std::map<TLook, int> looks;
    std::map<QString, int> classes;
    QStringList classOrder;
    int imageNo = 0;
    bool imagesDirMade = false;
    const QString imagesDir = Dir + QStringLiteral("images");

    // A picture beside the page; its <img> tag, or nothing when there is no picture.
    auto picture = [&](const QImage& img) -> QString {
        if (img.isNull() || !h->ExportImages()) return {};
        if (!imagesDirMade) {
            if (!QDir().mkpath(imagesDir)) throw Exception(QStringLiteral("Cannot create ") + imagesDir);
            imagesDirMade = true;
        }
        const QString path = imagesDir + QStringLiteral("/img%1.jpg").arg(imageNo++);
        QImage rgb = img.convertToFormat(QImage::Format_RGB32);
        if (!rgb.save(path, "JPG")) throw EInOutError(QStringLiteral("Cannot write file ") + path);
        return QStringLiteral("<img src= \"file://") + EscapeHtml(QDir::fromNativeSeparators(path)) + QStringLiteral("\">");
    };
    auto cellImages = [&](int rc, int r, QString& before, QString& after, bool& noText) {
        if (!h->ExportImages()) return;
        TCellGraphic* g = GetCellGraphic(rc, r);
        if (!g) return;
        switch (g->CellType()) {
        case ctBitmap:
            if (auto* b = dynamic_cast<TBitmap*>(g->CellBitmap()); b && !b->Empty()) after = picture(b->Image());
            break;
        case ctPicture:
            if (auto* p = dynamic_cast<TPicture*>(g->CellBitmap()); p && p->Graphic()) after = picture(p->Graphic()->Image());
            break;
        case ctImageList:
            if (FGridImages && g->CellIndex() >= 0 && g->CellIndex() < FGridImages->Count())
                before = picture(FGridImages->Image(g->CellIndex()));
            break;
        case ctDataImage: {
            bool ok = false;
            const int idx = GetGridCell(rc, r).toInt(&ok);
            if (FGridImages && ok && idx >= 0 && idx < FGridImages->Count()) {
                before = picture(FGridImages->Image(idx));
                noText = true;
            }
            break;
        }
        case ctNode: before = QStringLiteral("+"); break;
        default: break;
        }
    };

    const bool header = FixedRows() > 0 && (FSaveFixedCells || FSaveFixedRows);
    std::vector<int> real;
    for (int c = 0; c < ColCount(); ++c) real.push_back(DisplToRealColumn(c));
    auto cellLine = [&](int c, int r, bool headerCell) {
        const int rc = real[size_t(c)];
        if (IsMergedNonBaseCell(rc, r)) return;
        QString attrs;
        const TPoint span = CellSpan(rc, r);
        if (span.X > 0) attrs += QStringLiteral(" COLSPAN=") + Quoted(span.X + 1);
        if (span.Y > 0) attrs += QStringLiteral(" ROWSPAN=") + Quoted(span.Y + 1);

        QString t;
        SaveCell(rc, r, t);
        THtmlExportText o;
        o.Html = CellTextKind(t, true) == 1;
        o.Entities = !headerCell && h->ConvertSpecialChars();
        o.NonBreaking = !headerCell && h->NonBreakingText();
        o.LinkURLs = FURLShow;
        o.FullURL = FURLFull;
        QString content = CellTextToHtml(t, o);
        if (headerCell ? t.isEmpty() : t.trimmed().isEmpty()) content = QStringLiteral("&nbsp;");

        TGridDrawState state;
        TBrush brush;
        TFont font;
        TColor to = clNone, mirror = clNone, mirrorTo = clNone;
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        bool ww = false;
        TCellGradientDirection gd{};
        GetVisualProperties(c, r, state, false, false, true, &brush, to, mirror, mirrorTo, &font, ha, va, ww, gd);
        TColor bk = brush.Color();
        if (headerCell || c < FixedCols() || r < FixedRows()) bk = FixedColor();
        if (!ww) attrs += QStringLiteral(" nowrap");
        TIntList* widths = h->ColWidths();
        if (headerCell && c < widths->Count()) attrs += QStringLiteral(" WIDTH=") + Quoted(widths->GetInteger(c));
        if (!headerCell && !header && c - c0 >= 0 && c - c0 < widths->Count())
            attrs += QStringLiteral(" width=") + Quoted(widths->GetInteger(c - c0));

        const TLook look{font.Name(), font.Size(), int(font.Style().Contains(fsBold)) * 2 + int(font.Style().Contains(fsItalic)),
                         font.Color(), bk, int(ha), int(va)};
        auto lk = looks.find(look);
        if (lk == looks.end()) {
            const QString css = CellStyleToCSS(&font, bk, ha, va);
            auto it = classes.find(css);
            if (it == classes.end()) {
                it = classes.emplace(css, int(classOrder.size())).first;
                classOrder << css;
            }
            lk = looks.emplace(look, it->second).first;
        }
        QString before, after;
        bool noText = false;
        cellImages(rc, r, before, after, noText);
        if (noText) content.clear();
        lines << QStringLiteral("<TD class=\"c%1\"").arg(lk->second) + attrs + QLatin1Char('>') + before + content +
                     after + QStringLiteral("</td>");
    };

    int first = r0;
    if (header) {
        lines << QStringLiteral("<TR>");
        for (int c = c0; c < ColCount(); ++c) cellLine(c, 0, true);
        lines << QStringLiteral("</TR>");
        first = std::max(first, 1);
    }
    imageNo = std::max(imageNo, 1);
    ExportNotification(esExportStart, first);
    for (int r = first; r < RowCount(); ++r) {
        ExportNotification(esExportNewRow, r);
        lines << QStringLiteral("<TR>");
        for (int c = c0; c < ColCount(); ++c) cellLine(c, r, false);
        lines << QStringLiteral("</TR>");
    }
    ExportNotification(esExportDone, -1);
    lines << QStringLiteral("</TABLE>");
    if (!h->SuffixTag().isEmpty()) lines << h->SuffixTag();
    if (h->XHTML()) lines << QStringLiteral("</HTML>");

    QString style = QStringLiteral("<style>") + crlf;
    for (int i = 0; i < classOrder.size(); ++i) style += QStringLiteral(".c%1 {").arg(i) + classOrder[i] + QLatin1Char('}') + crlf;
    style += QStringLiteral("</style>") + crlf;
    return prolog + style + lines.join(crlf);
}

void TProStringGrid::SaveToHTML(const QString& FileName, bool Show, bool Unicode)
{
    WriteHTMLFile(FileName, false, Unicode, Show);
}

void TProStringGrid::AppendToHTML(const QString& FileName, bool Show, bool Unicode)
{
    WriteHTMLFile(FileName, true, Unicode, Show);
}

void TProStringGrid::WriteHTMLFile(const QString& FileName, bool Append, bool Unicode, bool Show)
{
    THTMLSettings* h = FHTMLSettings.get();
    QString text;
    if (Append) {
        QByteArray old;
        if (ReadWholeFile(FileName, old)) text = DecodeText(old);
        if (!text.isEmpty() && !text.endsWith(u'\n')) text += QLatin1String("\r\n");
    }
    auto include = [&text](const QString& name) {
        if (name.isEmpty()) return;
        text += DecodeText(ReadTextFile(name));
        if (!text.endsWith(u'\n')) text += QLatin1String("\r\n");
    };
    include(h->HeaderFile());
    QString dir = QFileInfo(FileName).absolutePath();
    dir.replace(u'\\', u'/');
    if (!dir.endsWith(u'/')) dir += u'/';
    text += SaveToHTMLString(dir) + QLatin1String("\r\n");
    include(h->FooterFile());
    SaveFileAtomic(FileName, EncodeText(text, Unicode ? TTextEncoding::Utf16LE : TTextEncoding::Utf8, true));
    if (Show || h->AutoPreview()) QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(FileName).absoluteFilePath()));
}

void TProStringGrid::CopyToClipBoardAsHTML()
{
    // Qt gives text/html the platform's own clipboard form (the HTML description header on
    // Windows), so the page goes as it is, in UTF-8, and the same text as plain text.
    // Pictures go to a folder of this process alone (created mode 0700 under a random name,
    // removed at exit): a fixed shared name could be planted or owned by another user.
    static QTemporaryDir pictures(QDir::tempPath() + QStringLiteral("/fabricat-html-XXXXXX"));
    if (!pictures.isValid()) throw EInOutError(QStringLiteral("Cannot create ") + pictures.path());
    const QString html = SaveToHTMLString(pictures.path() + QLatin1Char('/'));
    auto* data = new QMimeData;
    data->setHtml(html);
    data->setText(html);
    QGuiApplication::clipboard()->setMimeData(data);
}
