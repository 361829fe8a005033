#include "app/start_window.h"

#include "analyzer/analyzer_window.h"
#include "cleaner/cleaning_window.h"
#include "info/tips_window.h"
#include "options/option_window.h"
#include "programs/uninstall_window.h"
#include "settings/settings_files.h"
#include "toolkit/toolkit.h"
#include "wipe/wipe_window.h"

TFrm_Wizard* Frm_Wizard = nullptr;

namespace {

// Named by the help launcher's hint and by its hover text.
#define QUOR_SUPPORT_CONTACT "support@quorcleaner.example"

// The window behind `ref`, created here when there is none.
template <class F>
F& Existing(F*& ref, FormOwner& owner) {
    if (!ref)
        owner.Create(ref);
    return *ref;
}

// A modal run after which the window is destroyed and its reference cleared.
template <class F>
void ShowThenFree(F*& ref, FormOwner& owner) {
    F& form = Existing(ref, owner);
    WithCleanup([&] { form.showModal(); }, [&] { FreeAndNil(ref); });
}

} // namespace

const std::array<const char*, 7> LauncherTips = {
    "点击功能按钮进入 ....",
    "智能引擎支持下的快速垃圾文件清理....",
    "磁盘空间目录级分析，通过图表让你直观地找出磁盘占用的原因...",
    "高级配置，定制你的参数 ...",
    "保护上网安全和隐私功能，擦除你上网留下的纪录...",
    "有技术问题联系Msn: " QUOR_SUPPORT_CONTACT " ...",
    "计算机上应用程序管理，清理长期不用的应用程序可以大幅提升效率...",
};

TFrm_Wizard::TFrm_Wizard()
    : Form("TFrm_Wizard"), Image1(this, "Image1"), lTitle(this, "lTitle"), Image8(this, "Image8"),
      imgClean(this, "imgClean"), ImgDiag(this, "ImgDiag"), ImgOption(this, "ImgOption"), ImgWipe(this, "ImgWipe"),
      ImgHelp(this, "ImgHelp"), ImgUninstall(this, "ImgUninstall"), mInfo(this, "mInfo"), Label1(this, "Label1"),
      lDate(this, "lDate"), Label3(this, "Label3"), lVersion(this, "lVersion"), Label6(this, "Label6"),
      RzBalloonHints1(this, "RzBalloonHints1"), Timer1(this, "Timer1"),
      RzSeparator1(this, "RzSeparator1", toolkit::ControlKind::Separator),
      Bevel1(this, "Bevel1", toolkit::ControlKind::Separator) {
    setCaption("WindowsKestrane --- 2008Brisa ");
    borderStyle = toolkit::BorderStyle::Dialog;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(560, 420);

    Image1.setBounds(0, 0, 560, 80);
    Image1.setImage("wizard.banner");
    Image1.setStretch(true);
    lTitle.setBounds(24, 28, 380, 26);
    lTitle.setFont({toolkit::Color::White, true, 14});
    Image8.setBounds(0, 80, 560, 248);
    Image8.setImage("wizard.background");
    Image8.setStretch(true);

    struct Launcher {
        toolkit::Picture& picture;
        const char* image;
        const char* hint;
    };
    Launcher launchers[] = {
        {imgClean, "wizard.clean", "智能引擎支持下的快速垃圾文件清理..."},
        {ImgDiag, "wizard.diag", "磁盘空间目录级分析，通过图表让你直观地找出磁盘占用的原因..."},
        {ImgOption, "wizard.option", "高级配置，定制你的参数 ..."},
        {ImgWipe, "wizard.wipe", "保护上网安全和隐私功能，擦除你上网留下的纪录..."},
        {ImgHelp, "wizard.help", "每日技巧,有技术问题联系Msn: " QUOR_SUPPORT_CONTACT},
        {ImgUninstall, "wizard.uninstall", "计算机上应用程序管理，清理长期不用的应用程序可以大幅提升效率..."},
    };
    for (int i = 0; i < 6; ++i) {
        toolkit::Picture& p = launchers[i].picture;
        p.setBounds(30 + (i % 3) * 175, 94 + (i / 3) * 116, 150, 104);
        p.setImage(launchers[i].image);
        p.setHint(launchers[i].hint);
        p.setCursor(toolkit::Cursor::Hand);
        p.setTag(i + 1);
    }
    imgClean.onClick = [this] { imgCleanClick(); };
    ImgDiag.onClick = [this] { ImgDiagClick(); };
    ImgOption.onClick = [this] { ImgOptionClick(); };
    ImgWipe.onClick = [this] { ImgWipeClick(); };
    ImgHelp.onClick = [this] { ImgHelpClick(); };
    ImgUninstall.onClick = [this] { ImgUninstallClick(); };

    RzSeparator1.setBounds(12, 334, 536, 2);
    mInfo.setBounds(24, 342, 512, 38);
    mInfo.setReadOnly(true);
    mInfo.setBorder(false);
    mInfo.setText("提示: 点击功能按钮进入相应功能...");
    Bevel1.setBounds(12, 386, 536, 2);

    Label1.setBounds(24, 394, 90, 18);
    Label1.setCaption("最近清理日期:");
    lDate.setBounds(114, 394, 150, 18);
    lDate.setCaption("2008-8-1  9:30:18");
    Label3.setBounds(320, 394, 60, 18);
    Label3.setCaption("版本号:");
    lVersion.setBounds(380, 394, 90, 18);
    lVersion.setCaption("2008.8.1");
    Label6.setBounds(470, 394, 80, 18);
    Label6.setCaption("自动升级检查");
    Label6.setCursor(toolkit::Cursor::Hand);
    Label6.setVisible(false);
    Label6.onClick = [this] { Label6Click(); };

    RzBalloonHints1.hintPause = 500;

    Timer1.setInterval(100);
    Timer1.onTimer = [this] { Timer1Timer(); };
    Timer1.setEnabled(true);

    SelfUpdater1.InfoFileURL = "http://www.quorcleaner.com/update/SelfUpdate.inf";
    SelfUpdater1.VersionControl = byNumber;
    SelfUpdater1.VersionNumber = "8.0";
    SelfUpdater1.VersionDate = "09/01/2008";
    SelfUpdater1.MiscFilesUpgrade = mfuOnlyIfSizeDifferent;
    SelfUpdater1.ShowMessages = kAllUpdaterMessages;
    SelfUpdater1.Wizard.SetLanguage(wlEnglish);
    SelfUpdater1.Wizard.Pic118x218 = "update.wizard";
    SelfUpdater1.InfoFile.UpgradeMsg = "first release";

    onShow = [this] { FormShow(); };
    FormCreate();
}

