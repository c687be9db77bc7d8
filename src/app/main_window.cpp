#include "app/main_window.h"

#include "app/about.h"
#include "app/app_messages.h"
#include "app/new_project.h"
#include "app/open_conf.h"
#include "bacnet/converter_messages.h"
#include "bacnet/ui/virtual_converter_window.h"
#include "compiler/config_checks.h"
#include "core/messages.h"
#include "core/plain_caption.h"
#include "ede/bacnet_ede_file.h"
#include "gate/configuration_gate.h"
#include "gate/gated_outputs.h"
#include "tables/table_messages.h"
#include "update/ui/boot_window.h"
#include "update/update_sequence.h"
#include "widgets/dialog_frame.h"
#include "widgets/file_dialog.h"
#include "widgets/guarded_save.h"
#include "widgets/message_box.h"
#include "widgets/style.h"
#include "widgets/texts.h"
#include "workspace/settings.h"
#include "workspace/web_links.h"
#include "workspace/workspace.h"
#include "workspace/workspace_messages.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

TFQuarneleFirmWare::TFQuarneleFirmWare(Workspace &ws, Windows &windows, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , ws_(ws)
    , windows_(windows)
{
    settings_.Loaded(ws_.Settings_File());
    setObjectName(QStringLiteral("FQuarneleFirmWare"));
    Apply_Window_Style(this);
    setWindowTitle(QStringLiteral("Tavelin - Configurator SW52K31 BACnet Slave / LoRaWAN "));

    // Set_Lang fills both lines.
    const Header_Labels header = Make_Header(this, QString());
    L_SW_Code = header.code;
    L_SW_Desc = header.desc;

    LL_Update = new QLabel(this);
    // Two lines, for a translation longer than the 294 px line (Italian);
    // the second takes the room above the configuration frame.
    LL_Update->setGeometry(208, 19, 294, 2 * 17);
    LL_Update->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LL_Update->setWordWrap(true);
    LL_Update->setTextFormat(Qt::RichText);
    LL_Update->hide();
    connect(LL_Update, &QLabel::linkActivated, this,
            [](const QString &link) { QDesktopServices::openUrl(QUrl(link)); });

    Btn_Info = Make_Image_Button(516, QStringLiteral("help-about"), QStyle::SP_MessageBoxInformation);
    Btn_Opz = Make_Image_Button(574, QStringLiteral("preferences-system"), QStyle::SP_FileDialogDetailedView);
    Btn_Close = Make_Image_Button(632, QStringLiteral("application-exit"), QStyle::SP_DialogCloseButton);

    auto *shape2 = new QFrame(this);
    shape2->setGeometry(80, 70, 348, 36);
    shape2->setStyleSheet(QStringLiteral("QFrame { border: 1px solid silver; }"));

    L_Begin = new QLabel(this);
    L_Begin->move(16, 84);
    L_Name_Conf = new QLabel(this);
    L_Name_Conf->move(87, 75);
    L_Name_Conf_L2 = new QLabel(this);
    L_Name_Conf_L2->move(87, 88);

    for (int i = 0; i < 8; ++i) {
        auto *label = new QLabel(this);
        label->move(16, 128 + 44 * i);
        label->setVisible(i < 6);
        L_Steps << label;
    }
    for (QLabel *label : QList<QLabel *>{L_Begin} + L_Steps) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        label->setStyleSheet(QStringLiteral("color: grey;"));
    }

    Btn_New = Make_Step_Button(80, 112, QStringLiteral("document-new"), QStyle::SP_FileIcon);
    Btn_Open = Make_Step_Button(258, 112, QStringLiteral("document-open"), QStyle::SP_DirOpenIcon);
    Btn_Prm_Gen = Make_Step_Button(80, 156, QStringLiteral("preferences-other"), QStyle::SP_FileDialogContentsView);
    Btn_LoRaWAN_Access = Make_Step_Button(80, 200, QStringLiteral("network-wireless"), QStyle::SP_DriveNetIcon);
    Btn_BACnet_SetAccess = Make_Step_Button(80, 244, QStringLiteral("network-wired"), QStyle::SP_ComputerIcon);
    Btn_BACnet_EDE_File = Make_Step_Button(80, 288, QStringLiteral("document-save-as"), QStyle::SP_DialogSaveButton);
    Btn_CreateBin = Make_Step_Button(80, 332, QStringLiteral("system-software-update"), QStyle::SP_ArrowUp);
    Btn_BACnet_EDE_File->setText(QStringLiteral("BACnet &EDE File"));
    // Beside the update: the same images tried on this computer first.
    Btn_Virtual_Converter = Make_Step_Button(258, 332, QStringLiteral("network-server"), QStyle::SP_ComputerIcon);

    L_Tavelin = new QLabel(this);
    L_Tavelin->setText(Maker_Web_Address());
    QFont bold = L_Tavelin->font();
    bold.setBold(true);
    L_Tavelin->setFont(bold);
    L_Tavelin->setStyleSheet(QStringLiteral("color: grey;"));
    L_Tavelin->setCursor(Qt::PointingHandCursor);
    L_Tavelin->adjustSize();
    // Right-aligned to the window's margin, at the height of the last step label.
    L_Tavelin->move(694 - 10 - L_Tavelin->width(), 348);
    L_Tavelin->setTextFormat(Qt::RichText);
    L_Tavelin->setText(QStringLiteral("<a href=\"%1\" style=\"color: grey; text-decoration: none;\">%2</a>")
                           .arg(Maker_Home_Url(), Maker_Web_Address()));
    connect(L_Tavelin, &QLabel::linkActivated, this,
            [](const QString &link) { QDesktopServices::openUrl(QUrl(link)); });

    auto *shape1 = new QFrame(this);
    shape1->setGeometry(10, 383, 674, 1);
    shape1->setFrameShape(QFrame::HLine);
    shape1->setStyleSheet(QStringLiteral("color: silver;"));

    Timer_Update = new QTimer(this);
    Timer_Update->setInterval(60000);
    connect(Timer_Update, &QTimer::timeout, this, &TFQuarneleFirmWare::Timer_UpdateTimer);

    setFixedSize(694, 332 + 152);
    Apply_Timer_Setting();
    Set_Lang();
}

