#pragma once

#include "params/pargen_values.h"

#include <QString>

// "ParGen.xml": the root `Par_Gen` holding one element per key, then the
// comment "SW_VERSION = 1.000".

// The values of a configuration without any ParGen.xml: every table default,
// the AS923 data rate numbered 6 and its payload.
ParGen_Values No_Document_ParGen_Values();

// Reads the document at `path`, each key by itself: a missing element gives
// that key's default (a missing LoRa_DataRate the first item of the stored
// band, a missing LoRa_Payload_Size the payload of band and data rate). A
// missing file gives No_Document_ParGen_Values(). A file that is not
// well-formed is read as a missing one and `problem` receives the composed
// message naming file, line and column, so that the caller can say so before
// a save replaces the file; otherwise `problem` is cleared.
ParGen_Values Load_ParGen(const QString &path, QString *problem = nullptr);

// Writes the 58 keys in document order, replacing the file whole (atomically:
// a failed write leaves the old file as it was). False with `problem` set
// when the file cannot be written.
bool Save_ParGen(const ParGen_Values &values, const QString &path, QString *problem);

// The bytes Save_ParGen writes.
QByteArray Serialise_ParGen(const ParGen_Values &values);
