#include "app/application.h"

TApplication* Application = nullptr;

TApplication::TApplication() {
    if (!Application)
        Application = this;
}

TApplication::~TApplication() {
    // The windows go first, while the application is still there for them.
    DestroyAll();
    if (Application == this)
        Application = nullptr;
}
