// The print preview window: one layout per preview, every page drawn from it.
#include "grid/data/print_preview.h"

#include "grid/data/print_device.h"
#include "grid/data/print_layout.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPagedPaintDevice>
#include <algorithm>
#include <cmath>

TGridPrintPreview::TGridPrintPreview(TProStringGrid* Grid, QWidget* Parent) : QWidget(Parent), FGrid(Grid)
{
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QStringLiteral("Print preview"));
    resize(600, 800);
    TPrintDevice* device = Grid->PrintDevice();
    TPrintSettings* ps = Grid->PrintSettings();
    if (!ps->UseDefaultOrientation()) device->SetLandscape(ps->Orientation() == poLandscape);
    QPagedPaintDevice* printer = device->Device();
    const int W = int(std::lround(254.0 / printer->logicalDpiX() * printer->width()));
    const int H = int(std::lround(254.0 / printer->logicalDpiY() * printer->height()));
    FLayout = Grid->LayoutPrintPages(TGridRect{0, 0, Grid->ColCount() - 1, Grid->RowCount() - 1}, false, W, H);
}

int TGridPrintPreview::PageCount() const { return FLayout ? FGrid->PrintLayoutPageCount(*FLayout) : 0; }

void TGridPrintPreview::SetPage(int Value)
{
    const int page = std::clamp(Value, 1, std::max(1, PageCount()));
    if (page == FPage) return;
    FPage = page;
    update();
}

void TGridPrintPreview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(128, 128, 128));
    if (!FGrid || !FLayout || FLayout->PageWidth <= 0 || FLayout->PageHeight <= 0) return;
    // The page, as large as the window allows with a small border round it.
    const double k = std::min((width() - 20.0) / FLayout->PageWidth, (height() - 20.0) / FLayout->PageHeight);
    if (k <= 0) return;
    const QRectF page((width() - FLayout->PageWidth * k) / 2, (height() - FLayout->PageHeight * k) / 2,
                      FLayout->PageWidth * k, FLayout->PageHeight * k);
    p.fillRect(page, Qt::white);
    p.setClipRect(page);
    QTransform t;
    t.translate(page.left(), page.top());
    t.scale(k, -k);
    p.setTransform(t);
    FGrid->DrawPrintPage(&p, *FLayout, FPage, PageCount());
}

void TGridPrintPreview::keyPressEvent(QKeyEvent* Event)
{
    switch (Event->key()) {
    case Qt::Key_PageDown:
    case Qt::Key_Right: SetPage(FPage + 1); break;
    case Qt::Key_PageUp:
    case Qt::Key_Left: SetPage(FPage - 1); break;
    case Qt::Key_Home: SetPage(1); break;
    case Qt::Key_End: SetPage(PageCount()); break;
    case Qt::Key_Escape: close(); break;
    default: QWidget::keyPressEvent(Event); return;
    }
    Event->accept();
}
