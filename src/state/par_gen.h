#pragma once
// ParGen.xml: the communication parameters of a configuration.  Every model has its own
// key set in a fixed order; the document holds exactly those keys under the root Par_Gen,
// followed at top level by the model's version comment.
//
// Values travel as a key -> text map in the form the parameters window writes them:
// text keys as typed, index keys as the decimal list position, flags as "1" or "0".
#include <QList>
#include <QMap>
#include <QString>

enum class TParKind {
    Text,      // an edit's text, stored unchanged
    Index,     // zero-based position in a drop-down list
    Flag,      // "1" checked, "0" unchecked
    Constant   // fixed text written whatever the window holds
};

struct TParKey {
    QString Name;     // element name, case-sensitive
    QString Control;  // the window control that holds it; empty for CANType
    TParKind Kind;
    QString Default;  // text, index or flag as stored; for a constant its fixed text
};

using TParGenMap = QMap<QString, QString>;

// The key set of a model in document order (empty for a code that is no model).
const QList<TParKey>& ParGen_Keys(int modelCode);
// The key of that name in the model's set, or nullptr.
const TParKey* ParGen_Key(int modelCode, const QString& name);
// "SW_VERSION = <version>" of the model.
QString ParGen_Version_Comment(int modelCode);
// Every key of the model at its default.
TParGenMap ParGen_Defaults(int modelCode);

enum class TParGenRead { Missing, Loaded, Damaged };

// The text of every element directly under the document's first node, the first element
// of each name being the one read; a name whose first element holds child elements is
// left out (a later element of that name does not count).  Missing: no file
// (elements empty).  Damaged: the file exists but is not well-formed XML; errorText then
// names the file and the parser's reason.
TParGenRead Read_ParGen_Elements(const QString& path, TParGenMap& elements, QString* errorText = nullptr);

// The model's values from the document at path, key by key: a missing element takes the
// key's default; an index that is no integer takes its default index; a flag is "1" only
// for the exact text "1"; constants take their fixed text.  Without a file every key has
// its default.  A damaged file leaves values at the defaults and reports Damaged.
TParGenRead Read_ParGen(const QString& path, int modelCode, TParGenMap& values, QString* errorText = nullptr);

// The document of the model's keys with the values given (a key absent from values is
// written with its default).  No declaration; the version comment follows the root.
QByteArray ParGen_Document(int modelCode, const TParGenMap& values);
// Writes that document whole through a temporary file; throws EInOutError on failure.
void Write_ParGen(const QString& path, int modelCode, const TParGenMap& values);
