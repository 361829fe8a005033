#include "update/self_updater.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <thread>

#include "common/ascii_text.h"
#include "common/date_time.h"
#include "platform/platform.h"
#include "services/clock_texts.h"
#include "toolkit/toolkit.h"
#include "update/embedded_replacer.h"
#include "update/info_signature.h"

namespace {

bool containsFolded(const std::string& text, const std::string& part) {
    return Contains(AsciiUpper(text), AsciiUpper(part).c_str());
}

bool endsWithExtension(const std::string& s) {
    const std::size_t dot = s.rfind('.');
    if (dot == std::string::npos || dot + 1 >= s.size() || s.size() - dot > 5)
        return false;
    for (std::size_t i = dot + 1; i < s.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(s[i])))
            return false;
    return s.find_first_of("\\/", dot) == std::string::npos;
}

std::string programFolder() {
    std::string folder = platform::sys().programFolder();
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}

std::string hostOf(const std::string& url) {
    platform::UrlParts parts;
    std::string u = url.find("://") == std::string::npos ? "http://" + url : url;
    if (platform::services().http && platform::http().crackUrl(u, parts))
        return parts.host;
    return {};
}

// A local date-time as the system's file time (UTC), with the zone's offset of now.
platform::FileTime toFileTime(TDateTime local) {
    auto& clock = platform::clock();
    const platform::FileTime utcNow = clock.now();
    platform::SystemTime st;
    double offsetDays = 0;
    if (clock.toLocal(utcNow, st)) {
        const double localNow = EncodeDateTime(st);
        const double utcDays = static_cast<double>(utcNow) / 864000000000.0 - 109205.0; // 1601 to 1899
        offsetDays = localNow - utcDays;
    }
    const double utc = local - offsetDays;
    return static_cast<platform::FileTime>(std::llround((utc + 109205.0) * 864000000000.0));
}

} // namespace

void TupSelfUpdaterWizard::SetLanguage(TupSelfUpdaterLanguage l) {
    language_ = l;
    std::string locale;
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (auto v = platform::sys().environment(var); v && !v->empty()) {
            locale = *v;
            break;
        }
    SetUpdaterLanguage(ResolveUpdaterLanguage(l, LanguageIdOfLocale(locale)));
}

std::string& HelperPath() {
    static std::string path = [] {
        std::string folder = platform::machine().temporaryPath();
        if (folder.empty() || !platform::files().isDirectory(folder))
            folder = programFolder();
        return folder + "Replacer3.exe";
    }();
    return path;
}

std::string CommandProgram(const std::string& command) {
    std::string c = command;
    while (!c.empty() && c.front() == ' ')
        c.erase(0, 1);
    if (c.empty())
        return {};
    if (c.front() == '"') {
        const std::size_t close = c.find('"', 1);
        return close == std::string::npos ? c.substr(1) : c.substr(1, close - 1);
    }
    if (containsFolded(c, "RUNDLL") && containsFolded(c, ".DLL"))
        return c.substr(0, c.find(' '));
    // The earliest marker before which the command still ends in a file extension.
    for (std::size_t i = 0; i < c.size(); ++i) {
        const bool marker = c[i] == ',' || (c[i] == ' ' && i + 1 < c.size() &&
                                            (c[i + 1] == '-' || c[i + 1] == '/' || c[i + 1] == '\\' ||
                                             c[i + 1] == '%'));
        if (marker && endsWithExtension(c.substr(0, i)))
            return c.substr(0, i);
    }
    while (!c.empty() && c.back() == ' ')
        c.pop_back();
    return endsWithExtension(c) ? c : std::string();
}

