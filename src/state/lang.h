#pragma once
// The language text table: 827 texts by fixed index, built-in English overlaid from
// LANGUAGE/<name>.lng.
#include <QString>
#include <QStringList>

constexpr int Builtin_Lang_Count = 827;
extern const char16_t* const Builtin_English_Texts[Builtin_Lang_Count];

extern QStringList Lang_Texts;
extern int Lang_Count;

void Set_Default_Lang();
void Load_Lang_File(const QString& fileName);
// Fills the table from the file of Lang_Name; a name that is not a plain file name in the
// language folder, or whose file is missing, falls back to English.
void Load_Lang();

// Decodes a language file's bytes: a byte-order mark selects UTF-8 or UTF-16, otherwise
// the text is Windows-1252.
QString Decode_Lang_File_Text(const QByteArray& bytes);
// Applies the entry lines of a language file's text to Lang_Texts.
void Apply_Lang_Text(const QString& text);

// Shorthand for the windows: entry i of the table (empty outside it).
inline QString LT(int i) { return i >= 0 && i < Lang_Texts.size() ? Lang_Texts[i] : QString(); }
