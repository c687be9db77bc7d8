#include "cli/commands.h"
#include "core/messages.h"
#include "gate/configuration_gate.h"
#include "workspace/workspace.h"
#include "workspace/workspace_messages.h"

#include <QCommandLineParser>

namespace {

// A problem as `check` prints it. Plain: its text, a warning marked as one.
// With --all: naming its document, and a table's problem its table and the
// row as the grid numbers it.
QString Line(const Problem &p, bool all)
{
    if (!p.Is_Error()) {
        if (all && !p.Document.isEmpty())
            return Messages().Get(Msg_Check_Warning_Line).arg(p.Document, p.Text);
        return QStringLiteral("Warning: ") + p.Text;
    }
    if (!all || p.Document.isEmpty())
        return p.Text;
    if (!p.Table.isEmpty() && p.Row >= 0)
        return Messages().Get(Msg_Check_Row_Line).arg(p.Document, p.Table, QString::number(p.Row_Number()), p.Text);
    return Messages().Get(Msg_Check_Document_Line).arg(p.Document, p.Text);
}

} // namespace

int Command_Check(const Command_Context &c)
{
    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(Msg_Project_Not_Valid);
        return 1;
    }
    // The same decision that stands in front of `compile`, `update` and the
    // main window's step 6, so that passing here means the images compile.
    // --all: every failure of every document, one a line, naming where it is.
    const bool all = c.parser.isSet(QStringLiteral("all"));
    const Gate_Report report = Check_Configuration(Read_Configuration(c.ws, Output::Images), Output::Images,
                                                   all ? Check_Depth::Everything : Check_Depth::As_OK);
    for (const Problem &problem : report.Problems)
        c.Message(Line(problem, all));
    return report.Ok() ? 0 : 1;
}
