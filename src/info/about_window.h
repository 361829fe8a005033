#pragma once
// The about window.
#include "toolkit/form.h"

class TFrm_About : public toolkit::Form {
public:
    TFrm_About();
};

// The program-wide reference; nullptr while no such window exists.
extern TFrm_About* Frm_About;
