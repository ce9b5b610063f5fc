#pragma once
// A collection of items that tell it when they change; a change of any item fires OnChange.
// The item type is made with the notification to call and has an Assign.
#include <QObject>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

template <class T> class TNotifyingItems {
public:
    explicit TNotifyingItems(QObject* AOwner = nullptr) : FOwner(AOwner) {}
    QObject* GetOwner() const { return FOwner; }
    T* Add() { return Insert(Count()); }
    T* Insert(int Index)
    {
        Index = std::clamp(Index, 0, Count());
        auto it = FItems.insert(FItems.begin() + Index, std::make_unique<T>([this] {
            if (OnChange) OnChange();
        }));
        return it->get();
    }
    int Count() const { return int(FItems.size()); }
    T* Items(int Index) const { return FItems.at(size_t(Index)).get(); }
    void Clear() { FItems.clear(); }
    void Delete(int Index) { FItems.erase(FItems.begin() + Index); }
    void Assign(const TNotifyingItems& Source)
    {
        if (&Source == this) return;
        Clear();
        for (const auto& i : Source.FItems) Add()->Assign(*i);
    }
    std::function<void()> OnChange;

private:
    QObject* FOwner;
    std::vector<std::unique_ptr<T>> FItems;
};
