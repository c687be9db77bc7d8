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

// The two images decoded together: {"image": "pair", "bank1": ..., "bank2":
// ...}, the two dumps above, where each object record of bank 2 also names
// its object type, its BACnet object type number and its instance within
// the type, read from the counts of bank 1 (the records lie sorted by type,
// and the instances of a type count from 0). Adds the problems of both
// images, and one more when the counts of bank 1 and the records of bank 2
// disagree.
QByteArray Dump_Pair(const QByteArray &bank1, const QByteArray &bank2, QStringList &problems);

// A dump's JSON (one image or a pair) as a report for people: a section for
// each part of the images, fields as aligned "name  value" lines, rule
// entries and object records as tables with aligned columns, names beside
// their codes.
QString Dump_Table(const QByteArray &json);
