#include "core/xml_document.h"

#include "core/file_io.h"
#include "core/messages.h"

#include <QDir>
#include <QFile>

namespace {

struct Byte_Array_Writer : pugi::xml_writer
{
    QByteArray data;
    void write(const void *bytes, size_t size) override
    {
        data.append(static_cast<const char *>(bytes), qsizetype(size));
    }
};

// Line and column (both from 1) of a byte offset; the column counts characters.
void Line_Column(const QByteArray &data, qsizetype offset, int *line, int *column)
{
    offset = qBound<qsizetype>(0, offset, data.size());
    int l = 1;
    qsizetype line_start = 0;
    for (qsizetype i = 0; i < offset; ++i) {
        if (data[i] == '\n') {
            ++l;
            line_start = i + 1;
        }
    }
    *line = l;
    *column = int(QString::fromUtf8(data.constData() + line_start, offset - line_start).size()) + 1;
}

} // namespace

Xml_Document::State Xml_Document::Load(const QString &path)
{
    doc_.reset();
    problem_.clear();
    QFile file(path);
    if (!file.exists())
        return state_ = State::Missing;
    if (!file.open(QIODevice::ReadOnly)) {
        problem_ = Messages().Get(Msg_File_Damaged).arg(QDir::toNativeSeparators(path), QStringLiteral("0"),
                                                        QStringLiteral("0"), file.errorString());
        return state_ = State::Damaged;
    }
    const QByteArray data = file.readAll();
    const pugi::xml_parse_result result = doc_.load_buffer(data.constData(), size_t(data.size()),
                                                           pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (!result) {
        int line = 0;
        int column = 0;
        Line_Column(data, qsizetype(result.offset), &line, &column);
        // One arg() call: a "%2" in the path must stay as it is.
        problem_ = Messages().Get(Msg_File_Damaged).arg(QDir::toNativeSeparators(path), QString::number(line),
                                                        QString::number(column),
                                                        QString::fromUtf8(result.description()));
        doc_.reset();
        return state_ = State::Damaged;
    }
    return state_ = State::Loaded;
}

pugi::xml_node Xml_Document::Root() const
{
    return doc_.document_element();
}

pugi::xml_node Xml_Document::Begin(const char *root_name, bool version_comment)
{
    doc_.reset();
    pugi::xml_node root = doc_.append_child(root_name);
    if (version_comment)
        doc_.append_child(pugi::node_comment).set_value(Document_Version_Comment);
    state_ = State::Loaded;
    problem_.clear();
    return root;
}

QByteArray Xml_Document::Serialise() const
{
    Byte_Array_Writer writer;
    doc_.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    // The library writes a carriage return inside a text as it is, and every
    // reader turns it into a line feed: written as a character reference it
    // reads back as itself. (Attributes have theirs escaped already, and the
    // raw form has no line ends of its own.)
    writer.data.replace("\r", "&#13;");
    return writer.data;
}

Result<> Xml_Document::Save(const QString &path) const
{
    return Write_File_Atomic(path, Serialise());
}

QString Node_Text(pugi::xml_node node)
{
    // The whole text of the element, as a DOM gives it: every text and CDATA
    // piece inside it in document order, so a hand edit that put a comment
    // in the middle of a value does not cut it short.
    const pugi::xml_node first = node.first_child();
    if (first && !first.next_sibling() && (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata))
        return QString::fromUtf8(first.value());
    QByteArray text;
    struct Collector : pugi::xml_tree_walker
    {
        QByteArray *text;
        bool for_each(pugi::xml_node &n) override
        {
            if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
                text->append(n.value());
            return true;
        }
    } collector;
    collector.text = &text;
    node.traverse(collector);
    return QString::fromUtf8(text);
}

bool Child_Text(pugi::xml_node parent, const char *name, QString *text)
{
    if (!parent)
        return false;
    const pugi::xml_node child = parent.child(name);
    if (!child)
        return false;
    *text = Node_Text(child);
    return true;
}

QString Child_Text_Def(pugi::xml_node parent, const char *name, const QString &fallback)
{
    QString text;
    return Child_Text(parent, name, &text) ? text : fallback;
}

bool Attr_Text(pugi::xml_node node, const char *name, QString *text)
{
    if (!node)
        return false;
    const pugi::xml_attribute attr = node.attribute(name);
    if (!attr)
        return false;
    *text = QString::fromUtf8(attr.value());
    return true;
}

QString Attr_Text_Def(pugi::xml_node node, const char *name, const QString &fallback)
{
    QString text;
    return Attr_Text(node, name, &text) ? text : fallback;
}

pugi::xml_node Add_Key(pugi::xml_node parent, const char *name, const QString &text)
{
    pugi::xml_node node = parent.append_child(name);
    if (!text.isEmpty())
        node.text().set(text.toUtf8().constData());
    return node;
}

void Add_Attr(pugi::xml_node node, const char *name, const QString &text)
{
    node.append_attribute(name).set_value(text.toUtf8().constData());
}
