#pragma once
// The record a hidden row leaves behind while it is out of the grid.
#include "platform/core/classes.h"

#include <QStringList>
#include <vector>

// One hidden row: its real index, height, texts and node level.
class TGridItem : public TObject {
public:
    QString ClassName() const override { return QStringLiteral("TGridItem"); }
    int Idx() const { return FIdx; }
    void SetIdx(int v) { FIdx = v; }
    int Height() const { return FHeight; }
    void SetHeight(int v) { FHeight = v; }
    QStringList& Items() { return FItems; }
    void SetItems(const QStringList& v) { FItems = v; }
    // The row's cell objects, one per column like Items; the item owns them while the row
    // is hidden and hands them back when it is shown.
    std::vector<TObject*>& Objects() { return FObjects; }
    ~TGridItem() override
    {
        for (TObject* o : FObjects) delete o;
    }
    int Level() const { return FLevel; }
    void SetLevel(int v) { FLevel = v; }

private:
    int FIdx = 0;
    int FHeight = 0;
    QStringList FItems;
    int FLevel = 0;
    std::vector<TObject*> FObjects;
};
