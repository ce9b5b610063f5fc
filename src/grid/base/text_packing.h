#pragma once
// Packings of cell texts for line-oriented media (text files, CSV, clipboard, print
// settings) and the classification of a cell text.  Each packing has one partner that
// undoes it; the pairs are not interchangeable.  Positions are 1-based, 0 = not found.
#include <QString>
#include <QStringList>

// One cell per line in the grid's own text files and streams.
QString PackLineBreaks(const QString& S);
QString UnpackLineBreaks(const QString& S, bool AllLines);

// CSV output and input of multi-line cells.
void CSVQuoteMultiLine(QString& S);
void VTabToCRLF(QString& S);
// CSV in the JavaCSV style ("^" marks an empty cell).
void CRToTilde(QString& S);
void TildeToCRLF(QString& S);
// Header and footer texts of the saved print settings.
QString CRToBackslashN(const QString& S);
QString BackslashNToCR(const QString& S);

void CRLFToLF(QString& S);
QString StripCR(const QString& S);
QString CRToLF(const QString& S);
QString CRToBreakTag(const QString& S);

QString EscapeDoubleQuotes(const QString& S);
QString UndoubleChar(QChar Ch, const QString& S);
int SingleCharPos(QChar Ch, const QString& S, int& P);
int CountSingleChars(QChar Ch, const QString& S);
int CountChar(QChar Ch, const QString& S);

// OEM code page conversion of the CSV reader and writer (OemConvert).
void TextToOem(QString& S);
void OemToText(QString& S);

// Wide texts stored in an ordinary cell: "|\" then high byte, low byte per character.
QString PackWideText(const QString& W);
QString UnpackWideText(const QString& S);
int WidePos(const QString& SubStr, const QString& S);

// 0 plain, 1 mini-HTML, 2 rich text, 3 formula, 5 packed wide text.
int CellTextKind(const QString& S, bool AllowHTML);

void CutFirstLine(QString& S, bool KeepRest, QString& Line);
int CountTextLines(const QString& S, bool MultiLine);
void FillChars(QString& S, QChar Ch);
QString NextToken(QString& S, const QString& Delimiter);
QString JoinStrings(const QStringList& List);
int CharPos(QChar Ch, const QString& S);
int VarCharPos(QChar Ch, const QString& S, int& P);
int VarPos(const QString& SubStr, const QString& S, int& P);
int UpperPos(const QString& SubStr, const QString& S);
bool IsURLText(const QString& S);
void StripURLScheme(QString& S);
bool IsWordBreakChar(QChar Ch);
QString CapitalizeWords(const QString& S);
