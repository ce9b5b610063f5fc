#pragma once
// Base of the cell checkers (spelling, formats) that a grid calls to correct or mark the
// texts of a range.  This base leaves every text as it is.
#include "platform/core/classes.h"

#include <QObject>

class TProStringGridCheck : public QObject, public TObject {
public:
    explicit TProStringGridCheck(QObject* AOwner = nullptr) : QObject(AOwner) {}
    QString ClassName() const override { return QStringLiteral("TProStringGridCheck"); }

    bool GotoCell() const { return FGotoCell; }
    void SetGotoCell(bool v) { FGotoCell = v; }
    bool AutoCorrect() const { return FAutoCorrect; }
    void SetAutoCorrect(bool v) { FAutoCorrect = v; }
    bool AutoMarkError() const { return FAutoMarkError; }
    void SetAutoMarkError(bool v) { FAutoMarkError = v; }
    bool UseCorrect() const { return FUseCorrect; }
    void SetUseCorrect(bool v) { FUseCorrect = v; }
    bool UseMarkError() const { return FUseMarkError; }
    void SetUseMarkError(bool v) { FUseMarkError = v; }

    virtual QString MarkError(int ACol, int ARow, const QString& s) { (void)ACol; (void)ARow; return s; }
    virtual QString Correct(int ACol, int ARow, const QString& s) { (void)ACol; (void)ARow; return s; }
    virtual void StartCheck() {}
    virtual void StopCheck() {}

private:
    bool FGotoCell = false;
    bool FAutoCorrect = false;
    bool FAutoMarkError = false;
    bool FUseCorrect = false;
    bool FUseMarkError = false;
};
