#pragma once

#include <QByteArrayView>
#include <QString>

// The CRC-32 of IEEE 802.3, zlib and gzip (reflected polynomial 0xEDB88320,
// start and final complement), the figure that `crc32 FILE` and `gzip -l`
// print, so that an engineer can hold a file against what the program shows.
// `crc` continues the CRC of the data before (zlib's running form): the CRC
// of a file read in pieces equals the CRC of the whole; 0 starts afresh.
quint32 Crc32(QByteArrayView data, quint32 crc = 0);

// The CRC as 8 upper-case hexadecimal digits, leading zeros kept.
QString Crc32_Hex(quint32 crc);
