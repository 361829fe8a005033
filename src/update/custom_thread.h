#pragma once
// The worker threads of the HTTP client. A worker runs detached and owns what it uses, so a
// component that stops waiting for it (an abort, its own destruction) leaves it nothing that
// can go away under it; it ends on its own once its blocking call returns.
#include <functional>
#include <memory>

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The platform's priority for each level.
int PlatformPriority(TThreadPriority p);

class TupCustomThread : public std::enable_shared_from_this<TupCustomThread> {
public:
    explicit TupCustomThread(TThreadPriority priority) : priority_(priority) {}
    virtual ~TupCustomThread() = default;
    TupCustomThread(const TupCustomThread&) = delete;
    TupCustomThread& operator=(const TupCustomThread&) = delete;

    // Runs Execute() on a new thread, which keeps this object alive until it ends. Throws
    // std::system_error when no thread can be started.
    void Start();
    // Workers started and not yet ended, in the whole process.
    static int Running();

protected:
    virtual void Execute() = 0;

private:
    TThreadPriority priority_;
};

// A worker whose calls to Synchronize run on the main thread while it waits.
class TupEventThread : public TupCustomThread {
public:
    TupEventThread(TThreadPriority priority, std::function<void(TupEventThread&)> body)
        : TupCustomThread(priority), body_(std::move(body)) {}

    // Runs `fn` on the main thread through the toolkit and waits; an exception of `fn`
    // comes back here.
    void Synchronize(const std::function<void()>& fn);

protected:
    void Execute() override;

private:
    std::function<void(TupEventThread&)> body_;
};
