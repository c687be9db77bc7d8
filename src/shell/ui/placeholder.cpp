#include "shell/ui/placeholder.h"

#include "lang/messages.h"
#include "shell/ui/style.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

Placeholder_Window::Placeholder_Window(const QString &object_name, int title_message, QWidget *parent)
    : QDialog(parent)
    , title_message_(title_message)
{
    setObjectName(object_name);
    Apply_Window_Style(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("This window is not available yet."), this));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(360, 120);
    Set_Lang();
}

void Placeholder_Window::Set_Lang()
{
    setWindowTitle(Messages().Get(title_message_));
}
