#include "cli/commands.h"

#include "compiler/bank_dump.h"
#include "core/messages.h"
#include "gate/gated_outputs.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

int Command_Compile(const Command_Context &c)
{
    // Only the name of an existing configuration folder opens one, so no
    // argument can point the images anywhere else.
    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(18);
        return 1;
    }
    // Refused as `check` refuses, with the same lines.
    const Result<QStringList> written = Compile_Configuration(c.ws);
    if (!written) {
        c.Message(written.Problem());
        return 1;
    }
    for (const QString &path : written.Value())
        c.out << QDir::toNativeSeparators(path) << Qt::endl;
    return 0;
}

int Command_Dump(const Command_Context &c)
{
    const QString path = c.args.at(0);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        c.Message(Messages().Get(Msg_File_Not_Read).arg(QDir::toNativeSeparators(path), file.errorString()));
        return 1;
    }
    // Told apart by size, before anything is read.
    const Bank_Kind kind = Bank_Kind_Of(file.size());
    if (kind == Bank_Kind::Unknown) {
        c.Message(
            Messages().Get(Msg_Not_A_Bank_Image).arg(QDir::toNativeSeparators(path), QString::number(file.size())));
        return 1;
    }
    const QByteArray image = file.readAll();
    if (Bank_Kind_Of(image.size()) != kind) {
        c.Message(Messages().Get(Msg_File_Not_Read).arg(QDir::toNativeSeparators(path), file.errorString()));
        return 1;
    }
    // What could be decoded goes out either way; what makes the image
    // unsound is said on stderr and fails the command.
    QStringList problems;
    c.out << QString::fromUtf8(kind == Bank_Kind::Bank1 ? Dump_Bank1(image, problems) : Dump_Bank2(image, problems));
    for (const QString &problem : problems)
        c.Message(problem);
    return problems.isEmpty() ? 0 : 1;
}