TupSelfUpdater::TupSelfUpdater() : timer_(nullptr, "AutoCheckTimer") {
    HideDestination = true;
    PublicKey = UpdatePublicKey();
    VersionDate = FormatDateTime("mm/dd/yyyy", Now(), "/", ":");
    // The replacement program of the last update has done its work by now.
    platform::files().deleteFile(HelperPath());
    Wizard.SetLanguage(wlAuto);
    timer_.setInterval(10000);
    timer_.onTimer = [this] { TimerFired(); };

    OnHeadersReceived = [this](TupCustomHTTP&, const std::string&, const std::string&, const std::string&,
                               const std::string&, const std::string&, std::int64_t length, TDateTime,
                               TDateTime lastModified, TDateTime, bool& Continue) {
        if (infoPhase_)
            return;
        fileTime_ = lastModified;
        if (wizard_)
            wizard_->FileSizeLab.setCaption(FormatUpdaterMessage(6, static_cast<double>(length) / 1024.0));
        bool can = true;
        if (MiscFilesUpgrade == mfuOnlyIfSizeDifferent && length != 0 && files_.size() > 1) {
            const std::string target = destination_.substr(0, destination_.size() - 5);
            platform::DirEntry e;
            if (!SameText(AddressFileName(target), AddressFileName(platform::sys().executablePath())) &&
                platform::files().findEntry(target, e) && !e.isDirectory())
                can = static_cast<std::int64_t>(e.size) != length;
        }
        if (OnFileStart)
            OnFileStart(*this, files_[static_cast<std::size_t>(index_)], length, fileTime_, can);
        Continue = can;
        if (!can)
            transferOpen_ = false;
    };
    OnTransferProgress = [this](TupCustomHTTP&, const std::string&, TupBodyStream*, float rate,
                                std::uint8_t percent, std::int64_t left, std::int64_t elapsed,
                                std::int64_t bytes, std::int64_t length) {
        if (infoPhase_ || files_.empty())
            return;
        const int n = static_cast<int>(files_.size());
        const int total = static_cast<int>(std::lround(index_ * 100.0 / n)) + percent / n;
        if (OnProgress)
            OnProgress(*this, files_[static_cast<std::size_t>(index_)], length, bytes, elapsed, left, percent,
                       total, rate);
        if (!wizard_)
            return;
        wizard_->ProgressCurrentFile.setPosition(percent);
        wizard_->ProgressAllFiles.setPosition(total);
        wizard_->TransferRateLab.setCaption(FormatUpdaterMessage(7, static_cast<double>(rate)));
        const int t = static_cast<int>(left < 0 ? 0 : left);
        wizard_->EstimatedTimeLeftLab.setCaption(FormatUpdaterMessage(8, t / 3600, (t / 60) % 60, t % 60));
    };
    OnBodyReceived = [this](TupCustomHTTP&, const std::string&, TupBodyStream* body, std::int64_t) {
        if (!infoPhase_) {
            FileComplete();
            return;
        }
        std::string text;
        if (body) {
            body->SetPosition(0);
            char buf[4096];
            for (std::int64_t got; (got = body->Read(buf, sizeof buf)) > 0;)
                text.append(buf, static_cast<std::size_t>(got));
        }
        InfoReceived(text);
    };
    OnBodySkipped = [this](TupCustomHTTP&) { FetchNextFile(false); };
    OnErrorStatus = [this](TupCustomHTTP&, int status, TupBodyStream*) {
        if (!infoPhase_) {
            transferOpen_ = false; // the client deletes the file holding the error page
            LostFile(status);
            return;
        }
        if (OnNoInfoFile)
            OnNoInfoFile(*this);
        Message(mNoInfoFile, UpdaterMessage(25));
    };
    OnNoResponse = [this](TupCustomHTTP&) {
        const std::string host = hostOf(RequestURL);
        if (OnHostUnreachable)
            OnHostUnreachable(*this, RequestURL, host);
        if (autoRun_) {
            // The timed check tries again in ten seconds.
            timerFired_ = false;
            ArmTimer();
        } else {
            Message(mHostUnreachable, FormatUpdaterMessage(26, "'http://" + host + "'"));
        }
        HaltTransfers();
    };
    OnBodyShort = [this](TupCustomHTTP&, const std::string&, TupBodyStream*, std::int64_t, std::int64_t) {
        transferOpen_ = false; // the client deletes the incomplete file
        if (OnConnLost)
            OnConnLost(*this);
        Message(mConnLost, UpdaterMessage(30));
        HaltTransfers();
    };
    OnCredentialsRequired = [this](TupCustomHTTP&, const std::string& realm, bool& tryAgain) {
        tryAgain = AskCredentials(realm);
    };
}

