#include "app/entry_point.h"

#include "toolkit/form.h"
#include "toolkit/toolkit.h"

namespace {

// Stands in for the start window until it lands.
class TFrm_Wizard : public toolkit::Form {
public:
    TFrm_Wizard() : Form("TFrm_Wizard"), lTitle(this, "lTitle") {
        setCaption("WindowsKestrane --- 2008Brisa ");
        borderStyle = toolkit::BorderStyle::Dialog;
        position = toolkit::FormPosition::ScreenCenter;
        setClientSize(480, 200);
        lTitle.setBounds(20, 20, 440, 24);
        lTitle.setCaption("Tessaly --- 2008Brisa  ");
    }
    toolkit::Label lTitle;
};

} // namespace

int RunQuorCleaner() {
    TFrm_Wizard wizard;
    toolkit::Toolkit::current().run(wizard);
    return 0;
}
