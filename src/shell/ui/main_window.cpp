#include "shell/ui/main_window.h"

#include "lang/messages.h"
#include "shell/settings.h"
#include "shell/workspace.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

TFQuarneleFirmWare::TFQuarneleFirmWare(Workspace &ws, QWidget *parent)
    : QWidget(parent)
    , ws_(ws)
    , L_SW_Code(new QLabel(this))
    , L_SW_Desc(new QLabel(this))
    , L_Name_Conf(new QLabel(this))
    , L_Name_Conf_L2(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Tavelin - Configurator SW52K31 BACnet Slave / LoRaWAN "));
    setFixedSize(694, 484);
    auto *layout = new QVBoxLayout(this);
    for (QLabel *label : {L_SW_Code, L_SW_Desc, L_Name_Conf, L_Name_Conf_L2})
        layout->addWidget(label);
    layout->addStretch();
    Set_Lang();
}

void TFQuarneleFirmWare::Set_Lang()
{
    L_SW_Code->setText(ws_.SW_Code);
    L_SW_Desc->setText(ws_.SW_Desc);
    const bool named = !ws_.Project_Name.isEmpty();
    L_Name_Conf->setText(Messages().Get(named ? 11 : 9));
    L_Name_Conf_L2->setText(named ? ws_.Project_Name : Messages().Get(10));
}

void TFQuarneleFirmWare::closeEvent(QCloseEvent *event)
{
    // A settings file that cannot be written is reported, but never keeps
    // the program from closing.
    QString problem;
    if (!Save_Setting(ws_, &problem))
        QMessageBox::warning(this, ws_.SW_Code, problem);
    event->accept();
}
