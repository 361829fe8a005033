#pragma once
// The options window: edits the shared settings object.
#include "toolkit/form.h"

class TfrmOption : public toolkit::Form {
public:
    TfrmOption();
};

// The program-wide reference; nullptr while no such window exists.
extern TfrmOption* frmOption;
