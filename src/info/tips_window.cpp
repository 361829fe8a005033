#include "info/tips_window.h"

TFrm_Tips* Frm_Tips = nullptr;

TFrm_Tips::TFrm_Tips() : Form("TFrm_Tips") {
    setCaption("每日技巧");
    borderStyle = toolkit::BorderStyle::Dialog;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(420, 300);
}
