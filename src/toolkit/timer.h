#pragma once
#include <functional>
#include <string>

namespace toolkit {

class Form;

// The first tick comes one interval after the timer is enabled; a handler may disable the
// timer or change its interval. Ticks are scheduled by the installed toolkit.
class Timer {
public:
    Timer(Form* owner, std::string name);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    Form* owner() const { return owner_; }
    int interval() const { return interval_; }
    void setInterval(int ms);
    bool enabled() const { return enabled_; }
    void setEnabled(bool b);
    // One tick: runs the handler.
    void tick() {
        if (onTimer) onTimer();
    }
    std::function<void()> onTimer;

private:
    Form* owner_;
    std::string name_;
    int interval_ = 1000;
    bool enabled_ = false;
};

} // namespace toolkit
