#include "app/about.h"

#include "core/version.h"
#include "widgets/dialog_frame.h"
#include "widgets/style.h"
#include "workspace/web_links.h"
#include "workspace/workspace.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace {

QLabel *Label_At(QWidget *parent, int x, int y, const QString &text = QString())
{
    auto *label = new QLabel(text, parent);
    label->move(x, y);
    return label;
}

} // namespace

TFAbout::TFAbout(Workspace &ws, QWidget *parent)
    : QDialog(parent, Fixed_Dialog_Flags)
    , ws_(ws)
{
    setObjectName(QStringLiteral("FAbout"));
    Apply_Window_Style(this);
    setWindowTitle(QStringLiteral("About..."));

    const QString link = QStringLiteral("<a href=\"%1\" style=\"text-decoration: none;\">%2</a>");
    auto *image2 = new QLabel(this);
    image2->setGeometry(32, 24, 81, 81);
    image2->setPixmap(Program_Picture(81));
    image2->setScaledContents(true);
    image2->setCursor(Qt::PointingHandCursor);
    image2->setToolTip(Maker_Web_Address());
    image2->installEventFilter(this);
    image2_ = image2;

    Label_At(this, 128, 24, QStringLiteral("Software Quarnel "));
    Label2 = Label_At(this, 128, 39);
    Label_At(this, 128, 62, QStringLiteral("Software Code : "));
    Label9 = Label_At(this, 240, 62);
    Label_At(this, 128, 77, QStringLiteral("Version :"));
    Label10 = Label_At(this, 240, 77);
    Label_At(this, 128, 93, QStringLiteral("Document Code :"));
    Label12 = Label_At(this, 240, 93);
    auto *label4 = Label_At(this, 316, 131, link.arg(Maker_Home_Url(), Maker_Web_Address()));
    label4->setCursor(Qt::PointingHandCursor);
    label4->adjustSize();
    label4->move(425 - 8 - label4->width(), 131);
    connect(label4, &QLabel::linkActivated, this, [](const QString &url) { QDesktopServices::openUrl(QUrl(url)); });

    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setGeometry(32, 115, 81, 22);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // Fixed from the start, so that it is centred at its own size.
    setFixedSize(425, 148);
}

bool TFAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == image2_ && event->type() == QEvent::MouseButtonRelease)
        QDesktopServices::openUrl(QUrl(Maker_Home_Url()));
    return QDialog::eventFilter(watched, event);
}

void TFAbout::showEvent(QShowEvent *event)
{
    Label2->setText(ws_.SW_Desc);
    Label9->setText(QStringLiteral("SW52K31"));
    Label10->setText(QLatin1StringView(Program_Version));
    Label12->setText(QStringLiteral("MN52K31"));
    for (QLabel *label : {Label2, Label9, Label10, Label12})
        label->adjustSize();
    setFixedSize(425, 148);
    QDialog::showEvent(event);
}
