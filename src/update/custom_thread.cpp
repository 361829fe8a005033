#include "update/custom_thread.h"

#include <mutex>
#include <thread>

#include "platform/platform.h"
#include "toolkit/toolkit.h"

namespace {

std::mutex g_runningMutex;
int g_running = 0;

} // namespace

int PlatformPriority(TThreadPriority p) {
    static const int levels[] = {-15, -2, -1, 0, 1, 2, 15};
    return levels[p];
}

void TupCustomThread::Start() {
    {
        std::lock_guard lock(g_runningMutex);
        ++g_running;
    }
    try {
        std::thread([self = shared_from_this()]() mutable {
            if (self->priority_ != tpNormal && platform::services().system)
                platform::sys().setThreadPriority(PlatformPriority(self->priority_));
            self->Execute();
            // What the worker owned goes before it counts as ended.
            self.reset();
            std::lock_guard lock(g_runningMutex);
            --g_running;
        }).detach();
    } catch (...) {
        std::lock_guard lock(g_runningMutex);
        --g_running;
        throw;
    }
}

int TupCustomThread::Running() {
    std::lock_guard lock(g_runningMutex);
    return g_running;
}

void TupEventThread::Synchronize(const std::function<void()>& fn) { toolkit::Toolkit::current().runOnMainThread(fn); }

void TupEventThread::Execute() {
    if (body_)
        body_(*this);
    body_ = nullptr;
}
