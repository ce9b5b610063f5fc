#pragma once
// Undo and redo of a grid's cell texts.  The component records each change with the text
// before and after it; StartSequence / StopSequence bracket changes that go back and forth
// as one step.  Only texts are recorded, never formatting, structure or cell objects.
#include "platform/core/classes.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <deque>
#include <memory>

class TBaseGrid;

class TUndoRedoItem {
public:
    int Row() const { return FRow; }
    void SetRow(int v) { FRow = v; }
    int Col() const { return FCol; }
    void SetCol(int v) { FCol = v; }
    QString Value() const { return FValue; }
    void SetValue(const QString& v) { FValue = v; }
    QString OrigValue() const { return FOrigValue; }
    void SetOrigValue(const QString& v) { FOrigValue = v; }
    bool SequenceStart() const { return FSequenceStart; }
    void SetSequenceStart(bool v) { FSequenceStart = v; }
    bool SequenceStop() const { return FSequenceStop; }
    void SetSequenceStop(bool v) { FSequenceStop = v; }
    bool IsMarker() const { return FSequenceStart || FSequenceStop; }

private:
    int FRow = -1;
    int FCol = -1;
    QString FValue;
    QString FOrigValue;
    bool FSequenceStart = false;
    bool FSequenceStop = false;
};

// The recorded items, oldest first.
class TUndoRedoCollection {
public:
    int Count() const { return int(FItems.size()); }
    TUndoRedoItem* Items(int i) const { return FItems[size_t(i)].get(); }
    TUndoRedoItem* Add();
    void Delete(int i) { FItems.erase(FItems.begin() + i); }
    // Drops the N oldest items at once.
    void DeleteFront(int N) { FItems.erase(FItems.begin(), FItems.begin() + N); }
    void Clear() { FItems.clear(); }

private:
    std::deque<std::unique_ptr<TUndoRedoItem>> FItems;
};

// (Sender, Grid, Col, Row, text in the cell now, text about to be written)
using ROdeVivaZedaDureEvent = std::function<void(TObject* Sender, TBaseGrid* Grid, int Col, int Row,
                                                 const QString& OrigValue, const QString& NewValue)>;

class ROdeVivaZedaDure : public QObject, public TObject {
public:
    explicit ROdeVivaZedaDure(QObject* AOwner = nullptr);
    ~ROdeVivaZedaDure() override;
    QString ClassName() const override { return QStringLiteral("ROdeVivaZedaDure"); }

    TUndoRedoCollection* Items() { return &FItems; }
    // Set by the grid's UndoRedo setter; cleared by itself when that grid goes away.
    TBaseGrid* Grid() const;
    void SetGrid(TBaseGrid* v);
    int Level() const { return FLevel; }
    void SetLevel(int v) { FLevel = v; }
    // Largest number of items kept; 0 keeps all.
    int MaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(int v) { FMaxLevel = v; }

    virtual void RegisterChange(int ACol, int ARow, const QString& OldValue, const QString& NewValue);
    virtual void StartSequence();
    virtual void StopSequence();
    void Undo();
    void Redo();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < FItems.Count(); }
    void Reset();

    ROdeVivaZedaDureEvent OnUndo;
    ROdeVivaZedaDureEvent OnRedo;

private:
    void AddMarker(bool Start);
    // Frees the oldest undo step when the list is full.
    void TrimToMaxLevel();
    // Writes the item's text back (or again); with Move the grid goes to its cell.
    void UndoItem(TUndoRedoItem* Item, bool Move);
    void RedoItem(TUndoRedoItem* Item, bool Move);
    void MoveTo(TUndoRedoItem* Item);
    // Index of the start marker that opens the sequence closed by the stop marker at
    // StopIndex, or -1 when that sequence has lost its start.
    int SequenceStartOf(int StopIndex) const;
    // Index of the stop marker that closes the sequence opened at StartIndex, or -1.
    int SequenceStopOf(int StartIndex) const;

    TUndoRedoCollection FItems;
    QPointer<TBaseGrid> FGrid;
    int FLevel = 0;
    int FMaxLevel = 0;
    // How far past the oldest item trimming has looked for the end of the sequence it opens.
    int FFrontScan = 0;
};
