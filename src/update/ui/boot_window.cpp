#include "update/ui/boot_window.h"

#include "bacnet/device_verify.h"
#include "bacnet/verify_messages.h"
#include "core/messages.h"
#include "gate/sent_changes.h"
#include "platform/icmp_echo_client.h"
#include "snapshot/configuration_snapshot.h"
#include "update/image_summary.h"
#include "update/ip_address.h"
#include "update/job_file.h"
#include "update/program_runner.h"
#include "update/send_ping.h"
#include "update/ui/address_boxes.h"
#include "update/update_caption.h"
#include "update/update_messages.h"
#include "update/update_sequence.h"
#include "widgets/dialog_frame.h"
#include "widgets/message_box.h"
#include "widgets/style.h"
#include "widgets/texts.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The panel of what will be sent: the configuration's line and one line per
// image, three lines of the window's font; room enough for a problem text
// wrapped over three lines below the configuration's.
constexpr int Images_Panel_Height = 64;

} // namespace

TFBoot::TFBoot(Workspace &ws, QWidget *parent)
    : QDialog(parent, Fixed_Dialog_Flags)
    , ws_(ws)
    , client_(std::make_unique<Icmp_Echo_Client>())
    , updater_ms_(Updater_Wait_Ms)
{
    setObjectName(QStringLiteral("FBoot"));
    Apply_Window_Style(this);
    // Panels from the top: title 69, images 64, address 49, options 72,
    // buttons 40. The code is read when the window shows.
    const Header_Labels header = Make_Header(this, QString());
    L_SW_Code = header.code;
    L_SW_Desc = header.desc;

    const int images_top = 69;
    P_Images = new QWidget(this);
    P_Images->setObjectName(QStringLiteral("P_Images"));
    P_Images->setGeometry(0, images_top, 449, Images_Panel_Height);
    auto *images_grid = new QGridLayout(P_Images);
    images_grid->setContentsMargins(16, 2, 16, 2);
    images_grid->setHorizontalSpacing(24);
    images_grid->setVerticalSpacing(2);
    // The lines keep to their texts, from the top left; what is left over
    // goes to an empty last row and column.
    images_grid->setRowStretch(3, 1);
    images_grid->setColumnStretch(3, 1);

    const int address_top = images_top + Images_Panel_Height;
    L_IP_Address = new QLabel(this);
    L_IP_Address->move(16, address_top + 4);
    QList<QLineEdit *> boxes;
    for (int i = 0; i < 4; ++i) {
        auto *box = new QLineEdit(QStringLiteral("0"), this);
        box->setGeometry(16 + i * 56, address_top + 22, 44, 21);
        box->setAlignment(Qt::AlignCenter);
        box->setToolTip(Msg(Msg_Update_IP1_Hint + i));
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
    IP_Address_Boxes = new Address_Boxes({E_IP1, E_IP2, E_IP3, E_IP4}, this);
    // Beside the boxes whose address it compares for.
    Btn_Changes = new QPushButton(this);
    Btn_Changes->setObjectName(QStringLiteral("Btn_Changes"));
    Btn_Changes->setGeometry(240, address_top + 19, 449 - 16 - 240, 27);
    Btn_Changes->setAutoDefault(false);

    const int options_top = address_top + 49;
    L_Update_Option = new QLabel(this);
    L_Update_Option->move(16, options_top + 4);
    CB_Update_Options = new QComboBox(this);
    CB_Update_Options->setGeometry(16, options_top + 22, 260, 22);
    CB_Update_Option_Read_Back = new QCheckBox(this);
    CB_Update_Option_Read_Back->setGeometry(16, options_top + 48, 260, 20);
    Btn_Verify = new QPushButton(this);
    Btn_Verify->setObjectName(QStringLiteral("Btn_Verify"));
    Btn_Verify->setGeometry(290, options_top + 19, 449 - 16 - 290, 27);
    Btn_Verify->setAutoDefault(false);
    CB_Verify_After = new QCheckBox(this);
    CB_Verify_After->setObjectName(QStringLiteral("CB_Verify_After"));
    CB_Verify_After->setGeometry(290, options_top + 48, 449 - 16 - 290, 20);

    const int buttons_top = options_top + 72;
    Btn_Cancel = new QPushButton(this);
    Btn_Update = new QPushButton(this);
    // Wide enough for the longest caption, "Update Firmware and Configuration".
    Place_Button_Row({{Btn_Cancel}, {Btn_Update, 250}}, 449 - 16, buttons_top + 6);
    Btn_Update->setAutoDefault(false);
    Btn_Cancel->setAutoDefault(false);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Btn_Update, &QPushButton::clicked, this, &TFBoot::Btn_UpdateClick);
    connect(Btn_Changes, &QPushButton::clicked, this, &TFBoot::Btn_ChangesClick);
    connect(Btn_Verify, &QPushButton::clicked, this, &TFBoot::Btn_VerifyClick);
    connect(CB_Update_Options, &QComboBox::currentIndexChanged, this, &TFBoot::Show_Caption);
    // The user's choices are settings: the next showing, and the next start,
    // offer them again.
    connect(CB_Update_Options, &QComboBox::activated, this, [this](int option) { ws_.Update_Option = option; });
    connect(CB_Update_Option_Read_Back, &QCheckBox::clicked, this, [this](bool on) { ws_.Update_Read_Back = on; });
    connect(CB_Update_Options, &QComboBox::currentIndexChanged, this, &TFBoot::Enable_Changes);

    setTabOrder(E_IP1, E_IP2);
    setTabOrder(E_IP2, E_IP3);
    setTabOrder(E_IP3, E_IP4);
    setTabOrder(E_IP4, Btn_Changes);
    setTabOrder(Btn_Changes, CB_Update_Options);
    setTabOrder(CB_Update_Options, CB_Update_Option_Read_Back);
    setTabOrder(CB_Update_Option_Read_Back, Btn_Verify);
    setTabOrder(Btn_Verify, CB_Verify_After);
    setTabOrder(CB_Verify_After, Btn_Cancel);
    setTabOrder(Btn_Cancel, Btn_Update);
    setFixedSize(449, 69 + Images_Panel_Height + 49 + 72 + 40);
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
    setWindowTitle(Msg(Msg_Update_Title));
    L_SW_Desc->setText(Msg(Msg_Update_Description));
    L_IP_Address->setText(Msg(Msg_Update_IP_Label));
    L_Update_Option->setText(Msg(Msg_Update_Options_Label));
    CB_Update_Options->clear();
    CB_Update_Options->addItems(
        {Msg(Msg_Option_Firmware_And_Configuration), Msg(Msg_Option_Firmware), Msg(Msg_Option_Configuration)});
    CB_Update_Options->setCurrentIndex(0);
    CB_Update_Options->setToolTip(Msg(Msg_Update_Options_Hint));
    CB_Update_Option_Read_Back->setText(Msg(Msg_Update_Read_Back));
    CB_Update_Option_Read_Back->setToolTip(Msg(Msg_Update_Read_Back_Hint));
    Btn_Cancel->setText(Msg(Msg_Update_Cancel));
    Btn_Cancel->setToolTip(Msg(Msg_Update_Cancel_Hint));
    Show_Caption();
    Btn_Update->setToolTip(Msg(Msg_Update_Button_Hint));
    Btn_Changes->setText(Msg(Msg_Changes_Button));
    Btn_Changes->setToolTip(Msg(Msg_Changes_Button_Hint));
    Btn_Verify->setText(Msg(Msg_Verify_Button));
    CB_Verify_After->setText(Msg(Msg_Verify_Automatically));
    const QList<QLineEdit *> boxes{E_IP1, E_IP2, E_IP3, E_IP4};
    for (int i = 0; i < 4; ++i)
        boxes[i]->setToolTip(Msg(Msg_Update_IP1_Hint + i));
    for (QLabel *label : {L_SW_Desc, L_IP_Address, L_Update_Option})
        label->adjustSize();
    Show_Images();
}