TupSelfUpdater::~TupSelfUpdater() = default;

void TupSelfUpdater::SetAutoCheck(bool on) {
    autoCheck_ = on;
    if (on && !timerFired_)
        ArmTimer();
    else if (!on)
        timer_.setEnabled(false);
}

void TupSelfUpdater::ArmTimer() {
    timer_.setInterval(10000);
    timer_.setEnabled(true);
}

void TupSelfUpdater::TimerFired() {
    if (!InternetConnected())
        return; // the timer goes on firing every ten seconds
    timerFired_ = true;
    timer_.setEnabled(false);
    StartUpdateCheck();
    autoRun_ = true;
}

bool TupSelfUpdater::InternetConnected() {
    auto value = platform::registry().readValue(platform::RegistryRoot::LocalMachine,
                                                "System\\CurrentControlSet\\Services\\RemoteAccess",
                                                "Remote Connection");
    if (value && value->data.size() == 4)
        return value->dword() == 1;
    const std::vector<std::string> addresses = platform::sys().hostAddresses();
    return !addresses.empty() && addresses.back() != "127.0.0.1";
}

void TupSelfUpdater::Message(int member, const std::string& text) {
    if (!(ShowMessages & static_cast<unsigned>(member)))
        return;
    toolkit::Toolkit::current().messageBox(text, UpdaterMessage(0), toolkit::MB_ICONERROR | toolkit::MB_OK);
}

void TupSelfUpdater::StartUpdateCheck() {
    aborted_ = false;
    autoRun_ = false;
    if (IsBusy())
        return;
    ReleaseClosedWizard();
    infoPhase_ = true;
    UseCache = false;
    RequestURL = InfoFileURL;
    DestinationFile.clear();
    BeginGet();
}

void TupSelfUpdater::InfoReceived(const std::string& text) {
    files_.clear();
    // An information file that is not signed with our key is no information file: its
    // addresses would lead to programs nobody vouches for.
    if (!InfoFileIsSigned(text, PublicKey)) {
        if (OnNoInfoFile)
            OnNoInfoFile(*this);
        Message(mNoInfoFile, UpdaterMessage(25));
        return;
    }
    infoText_ = text;
    files_ = InfoFileList(text);
    double today = std::floor(Now());
    if (!IsNewerVersion(text, VersionControl, VersionNumber, VersionDate, today) || files_.empty()) {
        if (OnNoUpdateAvailable)
            OnNoUpdateAvailable(*this);
        if (!autoRun_)
            Message(mNoUpdateAvailable, UpdaterMessage(24));
        return;
    }
    const std::string message = InfoBlock(text, "message");
    method_ = InfoUpgradeMethod(text);
    bool can = true;
    if (OnBeginUpgrade)
        OnBeginUpgrade(*this, message, method_, files_, can);
    if (can && (ShowMessages & mAskUpgrade)) {
        TupSelfUpdaterUpgradeMessageForm question(toolkit::Toolkit::current().applicationTitle(), message);
        can = question.showModal() == toolkit::mrYes;
    }
    if (!can) {
        if (OnLaterUpgrade)
            OnLaterUpgrade(*this);
        return;
    }
    if (method_ == umRedirectToURL) {
        OpenInBrowser(files_.front());
        return;
    }
    FetchNextFile(true);
}

