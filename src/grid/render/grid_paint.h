#pragma once
// Helpers of the paint around the cells that stand on their own.
#include "platform/ui/canvas.h"

#include <QString>

class QTextDocument;

// Where a rich-text cell is laid out: the cell rectangle R (device pixels) less the cell
// offset scaled from 96 dpi to the device, in twips (1/1440 inch).
struct TRichTextFrame {
    TRect Twips;
    int MarginX = 0;
    int MarginY = 0;
};
TRichTextFrame RichTextFrame(const TRect& R, int DpiX, int DpiY, TPoint XYOffset);

// A cell's rich text (RTF) as a document; a text without an RTF header is taken as plain.
void LoadRichText(QTextDocument& Doc, const QString& Text);