void TFBoot::Show_Caption()
{
    Btn_Update->setText(Update_Button_Caption(CB_Update_Options->currentIndex()));
}

void TFBoot::Set_Images(const QString &configuration, const QStringList &paths)
{
    configuration_ = configuration;
    image_paths_ = paths;
    Show_Images();
    Btn_Update->setEnabled(images_ok_ && !sequence_);
    Enable_Changes();
}

void TFBoot::Show_Images()
{
    qDeleteAll(image_labels_);
    image_labels_.clear();
    auto *grid = static_cast<QGridLayout *>(P_Images->layout());
    auto add = [&](const QString &text, int row, int column, int span = 1, Qt::Alignment align = {}) {
        auto *label = new QLabel(text, P_Images);
        grid->addWidget(label, row, column, 1, span, align);
        image_labels_ << label;
        return label;
    };
    add(Configuration_Line(configuration_), 0, 0, 4);
    const Result<QList<Image_Facts>> images = Read_Image_Facts(image_paths_);
    images_ok_ = images.Ok();
    if (images) {
        for (int i = 0; i < images->size(); ++i) {
            const Image_Facts &image = images->at(i);
            add(QFileInfo(image.path).fileName(), i + 1, 0)->setToolTip(QDir::toNativeSeparators(image.path));
            add(Image_Size_Text(image.size), i + 1, 1, 1, Qt::AlignRight);
            add(Image_Crc_Text(image.crc32), i + 1, 2);
        }
    } else {
        // Said where the images would be; the full text also as the hint,
        // should a long path not fit.
        auto *problem = new QLabel(images.Problem(), P_Images);
        problem->setWordWrap(true);
        problem->setToolTip(images.Problem());
        problem->setStyleSheet(QStringLiteral("color: #b00000;"));
        grid->addWidget(problem, 1, 0, 2, 4, Qt::AlignTop);
        image_labels_ << problem;
    }
}

