// CKurvCalcF: the dialog of the five calculations on the function (value, derivative, integral,
// bisection, Newton), one mode per opening command.
#pragma once

#include "framework/dialog.h"

struct FitData;

class CKurvCalcF : public CDialog {
  public:
    // `mode` is the opening command: 230, 232, 233, 1024 or 1025 (any other value behaves as
    // 230). The record is only read. The parent argument is not used: the framework's main window
    // owns the dialog.
    CKurvCalcF(FitData* data, int mode, CWnd* parent = nullptr);

    CEdit input3Edit;
    CStatic resultStatic;
    CStatic input3Label;
    CButton calculerButton;
    CEdit input2Edit;
    CEdit input1Edit;
    CStatic input2Label;
    CStatic input1Label;
    CStatic coefLabel[6];  // A= .. F=
    CStatic coefValue[6];  // A .. F

    CString coefText[6];
    CString functionLabel;
    CString input1Text;
    CString input2Text;
    CString input3Text;
    CString resultText;
    CString label1Text;
    CString label2Text;
    CString label3Text;

    FitData* fitData;
    int mode;

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

  public:
    // Shows the labels and values of the function's coefficients and hides the others.
    void ShowCoefficients();
    // Calculer is enabled while every input the mode needs reads as a number; clears the result
    // line.
    void CheckInputs();

  private:
    // How many inputs the mode needs: 1, 2 or 3 (the first ones).
    int InputsNeeded() const;
    // The numbers of the needed inputs; false when one of them does not read.
    bool ReadInputs(double* values) const;

    afx_msg void OnChangeInput();
    // Runs the mode's calculation and shows its result line or its error text.
    afx_msg void OnCalculer();

    DECLARE_MESSAGE_MAP()
};
