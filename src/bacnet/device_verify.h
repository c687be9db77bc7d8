#pragma once

#include "bacnet/bacnet_client.h"
#include "bacnet/served_device.h"
#include "core/result.h"

#include <QString>
#include <QStringList>

struct Configuration_Snapshot;

// Whether the converter on the wire is the device that was configured: the
// device the images describe (the configuration's, or the copy last sent to
// the converter's address) against what the converter says over BACnet/IP.

// The device the converter at `address` should be, with a sentence saying
// which images it was taken from: the images the configuration compiles to,
// or, when the last successful update to that address kept a copy and that
// copy describes another device, the copy (what the converter was sent).
struct Verify_Reference
{
    Served_Device device;
    bool sent_copy = false;
    QString source; // which images, for people
};
Result<Verify_Reference> Verify_Reference_For(const Configuration_Snapshot &configuration, const QString &address);

// What differs, one line a difference, in the names the image inspector
// gives (the configured side first, as `diff` puts "before"):
//   device.name: "Plant" -> "Plant 2"
//   objects[ANALOG INPUT 1].name: "Room" -> "Hall"
//   objects[ANALOG INPUT 1].units: 62 (degrees-Celsius) -> 64 (degrees-Fahrenheit)
//   objects[BINARY INPUT 0]: added (object_type 3, name "Door", units none)   on the device only
//   objects[ANALOG OUT 2]: removed (object_type 1, name "Valve", units 98 (percent))
// Objects are named and ordered as the inspector names and orders its
// records (type, then instance); a type the converter does not know is
// "type N". Empty when the device is the configured one.
QStringList Device_Differences(const Served_Device &configured, const Wire_Device &wire);

// The sentence for a reading that did not end with a device, for `address`
// of the device `expected` that waited `waited_ms`.
QString Verify_Failure_Text(const Device_Reader::Outcome &outcome, const BIP_Address &address, std::uint32_t expected,
                            int waited_ms);
