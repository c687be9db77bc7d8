#pragma once

#include <QString>

class QWidget;

// Every file dialog of the program goes through here, so that a test can
// give the next chosen name instead of a person.
namespace File_Dialog {

// A save dialog starting in `dir`; empty when the user cancelled.
QString Save(QWidget *parent, const QString &dir, const QString &filter);

// An open dialog for an existing file, starting in `dir`; empty when the
// user cancelled.
QString Open(QWidget *parent, const QString &dir, const QString &filter);

// Test hook: while set, no dialog is shown and the next Save or Open returns
// `name` (an empty name stands for Cancel).
void Set_Next_File_Name(const QString &name);

} // namespace File_Dialog
