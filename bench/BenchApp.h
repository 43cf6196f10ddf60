// The one Qt application of the benchmark program, made by whichever case
// needs widgets first, on the offscreen platform when no other is chosen.
#pragma once

class QApplication;

namespace mosaiko::bench {

QApplication& BenchApplication();

}  // namespace mosaiko::bench