QPushButton *TFQuarneleFirmWare::Make_Step_Button(int x, int y, const QString &icon, int fallback)
{
    auto *button = new QPushButton(this);
    button->setGeometry(x, y, 170, 36);
    button->setFlat(true);
    button->setIcon(Theme_Icon(icon, QStyle::StandardPixmap(fallback)));
    button->setIconSize(QSize(24, 24));
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(Flat_Button_Sheet(true));
    connect(button, &QPushButton::clicked, this, [this, button] { Btn_Click(button); });
    return button;
}

QPushButton *TFQuarneleFirmWare::Make_Image_Button(int x, const QString &icon, int fallback)
{
    auto *button = new QPushButton(this);
    button->setGeometry(x, 8, 50, 50);
    button->setFlat(true);
    button->setIcon(Theme_Icon(icon, QStyle::StandardPixmap(fallback), 32));
    button->setIconSize(QSize(32, 32));
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(Flat_Button_Sheet(false));
    connect(button, &QPushButton::clicked, this, [this, button] { Btn_Click(button); });
    return button;
}

void TFQuarneleFirmWare::Set_Lang()
{
    L_SW_Code->setText(ws_.SW_Code);
    L_SW_Desc->setText(ws_.SW_Desc);
    L_Begin->setText(Msg(Msg_Main_Begin));
    for (int i = 0; i < L_Steps.size(); ++i)
        L_Steps[i]->setText(Msg(Msg_Main_Step_1 + i));
    // The picture buttons have no caption: their tip names them, and its
    // "&" letter is their Alt key.
    for (const auto &[button, tip] : {std::pair{Btn_Info, Msg_Main_Information_Hint},
                                      {Btn_Opz, Msg_Main_Options_Hint},
                                      {Btn_Close, Msg_Main_Close_Hint}}) {
        button->setToolTip(Plain_Caption(Msg(tip)));
        button->setShortcut(QKeySequence::mnemonic(Msg(tip)));
    }
    Btn_New->setText(Msg(Msg_Main_New_Configuration));
    Btn_New->setToolTip(Msg(Msg_Main_New_Configuration_Hint));
    Btn_Open->setText(Msg(Msg_Main_Open_Configuration));
    Btn_Open->setToolTip(Msg(Msg_Main_Open_Configuration_Hint));
    Btn_Prm_Gen->setText(Msg(Msg_Main_Set_Communication));
    Btn_Prm_Gen->setToolTip(Msg(Msg_Main_Set_Communication_Hint));
    Btn_LoRaWAN_Access->setText(Msg(Msg_Main_Set_LoRaWAN_Access));
    Btn_LoRaWAN_Access->setToolTip(Msg(Msg_Main_Set_LoRaWAN_Access_Hint));
    Btn_BACnet_SetAccess->setText(Msg(Msg_Main_Set_BACnet_Access));
    Btn_BACnet_SetAccess->setToolTip(Msg(Msg_Main_Set_BACnet_Access_Hint));
    Btn_CreateBin->setText(Msg(Msg_Main_Update_Device));
    Btn_CreateBin->setToolTip(Msg(Msg_Main_Update_Device_Hint));
    Btn_Virtual_Converter->setText(Msg(Msg_VC_Open));
    Btn_Virtual_Converter->setToolTip(Msg(Msg_VC_Open_Hint));
    const bool named = !ws_.Project_Name.isEmpty();
    Btn_Virtual_Converter->setEnabled(ws_.Configuration_Open());
    L_Name_Conf->setText(Msg(named ? Msg_Main_Configuration_Opened : Msg_Main_No_Configuration));
    L_Name_Conf_L2->setText(named ? ws_.Project_Name : Msg(Msg_Main_Use_Step_1));
    for (QLabel *label : QList<QLabel *>{L_SW_Code, L_SW_Desc, L_Begin, L_Name_Conf, L_Name_Conf_L2} + L_Steps)
        label->adjustSize();
    if (!LL_Update->isHidden())
        LL_Update->setText(
            QStringLiteral("<a href=\"%1\">%2</a>").arg(Download_Url(), Msg(Msg_Main_New_Version).toHtmlEscaped()));
}

