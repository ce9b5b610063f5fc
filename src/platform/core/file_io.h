#pragma once
// Whole-file writes: the content goes to a temporary file beside the target, which then
// replaces the target, so a failed write never leaves a half file behind.
#include <QByteArray>
#include <QString>

// Throws EInOutError with the platform's text when the file cannot be written.
void SaveFileAtomic(const QString& path, const QByteArray& data);
// Same, reporting instead of throwing: returns false and fills errorText.
bool TrySaveFileAtomic(const QString& path, const QByteArray& data, QString* errorText);
// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const QString& path, QByteArray& data);