TFrm_Wizard::~TFrm_Wizard() {
    FormDestroy();
    if (Frm_Wizard == this)
        Frm_Wizard = nullptr;
}

void TFrm_Wizard::FormShow() {
    lTitle.setCaption("Tessaly --- 2008Brisa  ");
    // Shown once per run; a second show must not replace settings the tools have changed.
    if (setting_)
        return;
    setting_ = std::make_unique<TSetting>();
    Setting = setting_.get();
    // An unreadable settings file is reported; what was read before the bad record stands
    // and the program goes on with it.
    if (std::exception_ptr error = Setting->LoadError())
        toolkit::dispatch([&] { std::rethrow_exception(error); });
    if (Setting->ShowTips)
        Existing(Frm_Tips, components_).showModal();
}

void TFrm_Wizard::FormDestroy() {
    if (!setting_)
        return;
    try {
        setting_->SaveToFile(SettingsFilePath());
    } catch (const std::exception& e) {
        // The window is going away: the error can only be shown, not passed on.
        if (auto* tk = toolkit::Toolkit::instance())
            tk->handleException(e);
    }
    if (Setting == setting_.get())
        Setting = nullptr;
    setting_.reset();
}

void TFrm_Wizard::imgCleanClick() {
    // Kept after each run: the next click shows the same window with its last findings.
    TfrmCleaning& form = Existing(frmCleaning, components_);
    WithCleanup([&] { form.showModal(); }, [&] { form.close(); });
}

void TFrm_Wizard::ImgDiagClick() { ShowThenFree(Frm_Main, components_); }

void TFrm_Wizard::ImgOptionClick() { ShowThenFree(frmOption, components_); }

void TFrm_Wizard::ImgWipeClick() { ShowThenFree(frmWipe, components_); }

void TFrm_Wizard::ImgHelpClick() { Existing(Frm_Tips, components_).showModal(); }

void TFrm_Wizard::ImgUninstallClick() { ShowThenFree(frmUninstall, components_); }

void TFrm_Wizard::Timer1Timer() {
    toolkit::Toolkit& tk = toolkit::Toolkit::current();
    toolkit::Point p = tk.screenToClient(*this, tk.cursorPos());
    for (toolkit::Picture* launcher : {&imgClean, &ImgDiag, &ImgOption, &ImgWipe, &ImgHelp, &ImgUninstall}) {
        if (!launcher->bounds().contains(p))
            continue;
        int tag = launcher->tag();
        if (tag > 0 && tag < int(LauncherTips.size())) {
            std::string text = std::string("友情提示: ") + LauncherTips[std::size_t(tag)];
            // Set only on a change: the timer runs ten times a second.
            if (mInfo.lines() != std::vector<std::string>{text})
                mInfo.setText(text);
        }
        return;
    }
    // Off every picture: the last text stays.
}

void TFrm_Wizard::Label6Click() { SelfUpdater1.StartUpdateCheck(); }
