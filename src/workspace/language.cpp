#include "workspace/language.h"

#include "core/messages.h"
#include "workspace/workspace.h"

#include <QFileInfo>

// A language file that exists but cannot be read leaves the English texts:
// start-up goes on in English, as with no file at all.
void Load_Language(Workspace &ws, Message_Table &table)
{
    table.Build_Default_Messages();
    // A language is a file in the LANGUAGE folder: a name with a path
    // separator in it (a hand-edited settings file) names none.
    const bool plain_name = !ws.Language_Name.contains(u'/') && !ws.Language_Name.contains(u'\\');
    const QString file = ws.Path_Language + u'/' + ws.Language_Name + QStringLiteral(".lng");
    if (plain_name && QFileInfo::exists(file)) {
        (void)table.Read_Language_File(file);
        return;
    }
    ws.Language_Name = QStringLiteral("English");
    const QString english = ws.Path_Language + QStringLiteral("/English.lng");
    if (QFileInfo::exists(english))
        (void)table.Read_Language_File(english);
}
