#include "platform/ui/graphics.h"

#include <QApplication>
#include <QPalette>

namespace {
QColor SystemColor(int index)
{
    const QPalette p = QApplication::palette();
    switch (index) {
    case 0: return p.color(QPalette::Button);                      // scroll bar
    case 1: return p.color(QPalette::Window);                      // desktop
    case 2: case 27: return p.color(QPalette::Highlight);          // active caption
    case 3: case 28: return p.color(QPalette::Inactive, QPalette::Highlight);
    case 4: case 30: return p.color(QPalette::Window);             // menu
    case 5: return p.color(QPalette::Base);                        // window
    case 6: return p.color(QPalette::Shadow);                      // window frame
    case 7: return p.color(QPalette::WindowText);                  // menu text
    case 8: return p.color(QPalette::Text);                        // window text
    case 9: return p.color(QPalette::HighlightedText);             // caption text
    case 10: case 11: return p.color(QPalette::Window);            // borders
    case 12: return p.color(QPalette::Dark);                       // application workspace
    case 13: case 29: return p.color(QPalette::Highlight);
    case 14: return p.color(QPalette::HighlightedText);
    case 15: return p.color(QPalette::Button);                     // button face
    case 16: return p.color(QPalette::Mid);                        // button shadow
    case 17: return p.color(QPalette::Disabled, QPalette::Text);   // grey text
    case 18: return p.color(QPalette::ButtonText);
    case 19: return p.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20: return p.color(QPalette::Light);                      // button highlight
    case 21: return p.color(QPalette::Shadow);                     // 3D dark shadow
    case 22: return p.color(QPalette::Midlight);                   // 3D light
    case 23: return p.color(QPalette::ToolTipText);
    case 24: return p.color(QPalette::ToolTipBase);
    case 26: return p.color(QPalette::Link);                       // hot light
    default: return QColor(Qt::black);
    }
}
}  // namespace

TColor ColorToRGB(TColor c)
{
    // "not set" is no colour: it stays clNone rather than becoming white
    if (c == clNone) return c;
    if (IsSystemColor(c)) return QColorToColor(SystemColor(c & 0xFF));
    return c & 0x00FFFFFF;
}

QColor ColorToQColor(TColor c)
{
    if (c == clNone) return QColor(Qt::transparent);
    if (IsSystemColor(c)) return SystemColor(c & 0xFF);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor QColorToColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }
