// The drop-down edit's paste: each input, read as UTF-8, is the clipboard's text pasted over
// part of the value of a drop-down edit with a prefix and a suffix, of the edit type the
// input's length picks; then the value is read back as a number and written again.
#include "fuzz_target.h"
#include "grid/controls/pro_custom_dropdown.h"

#include <QApplication>
#include <QClipboard>
#include <memory>

namespace {
std::unique_ptr<TProCustomDropDown> Edit;

const TFuzzRegistration DropDown({
    {"dropdown_paste", [] { Edit = std::make_unique<TProCustomDropDown>(); },
     [](const std::string& input) {
         const QString text = QString::fromUtf8(input.data(), qsizetype(input.size()));
         QApplication::clipboard()->setText(text);
         // one edit type per input, picked by its length, so that every type sees inputs
         {
             const int type = int(input.size() % (etValidChars + 1));
             Edit->SetEditType(etString);
             Edit->SetPrecision(type % 3);
             Edit->SetPrefix(QStringLiteral("$"));
             Edit->SetSuffix(QStringLiteral(" u"));
             Edit->SetEditType(TDropDownEditType(type));
             Edit->Signed = type % 2 == 0;
             Edit->ValidChars = QStringLiteral("0123abc");
             Edit->SetText(QStringLiteral("12.5"));
             Edit->SetSel(2, 2);
             Edit->PasteFromClipboard();
             Edit->SetFloatValue(Edit->FloatValue());
             Edit->SetText(text.left(200));
             Edit->FloatValue();
         }
     },
     [] {
         return std::vector<std::string>{"123", "-1,234.56", "1.2.3", "ff", std::string("\x01\x02\xff", 3), "1e308",
                                         std::string(40000, '9')};
     },
     [] { Edit.reset(); }},
});
}  // namespace
