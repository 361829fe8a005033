#pragma once
// The splash window shown while the long-lived windows are created.
#include "toolkit/control.h"
#include "toolkit/form.h"

class TFrm_Splash : public toolkit::Form {
public:
    TFrm_Splash();

    toolkit::Picture Image2;      // the splash picture; the window takes its size
    toolkit::Label lProductTitle; // set when the window is shown
    toolkit::Label L_Hint;        // empty; nothing writes it

    void FormShow();
};

extern TFrm_Splash* Frm_Splash;
