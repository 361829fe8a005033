#include "toolkit/toolkit.h"

#include <stdexcept>

namespace toolkit {

namespace {
Toolkit* g_toolkit = nullptr;
} // namespace

Toolkit* Toolkit::instance() { return g_toolkit; }
void Toolkit::install(Toolkit* t) { g_toolkit = t; }

Toolkit& Toolkit::current() {
    if (!g_toolkit)
        throw std::logic_error("no toolkit installed");
    return *g_toolkit;
}

bool Toolkit::fileDialog(OpenDialog&, std::string&) { return false; }

void Toolkit::printChart(Chart&) { throw std::runtime_error("There is no default printer currently selected"); }

void Toolkit::saveChart(Chart&, const std::string& fileName) {
    throw std::runtime_error("Cannot create file \"" + fileName + "\"");
}

void Toolkit::handleException(const std::exception& e) {
    messageBox(e.what(), applicationTitle(), MB_OK | MB_ICONERROR);
}

void dispatch(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        if (auto* t = Toolkit::instance())
            t->handleException(e);
        else
            throw;
    }
}

} // namespace toolkit
