#pragma once
// The disk space analyzer window.
#include "toolkit/form.h"

class TFrm_Main : public toolkit::Form {
public:
    TFrm_Main();
};

// The program-wide reference; nullptr while no such window exists.
extern TFrm_Main* Frm_Main;
