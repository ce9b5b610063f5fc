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
#include <algorithm>
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

// A number's decimal digits appended without a text of their own.
void AppendNumber(QString& Out, int v)
{
    char16_t digits[12];
    int n = 0;
    const bool negative = v < 0;
    unsigned u = negative ? 0u - unsigned(v) : unsigned(v);
    do {
        digits[n++] = char16_t(u'0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (negative) digits[n++] = u'-';
    std::reverse(digits, digits + n);
    Out.append(reinterpret_cast<const QChar*>(digits), n);
}

// Whether a text is empty or white space only, as trimmed() would find it.
bool IsBlank(const QString& S)
{
    for (QChar c : S)
        if (!c.isSpace()) return false;
    return true;
}
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

    QString table = QStringLiteral("<TABLE BORDER=%1 CELLSPACING=%2 CELLPADDING=%3 ")
                        .arg(Quoted(h->BorderSize()), Quoted(h->CellSpacing()), Quoted(h->CellPadding()));
    if (!h->Summary().isEmpty()) table += QStringLiteral("SUMMARY=\"") + EscapeHtml(h->Summary()) + QStringLiteral("\" ");
    if (!h->TableStyle().isEmpty()) table += QLatin1Char(' ') + h->TableStyle() + QLatin1Char(' ');
    table += QStringLiteral(" WIDTH=\"%1%\">").arg(h->Width());

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
    // The lines go into one text as they are made, joined by CRLF.
    QString body = table;
    auto line = [&](QLatin1String Text) {
        body += crlf;
        body += Text;
    };
    auto quoted = [&](int v) {
        body += QLatin1Char('"');
        AppendNumber(body, v);
        body += QLatin1Char('"');
    };
    // Made once: the look query sets every part of them for each cell.
    TBrush brush;
    TFont font;
    const TLook* lastLook = nullptr;
    int lastClass = 0;
    QString t;
    auto cellLine = [&](int c, int r, bool headerCell) {
        const int rc = real[size_t(c)];
        if (IsMergedNonBaseCell(rc, r)) return;
        const TPoint span = CellSpan(rc, r);

        SaveCell(rc, r, t);
        THtmlExportText o;
        o.Html = CellTextKind(t, true) == 1;
        o.Entities = !headerCell && h->ConvertSpecialChars();
        o.NonBreaking = !headerCell && h->NonBreakingText();
        o.LinkURLs = FURLShow;
        o.FullURL = FURLFull;

        TGridDrawState state;
        TColor to = clNone, mirror = clNone, mirrorTo = clNone;
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        bool ww = false;
        TCellGradientDirection gd{};
        GetVisualProperties(c, r, state, false, false, true, &brush, to, mirror, mirrorTo, &font, ha, va, ww, gd);
        TColor bk = brush.Color();
        if (headerCell || c < FixedCols() || r < FixedRows()) bk = FixedColor();

        // A look's class: the last cell's when the look is the same, else found or made.
        const int style = int(font.Style().Contains(fsBold)) * 2 + int(font.Style().Contains(fsItalic));
        if (!lastLook || std::get<1>(*lastLook) != font.Size() || std::get<2>(*lastLook) != style ||
            std::get<3>(*lastLook) != font.Color() || std::get<4>(*lastLook) != bk || std::get<5>(*lastLook) != int(ha) ||
            std::get<6>(*lastLook) != int(va) || std::get<0>(*lastLook) != font.Name()) {
            const TLook look{font.Name(), font.Size(), style, font.Color(), bk, int(ha), int(va)};
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
            lastLook = &lk->first;
            lastClass = lk->second;
        }

        body += crlf;
        body += QLatin1String("<TD class=\"c");
        AppendNumber(body, lastClass);
        body += QLatin1Char('"');
        if (span.X > 0) {
            body += QLatin1String(" COLSPAN=");
            quoted(span.X + 1);
        }
        if (span.Y > 0) {
            body += QLatin1String(" ROWSPAN=");
            quoted(span.Y + 1);
        }
        if (!ww) body += QLatin1String(" nowrap");
        TIntList* widths = h->ColWidths();
        if (headerCell && c < widths->Count()) {
            body += QLatin1String(" WIDTH=");
            quoted(widths->GetInteger(c));
        }
        if (!headerCell && !header && c - c0 >= 0 && c - c0 < widths->Count()) {
            body += QLatin1String(" width=");
            quoted(widths->GetInteger(c - c0));
        }
        body += QLatin1Char('>');

        QString before, after;
        bool noText = false;
        cellImages(rc, r, before, after, noText);
        body += before;
        if (noText) {
        } else if (headerCell ? t.isEmpty() : IsBlank(t)) {
            body += QLatin1String("&nbsp;");
        } else {
            AppendCellTextHtml(body, t, o);
        }
        body += after;
        body += QLatin1String("</td>");
    };

    int first = r0;
    if (header) {
        line(QLatin1String("<TR>"));
        for (int c = c0; c < ColCount(); ++c) cellLine(c, 0, true);
        line(QLatin1String("</TR>"));
        first = std::max(first, 1);
    }
    imageNo = std::max(imageNo, 1);
    ExportNotification(esExportStart, first);
    for (int r = first; r < RowCount(); ++r) {
        ExportNotification(esExportNewRow, r);
        line(QLatin1String("<TR>"));
        for (int c = c0; c < ColCount(); ++c) cellLine(c, r, false);
        line(QLatin1String("</TR>"));
    }
    ExportNotification(esExportDone, -1);
    line(QLatin1String("</TABLE>"));
    if (!h->SuffixTag().isEmpty()) body += crlf + h->SuffixTag();
    if (h->XHTML()) line(QLatin1String("</HTML>"));

    QString style = QStringLiteral("<style>") + crlf;
    for (int i = 0; i < classOrder.size(); ++i) style += QStringLiteral(".c%1 {").arg(i) + classOrder[i] + QLatin1Char('}') + crlf;
    style += QStringLiteral("</style>") + crlf;
    return prolog + style + body;
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
