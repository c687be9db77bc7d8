#pragma once

#include "core/xml_document.h"

#include <QString>
#include <array>
#include <cstddef>
#include <memory>

// The attributes of one table row that a reader asked for, by the column
// they belong to: the raw UTF-8 values as the document holds them, null for
// an attribute the row lacks. They point into the document they were read
// from and live as long as it does.
template <std::size_t N> class Row_Text
{
public:
    explicit Row_Text(const std::array<const char *, N> &values)
        : values_(values)
    {}

    bool Has(std::size_t column) const { return values_[column] != nullptr; }
    // The value, empty text when the attribute is missing.
    const char *Raw(std::size_t column) const { return values_[column] ? values_[column] : ""; }
    // The value as a text; `fallback` when the attribute is missing.
    QString Text(std::size_t column, const QString &fallback = QString()) const
    {
        return values_[column] ? QString::fromUtf8(values_[column]) : fallback;
    }

private:
    std::array<const char *, N> values_;
};

// The attributes `names` of one row, found in a single pass over the row's
// attributes (a row has a handful; asking for each by name would scan them
// again and again on the largest documents); of attributes with the same
// name, the first counts (a document that repeats one is damaged anyway).
template <std::size_t N> Row_Text<N> Read_Row_Text(pugi::xml_node row, const std::array<const char *, N> &names)
{
    std::array<const char *, N> values{};
    std::array<bool, N> found{};
    std::size_t next = 0; // rows written by the program hold the names in this order: try that one first
    std::size_t missing = N;
    for (pugi::xml_attribute attr = row.first_attribute(); attr && missing > 0; attr = attr.next_attribute()) {
        const char *name = attr.name();
        for (std::size_t i = 0; i < N; ++i) {
            const std::size_t k = (next + i) % N;
            if (found[k])
                continue;
            const char *a = name;
            const char *b = names[k];
            while (*a && *a == *b) {
                ++a;
                ++b;
            }
            if (*a == *b) {
                values[k] = attr.value();
                found[k] = true;
                --missing;
                next = k + 1;
                break;
            }
        }
    }
    return Row_Text<N>(values);
}

// A table document (the rules or the objects of a configuration) read once:
// its state, the problem of a damaged file, and its groups of rows. Copies
// share the one parsed document, which never changes after reading.
class Table_File
{
public:
    using State = Xml_Document::State;

    // No document: Missing, no groups.
    Table_File();

    State Status() const { return doc_->Status(); }
    bool Is_Damaged() const { return doc_->Is_Damaged(); }
    // For a damaged file the composed message naming file, line, column and
    // reason; empty otherwise.
    const QString &Problem() const { return doc_->Problem(); }
    const QString &Path() const { return path_; }
    const Xml_Document &Xml() const { return *doc_; }

    // The group element `name` under the root; null when the file is
    // missing or damaged or lacks the group.
    pugi::xml_node Group(const char *name) const { return doc_->Root().child(name); }

    // Calls `fn(Row_Text<N>)` for every row of the group `name` in document
    // order (every child node is a row, whatever its name; see For_Each_Row),
    // with the attributes `names`. A missing group has no rows.
    template <std::size_t N, class Fn>
    void For_Each_Row_Of(const char *name, const std::array<const char *, N> &names, Fn &&fn) const
    {
        For_Each_Row(Group(name), [&](pugi::xml_node row) { fn(Read_Row_Text(row, names)); });
    }

protected:
    explicit Table_File(const QString &path);

private:
    std::shared_ptr<Xml_Document> doc_;
    QString path_;
};
