#pragma once
// The octet edits of an IPv4 address, as the parameters window and the update windows
// share them.
#include <QList>
#include <span>

class QLineEdit;

// A "." typed in one of the octets moves on to the next one (when it is shown and enabled)
// and selects its whole text, so that the digits typed next replace the old value instead
// of being appended to it.  Returns false when edit is not one of the octets or is the
// last; what happens to the "." itself is the caller's choice.
bool Octet_Dot(std::span<QLineEdit* const> octets, QLineEdit* edit);
inline bool Octet_Dot(const QList<QLineEdit*>& octets, QLineEdit* edit)
{
    return Octet_Dot(std::span<QLineEdit* const>(octets.constData(), octets.size()), edit);
}
