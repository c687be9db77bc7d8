#include "workspace/configurations.h"

#include "core/messages.h"
#include "workspace/workspace.h"
#include "workspace/workspace_messages.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace {

// A name that would not make exactly one new folder directly in PROJECTS.
bool Reaches_Outside(const QString &name)
{
    return name == u"." || name == u".." || name.contains(u'/') || name.contains(u'\\') || name.contains(QChar(0)) ||
           QDir::isAbsolutePath(name);
}

// A character that the EDE file (a ";" adds a column) or the one-a-line list
// of configurations (a line break adds a line) cannot carry: ";", the control
// characters (C0, DEL, C1) and the Unicode line and paragraph separators.
bool Breaks_Lists(const QString &name)
{
    for (const QChar c : name) {
        const QChar::Category category = c.category();
        if (c == u';' || category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            return true;
    }
    return false;
}

} // namespace

bool Is_Configuration_Name(const QString &name)
{
    return !name.isEmpty() && !Reaches_Outside(name);
}

Result<> Create_Configuration(Workspace &ws, const QString &name)
{
    if (name.isEmpty())
        return Fail(Messages().Get(Msg_Project_Name_Empty));
    if (Reaches_Outside(name))
        return Fail(Messages().Get(Msg_Project_Name_Not_Valid));
    if (Breaks_Lists(name))
        return Fail(Messages().Get(Msg_Name_Breaks_Lists));
    const QString dir = ws.Path_Projects + u'/' + name;
    if (QFileInfo(dir).isDir())
        return Fail(Messages().Get(Msg_Project_Name_Folder_Exists));
    // Two names that differ only in letter case are one folder on some file
    // systems and easily taken for each other by a user on any.
    const QStringList existing = Load_Existing_Configuration(ws);
    if (const int i = Search_Open_Conf(existing, name); i >= 0)
        return Fail(Messages().Get(Msg_Name_Differs_In_Case).arg(existing.at(i)));
    if (::mkdir(QFile::encodeName(dir).constData(), 0777) != 0) {
        // A sound name the system refused: say where and why.
        return Fail(Messages().Get(Msg_Project_Name_Not_Valid) + u'\n' +
                    Messages().Get(Msg_File_Not_Written).arg(QDir::toNativeSeparators(dir), qt_error_string(errno)));
    }
    QDir().mkpath(dir + QStringLiteral("/bin")); // a failure shows when the images are written
    ws.Project_Name = name;
    ws.Path_Project = dir;
    ws.Set_Files();
    return {};
}

QStringList Load_Existing_Configuration(const Workspace &ws)
{
    QStringList names;
    QDirIterator it(ws.Path_Projects, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        names << it.fileName();
    }
    return names;
}

int Search_Open_Conf(const QStringList &names, const QString &snc)
{
    if (snc.isEmpty())
        return -1;
    // Folder names are case-sensitive here: "ok" and "OK" are two
    // configurations, and the one named exactly is the one meant.
    if (const qsizetype exact = names.indexOf(snc); exact >= 0)
        return int(exact);
    const QString wanted = snc.toUpper();
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names[i].toUpper() == wanted)
            return int(i);
    return -1;
}

Result<> Check_Configuration_Folder(const QString &path_project)
{
    if (path_project.isEmpty())
        return Fail(Messages().Get(Msg_Project_Not_Valid));
    if (!QFileInfo(path_project).isDir())
        return Fail(Messages().Get(Msg_Project_Not_Valid) + u'\n' +
                    Messages().Get(Msg_Configuration_Folder_Gone).arg(QDir::toNativeSeparators(path_project)));
    return {};
}

QString Current_Configuration(const Workspace &ws)
{
    const QString prefix = ws.Path_Projects + u'/';
    if (ws.Path_Project.startsWith(prefix))
        return ws.Path_Project.mid(prefix.size());
    return QString();
}
