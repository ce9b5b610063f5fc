#pragma once
// Pictures a cell can hold besides plain bitmaps: an icon, and a picture that wraps whichever
// image was loaded into it.  Both draw through the canvas like a bitmap.
#include "platform/ui/canvas.h"

// An icon: a small image drawn with its own transparency.
class TIcon : public TBitmap {
public:
    QString ClassName() const override { return QStringLiteral("TIcon"); }
};

class TPicture : public TPersistent {
public:
    QString ClassName() const override { return QStringLiteral("TPicture"); }
    void Assign(const TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<const TPicture*>(Source)) FBitmap.Assign(s->FBitmap);
    }
    // The loaded image; null while the picture is empty.
    TBitmap* Graphic() { return FBitmap.Empty() ? nullptr : &FBitmap; }
    // The image to load into: what is drawn on it becomes the picture.
    TBitmap* Bitmap() { return &FBitmap; }
    int Width() const { return FBitmap.Empty() ? 0 : FBitmap.Width(); }
    int Height() const { return FBitmap.Empty() ? 0 : FBitmap.Height(); }
    bool LoadFromFile(const QString& FileName) { return FBitmap.LoadFromFile(FileName); }

private:
    TBitmap FBitmap;
};
