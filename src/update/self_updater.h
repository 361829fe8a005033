#pragma once
// The update component: fetches the update information file, compares the published
// version with its own, asks the user, downloads every file of the new version into the
// program's folder as "name.uTMP", and hands them to the replacement program, which moves
// them into place once the program has ended and starts it again.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/timer.h"
#include "update/custom_http.h"
#include "update/update_info.h"
#include "update/updater_forms.h"
#include "update/updater_messages.h"

enum TupMiscFilesUpgradeBehavior { mfuAlwaysDownload, mfuOnlyIfSizeDifferent };

// Members of ShowMessages: which built-in dialogs appear.
enum TupShowMessage : unsigned {
    mAskUpgrade = 1 << 0,
    mConnLost = 1 << 1,
    mHostUnreachable = 1 << 2,
    mLostFile = 1 << 3,
    mNoInfoFile = 1 << 4,
    mNoUpdateAvailable = 1 << 5,
    mPasswordRequest = 1 << 6,
};
inline constexpr unsigned kAllUpdaterMessages = 0x7F;

class TupSelfUpdaterWizard {
public:
    bool Enabled = true;
    std::string Pic118x218; // a picture's key; empty: none
    bool StayOnTop = true;
    TupSelfUpdaterLanguage Language() const { return language_; }
    // Choosing the language chooses the messages of the whole process.
    void SetLanguage(TupSelfUpdaterLanguage l);

private:
    TupSelfUpdaterLanguage language_ = wlAuto;
};

// Describes the information file that is to be published; the check does not read it.
struct TupSelfUpdaterInfo {
    std::vector<std::string> Files;
    TupUpgradeMethod UpgradeMethod = umSelfUpgrade;
    std::string UpgradeMsg;
};

// The replacement program's file: the system's temporary folder (the program's folder when
// there is none) and "Replacer3.exe". It is created anew, never through a name someone
// else holds, and started only when written whole. Fixed when first asked for; tests may set it.
std::string& HelperPath();

// The program part of a command that opens a file type ("\"C:\\b\\x.exe\" -nohome \"%1\""
// gives C:\b\x.exe); empty when it names none.
std::string CommandProgram(const std::string& command);

class TupSelfUpdater : public TupCustomHTTP {
public:
    TupSelfUpdater();
    ~TupSelfUpdater() override;

    // Published properties.
    std::string InfoFileURL = "http://";
    TupSelfUpdaterVersionControl VersionControl = byDate;
    std::string VersionNumber;
    std::string VersionDate; // month/day/year; today when the component is made
    bool VersionDateAutoSet = true;
    TupMiscFilesUpgradeBehavior MiscFilesUpgrade = mfuAlwaysDownload;
    const std::string& RestartParams() const { return restartParams_; }
    void SetRestartParams(const std::string& p) { restartParams_ = p.empty() ? " " : p; }
    unsigned ShowMessages = mAskUpgrade | mConnLost | mLostFile | mPasswordRequest;
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool on);
    TupSelfUpdaterWizard Wizard;
    TupSelfUpdaterInfo InfoFile;
    // The key the information file must be signed with (hex); the build's key by default.
    std::string PublicKey;

    // Events, each called before the built-in dialog of the same situation.
    std::function<void(TupSelfUpdater&, const std::string& UpgradeMsg, TupUpgradeMethod UpgradeMethod,
                       const std::vector<std::string>& Files, bool& CanUpgrade)>
        OnBeginUpgrade;
    std::function<void(TupSelfUpdater&)> OnLaterUpgrade, OnNoUpdateAvailable, OnNoInfoFile, OnConnLost, OnAborted,
        OnEndUpgrade, OnDoOwnCloseAppMethod, OnAfterRestart;
    std::function<void(TupSelfUpdater&, const std::string& URL, const std::string& Hostname)> OnHostUnreachable;
    std::function<void(TupSelfUpdater&, const std::string& Realm, bool& TryAgain)> OnPasswordRequest;
    std::function<void(TupSelfUpdater&, const std::string& FileURL, std::int64_t FileSize, TDateTime FileTime,
                       bool& CanUpgrade)>
        OnFileStart;
    std::function<void(TupSelfUpdater&, const std::string& FileURL, std::int64_t FileSize, std::int64_t BytesRead,
                       std::int64_t ElapsedTime, std::int64_t EstimatedTimeLeft, int PercentsDone,
                       int TotalPercentsDone, float TransferRate)>
        OnProgress;
    std::function<void(TupSelfUpdater&, const std::string& FileName)> OnFileDone;
    std::function<void(TupSelfUpdater&, const std::string& FileURL, int ErrorCode, bool& ContinueUpgrade)>
        OnLostFile;

    void StartUpdateCheck();
    void CancelUpgrade();
    void HaltTransfers();
    void FetchNextFile(bool start);
    void LaunchReplacementHelper(const std::string& argument);
    // After the saved properties are in: OnAfterRestart when the program was started with
    // RestartParams as its first argument.
    void Loaded(const std::vector<std::string>& arguments);
    // Whether the computer has an Internet connection, as the timed check asks.
    static bool InternetConnected();

    // State, for the window and the tests.
    bool InInformationPhase() const { return infoPhase_; }
    bool Aborted() const { return aborted_; }
    const std::vector<std::string>& FileList() const { return files_; }
    int CurrentIndex() const { return index_; }
    const std::string& CurrentDestination() const { return destination_; }
    TupSelfUpdaterWizardForm* WizardForm() const { return wizard_.get(); }
    toolkit::Timer& AutoCheckTimer() { return timer_; }

private:
    void InfoReceived(const std::string& text);
    void FileComplete();
    void LostFile(int code);
    bool AskCredentials(const std::string& realm);
    void OpenInBrowser(std::string address);
    void OpenWizard();
    void WaitForWizardClosed();
    void ReleaseClosedWizard();
    void DeletePartialCopy();
    void DeleteLeftoverCopies();
    void Message(int n, const std::string& text);
    void TimerFired();
    void ArmTimer();

    std::string restartParams_ = "/afterupgrade";
    bool autoCheck_ = false;
    bool infoPhase_ = false;
    bool aborted_ = false;
    bool autoRun_ = false;
    bool timerFired_ = false;
    std::vector<std::string> files_;
    std::string infoText_;
    int index_ = 0;
    std::string destination_;
    TDateTime fileTime_ = 0;
    TupUpgradeMethod method_ = umSelfUpgrade;
    bool transferOpen_ = false; // a file transfer writes the current destination
    std::unique_ptr<TupSelfUpdaterWizardForm> wizard_;
    toolkit::Timer timer_;
};
