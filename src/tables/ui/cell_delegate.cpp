#include "tables/ui/cell_delegate.h"

#include "tables/grid_clipboard.h"
#include "tables/live_problems.h"
#include "tables/table_messages.h"
#include "tables/text_table.h"
#include "widgets/texts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>
#include <cmath>
#include <limits>

namespace {

// The drop-down editor: a list with a line to type into. It keeps its cell
// and notes whether its list was opened: a choice in the open list ends the
// edit, while a choice made with the arrows on the closed list keeps it open.
class Cell_Combo : public QComboBox
{
public:
    using QComboBox::QComboBox;
    void showPopup() override
    {
        listed = true;
        QComboBox::showPopup();
    }
    QPersistentModelIndex index; // the cell edited
    bool listed = false;         // the list was opened
    bool chosen = false;         // an item was chosen: it goes in, also when the cell holds it already
};

// The text typed into a drop-down editor as its cell stores it, or why the
// cell refuses it. The cell's own text is taken back as it is (a text typed
// into the document by hand, not one of the items).
Result<QString> Typed_Text(const Cell_Combo *box, const Text_Table &table)
{
    const QString typed = box->currentText();
    const QString &cell = table.Cell(box->index.row(), box->index.column());
    if (typed == cell)
        return cell;
    return Paste_Cell_Text(table.Column(box->index.column()), typed);
}

QStyle *Style_Of(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

double Luma(const QColor &c)
{
    return 0.299 * c.redF() + 0.587 * c.greenF() + 0.114 * c.blueF();
}

// The palette's text colour, or black or white when it would not stand out
// from a cell's own background (a dark palette's light text over the light
// column colours).
QColor Readable_On(const QColor &background, const QColor &text)
{
    if (std::abs(Luma(text) - Luma(background)) >= 0.4)
        return text;
    return Luma(background) >= 0.5 ? QColor(Qt::black) : QColor(Qt::white);
}

// Halfway between the text and its background: still readable, plainly
// not the text that counts.
QColor Muted(const QColor &text, const QColor &background)
{
    return QColor::fromRgbF((text.redF() + background.redF()) / 2, (text.greenF() + background.greenF()) / 2,
                            (text.blueF() + background.blueF()) / 2);
}

// The marks of problems: strong enough to show on every column colour.
const QColor Error_Colour(0xC6, 0x28, 0x28);
const QColor Warning_Colour(0xE0, 0x8E, 0x00);
constexpr int dash_length = 4;
constexpr int dash_period = 7;

// `colour` mixed into `background` by `part` (0 to 1).
QColor Tinted(const QColor &background, const QColor &colour, double part)
{
    const auto mix = [part](double a, double b) { return a + (b - a) * part; };
    return QColor::fromRgbF(mix(background.redF(), colour.redF()), mix(background.greenF(), colour.greenF()),
                            mix(background.blueF(), colour.blueF()));
}

} // namespace

void Cell_Delegate::Set_Problems(const Live_Problems *problems, int page)
{
    problems_ = problems;
    page_ = page;
}

int Cell_Delegate::Mark_Of(const QModelIndex &index) const
{
    if (!problems_)
        return 0;
    return int(problems_->Level_At(page_, index.row(), index.column()));
}

const Text_Table *Cell_Delegate::Table_Of(const QModelIndex &index)
{
    return qobject_cast<const Text_Table *>(index.model());
}

bool Cell_Delegate::Is_Check(const QModelIndex &index)
{
    const Text_Table *table = Table_Of(index);
    return table && table->Column(index.column()).kind == Cell_Kind::Check;
}

QRect Cell_Delegate::Check_Rect(const QStyleOptionViewItem &option)
{
    QStyle *style = Style_Of(option);
    const QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget),
                     style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget));
    return QStyle::alignedRect(option.direction, Qt::AlignCenter, size, option.rect);
}

void Cell_Delegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (const Text_Table *table = Table_Of(index)) {
        QColor background = QColor::fromRgb(table->Column(index.column()).colour);
        if (const int mark = Mark_Of(index))
            background = Tinted(background, mark == 2 ? Error_Colour : Warning_Colour, mark == 2 ? 0.22 : 0.28);
        option->backgroundBrush = background;
        // Set only where it changes: setting a colour copies the palette, at
        // every cell drawn, and the usual palette's text is readable as it is.
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            const QColor text = option->palette.color(group, QPalette::Text);
            if (const QColor readable = Readable_On(background, text); readable != text)
                option->palette.setColor(group, QPalette::Text, readable);
        }
    }
}

int Cell_Delegate::Cut_At(const QModelIndex &index)
{
    const Text_Table *table = Table_Of(index);
    if (!table)
        return 0;
    const int cut_at = table->Column(index.column()).cut_at;
    if (cut_at <= 0 || table->Cell(index.row(), index.column()).size() <= cut_at)
        return 0;
    return cut_at;
}

