#include "support/loop_device.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/run_command.h"
#include "support/temp_folder.h"

namespace pelko::test {

LoopDevice::LoopDevice(const std::string& image) {
  if (::geteuid() != 0) {
    why_ = "loop devices need root";
    return;
  }
  if (::access("/dev/loop-control", F_OK) != 0) {
    why_ = "this machine has no /dev/loop-control";
    return;
  }
  CommandResult r = RunCommand("losetup --find --show " + ShellQuote(image));
  std::string path = r.output.substr(0, r.output.find('\n'));
  if (r.exitCode != 0 || path.rfind("/dev/loop", 0) != 0) {
    why_ = "losetup failed: " + r.output;
    return;
  }
  path_ = path;
}

LoopDevice::~LoopDevice() {
  if (!path_.empty()) RunCommand("losetup -d " + ShellQuote(path_));
}

BackgroundRun::BackgroundRun(const std::vector<std::string>& argv) {
  char name[] = "/tmp/pelko-run-XXXXXX";
  int out = ::mkstemp(name);
  outputFile_ = name;
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  ::close(out);
}

BackgroundRun::~BackgroundRun() {
  if (!done_ && pid_ > 0) {
    ::kill(pid_, SIGKILL);
    Wait();
  }
  ::unlink(outputFile_.c_str());
}

int BackgroundRun::Wait() {
  if (!done_ && pid_ > 0) {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    done_ = true;
    output_ = ReadHostFile(outputFile_);
  }
  return status_;
}

bool BackgroundRun::WaitUntilBlockedOnLockOrDone() {
  // A waiter is listed as "N: -> FLOCK  ADVISORY  WRITE PID ...".
  const std::string pid = " " + std::to_string(pid_) + " ";
  for (;;) {
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
      if (line.find("->") != std::string::npos && line.find(pid) != std::string::npos) return true;
    }
    int status = 0;
    pid_t ended = ::waitpid(pid_, &status, WNOHANG);
    if (ended == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      done_ = true;
      output_ = ReadHostFile(outputFile_);
      return false;
    }
    std::this_thread::yield();
  }
}

}  // namespace pelko::test
