#pragma once

#include "app/windows.h"
#include "widgets/guarded_save.h"
#include "workspace/document_guard.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;
struct Workspace;

// The launcher that walks the user through the steps of one configuration.
// Its closing saves the settings and ends the program.
class TFQuarneleFirmWare : public QWidget, public Lang_Window
{
    Q_OBJECT

public:
    TFQuarneleFirmWare(Workspace &ws, Windows &windows, QWidget *parent = nullptr);

    void Set_Lang() override;
    void Set_Version_Checker(Version_Checker checker) { version_checker_ = std::move(checker); }
    // Re-applies the texts of every window after a language change.
    void Change_Language();

    void Create_New_Project();
    void Open_Project();
    void Update_Device();
    void BACnet_EDE_File();
    void Virtual_Converter();
    void Timer_UpdateTimer();
    // Switches the new-version timer on exactly when both flags allow it.
    void Apply_Timer_Setting();

    QTimer *Timer_Update;
    QLabel *LL_Update;
    QLabel *L_Name_Conf;
    QLabel *L_Name_Conf_L2;
    QPushButton *Btn_New;
    QPushButton *Btn_Open;
    QPushButton *Btn_Prm_Gen;
    QPushButton *Btn_LoRaWAN_Access;
    QPushButton *Btn_BACnet_SetAccess;
    QPushButton *Btn_BACnet_EDE_File;
    QPushButton *Btn_CreateBin;
    QPushButton *Btn_Virtual_Converter;
    QPushButton *Btn_Info;
    QPushButton *Btn_Opz;
    QPushButton *Btn_Close;

signals:
    // A step window's OK saved its document, or the images were compiled.
    void Documents_Saved();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Btn_Click(QPushButton *sender);
    void Configuration_Opened();
    // Writes the settings, asking first when they changed elsewhere.
    Guarded_Save Save_Settings();
    QPushButton *Make_Step_Button(int x, int y, const QString &icon, int fallback);
    QPushButton *Make_Image_Button(int x, const QString &icon, int fallback);

    Workspace &ws_;
    // The settings file as read at start or last written: another
    // configurator on the workspace may change it meanwhile.
    Document_Guard settings_;
    Windows &windows_;
    Version_Checker version_checker_;
    QLabel *L_SW_Code;
    QLabel *L_SW_Desc;
    QLabel *L_Begin;
    QList<QLabel *> L_Steps; // L_Step_1 to L_Step_8
    QLabel *L_Tavelin;
};
