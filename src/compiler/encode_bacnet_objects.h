#pragma once

#include "core/result.h"

#include <cstdint>

struct Compiler_Buffers;
class Object_Document;

// Encodes the served objects of the object document into the object
// records, the text area and the counts: records sorted by type (the order of
// Object_Types), within a type the Read group before the Write group, each in
// document order. `section_address` is the device address of the object
// section. A missing file or group gives no records. Fails, with the problem
// composed for the user, when the document cannot be read, when a row of a
// known type holds an `Eng_Unit`, `Position` or `Length` that is not an
// integer, or when the objects or their descriptions do not fit the section.
Result<> Encode_BACnet_Objects(Compiler_Buffers &b, std::uint32_t section_address, const Object_Document &objects);
