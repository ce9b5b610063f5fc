#pragma once
// Columns and items of the drop-downs that show a table: the multi-column drop-down and the
// grid drop-down both describe their list by these, each in its own namespace by name.
#include "platform/core/classes.h"
#include "platform/ui/canvas.h"

#include <QObject>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <vector>

namespace DropDownList {

enum TColumnType { ctText, ctImage };

class TDropDownColumn {
public:
    bool Wordwrap = false;
    // AutoSize overwrites it when the list opens.
    int Width = 80;
    bool AutoSize = false;
    QString Header;
    TAlignment Alignment = taLeftJustify;
    TColor Color = 0xFFFFFF;
    // ctImage: the item's image counts when the column is measured.
    TColumnType ColumnType = ctText;
    // The texts of the column are measured with it.
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& v) { FFont.Assign(v); }
    bool Ellipsis = false;
    void Assign(const TDropDownColumn& Source);

private:
    TFont FFont;
};

class TDropDownItem {
public:
    virtual ~TDropDownItem() = default;
    int ImageIndex = -1;
    // Entry i is the text of column i.
    QStringList& Text() { return FText; }
    const QStringList& Text() const { return FText; }
    void SetText(const QStringList& v) { FText = v; }
    // The text of column c, empty when the item has fewer texts.
    QString TextOf(int c) const { return c >= 0 && c < FText.size() ? FText.at(c) : QString(); }
    virtual void Assign(const TDropDownItem& Source);

private:
    QStringList FText;
};

// A typed collection that remembers its owner (the drop-down or its list grid).  Changing it
// notifies nobody: the drop-downs rebuild what they derive from it when told (EndUpdate).
template <class T> class TOwnedCollection {
public:
    explicit TOwnedCollection(QObject* AOwner = nullptr) : FOwner(AOwner) {}
    virtual ~TOwnedCollection() = default;
    QObject* GetOwner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    T* Items(int Index) const { return FItems.at(size_t(Index)).get(); }
    T* GetItem(int Index) const { return Items(Index); }
    void SetItem(int Index, const T& Value) { Items(Index)->Assign(Value); }
    T* Add() { return Insert(Count()); }
    T* Insert(int Index)
    {
        Index = std::clamp(Index, 0, Count());
        return FItems.insert(FItems.begin() + Index, NewItem())->get();
    }
    void Delete(int Index) { FItems.erase(FItems.begin() + Index); }
    void Clear() { FItems.clear(); }
    void Assign(const TOwnedCollection& Source)
    {
        if (&Source == this) return;
        Clear();
        FItems.reserve(Source.FItems.size());
        for (const auto& i : Source.FItems) Add()->Assign(*i);
    }

protected:
    virtual std::unique_ptr<T> NewItem() const { return std::make_unique<T>(); }

private:
    QObject* FOwner;
    std::vector<std::unique_ptr<T>> FItems;
};

using TDropDownColumns = TOwnedCollection<TDropDownColumn>;

class TDropDownItems : public TOwnedCollection<TDropDownItem> {
public:
    using TOwnedCollection::TOwnedCollection;
    // A new item of the class the collection stores; a descendant stores richer items.
    virtual std::unique_ptr<TDropDownItem> GetItemClass() const { return std::make_unique<TDropDownItem>(); }
    // The first item whose text in Column equals Value exactly, -1 for none.
    int IndexInColumn(int Column, const QString& Value) const;

protected:
    std::unique_ptr<TDropDownItem> NewItem() const override { return GetItemClass(); }
};

} // namespace DropDownList
