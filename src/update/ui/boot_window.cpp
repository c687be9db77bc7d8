#include "update/ui/boot_window.h"

#include "core/messages.h"
#include "platform/icmp_echo_client.h"
#include "update/ip_address.h"
#include "update/job_file.h"
#include "update/program_runner.h"
#include "update/send_ping.h"
#include "update/update_sequence.h"
#include "widgets/dialog_frame.h"
#include "widgets/message_box.h"
#include "widgets/style.h"
#include "widgets/texts.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QCloseEvent>

TFBoot::TFBoot(Workspace &ws, QWidget *parent)
    : QDialog(parent, Fixed_Dialog_Flags)
    , ws_(ws)
    , client_(std::make_unique<Icmp_Echo_Client>())
    , updater_ms_(Updater_Wait_Ms)
{
    setObjectName(QStringLiteral("FBoot"));
    Apply_Window_Style(this);
    // Panels from the top: title 69, address 49, options 72, buttons 40.
    // The code is read when the window shows.
    const Header_Labels header = Make_Header(this, QString());
    L_SW_Code = header.code;
    L_SW_Desc = header.desc;

    const int address_top = 69;
    L_IP_Address = new QLabel(this);
    L_IP_Address->move(16, address_top + 4);
    QList<QLineEdit *> boxes;
    for (int i = 0; i < 4; ++i) {
        auto *box = new QLineEdit(QStringLiteral("0"), this);
        box->setGeometry(16 + i * 56, address_top + 22, 44, 21);
        box->setAlignment(Qt::AlignCenter);
        box->installEventFilter(this);
        box->setToolTip(Msg(1021 + i));
        boxes << box;
        if (i < 3) {
            auto *dot = new QLabel(QStringLiteral("."), this);
            dot->setGeometry(16 + i * 56 + 46, address_top + 22, 8, 21);
            dot->setAlignment(Qt::AlignCenter);
        }
    }
    E_IP1 = boxes[0];
    E_IP2 = boxes[1];
    E_IP3 = boxes[2];
    E_IP4 = boxes[3];

    const int options_top = address_top + 49;
    L_Update_Option = new QLabel(this);
    L_Update_Option->move(16, options_top + 4);
    CB_Update_Options = new QComboBox(this);
    CB_Update_Options->setGeometry(16, options_top + 22, 260, 22);
    CB_Update_Option_Read_Back = new QCheckBox(this);
    CB_Update_Option_Read_Back->setGeometry(16, options_top + 48, 260, 20);

    const int buttons_top = options_top + 72;
    Btn_Cancel = new QPushButton(this);
    Btn_Update = new QPushButton(this);
    Place_Button_Row({{Btn_Cancel}, {Btn_Update, 150}}, 449 - 16, buttons_top + 6);
    Btn_Update->setAutoDefault(false);
    Btn_Cancel->setAutoDefault(false);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Btn_Update, &QPushButton::clicked, this, &TFBoot::Btn_UpdateClick);

    setTabOrder(E_IP1, E_IP2);
    setTabOrder(E_IP2, E_IP3);
    setTabOrder(E_IP3, E_IP4);
    setTabOrder(E_IP4, CB_Update_Options);
    setTabOrder(CB_Update_Options, CB_Update_Option_Read_Back);
    setTabOrder(CB_Update_Option_Read_Back, Btn_Cancel);
    setTabOrder(Btn_Cancel, Btn_Update);
    setFixedSize(449, 69 + 49 + 72 + 40);
    Set_Lang();
}

TFBoot::~TFBoot() = default;

void TFBoot::Set_Echo_Client(std::unique_ptr<Echo_Client> client)
{
    client_ = std::move(client);
}

void TFBoot::Set_Wait_Limits(int ping_total_ms, int updater_ms, int grace_ms)
{
    ping_total_ms_ = ping_total_ms;
    updater_ms_ = updater_ms;
    grace_ms_ = grace_ms;
}

void TFBoot::Set_Lang()
{
    setWindowTitle(Msg(1002));
    L_SW_Desc->setText(Msg(1003));
    L_IP_Address->setText(Msg(1006));
    L_Update_Option->setText(Msg(1014));
    CB_Update_Options->clear();
    CB_Update_Options->addItems({Msg(1015), Msg(1016), Msg(1017)});
    CB_Update_Options->setCurrentIndex(0);
    CB_Update_Options->setToolTip(Msg(1032));
    CB_Update_Option_Read_Back->setText(Msg(1018));
    CB_Update_Option_Read_Back->setToolTip(Msg(1033));
    Btn_Cancel->setText(Msg(1019));
    Btn_Cancel->setToolTip(Msg(1034));
    Btn_Update->setText(Msg(1020));
    Btn_Update->setToolTip(Msg(1035));
    const QList<QLineEdit *> boxes{E_IP1, E_IP2, E_IP3, E_IP4};
    for (int i = 0; i < 4; ++i)
        boxes[i]->setToolTip(Msg(1021 + i));
    for (QLabel *label : {L_SW_Desc, L_IP_Address, L_Update_Option})
        label->adjustSize();
}

