// The image picker's folder load: each input is written as a picture file into a folder and
// the folder is read into the picker's items.
#include "fuzz_target.h"
#include "grid/controls/image_picker_dropdown.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>

namespace {
std::unique_ptr<QTemporaryDir> Dir;

std::string Encoded(const char* format)
{
    QImage img(7, 5, QImage::Format_ARGB32);
    img.fill(QColor(10, 200, 30, 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes.toStdString();
}

const TFuzzRegistration ImagePicker({
    {"image_picker_folder", [] { Dir = std::make_unique<QTemporaryDir>(); },
     [](const std::string& input) {
         const QString path = Dir->filePath(QStringLiteral("input.pic"));
         {
             QFile f(path);
             if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
             f.write(input.data(), qint64(input.size()));
         }
         TProImagePickerDropDown picker;
         picker.AddImagesFromFolder(Dir->filePath(QStringLiteral("*.pic")), true);
         picker.SetItemIndex(0);
         picker.grab();
     },
     [] { return std::vector<std::string>{Encoded("PNG"), Encoded("BMP"), Encoded("XPM")}; },
     [] { Dir.reset(); }},
});
} // namespace