void TFBoot::showEvent(QShowEvent *event)
{
    Set_Lang();
    L_SW_Code->setText(ws_.SW_Code);
    L_SW_Code->adjustSize();
    // The converter answers on the address it has now, which is the last
    // one used rather than anything this configuration will give it.
    IP_Octets octets;
    if (!ws_.Last_IP_Address.isEmpty() && Split_IP_Address(ws_.Last_IP_Address, &octets))
        IP_Address_Boxes->Set_Octets(octets);
    CB_Update_Options->setCurrentIndex(ws_.Update_Option);
    CB_Update_Option_Read_Back->setChecked(ws_.Update_Read_Back);
    Lock_Inputs(sequence_ != nullptr);
    E_IP1->setFocus();
    QDialog::showEvent(event);
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
    Lock_Inputs(true);
    connect(sequence, &Update_Sequence::State_Changed, this, [this](Update_Sequence::State state) {
        if (state == Update_Sequence::State::Updating)
            Show_Progress();
    });
    connect(sequence, &Update_Sequence::Finished, this, &TFBoot::On_Finished);
}

void TFBoot::Lock_Inputs(bool locked)
{
    locked_ = locked;
    IP_Address_Boxes->Set_Read_Only(locked);
    CB_Update_Options->setEnabled(!locked);
    CB_Update_Option_Read_Back->setEnabled(!locked);
    // Nothing to send without readable images.
    Btn_Update->setEnabled(!locked && images_ok_);
    Enable_Changes();
    Enable_Verify();
}

void TFBoot::Enable_Verify()
{
    Btn_Verify->setEnabled(!locked_ && !reader_);
    CB_Verify_After->setEnabled(!locked_);
}

void TFBoot::Enable_Changes()
{
    // Something to compare: images that can be read, and an option that
    // sends them (firmware alone sends none).
    Btn_Changes->setEnabled(!locked_ && images_ok_ && Job_Sends_Images(CB_Update_Options->currentIndex()));
}

void TFBoot::Btn_ChangesClick()
{
    // The address in the boxes now, which need not be the one last used.
    const QString address = Join_IP_Address({E_IP1->text(), E_IP2->text(), E_IP3->text(), E_IP4->text()});
    const Result<Sent_Changes> changes = Changes_Since_Last_Update(ws_.Path_Project, address);
    if (!changes) {
        Message_Box::Error(this, changes.Problem());
        return;
    }
    Message_Box::Information_List(this, changes->heading, changes->differences);
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
    if (auto *progress = static_cast<Updater_Progress *>(progress_)) {
        progress_ = nullptr;
        progress->Finish();
        progress->deleteLater();
    }
    sequence_->deleteLater();
    sequence_ = nullptr;
    Lock_Inputs(false);
    if (outcome.Ok() && !outcome.keep_problem.isEmpty())
        Message_Box::Warning(this, outcome.text + QStringLiteral("\n\n") + outcome.keep_problem);
    else if (outcome.Ok())
        Message_Box::Information(this, outcome.text);
    else if (outcome.warning)
        Message_Box::Warning(this, outcome.text);
    else
        Message_Box::Error(this, outcome.text);
    emit Update_Finished();
    // The converter restarts with what it was sent: asked until it answers.
    if (outcome.Ok() && CB_Verify_After->isChecked() && Job_Sends_Images(CB_Update_Options->currentIndex()))
        Start_Verify(verify_find_ms_);
}