void Cell_Delegate::Paint_Cut(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index,
                              int cut_at) const
{
    // The cell as usual without its text (background, selection, focus);
    // then the kept part as any text, a thin mark at the cut and the rest
    // in a colour halfway to the background.
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    QStyle *style = Style_Of(opt);
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const bool selected = opt.state.testFlag(QStyle::State_Selected);
    QPalette::ColorGroup group = opt.state.testFlag(QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !opt.state.testFlag(QStyle::State_Active))
        group = QPalette::Inactive;
    const QColor pen = opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor background = selected ? opt.palette.color(group, QPalette::Highlight) : opt.backgroundBrush.color();

    // The text's place as the style draws it: inside the focus frame margin.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
    const QRect area =
        style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget).adjusted(margin, 0, -margin, 0);
    const QFontMetrics metrics(opt.font);
    const QString kept = text.left(cut_at);
    const int cut_x = area.left() + metrics.horizontalAdvance(kept);
    const int gap = 2; // between the text and the mark, each side
    const int align = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

    painter->save();
    painter->setClipRect(area);
    painter->setFont(opt.font);
    painter->setPen(pen);
    painter->drawText(area, align, kept);
    const int mark_x = cut_x + gap;
    const int height = std::min(metrics.height(), area.height());
    const int top = area.top() + (area.height() - height) / 2;
    painter->fillRect(QRect(mark_x, top, 1, height), pen);
    const QRect rest_area(mark_x + 1 + gap, area.top(), area.right() - (mark_x + gap), area.height());
    if (rest_area.width() > 0) {
        painter->setPen(Muted(pen, background));
        painter->drawText(rest_area, align, metrics.elidedText(text.mid(cut_at), opt.textElideMode, rest_area.width()));
    }
    painter->restore();
}

void Cell_Delegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    Paint_Cell(painter, option, index);
    const int mark = Mark_Of(index);
    if (!mark)
        return;
    // Inside the cell, over the selection: a marked cell stays marked when
    // it is selected or current. Filled rectangles, not a stroked pen: a
    // grid draws many marked cells at every scroll.
    const QColor colour = mark == 2 ? Error_Colour : Warning_Colour;
    const QRect r = option.rect.adjusted(0, 0, -1, -1);
    constexpr int width = 2;
    if (mark == 2) {
        painter->fillRect(QRect(r.left(), r.top(), r.width(), width), colour);
        painter->fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), colour);
        painter->fillRect(QRect(r.left(), r.top(), width, r.height()), colour);
        painter->fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), colour);
        return;
    }
    // A warning's frame is dashed, 4 pixels drawn and 3 left out: a tile of
    // 4 x 4 squares 7 apart fills the edges, across the top and bottom and
    // down the sides alike, from the cell's corner.
    static const QBrush dashes = [] {
        QImage tile(dash_period, dash_period, QImage::Format_ARGB32_Premultiplied);
        tile.fill(Qt::transparent);
        for (int y = 0; y < dash_length; ++y)
            for (int x = 0; x < dash_length; ++x)
                tile.setPixelColor(x, y, Warning_Colour);
        return QBrush(tile);
    }();
    painter->save();
    painter->setBrushOrigin(r.topLeft());
    painter->fillRect(QRect(r.left(), r.top(), r.width(), width), dashes);
    painter->fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), dashes);
    painter->fillRect(QRect(r.left(), r.top(), width, r.height()), dashes);
    painter->fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), dashes);
    painter->restore();
}

bool Cell_Delegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                              const QModelIndex &index)
{
    // A marked cell's tip is its problem, in place of the column's description.
    if (event->type() == QEvent::ToolTip && problems_ && index.isValid()) {
        if (const QString tip = problems_->Tip_At(page_, index.row(), index.column()); !tip.isEmpty()) {
            QToolTip::showText(event->globalPos(), tip, view->viewport(), option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

void Cell_Delegate::Paint_Cell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!Is_Check(index)) {
        if (const int cut_at = Cut_At(index))
            Paint_Cut(painter, option, index, cut_at);
        else
            QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The cell as usual (background, selection, focus) but without its box,
    // which is drawn in the middle of the cell instead of at its left.
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const Qt::CheckState state = opt.checkState;
    opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    QStyle *style = Style_Of(opt);
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    QStyleOptionViewItem box = opt;
    box.rect = Check_Rect(opt);
    box.state &= ~QStyle::State_HasFocus;
    box.state |= state == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, opt.widget);
}

bool Cell_Delegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                const QModelIndex &index)
{
    if (!Is_Check(index))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const Qt::ItemFlags flags = model->flags(index);
    if (!flags.testFlag(Qt::ItemIsUserCheckable) || !flags.testFlag(Qt::ItemIsEnabled))
        return false;

    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // The press makes the cell current, as in any other column.
        return false;
    case QEvent::MouseButtonDblClick: {
        // Swallowed on the box: the second click's release ticks again.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        return mouse->button() == Qt::LeftButton && Check_Rect(option).contains(mouse->position().toPoint());
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !Check_Rect(option).contains(mouse->position().toPoint()))
            return false;
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select)
            return false;
        break;
    }
    default:
        return false;
    }
    const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

