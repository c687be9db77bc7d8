#pragma once

#include <QString>
#include <QStringList>

// The language files offered by the options dialog: "*.lng" files of the
// LANGUAGE folder, sorted by name ignoring case. Folders and read-only files
// are not offered.
QStringList Create_Lang_List(const QString &path_language);

// What one page of six language slots shows.
struct Lang_Page
{
    int pages = 0; // (count + 5) / 6
    int shown = 0; // languages on this page, at most 6
    bool prev_visible = false;
    bool next_visible = false;
    QStringList names; // the languages of the page, without ".lng"
};

Lang_Page Update_Lang_Page(const QStringList &languages, int num_page);

// The language in slot `slot` (1 to 6) of page `num_page`, or empty when the
// slot holds none.
QString Lang_In_Slot(const QStringList &languages, int num_page, int slot);

// The flag picture of a language: its own ".bmp", else "DefaultFlag.bmp",
// else empty (no picture).
QString Flag_File(const QString &path_language, const QString &language);
