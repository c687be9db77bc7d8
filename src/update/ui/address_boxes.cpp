#include "update/ui/address_boxes.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

Address_Boxes::Address_Boxes(const std::array<QLineEdit *, 4> &boxes, QObject *parent)
    : QObject(parent)
    , boxes_(boxes)
{
    for (QLineEdit *box : boxes_)
        box->installEventFilter(this);
}

IP_Octets Address_Boxes::Octets() const
{
    IP_Octets octets;
    for (int i = 0; i < 4; ++i)
        octets[i] = boxes_[i]->text();
    return octets;
}

void Address_Boxes::Set_Octets(const IP_Octets &octets)
{
    for (int i = 0; i < 4; ++i)
        boxes_[i]->setText(octets[i]);
}

void Address_Boxes::Set_Read_Only(bool read_only)
{
    for (QLineEdit *box : boxes_)
        box->setReadOnly(read_only);
}

bool Address_Boxes::Read_Only() const
{
    return boxes_[0]->isReadOnly();
}

int Address_Boxes::Index_Of(const QObject *watched) const
{
    for (int i = 0; i < 4; ++i)
        if (boxes_[i] == watched)
            return i;
    return -1;
}

bool Address_Boxes::Fill_From(const QString &text)
{
    const std::optional<IP_Octets> octets = Pasted_Address(text);
    if (!octets)
        return false;
    Set_Octets(*octets);
    return true;
}

void Address_Boxes::Paste_Into(QLineEdit *box)
{
    if (!Fill_From(QApplication::clipboard()->text()))
        box->paste();
}

void Address_Boxes::Show_Menu(QLineEdit *box, const QContextMenuEvent *event)
{
    // The box's own menu, its Paste turned to this class's paste: the
    // action is the one wired to QLineEdit::paste.
    QMenu *menu = box->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction *action : menu->actions()) {
        if (disconnect(action, &QAction::triggered, box, &QLineEdit::paste) ||
            disconnect(action, SIGNAL(triggered()), box, SLOT(paste())))
            connect(action, &QAction::triggered, this, [this, box] { Paste_Into(box); });
    }
    menu->popup(event->globalPos());
}

bool Address_Boxes::eventFilter(QObject *watched, QEvent *event)
{
    const int index = Index_Of(watched);
    if (index < 0)
        return QObject::eventFilter(watched, event);
    QLineEdit *box = boxes_[index];
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->text() == u".") {
            // Typing goes on in the next box and replaces what it holds.
            if (index < 3 && boxes_[index + 1]->isEnabled()) {
                QLineEdit *next = boxes_[index + 1];
                next->setFocus(Qt::TabFocusReason);
                next->selectAll();
            }
            return true;
        }
        if (key->matches(QKeySequence::Paste) && !box->isReadOnly()) {
            Paste_Into(box);
            return true;
        }
        break;
    }
    case QEvent::ContextMenu:
        Show_Menu(box, static_cast<QContextMenuEvent *>(event));
        return true;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!box->isReadOnly() && drop->mimeData()->hasText() && Fill_From(drop->mimeData()->text())) {
            drop->acceptProposedAction();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
