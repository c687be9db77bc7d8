#include "core/problems.h"

#include <utility>

Problem_List::Problem_List(QList<Problem> problems)
    : problems_(std::move(problems))
{
    for (const Problem &p : std::as_const(problems_))
        errors_ += p.Is_Error();
}

Problem_List::Problem_List(Problem problem)
{
    Add(std::move(problem));
}

void Problem_List::Add(Problem problem)
{
    errors_ += problem.Is_Error();
    problems_.append(std::move(problem));
}

void Problem_List::Add_Error(QString text, QString document)
{
    Add(Problem{.Level = Severity::Error, .Text = std::move(text), .Document = std::move(document)});
}

void Problem_List::Add_Warning(QString text, QString document)
{
    Add(Problem{.Level = Severity::Warning, .Text = std::move(text), .Document = std::move(document)});
}

void Problem_List::Append(const Problem_List &other)
{
    problems_.append(other.problems_);
    errors_ += other.errors_;
}

void Problem_List::Set_Document(const QString &document)
{
    for (Problem &p : problems_)
        if (p.Document.isEmpty())
            p.Document = document;
}

const Problem &Problem_List::First() const
{
    static const Problem none;
    for (const Problem &p : problems_)
        if (p.Is_Error())
            return p;
    return none;
}

Problem_List Problem_List::First_Error() const
{
    return Ok() ? Problem_List() : Problem_List(First());
}

QStringList Problem_List::Texts(Severity level) const
{
    QStringList texts;
    for (const Problem &p : problems_)
        if (p.Level == level)
            texts.append(p.Text);
    return texts;
}

QString Problem_List::Problem_Text() const
{
    return Texts(Severity::Error).join(u'\n');
}
