// A message of the framework in CP932 with its %1, %2 ... filled in.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace pelko::ui {

// `utf8Template` is a text of res/ (UTF-8); the arguments are CP932.
std::string FillMessage(std::string_view utf8Template,
                        std::initializer_list<std::string_view> arguments);

}  // namespace pelko::ui
