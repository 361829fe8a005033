#pragma once
// The program manager window: the programs registered as installed.
#include "toolkit/form.h"

class TfrmUninstall : public toolkit::Form {
public:
    TfrmUninstall();
};

// The program-wide reference; nullptr while no such window exists.
extern TfrmUninstall* frmUninstall;
