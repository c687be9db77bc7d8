#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <initializer_list>
#include <iterator>

// Removes blanks and control characters (codes up to 32) at both ends: the
// trimming of language lines, address boxes, the version reply and the
// documents' choice texts.
QStringView Trim_Controls(QStringView text);

// Upper-casing that touches the letters a-z only: every text the converter
// knows is plain ASCII, and a non-ASCII letter that some case mapping would
// turn into one of them (a dotless i, a long s) is not the word the user
// meant to write.
QString Ascii_Upper(QStringView text);

// `text` with each control character (codes below 32, and 127) written as
// "\uXXXX" (four lower-case hexadecimal digits): a value in a report of one
// line a difference stays on its line.
QString Controls_Escaped(QStringView text);

// An argument of Text_Template::Fill: a text, or a number written in
// decimal without a text of its own being made.
class Text_Arg
{
public:
    Text_Arg(QStringView text)
        : view_(text)
    {}
    Text_Arg(const QString &text)
        : view_(text)
    {}
    Text_Arg(int number);
    QStringView View() const
    {
        return digits_ > 0 ? QStringView(buffer_ + std::size(buffer_) - digits_, digits_) : view_;
    }

private:
    QStringView view_;
    char16_t buffer_[12] = {};
    qsizetype digits_ = 0;
};

// A message whose places %1 to %9 are filled many times over (a warning per
// row, at every edit of a table): the message is read once, and each
// filling makes one text. Each %n takes the n-th argument; a place without
// its argument stays as written, and a "%" inside an argument stays text.
class Text_Template
{
public:
    explicit Text_Template(QString format);
    QString Fill(std::initializer_list<Text_Arg> args) const;

private:
    struct Piece
    {
        qsizetype from;
        qsizetype length;
        int arg; // 0 to 8: the argument in its place; -1: the text from `from`
    };
    QString format_;
    QList<Piece> pieces_;
};
