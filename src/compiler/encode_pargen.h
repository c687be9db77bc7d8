#pragma once

#include "core/result.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <span>

struct Compiler_Buffers;
class ParGen_Document;

// Regional band code of a `LoRa_RF_Band` text: upper-cased and trimmed, then
// AS923 0, AU915 1, EU868 5, KR920 6, IN865 7, US915 8, US915-HYBRID 9;
// anything else 0 (codes 2 to 4 are never produced).
std::uint8_t Band_Code(QStringView text);

// The data-rate number of a `LoRa_DataRate` text: the integer before the first
// "-", trimmed; 0 without a "-" or when that text is not a number.
int Data_Rate_Number(QStringView text);

// MS/TP baud rate of a `BACnet_Ser_Baudrate` index: 9600, 19200, 38400,
// 57600, 76800, 115200; any other index 9600.
std::uint32_t Baud_Rate_Of(int code);

// The converter's parity code of a `BACnet_Ser_Parity` index: NONE (0) is 0,
// ODD (1) is 2, EVEN (2) is 1 (none/even/odd numbering); any other index is
// NONE.
std::uint8_t Parity_Code_Of(int index);

// Writes a hexadecimal text of at most `digits` characters into `destination`
// (digits / 2 bytes, rounded up): the text is padded with "0" in front to
// `digits` characters and read two characters at a time, first pair at the
// lowest byte; a pair that is not hexadecimal gives 0x00. A text longer than
// `digits` writes nothing and gives false: the converter would load a key
// other than the one the user holds.
bool Hex_Field(QStringView text, int digits, std::span<std::uint8_t> destination);

// Encodes the parameter document into the parameter block and the LoRa block
// and sets Desc_Limit. A missing file leaves both blocks at their initial values.
// Fails, with the problem composed for the user, when the document cannot be
// read or a key or device name is longer than its field.
Result<> Encode_ParGen(Compiler_Buffers &b, const ParGen_Document &document);
