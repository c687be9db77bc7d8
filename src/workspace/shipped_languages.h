#pragma once

#include <QString>
#include <QStringList>

// The language files and flag pictures that come with the program, and their
// first copy into a workspace's LANGUAGE folder.
//
// They are found relative to the program file: an installed program in
// <prefix>/bin has them in <prefix>/share/sw52k31/LANGUAGE; a program run
// from the build tree has them in share/sw52k31/LANGUAGE beside it.

// The shipped folder of an installed program in `program_dir`, or empty when
// the program does not sit in an installed tree.
QString Installed_Language_Folder(const QString &program_dir);

// The shipped folder for a program in `program_dir` (installed tree first,
// then the build tree's), or empty when there is none.
QString Shipped_Language_Folder(const QString &program_dir);

// What a first copy did: the file names copied, and a composed message for
// each file that could not be written.
struct Shipped_Copy
{
    QStringList copied;
    QStringList problems;
};

// Copies the shipped "*.lng" and "*.bmp" files of `shipped` into
// `path_language`, but only while that folder holds no language file at all:
// once the user has a language file, the folder is theirs. A file that is
// already there is never replaced. Nothing happens when either folder is
// missing.
Shipped_Copy Copy_Shipped_Languages(const QString &shipped, const QString &path_language);
