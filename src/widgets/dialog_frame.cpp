#include "widgets/dialog_frame.h"

#include <QLabel>
#include <QPushButton>

namespace {

QLabel *Grey_Label(QWidget *parent, QFont font, int x, int y)
{
    auto *label = new QLabel(parent);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: grey;"));
    label->move(x, y);
    return label;
}

} // namespace

Header_Labels Make_Header(QWidget *parent, const QString &code, int desc_top)
{
    QFont large = parent->font();
    large.setPixelSize(32);
    QFont bold = parent->font();
    bold.setBold(true);
    const Header_Labels labels{Grey_Label(parent, large, 16, 8), Grey_Label(parent, bold, 16, desc_top)};
    if (!code.isEmpty()) {
        labels.code->setText(code);
        labels.code->adjustSize();
    }
    return labels;
}

Title_Panel Make_Title_Panel(QWidget *parent, const QString &code)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("P_Title"));
    panel->setFixedHeight(69);
    return {panel, Make_Header(panel, code)};
}

QWidget *Make_Button_Panel(QWidget *parent)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("P_Button"));
    panel->setFixedHeight(40);
    return panel;
}

void Place_Button_Row(const QList<Row_Button> &buttons, int right, int top)
{
    int x = right;
    for (qsizetype i = buttons.size() - 1; i >= 0; --i) {
        x -= buttons[i].width;
        buttons[i].button->setGeometry(x, top, buttons[i].width, 28);
        x -= 8;
    }
}
