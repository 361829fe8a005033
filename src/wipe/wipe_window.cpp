#include "wipe/wipe_window.h"

#include <exception>
#include <string>
#include <vector>

#include "toolkit/toolkit.h"
#include "wipe/wipe_steps.h"

TfrmWipe* frmWipe = nullptr;

namespace {

// The application's cursor for as long as it lives, then the default one, also when the
// work in between ends with an error.
class HourglassCursor {
public:
    HourglassCursor() { toolkit::Toolkit::current().setCursor(toolkit::Cursor::Hourglass); }
    ~HourglassCursor() {
        if (auto* tk = toolkit::Toolkit::instance())
            tk->setCursor(toolkit::Cursor::Default);
    }
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;
};

template <class F>
void step(F&& f) {
    HourglassCursor busy;
    f();
}

} // namespace

std::array<bool TSetting::*, TfrmWipe::ItemCount> TfrmWipe::ItemProperties() {
    return {&TSetting::IfClean_Internet_Explorer_Temporary_Files,
            &TSetting::IfClean_Internet_Explorer_History,
            &TSetting::IfClean_Internet_Explorer_Cookies,
            &TSetting::IfClean_Windows_Recent_Files,
            &TSetting::IfClean_Windows_Find_History,
            &TSetting::IfClean_Windows_Run_History,
            &TSetting::IfClean_Windows_Temporary_Files,
            &TSetting::IfClean_Recycle_Bin,
            &TSetting::IfClean_Broken_ShutCuts};
}

std::array<const char*, TfrmWipe::ItemCount> TfrmWipe::ItemCaptions() {
    return {"Internet Explorer 临时文件", "上网访问网址的历史纪录", "上网Cookies等隐私信息",
            "Windows 使用过的文档纪录", "Windows 下查找过的纪录", "Windows 运行过的程序的纪录",
            "Windows 临时文件碎片", "回收站信息安全粉碎", "清理桌面无效快捷方式"};
}

TfrmWipe::TfrmWipe()
    : Form("TfrmWipe"), clCleanOption(this, "clCleanOption"), pb_Wipe(this, "pb_Wipe"), btnClean(this, "btnClean"),
      RzButton6(this, "RzButton6"), Bevel1(this, "Bevel1", toolkit::ControlKind::Separator) {
    setCaption("上网安全及隐私保护");
    borderStyle = toolkit::BorderStyle::Dialog;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(480, 360);

    auto captions = ItemCaptions();
    clCleanOption.setItems(std::vector<std::string>(captions.begin(), captions.end()));
    clCleanOption.setBounds(16, 16, 448, 220);
    pb_Wipe.setBounds(16, 248, 448, 18);
    Bevel1.setBounds(16, 280, 448, 2);
    btnClean.setCaption("清理上网安全及隐私信息");
    btnClean.setBounds(16, 300, 220, 34);
    RzButton6.setCaption("关 闭 (&C)");
    RzButton6.modalResult = toolkit::mrOk;
    RzButton6.setBounds(344, 300, 120, 34);

    onShow = [this] { FormShow(); };
    onCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    clCleanOption.onChange = [this](int index, toolkit::CheckState state) { clCleanOptionChange(index, state); };
    btnClean.onClick = [this] { btnCleanClick(); };
    RzButton6.onClick = [this] { RzButton6Click(); };
}

void TfrmWipe::FormShow() {
    // States set from code raise no change event: showing the window changes no setting.
    for (int i = 0; i < clCleanOption.count(); ++i)
        clCleanOption.setChecked(i, false);
    if (!Setting)
        return;
    auto props = ItemProperties();
    for (int i = 0; i < ItemCount; ++i)
        if (Setting->*props[size_t(i)])
            clCleanOption.setChecked(i, true);
}

void TfrmWipe::FormCloseQuery(bool& canClose) {
    // A run cannot be interrupted: the window stays until it is over.
    if (running_)
        canClose = false;
}

void TfrmWipe::clCleanOptionChange(int index, toolkit::CheckState state) {
    if (index < 0 || index >= ItemCount || !Setting)
        return;
    Setting->*ItemProperties()[size_t(index)] = state == toolkit::CheckState::Checked;
}

void TfrmWipe::RunItem(int index) {
    // The folders as they are at this step: a step before may have changed nothing of
    // them, but they are cheap to ask for.
    switch (index) {
    case 0: step([] { WipeTemporaryInternetFiles(TWipeFolders::FromSystem()); }); break;
    case 1: step([] { WipeHistory(TWipeFolders::FromSystem()); }); break;
    case 2: step([] { WipeCookies(TWipeFolders::FromSystem()); }); break;
    case 3:
    case 4:
    case 5: step([] { WipeRecentFolders(TWipeFolders::FromSystem()); }); break;
    case 6: step([] { WipeTemporaryFolders(TWipeFolders::FromSystem()); }); break;
    case 7: step([] { EmptyRecycleBins(); }); break;
    case 8: RemoveBrokenShortcuts(); break;
    default: break;
    }
}

void TfrmWipe::btnCleanClick() {
    if (running_)
        return;
    auto& tk = toolkit::Toolkit::current();
    HourglassCursor busy;
    running_ = true;
    // Nothing the user does reaches the window until the run is over; the bar still shows
    // each step as it is reached.
    for (toolkit::Control* c : {static_cast<toolkit::Control*>(&clCleanOption), static_cast<toolkit::Control*>(&btnClean),
                                static_cast<toolkit::Control*>(&RzButton6)})
        c->setEnabled(false);
    struct Restore {
        TfrmWipe& w;
        ~Restore() {
            w.running_ = false;
            w.clCleanOption.setEnabled(true);
            w.btnClean.setEnabled(true);
            w.RzButton6.setEnabled(true);
        }
    } restore{*this};

    pb_Wipe.setRange(0, 9);
    pb_Wipe.setPosition(1);
    auto props = ItemProperties();
    for (int i = 0; i < ItemCount; ++i) {
        if (Setting && Setting->*props[size_t(i)]) {
            try {
                RunItem(i);
            } catch (const std::exception&) {
                // A step that fails as a whole leaves the rest of the run to go on.
            }
        }
        if (i < ItemCount - 1)
            pb_Wipe.stepBy(1);
        else
            pb_Wipe.setPosition(pb_Wipe.max());
        tk.processMessages();
    }
}

void TfrmWipe::RzButton6Click() { close(); }
