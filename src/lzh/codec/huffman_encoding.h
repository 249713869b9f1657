// Code lengths and canonical codes for the encoder's static Huffman blocks.
#pragma once

#include <cstdint>
#include <span>

namespace pelko::lzh {

// Lengths of an optimal prefix code no longer than `maxLength` bits for the
// given frequencies; unused symbols get 0. Returns how many symbols are used:
// with fewer than 2 every length is 0 (the block format stores such a table
// as its single symbol).
int BuildCodeLengths(std::span<const std::uint32_t> frequencies, int maxLength,
                     std::span<std::uint8_t> lengths);

// Canonical codes for the lengths: shorter codes first, equal lengths in
// symbol order, as the decoders rebuild them.
void BuildCanonicalCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes);

}  // namespace pelko::lzh
