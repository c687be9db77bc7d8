#include "app/soft_options.h"

#include "app/app_messages.h"
#include "core/messages.h"
#include "widgets/dialog_frame.h"
#include "widgets/message_box.h"
#include "widgets/style.h"
#include "widgets/texts.h"
#include "workspace/language.h"
#include "workspace/language_list.h"
#include "workspace/web_links.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>

TFSoftOptions::TFSoftOptions(Workspace &ws, std::function<void()> change_language, QWidget *parent)
    : QDialog(parent, Fixed_Dialog_Flags)
    , ws_(ws)
    , change_language_(std::move(change_language))
{
    setObjectName(QStringLiteral("FSoftOptions"));
    Apply_Window_Style(this);
    const Header_Labels header = Make_Header(this, ws.SW_Code);
    L_SW_Code = header.code;
    L_SW_Desc = header.desc;

    PC_Options = new QTabWidget(this);
    PC_Options->setGeometry(8, 72, 493, 253);

    auto *language = new QWidget;
    L_Sel_Lang = new QLabel(language);
    L_Sel_Lang->setGeometry(12, 10, 460, 17);
    for (int k = 0; k < 6; ++k) {
        const int x = k < 3 ? 12 : 246;
        const int y = 36 + (k % 3) * 54;
        auto *picture = new QLabel(language);
        picture->setGeometry(x, y, 48, 48);
        picture->setScaledContents(true);
        picture->setCursor(Qt::PointingHandCursor);
        picture->installEventFilter(this);
        auto *name = new QLabel(language);
        name->setGeometry(x + 56, y + 15, 170, 18);
        name->setCursor(Qt::PointingHandCursor);
        name->installEventFilter(this);
        I_L << picture;
        L_L << name;
    }
    L_Page_Lang = new QLabel(language);
    L_Page_Lang->setGeometry(12, 200, 200, 17);
    Btn_Prev = new QPushButton(language);
    Btn_Prev->setGeometry(290, 194, 88, 26);
    Btn_Next = new QPushButton(language);
    Btn_Next->setGeometry(384, 194, 88, 26);
    connect(Btn_Prev, &QPushButton::clicked, this, [this] {
        if (Show_Page >= 2)
            --Show_Page;
        Update_Lang_Page(Show_Page);
    });
    connect(Btn_Next, &QPushButton::clicked, this, [this] {
        if (Update_Lang_Page_Count() >= Show_Page + 1)
            ++Show_Page;
        Update_Lang_Page(Show_Page);
    });
    PC_Options->addTab(language, QString());

    auto *connection = new QWidget;
    CB_En_Con = new QCheckBox(connection);
    CB_En_Con->setGeometry(12, 14, 460, 20);
    CB_Update = new QCheckBox(connection);
    CB_Update->setGeometry(36, 40, 436, 20);
    Btn_Check_Update = new QPushButton(connection);
    Btn_Check_Update->setGeometry(36, 72, 200, 28);
    LL_Check_Update = new QLabel(connection);
    // Room for a server that was not reached and why, on up to four lines.
    LL_Check_Update->setGeometry(36, 110, 436, 72);
    LL_Check_Update->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LL_Check_Update->setWordWrap(true);
    LL_Check_Update->setTextFormat(Qt::RichText);
    connect(LL_Check_Update, &QLabel::linkActivated, this,
            [](const QString &link) { QDesktopServices::openUrl(QUrl(link)); });
    connect(Btn_Check_Update, &QPushButton::clicked, this, &TFSoftOptions::Btn_Check_UpdateClick);
    PC_Options->addTab(connection, QString());

    auto *settings = new QWidget;
    CB_Soft_Set_Jump_Table = new QCheckBox(settings);
    CB_Soft_Set_Jump_Table->setGeometry(12, 14, 460, 20);
    CB_DoubleClick_Auto_Size = new QCheckBox(settings);
    CB_DoubleClick_Auto_Size->setGeometry(12, 40, 460, 20);
    PC_Options->addTab(settings, QString());

    for (QCheckBox *box : {CB_En_Con, CB_Update, CB_Soft_Set_Jump_Table, CB_DoubleClick_Auto_Size})
        connect(box, &QCheckBox::toggled, this, &TFSoftOptions::Update_CheckBox);

    Btn_OK = new QPushButton(this);
    Btn_Cancel = new QPushButton(this);
    Place_Button_Row({{Btn_OK}, {Btn_Cancel}}, 509 - 16, 335);
    connect(Btn_OK, &QPushButton::clicked, this, &TFSoftOptions::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(509, 373);
    PC_Options->setCurrentIndex(1);
    Set_Lang();
}

int TFSoftOptions::Update_Lang_Page_Count() const
{
    return ::Update_Lang_Page(SL_Languages, 1).pages;
}

void TFSoftOptions::Set_Lang()
{
    setWindowTitle(Msg(Msg_Options_Title));
    L_SW_Desc->setText(Msg(Msg_Options_Description));
    L_SW_Desc->adjustSize();
    PC_Options->setTabText(0, Msg(Msg_Options_Language_Tab));
    PC_Options->setTabText(1, Msg(Msg_Options_Connection_Tab));
    PC_Options->setTabText(2, Msg(Msg_Options_Settings_Tab));
    L_Sel_Lang->setText(Msg(Msg_Options_Selected_Language));
    L_Page_Lang->setText(Msg(Msg_Options_Page) + QStringLiteral("1") + Msg(Msg_Options_Page_Of) + QStringLiteral("1"));
    Btn_Prev->setText(Msg(Msg_Options_Previous));
    Btn_Next->setText(Msg(Msg_Options_Next));
    CB_En_Con->setText(Msg(Msg_Options_Enable_Internet));
    CB_Update->setText(Msg(Msg_Options_Check_At_Start));
    Btn_Check_Update->setText(Msg(Msg_Options_Check_Update));
    Btn_OK->setText(Msg(Msg_Options_OK));
    Btn_Cancel->setText(Msg(Msg_Options_Cancel));
    CB_Soft_Set_Jump_Table->setText(Msg(Msg_Options_Enter_Jumps_Field));
    CB_DoubleClick_Auto_Size->setText(Msg(Msg_Options_Double_Click_Auto_Size));
}

void TFSoftOptions::Create_Lang_List()
{
    SL_Languages = ::Create_Lang_List(ws_.Path_Language);
    Show_Page = 1;
    Update_Lang_Page(1);
}

void TFSoftOptions::Update_Lang_Page(int num_page)
{
    const Lang_Page page = ::Update_Lang_Page(SL_Languages, num_page);
    L_Sel_Lang->setText(Msg(Msg_Options_Selected_Language) + Language_In_Use);
    L_Page_Lang->setText(Msg(Msg_Options_Page) + QString::number(num_page) + Msg(Msg_Options_Page_Of) +
                         QString::number(page.pages));
    Btn_Prev->setVisible(page.prev_visible);
    Btn_Next->setVisible(page.next_visible);
    for (int k = 0; k < 6; ++k) {
        // Slot 1 always stays; the others show only when they hold a language.
        const bool shown = k == 0 || k < page.shown;
        I_L[k]->setVisible(shown);
        L_L[k]->setVisible(shown);
    }
    for (int k = 0; k < page.shown; ++k) {
        L_L[k]->setText(page.names[k]);
        const QString flag = Flag_File(ws_.Path_Language, page.names[k]);
        const QPixmap pixmap(flag);
        I_L[k]->setPixmap(pixmap);
        I_L[k]->setVisible(!flag.isEmpty() && !pixmap.isNull());
    }
}

bool TFSoftOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int k = 0; k < 6; ++k)
            if (watched == I_L[k] || watched == L_L[k]) {
                LangClick(k + 1);
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void TFSoftOptions::LangClick(int slot)
{
    const QString picked = Lang_In_Slot(SL_Languages, Show_Page, slot);
    if (picked.isEmpty())
        return; // no language in this slot (no language files at all)
    if (!Message_Box::Confirm(this, Msg(Msg_Options_Change_Language) + Language_In_Use +
                                        Msg(Msg_Options_Change_Language_To) + picked +
                                        Msg(Msg_Options_Change_Language_End)))
        return;
    Language_In_Use = picked;
    const QString kept = ws_.Language_Name;
    ws_.Language_Name = picked;
    Load_Language(ws_, Messages());
    ws_.Language_Name = kept;
    if (change_language_)
        change_language_();
    else
        Set_Lang();
    L_Sel_Lang->setText(Msg(Msg_Options_Selected_Language) + Language_In_Use);
}

void TFSoftOptions::Update_CheckBox()
{
    CB_Update->setEnabled(CB_En_Con->isChecked());
    Btn_Check_Update->setEnabled(CB_Update->isEnabled() && CB_Update->isChecked());
}

void TFSoftOptions::Btn_Check_UpdateClick()
{
    if (!version_checker_)
        return;
    Btn_Check_Update->setEnabled(false);
    version_checker_(this, [this](const Version_Result &result) {
        // "No Update Available" only on the server's word; a server that was
        // not reached is said so, with why.
        if (result.answer == Version_Answer::Newer)
            LL_Check_Update->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                                         .arg(Download_Url(), Msg(Msg_Options_New_Version).toHtmlEscaped()));
        else if (result.answer == Version_Answer::Not_Newer)
            LL_Check_Update->setText(Msg(Msg_Options_No_Update).toHtmlEscaped());
        else
            LL_Check_Update->setText(result.Problem.toHtmlEscaped());
        LL_Check_Update->show();
        Update_CheckBox();
    });
}

void TFSoftOptions::Btn_OKClick()
{
    ws_.Language_Name = Language_In_Use;
    ws_.Enable_Internet = CB_En_Con->isChecked();
    ws_.Enable_Update = CB_Update->isChecked();
    ws_.Enable_Jump_Field_Tables = CB_Soft_Set_Jump_Table->isChecked();
    ws_.Double_Click_Auto_Size = CB_DoubleClick_Auto_Size->isChecked();
    accept();
}

void TFSoftOptions::showEvent(QShowEvent *event)
{
    Language_In_Use = ws_.Language_Name;
    Create_Lang_List();
    LL_Check_Update->hide();
    PC_Options->setCurrentIndex(0);
    CB_En_Con->setChecked(ws_.Enable_Internet);
    CB_Update->setChecked(ws_.Enable_Update);
    CB_Soft_Set_Jump_Table->setChecked(ws_.Enable_Jump_Field_Tables);
    CB_DoubleClick_Auto_Size->setChecked(ws_.Double_Click_Auto_Size);
    Update_CheckBox();
    L_Sel_Lang->setText(Msg(Msg_Options_Selected_Language) + Language_In_Use);
    QDialog::showEvent(event);
}
