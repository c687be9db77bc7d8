#include "workspace/configurations.h"

#include "core/messages.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {

// A name that would not make exactly one new folder directly in PROJECTS.
bool Reaches_Outside(const QString &name)
{
    return name == u"." || name == u".." || name.contains(u'/') || name.contains(u'\\')
           || name.contains(QChar(0)) || QDir::isAbsolutePath(name);
}

} // namespace

bool Is_Configuration_Name(const QString &name)
{
    return !name.isEmpty() && !Reaches_Outside(name);
}

Result<> Create_Configuration(Workspace &ws, const QString &name)
{
    if (name.isEmpty())
        return Fail(Messages().Get(107));
    if (Reaches_Outside(name))
        return Fail(Messages().Get(105));
    const QString dir = ws.Path_Projects + u'/' + name;
    if (QFileInfo(dir).isDir())
        return Fail(Messages().Get(106));
    if (::mkdir(QFile::encodeName(dir).constData(), 0777) != 0) {
        // A sound name the system refused: say where and why.
        return Fail(Messages().Get(105) + u'\n' +
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
    const QString wanted = snc.toUpper();
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names[i].toUpper() == wanted)
            return int(i);
    return -1;
}

QString Current_Configuration(const Workspace &ws)
{
    const QString prefix = ws.Path_Projects + u'/';
    if (ws.Path_Project.startsWith(prefix))
        return ws.Path_Project.mid(prefix.size());
    return QString();
}
