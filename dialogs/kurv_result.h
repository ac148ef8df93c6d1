// CKurvResult: the dialog that reports a finished fit, shrunk to the function's coefficients.
#pragma once

#include "framework/dialog.h"

struct FitData;

// "La distance euclidienne est " followed by `number`.
CString MakeDistanceText(const CString& number);

class CKurvResult : public CDialog {
  public:
    // `title` is the verdict line. The record is only read.
    CKurvResult(FitData* data, const CString& title, CWnd* parent = nullptr);

    CStatic distanceLine;
    CStatic formulaLine;
    CButton okButton;
    CStatic nameLabel[6];   // A= .. F=
    CStatic stateLabel[6];  // A .. F
    CStatic valueLabel[6];  // A .. F

    CString valueText[6];
    CString stateText[6];
    CString formulaText;
    CString distanceText;
    CString titleText;

    FitData* fitData;

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

  public:
    // Fills the rows of the function's coefficients, hides the others, moves OK and the distance
    // line up by 22 pixels per missing row, shortens the dialog as much and centres it on its
    // owner.
    void ShowCoefficients();

  private:
    DECLARE_MESSAGE_MAP()
};
