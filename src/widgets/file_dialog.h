#pragma once

#include <QString>

class QWidget;

// Every file dialog of the program goes through here, so that a test can
// give the next chosen name instead of a person.
namespace File_Dialog {

// A save dialog starting in `dir`; empty when the user cancelled. With
// `selected_filter`, the filter list may offer several file types (";;"
// between them) and the one the user chose is put there.
QString Save(QWidget *parent, const QString &dir, const QString &filter, QString *selected_filter = nullptr);

// An open dialog for an existing file, starting in `dir`; empty when the
// user cancelled.
QString Open(QWidget *parent, const QString &dir, const QString &filter);

// Test hook: while set, no dialog is shown and the next Save or Open returns
// `name` (an empty name stands for Cancel); a Save that asks for the chosen
// file type gets `filter` (empty: the first of its list).
void Set_Next_File_Name(const QString &name, const QString &filter = QString());

} // namespace File_Dialog
