// The update component from end to end: a server on 127.0.0.1 publishes signed information
// files and the files they list; the program's folder is a throw-away folder on a temporary
// machine holding a small test program; the replacement program is run for real at the end.
#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "app/start_window.h"
#include "platform/posix/detached_process.h"
#include "support/program_folder.h"
#include "support/temp_machine.h"
#include "support/update_test_key.h"
#include "toolkit/headless_toolkit.h"
#include "update/embedded_replacer.h"
#include "update/info_signature.h"
#include "update/self_updater.h"

namespace fs = std::filesystem;

namespace {

std::string readNative(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The program's folder, whose executable is the test program "app" in it.
class AppFolder : public testsupport::ProgramFolderAt {
public:
    using ProgramFolderAt::ProgramFolderAt;
    std::string executablePath() override { return file("app"); }
};

class Updater : public ::testing::Test {
protected:
    testsupport::TempMachine machine;
    AppFolder folder{"C:\\App"};
    toolkit::HeadlessToolkit tk;
    httplib::Server server;
    std::thread serverThread;
    int port = 0;
    std::map<std::string, std::string> served; // path -> body; anything else answers 404
    std::unique_ptr<TupSelfUpdater> u;
    std::string outcome;
    std::vector<int> totals; // TotalPercentsDone by file index
    std::vector<int> totalIndex;
    std::string probe = readNative(QUOR_RESTART_PROBE);
    std::mutex gateMutex;
    std::condition_variable gateChanged;
    bool gateOpen = false;

    void openGate() {
        {
            std::lock_guard l(gateMutex);
            gateOpen = true;
        }
        gateChanged.notify_all();
    }

    void SetUp() override {
        server.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            if (req.path.rfind("/private/", 0) == 0 && req.get_header_value("Authorization") != "Basic dXNlcjpzZWNyZXQ=") {
                res.status = 401;
                res.set_header("WWW-Authenticate", "Basic realm=\"members\"");
                return;
            }
            if (req.path == "/slow.dat") {
                // A first part, then nothing until the test lets the rest go.
                res.set_content_provider(4000, "application/octet-stream",
                                         [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                             if (offset > 0) {
                                                 std::unique_lock l(gateMutex);
                                                 gateChanged.wait(l, [&] { return gateOpen; });
                                                 return false;
                                             }
                                             return sink.write(std::string(1000, 's').data(), 1000);
                                         });
                return;
            }
            auto it = served.find(req.path);
            if (it == served.end()) {
                res.status = 404;
                res.set_content("<html>not here</html>", "text/html");
                return;
            }
            res.set_content(it->second, "application/octet-stream");
        });
        port = server.bind_to_any_port("127.0.0.1");
        ASSERT_GT(port, 0);
        serverThread = std::thread([this] { server.listen_after_bind(); });
        // A stop before the thread listens would leave it listening for ever.
        while (!server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));

        fs::create_directories(machine.root() / "tmp");
        HelperPath() = (machine.root() / "tmp" / "Replacer3.exe").string();
        tk.setApplicationTitle("QuorCleaner");
        // The test program, installed as a program is.
        machine.writeFile("C:\\App\\app", probe);
        fs::permissions(machine.native("C:\\App\\app"), fs::perms(0755));

