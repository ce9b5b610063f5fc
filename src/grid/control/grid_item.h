#pragma once
// The record a hidden row leaves behind while it is out of the grid.
#include "platform/core/classes.h"

#include <QStringList>
#include <memory>

class TProStringGrid;

// One hidden row: its real index, height and filter level, and the storage slot that keeps its
// cells in the grid's store while the row is out of the row sequence.  Hiding and showing a
// row moves the slot, never a cell; the texts are read from the slot when asked.
class TGridItem : public TObject {
public:
    explicit TGridItem(TProStringGrid* Grid = nullptr, int Slot = -1) : FGrid(Grid), FSlot(Slot) {}
    // A record dropped while its row is hidden frees the row's objects and its slot.
    ~TGridItem() override;
    QString ClassName() const override { return QStringLiteral("TGridItem"); }
    int Idx() const { return FIdx; }
    void SetIdx(int v) { FIdx = v; }
    int Height() const { return FHeight; }
    void SetHeight(int v) { FHeight = v; }
    int Level() const { return FLevel; }
    void SetLevel(int v) { FLevel = v; }
    // A row a filter pass hid (its Level is the pass); rows hidden by the application or by
    // a contracted node are not, and only their own operations show them again.
    bool Filtered() const { return FFiltered; }
    void SetFiltered(bool v) { FFiltered = v; }
    int Slot() const { return FSlot; }
    // The row's texts, one per stored column, read from the slot on each call.
    QStringList& Items();
    // A cell of the hidden row by real column.
    QString Cell(int ACol) const;
    void SetCell(int ACol, const QString& Value);
    TObject* Object(int ACol) const;
    void SetObject(int ACol, TObject* Value);
    // Every text emptied; the objects freed too when FreeObjects.
    void Clear(bool FreeObjects);
    // The slot goes back to a row of the grid; the record then holds no cells.
    int TakeSlot();
    // Filtering makes and drops records by the ten thousand: they come from a pool of blocks
    // rather than one heap allocation each.
    static void* operator new(size_t Size);
    static void operator delete(void* P, size_t Size);

private:
    TProStringGrid* FGrid;
    int FSlot;
    int FIdx = 0;
    int FHeight = 0;
    int FLevel = 0;
    bool FFiltered = false;
    // Made when the texts are first asked for: a filter makes records by the ten thousand,
    // and the smaller each is, the less memory a pass goes through.
    std::unique_ptr<QStringList> FItems;
};
