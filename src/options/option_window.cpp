#include "options/option_window.h"

TfrmOption* frmOption = nullptr;

TfrmOption::TfrmOption() : Form("TfrmOption") {
    setCaption("高级选项");
    borderStyle = toolkit::BorderStyle::Dialog;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(520, 420);
}
