// The settings file "Quarnel.xml" read at start-up. Properties: the reading
// is strict (bytes invalid in the encoding, an attribute twice: damaged);
// start-up always completes; a configuration it reopens is a folder directly
// inside PROJECTS; and the settings read, once saved, read back the same.

#include "fuzz_support.h"
#include "workspace/settings.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QFileInfo>

namespace {

struct Settings
{
    QString project, ip, language;
    bool flags[4];
    bool operator==(const Settings &o) const
    {
        return project == o.project && ip == o.ip && language == o.language && flags[0] == o.flags[0] &&
               flags[1] == o.flags[1] && flags[2] == o.flags[2] && flags[3] == o.flags[3];
    }
};

Settings Of(const Workspace &ws)
{
    return Settings{ws.Project_Name,
                    ws.Last_IP_Address,
                    ws.Language_Name,
                    {ws.Enable_Internet, ws.Enable_Update, ws.Enable_Jump_Field_Tables, ws.Double_Click_Auto_Size}};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString root = fuzz::Scratch(QStringLiteral("ws"));
    static const bool made = QDir().mkpath(root + QStringLiteral("/PROJECTS/Plant A/bin"));
    FUZZ_CHECK(made, "no workspace");
    const QByteArray input = fuzz::Bytes(data, size);
    fuzz::Put_File(root + QStringLiteral("/Quarnel.xml"), input);
    Xml_Document doc;
    doc.Load(root + QStringLiteral("/Quarnel.xml"));
    fuzz::Check_Strict_Reading(input, doc);

    Workspace ws;
    Start_Workspace(ws, root);
    if (!ws.Path_Project.isEmpty()) {
        const QFileInfo project(ws.Path_Project);
        FUZZ_CHECK(project.isDir() &&
                       QFileInfo(project.canonicalFilePath()).path() == QFileInfo(ws.Path_Projects).canonicalFilePath(),
                   "the last configuration \"%s\" opens %s, which is no configuration folder",
                   qPrintable(ws.Project_Name), qPrintable(ws.Path_Project));
    }

    const Settings first = Of(ws);
    const Result<> saved = Save_Setting(ws);
    FUZZ_CHECK(saved.Ok(), "%s", qPrintable(saved.Problem()));
    Workspace again;
    again.Path_Exe = root;
    FUZZ_CHECK(Load_Settings(again).Ok(), "the saved settings file is damaged");
    const Settings second = Of(again);
    FUZZ_CHECK(first == second,
               "settings change on a save: project \"%s\"/\"%s\", address \"%s\"/\"%s\", "
               "language \"%s\"/\"%s\"",
               qPrintable(first.project), qPrintable(second.project), qPrintable(first.ip), qPrintable(second.ip),
               qPrintable(first.language), qPrintable(second.language));
    return 0;
}
