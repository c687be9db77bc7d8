#include "widgets/wrapping_header.h"

#include <QStyleOptionHeader>

Wrapping_Header::Wrapping_Header(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setDefaultAlignment(Qt::AlignCenter | Qt::Alignment::fromInt(Qt::TextWordWrap));
    connect(this, &QHeaderView::sectionResized, this, &Wrapping_Header::Fit_Height);
}

void Wrapping_Header::setModel(QAbstractItemModel *model)
{
    if (this->model())
        disconnect(this->model(), &QAbstractItemModel::headerDataChanged, this, &Wrapping_Header::Fit_Height);
    QHeaderView::setModel(model);
    if (model)
        connect(model, &QAbstractItemModel::headerDataChanged, this, &Wrapping_Header::Fit_Height);
}

void Wrapping_Header::Fit_Height()
{
    if (count() == 0)
        return;
    // The header keeps its last size hint until its titles change.
    headerDataChanged(orientation(), 0, count() - 1);
    if (sizeHint().height() != height())
        emit geometriesChanged();
}

QSize Wrapping_Header::sectionSizeFromContents(int logical_index) const
{
    QSize size = QHeaderView::sectionSizeFromContents(logical_index);
    if (!model())
        return size;
    // The lines the title takes in the room the style leaves for it.
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = QRect(0, 0, sectionSize(logical_index), size.height());
    option.section = logical_index;
    const QRect room = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    const QString text = model()->headerData(logical_index, orientation()).toString();
    const QRect lines =
        fontMetrics().boundingRect(QRect(0, 0, std::max(room.width(), 1), 100000), int(defaultAlignment()), text);
    size.setHeight(std::max(size.height(), lines.height() + size.height() - room.height()));
    return size;
}
