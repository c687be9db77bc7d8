#pragma once

#include "bacnet/bacnet_value.h"
#include "bacnet/served_device.h"
#include "tables/bacnet_access.h"

#include <array>
#include <cstdint>

// The converter's two data areas: the input area that the Read objects show
// and the output area that the Write objects fill. Both start at zero.
struct Data_Areas
{
    std::array<std::uint8_t, Data_Area_Bytes> input{};
    std::array<std::uint8_t, Data_Area_Bytes> output{};

    std::array<std::uint8_t, Data_Area_Bytes> &Of(const Served_Object &o) { return o.write ? output : input; }
    const std::array<std::uint8_t, Data_Area_Bytes> &Of(const Served_Object &o) const
    {
        return o.write ? output : input;
    }
};

// How the bytes of an object become its present value, and back: the one
// place of that rule (README.md, "Serving a configuration", says it for
// people). A value that does not fit the object's bytes is refused whole.
enum class Store_Outcome {
    Stored,
    Wrong_Type,   // the value is not of the object's present-value type
    Out_Of_Range, // it is, but the object's bytes cannot hold it
};

// The rule in short, for people (the Virtual Converter window shows it).
QString Value_Rule_Text();

// The present value the object shows from its area as it is now.
BACnet_Value Read_Present_Value(const Served_Object &object, const Data_Areas &areas);
// A present value written to the object, stored into its bytes.
Store_Outcome Store_Present_Value(const Served_Object &object, const BACnet_Value &value, Data_Areas &areas);
// The object's integer (the one its bytes hold by the rule) set directly, as
// the converter's other side would set an input: refused when it does not
// fit the object's bytes.
Store_Outcome Store_Raw(const Served_Object &object, std::int64_t raw, Data_Areas &areas);
// The kind of value the object's present value has.
BACnet_Value::Kind Present_Value_Kind(const Served_Object &object);
// A multi-state object's number of states: as many as its first byte can
// count (255) for a Length of 1, else 65535.
std::uint32_t Number_Of_States(const Served_Object &object);
// The present value a commandable object has when no priority commands it.
BACnet_Value Relinquish_Default(const Served_Object &object);
