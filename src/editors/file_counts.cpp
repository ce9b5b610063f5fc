#include "editors/file_counts.h"

#include "platform/ui/dialogs.h"

#include <algorithm>

int TFileCounts::Bounded(int value, int row)
{
    if (value >= FLow && value <= FHigh) return value;
    FRows << QString::number(row);
    return std::clamp(value, FLow, FHigh);
}

QString TFileCounts::Warning(const QString& path) const
{
    if (FRows.isEmpty()) return QString();
    return QStringLiteral("The table file \"%1\" holds %2 byte count(s) outside %3 to %4 (rows %5); this window reads "
                          "them as the nearest of these bounds.")
        .arg(path)
        .arg(FRows.size())
        .arg(FLow)
        .arg(FHigh)
        .arg(FRows.join(QStringLiteral(", ")));
}

void TFileCounts::Report(const QString& path) const
{
    if (Any()) MessageDlg(Warning(path), TMsgDlgType::mtWarning, mbOK);
}
