#pragma once
// Small list classes of the grid: integer lists bound to a cell, the sort-index list,
// a string list read and written like a text file, and the list of controls in cells.
#include "platform/core/classes.h"

#include <QStringList>
#include <QVector>
#include <cstdint>
#include <memory>
#include <vector>

class QWidget;
class TIntList;

using TImageChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;

class TIntList : public TObject {
public:
    TIntList(int Col, int Row) : FCol(Col), FRow(Row) {}
    QString ClassName() const override { return QStringLiteral("TIntList"); }

    TImageChangeEvent OnChange;

    int Count() const { return int(FItems.size()); }
    void Add(int Value);
    void Delete(int Index);
    void Insert(int Index, int Value);
    int GetInteger(int Index) const;
    void SetInteger(int Index, int Value);
    int operator[](int Index) const { return GetInteger(Index); }
    void DeleteValue(int Value);
    bool HasValue(int Value) const;
    int IndexOf(int Value) const;
    // Empties the list without an event.
    void Clear() { FItems.clear(); }

    QString StrValue() const;
    void SetStrValue(const QString& Value);

    int Col() const { return FCol; }
    int Row() const { return FRow; }

protected:
    void Changed();
    void CheckIndex(int Index, bool AllowEnd) const;

private:
    QVector<int32_t> FItems;
    int FCol;
    int FRow;
};

// Sort keys in priority order: column in bits 0..30, bit 31 set = descending.
class TSortIndexList : public TIntList {
public:
    TSortIndexList(int Col, int Row) : TIntList(Col, Row) {}
    QString ClassName() const override { return QStringLiteral("TSortIndexList"); }

    void AddIndex(int ColumnIndex, bool Ascending);
    int FindIndex(int ColumnIndex) const;
    void ToggleIndex(int ColumnIndex);
    int SortColumns(int i) const;
    void SetSortColumns(int i, int Value);
    bool SortDirections(int i) const;
    void SetSortDirections(int i, bool Ascending);
    QString SaveToString() const;
    void LoadFromString(const QString& S);
};

// A string list read and written line by line, like a text file.
class TFileStringList : public QStringList {
public:
    void Reset() { fp = 0; cache.clear(); }
    bool Eof() const { return fp >= size(); }
    void ReadLn(QString& S) { S = at(fp++); }
    void Write(const QString& S) { cache += S; }
    void WriteLn(const QString& S) { append(cache + S); cache.clear(); }

private:
    int fp = 0;
    QString cache;
};

// A control placed in a cell; the list owns the items, not the controls.
class TControlItem : public TObject {
public:
    TControlItem(int AX, int AY, QWidget* AObject) : FX(AX), FY(AY), FObject(AObject) {}
    int X() const { return FX; }
    int Y() const { return FY; }
    void SetX(int v) { FX = v; }
    void SetY(int v) { FY = v; }
    QWidget* Control() const { return FObject; }

private:
    int FX;
    int FY;
    QWidget* FObject;
};

class TControlList : public TObject {
public:
    ~TControlList() override;
    int Count() const { return int(FItems.size()); }
    void AddControl(int X, int Y, QWidget* AObject);
    int ControlIndex(int X, int Y) const;
    TControlItem* GetControl(int i) const;
    bool HasHandle(const QWidget* Handle) const;
    void RemoveControl(int Index);

private:
    std::vector<std::unique_ptr<TControlItem>> FItems;
};

class TCanvas;
struct TRect;

// A picture kept as a file name: its size is read once, and every draw reads the file anew.
class TFilePicture : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TFilePicture"); }
    void Assign(const TPersistent* Source) override;

    QString Filename() const { return FFilename; }
    void SetFilename(const QString& v);
    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; }
    int Height() const { return FHeight; }
    void SetHeight(int v) { FHeight = v; }
    void DrawPicture(TCanvas* Canvas, const TRect& r);

private:
    QString FFilename;
    int FWidth = 0;
    int FHeight = 0;
};
