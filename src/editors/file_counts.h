#pragma once
// Numbers that the editors take from table files and use as counts: a frame's data bytes
// fill the byte lists, byte totals place frames.  Each is bounded to what the gateway can
// hold before it is used, and the rows that held more are named once the file is read.
#include <QString>
#include <QStringList>

// The most data bytes one J1939 frame carries (with the transport protocol).
constexpr int Longest_Frame = 1785;

class TFileCounts {
public:
    TFileCounts(int low, int high) : FLow(low), FHigh(high) {}
    // `value` of table row `row` (from 1), brought into low..high; a value outside is noted.
    int Bounded(int value, int row);
    bool Any() const { return !FRows.isEmpty(); }
    // The warning for the rows noted, naming the file; empty when every value fitted.
    QString Warning(const QString& path) const;
    // Shows the warning, when there is one.
    void Report(const QString& path) const;

private:
    int FLow, FHigh;
    QStringList FRows;
};
