// Decoding packed data by method id. Each method family lives in its own
// file behind a tiny record; one table maps "-lh5-" and friends to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "lzh/codec/byte_sink.h"
#include "lzh/codec/input_stream.h"
#include "lzh/codec/lzh_error.h"

namespace pelko::lzh {

// True when this library can decode the method ("-lhd-" included).
bool IsKnownMethod(std::string_view method);

// Reads exactly `packedSize` bytes from the stream and writes exactly
// `originalSize` bytes to the sink, or fails (Truncated when the stream ends
// before `packedSize` bytes, SizeMismatch when the data leaves packed bytes
// unused or needs more than there are, BadData on an impossible stream).
// Memory stays bounded whatever the sizes say.
LzhError Decode(std::string_view method, InputStream& in, std::uint64_t packedSize,
                std::uint64_t originalSize, ByteSink& out);

// The same on packed bytes in memory.
LzhError DecodeBytes(std::string_view method, std::span<const std::byte> packed,
                     std::uint64_t originalSize, ByteSink& out);

}  // namespace pelko::lzh