void TFQuarneleFirmWare::Change_Language()
{
    Set_Lang();
    const QList<QWidget *> order = {windows_.FNew_Project,
                                    windows_.FOpenConf,
                                    windows_.FSoftOptions,
                                    windows_.FBoot,
                                    windows_.FParGen,
                                    windows_.FLoRa_Set_Access,
                                    windows_.FBACnetSlaveSetAccess,
                                    windows_.FBACnet_Eng_Unit,
                                    windows_.FVirtual_Converter};
    for (QWidget *window : order)
        if (auto *lang = dynamic_cast<Lang_Window *>(window))
            lang->Set_Lang();
}

void TFQuarneleFirmWare::Apply_Timer_Setting()
{
    if (ws_.Version_Check_Wanted())
        Timer_Update->start();
    else
        Timer_Update->stop();
}

void TFQuarneleFirmWare::Btn_Click(QPushButton *sender)
{
    if (sender == Btn_New) {
        Create_New_Project();
    } else if (sender == Btn_Open) {
        Open_Project();
    } else if (sender == Btn_Close) {
        close();
    } else if (sender == Btn_Info) {
        windows_.FAbout->exec();
    } else if (sender == Btn_Opz) {
        if (windows_.FSoftOptions && windows_.FSoftOptions->exec() == QDialog::Accepted) {
            if (Save_Settings() == Guarded_Save::Reload) {
                // The other program's settings, the configuration open here kept.
                const QString name = ws_.Project_Name;
                const QString path = ws_.Path_Project;
                (void)Load_Settings(ws_);
                ws_.Project_Name = name;
                ws_.Path_Project = path;
                settings_.Accept_Current();
            }
            Apply_Timer_Setting();
        }
    } else if (!ws_.Configuration_Open()) {
        Message_Box::Error(this, Msg(Msg_Project_Not_Valid));
    } else if (sender == Btn_Prm_Gen || sender == Btn_LoRaWAN_Access || sender == Btn_BACnet_SetAccess) {
        QDialog *step = sender == Btn_Prm_Gen          ? windows_.FParGen
                        : sender == Btn_LoRaWAN_Access ? windows_.FLoRa_Set_Access
                                                       : windows_.FBACnetSlaveSetAccess;
        // OK saved the window's document.
        if (step->exec() == QDialog::Accepted)
            emit Documents_Saved();
    } else if (sender == Btn_BACnet_EDE_File) {
        BACnet_EDE_File();
    } else if (sender == Btn_CreateBin) {
        Update_Device();
    } else if (sender == Btn_Virtual_Converter) {
        Virtual_Converter();
    }
}

