#pragma once

#include "widgets/lang_window.h"

#include <QDialog>

class Converter_Session;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
struct Workspace;

// The open configuration served on BACnet/IP from this computer, as the
// converter serves it: its objects with their present values, a raw value
// typed into the input area as if it came over LoRaWAN, what clients wrote
// into the output area, and the traffic. What it shows and decides is the
// Converter_Session's; the window only binds it.
class TFVirtual_Converter : public QDialog, public Lang_Window
{
    Q_OBJECT

public:
    TFVirtual_Converter(Workspace &ws, QWidget *parent = nullptr);
    ~TFVirtual_Converter() override;

    void Set_Lang() override;
    Converter_Session &Session() const { return *session_; }

    // Reads the open configuration again and shows its served device (or
    // the gate's refusal); stops serving.
    void FormShow();
    // A document was saved or the images compiled: while the device is
    // served, asks whether to restart it with the new images; else shows
    // the configuration again when the window is open.
    void Images_Changed();

    void Btn_StartClick();
    void Btn_StopClick();

    QLineEdit *E_Address;
    QLineEdit *E_Port;
    QPushButton *Btn_Start;
    QPushButton *Btn_Stop;
    QPushButton *Btn_Close;
    QLabel *L_Serving;
    QLabel *L_MSTP;
    QLabel *L_Refusal;
    QLabel *L_Warnings;
    QLabel *L_Input_Refusal;
    QLabel *L_Value_Rule;
    QTableView *ACG_Input;
    QTableView *ACG_Output;
    QPlainTextEdit *M_Traffic;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void Show_Device();
    void Show_Running();

    Workspace &ws_;
    Converter_Session *session_;
    QLabel *L_SW_Code;
    QLabel *L_SW_Desc;
    QLabel *L_Address;
    QLabel *L_Port;
    QGroupBox *G_Input;
    QGroupBox *G_Output;
    QGroupBox *G_Traffic;
    QGroupBox *G_Value_Rule;
};
