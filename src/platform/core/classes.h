#pragma once
// Root classes of the run-time layer: an object that knows its class name (the grid frees
// only objects of one named class), a persistent that copies from its own kind, and the
// plain change event.
#include <QString>
#include <functional>

class TObject {
public:
    virtual ~TObject() = default;
    virtual QString ClassName() const { return QStringLiteral("TObject"); }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
public:
    // Copies from a source of the same class; any other source is ignored.
    virtual void Assign(const TPersistent* Source) { (void)Source; }
    QString ClassName() const override { return QStringLiteral("TPersistent"); }
};

// Fires a change event only when one is assigned.
inline void FireNotify(const TNotifyEvent& event, TObject* sender)
{
    if (event) event(sender);
}

// Horizontal alignment of a text, shared by every control that aligns one.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
