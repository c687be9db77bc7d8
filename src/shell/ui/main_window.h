#pragma once

#include <QWidget>

class QLabel;
struct Workspace;

// The configurator's main window. Its closing saves the settings.
class TFQuarneleFirmWare : public QWidget
{
    Q_OBJECT

public:
    explicit TFQuarneleFirmWare(Workspace &ws, QWidget *parent = nullptr);

    void Set_Lang();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Workspace &ws_;
    QLabel *L_SW_Code;
    QLabel *L_SW_Desc;
    QLabel *L_Name_Conf;
    QLabel *L_Name_Conf_L2;
};
