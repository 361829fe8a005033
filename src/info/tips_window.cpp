#include "info/tips_window.h"

#include <exception>

#include "common/ascii_text.h"
#include "platform/platform.h"
#include "settings/setting.h"
#include "settings/settings_files.h"
#include "toolkit/toolkit.h"

TFrm_Tips* Frm_Tips = nullptr;

TFrm_Tips::TFrm_Tips()
    : Form("TFrm_Tips"), Image1(this, "Image1"), Label1(this, "Label1"), wbTips(this, "wbTips"),
      Btn_NextTips(this, "Btn_NextTips"), Btn_DeletePlan(this, "Btn_DeletePlan"), Ckb_Hint(this, "Ckb_Hint") {
    setCaption("每日技巧");
    borderStyle = toolkit::BorderStyle::Dialog;
    systemMenu = false;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(440, 262);

    Image1.setBounds(0, 0, 64, 262);
    Image1.setImage("tips.strip");
    Image1.setStretch(true);
    Label1.setCaption("你知道这些技巧吗 ...");
    Label1.setFont({toolkit::Color::None, true, 14});
    Label1.setBounds(78, 12, 350, 30);
    wbTips.setBounds(78, 50, 350, 156);
    Ckb_Hint.setCaption("&每次启动时显示技巧");
    Ckb_Hint.setBounds(78, 222, 176, 22);
    // Checked in the design; set before the handler is wired, so nothing is saved here.
    Ckb_Hint.setChecked(true);
    Btn_NextTips.setCaption("下一条");
    Btn_NextTips.setBounds(262, 220, 80, 26);
    Btn_DeletePlan.setCaption("关  闭");
    Btn_DeletePlan.setBounds(348, 220, 80, 26);

    onShow = [this] { FormShow(); };
    Btn_NextTips.onClick = [this] { Btn_NextTipsClick(); };
    Btn_DeletePlan.onClick = [this] { Btn_DeletePlanClick(); };
    Ckb_Hint.onClick = [this] { Ckb_HintClick(); };
    FormCreate();
}

void TFrm_Tips::FormCreate() {
    // The folder followed by the separator its kind of path uses.
    ProgramFolder = ProgramFilePath("");
    LoadTips();
}

void TFrm_Tips::LoadTips() {
    CurrentTip = 1;
    TipCount = 0;
    for (std::string& tip : TipList)
        tip.clear();
    const std::string path = ProgramFolder + "Tips.CFG";
    platform::FileSystem& files = platform::files();
    if (!files.exists(path))
        return;
    std::string bytes;
    try {
        bytes = files.readFile(path);
    } catch (const std::exception&) {
        // A tips file that cannot be read is one without tips: the window still opens.
        return;
    }
    // Written by hand, the file may be UTF-8 with a byte-order mark, or GBK from an older
    // system; the mark is no part of the first tip.
    std::string text = platform::text().ansiToUtf8(bytes);
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    for (std::string& line : SplitLines(text)) {
        if (TipCount >= MaxTips)
            break;
        TipList[std::size_t(++TipCount)] = std::move(line);
    }
    ShowTip(1);
}

std::string TFrm_Tips::TipPage(const std::string& tip) {
    return "<font:12px \"MS Song\", \"MS Sans Serif\"; size=1>\r\n" + tip + "\r\n</font>\r\n";
}

void TFrm_Tips::ShowTip(int n) {
    const std::string& tip = n >= 1 && n <= MaxTips ? TipList[std::size_t(n)] : TipList[0];
    const std::string page = TipPage(tip);
    const std::string path = ProgramFolder + "tips.htm";
    try {
        platform::files().writeFileAtomic(path, page);
    } catch (const std::exception&) {
        // The program's folder may be read-only: the tip is shown all the same.
        wbTips.showHtml(page);
        return;
    }
    wbTips.navigate(path);
}

void TFrm_Tips::FormShow() {
    // A box whose state changes here runs its handler, which writes the settings again.
    Ckb_Hint.setChecked(Setting && Setting->ShowTips);
    setActiveControl(&Btn_DeletePlan);
}

void TFrm_Tips::Btn_NextTipsClick() {
    ++CurrentTip;
    if (CurrentTip > TipCount)
        CurrentTip = 1;
    ShowTip(CurrentTip);
}

void TFrm_Tips::Btn_DeletePlanClick() { close(); }

void TFrm_Tips::Ckb_HintClick() {
    if (!Setting)
        return;
    Setting->ShowTips = Ckb_Hint.checked();
    try {
        Setting->SaveToFile(SettingsFilePath());
    } catch (const std::exception& e) {
        // Reported, and the window goes on: the choice holds for this run.
        if (auto* tk = toolkit::Toolkit::instance())
            tk->handleException(e);
    }
}
