// The groups of the parameter window: their rows, captions and layout.

#include "params/ui/category_panel.h"
#include "params/ui/par_gen.h"
#include "widgets/problems_bar.h"
#include "widgets/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using K = ParGen_Key;

// Rows sit 28 pixels apart; labels start 14 pixels from the group's left
// edge, inputs 191; a single input is 238 wide, an octet 55.
constexpr int Row_Pitch = 28;
constexpr int First_Label_Top = 12;
constexpr int Label_X = 14;
constexpr int Input_X = 191;
constexpr int Input_Width = 238;
constexpr int Input_Height = 22;
constexpr int Octet_Width = 55;
constexpr int Octet_Pitch = 61; // 4 octets and 3 dots fill the input width
constexpr int Bottom_Margin = 12;

int Label_Top(int row) // row from 0
{
    return First_Label_Top + row * Row_Pitch;
}

} // namespace

void TFParGen::Row::Place(int label_top) const
{
    if (auto *box = qobject_cast<QCheckBox *>(Caption))
        box->setGeometry(Label_X, label_top - 2,
                         Inputs.isEmpty() ? Input_X + Input_Width - Label_X : Input_X - Label_X - 4, 20);
    else if (Caption) // to 2 px short of the input, room for the longest (Italian) caption
        Caption->setGeometry(Label_X, label_top, Input_X - Label_X - 2, 16);
    if (Inputs.size() == 1)
        Inputs[0]->setGeometry(Input_X, label_top - 3, Input_Width, Input_Height);
    for (int i = 0; Inputs.size() == 4 && i < 4; ++i)
        Inputs[i]->setGeometry(Input_X + i * Octet_Pitch, label_top - 3, Octet_Width, Input_Height);
    for (int i = 0; i < Dots.size(); ++i)
        Dots[i]->setGeometry(Input_X + i * Octet_Pitch + Octet_Width, label_top - 3, Octet_Pitch - Octet_Width,
                             Input_Height);
}

void TFParGen::Row::Set_Visible(bool shown) const
{
    if (Caption)
        Caption->setVisible(shown);
    for (QWidget *input : Inputs)
        input->setVisible(shown);
    for (QLabel *dot : Dots)
        dot->setVisible(shown);
}

int TFParGen::Row::Bottom() const
{
    int bottom = Caption ? Caption->geometry().bottom() + 1 : 0;
    for (QWidget *input : Inputs)
        bottom = std::max(bottom, input->geometry().bottom() + 1);
    return bottom;
}

void TFParGen::Bind(ParGen_Key key, QWidget *input)
{
    inputs_[size_t(key)] = input;
    input->setObjectName(Key_Name(key)); // named after the value it shows
}

QLabel *TFParGen::Add_Label(Category_Panel *panel, int caption)
{
    auto *label = new QLabel(panel->Client());
    captions_ << Caption_Text{label, caption};
    return label;
}

QCheckBox *TFParGen::Add_Check(Category_Panel *panel, ParGen_Key key, int caption, int hint)
{
    auto *box = new QCheckBox(panel->Client());
    Bind(key, box);
    captions_ << Caption_Text{box, caption};
    hints_ << Caption_Text{box, hint};
    connect(box, &QCheckBox::toggled, this, [this, key] { On_Click(key); });
    return box;
}

QComboBox *TFParGen::Add_Combo(Category_Panel *panel, ParGen_Key key, int hint)
{
    auto *combo = new QComboBox(panel->Client());
    combo->addItems(form_.Items(key));
    combo->setCurrentIndex(-1);
    Bind(key, combo);
    hints_ << Caption_Text{combo, hint};
    connect(combo, &QComboBox::currentIndexChanged, this, [this, key] { On_Change(key); });
    return combo;
}

QLineEdit *TFParGen::Add_Edit(Category_Panel *panel, ParGen_Key key, int hint)
{
    auto *edit = new QLineEdit(panel->Client());
    Bind(key, edit);
    hints_ << Caption_Text{edit, hint};
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [this, key] { Typed(key); });
    connect(edit, &QLineEdit::textChanged, this, [this, key] { On_Change(key); });
    return edit;
}

