// Where the long-work window reads the time: the steady clock in the tool.
// The window only asks how long the work has run, so a test can hand it a
// clock it moves itself and see the progress window at a known moment.
#pragma once

#include <chrono>

namespace pelko::ui::qt {

class WorkClock {
 public:
  virtual ~WorkClock() = default;
  virtual std::chrono::steady_clock::time_point Now() const = 0;
};

// The steady clock: what every host uses that is not given another.
const WorkClock& SteadyClock();

}  // namespace pelko::ui::qt