void TFQuarneleFirmWare::Create_New_Project()
{
    if (windows_.FNew_Project->exec() == QDialog::Accepted)
        Configuration_Opened();
}

void TFQuarneleFirmWare::Open_Project()
{
    if (windows_.FOpenConf->exec() != QDialog::Accepted)
        return;
    ws_.Open_Configuration(windows_.FOpenConf->Name_Conf);
    Configuration_Opened();
}

void TFQuarneleFirmWare::Update_Device()
{
    // Never while an update runs: the images would be rewritten under it.
    if (Update_Sequence::Any_Running()) {
        Message_Box::Error(this, Msg(Msg_Update_Already_Running));
        return;
    }
    // The images only through the check that `check` runs: a refusal shows
    // what `check` prints, and the update window is not shown.
    // The documents are read once: the images and the window's BACnet link
    // come from the same reading.
    const Configuration_Snapshot configuration = Read_Configuration(ws_, Output::Images);
    const Result<QStringList> written = Compile_Configuration(configuration);
    if (!written) {
        Message_Box::Error(this, written.Problem());
        return;
    }
    emit Documents_Saved();
    // The window shows what it will send: these images, as just written.
    windows_.FBoot->Set_Images(ws_.Project_Name, written.Value());
    windows_.FBoot->BACnetType = Get_Type_BACnet(configuration.ParGen);
    windows_.FBoot->exec();
}

void TFQuarneleFirmWare::BACnet_EDE_File()
{
    // Refused before the save dialog opens: no file name is asked for an
    // export that cannot be made. The documents are read once, so the export
    // writes what was checked here.
    const Configuration_Snapshot configuration = Read_Configuration(ws_, Output::EDE);
    if (const Gate_Report gate = Check_Configuration(configuration, Output::EDE); !gate.Ok()) {
        Message_Box::Error(this, gate.Problem());
        return;
    }
    // One file type per layout and character set; the classic comes first.
    QString file_type;
    const QString chosen = File_Dialog::Save(this, ws_.Path_Project, EDE_Dialog_Filters(), &file_type);
    if (chosen.isEmpty())
        return;
    const EDE_Options options = EDE_Options_For_Filter(file_type);
    const EDE_Target target = EDE_Target_For(chosen, options.layout);
    if (target.ask_overwrite && Message_Box::Ask(this, Msg(Msg_File_Overwrite)) != QMessageBox::Yes)
        return;
    if (const Result<> created = Export_EDE(configuration, target.file_name, QDateTime::currentDateTime(), options);
        !created)
        Message_Box::Error(this, created.Problem());
}

void TFQuarneleFirmWare::Configuration_Opened()
{
    Set_Lang();
    // The virtual converter never goes on serving the configuration left.
    if (windows_.FVirtual_Converter && windows_.FVirtual_Converter->isVisible())
        windows_.FVirtual_Converter->FormShow();
}

void TFQuarneleFirmWare::Virtual_Converter()
{
    TFVirtual_Converter *window = windows_.FVirtual_Converter;
    window->show();
    window->raise();
    window->activateWindow();
}

void TFQuarneleFirmWare::Timer_UpdateTimer()
{
    Timer_Update->stop();
    // The check runs in the background; the link follows its answer.
    if (version_checker_) {
        // Silent unless there is news: a server not reached this time
        // leaves the link as the last answer left it.
        version_checker_(this, [this](const Version_Result &result) {
            if (result.answer == Version_Answer::Not_Reached)
                return;
            const bool newer = result.answer == Version_Answer::Newer;
            LL_Update->setVisible(newer);
            if (newer)
                LL_Update->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                                       .arg(Download_Url(), Msg(Msg_Main_New_Version).toHtmlEscaped()));
        });
    }
    Timer_Update->setInterval(7200000);
    Timer_Update->start();
}

Guarded_Save TFQuarneleFirmWare::Save_Settings()
{
    return Save_Guarded(this, settings_, [this] { return Save_Setting(ws_); });
}

void TFQuarneleFirmWare::closeEvent(QCloseEvent *event)
{
    // A settings file that cannot be written is reported, but never keeps
    // the program from closing; settings changed elsewhere meanwhile are
    // replaced only when the user says so (Reload keeps them), and Cancel
    // keeps the program open.
    if (Save_Settings() == Guarded_Save::Cancelled) {
        event->ignore();
        return;
    }
    event->accept();
}
