#pragma once

#include "core/problems.h"
#include "params/pargen_values.h"

#include <QList>
#include <QString>
#include <optional>

class ParGen_Document;
class ParGen_Form;

// The key whose value a problem of the parameter validation names; nothing
// when it names none.
std::optional<ParGen_Key> Failing_Key(const Problem &problem);

// The validation run before ParGen.xml is written. The rules run in a fixed
// order and OK shows the first one that fails: the LoRaWAN choices and
// payload size, the activation method, the keys of that method (each either
// empty or its full number of hexadecimal digits), the Ethernet addresses
// and ports (gateway and name server only with their box on), then the
// BACnet/IP keys when `bacnet_type` is 0 and the MS/TP keys otherwise (no
// type chosen counts as MS/TP). Flags are on for exactly "1".
Problem_List Controllo_Dati(const ParGen_Values &values, int bacnet_type);

// The same, on the window's state.
Problem_List Controllo_Dati(const ParGen_Form &form);

// Every rule of that validation that fails, in the order the rules run, so
// that the first is Controllo_Dati's. A rule that needs an earlier one is
// skipped when that one failed: the payload's range without a band or a data
// rate, the keys without an activation method.
Problem_List All_ParGen_Problems(const ParGen_Values &values, int bacnet_type);
Problem_List All_ParGen_Problems(const ParGen_Form &form);

// The stored LoRa_Payload_Size against the one that the document's band and
// data rate give (as the window resolves them on opening): the window always
// recomputes it, so only a hand-edited document can differ, and the compiler
// would write the stored value. Refused when the element is missing or its
// integer reading differs. Ok for a missing or damaged document (nothing is
// stored) and when band and data rate make no pair: Controllo_Dati refuses
// that one, so run this after it.
Problem_List Check_Stored_Payload(const ParGen_Document &document);

// OK in the window when the check failed on a value that the window does not
// show (a key of a hidden group or row, see ParGen_Form::Shown): the user
// cannot correct it there, so OK offers to put the key back to its default.
// The key to offer, or nothing when the failing value is shown (the plain
// error box then) or is no edit field.
std::optional<ParGen_Key> Hidden_Failing_Key(const ParGen_Form &form, const Problem_List &check);
// The question of that offer: the rule's message, the value held, the key,
// the file and the default.
QString Reset_Question(const ParGen_Form &form, const Problem_List &check, const QString &file);

// The gateways that lie outside the network their group's address and mask
// define, one warning each (OK offers to keep them): the BACnet/IP gateway
// with BACnet/IP, the Ethernet one with MS/TP, each only with its box on and
// only when its twelve octets are numbers from 0 to 255 (Controllo_Dati
// refuses the others).
QStringList Gateway_Warnings(const ParGen_Form &form);

// True when some character of a BACnet device name is not an ASCII digit or
// letter. An empty name is valid.
bool Invalid_Device_Name(QStringView name);
