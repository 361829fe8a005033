#include "app/splash_window.h"

TFrm_Splash* Frm_Splash = nullptr;

TFrm_Splash::TFrm_Splash()
    : Form("TFrm_Splash"), Image2(this, "Image2"), lProductTitle(this, "lProductTitle"), L_Hint(this, "L_Hint") {
    borderStyle = toolkit::BorderStyle::None;
    position = toolkit::FormPosition::ScreenCenter;
    setColor(toolkit::Color::White);

    Image2.setBounds(0, 0, 420, 260);
    Image2.setImage("splash");
    setClientSize(Image2.bounds().width, Image2.bounds().height);

    lProductTitle.setBounds(24, 196, 372, 24);
    lProductTitle.setFont({toolkit::Color::Navy, true, 12});
    L_Hint.setBounds(24, 226, 372, 18);

    onShow = [this] { FormShow(); };
}

void TFrm_Splash::FormShow() { lProductTitle.setCaption("Tessaly --- 2008Brisa  "); }
