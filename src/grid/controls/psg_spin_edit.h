#pragma once
// A single-line edit with up/down buttons that steps an integer, a floating-point number, a
// date or a time of day.  The value properties are views of the text: getters parse it,
// setters clamp and write it, in the process locale settings.
#include "grid/controls/psg_spin_button.h"
#include "platform/core/dateutils.h"

#include <QLineEdit>

enum TPsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TEditAlign { eaLeft, eaRight, eaCenter };

class TPsgSpinEdit : public QLineEdit {
public:
    explicit TPsgSpinEdit(QWidget* AParent);

    TPsgSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TPsgSpinType v);

    int Value() const;
    void SetValue(int v);
    int MinValue = 0, MaxValue = 100, Increment = 1;

    double FloatValue() const;
    void SetFloatValue(double v);
    double MinFloatValue = 0.0, MaxFloatValue = 100.0;
    double IncrementFloat = 0.1, IncrementFloatPage = 1.0;
    int Precision() const { return FPrecision; }
    void SetPrecision(int v);

    TDateTime DateValue() const;
    void SetDateValue(TDateTime v);
    TDateTime TimeValue() const;
    void SetTimeValue(TDateTime v);
    TDateTime MinDateValue = 0, MaxDateValue = 0;
    bool ShowSeconds = true;
    int IncrementHours = 1, IncrementMinutes = 1, IncrementSeconds = 1;

    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    // Entering the edit other than by a left click selects the whole text.
    bool AutoSelect = true;
    bool ReturnIsTab = false;
    bool ExcelStyleDecimalSeparator = false;
    bool AllowEmptyValue = false;
    TSpinDirection Direction() const { return FButton->Direction(); }
    void SetDirection(TSpinDirection v);
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign v);
    void SetSpinFlat(bool v) { FButton->SetFlat(v); }
    void SetSpinTransparent(bool v) { FButton->SetTransparent(v); }
    bool IsWinXP() const { return FButton->IsWinXP(); }
    void SetIsWinXP(bool v) { FButton->SetIsWinXP(v); }
    TPsgSpinButton* Button() const { return FButton; }

    virtual void IncreaseValue(bool Page);
    virtual void DecreaseValue(bool Page);
    virtual bool IsValidChar(QChar Key) const;
    virtual void UpClick(QObject* Sender);
    virtual void DownClick(QObject* Sender);

    int GetMinHeight() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    // Typed characters pass the filter; a refused one beeps.  True when the key was eaten.
    bool FilterChar(QKeyEvent* e);

private:
    void Step(int Sign, bool Page);
    void SetEditRect();
    TPsgSpinButton* FButton;
    TPsgSpinType FSpinType = sptNormal;
    int FPrecision = 0;
    bool FEditorEnabled = true;
    TEditAlign FEditAlign = eaLeft;
    TDateTime FDateValue = 0, FTimeValue = 0;
};
