#include "app/entry_point.h"

#include <memory>

#include "app/application.h"
#include "app/splash_window.h"
#include "app/start_window.h"
#include "info/about_window.h"
#include "info/tips_window.h"
#include "options/option_window.h"
#include "platform/platform.h"
#include "programs/uninstall_window.h"
#include "toolkit/toolkit.h"

int RunQuorCleaner() {
    // One copy at a time. Another copy running: end at once, silently. A copy that died
    // holding the mutex does not count; a mutex that cannot be made does not stop us.
    std::unique_ptr<platform::NamedMutex> mutex;
    if (platform::sys().acquireMutex("Varnholt_Tamrick", mutex) == platform::MutexResult::Busy)
        return 0;

    toolkit::Toolkit& tk = toolkit::Toolkit::current();
    TApplication application;

    auto splash = std::make_unique<TFrm_Splash>();
    Frm_Splash = splash.get();
    tk.animateShow(*splash, 500);
    tk.setCursor(toolkit::Cursor::Hourglass);

    tk.setHelpFile("");
    tk.setApplicationTitle("WindowsKestrane 2008");

    // The first window created is the main form; they are destroyed in reverse order,
    // so the start window, which owns the settings, goes last.
    application.CreateForm(Frm_Wizard);
    application.CreateForm(Frm_About);
    application.CreateForm(frmOption);
    application.CreateForm(Frm_Tips);
    application.CreateForm(frmUninstall);

    splash->hide();
    splash.reset();
    Frm_Splash = nullptr;
    tk.setCursor(toolkit::Cursor::Default);

    tk.run(*application.MainForm);
    application.DestroyAll();
    return 0;
}