        u = std::make_unique<TupSelfUpdater>();
        u->Proxy.AccessType = atDirect;
        u->InfoFileURL = url("/update/SelfUpdate.inf");
        u->VersionControl = byNumber;
        u->VersionNumber = "8.0";
        u->MiscFilesUpgrade = mfuOnlyIfSizeDifferent;
        u->ShowMessages = kAllUpdaterMessages;
        u->Wizard.SetLanguage(wlEnglish);
        u->OnNoUpdateAvailable = [this](TupSelfUpdater&) { outcome = "no update"; };
        u->OnNoInfoFile = [this](TupSelfUpdater&) { outcome = "no info file"; };
        u->OnAborted = [this](TupSelfUpdater&) { outcome = "aborted"; };
        u->OnLaterUpgrade = [this](TupSelfUpdater&) { outcome = "later"; };
        u->OnHostUnreachable = [this](TupSelfUpdater&, const std::string&, const std::string&) {
            outcome = "unreachable";
        };
        u->OnDoOwnCloseAppMethod = [this](TupSelfUpdater&) { outcome = "replacing"; };
        u->OnProgress = [this](TupSelfUpdater& s, const std::string&, std::int64_t, std::int64_t, std::int64_t,
                               std::int64_t, int, int total, float) {
            totals.push_back(total);
            totalIndex.push_back(s.CurrentIndex());
        };
    }

    void TearDown() override {
        openGate();
        u.reset();
        server.stop();
        if (serverThread.joinable())
            serverThread.join();
    }

    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port) + path; }

    // Publishes the information file, signed, with the files it lists at their paths.
    void publish(const std::string& info, const std::map<std::string, std::string>& files,
                 const std::set<std::string>& withdrawn = {}) {
        std::map<std::string, std::string> contents;
        for (const auto& [path, content] : files) {
            contents[url(path)] = content;
            if (!withdrawn.count(path))
                served[path] = content;
        }
        served["/update/SelfUpdate.inf"] =
            SignInfoFile(info, contents, FromHex(testsupport::kUpdateTestSecretKey));
    }

    void acceptUpgrade() {
        tk.onModal("TupSelfUpdaterUpgradeMessageForm", [](toolkit::Form& f) { f.setModalResult(toolkit::mrYes); });
    }
    // The user presses the download window's button once it shows the end.
    void finishWhenDone() {
        tk.queue([this] { u->WizardForm()->FinishBtn.click(); });
    }

    std::string check(const std::function<bool()>& alsoDone = {}) {
        u->StartUpdateCheck();
        EXPECT_TRUE(tk.pumpUntil([&] { return !outcome.empty() || (alsoDone && alsoDone()); },
                                 std::chrono::seconds(30)));
        return outcome;
    }

    bool has(const std::string& name) { return fs::exists(machine.native("C:\\App\\" + name)); }
    std::string read(const std::string& name) { return machine.readFile("C:\\App\\" + name); }
};

TEST_F(Updater, NoNewerVersionSaysSo) {
    publish("#version=8.0.0.0\r\n#url=" + url("/files/app") + "\r\n", {{"/files/app", probe}});
    EXPECT_EQ(check(), "no update");
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].text, UpdaterMessage(24));
    EXPECT_EQ(tk.messageBoxes[0].caption, "Application update wizard");
    EXPECT_EQ(tk.messageBoxes[0].flags, toolkit::MB_ICONERROR | toolkit::MB_OK);
    EXPECT_TRUE(tk.modalLog.empty());
    EXPECT_FALSE(has("app.uTMP"));
}

TEST_F(Updater, NewerVersionAcceptedIsDownloadedReplacedAndRestarted) {
    machine.writeFile("C:\\App\\stale.dll.uTMP", "left by a cancelled update");
    publish("#version=8.1\r\n#url=" + url("/files/app") + "\r\n#url2=" + url("/files/lib.so") +
                "\r\n#message={Line one\r\nLine two\r\nLine three}\r\n",
            {{"/files/app", probe + "NEW"}, {"/files/lib.so", "library"}});
    std::string question;
    tk.onModal("TupSelfUpdaterUpgradeMessageForm", [&](toolkit::Form& f) {
        question = static_cast<TupSelfUpdaterUpgradeMessageForm&>(f).Label1.caption();
        f.setModalResult(toolkit::mrYes);
    });
    std::string finalTitle, finalButton;
    tk.queue([&] {
        finalTitle = u->WizardForm()->WizardTitle.caption();
        finalButton = u->WizardForm()->FinishBtn.caption();
        u->WizardForm()->FinishBtn.click();
    });
    EXPECT_EQ(check(), "replacing");

    EXPECT_EQ(question, "A newer version of QuorCleaner was released.\n\nLine one\r\nLine two\r\nLine three\n\n"
                        "Do you want to update your version with the latest one?");
    EXPECT_EQ(finalTitle, "Upgrade completed!");
    EXPECT_EQ(finalButton, "&OK");
    EXPECT_TRUE(tk.messageBoxes.empty());
    EXPECT_EQ(read("app.uTMP"), probe + "NEW");
    EXPECT_EQ(read("lib.so.uTMP"), "library");
    EXPECT_FALSE(has("stale.dll.uTMP"));

    // The replacement program was written out whole and started with the program's path
    // and the restart text.
    auto& runs = machine.shell().runs;
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].program, HelperPath());
    const std::string exe = machine.native("C:\\App\\app").string();
    EXPECT_EQ(runs[0].arguments, (std::vector<std::string>{exe, "+/afterupgrade0"}));
    const std::string helper = readNative(HelperPath());
    EXPECT_EQ(helper, std::string(reinterpret_cast<const char*>(EmbeddedReplacer()), EmbeddedReplacerSize()));

    // Run it for real: the copies replace their files and the program starts again.
    std::vector<std::string> argv{runs[0].program};
    argv.insert(argv.end(), runs[0].arguments.begin(), runs[0].arguments.end());
    ASSERT_EQ(platform::posix::startDetached(argv, false), 0);
    const fs::path runsFile = machine.native("C:\\App\\runs.txt");
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (readNative(runsFile).empty() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(readNative(runsFile), "app /afterupgrade0\n");
    EXPECT_EQ(read("app"), probe + "NEW");
    EXPECT_EQ(fs::status(machine.native("C:\\App\\app")).permissions(), fs::perms(0755));
    EXPECT_EQ(read("lib.so"), "library");
    EXPECT_FALSE(has("app.uTMP"));
    EXPECT_FALSE(has("lib.so.uTMP"));
}