void TFBoot::showEvent(QShowEvent *event)
{
    Set_Lang();
    L_SW_Code->setText(ws_.SW_Code);
    L_SW_Code->adjustSize();
    IP_Octets octets;
    if (!ws_.Last_IP_Address.isEmpty() && Split_IP_Address(ws_.Last_IP_Address, &octets)) {
        E_IP1->setText(octets[0]);
        E_IP2->setText(octets[1]);
        E_IP3->setText(octets[2]);
        E_IP4->setText(octets[3]);
    }
    CB_Update_Options->setCurrentIndex(ws_.Update_Option);
    CB_Update_Option_Read_Back->setChecked(ws_.Update_Read_Back);
    Lock_Inputs(sequence_ != nullptr);
    E_IP1->setFocus();
    QDialog::showEvent(event);
}

bool TFBoot::eventFilter(QObject *watched, QEvent *event)
{
    // "." moves on to the next box and never lands in one.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->text() == u".") {
        if (watched == E_IP1)
            E_IP2->setFocus();
        else if (watched == E_IP2)
            E_IP3->setFocus();
        else if (watched == E_IP3 && E_IP4->isEnabled())
            E_IP4->setFocus();
        else if (watched != E_IP4)
            return QDialog::eventFilter(watched, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

namespace {

// Shown while the updater runs: it cannot be escaped or closed, and as an
// application-modal window it keeps every other window from input, so that
// nothing starts a second update or rewrites the images under the updater.
class Updater_Progress final : public QDialog
{
public:
    explicit Updater_Progress(QWidget *parent)
        : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
        , label_(new QLabel(this))
    {
        setWindowModality(Qt::ApplicationModal);
        auto *layout = new QVBoxLayout(this);
        auto *bar = new QProgressBar(this);
        bar->setRange(0, 0);
        layout->addWidget(label_);
        layout->addWidget(bar);
        elapsed_.start();
        auto *clock = new QTimer(this);
        connect(clock, &QTimer::timeout, this, &Updater_Progress::Show_Time);
        clock->start(250);
        Show_Time();
        setMinimumWidth(320);
    }

    // Lets the window go once the updater has ended.
    void Finish()
    {
        may_close_ = true;
        QDialog::reject();
    }

    void reject() override
    {
        if (may_close_)
            QDialog::reject();
    }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        if (!may_close_)
            event->ignore();
    }

private:
    void Show_Time() { label_->setText(Msg(Msg_Updater_Running).arg(elapsed_.elapsed() / 1000)); }

    QLabel *label_;
    QElapsedTimer elapsed_;
    bool may_close_ = false;
};

} // namespace

bool TFBoot::Update_Running() const
{
    return sequence_ != nullptr;
}

void TFBoot::Btn_UpdateClick()
{
    if (sequence_)
        return;
    // The boxes are read once, here: this address is pinged, written and kept.
    const Boot_Job job =
        Make_Boot_Job(ws_, {E_IP1->text(), E_IP2->text(), E_IP3->text(), E_IP4->text()},
                      CB_Update_Options->currentIndex(), CB_Update_Option_Read_Back->isChecked(), BACnetType);
    Update_Limits limits;
    limits.ping.total_ms = ping_total_ms_;
    limits.updater_ms = updater_ms_;
    limits.grace_ms = grace_ms_;
    auto *sequence = new Update_Sequence(ws_, *client_, limits, nullptr, this);
    if (const Result<> started = sequence->Start(job); !started) {
        delete sequence;
        Message_Box::Error(this, started.Problem());
        emit Update_Finished();
        return;
    }
    sequence_ = sequence;
    ping_res = 0;
    Lock_Inputs(true);
    connect(sequence, &Update_Sequence::State_Changed, this, [this](Update_Sequence::State state) {
        if (state == Update_Sequence::State::Updating)
            Show_Progress();
    });
    connect(sequence, &Update_Sequence::Finished, this, &TFBoot::On_Finished);
}

void TFBoot::Lock_Inputs(bool locked)
{
    for (QLineEdit *box : {E_IP1, E_IP2, E_IP3, E_IP4})
        box->setReadOnly(locked);
    CB_Update_Options->setEnabled(!locked);
    CB_Update_Option_Read_Back->setEnabled(!locked);
    Btn_Update->setEnabled(!locked);
}

void TFBoot::Show_Progress()
{
    auto *progress = new Updater_Progress(this);
    progress->setWindowTitle(windowTitle());
    progress_ = progress;
    progress->show();
}

void TFBoot::reject()
{
    if (sequence_) {
        // A running updater is never cut off: nothing happens.
        if (!sequence_->Cancel())
            return;
        sequence_->deleteLater();
        sequence_ = nullptr;
        Lock_Inputs(false);
    }
    QDialog::reject();
}

void TFBoot::On_Finished(const Update_Outcome &outcome)
{
    ping_res = outcome.ping.ping_res;
    if (auto *progress = static_cast<Updater_Progress *>(progress_)) {
        progress_ = nullptr;
        progress->Finish();
        progress->deleteLater();
    }
    sequence_->deleteLater();
    sequence_ = nullptr;
    Lock_Inputs(false);
    if (outcome.Ok())
        Message_Box::Information(this, outcome.text);
    else if (outcome.warning)
        Message_Box::Warning(this, outcome.text);
    else
        Message_Box::Error(this, outcome.text);
    emit Update_Finished();
}
