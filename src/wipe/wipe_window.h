#pragma once
// The privacy wipe window: nine traces to remove, each a setting, and one button that
// removes the ticked ones in the order of the list.
#include <array>

#include "settings/setting.h"
#include "toolkit/check_list.h"
#include "toolkit/control.h"
#include "toolkit/form.h"

class TfrmWipe : public toolkit::Form {
public:
    TfrmWipe();

    toolkit::CheckList clCleanOption;
    toolkit::ProgressBar pb_Wipe;
    toolkit::Button btnClean;
    toolkit::Button RzButton6;
    toolkit::Panel Bevel1;

    // The setting behind each item of clCleanOption, by index.
    static constexpr int ItemCount = 9;
    static std::array<bool TSetting::*, ItemCount> ItemProperties();
    // The caption of each item, by index (the options window lists the same items).
    static std::array<const char*, ItemCount> ItemCaptions();

    void FormShow();
    void FormCloseQuery(bool& canClose);
    void clCleanOptionChange(int index, toolkit::CheckState state);
    void btnCleanClick();
    void RzButton6Click();

    // True while a run is going on.
    bool Running() const { return running_; }

private:
    // Runs the step of item `index`.
    void RunItem(int index);
    bool running_ = false;
};

// The program-wide reference; nullptr while no such window exists.
extern TfrmWipe* frmWipe;
