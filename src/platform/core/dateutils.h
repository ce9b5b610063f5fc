#pragma once
// Dates and times as a double counting days since 30 December 1899, the fraction being the
// time of day, so that dates compare and subtract as plain numbers.
#include <cstdint>

using TDateTime = double;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
// Throws EConvertError for a date that does not exist.
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeDate(TDateTime date, int& year, int& month, int& day);
void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec);
