#pragma once

#include "core/object_catalogue.h"
#include "inspector/image_model.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

// What the printers put beside or instead of the model's numbers and bytes.
// A name function gives null (or an empty text) where a code has no name.

const char *Band_Name(std::uint32_t code);
const char *Network_Type_Name(std::uint32_t code);
const char *Activation_Name(std::uint32_t code);
const char *Transmission_Name(std::uint32_t code);
const char *Parity_Name(std::uint32_t code); // the converter's codes: 0 none, 1 even, 2 odd
const char *Group_Name(std::uint32_t code);
// The band's data-rate text numbered `rate` (the number before its "-").
QString Data_Rate_Name(std::uint32_t band, std::uint32_t rate);
// BACnet/IP sets its port and identifier; MS/TP leaves them 0 and sets the
// baud rate of serial channel 0 instead.
const char *Bacnet_Link_Name(const Decoded_Bank1 &bank1);
// The object type number of the BACnet standard, by index of Object_Catalogue.
int Bacnet_Type_Number(int type);

// Bytes up to the first 0 (or `max`), one character per byte.
QString Latin1_Text(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t max);
QString Device_Name_Text(const Decoded_Bank1 &bank1);
QString Dotted(const Octets &address);
// Two upper-case hexadecimal digits a byte.
QString Hex_Bytes(std::span<const std::uint8_t> bytes);
// "0x" and eight upper-case hexadecimal digits.
QString Hex32(quint32 value);
// "0x" and the upper-case hexadecimal offset, at least three digits.
QString Hex_Offset(std::size_t offset);

// A code with its name beside it, "5 (EU868)"; the code alone when it has no
// name. A data-rate text holds tabs between its parts: the name is simplified.
QString Code_With_Name(qint64 code, const QString &name);
QString Code_With_Name(qint64 code, const char *name);

// Free text in double quotes, with a backslash before a quote or a backslash
// and a control character as \uXXXX, so that a line stays one line.
QString Quoted(const QString &text);