void TupSelfUpdater::OpenInBrowser(std::string address) {
    if (address.find("://") == std::string::npos)
        address = "http://" + address;
    using platform::RegistryRoot;
    auto& reg = platform::registry();
    std::string command;
    if (auto cls = reg.readValue(RegistryRoot::ClassesRoot, ".html", ""); cls && cls->isString()) {
        auto commandOf = [&](const std::string& verb) -> std::string {
            auto v = reg.readValue(RegistryRoot::ClassesRoot, cls->data + "\\shell\\" + verb + "\\command", "");
            return v && v->isString() ? v->data : std::string();
        };
        if (reg.openKey(RegistryRoot::ClassesRoot, cls->data + "\\shell\\open\\command")) {
            command = commandOf("open");
        } else {
            const auto verbs = reg.subkeys(RegistryRoot::ClassesRoot, cls->data + "\\shell");
            for (const std::string& verb : verbs)
                if (containsFolded(verb, "open") && !(command = commandOf(verb)).empty())
                    break;
            for (std::size_t i = 0; command.empty() && i < verbs.size(); ++i)
                command = commandOf(verbs[i]);
        }
    }
    const std::string program = CommandProgram(command);
    if (!program.empty())
        platform::shell().execute({"open", program, address, 1});
    else
        platform::shell().execute({"open", address, "", 1});
}

void TupSelfUpdater::FetchNextFile(bool start) {
    const int n = static_cast<int>(files_.size());
    if (start) {
        infoPhase_ = false;
        UseCache = true;
        index_ = 0;
        // A copy left by a cancelled update would be installed with this one's.
        DeleteLeftoverCopies();
        if (Wizard.Enabled)
            OpenWizard();
    } else {
        ++index_;
    }
    if (index_ < n) {
        const std::string& address = files_[static_cast<std::size_t>(index_)];
        if (wizard_) {
            wizard_->FileURL.setText(address);
            wizard_->AllDownloading.setCaption(FormatUpdaterMessage(9, index_ + 1, n));
        }
        destination_ = programFolder() + AddressFileName(address) + ".uTMP";
        fileTime_ = 0;
        RequestURL = address;
        DestinationFile = destination_;
        transferOpen_ = true;
        BeginGet();
        return;
    }
    transferOpen_ = false;
    if (wizard_ && !wizard_->Closed()) {
        wizard_->ShowFinalState(toolkit::Toolkit::current().applicationTitle());
        WaitForWizardClosed();
        if (aborted_)
            return;
    }
    if (OnEndUpgrade)
        OnEndUpgrade(*this);
    LaunchReplacementHelper("+" + RestartParams() + std::to_string(static_cast<int>(method_)));
}

void TupSelfUpdater::FileComplete() {
    transferOpen_ = false;
    const std::string& address = files_[static_cast<std::size_t>(index_)];
    std::string content;
    bool read = true;
    try {
        content = platform::files().readFile(destination_);
    } catch (const std::exception&) {
        read = false;
    }
    // A file that is not the one the signed information file describes never reaches the
    // replacement program.
    if (!read || !MatchesInfoDigest(infoText_, address, content)) {
        platform::files().deleteFile(destination_);
        LostFile(0);
        return;
    }
    if (fileTime_ != 0) {
        const platform::FileTime t = toFileTime(fileTime_);
        platform::files().setFileTimes(destination_, t, t);
    }
    if (OnFileDone)
        OnFileDone(*this, destination_);
    FetchNextFile(false);
}

void TupSelfUpdater::LostFile(int code) {
    const std::string& address = files_[static_cast<std::size_t>(index_)];
    bool carryOn = false;
    if (OnLostFile)
        OnLostFile(*this, address, code, carryOn);
    if (!carryOn && (ShowMessages & mLostFile))
        carryOn = toolkit::Toolkit::current().messageBox(FormatUpdaterMessage(28, AddressFileName(address)),
                                                         UpdaterMessage(21) + " #" + std::to_string(code),
                                                         toolkit::MB_ICONWARNING | toolkit::MB_YESNO) ==
                  toolkit::IDYES;
    if (carryOn)
        FetchNextFile(false);
    else
        CancelUpgrade();
}

