#pragma once
// A list of equally sized images drawn by index (the images of "IDX:" sources and of cells).
#include "platform/ui/canvas.h"

#include <QImage>
#include <vector>

class TCustomImageList : public TObject {
public:
    TCustomImageList(int AWidth = 16, int AHeight = 16) : FWidth(AWidth), FHeight(AHeight) {}
    QString ClassName() const override { return QStringLiteral("TCustomImageList"); }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return int(FImages.size()); }
    // The image is scaled to the list's size.
    int Add(const QImage& Image)
    {
        FImages.push_back(Image.size() == QSize(FWidth, FHeight) ? Image : Image.scaled(FWidth, FHeight));
        return Count() - 1;
    }
    void Clear() { FImages.clear(); }
    QImage Image(int Index) const { return Index >= 0 && Index < Count() ? FImages[Index] : QImage(); }
    void Draw(TCanvas* Canvas, int X, int Y, int Index) const
    {
        if (Canvas && Index >= 0 && Index < Count()) Canvas->StretchDrawImage(Bounds(X, Y, FWidth, FHeight), FImages[Index]);
    }

private:
    int FWidth, FHeight;
    std::vector<QImage> FImages;
};
