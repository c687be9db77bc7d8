#pragma once

#include "core/result.h"

#include <QString>

struct Compiler_Buffers;

// Encodes the enabled rules of "LoRaWAN_SetAccess.xml" into the uplink and
// downlink tables, packed in document order, and sets the table addresses and
// counts of the LoRa block. A missing file or group gives empty tables.
// Fails, with the problem composed for the user, when the document cannot be
// read or a group holds more enabled rules than the converter's 256 entries.
Result<> Encode_LoRa_Rules(Compiler_Buffers &b, const QString &file_lorawan);
