#pragma once

#include <QtGlobal>
#include <cstddef>
#include <cstdint>
#include <span>

// Little-endian fields written and read byte by byte, so the images come out
// the same on any host. An offset past the buffer is a fault of the program,
// never of a document (documents are bounded before anything is written), so
// it stops the program rather than corrupt memory.
namespace le {

inline void Check(std::span<const std::uint8_t> buf, std::size_t offset, std::size_t width)
{
    if (offset > buf.size() || width > buf.size() - offset)
        qFatal("image field at %zu (+%zu) outside a buffer of %zu bytes", offset, width, buf.size());
}

inline void Put_U8(std::span<std::uint8_t> buf, std::size_t offset, std::uint32_t value)
{
    Check(buf, offset, 1);
    buf[offset] = std::uint8_t(value & 0xFF);
}

inline void Put_U16(std::span<std::uint8_t> buf, std::size_t offset, std::uint32_t value)
{
    Check(buf, offset, 2);
    buf[offset] = std::uint8_t(value & 0xFF);
    buf[offset + 1] = std::uint8_t((value >> 8) & 0xFF);
}

inline void Put_U32(std::span<std::uint8_t> buf, std::size_t offset, std::uint32_t value)
{
    Check(buf, offset, 4);
    for (std::size_t i = 0; i < 4; ++i)
        buf[offset + i] = std::uint8_t((value >> (8 * i)) & 0xFF);
}

inline std::uint32_t Get_U8(std::span<const std::uint8_t> buf, std::size_t offset)
{
    Check(buf, offset, 1);
    return buf[offset];
}

inline std::uint32_t Get_U16(std::span<const std::uint8_t> buf, std::size_t offset)
{
    Check(buf, offset, 2);
    return std::uint32_t(buf[offset]) | (std::uint32_t(buf[offset + 1]) << 8);
}

inline std::uint32_t Get_U32(std::span<const std::uint8_t> buf, std::size_t offset)
{
    Check(buf, offset, 4);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= std::uint32_t(buf[offset + i]) << (8 * i);
    return value;
}

} // namespace le
