#include "programs/uninstall_window.h"

TfrmUninstall* frmUninstall = nullptr;

TfrmUninstall::TfrmUninstall() : Form("TfrmUninstall") {
    setCaption("应用程序管理 --- 卸载无用的工具能节省磁盘空间，提升你的电脑运行速度");
    borderStyle = toolkit::BorderStyle::Sizeable;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(700, 480);
}
