#pragma once

#include <QList>
#include <QString>

class Rule_Document;

// Of the LoRaWAN payload the converter keeps 2 bytes for itself: an uplink
// rule carries at most the rest.
inline constexpr int Uplink_Reserved_Bytes = 2;

// An enabled uplink rule (Enable exactly "Y", as the update step compares)
// whose NumByte is not a number from 0 to the payload's data bytes.
struct Uplink_Overrun
{
    int Row;      // the rule's place in the uplink group, 0 the first
    qint64 Bytes; // its NumByte, -1 when that is no number
};

// Every such rule of `rules` for a payload of `payload` bytes, in document
// order; none without a rule document (a missing group holds no rules).
QList<Uplink_Overrun> Uplink_Overruns(const Rule_Document &rules, qint64 payload);

// What the parameter window's OK says when the payload chosen (`now`) makes a
// saved uplink rule too long that fitted the payload the window opened with
// (`before`): the new limit, the 2 bytes kept, and the first such rule (as
// the rule checks number it). Empty when every rule that fitted still fits.
QString Payload_Shrink_Warning(const Rule_Document &rules, qint64 before, qint64 now);
