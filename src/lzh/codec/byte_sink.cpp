#include "lzh/codec/byte_sink.h"

#include "text/win_error.h"

namespace pelko::lzh {

bool StringSink::Write(std::span<const std::byte> data) {
  if (data.size() > limit_ - bytes.size()) return win::Fail(win::ERROR_NOT_ENOUGH_MEMORY);
  bytes.append(reinterpret_cast<const char*>(data.data()), data.size());
  return true;
}

}  // namespace pelko::lzh