TEST_F(Updater, AMissingFileSkippedWithYesTheOthersStillCome) {
    publish("#version=8.1\r\n#url=" + url("/a.dat") + "\r\n#url2=" + url("/b.dat") + "\r\n#url3=" + url("/c.dat"),
            {{"/a.dat", "first"}, {"/b.dat", "second"}, {"/c.dat", "third"}}, {"/b.dat"});
    acceptUpgrade();
    finishWhenDone();
    tk.answers.push_back(toolkit::IDYES);
    EXPECT_EQ(check(), "replacing");
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].caption, "Error #404");
    EXPECT_EQ(tk.messageBoxes[0].text, "File b.dat not found or inaccessible.\r\rTry to skip this file and continue "
                                       "upgrade?");
    EXPECT_EQ(tk.messageBoxes[0].flags, toolkit::MB_ICONWARNING | toolkit::MB_YESNO);
    EXPECT_EQ(read("a.dat.uTMP"), "first");
    EXPECT_FALSE(has("b.dat.uTMP"));
    EXPECT_EQ(read("c.dat.uTMP"), "third");
    EXPECT_EQ(machine.shell().runs.size(), 1u);
    // The total jumps past the second file: the third starts at two thirds.
    ASSERT_FALSE(totals.empty());
    EXPECT_EQ(totalIndex.back(), 2);
    EXPECT_EQ(totals.back(), 67 + 100 / 3);
}

TEST_F(Updater, AMissingFileRefusedWithNoCancelsTheUpdate) {
    publish("#version=8.1\r\n#url=" + url("/a.dat") + "\r\n#url2=" + url("/b.dat") + "\r\n#url3=" + url("/c.dat"),
            {{"/a.dat", "first"}, {"/b.dat", "second"}, {"/c.dat", "third"}}, {"/b.dat"});
    acceptUpgrade();
    tk.answers.push_back(toolkit::IDNO);
    EXPECT_EQ(check(), "aborted");
    EXPECT_TRUE(machine.shell().runs.empty());
    EXPECT_EQ(read("a.dat.uTMP"), "first");
    EXPECT_FALSE(has("c.dat.uTMP"));
    EXPECT_TRUE(u->WizardForm()->Closed());
}

TEST_F(Updater, SameSizeLibraryIsSkippedButNeverTheExecutable) {
    machine.writeFile("C:\\App\\lib.so", "LIBRARY");
    publish("#version=8.1\r\n#url=" + url("/files/app") + "\r\n#url2=" + url("/files/lib.so"),
            {{"/files/app", probe}, {"/files/lib.so", "library"}});
    acceptUpgrade();
    finishWhenDone();
    EXPECT_EQ(check(), "replacing");
    EXPECT_EQ(read("app.uTMP"), probe);
    EXPECT_FALSE(has("lib.so.uTMP"));
}

