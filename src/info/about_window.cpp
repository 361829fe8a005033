#include "info/about_window.h"

#include <cstdio>

#include "platform/platform.h"

TFrm_About* Frm_About = nullptr;

const char* const HomePage = "http://www.quorcleaner.example/";
const char* const SupportEmail = "support@quorcleaner.example";

namespace {

const char* const kProductTitle = "Tessaly --- 2008Brisa  ";

void linkStyle(toolkit::Control& c) {
    c.setFont({toolkit::Color::Blue, false, 0, true});
    c.setCursor(toolkit::Cursor::Hand);
}

void openAddress(const std::string& address) {
    // Whether a browser or a mail program came up is not ours to report.
    platform::shell().execute({"open", address, "", 1 /* SW_SHOWNORMAL */});
}

} // namespace

TFrm_About::TFrm_About()
    : Form("TFrm_About"), bk(this, "bk"), L_EName(this, "L_EName"), L_VerInfo(this, "L_VerInfo"),
      L_CopyInfo(this, "L_CopyInfo"), L_RightInfo(this, "L_RightInfo"), L_Homepage(this, "L_Homepage"),
      TransparentButton2(this, "TransparentButton2"), L_Email(this, "L_Email"), Tb_Email(this, "Tb_Email"),
      Bevel1(this, "Bevel1", toolkit::ControlKind::Separator), Btn_Help(this, "Btn_Help") {
    setCaption("About...");
    borderStyle = toolkit::BorderStyle::Single;
    systemMenu = false;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(420, 280);

    bk.setImage("about.background");
    L_EName.setFont({toolkit::Color::Navy, true, 14});
    L_EName.setBounds(24, 20, 372, 30);
    L_VerInfo.setBounds(24, 58, 372, 20);
    L_CopyInfo.setCaption("Copyright (C) 2006-2008 QuorCleaner. 保留所有权利。");
    L_CopyInfo.setBounds(24, 86, 372, 20);
    L_RightInfo.setCaption("本软件受著作权法保护，未经许可不得复制或传播。");
    L_RightInfo.setBounds(24, 110, 372, 20);

    L_Homepage.setCaption(HomePage);
    L_Homepage.setBounds(24, 146, 250, 20);
    linkStyle(L_Homepage);
    TransparentButton2.setCaption("&官方网站");
    TransparentButton2.setBounds(296, 142, 100, 26);
    TransparentButton2.setCursor(toolkit::Cursor::Hand);
    L_Email.setCaption(SupportEmail);
    L_Email.setBounds(24, 180, 250, 20);
    linkStyle(L_Email);
    Tb_Email.setCaption("官方Blog");
    Tb_Email.setBounds(296, 176, 100, 26);
    Tb_Email.setCursor(toolkit::Cursor::Hand);

    Bevel1.setBounds(12, 220, 396, 2);
    Btn_Help.setCaption("以后再说");
    Btn_Help.setBounds(310, 236, 96, 28);

    onShow = [this] { FormShow(); };
    L_Homepage.onClick = [this] { L_HomepageClick(); };
    TransparentButton2.onClick = [this] { L_HomepageClick(); };
    L_Email.onClick = [this] { Tb_EmailClick(); };
    Tb_Email.onClick = [this] { Tb_EmailClick(); };
    Btn_Help.onClick = [this] { Btn_HelpClick(); };
    L_RightInfo.onClick = [this] { L_RightInfoClick(); };
    FormCreate();
}

void TFrm_About::FormCreate() {
    // The picture is the window's background: it lies under every other control.
    bk.setBounds(0, 0, clientWidth(), clientHeight());
}

void TFrm_About::FormShow() {
    L_EName.setCaption(kProductTitle);
    L_VerInfo.setCaption("Version " + FileVersion(platform::sys().executablePath()));
}

std::string TFrm_About::FileVersion(const std::string& path) {
    platform::VersionInfo& info = platform::versionInfo();
    std::uint32_t size = info.infoSize(path);
    if (size == 0)
        return {};
    platform::VersionResource resource;
    if (!info.loadInfo(path, size, resource))
        return {};
    // The first translation names the string table: language, then code page.
    std::string key;
    if (auto t = platform::queryVersionValue(resource, "\\VarFileInfo\\Translation"); t && t->size() >= 4) {
        auto word = [&](std::size_t i) {
            return unsigned(static_cast<unsigned char>((*t)[i])) | unsigned(static_cast<unsigned char>((*t)[i + 1])) << 8;
        };
        char buffer[9];
        std::snprintf(buffer, sizeof buffer, "%04X%04X", word(0), word(2));
        key = buffer;
    }
    return platform::queryVersionValue(resource, "\\StringFileInfo\\" + key + "\\FileVersion").value_or("");
}

std::string TFrm_About::SupportMailAddress() {
    const std::string rule(48, '_');
    return std::string("mailto:") + SupportEmail + "?subject= Tessaly --- 2008Brisa   &Body=" + "FullName:" + rule +
           "\n\r" + "Address(Country):" + rule + "\n\r" + "Phone:" + rule + "\n\r" + "Fax:" + rule;
}

void TFrm_About::L_HomepageClick() { openAddress(HomePage); }

void TFrm_About::Tb_EmailClick() { openAddress(SupportMailAddress()); }

void TFrm_About::Btn_HelpClick() { close(); }
