#pragma once
// The filter editor: a small dialog that asks for one junk-file pattern and its description.
#include <string>

#include "toolkit/control.h"
#include "toolkit/form.h"

class TfrmAddFilter : public toolkit::Form {
public:
    TfrmAddFilter();

    toolkit::Label Label2;
    toolkit::Edit eFilterName; // typed letters become capitals
    toolkit::Label Label1;
    toolkit::Edit eFilterMemo; // likewise
    toolkit::Button RzBitBtn1, Btn_Close;
    toolkit::Panel Bevel2;

    void FormShow();
    void eFilterNameKeyDown(int& key);
    void eFilterMemoKeyDown(int& key);
    void RzBitBtn1Click();
    void Btn_CloseClick();
};

struct TFilterAnswer {
    bool Accepted = false;
    std::string FilterName; // as typed (in capitals), not trimmed
    std::string FilterMemo;
};

// Asks for a new pattern in a dialog of its own, destroyed once it has closed. The texts
// are reported however the dialog closed; Accepted tells whether the user accepted them.
TFilterAnswer AskFilter();
