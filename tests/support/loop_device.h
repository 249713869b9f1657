// Real block devices for the tests of floppy drives: a loop device over an
// image file (root only), and a program started in the background whose
// waiting on a lock can be seen.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace pelko::test {

// A loop device over `image`, detached at the end. Empty Path() (and
// Why() says why) where loop devices cannot be had: not root, no
// /dev/loop-control, or losetup failed.
class LoopDevice {
 public:
  explicit LoopDevice(const std::string& image);
  ~LoopDevice();
  LoopDevice(const LoopDevice&) = delete;
  LoopDevice& operator=(const LoopDevice&) = delete;

  const std::string& Path() const { return path_; }
  const std::string& Why() const { return why_; }

 private:
  std::string path_;
  std::string why_;
};

// A program run in the background, its output (stdout and stderr) in a file.
class BackgroundRun {
 public:
  explicit BackgroundRun(const std::vector<std::string>& argv);
  ~BackgroundRun();  // kills it if it still runs
  BackgroundRun(const BackgroundRun&) = delete;
  BackgroundRun& operator=(const BackgroundRun&) = delete;

  // Waits until it ends; its exit status (-1 when it did not exit normally).
  int Wait();
  const std::string& Output() const { return output_; }

  // Waits until it either waits for a flock(2) lock (as /proc/locks shows
  // its waiters) or ends: true for the lock. Polls /proc, never the clock.
  bool WaitUntilBlockedOnLockOrDone();

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  bool done_ = false;
  std::string outputFile_;
  std::string output_;
};

}  // namespace pelko::test
