#pragma once

#include <QByteArray>
#include <QStringList>

// Decodes an image into JSON for an engineer who wants to see what the
// converter will get. The two images are told apart by their size.
enum class Bank_Kind { Bank1, Bank2, Unknown };
Bank_Kind Bank_Kind_Of(qsizetype size);

// Bank 1: every named field in the order it lies in the block, the non-zero
// reserved bytes, and the stored and the computed checksum.
QByteArray Dump_Bank1(const QByteArray &image);

// Bank 2: the LoRa block, the filled uplink and downlink entries, the
// geometry of the object section (1023 or 2047 records, known from the first
// record's description address; null without objects, when both geometries
// give the same bytes), the filled object records with their descriptions
// read back from the text area, and the count of non-zero bytes where only
// zeros belong.
QByteArray Dump_Bank2(const QByteArray &image);

// The same dumps, adding to `problems` what makes the image unsound, one
// message each: what the compiler never writes (a wrong checksum, a fixed
// field or a table address changed, non-zero bytes where the layout keeps
// zeros, a count beyond its table, an object geometry that cannot be read,
// a description address that points at no description). A sound image adds
// nothing, and its JSON is the same as without the list. Bank 2 has no
// checksum, so a changed value inside a record goes unnoticed.
QByteArray Dump_Bank1(const QByteArray &image, QStringList &problems);
QByteArray Dump_Bank2(const QByteArray &image, QStringList &problems);
