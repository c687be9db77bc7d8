#include "cli/commands.h"
#include "compiler/bank_layout.h"
#include "compiler/compile_project.h"
#include "core/file_io.h"
#include "core/messages.h"
#include "gate/gated_outputs.h"
#include "inspector/bank_dump.h"
#include "inspector/dump_table.h"
#include "workspace/workspace.h"
#include "workspace/workspace_messages.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <optional>
#include <utility>
#include <variant>

int Command_Compile(const Command_Context &c)
{
    // Only the name of an existing configuration folder opens one, so no
    // argument can point the images anywhere else.
    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(Msg_Project_Not_Valid);
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

std::optional<std::pair<Bank_Kind, QByteArray>> Read_Bank_Image(const Command_Context &c, const QString &path)
{
    // No image is larger than bank 2: a pipe, a device or a larger file is
    // refused before anything is read.
    const Result<QByteArray> read = Read_File_Bounded(path, qint64(bank::Bank2_Size));
    if (!read) {
        c.Message(read.Problem());
        return std::nullopt;
    }
    const QByteArray &image = read.Value();
    // Told apart by size.
    const Bank_Kind kind = Bank_Kind_Of(image.size());
    if (kind == Bank_Kind::Unknown) {
        c.Message(
            Messages().Get(Msg_Not_A_Bank_Image).arg(QDir::toNativeSeparators(path), QString::number(image.size())));
        return std::nullopt;
    }
    return std::pair{kind, image};
}

int Command_Dump(const Command_Context &c)
{
    const bool has_config = c.parser.isSet(QStringLiteral("config"));
    const QString format =
        c.parser.isSet(QStringLiteral("format")) ? c.parser.value(QStringLiteral("format")) : QStringLiteral("json");
    if ((has_config ? !c.args.isEmpty() : c.args.isEmpty()) || (format != u"json" && format != u"table")) {
        c.err << QStringLiteral("Usage: sw52k31 [--workspace DIR] dump %1").arg(QLatin1StringView(Dump_Syntax))
              << Qt::endl;
        return 2;
    }
    // What could be decoded goes out either way; what makes the images
    // unsound is said on stderr and fails the command.
    QStringList problems;
    // The images decoded once; the chosen format prints what was decoded.
    std::variant<Decoded_Bank1, Decoded_Bank2, Decoded_Pair> decoded;
    if (has_config) {
        // Compiled in memory from the documents as they are now; nothing is
        // written, and the documents are not checked first.
        if (!Open_Existing(c.ws, c.parser.value(QStringLiteral("config")))) {
            c.Message(Msg_Project_Not_Valid);
            return 1;
        }
        const Result<Bank_Images> images = Compile_Project(c.ws);
        if (!images) {
            c.Message(images.Problem());
            return 1;
        }
        decoded = Decode_Pair(images.Value().bank1, images.Value().bank2, problems);
    } else {
        QStringList paths = c.args;
        if (paths.size() == 1 && QFileInfo(paths.at(0)).isDir())
            paths = {QDir(paths.at(0)).filePath(QStringLiteral("bank1.bin")),
                     QDir(paths.at(0)).filePath(QStringLiteral("bank2.bin"))};
        QList<std::pair<Bank_Kind, QByteArray>> images;
        for (const QString &path : paths) {
            auto image = Read_Bank_Image(c, path);
            if (!image)
                return 1;
            images << *image;
        }
        if (images.size() == 1) {
            if (images[0].first == Bank_Kind::Bank1)
                decoded = Decode_Bank1(images[0].second, problems);
            else
                decoded = Decode_Bank2(images[0].second, problems);
        } else {
            if (images[0].first == images[1].first) {
                c.Message(Messages()
                              .Get(Msg_Dump_Not_A_Pair)
                              .arg(QDir::toNativeSeparators(paths[0]), QDir::toNativeSeparators(paths[1])));
                return 1;
            }
            if (images[0].first == Bank_Kind::Bank2)
                std::swap(images[0], images[1]);
            decoded = Decode_Pair(images[0].second, images[1].second, problems);
        }
    }
    std::visit(
        [&](const auto &images) {
            c.out << (format == u"table" ? Dump_Table(images) : QString::fromUtf8(Dump_Json(images)));
        },
        decoded);
    for (const QString &problem : problems)
        c.Message(problem);
    return problems.isEmpty() ? 0 : 1;
}
