#include "widgets/file_dialog.h"

#include <QFileDialog>
#include <optional>

namespace {

std::optional<QString> next_name;
QString next_filter;

} // namespace

namespace File_Dialog {

QString Save(QWidget *parent, const QString &dir, const QString &filter, QString *selected_filter)
{
    if (next_name) {
        const QString chosen = std::exchange(next_filter, QString());
        if (selected_filter)
            *selected_filter = chosen.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0) : chosen;
        return *std::exchange(next_name, std::nullopt);
    }
    // The overwrite question is the program's own, asked after ".csv" is added.
    return QFileDialog::getSaveFileName(parent, QString(), dir, filter, selected_filter,
                                        QFileDialog::DontConfirmOverwrite);
}

QString Open(QWidget *parent, const QString &dir, const QString &filter)
{
    if (next_name)
        return *std::exchange(next_name, std::nullopt);
    return QFileDialog::getOpenFileName(parent, QString(), dir, filter);
}

void Set_Next_File_Name(const QString &name, const QString &filter)
{
    next_name = name;
    next_filter = filter;
}

} // namespace File_Dialog
