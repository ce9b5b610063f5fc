#include "shell/octet_edits.h"

#include <QLineEdit>

bool Octet_Dot(std::span<QLineEdit* const> octets, QLineEdit* edit)
{
    for (std::size_t i = 0; i + 1 < octets.size(); ++i) {
        if (octets[i] != edit) continue;
        QLineEdit* next = octets[i + 1];
        if (next->isEnabled() && next->isVisibleTo(next->window())) {
            next->setFocus(Qt::TabFocusReason);
            next->selectAll();
        }
        return true;
    }
    return false;
}
