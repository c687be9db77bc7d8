#pragma once

#include "core/result.h"
#include "core/version.h"

#include <QString>
#include <pugixml.hpp>

// The common form of the program's XML files: the root element first, then
// (for project documents) the comment "SW_VERSION = 1.000", no declaration and
// no added whitespace. Readers take the document element as the root, so a
// declaration, comment or processing instruction that a hand edit put before
// it is skipped.
class Xml_Document
{
public:
    enum class State { Missing, Loaded, Damaged };

    // Loads `path`. A missing file gives Missing; a file that cannot be read
    // or is not well-formed gives Damaged with Problem() naming the file, the
    // line, the column and the reason. In both cases Root() is null, so every
    // reader takes its fallbacks.
    //
    // Damaged too: bytes that are not valid in the file's encoding, which a
    // byte-order mark gives (UTF-8, UTF-16, UTF-32), else the XML
    // declaration (any encoding Qt knows), else UTF-8; an encoding name Qt
    // does not know; a NUL character; an element that gives an attribute
    // twice (pugixml would keep the first value without a word).
    State Load(const QString &path);

    State Status() const { return state_; }
    bool Is_Damaged() const { return state_ == State::Damaged; }
    // Damaged because the file could not be read at all (no right to read
    // it, not a regular file, larger than Document_Size_Limit): Problem()
    // gives the system's reason, and nobody may offer to replace what was
    // never seen.
    bool Is_Unreadable() const { return unreadable_; }
    pugi::xml_node Root() const;
    const QString &Problem() const { return problem_; }

    // Discards every node and adds the root element, followed by the version
    // comment when `version_comment` is set. Returns the root.
    pugi::xml_node Begin(const char *root_name, bool version_comment);

    // Serialises the document in its raw form and writes it atomically.
    Result<> Save(const QString &path) const;
    QByteArray Serialise() const;

    pugi::xml_document &Doc() { return doc_; }

private:
    State Damaged(const QString &path, int line, int column, const QString &reason);

    pugi::xml_document doc_;
    State state_ = State::Missing;
    bool unreadable_ = false;
    QString problem_;
};

// The most a document may hold: a configuration of 2000 objects and every
// rule is well under 2 MB; what is larger is refused before it is read.
inline constexpr qint64 Document_Size_Limit = 16 * 1024 * 1024;

// The one reading of a document's state by a reader to whom a missing file
// means nothing to read (the encoders, the uplink check, the EDE export): a
// missing document gives Ok without calling `read`, a damaged one fails with
// its problem naming file, line and column, and a loaded one gives what
// `read()` returns (a Result<>). `Document` is an Xml_Document or any reading
// of one with the same Status() and Problem().
template <class Document, class Read> Result<> When_Loaded(const Document &document, Read &&read)
{
    switch (document.Status()) {
    case Xml_Document::State::Missing:
        return {};
    case Xml_Document::State::Damaged:
        return Fail(document.Problem());
    case Xml_Document::State::Loaded:
        break;
    }
    return read();
}

inline constexpr const char *Document_Version_Comment = "SW_VERSION = " SW52K31_VERSION;

// The text of a node as a QString.
QString Node_Text(pugi::xml_node node);

// Finds the child element `name` of `parent` (exact, case-sensitive) and
// gives its text. False when `parent` is null or the element is missing.
bool Child_Text(pugi::xml_node parent, const char *name, QString *text);
QString Child_Text_Def(pugi::xml_node parent, const char *name, const QString &fallback);

// Reads an attribute; false when the node or the attribute is missing.
bool Attr_Text(pugi::xml_node node, const char *name, QString *text);
QString Attr_Text_Def(pugi::xml_node node, const char *name, const QString &fallback);

// Appends an element holding `text` under `parent`.
pugi::xml_node Add_Key(pugi::xml_node parent, const char *name, const QString &text);
// Appends an attribute to `node`.
void Add_Attr(pugi::xml_node node, const char *name, const QString &text);

// Calls `fn(node)` for each child node of a group, in document order and
// whatever its name: every node is a table row. Whitespace-only text (the
// indentation of a hand-edited file) is not a row.
template <typename Fn> void For_Each_Row(pugi::xml_node group, Fn &&fn)
{
    for (pugi::xml_node node : group.children()) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            bool blank = true;
            for (const char *p = node.value(); *p && blank; ++p)
                blank = *p == ' ' || *p == '\t' || *p == '\r' || *p == '\n';
            if (blank)
                continue;
        }
        fn(node);
    }
}