TEST_F(Updater, ASingleFileIsAlwaysDownloaded) {
    machine.writeFile("C:\\App\\lib.so", "LIBRARY");
    publish("#version=8.1\r\n#url=" + url("/files/lib.so"), {{"/files/lib.so", "library"}});
    acceptUpgrade();
    finishWhenDone();
    EXPECT_EQ(check(), "replacing");
    EXPECT_EQ(read("lib.so.uTMP"), "library");
}

TEST_F(Updater, MethodOneTellsTheReplacementProgram) {
    publish("#version=8.1\r\n#method=1\r\n#url=" + url("/setup.exe"), {{"/setup.exe", "setup"}});
    acceptUpgrade();
    finishWhenDone();
    EXPECT_EQ(check(), "replacing");
    ASSERT_EQ(machine.shell().runs.size(), 1u);
    EXPECT_EQ(machine.shell().runs[0].arguments.back(), "+/afterupgrade1");
}

TEST_F(Updater, MethodTwoOpensTheFirstAddressInTheBrowser) {
    publish("#version=8.1\r\n#method=2\r\n#url=127.0.0.1/news.html", {});
    acceptUpgrade();
    check([&] { return !machine.shell().requests.empty(); });
    ASSERT_EQ(machine.shell().requests.size(), 1u);
    EXPECT_EQ(machine.shell().requests[0].verb, "open");
    EXPECT_EQ(machine.shell().requests[0].file, "http://127.0.0.1/news.html");
    EXPECT_TRUE(machine.shell().runs.empty());
    EXPECT_FALSE(u->WizardForm());
}

TEST_F(Updater, DeclinedQuestionChangesNothing) {
    publish("#version=8.1\r\n#url=" + url("/a.dat"), {{"/a.dat", "first"}});
    tk.onModal("TupSelfUpdaterUpgradeMessageForm", [](toolkit::Form& f) { f.close(); });
    EXPECT_EQ(check(), "later");
    EXPECT_FALSE(has("a.dat.uTMP"));
}

TEST_F(Updater, AnInformationFileWithABadSignatureCountsAsNone) {
    publish("#version=8.1\r\n#url=" + url("/a.dat"), {{"/a.dat", "first"}});
    std::string& info = served["/update/SelfUpdate.inf"];
    info[info.find("8.1") + 2] = '9';
    EXPECT_EQ(check(), "no info file");
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].text, UpdaterMessage(25));
    EXPECT_TRUE(tk.modalLog.empty());
}

TEST_F(Updater, AFileWithABadDigestIsDeletedAndCountsAsLost) {
    publish("#version=8.1\r\n#url=" + url("/a.dat") + "\r\n#url2=" + url("/b.dat"),
            {{"/a.dat", "first"}, {"/b.dat", "second"}});
    served["/a.dat"] = "tampered";
    acceptUpgrade();
    tk.answers.push_back(toolkit::IDNO);
    EXPECT_EQ(check(), "aborted");
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].caption, "Error #0");
    EXPECT_FALSE(has("a.dat.uTMP"));
    EXPECT_TRUE(machine.shell().runs.empty());
}

TEST_F(Updater, UnreachableServerShowsOneBox) {
    publish("#version=8.1\r\n#url=" + url("/a.dat"), {{"/a.dat", "first"}});
    server.stop();
    serverThread.join();
    EXPECT_EQ(check(), "unreachable");
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].text, "Host 'http://127.0.0.1' unreachable.\r\rPlease check your Internet "
                                       "connection and\rtry to upgrade this software again later.");
}

TEST_F(Updater, ClosingTheFinishedWindowAsksAndYesReplacesNothing) {
    publish("#version=8.1\r\n#url=" + url("/a.dat"), {{"/a.dat", "first"}});
    acceptUpgrade();
    tk.queue([this] { u->WizardForm()->close(); });
    tk.answers.push_back(toolkit::IDYES);
    EXPECT_EQ(check(), "aborted");
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].text, UpdaterMessage(27));
    EXPECT_EQ(tk.messageBoxes[0].caption, "QuorCleaner");
    EXPECT_TRUE(machine.shell().runs.empty());
}

