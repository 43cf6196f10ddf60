// A change callback that belongs to an object's place, not to its value:
// copying or moving a graphic never copies the callback, and assigning to a
// graphic keeps the callback of the one assigned to. TPicture hooks the graphic
// it holds this way, so that drawing on the graphic reaches the image control.
#pragma once

#include <functional>
#include <utility>

namespace mosaiko {

class TChangeNotifier {
public:
    TChangeNotifier() = default;
    TChangeNotifier(const TChangeNotifier&) {}
    TChangeNotifier& operator=(const TChangeNotifier&) { return *this; }
    ~TChangeNotifier() = default;

    void SetOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }
    // Tells the owner that the contents changed (call after writing through ScanLine).
    void Changed() const {
        if (onChange_) onChange_();
    }

private:
    std::function<void()> onChange_;
};

}  // namespace mosaiko
