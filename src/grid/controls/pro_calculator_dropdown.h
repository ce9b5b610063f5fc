#pragma once
// A floating-point drop-down edit whose pop-up is a pocket calculator.  The edit is the
// calculator's display: every result is written into it, and what it holds when the pop-up
// closes is the value.  Operations chain from left to right without precedence; the
// accumulator, the pending operation and the memory survive closing and reopening.
#include "grid/controls/button_panel.h"
#include "grid/controls/pro_custom_dropdown.h"

class TProCalculatorDropdown : public TProCustomDropDown {
public:
    explicit TProCalculatorDropdown(QWidget* AParent = nullptr);

    bool ShowThousandSeparator() const { return FShowThousandSeparator; }
    void SetShowThousandSeparator(bool v);
    TButtonAppearance& CalcButtonAppearance() { return FCalcButtonAppearance; }
    void SetCalcButtonAppearance(const TButtonAppearance& v) { FCalcButtonAppearance.Assign(v); }
    // The display as a number (0 when it holds none).
    double Value();
    void SetValue(double v);
    // The equals key.
    void CalcResult();
    // Forgets the pending operation and the accumulator (the memory stays).
    void ResetCalculation();
    // The panel of the pop-up, made with the form.
    TCustomButtonPanel* ButtonPanel() const { return FPanel; }
    // Runs the calculator key of a button of the panel.
    void ButtonClick(int Index);

    void SetComponentStyle(TProStyle AStyle) override;

    // Key codes of the calculator's buttons (the buttons' Tag).
    enum : int {
        ckAdd = 10, ckSubtract = 11, ckMultiply = 12, ckDivide = 13, ckSign = 14, ckPoint = 15, ckClear = 16,
        ckEquals = 17, ckPercent = 18, ckOn = 30, ckBack = 31, ckClearEntry = 32, ckMemoryClear = 33,
        ckMemoryRecall = 34, ckMemoryStore = 35, ckMemoryAdd = 36, ckSqrt = 37, ckReciprocal = 38
    };

protected:
    // Runs before every button or key of the calculator.
    virtual void BeforeCalcInput() {}
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoHideDropDown(bool Cancel) override;
    void DropDownFormKeyDown(QKeyEvent* e) override;
    void HandleKeyDown(QKeyEvent* e) override;
    bool HandleChar(QKeyEvent* e) override;

private:
    enum TPendingOp { opNone = -1, opAdd = 0, opMultiply = 1, opSubtract = 2, opDivide = 3 };
    bool Shown() const;
    // Reads the display ("Error" and empty count as 0); False when it holds no number.
    bool ReadDisplay(double& X);
    // Shows X by the edit type and precision; a value out of range shows "Error".
    void ShowNumber(double X);
    void ShowError();
    bool CompletePending();
    void Operation(TPendingOp Op);
    void Percent();
    void Digit(int D);
    void RunKey(int Code);
    void ClearAll(bool ResetDecimal);
    bool MaxLengthReached() const;
    static QString GeneralFormat(double X);

    TCustomButtonPanel* FPanel = nullptr;
    TButtonAppearance FCalcButtonAppearance;
    bool FShowThousandSeparator = false;
    TPendingOp FPending = opNone;
    double FAccumulator = 0;
    bool FNewValue = false;
    int FDecimalPos = 0;
    double FMemory = 0;
    bool FClosed = true;
    QString FTextBeforeDrop;
};