TEST_F(Updater, CredentialsAskedForAreSentWithTheRepeatedRequest) {
    publish("#version=8.0\r\n#url=" + url("/a.dat"), {{"/a.dat", "first"}});
    served["/private/SelfUpdate.inf"] = served["/update/SelfUpdate.inf"];
    u->InfoFileURL = url("/private/SelfUpdate.inf");
    u->HTTPUsername = "user";
    std::string text, startName;
    tk.onModal("TupSelfUpdaterPasswordForm", [&](toolkit::Form& f) {
        auto& d = static_cast<TupSelfUpdaterPasswordForm&>(f);
        text = d.Label1.caption();
        startName = d.UsernameEdit.text();
        d.PasswordEdit.setText("secret");
        d.OKBtn.click();
    });
    EXPECT_EQ(check(), "no update");
    EXPECT_EQ(startName, "user");
    EXPECT_EQ(text, "Access to remote file \"SelfUpdate.inf\" is password protected.\n\nPlease enter your username "
                    "and password (received after registration) to continue software upgrade.");
    EXPECT_EQ(u->HTTPPassword, "secret");
}

TEST_F(Updater, CancelledCredentialsCancelTheCheck) {
    u->InfoFileURL = url("/private/SelfUpdate.inf");
    tk.onModal("TupSelfUpdaterPasswordForm", [](toolkit::Form& f) {
        static_cast<TupSelfUpdaterPasswordForm&>(f).CancelBtn.click();
    });
    EXPECT_EQ(check(), "aborted");
    EXPECT_TRUE(u->Aborted());
}

TEST_F(Updater, TimedCheckRunsOnceWhenConnectedAndStaysQuiet) {
    auto& reg = platform::registry();
    const std::string key = "System\\CurrentControlSet\\Services\\RemoteAccess";
    ASSERT_TRUE(reg.createKey(platform::RegistryRoot::LocalMachine, key));
    auto connected = [&](std::uint32_t v) {
        platform::RegistryValue value{platform::REG_DWORD, std::string(reinterpret_cast<const char*>(&v), 4)};
        reg.writeValue(platform::RegistryRoot::LocalMachine, key, "Remote Connection", value);
    };
    publish("#version=8.0\r\n#url=" + url("/a.dat"), {{"/a.dat", "first"}});

    connected(0);
    EXPECT_FALSE(TupSelfUpdater::InternetConnected());
    u->SetAutoCheck(true);
    EXPECT_TRUE(tk.isRunning(u->AutoCheckTimer()));
    tk.advance(10000);
    EXPECT_TRUE(tk.isRunning(u->AutoCheckTimer())) << "without a connection the timer goes on";
    EXPECT_FALSE(u->IsBusy());

    // Connected, but no answer: no box, and the check is tried again ten seconds later.
    connected(1);
    EXPECT_TRUE(TupSelfUpdater::InternetConnected());
    u->InfoFileURL = "http://127.0.0.1:1/update/SelfUpdate.inf";
    tk.advance(10000);
    EXPECT_FALSE(tk.isRunning(u->AutoCheckTimer()));
    EXPECT_TRUE(tk.pumpUntil([&] { return !outcome.empty(); }));
    EXPECT_EQ(outcome, "unreachable");
    EXPECT_TRUE(tk.messageBoxes.empty());
    EXPECT_TRUE(tk.isRunning(u->AutoCheckTimer()));

    outcome.clear();
    u->InfoFileURL = url("/update/SelfUpdate.inf");
    tk.advance(10000);
    EXPECT_TRUE(tk.pumpUntil([&] { return !outcome.empty(); }));
    EXPECT_EQ(outcome, "no update");
    EXPECT_TRUE(tk.messageBoxes.empty()) << "an automatic check finds nothing quietly";
    EXPECT_FALSE(tk.isRunning(u->AutoCheckTimer())) << "once it got an answer the timer stays off";
    u->SetAutoCheck(false);
    u->SetAutoCheck(true);
    EXPECT_FALSE(tk.isRunning(u->AutoCheckTimer())) << "the timer fires once";

    outcome.clear();
    u->StartUpdateCheck();
    EXPECT_TRUE(tk.pumpUntil([&] { return !outcome.empty(); }));
    EXPECT_EQ(tk.messageBoxes.size(), 1u) << "a check the user started says so";
}

