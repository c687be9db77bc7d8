#include "widgets/problems_bar.h"

#include "widgets/texts.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

Problems_Bar::Problems_Bar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("P_Problems"));
    L_Problems = new QLabel(this);
    L_Problems->setObjectName(QStringLiteral("L_Problems"));
    // A longer text (a translation) is cut, not the window widened.
    L_Problems->setMinimumWidth(1);
    Btn_Next_Problem = new QPushButton(this);
    Btn_Next_Problem->setObjectName(QStringLiteral("Btn_Next_Problem"));
    Btn_Next_Problem->setFixedHeight(22);
    Btn_Next_Problem->setAutoDefault(false);
    // F8 is the keyboard's way; the button keeps the focus where the user
    // edits (a grid, a field), the tab order stays as it was.
    Btn_Next_Problem->setFocusPolicy(Qt::NoFocus);
    connect(Btn_Next_Problem, &QPushButton::clicked, this, &Problems_Bar::Next);

    L_Note = new QLabel(this);
    L_Note->setObjectName(QStringLiteral("L_Note"));
    L_Note->setMinimumWidth(1);
    L_Note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    L_Note->setTextFormat(Qt::PlainText);

    Act_Next_Problem = new QAction(this);
    Act_Next_Problem->setShortcut(QKeySequence(Qt::Key_F8));
    Act_Next_Problem->setShortcutContext(Qt::WindowShortcut);
    connect(Act_Next_Problem, &QAction::triggered, this, &Problems_Bar::Next);
    addAction(Act_Next_Problem);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(8);
    layout->addWidget(L_Problems);
    layout->addWidget(Btn_Next_Problem);
    layout->addWidget(L_Note, 1);
}

void Problems_Bar::Set_Lang()
{
    Btn_Next_Problem->setText(Msg(Msg_Next_Problem));
    Btn_Next_Problem->setToolTip(Msg(Msg_Next_Problem_Hint));
    // Room for the caption and the style's margins, no more: a small button.
    QStyleOptionButton bare;
    bare.initFrom(Btn_Next_Problem);
    const QSize margins = style()->sizeFromContents(QStyle::CT_PushButton, &bare, QSize(0, 0), Btn_Next_Problem);
    Btn_Next_Problem->setFixedWidth(
        Btn_Next_Problem->fontMetrics().size(Qt::TextShowMnemonic, Btn_Next_Problem->text()).width() + margins.width() +
        8);
    Show_Counts(errors_, warnings_);
}

void Problems_Bar::Show_Counts(int errors, int warnings)
{
    errors_ = errors;
    warnings_ = warnings;
    if (warnings < 0)
        L_Problems->setText(Msg(Msg_Errors_Count).arg(errors));
    else if (errors == 0 && warnings == 0)
        L_Problems->setText(Msg(Msg_No_Problems));
    else
        L_Problems->setText(Msg(Msg_Problems_Count).arg(errors).arg(warnings));
    Btn_Next_Problem->setEnabled(errors > 0 || warnings > 0);
}

void Problems_Bar::Show_Note(const QString &text)
{
    // One line: the texts of a cell's problems follow each other.
    QString line = text;
    line.replace(u'\n', QStringLiteral("   "));
    L_Note->setText(line);
    L_Note->setToolTip(text);
}
