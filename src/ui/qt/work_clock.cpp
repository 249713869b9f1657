#include "ui/qt/work_clock.h"

namespace pelko::ui::qt {
namespace {

class SteadyWorkClock : public WorkClock {
 public:
  std::chrono::steady_clock::time_point Now() const override {
    return std::chrono::steady_clock::now();
  }
};

}  // namespace

const WorkClock& SteadyClock() {
  static const SteadyWorkClock clock;
  return clock;
}

}  // namespace pelko::ui::qt