TEST_F(Updater, RestartArgumentCallsAfterRestart) {
    int calls = 0;
    u->OnAfterRestart = [&](TupSelfUpdater&) { ++calls; };
    u->Loaded({"/afterupgrade0"});
    u->Loaded({"/afterupgrade"});
    u->Loaded({"/afterupgradeX"});
    u->Loaded({"other", "/afterupgrade0"});
    u->Loaded({});
    EXPECT_EQ(calls, 2);
    u->SetRestartParams("");
    EXPECT_EQ(u->RestartParams(), " ");
}

TEST_F(Updater, TheStartWindowsLabelStartsTheCheckWithThisProgramsSettings) {
    TFrm_Wizard w;
    TupSelfUpdater& s = w.SelfUpdater1;
    EXPECT_EQ(s.VersionControl, byNumber);
    EXPECT_EQ(s.VersionNumber, "8.0");
    EXPECT_EQ(s.VersionDate, "09/01/2008");
    EXPECT_EQ(s.MiscFilesUpgrade, mfuOnlyIfSizeDifferent);
    EXPECT_EQ(s.ShowMessages, kAllUpdaterMessages);
    EXPECT_EQ(s.RestartParams(), "/afterupgrade");
    EXPECT_FALSE(s.AutoCheck());
    EXPECT_EQ(s.Wizard.Language(), wlEnglish);
    EXPECT_EQ(s.InfoFile.UpgradeMsg, "first release");
    EXPECT_TRUE(s.HideDestination);
    EXPECT_EQ(s.InfoFileURL.substr(s.InfoFileURL.size() - 22), "/update/SelfUpdate.inf");
    EXPECT_FALSE(w.Label6.visible());

    publish("#version=8.0\r\n#url=" + url("/a.dat"), {{"/a.dat", "first"}});
    s.InfoFileURL = url("/update/SelfUpdate.inf");
    s.Proxy.AccessType = atDirect;
    bool none = false;
    s.OnNoUpdateAvailable = [&](TupSelfUpdater&) { none = true; };
    w.Label6.click();
    EXPECT_TRUE(tk.pumpUntil([&] { return none; }));
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].text, UpdaterMessage(24));
}

TEST_F(Updater, CancellingDuringATransferDeletesItsPartialCopy) {
    publish("#version=8.1\r\n#url=" + url("/slow.dat"), {{"/slow.dat", std::string(4000, 's')}});
    acceptUpgrade();
    u->TransferBufferSize = 500; // a chunk the first part fills
    bool started = false;
    u->OnProgress = [&](TupSelfUpdater&, const std::string&, std::int64_t, std::int64_t, std::int64_t, std::int64_t,
                        int, int, float) { started = true; };
    u->StartUpdateCheck();
    ASSERT_TRUE(tk.pumpUntil([&] { return started; }));
    EXPECT_TRUE(has("slow.dat.uTMP"));
    tk.answers.push_back(toolkit::IDYES);
    u->WizardForm()->CancelBtn.click();
    EXPECT_EQ(outcome, "aborted");
    EXPECT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_FALSE(has("slow.dat.uTMP")) << "a later update would install the partial copy";
    EXPECT_TRUE(u->WizardForm()->Closed());
    EXPECT_TRUE(machine.shell().runs.empty());
}

TEST(UpdaterParts, ProgramPartOfAnOpenCommand) {
    struct Case {
        const char* command;
        const char* program;
    };
    const Case cases[] = {
        {"\"C:\\Program Files\\Browser\\b.exe\" -nohome \"%1\"", "C:\\Program Files\\Browser\\b.exe"},
        {"C:\\PROGRA~1\\b.exe -nohome", "C:\\PROGRA~1\\b.exe"},
        {"C:\\Program Files\\b.exe %1", "C:\\Program Files\\b.exe"},
        {"C:\\b.exe /url,x", "C:\\b.exe"},
        {"rundll32.exe C:\\WINDOWS\\x.dll,OpenURL %1", "rundll32.exe"},
        {"C:\\a -x\\b.exe -y", "C:\\a -x\\b.exe"},
        {"no program here", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(CommandProgram(c.command), c.program);
    }
}

} // namespace
