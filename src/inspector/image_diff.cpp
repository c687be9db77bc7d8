#include "inspector/image_diff.h"

#include "inspector/bank_dump.h"
#include "compiler/bank_layout.h"
#include "compiler/object_types.h"
#include "core/messages.h"
#include "core/text.h"

#include <QList>
#include <algorithm>
#include <map>
#include <string_view>
#include <tuple>
#include <utility>

namespace {

// A dump's JSON read back in the order the writer wrote it (QJsonObject
// would sort the fields by name, and the lines must follow the images).
struct Node
{
    enum class Kind { Null, Scalar, String, Object, Array } kind = Kind::Null;
    QString text;                            // Scalar and String
    QList<std::pair<QString, Node>> members; // Object, in written order
    QList<Node> items;                       // Array

    const Node *Find(QStringView key) const
    {
        for (const auto &[k, v] : members)
            if (k == key)
                return &v;
        return nullptr;
    }
    QString Get(QStringView key) const
    {
        const Node *n = Find(key);
        return n ? n->text : QString();
    }
    bool Has_Value(QStringView key) const
    {
        const Node *n = Find(key);
        return n && n->kind != Kind::Null;
    }
};

// Reads the JSON that Json_Writer writes: objects, arrays, strings with the
// writer's escapes, numbers, true, false, null. Anything else ends the
// reading early; the dump is our own, so that never happens on its text.
class Reader
{
public:
    explicit Reader(const QByteArray &json)
        : text_(QString::fromUtf8(json))
    {}

    Node Value()
    {
        Node n;
        Skip();
        if (at_ >= text_.size())
            return n;
        const QChar c = text_[at_];
        if (c == u'{') {
            n.kind = Node::Kind::Object;
            ++at_;
            while (Skip(), at_ < text_.size() && text_[at_] != u'}') {
                if (text_[at_] == u',') {
                    ++at_;
                    continue;
                }
                QString key = String();
                Skip();
                if (at_ < text_.size() && text_[at_] == u':')
                    ++at_;
                n.members.append({std::move(key), Value()});
            }
            ++at_;
        } else if (c == u'[') {
            n.kind = Node::Kind::Array;
            ++at_;
            while (Skip(), at_ < text_.size() && text_[at_] != u']') {
                if (text_[at_] == u',') {
                    ++at_;
                    continue;
                }
                n.items.append(Value());
            }
            ++at_;
        } else if (c == u'"') {
            n.kind = Node::Kind::String;
            n.text = String();
        } else {
            const qsizetype from = at_;
            while (at_ < text_.size() && !QStringLiteral(",]} \n\r\t").contains(text_[at_]))
                ++at_;
            n.text = text_.mid(from, at_ - from);
            if (n.text == u"null")
                n.text.clear();
            else
                n.kind = Node::Kind::Scalar;
            if (at_ == from) // not JSON: stop rather than loop
                at_ = text_.size();
        }
        return n;
    }

private:
    void Skip()
    {
        while (at_ < text_.size() && text_[at_].isSpace())
            ++at_;
    }
    QString String()
    {
        QString s;
        if (at_ >= text_.size() || text_[at_] != u'"')
            return s;
        ++at_;
        while (at_ < text_.size() && text_[at_] != u'"') {
            QChar c = text_[at_++];
            if (c == u'\\' && at_ < text_.size()) {
                const QChar e = text_[at_++];
                if (e == u'n')
                    c = u'\n';
                else if (e == u't')
                    c = u'\t';
                else if (e == u'r')
                    c = u'\r';
                else if (e == u'b')
                    c = u'\b';
                else if (e == u'f')
                    c = u'\f';
                else if (e == u'u') {
                    c = QChar(char16_t(text_.mid(at_, 4).toUShort(nullptr, 16)));
                    at_ += 4;
                } else
                    c = e;
            }
            s += c;
        }
        ++at_;
        return s;
    }

