#include "grid/control/cell_graphic.h"

#include "grid/base/int_list.h"
#include "platform/ui/picture.h"

#include <cmath>

TCellGraphic::~TCellGraphic()
{
    switch (FCellType) {
    case ctBitmap:
    case ctRadio:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
        if (FCellCreated) delete FCellBitmap;
        break;
    case ctIcon:
        if (FCellCreated) delete FCellIcon;
        break;
    case ctImages:
    case ctBalloon:
        delete FCellBitmap;
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctRadioButton:
        FreeBalloonList();
        break;
    default:
        break;
    }
}

void TCellGraphic::Assign(const TPersistent* Source)
{
    auto* s = static_cast<const TCellGraphic*>(Source);
    if (!s || s == this) return;
    FCellType = s->FCellType;
    FCellVAlign = s->FCellVAlign;
    FCellHAlign = s->FCellHAlign;
    FCellIndex = s->FCellIndex;
    FCellTransparent = s->FCellTransparent;
    FCellValue = s->FCellValue;
    FCellAngle = s->FCellAngle;
    FCellBoolean = s->FCellBoolean;
    FCellErrFrom = s->FCellErrFrom;
    FCellErrLen = s->FCellErrLen;
    FCellText = s->FCellText;
    FCellCreated = s->FCellCreated;
}

void TCellGraphic::FreeBalloonList()
{
    if (FCellAngle != 1) return;
    delete FCellBitmap;
    FCellBitmap = nullptr;
    FCellAngle = 0;
}

void TCellGraphic::SetBitmap(TObject* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctBitmap;
    FCellBitmap = ABmp;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellTransparent = Transparent;
}

void TCellGraphic::SetIcon(TObject* aicon, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctIcon;
    FCellIcon = aicon;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctImageList;
    FCellIndex = idx;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctDataImage;
    FCellIndex = idx;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val,
                                 const TImageChangeEvent& Notifier)
{
    FCellType = ctImages;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellBoolean = dir == 0;
    auto* list = new TIntList(Col, Row);
    list->OnChange = Notifier;
    FCellBitmap = list;
    FCellCreated = true;
}

void TCellGraphic::SetPicture(TObject* APicture, bool Transparent, int StretchMode, int padding, TCellHAlign hal,
                              TCellVAlign val)
{
    FCellType = ctPicture;
    FCellBitmap = APicture;
    FCellTransparent = Transparent;
    FCellAngle = StretchMode;
    FCellIndex = padding;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetFilePicture(TObject* APicture, bool Transparent, int stretchmode, int padding,
                                  TCellHAlign hal, TCellVAlign val)
{
    SetPicture(APicture, Transparent, stretchmode, padding, hal, val);
    FCellType = ctFilePicture;
}

void TCellGraphic::SetButton(int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctButton;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellIndex = int((uint32_t(bh) << 16) | (uint32_t(bw) & 0xFFFFu));
    FCellBoolean = false;
    FCellText = caption;
}

void TCellGraphic::SetBitButton(int bw, int bh, const QString& caption, TObject* Glyph, TCellHAlign hal,
                                TCellVAlign val)
{
    SetButton(bw, bh, caption, hal, val);
    FCellType = ctBitButton;
    FCellBitmap = Glyph;
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = Data ? ctDataCheckBox : ctCheckBox;
    FCellAngle = 0;
    FCellBoolean = Value;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellTransparent = Flat;
}

void TCellGraphic::SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctTriStateCheckBox;
    FCellCheckBoxState = Value;
    FCellBoolean = false;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellTransparent = Flat;
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctRadioButton;
    FCellAngle = 0;
    FCellBoolean = Value;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellTransparent = Flat;
}

void TCellGraphic::SetAngle(int16_t AAngle)
{
    FCellType = ctRotated;
    int a = AAngle;
    while (a < 0) a += 360;
    while (a > 360) a -= 360;
    FCellAngle = a;
}

void TCellGraphic::SetInterfacedCell(TObject* AObject)
{
    FCellType = ctInterface;
    FCellBitmap = AObject;
}

TPoint TCellGraphic::GetPictureSize(int cw, int rh, bool hastext, TPoint Default) const
{
    (void)hastext;
    int w = 0, h = 0;
    if (FCellType == ctPicture) {
        auto* p = dynamic_cast<TPicture*>(FCellBitmap);
        if (!p) return Default;
        w = p->Width();
        h = p->Height();
    } else if (FCellType == ctFilePicture) {
        auto* p = dynamic_cast<TFilePicture*>(FCellBitmap);
        if (!p) return Default;
        w = p->Width();
        h = p->Height();
    } else {
        return Default;
    }
    const int a = cw - FCellIndex, b = rh - FCellIndex;
    const bool fits = a >= w && b >= h;
    // Fitted by the smaller ratio; the other side takes the whole room.
    auto aspect = [&](bool capped) {
        double rx = w <= 0 ? 1.0 : double(a) / w;
        double ry = h <= 0 ? 1.0 : double(b) / h;
        if (capped) {
            rx = std::min(rx, 1.0);
            ry = std::min(ry, 1.0);
        }
        if (rx >= ry) return TPoint{int(std::nearbyint(w * ry)), b};
        return TPoint{a, int(std::nearbyint(h * rx))};
    };
    switch (FCellAngle) {
    case Stretch: return {a, b};
    case Shrink: return fits ? TPoint{w, h} : TPoint{a, b};
    case StretchWithAspectRatio: return aspect(false);
    case ShrinkWithAspectRatio: return fits ? TPoint{w, h} : aspect(true);
    default: return {w, h};
    }
}
