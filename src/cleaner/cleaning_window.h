#pragma once
// The cleaning window: finds junk files and deletes the ones the user leaves ticked.
#include "toolkit/form.h"

class TfrmCleaning : public toolkit::Form {
public:
    TfrmCleaning();
};

// The program-wide reference; nullptr while no such window exists.
extern TfrmCleaning* frmCleaning;