    QString text_;
    qsizetype at_ = 0;
};

// Fields a line never names by themselves: what every image of its kind
// holds, what the decoder computes rather than reads, and what follows from
// other fields (the record number from the counts, a description's address
// from the lengths of the descriptions before it, the trigger flags from the
// trigger code). A changed value of these that matters shows as a problem of
// the image.
bool Derived(QStringView key)
{
    static const QStringList keys = {
        QStringLiteral("image"),
        QStringLiteral("size"),
        QStringLiteral("load_address"),
        QStringLiteral("checksum_computed"),
        QStringLiteral("checksum_ok"),
        QStringLiteral("on_change"),
        QStringLiteral("on_cmd"),
        QStringLiteral("on_timer"),
        QStringLiteral("description_address"),
        QStringLiteral("bacnet_type"),
        QStringLiteral("entry"),
        QStringLiteral("record"),
        QStringLiteral("object_type"),
        QStringLiteral("instance"),
        QStringLiteral("channel"),
    };
    return keys.contains(key);
}

// Free text, shown in double quotes so that blanks and an empty text show.
bool Free_Text(QStringView key)
{
    return key == u"device_name" || key == u"description";
}

// The field that holds the name of code field `key`, or empty.
QString Name_Field(const Node &parent, const QString &key)
{
    const QString name = key == u"band_code" ? QStringLiteral("band") : key + QStringLiteral("_name");
    return parent.Find(name) ? name : QString();
}

bool Is_Name_Field(const Node &parent, const QString &key)
{
    if (key == u"band")
        return parent.Find(u"band_code") != nullptr;
    return key.endsWith(u"_name") && parent.Find(QStringView(key).chopped(5)) != nullptr;
}

// In double quotes, with a backslash before a quote or a backslash and a
// control character as \uXXXX, so that a line stays one line.
QString Quoted(const QString &text)
{
    QString q = text;
    q.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + Controls_Escaped(q) + u'"';
}

QString Text_Of(const Node &n, const QString &key = QString());

// The value of field `key` of `parent` as a line shows it: a code with its
// name beside it ("2 (EVEN)"), a trigger code with its triggers, free text
// in quotes, "none" for no value.
QString Field_Text(const Node &parent, const QString &key)
{
    const Node *n = parent.Find(key);
    if (!n)
        return QStringLiteral("none");
    QString text = Text_Of(*n, key);
    if (const QString name = Name_Field(parent, key); !name.isEmpty()) {
        const Node *named = parent.Find(name);
        // A data-rate text holds tabs between its parts.
        if (named && named->kind != Node::Kind::Null)
            text += QStringLiteral(" (") + named->text.simplified() + u')';
    } else if (key == u"triggers") {
        QStringList on;
        if (parent.Get(u"on_change") == u"true")
            on << QStringLiteral("change");
        if (parent.Get(u"on_cmd") == u"true")
            on << QStringLiteral("command");
        if (parent.Get(u"on_timer") == u"true")
            on << QStringLiteral("timer");
        if (!on.isEmpty())
            text += QStringLiteral(" (") + on.join(QStringLiteral(", ")) + u')';
    }
    return text;
}

// "key value, key value" of every field a line names.
QString Summary(const Node &record)
{
    QStringList parts;
    for (const auto &[key, value] : record.members)
        if (!Derived(key) && !Is_Name_Field(record, key))
            parts << key + u' ' + Field_Text(record, key);
    return parts.join(QStringLiteral(", "));
}

QString Text_Of(const Node &n, const QString &key)
{
    switch (n.kind) {
    case Node::Kind::Null:
        return QStringLiteral("none");
    case Node::Kind::Scalar:
        return n.text;
    case Node::Kind::String:
        return Free_Text(key) ? Quoted(n.text) : n.text;
    case Node::Kind::Object:
        return Summary(n);
    case Node::Kind::Array: {
        QStringList parts;
        for (const Node &item : n.items)
            parts << Text_Of(item);
        return parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral(", "));
    }
    }
    return {};
}

// Where a record of a list lies and how a line names it: rule entries and
// serial channels by their number, object records by type and instance
// (the instances of a type count from 0), or by record number when the
// counts of bank 1 do not reach them.
struct Record_Key
{
    std::pair<qint64, qint64> order;
    QString name;
};

Record_Key Key_Of(const Node &record)
{
    if (record.Has_Value(u"object_type")) {
        const QString type = record.Get(u"object_type");
        qint64 index = 0;
        while (index < compiler::Object_Type_Count &&
               type != QLatin1StringView(compiler::Object_Types[std::size_t(index)].text))
            ++index;
        const qint64 instance = record.Get(u"instance").toLongLong();
        return {{index, instance}, type + u' ' + QString::number(instance)};
    }
    for (const char *key : {"record", "entry", "channel"}) {
        if (const Node *n = record.Find(QString::fromLatin1(key))) {
            const qint64 number = n->text.toLongLong();
            // After every typed record, as the records lie.
            const qint64 group = key == std::string_view("record") ? compiler::Object_Type_Count : 0;
            return {{group, number},
                    group ? QStringLiteral("record ") + QString::number(number) : QString::number(number)};
        }
    }
    return {{0, 0}, QString()};
}

void Compare(const QString &path, const Node &before, const Node &after, QStringList &lines);

