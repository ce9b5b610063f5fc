#pragma once
// The pages of one print job, laid out once and then drawn page by page (printer, preview
// canvas, preview window). Distances are 0.1 mm; vertical positions are measured down from
// the page top (the drawing turns them into the metric mode's negative y).
#include "grid/control/pro_string_grid.h"

#include <vector>

struct TProStringGrid::TPrintLayout {
    struct TPlacedCol {
        int Col;
        int Left;
    };
    struct TColPage {
        std::vector<TPlacedCol> Cols;  // repeated fixed columns first
        int FirstOwn = 0;              // index in Cols of the page's own first column
    };
    struct TPlacedRow {
        int Row;
        int Top;
        int Height;
        bool Clipped;
    };
    struct TPage {
        int ColPage = 0;  // 0-based
        int RowPage = 1;  // 1-based within the column page
        std::vector<TPlacedRow> Rows;
        int Bottom = 0;   // below the last row
    };

    TGridRect Range{};
    bool SelectedOnly = false;
    int PageWidth = 0, PageHeight = 0;
    double FontScale = 1.0;
    int Margin = 0;                       // the cell margin p
    int HeaderTextHeight = 0, FooterTextHeight = 0;
    int HeaderArea = 0, FooterArea = 0;
    int TitleHeight = 0;                  // a mini-HTML title's height
    int Spacing = 0;                      // added to every column width
    std::vector<int> Widths;              // printed width per column of the grid
    std::vector<TColPage> ColPages;
    std::vector<TPage> Pages;
};
