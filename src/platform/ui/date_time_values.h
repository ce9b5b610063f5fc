#pragma once
// Dates and times between the platform's TDateTime numbers and Qt's date-time values, and
// the month arithmetic the date editors step with.
#include "platform/core/dateutils.h"

#include <QDateTime>

TDateTime Now();
TDateTime DateTimeOf(const QDateTime& dt);
QDateTime QDateTimeOf(TDateTime dt);
// Adds months to a date, clipping the day to the length of the new month; keeps the time.
TDateTime IncMonth(TDateTime dt, int months);
