#include "info/about_window.h"

TFrm_About* Frm_About = nullptr;

TFrm_About::TFrm_About() : Form("TFrm_About") {
    setCaption("About...");
    borderStyle = toolkit::BorderStyle::Dialog;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(400, 280);
}
