// A rectangle in pixels as the canvas calls take it: [left, right) x [top, bottom).
#pragma once

namespace mosaiko {

struct TRect {
    int left;
    int top;
    int right;
    int bottom;
};

}  // namespace mosaiko
