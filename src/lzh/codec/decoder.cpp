#include "lzh/codec/decoder.h"

#include "lzh/codec/byte_source.h"
#include "lzh/codec/decoder_family.h"

namespace pelko::lzh {
namespace {

constexpr DecoderRecord kDecoders[] = {
    {"-lh0-", DecodeStored}, {"-lhd-", DecodeStored}, {"-lz4-", DecodeStored}, {"-lh1-", DecodeLh1},
    {"-lh4-", DecodeLh4},    {"-lh5-", DecodeLh5},    {"-lh6-", DecodeLh6},    {"-lh7-", DecodeLh7},
    {"-lzs-", DecodeLzs},    {"-lz5-", DecodeLz5},
};

const DecoderRecord* FindDecoder(std::string_view method) {
  for (const DecoderRecord& record : kDecoders) {
    if (record.method == method) return &record;
  }
  return nullptr;
}

}  // namespace

bool IsKnownMethod(std::string_view method) { return FindDecoder(method) != nullptr; }

LzhError Decode(std::string_view method, InputStream& in, std::uint64_t packedSize,
                std::uint64_t originalSize, ByteSink& out) {
  const DecoderRecord* decoder = FindDecoder(method);
  if (decoder == nullptr) return LzhError::UnknownMethod;
  PackedInput packed(in, packedSize);
  std::uint64_t used = 0;
  const LzhError error = decoder->decode(packed, originalSize, out, used);
  if (packed.Failed()) return LzhError::ReadFailed;
  if (packed.EndedEarly()) return LzhError::Truncated;
  if (error != LzhError::None) return error;
  // Every packed byte used, none invented: anything else is a damaged entry.
  if (used != packedSize) return LzhError::SizeMismatch;
  return LzhError::None;
}

LzhError DecodeBytes(std::string_view method, std::span<const std::byte> packed,
                     std::uint64_t originalSize, ByteSink& out) {
  MemorySource memory(packed);
  InputStream in(memory);
  return Decode(method, in, packed.size(), originalSize, out);
}

}  // namespace pelko::lzh
