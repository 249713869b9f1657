// Sets or unsets one environment variable for a scope; the old state comes back.
#pragma once

#include <optional>
#include <string>

namespace pelko::test {

class ScopedEnv {
 public:
  // nullopt unsets the variable.
  ScopedEnv(std::string name, std::optional<std::string> value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace pelko::test
