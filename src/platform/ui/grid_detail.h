#pragma once
// Small helpers shared by the base grid's source files.
#include "platform/ui/custom_grid.h"

#include <QKeyEvent>
#include <QString>
#include <algorithm>
#include <vector>

namespace grid_detail {

inline const QString kIndexOutOfRange = QStringLiteral("Grid index out of range");
inline const QString kFixedRowTooBig = QStringLiteral("Fixed row count must be less than row count");
inline const QString kFixedColTooBig = QStringLiteral("Fixed column count must be less than column count");

[[noreturn]] inline void InvalidOp(const QString& text)
{
    throw EInvalidGridOperation(text);
}

// The characters a key press types, as the platform hands them out after the key itself:
// none for Delete, which Qt reports as character 127.
inline QString TypedText(const QKeyEvent* e)
{
    QString t = e->text();
    t.remove(QChar(0x7F));
    return t;
}

inline intptr_t HandleOf(const QWidget* w)
{
    return reinterpret_cast<intptr_t>(w);
}

// Position of an index after a column or row moved from `from` to `to`.
inline void MoveAdjust(int& pos, int from, int to)
{
    pos = TGridAxis::ShiftForMove(pos, from, to);
}

}  // namespace grid_detail
