#pragma once
// The printer the grid prints on.  It comes from the printing module (print_module.cpp,
// libfabricat_print.so), so that Qt's print support is loaded only once something prints.
#include <QString>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

class TPrintDevice {
public:
    virtual ~TPrintDevice() = default;
    virtual QPrinter* Printer() = 0;
    // The printer as the device pages are painted on.
    virtual QPagedPaintDevice* Device() = 0;
    virtual void SetLandscape(bool Landscape) = 0;
    virtual void SetDocName(const QString& Name) = 0;
    // The system's print dialog, page range enabled; false when the user cancels.
    virtual bool ExecDialog(QWidget* Parent) = 0;
    virtual int FromPage() = 0;
    virtual int ToPage() = 0;
};

// The module's entry: a new printer at high resolution, owned by the caller.
using TNewPrintDevice = TPrintDevice* (*)();
inline constexpr const char* PrintModule = "fabricat_print";
inline constexpr const char* PrintModuleEntry = "fabricat_new_print_device";
