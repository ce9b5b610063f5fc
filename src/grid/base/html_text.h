#pragma once
// Text routines around the grid's mini-HTML that do not draw: the clipboard's HTML format,
// links, entities, tag removal and highlighting, plain text, the colours of the markup and
// the form controls ("<CONTROL ...>") embedded in cell texts.  Positions are 1-based, 0 = none.
#include "platform/ui/graphics.h"

#include <QString>

// Fragment becomes a whole text of the clipboard's HTML format (offsets in characters).
void BuildClipboardHtml(QString& Fragment);

// The first URL that starts with Prefix (upper case) becomes an anchor; False when S has none.
bool InsertURLLink(const QString& S, const QString& Prefix, QString& HTML);

QString DecodeHTMLEntities(const QString& S, bool Accents);
QString EncodeHTMLEntities(const QString& S, bool Accents);
QString SpacesToNbsp(const QString& S);
QString PasswordMask(const QString& S);

QString HtmlToPlainText(const QString& HTML);
QString StripHTMLTags(const QString& HTML);
int VisibleToTextIndex(const QString& HTML, int N);
int FindTextFrom(const QString& SubStr, const QString& S, int Offset, int& P, bool CaseSensitive);

void HighlightInHTML(const QString& HTML, const QString& Text, const QString& Tag, bool CaseSensitive,
                     QString& Result);
void RemoveHTMLTag(const QString& HTML, const QString& Tag, QString& Result);

// Colours of the HI tag, shared by every grid of the program.
void SetHTMLHighlightColors(TColor BackColor, TColor TextColor);
TColor HTMLHighlightColor();
TColor HTMLHighlightTextColor();

// "clred", "clwindow" ... in lower case; unknown names give black.
TColor HTMLColorByName(const QString& Name);
// "#RRGGBB" as $00BBGGRR; a missing or bad pair counts 0.
TColor HTMLHexColor(const QString& Value);

// Form controls of a cell text; a control is known by its ID (exact case).
void ParseControlTag(const QString& Tag, QString& Type, QString& ID, QString& Value, QString& Width,
                     QString& Height, QString& Prop, QString& MaxLen);
bool HasControlTag(const QString& HTML);
void NextControlID(const QString& HTML, const QString& ID, QString& NextID);
bool GetControlValue(const QString& HTML, const QString& ID, QString& Value);
void GetControlProp(const QString& HTML, const QString& ID, QString& Prop);
int GetControlMaxLen(const QString& HTML, const QString& ID);
bool SetControlValue(QString& HTML, const QString& ID, const QString& Value);
QString ResetRadioControls(const QString& HTML);

int PosNoCase(const QString& SubStr, const QString& S);
int VarUpperPos(const QString& SubStr, const QString& S, int& P);
int TagVarPos(const QString& SubStr, const QString& S, int& P);
bool ReplaceFirstNoCase(const QString& SubStr, const QString& NewStr, QString& S);
// The leading decimal digits of S (0 when none); saturates instead of overflowing.
int StrToIntPartial(const QString& S);
