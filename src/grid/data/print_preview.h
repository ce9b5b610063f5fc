#pragma once
// A print preview window: the grid laid out once on the printer's pages and shown a page at a
// time, scaled to the window. Page Down / Right go forward, Page Up / Left back, Home and End
// to the first and last page, Escape closes.
#include "grid/control/pro_string_grid.h"

#include <QWidget>
#include <memory>

class TGridPrintPreview : public QWidget {
public:
    explicit TGridPrintPreview(TProStringGrid* Grid, QWidget* Parent = nullptr);
    int Page() const { return FPage; }
    void SetPage(int Value);
    int PageCount() const;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    QPointer<TProStringGrid> FGrid;
    std::shared_ptr<TProStringGrid::TPrintLayout> FLayout;
    int FPage = 1;
};
