#pragma once

#include <cstdint>
#include <span>

// The parameter block's checksum: the plain sum of bytes 0 to 2043, each
// taken as 0 to 255, modulo 2^32 (not a complement, not a CRC).
std::uint32_t Parameter_Checksum(std::span<const std::uint8_t> block);

// Computes the checksum of `block` (2048 bytes) into its last four bytes.
void Store_Checksum(std::span<std::uint8_t> block);
