#pragma once
// The grid's mini-HTML: a text with tags that change the drawing state as they are met
// (no tree, no nesting model, no errors).  RenderHtmlCell lays such a text out in a
// rectangle line by line, each line measured first and then drawn (or hit-tested) at its
// aligned place, and reports its size, its plain text and what lies under a point.
#include "platform/ui/canvas.h"

#include <QString>

class TCustomImageList;
class THTMLPictureCache;
class TPictureContainer;
class QWidget;

// What one call is given and what it answers, named as the call's parameters.
struct THtmlRenderArgs {
    // in
    TCustomImageList* ImageList = nullptr;
    int HitX = 0;
    int HitY = 0;
    int FocusAnchorIndex = -1;  // from 0; -1 none
    int HoverAnchorIndex = -1;  // from 1; -1 or 0 none
    int ShadowOffset = 1;
    bool HitTestOnly = false;   // nothing drawn; a control whose ID is ControlID counts as hit
    bool MeasureOnly = false;   // one pass, no drawing, lines not cut at the bottom
    bool Printing = false;
    bool Selected = false;      // tags leave font colour and text background alone
    bool BlinkVisible = true;
    bool HoverAnchorOnly = false;
    bool WordWrap = true;
    bool MouseDown = false;
    double ImageScale = 1.0;
    TColor URLColor = clBlue;
    TColor HoverBrushColor = clNone;
    TColor HoverFontColor = clNone;
    TColor ShadowColor = clGray;
    THTMLPictureCache* PictureCache = nullptr;
    TPictureContainer* PictureContainer = nullptr;
    QWidget* ThemeWindow = nullptr;
    int BiDiMode = 0;           // 0 left to right, 1 right to left, other: right-to-left reading
    // out
    QString AnchorHref;         // "ctrl" when a form control is hit
    QString PlainText;          // CR for every line break tag
    QString FocusAnchorHref;
    QString AnchorTitle;
    int MeasuredWidth = 0;
    int MeasuredHeight = 0;
    int AnchorCount = 0;
    int HitAnchorIndex = -1;    // from 1
    TRect HitAnchorRect;
    TRect ControlRect;
    QString ControlID;          // in with HitTestOnly
    QString ControlValue;
    QString ControlType;
};

// True when the hit-test point lies on an anchor or a form control (never with MeasureOnly).
bool RenderHtmlCell(TCanvas* Canvas, const QString& Text, const TRect& Rect, THtmlRenderArgs& Args);

// DrawText flags adjusted for a right-to-left locale.
uint32_t BiDiDrawTextFlags(uint32_t Flags, int BiDiMode);

// Preparation of a whole text before layout: entities, "<#" sequences, line breaks.
QString PrepareHtmlText(const QString& Text);
QString UnwrapHashTags(const QString& S);
QString TextToBreakTags(const QString& S);
// The entities of one text run: "&nbsp;", "&lt;", "&gt;".
QString ConvertRunEntities(const QString& Run);
// The point size a FONT tag's SIZE value gives; 0 when it gives none.
int HTMLFontSize(const QString& SizeText);
