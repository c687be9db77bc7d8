#include "workspace/language_list.h"

#include <QDir>
#include <QFileInfo>

QStringList Create_Lang_List(const QString &path_language)
{
    QStringList list;
    const QFileInfoList files =
        QDir(path_language).entryInfoList({QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &file : files)
        if (file.permission(QFileDevice::WriteOwner))
            list << file.fileName();
    std::sort(list.begin(), list.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return list;
}

Lang_Page Update_Lang_Page(const QStringList &languages, int num_page)
{
    Lang_Page page;
    const int count = int(languages.size());
    page.pages = (count + 5) / 6;
    page.prev_visible = num_page != 1;
    page.next_visible = num_page != page.pages;
    page.shown = qBound(0, count - (num_page - 1) * 6, 6);
    for (int k = 1; k <= page.shown; ++k)
        page.names << Lang_In_Slot(languages, num_page, k);
    return page;
}

QString Lang_In_Slot(const QStringList &languages, int num_page, int slot)
{
    const int index = (num_page - 1) * 6 + slot - 1;
    if (index < 0 || index >= languages.size())
        return QString();
    return languages[index].chopped(4);
}

QString Flag_File(const QString &path_language, const QString &language)
{
    const QString own = path_language + u'/' + language + QStringLiteral(".bmp");
    if (QFileInfo::exists(own))
        return own;
    const QString fallback = path_language + QStringLiteral("/DefaultFlag.bmp");
    return QFileInfo::exists(fallback) ? fallback : QString();
}
