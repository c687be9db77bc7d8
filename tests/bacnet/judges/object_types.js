'use strict';
// What the judges know of each object type: its standard name (as the EDE
// standard layout and Wireshark spell it), the application tag of its present
// value, and which of the common properties it has.
const Bacnet = require('@bacnet-js/client');

const { ObjectType: OT, ApplicationTag: T } = Bacnet;

const Value_Tags = new Map([
  [OT.ANALOG_INPUT, T.REAL],
  [OT.ANALOG_OUTPUT, T.REAL],
  [OT.ANALOG_VALUE, T.REAL],
  [OT.BINARY_INPUT, T.ENUMERATED],
  [OT.BINARY_OUTPUT, T.ENUMERATED],
  [OT.BINARY_VALUE, T.ENUMERATED],
  [OT.MULTI_STATE_INPUT, T.UNSIGNED_INTEGER],
  [OT.MULTI_STATE_OUTPUT, T.UNSIGNED_INTEGER],
  [OT.MULTI_STATE_VALUE, T.UNSIGNED_INTEGER],
  [OT.LARGE_ANALOG_VALUE, T.DOUBLE],
  [OT.INTEGER_VALUE, T.SIGNED_INTEGER],
  [OT.POSITIVE_INTEGER_VALUE, T.UNSIGNED_INTEGER],
  [OT.ACCUMULATOR, T.UNSIGNED_INTEGER],
  [OT.LIFE_SAFETY_POINT, T.ENUMERATED],
  [OT.LIFE_SAFETY_ZONE, T.ENUMERATED],
  [OT.ACCESS_DOOR, T.ENUMERATED],
]);

const Unit_Types = new Set([
  OT.ANALOG_INPUT,
  OT.ANALOG_OUTPUT,
  OT.ANALOG_VALUE,
  OT.LARGE_ANALOG_VALUE,
  OT.INTEGER_VALUE,
  OT.POSITIVE_INTEGER_VALUE,
  OT.ACCUMULATOR,
]);

const Multi_State_Types = new Set([OT.MULTI_STATE_INPUT, OT.MULTI_STATE_OUTPUT, OT.MULTI_STATE_VALUE]);
const Commandable_Types = new Set([OT.ANALOG_OUTPUT, OT.BINARY_OUTPUT, OT.MULTI_STATE_OUTPUT]);
const Input_Types = new Set([
  OT.ANALOG_INPUT,
  OT.BINARY_INPUT,
  OT.MULTI_STATE_INPUT,
  OT.ACCUMULATOR,
  OT.LIFE_SAFETY_POINT,
  OT.LIFE_SAFETY_ZONE,
]);

// "analog-input" for 0: the enumeration's name in lower case with hyphens.
function Type_Name(code) {
  const name = OT[code];
  return typeof name === 'string' ? name.toLowerCase().replace(/_/g, '-') : String(code);
}

// A type given as its code or its name ("analog-input", "ANALOG_INPUT").
function Type_Code(type) {
  if (typeof type === 'number') return type;
  if (/^\d+$/.test(String(type))) return Number(type);
  const code = OT[String(type).toUpperCase().replace(/-/g, '_')];
  return typeof code === 'number' ? code : undefined;
}

// A bit string of `bits` bits with the given bits set.
function Bit_String(bits, set) {
  const value = new Array(Math.ceil(bits / 8)).fill(0);
  for (const bit of set) value[Math.floor(bit / 8)] |= 1 << bit % 8;
  return { bitsUsed: bits, value };
}

module.exports = {
  Type_Name,
  Type_Code,
  Bit_String,
  Value_Tag: (type) => Value_Tags.get(type),
  Has_Units: (type) => Unit_Types.has(type),
  Is_Multi_State: (type) => Multi_State_Types.has(type),
  Is_Commandable: (type) => Commandable_Types.has(type),
  Writable_By_Default: (type) => Value_Tags.has(type) && !Input_Types.has(type),
};
