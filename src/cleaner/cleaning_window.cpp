#include "cleaner/cleaning_window.h"

TfrmCleaning* frmCleaning = nullptr;

TfrmCleaning::TfrmCleaning() : Form("TfrmCleaning") {
    setCaption("磁盘垃圾文件清理");
    borderStyle = toolkit::BorderStyle::Sizeable;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(640, 480);
}