void Compare_Records(const QString &path, const Node &before, const Node &after, QStringList &lines)
{
    std::map<std::pair<qint64, qint64>, std::pair<const Node *, const Node *>> records;
    std::map<std::pair<qint64, qint64>, QString> names;
    for (const Node &r : before.items) {
        const Record_Key k = Key_Of(r);
        records[k.order].first = &r;
        names[k.order] = k.name;
    }
    for (const Node &r : after.items) {
        const Record_Key k = Key_Of(r);
        records[k.order].second = &r;
        names[k.order] = k.name;
    }
    for (const auto &[order, pair] : records) {
        const QString at = path + u'[' + names[order] + u']';
        if (!pair.first)
            lines << at + QStringLiteral(": added (") + Summary(*pair.second) + u')';
        else if (!pair.second)
            lines << at + QStringLiteral(": removed (") + Summary(*pair.first) + u')';
        else
            Compare(at, *pair.first, *pair.second, lines);
    }
}

bool Is_Record_List(const Node &n)
{
    return n.kind == Node::Kind::Array && !n.items.isEmpty() && n.items.first().kind == Node::Kind::Object;
}

void Compare(const QString &path, const Node &before, const Node &after, QStringList &lines)
{
    if (before.kind == Node::Kind::Object && after.kind == Node::Kind::Object) {
        // The fields in the order they lie; one that only one side has (the
        // object type where the counts reach a record on one side only)
        // after them.
        QStringList keys;
        for (const auto &[key, value] : before.members)
            keys << key;
        for (const auto &[key, value] : after.members)
            if (!keys.contains(key))
                keys << key;
        for (const QString &key : keys) {
            if (Derived(key) || Is_Name_Field(before, key) || Is_Name_Field(after, key))
                continue;
            // The bytes of the device name repeat its text: only a change
            // beyond its ending 0 is theirs to tell.
            if (key == u"device_name_bytes" && before.Get(u"device_name") != after.Get(u"device_name"))
                continue;
            const Node *b = before.Find(key);
            const Node *a = after.Find(key);
            const QString at = path.isEmpty() ? key : path + u'.' + key;
            if (b && a && (Is_Record_List(*b) || Is_Record_List(*a)) && b->kind == Node::Kind::Array &&
                a->kind == Node::Kind::Array) {
                Compare_Records(at, *b, *a, lines);
                continue;
            }
            if (b && a && b->kind == Node::Kind::Object && a->kind == Node::Kind::Object) {
                Compare(at, *b, *a, lines);
                continue;
            }
            const QString was = Field_Text(before, key);
            const QString now = Field_Text(after, key);
            if (was != now)
                lines << at + QStringLiteral(": ") + was + QStringLiteral(" -> ") + now;
        }
        return;
    }
    const QString was = Text_Of(before);
    const QString now = Text_Of(after);
    if (was != now)
        lines << path + QStringLiteral(": ") + was + QStringLiteral(" -> ") + now;
}

bool Decodable(const Bank_Images &images)
{
    return Bank_Kind_Of(images.bank1.size()) == Bank_Kind::Bank1 &&
           Bank_Kind_Of(images.bank2.size()) == Bank_Kind::Bank2;
}

// What makes one side unsound and not the other, one line a problem, the
// side first.
QStringList Image_Problem_Lines(const QStringList &before, const QStringList &after)
{
    QStringList lines;
    for (const QString &p : before)
        if (!after.contains(p))
            lines << QStringLiteral("before: ") + p;
    for (const QString &p : after)
        if (!before.contains(p))
            lines << QStringLiteral("after: ") + p;
    return lines;
}

} // namespace

Image_Comparison Compare_Images(const Bank_Images &before, const Bank_Images &after)
{
    Image_Comparison c;
    if (!Decodable(before) || !Decodable(after)) {
        // No field can be read where a bank is not of its size.
        for (const auto &[images, problems] :
             {std::pair{&before, &c.Problems_Before}, std::pair{&after, &c.Problems_After}})
            for (const auto &[bank, bytes, size] : {std::tuple{"bank1", &images->bank1, bank::Bank1_Size},
                                                    std::tuple{"bank2", &images->bank2, bank::Bank2_Size}})
                if (bytes->size() != qsizetype(size))
                    *problems << Messages()
                                     .Get(Msg_Diff_Not_An_Image)
                                     .arg(QLatin1StringView(bank), QString::number(bytes->size()),
                                          QString::number(size));
        if (before.bank1 != after.bank1)
            c.Lines << QStringLiteral("bank1: the bytes differ");
        if (before.bank2 != after.bank2)
            c.Lines << QStringLiteral("bank2: the bytes differ");
        c.Lines = Image_Problem_Lines(c.Problems_Before, c.Problems_After) + c.Lines;
        return c;
    }
    const Node was = Reader(Dump_Pair(before.bank1, before.bank2, c.Problems_Before)).Value();
    const Node now = Reader(Dump_Pair(after.bank1, after.bank2, c.Problems_After)).Value();
    c.Lines = Image_Problem_Lines(c.Problems_Before, c.Problems_After);
    Compare(QString(), was, now, c.Lines);
    return c;
}

QStringList Image_Differences(const Bank_Images &before, const Bank_Images &after)
{
    return Compare_Images(before, after).Lines;
}
