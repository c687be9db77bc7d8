#include "widgets/file_dialog.h"

#include <QFileDialog>
#include <optional>

namespace {

std::optional<QString> next_name;

} // namespace

namespace File_Dialog {

QString Save(QWidget *parent, const QString &dir, const QString &filter)
{
    if (next_name)
        return *std::exchange(next_name, std::nullopt);
    // The overwrite question is the program's own, asked after ".csv" is added.
    return QFileDialog::getSaveFileName(parent, QString(), dir, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

QString Open(QWidget *parent, const QString &dir, const QString &filter)
{
    if (next_name)
        return *std::exchange(next_name, std::nullopt);
    return QFileDialog::getOpenFileName(parent, QString(), dir, filter);
}

void Set_Next_File_Name(const QString &name)
{
    next_name = name;
}

} // namespace File_Dialog
