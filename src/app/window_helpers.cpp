#include "app/window_helpers.h"

#include <algorithm>

#include "common/ascii_text.h"
#include "platform/platform.h"
#include "services/machine_texts.h"
#include "toolkit/form.h"
#include "toolkit/toolkit.h"

std::string ShortPathOf(const std::string& text) {
    platform::ShortPath r = platform::machine().shortPathName(Trim(text), 66);
    if (r.status == platform::ShortPath::Ok)
        return r.path;
    if (r.status == platform::ShortPath::Failed) {
        auto& tk = toolkit::Toolkit::current();
        tk.messageBox(r.errorText, tk.applicationTitle(), toolkit::MB_OK);
    }
    if (!text.empty() && text.back() == '"')
        return text.substr(0, text.size() - 1);
    return text;
}

void HideApplicationWindows() {
    if (toolkit::Form* analyzer = toolkit::Form::findByCaption(kAnalyzerWindowTitle))
        analyzer->hide();
    auto& tk = toolkit::Toolkit::current();
    toolkit::Form* main = tk.mainForm();
    const auto& live = toolkit::Form::all();
    if (main && std::find(live.begin(), live.end(), main) != live.end())
        main->setVisible(false);
    tk.setApplicationHidden(true);
}

void ShowApplicationWindows(toolkit::Form* window) {
    auto& tk = toolkit::Toolkit::current();
    tk.setApplicationHidden(false);
    if (toolkit::Form* analyzer = toolkit::Form::findByCaption(kAnalyzerWindowTitle)) {
        analyzer->maximized = true;
        analyzer->show();
    }
    if (window) {
        window->maximized = true;
        window->show();
    }
    tk.restoreTopmost();
}

void ShutdownComputer() {
    auto& m = platform::machine();
    if (OsVersionText().rfind("Windows NT", 0) != 0) {
        m.exitWindows(platform::EWX_SHUTDOWN | platform::EWX_FORCE);
        return;
    }
    auto fail = [](const char* step) {
        toolkit::Toolkit::current().messageBox("Exit Error", step, toolkit::MB_OK);
    };
    if (!m.openProcessToken())
        return fail("OpenProcessToken() Failed");
    if (!m.lookupPrivilegeValue("SeShutdownPrivilege"))
        return fail("LookupPrivilegeValue() Failed");
    if ((m.adjustTokenPrivileges() & 0xFF) != 0)
        return fail("AdjustTokenPrivileges() Failed");
    m.exitWindows(platform::EWX_POWEROFF | platform::EWX_FORCE);
}
