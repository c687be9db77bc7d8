#pragma once

#include <QString>
#include <array>
#include <optional>

// The four octet texts of a dotted address, as the update window's boxes hold them.
using IP_Octets = std::array<QString, 4>;

// Splits a dotted address text into its four octet texts (each trimmed) and
// accepts it only when every one reads as an integer from 0 to 255. A text
// that is not a number counts as out of range, and so does a fourth part that
// still holds a ".", so "1.2.3.4.5" is refused. `octets` receives what was
// split even when the address is refused.
bool Split_IP_Address(const QString &text, IP_Octets *octets = nullptr);

// What a paste into any one of the address boxes puts into all four: a text
// that Split_IP_Address accepts (blanks and line ends around it do not
// matter) gives its four octets, each written as the decimal number it reads
// as ("010" and "$0A" give "10"), so the boxes hold what the ping will use.
// Any other text gives nothing: it is pasted into the one box as it is.
std::optional<IP_Octets> Pasted_Address(const QString &text);

// The octets joined with "." exactly as typed (not normalised).
QString Join_IP_Address(const IP_Octets &octets);

// The address as a 32-bit number in host order (first octet highest), for the
// echo client. False when Split_IP_Address refuses the text.
bool IPv4_From_Text(const QString &text, quint32 *address);
