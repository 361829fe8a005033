#pragma once
// The tip-of-the-day window.
#include "toolkit/form.h"

class TFrm_Tips : public toolkit::Form {
public:
    TFrm_Tips();
};

// The program-wide reference; nullptr while no such window exists.
extern TFrm_Tips* Frm_Tips;
