#include "platform/ui/size_grip.h"

#include <QWidget>

void TSizeGrip::Begin(const QPoint& GlobalPos)
{
    FSizing = true;
    FStart = GlobalPos;
    FStartSize = FWindow->size();
}

void TSizeGrip::Move(const QPoint& GlobalPos)
{
    if (!FSizing) return;
    const QPoint d = GlobalPos - FStart;
    const QSize min = FWindow->minimumSize();
    FWindow->resize(std::max(min.width(), FStartSize.width() + d.x()), std::max(min.height(), FStartSize.height() + d.y()));
}
