#pragma once

#include "inspector/image_decode.h"

#include <QByteArray>
#include <QStringList>

// The decoded images as JSON, the fields in the order they lie in the images.

// Bank 1: every named field, the non-zero reserved bytes, and the stored and
// the computed checksum.
QByteArray Dump_Json(const Decoded_Bank1 &bank1);
// Bank 2: the LoRa block, the filled uplink and downlink entries, the
// geometry of the object section (1023 or 2047 records; null without
// objects, when both geometries give the same bytes), the filled object
// records with their descriptions read back from the text area, and the
// count of non-zero bytes where only zeros belong.
QByteArray Dump_Json(const Decoded_Bank2 &bank2);
// {"image": "pair", "bank1": ..., "bank2": ...}, the two dumps above, where
// each object record also names its object type, its BACnet object type
// number and its instance within the type.
QByteArray Dump_Json(const Decoded_Pair &pair);

// Decoded and printed in one step; `problems` as the decoders give them.
QByteArray Dump_Bank1(const QByteArray &image);
QByteArray Dump_Bank2(const QByteArray &image);
QByteArray Dump_Bank1(const QByteArray &image, QStringList &problems);
QByteArray Dump_Bank2(const QByteArray &image, QStringList &problems);
QByteArray Dump_Pair(const QByteArray &bank1, const QByteArray &bank2, QStringList &problems);
