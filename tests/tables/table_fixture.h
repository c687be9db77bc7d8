#pragma once

#include "tables/text_table.h"
#include "test_support.h"

#include <QStringList>
#include <QTemporaryDir>

// Small helpers for the table suites: rows written as "a|b|c" texts.
namespace test {

// Fills rows from row 0 with cells split at "|".
inline void Fill(Text_Table &table, const QStringList &rows)
{
    for (int r = 0; r < rows.size(); ++r)
        table.Set_Row(r, rows[r].split(u'|'));
}

inline QString Row_Text(const Text_Table &table, int r)
{
    return table.Row(r).join(u'|');
}

// "ParGen.xml" holding one key.
inline QByteArray ParGen_With(const char *key, const char *value)
{
    return QByteArray("<Par_Gen><") + key + '>' + value + "</" + key + "></Par_Gen><!--SW_VERSION = 1.000-->";
}

} // namespace test
