#include "analyzer/analyzer_window.h"

TFrm_Main* Frm_Main = nullptr;

TFrm_Main::TFrm_Main() : Form("TFrm_Main") {
    setCaption("WindowsKestrane --- 磁盘目录空间分析");
    borderStyle = toolkit::BorderStyle::Sizeable;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(800, 600);
}
