#pragma once
// Small shared routines of the update windows.
#include <QString>
#include <QStringList>

// Splits a dotted IPv4 text into its four octet texts; true when all four are 0..255.
// The out-parameters keep what was assigned before a false return.
bool Split_IP_Address(const QString& ip, QString& part1, QString& part2, QString& part3, QString& part4);

// The numbers of the serial ports present ("1", "7", ...), in ascending order: a port is
// listed when it opens or is held by another program.
QStringList Enum_Com_Ports();
