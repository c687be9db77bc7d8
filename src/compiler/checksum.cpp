#include "compiler/checksum.h"

#include "compiler/bank_layout.h"
#include "compiler/le_bytes.h"

std::uint32_t Parameter_Checksum(std::span<const std::uint8_t> block)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bank::Checksum && i < block.size(); ++i)
        sum += block[i];
    return sum;
}

void Store_Checksum(std::span<std::uint8_t> block)
{
    le::Put_U32(block, bank::Checksum, Parameter_Checksum(block));
}
