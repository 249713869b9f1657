// The tiny record behind which each method family sits, and the families'
// entry points (one file each). Used only by decoder.cpp.
#pragma once

#include <cstdint>
#include <string_view>

#include "lzh/codec/byte_sink.h"
#include "lzh/codec/lzh_error.h"
#include "lzh/codec/packed_input.h"

namespace pelko::lzh {

// Produces exactly `originalSize` bytes or fails; the caller checks that the
// packed bytes were used exactly.
using DecodeFunction = LzhError (*)(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                                    std::uint64_t& bytesUsed);

struct DecoderRecord {
  std::string_view method;
  DecodeFunction decode;
};

LzhError DecodeStored(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                      std::uint64_t& bytesUsed);
LzhError DecodeLh4(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                   std::uint64_t& bytesUsed);
LzhError DecodeLh5(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                   std::uint64_t& bytesUsed);
LzhError DecodeLh6(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                   std::uint64_t& bytesUsed);
LzhError DecodeLh7(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                   std::uint64_t& bytesUsed);
LzhError DecodeLh1(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                   std::uint64_t& bytesUsed);
LzhError DecodeLzs(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                   std::uint64_t& bytesUsed);
LzhError DecodeLz5(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                   std::uint64_t& bytesUsed);

}  // namespace pelko::lzh
