#include "grid/base/undo_redo.h"

#include "grid/base/base_grid.h"

#include <algorithm>

TUndoRedoItem* TUndoRedoCollection::Add()
{
    FItems.push_back(std::make_unique<TUndoRedoItem>());
    return FItems.back().get();
}

ROdeVivaZedaDure::ROdeVivaZedaDure(QObject* AOwner) : QObject(AOwner) {}

ROdeVivaZedaDure::~ROdeVivaZedaDure() = default;

TBaseGrid* ROdeVivaZedaDure::Grid() const { return FGrid.data(); }
void ROdeVivaZedaDure::SetGrid(TBaseGrid* v) { FGrid = v; }

void ROdeVivaZedaDure::Reset()
{
    FItems.Clear();
    FLevel = 0;
    FFrontScan = 0;
}

void ROdeVivaZedaDure::TrimToMaxLevel()
{
    if (FMaxLevel <= 0 || FItems.Count() < FMaxLevel) return;
    int drop = 1;
    if (FItems.Items(0)->SequenceStart()) {
        // A sequence leaves as a whole, or its stop marker would be left without its start.
        // The start of a sequence still being recorded stays: its stop marker is yet to come.
        // The search resumes where the last one ended, so a long sequence costs one pass.
        int j = std::max(1, FFrontScan);
        while (j < FItems.Count() && !FItems.Items(j)->IsMarker()) ++j;
        FFrontScan = j;
        if (j == FItems.Count()) return;
        if (FItems.Items(j)->SequenceStop()) drop = j + 1;
    }
    FItems.DeleteFront(drop);
    FFrontScan = 0;
    FLevel = std::max(0, FLevel - drop);
}

void ROdeVivaZedaDure::RegisterChange(int ACol, int ARow, const QString& OldValue, const QString& NewValue)
{
    TrimToMaxLevel();
    TUndoRedoItem* it = FItems.Add();
    it->SetCol(ACol);
    it->SetRow(ARow);
    it->SetValue(NewValue);
    it->SetOrigValue(OldValue);
    // Undone items beyond the old level stay and count as applied again.
    FLevel = FItems.Count();
}

void ROdeVivaZedaDure::AddMarker(bool Start)
{
    TUndoRedoItem* it = FItems.Add();
    it->SetSequenceStart(Start);
    it->SetSequenceStop(!Start);
    FLevel = FItems.Count();
}

void ROdeVivaZedaDure::StartSequence() { AddMarker(true); }
void ROdeVivaZedaDure::StopSequence() { AddMarker(false); }

int ROdeVivaZedaDure::SequenceStartOf(int StopIndex) const
{
    for (int j = StopIndex - 1; j >= 0; --j) {
        const TUndoRedoItem* it = FItems.Items(j);
        if (it->SequenceStart()) return j;
        if (it->SequenceStop()) return -1;
    }
    return -1;
}

int ROdeVivaZedaDure::SequenceStopOf(int StartIndex) const
{
    for (int j = StartIndex + 1; j < FItems.Count(); ++j) {
        const TUndoRedoItem* it = FItems.Items(j);
        if (it->SequenceStop()) return j;
        if (it->SequenceStart()) return -1;
    }
    return -1;
}

void ROdeVivaZedaDure::MoveTo(TUndoRedoItem* Item)
{
    TBaseGrid* g = FGrid.data();
    g->SetCol(g->DisplColIndex(Item->Col()));
    g->SetRow(Item->Row());
}

void ROdeVivaZedaDure::UndoItem(TUndoRedoItem* Item, bool Move)
{
    TBaseGrid* g = FGrid.data();
    if (OnUndo) OnUndo(this, g, Item->Col(), Item->Row(), g->GetCellEx(Item->Col(), Item->Row()), Item->OrigValue());
    g->SetCellEx(Item->Col(), Item->Row(), Item->OrigValue());
    if (Move) MoveTo(Item);
}

void ROdeVivaZedaDure::RedoItem(TUndoRedoItem* Item, bool Move)
{
    TBaseGrid* g = FGrid.data();
    if (OnRedo) OnRedo(this, g, Item->Col(), Item->Row(), g->GetCellEx(Item->Col(), Item->Row()), Item->Value());
    g->SetCellEx(Item->Col(), Item->Row(), Item->Value());
    if (Move) MoveTo(Item);
}

// A marker whose partner is missing (a sequence still open, or one whose start the level
// limit dropped) is passed over, so that one step never reaches past its own sequence.
void ROdeVivaZedaDure::Undo()
{
    if (!FGrid || FLevel <= 0 || FLevel > FItems.Count()) return;
    while (FLevel > 0) {
        TUndoRedoItem* it = FItems.Items(FLevel - 1);
        if (it->SequenceStop()) {
            const int start = SequenceStartOf(FLevel - 1);
            if (start < 0) {
                --FLevel;
                continue;
            }
            // The texts go back first; the grid then moves once, to the last cell restored.
            for (int i = FLevel - 2; i > start; --i) UndoItem(FItems.Items(i), false);
            if (FLevel - 2 > start) MoveTo(FItems.Items(start + 1));
            FLevel = start;
            FGrid->Invalidate();
            return;
        }
        if (it->SequenceStart()) {
            --FLevel;
            continue;
        }
        UndoItem(it, true);
        FGrid->RepaintCell(FGrid->Col(), it->Row());
        --FLevel;
        return;
    }
}

void ROdeVivaZedaDure::Redo()
{
    if (!FGrid || FLevel < 0) return;
    while (FLevel < FItems.Count()) {
        TUndoRedoItem* it = FItems.Items(FLevel);
        if (it->SequenceStart()) {
            const int stop = SequenceStopOf(FLevel);
            if (stop < 0) {
                ++FLevel;
                continue;
            }
            for (int i = FLevel + 1; i < stop; ++i) RedoItem(FItems.Items(i), false);
            if (stop - 1 > FLevel) MoveTo(FItems.Items(stop - 1));
            FLevel = stop + 1;
            FGrid->Invalidate();
            return;
        }
        if (it->SequenceStop()) {
            ++FLevel;
            continue;
        }
        RedoItem(it, true);
        ++FLevel;
        return;
    }
}
