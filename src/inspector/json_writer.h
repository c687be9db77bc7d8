#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <string>

// A small JSON writer that keeps the order in which fields are added, so a
// dump lists the fields of an image in the order they lie in it (QJsonObject
// would sort them by name). Indented by two blanks per level.
class Json_Writer
{
public:
    // `key` is null inside an array.
    void Begin_Object(const char *key = nullptr);
    void End_Object();
    void Begin_Array(const char *key = nullptr);
    void End_Array();

    void Number(const char *key, qint64 value);
    void String(const char *key, const QString &value);
    void Bool(const char *key, bool value);
    void Null(const char *key);

    // Room for about `bytes` of text, so that a large dump is not copied as it grows.
    void Reserve(std::size_t bytes) { out_.reserve(bytes); }

    // The text written so far, with a final newline once every object is closed.
    QByteArray Text() const;

    static QByteArray Quote(const QString &text);

private:
    void Item(const char *key);
    void Append_Quoted(QStringView text);
    void Close(char bracket);

    std::string out_;
    QList<bool> has_items_; // per open object or array
};
