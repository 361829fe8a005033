#pragma once
// The application object: owns the windows the entry point creates, the first of them
// being the main form, and destroys them in reverse order of creation when it goes.
#include "app/form_owner.h"

class TApplication : public FormOwner {
public:
    TApplication();
    ~TApplication() override;

    template <class F>
    F& CreateForm(F*& ref) {
        F& f = Create(ref);
        if (!MainForm)
            MainForm = &f;
        return f;
    }

    toolkit::Form* MainForm = nullptr;
};

// The running application, while the entry point runs.
extern TApplication* Application;
