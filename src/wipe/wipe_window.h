#pragma once
// The privacy wipe window.
#include "toolkit/form.h"

class TfrmWipe : public toolkit::Form {
public:
    TfrmWipe();
};

// The program-wide reference; nullptr while no such window exists.
extern TfrmWipe* frmWipe;
