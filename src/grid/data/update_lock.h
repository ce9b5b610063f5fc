#pragma once
// Painting suspended for the life of a scope: EndUpdate pairs with BeginUpdate on every path,
// also when an event handler raises in between.
#include "grid/control/pro_string_grid.h"

class TGridUpdateLock {
public:
    explicit TGridUpdateLock(TProStringGrid* Grid) : FGrid(Grid) { FGrid->BeginUpdate(); }
    ~TGridUpdateLock() { Release(); }
    // Ends the suspension before the scope does.
    void Release()
    {
        if (FGrid) FGrid->EndUpdate();
        FGrid = nullptr;
    }
    TGridUpdateLock(const TGridUpdateLock&) = delete;
    TGridUpdateLock& operator=(const TGridUpdateLock&) = delete;

private:
    TProStringGrid* FGrid;
};