QWidget *Cell_Delegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    const Text_Table *table = Table_Of(index);
    if (!table)
        return QStyledItemDelegate::createEditor(parent, option, index);
    const Column_Desc &column = table->Column(index.column());
    if (column.kind == Cell_Kind::Combo) {
        // Built only for the cell being edited: the 1500 positions of a
        // Position list never exist once per row.
        auto *box = new Cell_Combo(parent);
        box->index = index;
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        // The list's own matching of the text when its line loses the focus
        // (opening the list): the delegate alone decides what goes in.
        QObject::disconnect(box->lineEdit(), SIGNAL(editingFinished()), box, nullptr);
        // A list of 16 items, also in styles that would show as many as the
        // screen holds (1500 positions).
        box->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        box->setMaxVisibleItems(16);
        box->addItems(column.items);
        // Typing completes to the first item the letters begin, in place.
        if (QCompleter *completer = box->completer()) {
            completer->setCompletionMode(QCompleter::InlineCompletion);
            completer->setCaseSensitivity(Qt::CaseInsensitive);
        }
        // Each choice reaches the cell at once (the Write grid fills in the
        // Length when a Data Type is chosen).
        auto *self = const_cast<Cell_Delegate *>(this);
        auto *view = qobject_cast<QAbstractItemView *>(parent->parentWidget());
        connect(box, &QComboBox::activated, self, [self, box, view] {
            // Not once the edit has ended: the list matches its text again
            // when it loses the focus, and would change a cell left as it was.
            if (view && view->indexWidget(box->index) != box)
                return;
            box->chosen = true;
            emit self->commitData(box);
            box->chosen = false;
            // Once the open list has done with the click that chose.
            if (box->listed)
                QMetaObject::invokeMethod(
                    self,
                    [self, kept = QPointer<Cell_Combo>(box)] {
                        if (kept)
                            emit self->closeEditor(kept);
                    },
                    Qt::QueuedConnection);
        });
        return box;
    }
    auto *edit = new QLineEdit(parent);
    edit->setFrame(false);
    // Text cells have no length limit; a longer text read from a document
    // must not be cut when its cell is edited.
    edit->setMaxLength(std::numeric_limits<int>::max());
    return edit;
}

void Cell_Delegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        const QString text = index.data(Qt::EditRole).toString();
        box->setCurrentIndex(box->findText(text));
        box->setEditText(text);
        // The first key typed replaces the text, as in a text cell.
        box->lineEdit()->selectAll();
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void Cell_Delegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (auto *box = dynamic_cast<Cell_Combo *>(editor)) {
        const Text_Table *table = Table_Of(index);
        if (!table)
            return;
        const Result<QString> text = Typed_Text(box, *table);
        if (!text) {
            // Leaving the cell: it keeps its text, and the user is told.
            emit const_cast<Cell_Delegate *>(this)->Refused(Refusal(editor, Msg_Cell_Refused_Left));
            return;
        }
        if (box->chosen || text.Value() != index.data(Qt::EditRole).toString())
            model->setData(index, text.Value(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

QString Cell_Delegate::Refusal(QWidget *editor, int message) const
{
    const auto *box = dynamic_cast<const Cell_Combo *>(editor);
    if (!box || !box->index.isValid())
        return {};
    const Text_Table *table = Table_Of(box->index);
    if (!table)
        return {};
    const Result<QString> text = Typed_Text(box, *table);
    if (text)
        return {};
    const int column = box->index.column();
    QString refusal = Msg(message).arg(Msg(table->Column(column).header_message), Shown_Cell_Text(box->currentText()),
                                       text.Problem());
    if (message == Msg_Cell_Refused_Left)
        refusal = refusal.arg(Shown_Cell_Text(table->Cell(box->index.row(), column)));
    return refusal;
}

bool Cell_Delegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (!editor)
        return QStyledItemDelegate::eventFilter(object, event);
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (tab || enter) {
            // A text the cell refuses stays in the open editor, to be mended.
            if (const QString refusal = Refusal(editor, Msg_Cell_Refused_Editing); !refusal.isEmpty()) {
                emit Refused(refusal);
                return true;
            }
        }
        if (tab) {
            const bool back = key->key() == Qt::Key_Backtab || key->modifiers().testFlag(Qt::ShiftModifier);
            emit commitData(editor);
            if (key->modifiers().testFlag(Qt::ControlModifier)) {
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                emit Leave_Grid(!back);
            } else {
                emit closeEditor(editor,
                                 back ? QAbstractItemDelegate::EditPreviousItem : QAbstractItemDelegate::EditNextItem);
            }
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // The focus went elsewhere (a button): a refused text stays in its
        // editor, where OK finds it; moving to another cell ends the edit.
        if (const QString refusal = Refusal(editor, Msg_Cell_Refused_Editing); !refusal.isEmpty()) {
            if (!QApplication::activePopupWidget())
                emit Refused(refusal);
            return false;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
