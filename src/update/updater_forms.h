#pragma once
// The update component's three windows: the upgrade question, the download window and the
// credentials dialog. Their texts are the component's messages in the chosen language.
#include <functional>
#include <string>

#include "toolkit/control.h"
#include "toolkit/form.h"

// The question whether to upgrade to the newer version.
class TupSelfUpdaterUpgradeMessageForm : public toolkit::Form {
public:
    // `title`: the application title; `message`: the release message (may be empty).
    TupSelfUpdaterUpgradeMessageForm(const std::string& title = {}, const std::string& message = {});

    toolkit::Picture Icon;
    toolkit::Label Label1;
    toolkit::Panel BottomPanel;
    toolkit::Button YesBtn, LaterBtn;
    bool stayOnTop = true;
};

// The download window, shown without being modal while the files come in.
class TupSelfUpdaterWizardForm : public toolkit::Form {
public:
    TupSelfUpdaterWizardForm();

    toolkit::Panel Panel1; // the sunken frame of the picture
    toolkit::Picture Image1;
    toolkit::Label AboutShadow, AboutLabel, WizardTitle;
    toolkit::Panel Bevel1;
    toolkit::Panel LCurrentFile;
    toolkit::Label LDownloadingFileFrom;
    toolkit::Edit FileURL;
    toolkit::Label FileSizeLab, TransferRateLab, EstimatedTimeLeftLab;
    toolkit::ProgressBar ProgressCurrentFile;
    toolkit::Panel LAllFiles;
    toolkit::Label AllDownloading;
    toolkit::ProgressBar ProgressAllFiles;
    toolkit::Label AfterNote;
    toolkit::Button FinishBtn, CancelBtn;
    bool stayOnTop = true;

    // The end: every file is in; `title` is the application title.
    void ShowFinalState(const std::string& title);
    bool InFinalState() const { return final_; }
    // True once the window has closed.
    bool Closed() const { return closed_; }
    // Closes the window without the close question (the component stopped the upgrade);
    // nothing while the question itself is being asked.
    void Dismiss();
    // True while the window runs its close question.
    bool InHandler() const { return closing_; }

    // The user's answer Yes to the close question (the component cancels the upgrade).
    std::function<void()> OnCancelled;

    void FinishBtnClick();
    void CancelBtnClick();
    void FormCloseQuery(bool& canClose);

private:
    bool final_ = false;
    bool finishing_ = false;
    bool closed_ = false;
    bool closing_ = false;
};

// The dialog that asks for a user name and a password.
class TupSelfUpdaterPasswordForm : public toolkit::Form {
public:
    // `fileName`: the file name of the requested address; `username`: the name to start with.
    TupSelfUpdaterPasswordForm(const std::string& fileName = {}, const std::string& username = {});

    toolkit::Picture Image1;
    toolkit::Label Label1, UsernameLab, PasswordLab;
    toolkit::Edit UsernameEdit, PasswordEdit;
    toolkit::Panel BottomPanel;
    toolkit::Button OKBtn, CancelBtn;

    // What OKBtnClick took from the fields.
    std::string username, password;
    void OKBtnClick();
};

// A message of the table with its placeholders filled, the way the classic format routine
// fills them.
std::string FormatUpdaterMessage(int n, const std::string& s1 = {}, const std::string& s2 = {});
std::string FormatUpdaterMessage(int n, double value);
std::string FormatUpdaterMessage(int n, int a, int b, int c = 0);
// Lines a text takes when it wraps at about `chars` characters a line.
int WrappedLines(const std::string& text, int chars);
