#pragma once
// A control the grid creates the first time it is used rather than with the grid: most grids
// are never edited, and their in-place editors are the costliest part of creating one.
#include <cstddef>
#include <functional>
#include <utility>

template <class T>
class TOnDemand {
public:
    TOnDemand() = default;
    TOnDemand(const TOnDemand&) = delete;
    TOnDemand& operator=(const TOnDemand&) = delete;

    // From now on the first use creates the control with make.
    void Arm(std::function<T*()> make) { FMake = std::move(make); }
    // The control, created on the first call; null only when it was never armed or was dropped.
    T* get() const
    {
        if (!FPtr && FMake) FPtr = FMake();
        return FPtr;
    }
    // The control if it exists already; never creates it.
    T* Created() const { return FPtr; }
    // Whether the control exists and is visible; never creates it.
    bool Shown() const { return FPtr && FPtr->isVisible(); }
    // Deletes the control if it was created; it is not created again.
    void Drop()
    {
        T* p = std::exchange(FPtr, nullptr);
        FMake = nullptr;
        delete p;
    }

    T* operator->() const { return get(); }
    operator T*() const { return get(); }
    // Asking whether there is a control does not create it.
    explicit operator bool() const { return FPtr || FMake; }
    bool operator==(std::nullptr_t) const { return !static_cast<bool>(*this); }

private:
    std::function<T*()> FMake;
    mutable T* FPtr = nullptr;
};
