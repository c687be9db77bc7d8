#include "core/crc32.h"

#include <array>

namespace {

constexpr quint32 Polynomial = 0xEDB88320u; // 0x04C11DB7 with its bits reversed

constexpr std::array<quint32, 256> Make_Table()
{
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1u) ? (c >> 1) ^ Polynomial : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<quint32, 256> Table = Make_Table();

} // namespace

quint32 Crc32(QByteArrayView data, quint32 crc)
{
    crc = ~crc;
    for (const char byte : data)
        crc = Table[(crc ^ quint8(byte)) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

QString Crc32_Hex(quint32 crc)
{
    return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0')).toUpper();
}
