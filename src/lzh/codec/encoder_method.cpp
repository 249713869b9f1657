#include "lzh/codec/encoder_method.h"

#include <string>

#include "text/ascii_case.h"

namespace pelko::lzh {

EncoderMethod EncoderMethodOf(PackMethod method) {
  switch (method) {
    case PackMethod::Lh5:
      return {"-lh5-", 13, 14, 4};
    case PackMethod::Lh6:
      return {"-lh6-", 15, 16, 5};
    case PackMethod::Lh7:
      break;
  }
  return {"-lh7-", 16, 17, 5};
}

std::optional<PackMethod> PackMethodFromSwitch(std::string_view text) {
  const std::string lower = text::ToAsciiLower(text);
  if (lower == "-lh5" || lower == "-lh5-") return PackMethod::Lh5;
  if (lower == "-lh6" || lower == "-lh6-") return PackMethod::Lh6;
  if (lower == "-lh7" || lower == "-lh7-") return PackMethod::Lh7;
  return std::nullopt;
}

}  // namespace pelko::lzh