TFParGen::Row TFParGen::Add_Dotted(Category_Panel *panel, QWidget *caption, ParGen_Key first, int first_hint,
                                   std::array<QLineEdit **, 4> octets)
{
    Row row;
    row.Caption = caption;
    for (int i = 0; i < 4; ++i) {
        *octets[size_t(i)] = Add_Edit(panel, ParGen_Key(int(first) + i), first_hint + i);
        row.Inputs << *octets[size_t(i)];
        if (i < 3) {
            auto *dot = new QLabel(QStringLiteral("."), panel->Client());
            dot->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
            row.Dots << dot;
        }
    }
    return row;
}

void TFParGen::Create_LoRa()
{
    Category_Panel *p = CP_LoRa;
    L_LoRa_RF_Band = Add_Label(p, 407);
    CB_LoRa_RF_Band = Add_Combo(p, K::LoRa_RF_Band, 408);
    L_LoRa_Network_Type = Add_Label(p, 409);
    CB_LoRa_Network_Type = Add_Combo(p, K::LoRa_Network_Type, 410);
    CB_LoRa_Adaptive_DataRate = Add_Check(p, K::LoRa_Adaptive_DataRate, 483, 484);
    L_LoRa_DataRate = Add_Label(p, 485);
    CB_LoRa_DataRate = Add_Combo(p, K::LoRa_DataRate, 486);
    CB_LoRa_DataRate->setMaxVisibleItems(9);
    L_LoRa_Transmission_Type = Add_Label(p, 487);
    CB_LoRa_Transmission_Type = Add_Combo(p, K::LoRa_Transmission_Type, 488);
    L_LoRa_Payload_Size = Add_Label(p, 489);
    E_LoRa_Payload_Size = Add_Edit(p, K::LoRa_Payload_Size, 490);
    E_LoRa_Payload_Size->setReadOnly(true);
    L_LoRa_Activation_Method = Add_Label(p, 411);
    CB_LoRa_Activation_Method = Add_Combo(p, K::LoRa_Activation_Method, 412);
    L_LoRa_Device_Address = Add_Label(p, 413);
    E_LoRa_Device_Address = Add_Edit(p, K::LoRa_Device_Address, 414);
    L_LoRa_Application_Identifier = Add_Label(p, 415);
    E_LoRa_Application_Identifier = Add_Edit(p, K::LoRa_Application_Identifier, 416);
    L_LoRa_Network_Session_Key = Add_Label(p, 417);
    E_LoRa_Network_Session_Key = Add_Edit(p, K::LoRa_Network_Session_Key, 418);
    L_LoRa_Application_Session_Key = Add_Label(p, 419);
    E_LoRa_Application_Session_Key = Add_Edit(p, K::LoRa_Application_Session_Key, 420);
    L_LoRa_Application_Key = Add_Label(p, 421);
    E_LoRa_Application_Key = Add_Edit(p, K::LoRa_Application_Key, 422);

    lora_rows_ = {
        Row{L_LoRa_RF_Band, {CB_LoRa_RF_Band}, {}},
        Row{L_LoRa_Network_Type, {CB_LoRa_Network_Type}, {}},
        Row{CB_LoRa_Adaptive_DataRate, {}, {}},
        Row{L_LoRa_DataRate, {CB_LoRa_DataRate}, {}},
        Row{L_LoRa_Transmission_Type, {CB_LoRa_Transmission_Type}, {}},
        Row{L_LoRa_Payload_Size, {E_LoRa_Payload_Size}, {}},
        Row{L_LoRa_Activation_Method, {CB_LoRa_Activation_Method}, {}},
        Row{L_LoRa_Device_Address, {E_LoRa_Device_Address}, {}},
        Row{L_LoRa_Application_Identifier, {E_LoRa_Application_Identifier}, {}},
        Row{L_LoRa_Network_Session_Key, {E_LoRa_Network_Session_Key}, {}},
        Row{L_LoRa_Application_Session_Key, {E_LoRa_Application_Session_Key}, {}},
        Row{L_LoRa_Application_Key, {E_LoRa_Application_Key}, {}},
    };
}

