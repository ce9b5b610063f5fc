// The grid's mini-HTML: each input, read as UTF-8, is laid out and drawn into a cell,
// hit-tested at a point, and run through the text helpers a cell's HTML passes.
#include "fuzz_target.h"
#include "grid/base/html_layout.h"
#include "grid/base/html_text.h"
#include "platform/ui/canvas.h"

#include <memory>

namespace {
std::unique_ptr<TBitmap> Bmp;

const TFuzzRegistration Html({
    {"grid_html", [] { Bmp = std::make_unique<TBitmap>(300, 200); },
     [](const std::string& input) {
         const QString text = QString::fromUtf8(input.data(), qsizetype(input.size()));
         TCanvas* cv = Bmp->Canvas();
         cv->Font()->SetName(QStringLiteral("DejaVu Sans"));
         cv->Font()->SetSize(9);
         THtmlRenderArgs draw;
         draw.FocusAnchorIndex = 0;
         draw.HoverAnchorIndex = 1;
         RenderHtmlCell(cv, text, {0, 0, 300, 200}, draw);
         THtmlRenderArgs measure;
         measure.MeasureOnly = true;
         measure.WordWrap = false;
         RenderHtmlCell(cv, text, {0, 0, 40, 20}, measure);
         THtmlRenderArgs hit;
         hit.HitTestOnly = true;
         hit.HitX = 20;
         hit.HitY = 8;
         RenderHtmlCell(cv, text, {0, 0, 300, 200}, hit);
         HtmlToPlainText(text);
         StripHTMLTags(text);
         VisibleToTextIndex(text, 5);
         DecodeHTMLEntities(text, true);
         ResetRadioControls(text);
         QString id, value;
         NextControlID(text, QString(), id);
         GetControlValue(text, id, value);
         GetControlMaxLen(text, id);
         QString edited = text;
         SetControlValue(edited, id, QStringLiteral("v"));
         QString highlighted;
         HighlightInHTML(text, QStringLiteral("a"), QStringLiteral("hi"), false, highlighted);
     },
     {}, [] { Bmp.reset(); }},
});
}  // namespace
