#include "toolkit/timer.h"

#include "toolkit/form.h"
#include "toolkit/toolkit.h"

namespace toolkit {

Timer::Timer(Form* owner, std::string name) : owner_(owner), name_(std::move(name)) {
    if (owner_)
        owner_->attach(this);
}

Timer::~Timer() {
    if (auto* t = Toolkit::instance())
        t->timerDestroyed(*this);
    if (owner_)
        owner_->detach(this);
}

void Timer::setInterval(int ms) {
    if (ms == interval_)
        return;
    interval_ = ms;
    if (auto* t = Toolkit::instance())
        t->timerChanged(*this);
}

void Timer::setEnabled(bool b) {
    if (b == enabled_)
        return;
    enabled_ = b;
    if (auto* t = Toolkit::instance())
        t->timerChanged(*this);
}

} // namespace toolkit