void TFParGen::Create_BACnet_Slave()
{
    Category_Panel *p = CP_BACnet_Slave;
    L_BACnet_Slave_Type = Add_Label(p, 547);
    CB_BACnet_Slave_Type = Add_Combo(p, K::BACnet_Type, 548);
    bacnet_type_row_ = Row{L_BACnet_Slave_Type, {CB_BACnet_Slave_Type}, {}};

    L_BACnet_IP_Slave_IP = Add_Label(p, 549);
    bacnet_ip_rows_[0] =
        Add_Dotted(p, L_BACnet_IP_Slave_IP, K::BACnet_IP1, 550,
                   {&E_BACnet_IP_Slave_IP1, &E_BACnet_IP_Slave_IP2, &E_BACnet_IP_Slave_IP3, &E_BACnet_IP_Slave_IP4});
    L_BACnet_IP_Slave_SM = Add_Label(p, 554);
    bacnet_ip_rows_[1] =
        Add_Dotted(p, L_BACnet_IP_Slave_SM, K::BACnet_SM1, 555,
                   {&E_BACnet_IP_Slave_SM1, &E_BACnet_IP_Slave_SM2, &E_BACnet_IP_Slave_SM3, &E_BACnet_IP_Slave_SM4});
    CB_BACnet_IP_Slave_GAT = Add_Check(p, K::BACnet_EN_GAT, 559, 560);
    bacnet_ip_rows_[2] = Add_Dotted(
        p, CB_BACnet_IP_Slave_GAT, K::BACnet_GAT1, 561,
        {&E_BACnet_IP_Slave_GAT1, &E_BACnet_IP_Slave_GAT2, &E_BACnet_IP_Slave_GAT3, &E_BACnet_IP_Slave_GAT4});
    L_BACnet_IP_Slave_Port = Add_Label(p, 565);
    E_BACnet_IP_Slave_Port = Add_Edit(p, K::BACnet_PORT, 566);
    L_BACnet_IP_Slave_Device_Name = Add_Label(p, 567);
    E_BACnet_IP_Slave_Device_Name = Add_Edit(p, K::BACnet_NAME_STA, 568);
    L_BACnet_IP_Slave_Device_Identifier = Add_Label(p, 569);
    E_BACnet_IP_Slave_Device_Identifier = Add_Edit(p, K::BACnet_DEV_IDE, 570);
    bacnet_ip_rows_[3] = Row{L_BACnet_IP_Slave_Port, {E_BACnet_IP_Slave_Port}, {}};
    bacnet_ip_rows_[4] = Row{L_BACnet_IP_Slave_Device_Name, {E_BACnet_IP_Slave_Device_Name}, {}};
    bacnet_ip_rows_[5] = Row{L_BACnet_IP_Slave_Device_Identifier, {E_BACnet_IP_Slave_Device_Identifier}, {}};

    L_BACnet_MSTP_Slave_Baudrate = Add_Label(p, 571);
    CB_BACnet_MSTP_Slave_Baudrate = Add_Combo(p, K::BACnet_Ser_Baudrate, 572);
    L_BACnet_MSTP_Slave_Parity = Add_Label(p, 573);
    CB_BACnet_MSTP_Slave_Parity = Add_Combo(p, K::BACnet_Ser_Parity, 574);
    L_BACnet_MSTP_Slave_Device_Name = Add_Label(p, 575);
    E_BACnet_MSTP_Slave_Device_Name = Add_Edit(p, K::BACnet_Ser_NAME_STA, 576);
    L_BACnet_MSTP_Slave_MAC_Address = Add_Label(p, 577);
    E_BACnet_MSTP_Slave_MAC_Address = Add_Edit(p, K::BACnet_Ser_ID, 578);
    L_BACnet_MSTP_Slave_Max_Master = Add_Label(p, 579);
    E_BACnet_MSTP_Slave_Max_Master = Add_Edit(p, K::BACnet_Ser_Max_Master, 580);
    L_BACnet_MSTP_Slave_Max_Info_Frame = Add_Label(p, 581);
    E_BACnet_MSTP_Slave_Max_Info_Frame = Add_Edit(p, K::BACnet_Ser_Max_Info_Frames, 582);
    L_BACnet_MSTP_Slave_Device_Instance = Add_Label(p, 583);
    E_BACnet_MSTP_Slave_Device_Instance = Add_Edit(p, K::BACnet_Ser_DEV_IDE, 584);
    L_BACnet_MSTP_Slave_Network = Add_Label(p, 585);
    E_BACnet_MSTP_Slave_Network = Add_Edit(p, K::BACnet_Ser_Network, 586);
    bacnet_mstp_rows_ = {
        Row{L_BACnet_MSTP_Slave_Baudrate, {CB_BACnet_MSTP_Slave_Baudrate}, {}},
        Row{L_BACnet_MSTP_Slave_Parity, {CB_BACnet_MSTP_Slave_Parity}, {}},
        Row{L_BACnet_MSTP_Slave_Device_Name, {E_BACnet_MSTP_Slave_Device_Name}, {}},
        Row{L_BACnet_MSTP_Slave_MAC_Address, {E_BACnet_MSTP_Slave_MAC_Address}, {}},
        Row{L_BACnet_MSTP_Slave_Max_Master, {E_BACnet_MSTP_Slave_Max_Master}, {}},
        Row{L_BACnet_MSTP_Slave_Max_Info_Frame, {E_BACnet_MSTP_Slave_Max_Info_Frame}, {}},
        Row{L_BACnet_MSTP_Slave_Device_Instance, {E_BACnet_MSTP_Slave_Device_Instance}, {}},
        Row{L_BACnet_MSTP_Slave_Network, {E_BACnet_MSTP_Slave_Network}, {}},
    };

    CB_BACnet_Slave_Desc_32_Chars = Add_Check(p, K::BACnet_Desc_Chars_Limit, 587, 588);
    bacnet_desc_row_ = Row{CB_BACnet_Slave_Desc_32_Chars, {}, {}};
}

