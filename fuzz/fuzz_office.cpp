// What the office exchange reads itself before the office or the database driver sees a
// file: the used-range address of a sheet, and the checks that a workbook, a document or an
// Access database is whole.  A file passing a check must be one of the shapes it admits.
#include "fuzz_target.h"
#include "grid/data/office_address.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace {
std::unique_ptr<QTemporaryDir> Dir;

void Check(bool ok)
{
    if (!ok) std::abort();
}

TFuzzRegistration Registration({
    {"office_files", [] { Dir = std::make_unique<QTemporaryDir>(); },
     [](const std::string& input) {
         const QString text = QString::fromUtf8(input.data(), qsizetype(input.size()));
         const TXLSUsedArea a = ParseXLSUsedArea(text);
         if (a.Valid()) Check(qint64(a.Cols()) * a.Rows() > 0);
         const int col = XLSColumnNumber(text);
         if (col > 0) Check(XLSColumnNumber(XLSColumnName(col)) == col);

         const QString path = Dir->filePath(QStringLiteral("in.bin"));
         QFile f(path);
         if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
         f.write(input.data(), qint64(input.size()));
         f.close();
         if (WholeOfficeFile(path)) Check(input.size() >= 22 && (input.rfind("PK\x03\x04", 0) == 0 || input.size() % 512 == 0));
         if (WholeAccessFile(path)) Check(input.size() >= 4096 && input.size() % 2048 == 0);
     },
     [] {
         std::string zip("PK\x03\x04", 4);
         zip += std::string(26, '\0');
         zip += std::string("PK\x05\x06", 4) + std::string(18, '\0');
         std::string jet(4096, '\0');
         jet.replace(4, 15, "Standard Jet DB");
         std::string ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
         ole.resize(1536, '\0');
         return std::vector<std::string>{"$C$3:$E$5", "$3:$5", "$XFD$1048576", "B4", zip, jet, ole};
     },
     [] { Dir.reset(); }},
});
}  // namespace
