#pragma once
// The bitmaps the grid carries as named resources of the program (check box and radio
// glyphs, node glyphs).  They are drawn when loaded, so nothing needs to ship beside the
// executable; each load makes a fresh bitmap.
#include "platform/core/exception.h"
#include "platform/ui/canvas.h"

// A resource name the program does not carry.
class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

bool HasResourceBitmap(const QString& ResName);
// Loads the named bitmap into Bitmap; raises EResNotFound ("Resource <name> not found").
void LoadResourceBitmap(TBitmap& Bitmap, const QString& ResName);
