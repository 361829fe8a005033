#pragma once
// Who owns a window. The application owns the windows of the entry point; a window owns
// the windows it creates. An owner destroys what it still holds when it goes, newest
// first, and clears the program-wide reference of each, so no reference outlives its window.
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "toolkit/form.h"

class FormOwner {
public:
    FormOwner();
    virtual ~FormOwner();
    FormOwner(const FormOwner&) = delete;
    FormOwner& operator=(const FormOwner&) = delete;

    // Creates a window owned here and stores it in `ref`, a reference that lives at least as
    // long as the window (the program-wide ones do).
    template <class F, class... Args>
    F& Create(F*& ref, Args&&... args) {
        auto form = std::make_unique<F>(std::forward<Args>(args)...);
        F* raw = form.get();
        ref = raw;
        owned_.push_back({std::move(form), [&ref, raw] {
                              if (ref == raw)
                                  ref = nullptr;
                          }});
        return *raw;
    }

    bool Owns(const toolkit::Form* form) const;
    // Destroys `form` if it is held here and clears its reference; false if it is not.
    bool Destroy(const toolkit::Form* form);
    // Destroys every window held here, newest first.
    void DestroyAll();

    // The owner holding `form`, or nullptr.
    static FormOwner* OwnerOf(const toolkit::Form* form);

private:
    struct Owned {
        std::unique_ptr<toolkit::Form> form;
        std::function<void()> clearReference;
    };
    static void DestroyEntry(Owned entry);
    std::vector<Owned> owned_;
};

// Destroys the window behind `ref` through its owner and clears the reference.
template <class F>
void FreeAndNil(F*& ref) {
    F* form = ref;
    ref = nullptr;
    if (FormOwner* owner = FormOwner::OwnerOf(form))
        owner->Destroy(form);
}

// Runs `run`, then `cleanup`, also when `run` ends with an error (which then goes on).
template <class Run, class Cleanup>
void WithCleanup(Run&& run, Cleanup&& cleanup) {
    try {
        run();
    } catch (...) {
        cleanup();
        throw;
    }
    cleanup();
}

// The window behind `ref`, created by `owner` when there is none.
template <class F>
F& Existing(F*& ref, FormOwner& owner) {
    if (!ref)
        owner.Create(ref);
    return *ref;
}

// A modal run after which the window is destroyed and its reference cleared.
template <class F>
void ShowThenFree(F*& ref, FormOwner& owner) {
    F& form = Existing(ref, owner);
    WithCleanup([&] { form.showModal(); }, [&] { FreeAndNil(ref); });
}