void TFBoot::Set_Verify_Target(quint16 port, int request_ms, int find_ms)
{
    verify_port_ = port;
    verify_request_ms_ = request_ms;
    verify_find_ms_ = find_ms;
}

bool TFBoot::Verify_Running() const
{
    return reader_ != nullptr;
}

void TFBoot::Btn_VerifyClick()
{
    Start_Verify(verify_find_ms_);
}

void TFBoot::Start_Verify(int find_ms)
{
    if (reader_ || sequence_)
        return;
    const QString address = Join_IP_Address({E_IP1->text(), E_IP2->text(), E_IP3->text(), E_IP4->text()});
    if (!Split_IP_Address(address)) {
        Message_Box::Error(this, Msg(Msg_Check_IP_Address));
        emit Verify_Finished();
        return;
    }
    // The configuration as it is now, read once: the device it describes, or
    // the copy last sent to this address when that copy describes another.
    const Result<Verify_Reference> reference = Verify_Reference_For(Read_Configuration(ws_, Output::Images), address);
    if (!reference || reference->device.mstp) {
        Message_Box::Error(this, reference ? Msg(Msg_Verify_MSTP).arg(ws_.Project_Name) : reference.Problem());
        emit Verify_Finished();
        return;
    }
    const BIP_Address to{QHostAddress(address), verify_port_ ? verify_port_ : reference->device.port};
    const std::uint32_t expected = reference->device.instance;
    reader_ = new Device_Reader(this);
    reader_->Set_Timing({verify_request_ms_, 3, find_ms});
    Enable_Verify();

    auto *progress = new QProgressDialog(this);
    verify_progress_ = progress;
    progress->setWindowTitle(Msg(Msg_Verify_Title));
    progress->setCancelButtonText(Msg(Msg_Update_Cancel));
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setRange(0, std::max(1, find_ms / 1000));
    progress->setLabelText(Msg(Msg_Verify_Waiting).arg(address).arg(0));
    progress->setMinimumWidth(360);
    connect(progress, &QProgressDialog::canceled, reader_, &Device_Reader::Cancel);
    connect(reader_, &Device_Reader::Looking, progress, [progress, address](int, int elapsed_ms) {
        progress->setValue(std::min(progress->maximum(), elapsed_ms / 1000));
        progress->setLabelText(Msg(Msg_Verify_Waiting).arg(address).arg(elapsed_ms / 1000));
    });
    connect(reader_, &Device_Reader::Reading, progress, [progress](int done, int total) {
        progress->setRange(0, std::max(1, total));
        progress->setValue(done);
        progress->setLabelText(Msg(Msg_Verify_Reading).arg(done).arg(total));
    });
    const Verify_Reference kept = reference.Value();
    connect(reader_, &Device_Reader::Finished, this,
            [this, kept, to, expected, address, find_ms](const Device_Reader::Outcome &outcome) {
                reader_->deleteLater();
                reader_ = nullptr;
                verify_progress_->deleteLater();
                verify_progress_->hide();
                verify_progress_ = nullptr;
                Enable_Verify();
                if (outcome.failure == Device_Reader::Failure::Cancelled) {
                } else if (outcome.failure != Device_Reader::Failure::None) {
                    Message_Box::Error(this, Verify_Failure_Text(outcome, to, expected, find_ms));
                } else {
                    const QStringList lines = Device_Differences(kept.device, outcome.device);
                    const QString heading =
                        lines.isEmpty() ? Msg(Msg_Verify_Agrees).arg(address) : Msg(Msg_Verify_Differs).arg(address);
                    Message_Box::Information_List(this, heading + u'\n' + kept.source, lines);
                }
                emit Verify_Finished();
            });
    progress->show();
    reader_->Start(to, expected);
}
