#include "grid/control/grid_unit.h"

#include "grid/base/theme.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/file_io.h"
#include "platform/core/format_settings.h"
#include "platform/ui/messages.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QPointer>
#include <QWidget>

namespace {
QPointer<TProStringGrid> gFocusGrid;
QString gHintFontName;
bool gComCtrlOk = false;
bool gStarted = false;
unsigned gGridEditDone = 0;
unsigned gDTPShiftFocus = 0;

// Watches every window move and resize of the program for the focus frame.
class TFocusMoveFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Move) FocusWindowMoveHook(0x46);
        else if (e->type() == QEvent::Resize) FocusWindowMoveHook(0x47);
        return QObject::eventFilter(watched, e);
    }
};
TFocusMoveFilter* gHook = nullptr;
}

QChar GetTimeSeparator() { return FormatSettings().TimeSeparator; }
QChar GetDateSeparator() { return FormatSettings().DateSeparator; }
QChar GetThousandSeparator() { return FormatSettings().ThousandSeparator; }
QChar GetDecimalSeparator() { return FormatSettings().DecimalSeparator; }
QString GetShortDateFormat() { return FormatSettings().ShortDateFormat; }
QString GetShortTimeFormat() { return FormatSettings().ShortTimeFormat; }
QString GetLongTimeFormat() { return FormatSettings().LongTimeFormat; }

int GetFileVersion(const QString& FileName)
{
    // The fixed file information of a version resource starts with 0xFEEF04BD, followed by
    // the structure version and the file version's most significant pair.
    QByteArray data;
    if (!ReadWholeFile(FileName, data)) return -1;
    static const QByteArray signature("\xBD\x04\xEF\xFE", 4);
    const qsizetype at = data.indexOf(signature);
    if (at < 0 || at + 12 > data.size()) return -1;
    const auto* p = reinterpret_cast<const uchar*>(data.constData() + at + 8);
    return int(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24));
}

int CommonControlsVersion() { return 0x00060000; }

void SetTransparentExStyle(QWidget* Handle)
{
    if (Handle) Handle->setAttribute(Qt::WA_TransparentForMouseEvents);
}

TProStringGrid* FocusFrameGrid() { return gFocusGrid.data(); }
void SetFocusFrameGrid(TProStringGrid* Grid) { gFocusGrid = Grid; }

void FocusWindowMoveHook(unsigned Msg)
{
    if (Msg != 0x46 && Msg != 0x47) return;
    if (TProStringGrid* g = gFocusGrid.data()) g->MoveFocusWindow();
}

unsigned GridEditDoneMessage() { return gGridEditDone; }
unsigned DTPShiftFocusMessage() { return gDTPShiftFocus; }
QString GridCellsClipboardFormat() { return QStringLiteral("application/x-tprostringgrid-cells"); }
bool ComCtrlOk() { return gComCtrlOk; }
QString HintFontName() { return gHintFontName; }
void SetHintFontName(const QString& v) { gHintFontName = v; }

void InitGridUnit()
{
    if (gStarted) return;
    gStarted = true;
    BindThemeApi();
    // OLE needs no start here: Qt's drag and drop and clipboard are always ready.
    gFocusGrid = nullptr;
    if (!gHook && qApp) {
        gHook = new TFocusMoveFilter();
        qApp->installEventFilter(gHook);
    }
    gComCtrlOk = CommonControlsVersion() > 0x00040045;
    gGridEditDone = RegisterWindowMessage(QStringLiteral("GridEditDone"));
    gDTPShiftFocus = RegisterWindowMessage(QStringLiteral("DTPShiftFocus"));
    // The matching finalization runs when the application ends.
    if (qApp) qAddPostRoutine(DoneGridUnit);
}

void DoneGridUnit()
{
    if (!gStarted) return;
    gStarted = false;
    if (gHook) {
        if (qApp) qApp->removeEventFilter(gHook);
        delete gHook;
        gHook = nullptr;
    }
    gHintFontName.clear();
    UnbindThemeApi();
}

bool GridUnitStarted() { return gStarted; }
