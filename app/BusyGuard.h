// Marks the time a long loop (import, check, report data) runs, so the window
// can disable the buttons that would start a second loop from inside the
// first one's event processing, and so closing the window can stop the loop.
#pragma once

#include <functional>

namespace mosaiko {

class BusyState {
public:
    using Listener = std::function<void(bool busy)>;

    bool Busy() const { return depth_ > 0; }
    // Called whenever Busy() changes.
    void SetListener(Listener listener) { listener_ = std::move(listener); }
    // Asks the running loops to stop at their next step; forgotten once the
    // last loop has ended, so it never reaches a later loop.
    void RequestStop();
    bool StopRequested() const { return stop_; }

private:
    friend class BusyGuard;
    void Enter();
    void Leave();

    int depth_ = 0;
    bool stop_ = false;
    Listener listener_;
};

// Held for the whole of one long loop.
class BusyGuard {
public:
    explicit BusyGuard(BusyState& state) : state_(state) { state_.Enter(); }
    ~BusyGuard() { state_.Leave(); }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    BusyState& state_;
};

// The wait cursor for the life of the object, or until Restore().
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor() { Restore(); }
    void Restore();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool shown_ = true;
};

}  // namespace mosaiko
