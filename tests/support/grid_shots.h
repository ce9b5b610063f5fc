#pragma once
// Small grids rendered offscreen and read back pixel by pixel.
#include "grid/control/pro_string_grid.h"

#include <QImage>
#include <memory>

template <class T>
struct FreeGrid {
    void operator()(T* g) const { g->Free(); }
};
template <class T>
using Grid = std::unique_ptr<T, FreeGrid<T>>;

// Default sizes: columns 64 wide, rows 24 high, one fixed row and column.  The current cell,
// which shows selected, is the last one, out of the tests' way.
template <class T = TProStringGrid>
Grid<T> MakeGrid(int cols = 4, int rows = 5)
{
    Grid<T> g(CreateGrid<T>());
    g->SetColCount(cols);
    g->SetRowCount(rows);
    g->SetCol(cols - 1);
    g->SetRow(rows - 1);
    g->SetBorderStyle(bsNone);
    g->SetScrollBars(ssNone);
    g->resize(cols * 64 + 20, rows * 24 + 20);
    g->show();
    return g;
}

inline QImage Shot(QWidget* g) { return g->grab().toImage().convertToFormat(QImage::Format_RGB32); }
inline TColor At(const QImage& img, int x, int y) { return QColorToColor(QColor(img.pixel(x, y))); }
inline TColor Rgb(TColor c) { return ColorToRGB(c); }

// Whether any pixel of r has colour c.
inline bool Shows(const QImage& img, const TRect& r, TColor c)
{
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (At(img, x, y) == Rgb(c)) return true;
    return false;
}

// Pixels of r that are not the background colour bg.
inline int Ink(const QImage& img, const TRect& r, TColor bg)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += At(img, x, y) != Rgb(bg);
    return n;
}
