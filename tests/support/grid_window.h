#pragma once
// A grid of any class made in a window of its own, for tests that show it and drive it with
// real events.  The grid sits at the window's top-left without a border; cells keep their
// default 64 pixels wide (with a one-pixel line) unless the test changes them.
#include "platform/ui/custom_grid.h"
#include "platform/ui/hint_window.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

struct GridWindowLayout {
    int Width = 400;                       // the grid's size
    int Height = 200;
    int Cols = 0;                          // 0: as many as the grid is made with
    int Rows = 0;
    TScrollStyle ScrollBars = ssBoth;
    TBorderStyle Border = bsNone;
    int WindowMarginX = 0;                 // room in the window right of the grid
    int WindowMarginY = 0;                 // and below it
};

template <class T, class W = QWidget>
struct GridWindow {
    W Window;
    T* G = nullptr;

    // Makes and sizes the grid; the window shows with Show or ShowFocused.
    explicit GridWindow(const GridWindowLayout& l = {})
    {
        G = CreateGrid<T>(&Window);
        G->SetBorderStyle(l.Border);
        G->SetScrollBars(l.ScrollBars);
        if (l.Cols > 0) G->SetColCount(l.Cols);
        if (l.Rows > 0) G->SetRowCount(l.Rows);
        Window.resize(l.Width + l.WindowMarginX, l.Height + l.WindowMarginY);
        G->SetBounds(0, 0, l.Width, l.Height);
    }
    GridWindow(const GridWindow&) = delete;
    GridWindow& operator=(const GridWindow&) = delete;
    ~GridWindow() { FreeGrid(); }
    // Frees the grid now: a fixture whose own members the grid uses (an edit link, a list its
    // events fill) frees it in TearDown, before those members go.
    void FreeGrid()
    {
        if (!G) return;
        CancelHint();
        G->Free();
        G = nullptr;
    }
    void Show()
    {
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
        QApplication::processEvents();
    }
    // Shown in the active window, with the focus on the grid.
    void ShowFocused()
    {
        Show();
        QApplication::setActiveWindow(&Window);
        G->SetFocus();
        QApplication::processEvents();
    }
};
