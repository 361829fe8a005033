#pragma once
// The tip-of-the-day window: one hint at a time from "Tips.CFG" beside the program, shown
// through a small page "tips.htm" so that a hint may carry markup. Created once at start-up
// and kept until the program ends, so the next showing goes on where the last one stopped.
#include <array>
#include <string>

#include "toolkit/control.h"
#include "toolkit/form.h"

class TFrm_Tips : public toolkit::Form {
public:
    TFrm_Tips();

    toolkit::Picture Image1; // the icon on the grey strip at the left
    toolkit::Label Label1;
    toolkit::HtmlView wbTips;
    toolkit::Button Btn_NextTips, Btn_DeletePlan;
    toolkit::CheckBox Ckb_Hint;

    static constexpr int MaxTips = 100;
    // Entry n (1 to MaxTips) is line n of the tips file; entries never filled are empty.
    std::array<std::string, MaxTips + 1> TipList;
    int TipCount = 0;
    // The entry last shown, 1-based.
    int CurrentTip = 1;
    // The program's folder, ending in a separator.
    std::string ProgramFolder;

    void FormCreate();
    void FormShow();
    void Btn_NextTipsClick();
    void Btn_DeletePlanClick();
    void Ckb_HintClick();
    void LoadTips();
    void ShowTip(int n);

    // The page that shows `tip`.
    static std::string TipPage(const std::string& tip);
};

// The program-wide reference; nullptr while no such window exists.
extern TFrm_Tips* Frm_Tips;
