#include "cli/commands.h"
#include "compiler/compile_project.h"
#include "core/messages.h"
#include "inspector/config_diff.h"
#include "inspector/image_diff.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

// One side of the comparison: a configuration, or a pair of images.
struct Side
{
    bool configuration = false;
    Configuration_Documents documents; // of a configuration
    Workspace ws;                      // with the configuration open
    Bank_Images images;                // of a pair
};

// The pair of images in `first` and `second`, in either order; false after
// saying why not.
bool Read_Pair(const Command_Context &c, const QString &first, const QString &second, Bank_Images &images)
{
    const auto a = Read_Bank_Image(c, first);
    if (!a)
        return false;
    const auto b = Read_Bank_Image(c, second);
    if (!b)
        return false;
    if (a->first == b->first) {
        c.Message(
            Messages().Get(Msg_Dump_Not_A_Pair).arg(QDir::toNativeSeparators(first), QDir::toNativeSeparators(second)));
        return false;
    }
    images = a->first == Bank_Kind::Bank1 ? Bank_Images{a->second, b->second} : Bank_Images{b->second, a->second};
    return true;
}

// `arg` as a bin folder (a folder holding bank1.bin and bank2.bin), else as
// the name of a configuration; false after saying why neither.
bool Read_Side(const Command_Context &c, const QString &arg, Side &side)
{
    const QDir folder(arg);
    if (QFileInfo(arg).isDir() && folder.exists(QStringLiteral("bank1.bin")) &&
        folder.exists(QStringLiteral("bank2.bin")))
        return Read_Pair(c, folder.filePath(QStringLiteral("bank1.bin")), folder.filePath(QStringLiteral("bank2.bin")),
                         side.images);
    side.ws = c.ws;
    if (!Open_Existing(side.ws, arg)) {
        c.Message(Messages().Get(Msg_Diff_No_Side).arg(arg));
        return false;
    }
    side.configuration = true;
    side.documents = {side.ws.Project_Name, side.ws.File_ParGen, side.ws.File_LoRaWAN_Access,
                      side.ws.File_BACnet_Slave_Access};
    return true;
}

} // namespace

// `diff A B` and `diff A1 A2 B1 B2`: one difference a line on stdout, as
// Compare_Configurations and Compare_Images give them; what makes both
// sides' images unsound alike on stderr. Ends as diff(1) does: 0 the same,
// 1 different, 2 a usage error or an input that could not be read.
int Command_Diff(const Command_Context &c)
{
    if (c.args.size() != 2 && c.args.size() != 4) {
        c.err << QStringLiteral("Usage: sw52k31 [--workspace DIR] diff %1").arg(QLatin1StringView(Diff_Syntax))
              << Qt::endl;
        return 2;
    }
    Side before, after;
    if (c.args.size() == 4) {
        if (!Read_Pair(c, c.args[0], c.args[1], before.images) || !Read_Pair(c, c.args[2], c.args[3], after.images))
            return 2;
    } else if (!Read_Side(c, c.args[0], before) || !Read_Side(c, c.args[1], after)) {
        return 2;
    }
    Image_Comparison found;
    if (before.configuration && after.configuration) {
        found = Compare_Configurations(before.documents, after.documents);
    } else {
        // Images on one side at least: a configuration there is the images
        // it compiles to, in memory.
        bool compiled = true;
        for (Side *side : {&before, &after}) {
            if (!side->configuration)
                continue;
            const Result<Bank_Images> images = Compile_Project(side->ws);
            if (images)
                side->images = images.Value();
            else {
                found.Lines << Messages().Get(Msg_Diff_Not_Compiled).arg(side->documents.name, images.Problem());
                compiled = false;
            }
        }
        if (compiled)
            found = Compare_Images(before.images, after.images);
    }
    for (const QString &line : found.Lines)
        c.out << line << Qt::endl;
    for (const QString &problem : found.Problems_Before)
        if (found.Problems_After.contains(problem))
            c.Message(Messages().Get(Msg_Diff_Both_Unsound).arg(problem));
    return found.Lines.isEmpty() ? 0 : 1;
}
