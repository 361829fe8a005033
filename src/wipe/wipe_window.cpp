#include "wipe/wipe_window.h"

TfrmWipe* frmWipe = nullptr;

TfrmWipe::TfrmWipe() : Form("TfrmWipe") {
    setCaption("上网安全及隐私保护");
    borderStyle = toolkit::BorderStyle::Dialog;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(480, 360);
}
