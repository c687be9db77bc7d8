#pragma once

#include "widgets/lang_window.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

class Address_Boxes;
class Device_Reader;
class Echo_Client;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class Update_Sequence;
struct Update_Outcome;
struct Workspace;

// The last step of an update over Ethernet: the converter's address, what to
// load, the ping, the job file and the updater.
class TFBoot : public QDialog, public Lang_Window
{
    Q_OBJECT

public:
    explicit TFBoot(Workspace &ws, QWidget *parent = nullptr);
    ~TFBoot() override;

    void Set_Lang() override;

    // What the update will send, shown above the address: the configuration
    // and its images (the paths that the compilation gave), read again at each
    // showing. An image that cannot be read (or none given) is said there
    // and keeps the update button off.
    void Set_Images(const QString &configuration, const QStringList &paths);

    // Tests replace the system's echo client and shorten the waits.
    void Set_Echo_Client(std::unique_ptr<Echo_Client> client);
    void Set_Wait_Limits(int ping_total_ms, int updater_ms, int grace_ms = 3000);
    // Whether an update started here is still under way (ping or updater).
    bool Update_Running() const;
    // Tests ask the converter on another port than the configured one, and
    // wait less for each request and for the converter to answer at all.
    void Set_Verify_Target(quint16 port, int request_ms, int find_ms);
    // Whether a verification started here still waits for the converter.
    bool Verify_Running() const;

    int BACnetType = 0;

    QLineEdit *E_IP1;
    QLineEdit *E_IP2;
    QLineEdit *E_IP3;
    QLineEdit *E_IP4;
    Address_Boxes *IP_Address_Boxes; // the four boxes' typing and paste, and their lock
    QWidget *P_Images;               // the panel of what will be sent
    // "Changes since last update": the images about to be sent against the
    // copy kept from the last successful update to the address in the boxes.
    QPushButton *Btn_Changes;
    QComboBox *CB_Update_Options;
    QCheckBox *CB_Update_Option_Read_Back;
    // The converter read over BACnet/IP and compared with the configured
    // device (or the copy last sent to it), by hand or after each successful
    // update when the option is on. The window is made once per run, so the
    // option stays as set for the rest of the session.
    QPushButton *Btn_Verify;
    QCheckBox *CB_Verify_After;
    QPushButton *Btn_Cancel;
    QPushButton *Btn_Update;

    // Cancel, Escape and the close box: during the ping they end the update
    // silently; while the updater runs they do nothing (no flash is cut).
    void reject() override;

signals:
    // The update sequence ended and its outcome was shown (a refusal, the
    // ping's failure, or the updater's end). Not after a cancelled ping.
    void Update_Finished();
    // A verification ended and what it found was shown (or it was cancelled).
    void Verify_Finished();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Btn_UpdateClick();
    void Btn_ChangesClick();
    void Enable_Changes();
    void Lock_Inputs(bool locked);
    void Show_Progress();
    void On_Finished(const Update_Outcome &outcome);
    void Show_Images();
    void Show_Caption();
    void Btn_VerifyClick();
    void Start_Verify(int find_ms);
    void Enable_Verify();

    Workspace &ws_;
    std::unique_ptr<Echo_Client> client_;
    int ping_total_ms_ = 5000;
    int updater_ms_;
    int grace_ms_ = 3000;
    Update_Sequence *sequence_ = nullptr; // while an update started here runs
    QDialog *progress_ = nullptr;         // while its updater runs
    QLabel *L_SW_Code;
    QLabel *L_SW_Desc;
    QLabel *L_IP_Address;
    QLabel *L_Update_Option;
    QString configuration_;
    QStringList image_paths_;
    bool images_ok_ = false;
    bool locked_ = false;
    QList<QLabel *> image_labels_;
    Device_Reader *reader_ = nullptr;            // while a verification runs
    QProgressDialog *verify_progress_ = nullptr; // its progress and Cancel
    quint16 verify_port_ = 0;                    // 0: the configured port
    int verify_request_ms_ = 3000;
    int verify_find_ms_ = 60000; // the converter restarts after an update
};
