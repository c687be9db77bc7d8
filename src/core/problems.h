#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The one shape of many things wrong at once: the checks of a document, of a
// table or of a whole configuration, each thing with where it lies, so that
// a window can put the focus on it, mark its cell, and `check` can name its
// document and row. One failure of work done (a file not written) is a
// Result<> instead (core/result.h).

enum class Severity : quint8 {
    Error,   // refuses the output, or the OK button
    Warning, // the user should read it; it refuses nothing
};

// One thing wrong, and where; -1 (or empty) where it names no such place.
struct Problem
{
    Severity Level = Severity::Error;
    // The whole text, as the error box shows it were it the first.
    QString Text{};
    // The file name of the document it lies in ("ParGen.xml").
    QString Document{};
    // The number of the rule's message.
    int Message = -1;
    // In a table window: the table's page, the row (from 0) and the column.
    int Page = -1;
    int Row = -1;
    int Column = -1;
    // For texts that name the place: the table's caption.
    QString Table{};
    // In the parameter window: the key whose value failed (a ParGen_Key).
    int Key = -1;

    bool Is_Error() const { return Level == Severity::Error; }
    // The row as the grids number it, from 1 (as every table grid counts
    // its rows, and as the texts name them); -1 where it names no row.
    int Row_Number() const { return Row >= 0 ? Row + 1 : -1; }
};

// The problems found, in the order found (or in the order of the places they
// name, where the finder says so). Ok while none is an error: warnings
// refuse nothing.
class [[nodiscard]] Problem_List
{
public:
    Problem_List() = default;
    Problem_List(QList<Problem> problems);
    // One problem: the shape of a check that stops at its first failure.
    Problem_List(Problem problem);

    void Add(Problem problem);
    void Add_Error(QString text, QString document = QString());
    void Add_Warning(QString text, QString document = QString());
    void Append(const Problem_List &other);
    // Every problem given the document `document` where it names none.
    void Set_Document(const QString &document);

    bool Ok() const { return errors_ == 0; }
    explicit operator bool() const { return Ok(); }
    int Errors() const { return errors_; }
    int Warnings() const { return int(problems_.size()) - errors_; }

    // Read as a list (errors and warnings alike).
    const QList<Problem> &All() const { return problems_; }
    QList<Problem>::const_iterator begin() const { return problems_.cbegin(); }
    QList<Problem>::const_iterator end() const { return problems_.cend(); }
    qsizetype size() const { return problems_.size(); }
    bool isEmpty() const { return problems_.isEmpty(); }
    const Problem &at(qsizetype i) const { return problems_.at(i); }
    const Problem &operator[](qsizetype i) const { return problems_.at(i); }
    Problem value(qsizetype i) const { return problems_.value(i); }

    // The first error; an empty problem (no text, no place) when Ok.
    const Problem &First() const;
    // The first error alone: what a check that stops at its first failure
    // says.
    Problem_List First_Error() const;
    // The texts of the problems of one level, in order.
    QStringList Texts(Severity level) const;
    // The errors as one text, one a line: the error box, and what the
    // command line prints; empty when Ok.
    QString Problem_Text() const;

private:
    QList<Problem> problems_;
    int errors_ = 0;
};
