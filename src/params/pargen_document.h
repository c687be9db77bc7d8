#pragma once

#include "core/result.h"
#include "core/xml_document.h"
#include "params/pargen_values.h"

#include <QString>
#include <array>
#include <optional>

// "ParGen.xml": the root `Par_Gen` holding one element per key, then the
// comment "SW_VERSION = 1.000".

// One reading of the document, the only one: the state of the file and, per
// key, the text its element holds or nothing when the element is missing.
// The window, the rule and object tables, the compiler and the EDE export
// each take their own fallbacks from it, by key.
class ParGen_Document
{
public:
    using State = Xml_Document::State;

    // Missing file, damaged file (see Problem) or loaded.
    State Status() const { return state_; }
    bool Is_Damaged() const { return state_ == State::Damaged; }
    // For a damaged file the composed message naming file, line, column and
    // reason; empty otherwise.
    const QString &Problem() const { return problem_; }
    // The path the document was read from, for messages that name the file.
    const QString &Path() const { return path_; }

    // The text of the key's element (the first of that name under the root,
    // all of its text); nothing when the element is missing, and for every
    // key of a missing or damaged file.
    const std::optional<QString> &Text(ParGen_Key key) const { return texts_[std::size_t(key)]; }
    bool Has(ParGen_Key key) const { return Text(key).has_value(); }
    QString Text_Or(ParGen_Key key, const QString &fallback) const { return Text(key).value_or(fallback); }
    // The integer reading of the text; `fallback` when the element is
    // missing or its text is not a number.
    int Int_Or(ParGen_Key key, int fallback) const;
    // A flag is on only when its text is exactly "1"; a missing one is off.
    bool Flag(ParGen_Key key) const;

    // The transmit interval (Transmit_Interval_Element), which only the
    // compiler reads; nothing when missing.
    const std::optional<QString> &Transmit_Interval() const { return transmit_interval_; }

private:
    friend ParGen_Document Read_ParGen_Document(const QString &path);

    State state_ = State::Missing;
    QString problem_;
    QString path_;
    std::array<std::optional<QString>, ParGen_Key_Count> texts_;
    std::optional<QString> transmit_interval_;
};

// Reads the document at `path`. Never fails: a missing or damaged file gives
// a document without any key, and Status() tells which it was.
ParGen_Document Read_ParGen_Document(const QString &path);

// The values of a configuration without any ParGen.xml: every table default,
// the AS923 data rate numbered 6 and its payload.
ParGen_Values No_Document_ParGen_Values();

// The values the parameter window opens with, each key by itself: a missing
// element gives that key's default (a missing LoRa_DataRate the first item
// of the stored band, a missing LoRa_Payload_Size the payload of band and
// data rate). A missing file gives No_Document_ParGen_Values(), and so does
// a file that is not well-formed: the window tells the user about that one
// (document.Problem()) before a save replaces it.
ParGen_Values Load_ParGen(const ParGen_Document &document);
ParGen_Values Load_ParGen(const QString &path);

// Writes the 58 keys in document order, replacing the file whole (atomically:
// a failed write leaves the old file as it was). Fails when the file cannot
// be written.
Result<> Save_ParGen(const ParGen_Values &values, const QString &path);

// The bytes Save_ParGen writes.
QByteArray Serialise_ParGen(const ParGen_Values &values);
