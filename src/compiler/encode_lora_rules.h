#pragma once

#include "core/result.h"

struct Compiler_Buffers;
class Rule_Document;

// Encodes the enabled rules of the rule document into the uplink and
// downlink tables, packed in document order, and sets the table addresses and
// counts of the LoRa block. A missing file or group gives empty tables.
// Fails, with the problem composed for the user, when the document cannot be
// read or a group holds more enabled rules than the converter's 256 entries.
Result<> Encode_LoRa_Rules(Compiler_Buffers &b, const Rule_Document &rules);
