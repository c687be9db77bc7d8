#include "workspace/shipped_languages.h"

#include "core/file_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef SW_INSTALLED_LANGUAGE_FROM_BIN
// <prefix>/bin to <prefix>/share/sw52k31/LANGUAGE; the build passes the path
// that its install directories give.
#define SW_INSTALLED_LANGUAGE_FROM_BIN "../share/sw52k31/LANGUAGE"
#endif

namespace {

// The build tree copies the shipped files here, beside build/sw52k31.
constexpr const char *Build_Tree_Language = "share/sw52k31/LANGUAGE";

QString Existing_Folder(const QString &program_dir, const char *relative)
{
    if (program_dir.isEmpty())
        return QString();
    const QFileInfo folder(QDir(program_dir).filePath(QString::fromUtf8(relative)));
    return folder.isDir() ? QDir::cleanPath(folder.absoluteFilePath()) : QString();
}

// Every "*.lng" counts, the read-only ones too: they are the user's.
bool Has_Language_File(const QString &folder)
{
    return !QDir(folder).entryList({QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden | QDir::System).isEmpty();
}

} // namespace

QString Installed_Language_Folder(const QString &program_dir)
{
    return Existing_Folder(program_dir, SW_INSTALLED_LANGUAGE_FROM_BIN);
}

QString Shipped_Language_Folder(const QString &program_dir)
{
    const QString installed = Installed_Language_Folder(program_dir);
    return installed.isEmpty() ? Existing_Folder(program_dir, Build_Tree_Language) : installed;
}

Shipped_Copy Copy_Shipped_Languages(const QString &shipped, const QString &path_language)
{
    Shipped_Copy result;
    if (shipped.isEmpty() || !QFileInfo(shipped).isDir() || !QFileInfo(path_language).isDir())
        return result;
    // The same folder (a workspace that is the shipped folder's parent) needs no copy.
    if (QFileInfo(shipped).canonicalFilePath() == QFileInfo(path_language).canonicalFilePath())
        return result;
    if (Has_Language_File(path_language))
        return result;

    const QFileInfoList files =
        QDir(shipped).entryInfoList({QStringLiteral("*.lng"), QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    for (const QFileInfo &source : files) {
        const QString target = path_language + u'/' + source.fileName();
        // exists() is false for a dangling link, which must not be written through either.
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            continue;
        QFile in(source.absoluteFilePath());
        if (!in.open(QIODevice::ReadOnly))
            continue; // a damaged installation: the built-in English still works
        // A fresh file of the user's, writable by them: the options dialog
        // offers no read-only language file.
        const Result<> written = Write_File_Atomic(target, in.readAll());
        if (written)
            result.copied << source.fileName();
        else
            result.problems << written.Problem();
    }
    return result;
}
