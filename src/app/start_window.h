#pragma once
// The start window, the application's main form: six launcher pictures that open the
// tools, a text box that explains the tool under the mouse, and the owner of the settings
// object for the whole run.
#include <array>
#include <memory>

#include "app/form_owner.h"
#include "settings/setting.h"
#include "toolkit/control.h"
#include "toolkit/form.h"
#include "toolkit/timer.h"
#include "update/self_updater.h"

// Texts for the launchers by their Tag (1 to 6); entry 0 belongs to no picture.
extern const std::array<const char*, 7> LauncherTips;

class TFrm_Wizard : public toolkit::Form {
public:
    TFrm_Wizard();
    // Saves and frees the settings (FormDestroy), then the windows it owns go.
    ~TFrm_Wizard() override;

    toolkit::Picture Image1; // banner
    toolkit::Label lTitle;
    toolkit::Picture Image8; // background of the launchers
    toolkit::Picture imgClean, ImgDiag, ImgOption, ImgWipe, ImgHelp, ImgUninstall;
    toolkit::Memo mInfo;
    toolkit::Label Label1, lDate, Label3, lVersion, Label6;
    toolkit::BalloonHints RzBalloonHints1;
    toolkit::Timer Timer1;
    toolkit::Panel RzSeparator1, Bevel1;
    // The update component; its check starts from Label6 alone.
    TupSelfUpdater SelfUpdater1;

    void FormCreate() {}
    void FormShow();
    void FormDestroy();
    void imgCleanClick();
    void ImgDiagClick();
    void ImgOptionClick();
    void ImgWipeClick();
    void ImgHelpClick();
    void ImgUninstallClick();
    void Timer1Timer();
    void Label6Click();

    // The windows this one created.
    FormOwner& Components() { return components_; }

private:
    std::unique_ptr<TSetting> setting_;
    FormOwner components_;
};

extern TFrm_Wizard* Frm_Wizard;