void TFParGen::Create_Ethernet()
{
    Category_Panel *p = CP_Ethernet;
    L_Ethernet_IP = Add_Label(p, 437);
    ethernet_rows_[0] = Add_Dotted(p, L_Ethernet_IP, K::Ethernet_IP1, 438,
                                   {&E_Ethernet_IP1, &E_Ethernet_IP2, &E_Ethernet_IP3, &E_Ethernet_IP4});
    L_Ethernet_SM = Add_Label(p, 442);
    ethernet_rows_[1] = Add_Dotted(p, L_Ethernet_SM, K::Ethernet_SM1, 443,
                                   {&E_Ethernet_SM1, &E_Ethernet_SM2, &E_Ethernet_SM3, &E_Ethernet_SM4});
    CB_Ethernet_En_GAT = Add_Check(p, K::Ethernet_EN_GAT, 447, 448);
    ethernet_rows_[2] = Add_Dotted(p, CB_Ethernet_En_GAT, K::Ethernet_GAT1, 449,
                                   {&E_Ethernet_GAT1, &E_Ethernet_GAT2, &E_Ethernet_GAT3, &E_Ethernet_GAT4});
    CB_Ethernet_DNS = Add_Check(p, K::Ethernet_EN_DNS, 453, 454);
    ethernet_rows_[3] = Add_Dotted(p, CB_Ethernet_DNS, K::Ethernet_DNS1, 455,
                                   {&E_Ethernet_DNS1, &E_Ethernet_DNS2, &E_Ethernet_DNS3, &E_Ethernet_DNS4});
    L_Ethernet_TCP_Port = Add_Label(p, 459);
    E_Ethernet_TCP_Port = Add_Edit(p, K::Ethernet_TCP_Port, 460);
    L_Ethernet_UDP_Port = Add_Label(p, 461);
    E_Ethernet_UDP_Port = Add_Edit(p, K::Ethernet_UDP_Port, 462);
    ethernet_rows_[4] = Row{L_Ethernet_TCP_Port, {E_Ethernet_TCP_Port}, {}};
    ethernet_rows_[5] = Row{L_Ethernet_UDP_Port, {E_Ethernet_UDP_Port}, {}};
}

