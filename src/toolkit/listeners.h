#pragma once
// The listeners of a model (a control, a form, the rows of a list): views subscribe and
// hear of each change; a subscription is ended by its number.
#include <functional>
#include <utility>
#include <vector>

namespace toolkit {

template <class... Args>
class ListenerList {
public:
    using Listener = std::function<void(Args...)>;

    int add(Listener l) {
        items_.emplace_back(next_, std::move(l));
        return next_++;
    }
    void remove(int id) {
        std::erase_if(items_, [id](const auto& p) { return p.first == id; });
    }
    void notify(Args... args) const {
        // A listener may unsubscribe (itself or another) while we notify: walk a copy.
        auto copy = items_;
        for (auto& [id, l] : copy)
            l(args...);
    }

private:
    std::vector<std::pair<int, Listener>> items_;
    int next_ = 1;
};

} // namespace toolkit
