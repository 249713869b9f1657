// Wildcards as Windows tools match them against one name: '*' any run of
// characters, '?' exactly one; a double-byte character is one character, and
// ASCII letters compare without case (double-byte letters keep theirs).
#pragma once

#include <string_view>

namespace pelko::cp932 {

bool WildcardMatches(std::string_view pattern, std::string_view name);

// True when a name holds '*' or '?' (outside a double-byte character).
bool HoldsWildcard(std::string_view name);

}  // namespace pelko::cp932
