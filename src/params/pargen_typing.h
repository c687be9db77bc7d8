#pragma once

#include "params/pargen_values.h"

#include <QString>

// What the parameter window lets the user type into each edit field. The
// limits apply to typing only: text that the window itself puts into a field
// (a value read from ParGen.xml) is shown whole, even when it is longer.

enum class Letter_Case { Any, Upper, Lower };

struct Typing_Rule
{
    int Max_Length = -1; // -1: no limit
    Letter_Case Case = Letter_Case::Any;
    bool Hex = false; // the hexadecimal key filter (Hex_Key_Filter)
};

// The rule of a key's edit field: the five LoRaWAN keys take up to 8, 16, 32,
// 32 and 32 hexadecimal digits (and blanks) in upper case; the two BACnet
// device names, Max Master and the MS/TP device instance up to 15 characters
// in lower case; every other field is free.
Typing_Rule Typing_Rule_Of(ParGen_Key key);

struct Typed_Text
{
    QString Text;
    int Cursor = 0;
};

// Applies `rule` to a user's edit that turned `before` into `after`, leaving
// the cursor at `cursor` (just behind what was typed or pasted). The part
// that was inserted is filtered (hexadecimal fields keep only digits, A-F and
// blanks, a-f entered as A-F), put into the field's letter case and cut to
// the room that the limit leaves; whatever the edit removed stays removed.
// A field already longer than its limit takes no more characters but can
// still be shortened.
Typed_Text Apply_Typing(const Typing_Rule &rule, const QString &before, const QString &after, int cursor);

// The dotted-address chains: "." typed in an octet moves the focus on to the
// next octet instead of being inserted. The Ethernet chain runs through the
// address, mask, gateway and name-server octets; the BACnet/IP chain through
// the address, mask and gateway octets.
bool Is_Dotted_Field(ParGen_Key key);
// The octet after `key` in its chain; false for the last octet of a chain
// and for keys that are no octet.
bool Next_Dotted_Field(ParGen_Key key, ParGen_Key *next);