bool TupSelfUpdater::AskCredentials(const std::string& realm) {
    bool tryAgain = false;
    if (OnPasswordRequest)
        OnPasswordRequest(*this, realm, tryAgain);
    if (!tryAgain && (ShowMessages & mPasswordRequest)) {
        TupSelfUpdaterPasswordForm dialog(AddressFileName(RequestURL), HTTPUsername);
        if (dialog.showModal() == toolkit::mrOk) {
            HTTPUsername = dialog.username;
            HTTPPassword = dialog.password;
            tryAgain = true;
        } else {
            CancelUpgrade();
        }
    }
    return tryAgain;
}

void TupSelfUpdater::CancelUpgrade() {
    aborted_ = true;
    HaltTransfers();
    if (OnAborted)
        OnAborted(*this);
}

void TupSelfUpdater::HaltTransfers() {
    const bool writing = transferOpen_;
    AbortTransfer();
    if (writing)
        DeletePartialCopy();
    transferOpen_ = false;
    if (wizard_ && !wizard_->Closed())
        wizard_->Dismiss();
}

void TupSelfUpdater::DeletePartialCopy() {
    if (!destination_.empty() && platform::files().exists(destination_))
        platform::files().deleteFile(destination_);
}

void TupSelfUpdater::DeleteLeftoverCopies() {
    const std::string folder = programFolder();
    std::vector<std::string> names;
    platform::files().listFolder(folder, platform::ListDetail::Names, [&](const platform::DirEntry& e) {
        const std::string& n = e.name;
        if (!e.isDirectory() && !e.isReparsePoint() && n.size() >= 5 && n.compare(n.size() - 5, 5, ".uTMP") == 0)
            names.push_back(n);
        return true;
    });
    for (const std::string& n : names)
        platform::files().deleteFile(folder + n);
}

void TupSelfUpdater::OpenWizard() {
    ReleaseClosedWizard();
    if (!wizard_)
        wizard_ = std::make_unique<TupSelfUpdaterWizardForm>();
    if (!Wizard.Pic118x218.empty())
        wizard_->Image1.setImage(Wizard.Pic118x218);
    wizard_->stayOnTop = Wizard.StayOnTop;
    wizard_->OnCancelled = [this] { CancelUpgrade(); };
    wizard_->show();
}

void TupSelfUpdater::WaitForWizardClosed() {
    auto& tk = toolkit::Toolkit::current();
    while (wizard_ && !wizard_->Closed()) {
        tk.processMessages();
        if (wizard_ && !wizard_->Closed())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void TupSelfUpdater::ReleaseClosedWizard() {
    if (wizard_ && wizard_->Closed() && !wizard_->InHandler())
        wizard_.reset();
}

void TupSelfUpdater::LaunchReplacementHelper(const std::string& argument) {
    const std::string& helper = HelperPath();
    auto& files = platform::files();
    files.deleteFile(helper);
    bool written = false;
    if (auto f = files.createFile(helper, platform::FA_TEMPORARY))
        written = f->write(EmbeddedReplacer(), EmbeddedReplacerSize());
    // Only our own, whole replacement program runs: whatever else might sit under its name
    // never does.
    if (written && files.setRunnable(helper))
        platform::shell().runProgram({helper, {platform::toNative(platform::sys().executablePath()), argument}});
    if (OnDoOwnCloseAppMethod) {
        OnDoOwnCloseAppMethod(*this);
    } else if (toolkit::Form* main = toolkit::Toolkit::current().mainForm()) {
        main->close();
    }
}

void TupSelfUpdater::Loaded(const std::vector<std::string>& arguments) {
    if (!OnAfterRestart || arguments.empty())
        return;
    // The replacement program passes the restart text with the upgrade method's digit.
    const std::string& first = arguments.front();
    const std::string& params = RestartParams();
    const bool restarted = first == params || (first.size() == params.size() + 1 && first.rfind(params, 0) == 0 &&
                                               std::isdigit(static_cast<unsigned char>(first.back())));
    if (restarted)
        OnAfterRestart(*this);
}
