#pragma once

#include "core/result.h"

class ParGen_Document;
class Rule_Document;

// The check before an update: every enabled uplink rule (`Enable` exactly
// "Y") must carry at most `LoRa_Payload_Size` - 2 bytes. Without a rule
// document it passes; without a parameter document the payload counts as 0,
// so any enabled rule fails. A failure carries message 30, or, when one of
// the two documents cannot be read, the message naming the file, line and
// column (nothing can be compiled from it either).
Result<> Check_Config_LoraWAN(const ParGen_Document &pargen, const Rule_Document &rules);

// The configuration's BACnet data link as its parameter document holds it:
// 0 BACnet/IP, 1 BACnet MS/TP (any other number as stored). 0 when the
// document is missing or damaged, or `BACnet_Type` is missing or not a number.
int Get_Type_BACnet(const ParGen_Document &pargen);
