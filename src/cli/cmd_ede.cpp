#include "cli/commands.h"
#include "ede/bacnet_ede_file.h"
#include "gate/gated_outputs.h"
#include "workspace/workspace.h"
#include "workspace/workspace_messages.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QTextStream>

namespace {

// The value of option `name` among `names` (its index), the first when the
// option is not given; -1 for any other value.
int Choice(const Command_Context &c, const QString &name, std::initializer_list<QStringView> names)
{
    if (!c.parser.isSet(name))
        return 0;
    const QString value = c.parser.value(name);
    int index = 0;
    for (QStringView n : names) {
        if (value == n)
            return index;
        ++index;
    }
    return -1;
}

} // namespace

int Command_Ede(const Command_Context &c)
{
    if (c.args.at(1).isEmpty()) {
        c.Message(QStringLiteral("Usage: sw52k31 [--workspace DIR] ede NAME FILE (FILE must not be empty)"));
        return 2;
    }
    const int layout = Choice(c, QStringLiteral("layout"), {u"classic", u"standard"});
    const int charset = Choice(c, QStringLiteral("charset"), {u"windows-1252", u"utf-8"});
    if (layout < 0 || charset < 0) {
        c.Message(QStringLiteral("Usage: sw52k31 [--workspace DIR] ede NAME FILE [--layout classic|standard] "
                                 "[--charset utf-8|windows-1252]"));
        return 2;
    }
    EDE_Options options;
    options.layout = layout == 1 ? EDE_Layout::Standard : EDE_Layout::Classic;
    options.charset = charset == 1 ? EDE_Charset::Utf8 : EDE_Charset::Windows_1252;
    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(Msg_Project_Not_Valid);
        return 1;
    }
    // Like the save dialog, but without the question: the command replaces
    // FILE (and in the standard layout its companion files).
    const QString file = EDE_File_Name(c.args.at(1));
    if (const Result<> created = Export_EDE(c.ws, file, QDateTime::currentDateTime(), options); !created) {
        c.Message(created.Problem());
        return 1;
    }
    c.out << file << Qt::endl;
    return 0;
}
