#include "cli/commands.h"
#include "core/messages.h"
#include "gate/configuration_gate.h"
#include "params/pargen_check.h"
#include "params/pargen_form.h"
#include "tables/table_check.h"
#include "workspace/workspace.h"
#include "workspace/workspace_messages.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QSet>

namespace {

// Every failure of the parameter check, each naming the document, when the
// gate found the first of them (it does not look further, and not at all
// when the document is damaged or the folder gone).
QStringList Parameter_Lines(const Command_Context &c, const Configuration_Snapshot &configuration,
                            const Gate_Report &report, QSet<QString> &told)
{
    QStringList lines;
    ParGen_Form form;
    form.Load(Load_ParGen(configuration.ParGen));
    const QList<ParGen_Problem> problems = All_ParGen_Problems(form);
    if (problems.isEmpty() || !report.Problems.contains(problems.first().Text))
        return lines;
    const QString doc = QFileInfo(c.ws.File_ParGen).fileName();
    for (const ParGen_Problem &p : problems) {
        told << p.Text;
        lines << Messages().Get(Msg_Check_Document_Line).arg(doc, p.Text);
    }
    return lines;
}

// `check --all`: every failure of the parameters, then of each table, one a
// line, naming its document (and table and row as the grid numbers it); the
// gate's other problems as they are; then the warnings. The documents are
// the ones the gate checked; the tables are loaded again from them, as the
// gate keeps only its texts.
void Print_All(const Command_Context &c, const Configuration_Snapshot &configuration, const Gate_Report &report)
{
    QSet<QString> told;
    QStringList lines;
    QStringList warnings;
    const QStringList parameters = Parameter_Lines(c, configuration, report, told);
    const auto add_table = [&](const Table_Check &t, const QString &file) {
        const QString doc = QFileInfo(file).fileName();
        if (!t.Clean())
            for (const QString &w : t.Report.Warnings) {
                told << w;
                lines << Messages().Get(Msg_Check_Document_Line).arg(doc, w);
            }
        for (const Table_Problem &p : t.All) {
            told << p.Text;
            lines << (p.Cell.Row < 0 ? Messages().Get(Msg_Check_Document_Line).arg(doc, p.Text)
                                     : Messages()
                                           .Get(Msg_Check_Row_Line)
                                           .arg(doc, t.Captions.value(p.Cell.Page),
                                                QString::number(p.Cell.Row + t.Row_Base), p.Text));
        }
        for (const Table_Problem &w : t.Overlaps)
            warnings << Messages().Get(Msg_Check_Warning_Line).arg(doc, w.Text);
    };
    if (c.ws.Configuration_Open()) {
        add_table(Check_LoRaWAN_Access(configuration.ParGen, configuration.Rules), c.ws.File_LoRaWAN_Access);
        add_table(Check_BACnet_Slave_Access(configuration.ParGen, configuration.Objects),
                  c.ws.File_BACnet_Slave_Access);
    }
    for (const QString &line : parameters)
        c.Message(line);
    for (const QString &problem : report.Problems)
        if (!told.contains(problem))
            c.Message(problem);
    for (const QString &line : lines)
        c.Message(line);
    for (const QString &warning : report.Warnings)
        c.Message(warning);
    for (const QString &warning : warnings)
        c.Message(warning);
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
    const Configuration_Snapshot configuration = Read_Configuration(c.ws, Output::Images);
    const Gate_Report report = Check_Configuration(configuration, Output::Images);
    if (c.parser.isSet(QStringLiteral("all"))) {
        Print_All(c, configuration, report);
        return report.Ok() ? 0 : 1;
    }
    for (const QString &problem : report.Problems)
        c.Message(problem);
    for (const QString &warning : report.Warnings)
        c.Message(warning);
    return report.Ok() ? 0 : 1;
}