void TFParGen::Set_Tab_Order()
{
    // Within the LoRaWAN group the keys come right after the activation
    // method, before the rows that sit above them on screen.
    const QList<QWidget *> order = {
        Btn_OK, Btn_Cancel,
        // LoRaWAN
        CB_LoRa_RF_Band, CB_LoRa_Network_Type, CB_LoRa_Activation_Method, E_LoRa_Device_Address,
        E_LoRa_Application_Identifier, E_LoRa_Network_Session_Key, E_LoRa_Application_Session_Key,
        E_LoRa_Application_Key, CB_LoRa_Adaptive_DataRate, CB_LoRa_DataRate, CB_LoRa_Transmission_Type,
        E_LoRa_Payload_Size,
        // BACnet Slave
        CB_BACnet_Slave_Type, E_BACnet_IP_Slave_IP1, E_BACnet_IP_Slave_IP2, E_BACnet_IP_Slave_IP3,
        E_BACnet_IP_Slave_IP4, E_BACnet_IP_Slave_SM1, E_BACnet_IP_Slave_SM2, E_BACnet_IP_Slave_SM3,
        E_BACnet_IP_Slave_SM4, CB_BACnet_IP_Slave_GAT, E_BACnet_IP_Slave_GAT1, E_BACnet_IP_Slave_GAT2,
        E_BACnet_IP_Slave_GAT3, E_BACnet_IP_Slave_GAT4, E_BACnet_IP_Slave_Port, E_BACnet_IP_Slave_Device_Name,
        E_BACnet_IP_Slave_Device_Identifier, CB_BACnet_MSTP_Slave_Baudrate, CB_BACnet_MSTP_Slave_Parity,
        E_BACnet_MSTP_Slave_Device_Name, E_BACnet_MSTP_Slave_MAC_Address, E_BACnet_MSTP_Slave_Max_Master,
        E_BACnet_MSTP_Slave_Max_Info_Frame, E_BACnet_MSTP_Slave_Device_Instance, E_BACnet_MSTP_Slave_Network,
        CB_BACnet_Slave_Desc_32_Chars,
        // Ethernet
        E_Ethernet_IP1, E_Ethernet_IP2, E_Ethernet_IP3, E_Ethernet_IP4, E_Ethernet_SM1, E_Ethernet_SM2, E_Ethernet_SM3,
        E_Ethernet_SM4, CB_Ethernet_En_GAT, E_Ethernet_GAT1, E_Ethernet_GAT2, E_Ethernet_GAT3, E_Ethernet_GAT4,
        CB_Ethernet_DNS, E_Ethernet_DNS1, E_Ethernet_DNS2, E_Ethernet_DNS3, E_Ethernet_DNS4, E_Ethernet_TCP_Port,
        E_Ethernet_UDP_Port};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TFParGen::Set_Group_Titles()
{
    // Each title keeps the group's number, also after a language change.
    CP_LoRa->Set_Caption(QStringLiteral("1. ") + Msg(406));
    CP_BACnet_Slave->Set_Caption(QStringLiteral("2. ") + Msg(546));
    CP_Ethernet->Set_Caption(QStringLiteral("3. ") + Msg(436));
}

void TFParGen::Order_TAB_Panels()
{
    Order_TAB_Panels_52K31();
}

void TFParGen::Order_TAB_Panels_52K31()
{
    // The group area stacks the shown groups in this order, each right below
    // the one before.
    CP_LoRa->show();
    CP_BACnet_Slave->show();
    CP_Ethernet->setVisible(form_.Ethernet_Group_Shown());
    Set_Group_Titles();
}

void TFParGen::Move_GroupBoxs()
{
    RePosition_Objects_52K31();
    CP_Ethernet->setVisible(form_.Ethernet_Group_Shown());
}

void TFParGen::RePosition_Objects_52K31()
{
    RePosition_Object_LoRa();
    RePosition_Object_BACnet_Slave();
    RePosition_Object_Ethernet();
}

void TFParGen::RePosition_Object_LoRa()
{
    for (int r = 0; r < 11; ++r)
        lora_rows_[size_t(r)].Place(Label_Top(r));
    const bool abp = form_.ABP_Rows_Shown();
    for (int r = 7; r < 11; ++r)
        lora_rows_[size_t(r)].Set_Visible(abp);
    // With OTAA the application key takes the device address's place.
    const Row &key_row = lora_rows_[11];
    key_row.Place(abp ? Label_Top(11) : Label_Top(7));
    key_row.Set_Visible(!abp);
    CP_LoRa->Set_Client_Height((abp ? lora_rows_[10] : key_row).Bottom() + Bottom_Margin);
}

void TFParGen::RePosition_Object_BACnet_Slave()
{
    bacnet_type_row_.Place(Label_Top(0));
    const bool ip = form_.BACnet_IP_Rows_Shown();
    for (int r = 0; r < int(bacnet_ip_rows_.size()); ++r) {
        bacnet_ip_rows_[size_t(r)].Place(Label_Top(r + 1));
        bacnet_ip_rows_[size_t(r)].Set_Visible(ip);
    }
    // MS/TP rows stack from the IP address row's place downward.
    for (int r = 0; r < int(bacnet_mstp_rows_.size()); ++r) {
        bacnet_mstp_rows_[size_t(r)].Place(Label_Top(r + 1));
        bacnet_mstp_rows_[size_t(r)].Set_Visible(!ip);
    }
    const int last = ip ? int(bacnet_ip_rows_.size()) : int(bacnet_mstp_rows_.size());
    bacnet_desc_row_.Place(Label_Top(last + 1));
    CP_BACnet_Slave->Set_Client_Height(bacnet_desc_row_.Bottom() + Bottom_Margin);
}

void TFParGen::RePosition_Object_Ethernet()
{
    for (int r = 0; r < int(ethernet_rows_.size()); ++r)
        ethernet_rows_[size_t(r)].Place(Label_Top(r));
    // The converter's TCP and UDP ports are kept but not offered here.
    ethernet_rows_[4].Set_Visible(false);
    ethernet_rows_[5].Set_Visible(false);
    CP_Ethernet->Set_Client_Height(ethernet_rows_[3].Bottom() + Bottom_Margin);
}

void TFParGen::Set_Lang()
{
    setWindowTitle(Msg(400));
    L_SW_Desc->setText(Msg(401));
    L_SW_Desc->adjustSize();
    Btn_OK->setText(Msg(402));
    Btn_Cancel->setText(Msg(403));
    Btn_OK->setToolTip(Msg(404));
    Btn_Cancel->setToolTip(Msg(405));
    for (const Caption_Text &caption : std::as_const(captions_)) {
        if (auto *label = qobject_cast<QLabel *>(caption.Widget))
            label->setText(Msg(caption.Message));
        else if (auto *box = qobject_cast<QCheckBox *>(caption.Widget))
            box->setText(Msg(caption.Message));
    }
    for (const Caption_Text &hint : std::as_const(hints_))
        hint.Widget->setToolTip(Msg(hint.Message));
    Set_Group_Titles();
    P_Problems->Set_Lang();
    // The failing fields' tips and the count, in the language; a hidden
    // window finds them at its next opening.
    if (isVisible())
        Show_Problems();
}
