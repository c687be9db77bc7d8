#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

// Small helpers shared by the suites.

// A string from UTF-8 text: short, for the long lists of names and values
// the suites write.
inline QString S(const char *text)
{
    return QString::fromUtf8(text);
}

namespace test {

inline void Write(const QString &path, const QByteArray &data)
{
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(data);
}

inline QByteArray Read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace test
