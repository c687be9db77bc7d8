#pragma once

#include "app/windows.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;
struct Workspace;

// Lists the configurations of the workspace and lets the user pick one.
class TFOpenConf : public QDialog, public Lang_Window
{
    Q_OBJECT

public:
    explicit TFOpenConf(Workspace &ws, QWidget *parent = nullptr);

    void Set_Lang() override;

    QStringList SL;
    QString Name_Conf; // the chosen name, kept from one showing to the next
    QListWidget *ListBox1;
    QPushButton *Btn_OK;
    QPushButton *Btn_Cancel;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    Workspace &ws_;
    QLabel *L_SW_Code;
    QLabel *L_SW_Desc;
    QLabel *Label1;
};
