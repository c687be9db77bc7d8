#pragma once

#include "app/windows.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
struct Workspace;

// Asks for the name of a new configuration, creates it and opens it.
class TFNew_Project : public QDialog, public Lang_Window
{
    Q_OBJECT

public:
    explicit TFNew_Project(Workspace &ws, QWidget *parent = nullptr);

    void Set_Lang() override;

    QLineEdit *E_New_Proj;
    QPushButton *Btn_OK;
    QPushButton *Btn_Cancel;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Btn_OKClick();

    Workspace &ws_;
    QLabel *L_SW_Code;
    QLabel *L_SW_Desc;
    QLabel *Label1;
};
