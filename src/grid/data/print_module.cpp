// The printing module: Qt's printer and print dialog behind the grid's print device.  Built
// as a shared library of its own; nothing else of the program links Qt's print support.
#include "grid/data/print_device.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {
class TQtPrintDevice final : public TPrintDevice {
public:
    QPrinter* Printer() override { return &FPrinter; }
    QPagedPaintDevice* Device() override { return &FPrinter; }
    void SetLandscape(bool Landscape) override
    {
        FPrinter.setPageOrientation(Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
    void SetDocName(const QString& Name) override { FPrinter.setDocName(Name); }
    bool ExecDialog(QWidget* Parent) override
    {
        QPrintDialog dialog(&FPrinter, Parent);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        return dialog.exec() == QDialog::Accepted;
    }
    int FromPage() override { return FPrinter.fromPage(); }
    int ToPage() override { return FPrinter.toPage(); }

private:
    QPrinter FPrinter{QPrinter::HighResolution};
};
}  // namespace

extern "C" Q_DECL_EXPORT TPrintDevice* fabricat_new_print_device() { return new TQtPrintDevice; }
