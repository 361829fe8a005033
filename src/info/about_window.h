#pragma once
// The about window: the product's title and version, the notices, and the ways to reach
// the makers (the home page in the browser, a support mail in the mail program).
#include <string>

#include "toolkit/control.h"
#include "toolkit/form.h"

// The product's home page and its support desk's mail address.
extern const char* const HomePage;
extern const char* const SupportEmail;

class TFrm_About : public toolkit::Form {
public:
    TFrm_About();

    toolkit::Picture bk; // the product picture, repeated over the whole window
    toolkit::Label L_EName, L_VerInfo, L_CopyInfo, L_RightInfo, L_Homepage;
    toolkit::Button TransparentButton2;
    toolkit::Label L_Email;
    toolkit::Button Tb_Email;
    toolkit::Panel Bevel1;
    toolkit::Button Btn_Help;

    void FormCreate();
    void FormShow();
    void L_HomepageClick();
    void Tb_EmailClick();
    void Btn_HelpClick();
    void L_RightInfoClick() {}

    // The file version of the program `path` from its version information: the first
    // translation's "FileVersion" string; empty when there is none.
    static std::string FileVersion(const std::string& path);
    // The address of the support mail, with its subject and the form to fill in.
    static std::string SupportMailAddress();
};

// The program-wide reference; nullptr while no such window exists.
extern TFrm_About* Frm_About;
