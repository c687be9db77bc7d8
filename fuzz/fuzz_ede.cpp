// The EDE export of a loaded object document: the input is the object
// document, the first byte chooses the parameter document beside it (data
// link, description length, a device instance that would break the columns).
// Property: an export that succeeds writes seven header lines and one line of
// exactly seven fields per object row, every line ended by CR LF and no other
// line break anywhere; an export that fails says why and writes nothing.

#include "core/xml_document.h"
#include "ede/bacnet_ede_file.h"
#include "fuzz_support.h"
#include "workspace/workspace.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

QByteArray ParGen_Variant(int n)
{
    switch (n % 6) {
    case 4: {
        QByteArray doc = fuzz::Valid_ParGen(0, false);
        return doc.replace("<BACnet_DEV_IDE>77<", "<BACnet_DEV_IDE>7;7<");
    }
    case 5: {
        QByteArray doc = fuzz::Valid_ParGen(1, true);
        return doc.replace("<BACnet_Ser_DEV_IDE>4100<", "<BACnet_Ser_DEV_IDE>41&#10;00<");
    }
    default:
        return fuzz::Valid_ParGen(n % 2, n / 2 % 2);
    }
}

// Rows the export takes: every child node of both groups but blank text.
int Object_Rows(const QString &path)
{
    Xml_Document doc;
    if (doc.Load(path) != Xml_Document::State::Loaded)
        return 0;
    int rows = 0;
    for (const char *group : {"BACnet_in_Read", "BACnet_in_Write"})
        For_Each_Row(doc.Root().child(group), [&](pugi::xml_node) { ++rows; });
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    Workspace ws;
    ws.Path_Exe = fuzz::Scratch_Dir();
    ws.Path_Projects = ws.Path_Exe + QStringLiteral("/PROJECTS");
    ws.Open_Configuration(QStringLiteral("Plant"));
    fuzz::Put_File(ws.File_ParGen, ParGen_Variant(data[0]));
    fuzz::Put_File(ws.File_BACnet_Slave_Access, fuzz::Bytes(data + 1, size - 1));
    const QString out = fuzz::Scratch(QStringLiteral("export.csv"));
    QFile::remove(out);

    const Result<> created = Create_EDE_File(ws, out, QDateTime(QDate(2024, 5, 17), QTime(8, 30, 0)));
    if (!created) {
        FUZZ_CHECK(!created.Problem().isEmpty(), "a failed export without a message");
        FUZZ_CHECK(!QFileInfo::exists(out), "a failed export wrote the file");
        return 0;
    }
    const QByteArray bytes = fuzz::Get_File(out);
    FUZZ_CHECK(bytes.endsWith("\r\n"), "the file does not end with a line end");
    const QList<QByteArray> lines = bytes.chopped(2).split('\n');
    const int objects = Object_Rows(ws.File_BACnet_Slave_Access);
    FUZZ_CHECK(lines.size() == 7 + objects, "%d lines for %d objects", int(lines.size()), objects);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        FUZZ_CHECK(i == lines.size() - 1 || line.endsWith('\r'), "line %d ends without CR LF", int(i + 1));
        const QByteArray text = i == lines.size() - 1 ? line : line.chopped(1);
        FUZZ_CHECK(!text.contains('\r'), "line %d holds a CR", int(i + 1));
        if (i >= 7)
            FUZZ_CHECK(text.count(';') == 7 && text.endsWith(';'), "object line %d has %d fields: %s", int(i + 1),
                       int(text.count(';')), text.constData());
    }
    return 0;
}
