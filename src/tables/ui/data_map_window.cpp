#include "tables/ui/data_map_window.h"

#include "core/messages.h"
#include "core/plain_caption.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/table_messages.h"
#include "widgets/texts.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QtMath>
#include <algorithm>
#include <array>
#include <map>
#include <tuple>

namespace {

constexpr int Heading = 18; // pixels above each area for its caption
constexpr int Gap = 10;     // pixels between the areas

// A colour per row that neighbours tell apart (hues 47 degrees apart), as a
// pixel: light over whole bytes, a deeper shade for a binary object's thin
// slice. Worked out once: a colour from its hue costs more than the pixels
// it fills.
QRgb Row_Rgb(int row, bool bit)
{
    static const auto table = [] {
        std::array<std::array<QRgb, 360>, 2> t{};
        for (int hue = 0; hue < 360; ++hue) {
            const QColor colour = QColor::fromHsv(hue, 90, 235);
            t[0][size_t(hue)] = colour.rgb();
            t[1][size_t(hue)] = colour.darker(140).rgb();
        }
        return t;
    }();
    return table[bit ? 1 : 0][size_t((row * 47) % 360)];
}

QColor Band_Colour(int page)
{
    return page == Page_Uplink ? QColor(30, 90, 200) : QColor(20, 150, 60);
}

QString Row_Name(bool rules, const Byte_Span &s, int page)
{
    const int row = Text_Table::Row_Number(s.row);
    if (rules)
        return Msg(Msg_Map_Rule_Name).arg(Msg(page == Page_Uplink ? Msg_LoRa_Uplink : Msg_LoRa_Downlink)).arg(row);
    const QString table = Msg(page == Page_Read ? Msg_BACnet_Read : Msg_BACnet_Write);
    return s.bit >= 0 ? Msg(Msg_Map_Bit_Name).arg(table).arg(row).arg(s.bit)
                      : Msg(Msg_Map_Row_Name).arg(table).arg(row);
}

// The lists' items measured once per text: a wrapped line is laid out to be
// measured, and after an edit all but a few lines are the same as before.
// The measure depends on the width and the font besides the text; the view
// asks with more than one width, so a few of each are kept.
class Measured_Once : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const auto key = std::tuple(option.rect.width(), option.font.key(), int(option.features));
        if (!sizes_.contains(key) && sizes_.size() >= 4)
            sizes_.clear();
        QHash<QString, QSize> &sizes = sizes_[key];
        if (sizes.size() > 20000) // texts of long gone edits
            sizes.clear();
        const QString text = index.data(Qt::DisplayRole).toString();
        auto at = sizes.constFind(text);
        if (at == sizes.constEnd())
            at = sizes.insert(text, QStyledItemDelegate::sizeHint(option, index));
        return *at;
    }

private:
    mutable std::map<std::tuple<int, QString, int>, QHash<QString, QSize>> sizes_;
};

bool Holds(const Byte_Span &s, int byte)
{
    return s.start <= byte && byte < s.End();
}

} // namespace

Data_Map_View::Data_Map_View(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Data_Map_View"));
    setMouseTracking(true);
}

void Data_Map_View::Show(const Data_Map &map)
{
    map_ = map;
    picture_stale_ = true;
    updateGeometry();
    update();
}

int Data_Map_View::Rows(int area) const
{
    return (map_.area_bytes[area] + Bytes_A_Row - 1) / Bytes_A_Row;
}

QSize Data_Map_View::sizeHint() const
{
    return {Offset_Width + Bytes_A_Row * Cell + 1, 2 * Heading + Gap + (Rows(Page_Read) + Rows(Page_Write)) * Cell + 1};
}

QRect Data_Map_View::Byte_Rect(int area, int byte) const
{
    const int top = Heading + (area == Page_Write ? Rows(Page_Read) * Cell + Gap + Heading : 0);
    return {Offset_Width + (byte % Bytes_A_Row) * Cell, top + (byte / Bytes_A_Row) * Cell, Cell, Cell};
}

bool Data_Map_View::Byte_At(QPoint point, int &area, int &byte) const
{
    for (int a : {int(Page_Read), int(Page_Write)}) {
        const QRect first = Byte_Rect(a, 0);
        const int column = (point.x() - first.left()) / Cell;
        const int row = (point.y() - first.top()) / Cell;
        if (point.x() < first.left() || column >= Bytes_A_Row || point.y() < first.top() || row >= Rows(a))
            continue;
        byte = row * Bytes_A_Row + column;
        area = a;
        return byte < map_.area_bytes[a];
    }
    return false;
}

QStringList Data_Map_View::Names_At(int area, int byte) const
{
    QStringList names{Msg(Msg_Map_Byte_Name).arg(byte)};
    for (const Byte_Span &s : map_.objects[area])
        if (Holds(s, byte))
            names << Row_Name(false, s, area);
    for (int page : {int(Page_Uplink), int(Page_Downlink)})
        for (const Byte_Span &s : map_.rules[page])
            if (Holds(s, byte))
                names << Row_Name(true, s, page);
    return names;
}

// What lies on the bytes is drawn once per map into an image, pixel by
// pixel: thousands of small rectangles through the painter cost several
// times the grid itself, and the tips and the scrolling paint again often.
// The image is kept from one map to the next: a new one of this size would
// cost more in fresh memory than drawing on it.
void Data_Map_View::Draw_Picture()
{
    const qreal ratio = devicePixelRatioF();
    if (picture_.size() != sizeHint() * ratio || picture_.devicePixelRatio() != ratio) {
        picture_ = QImage(sizeHint() * ratio, QImage::Format_RGB32);
        picture_.setDevicePixelRatio(ratio);
    }
    picture_base_ = palette().base().color();
    picture_stale_ = false;
    QImage &picture = picture_;
    picture.fill(picture_base_);
    // A rectangle in the widget's pixels, filled in the image's.
    const auto fill = [&picture, ratio](const QRect &r, QRgb colour) {
        const QRect at = QRect(QPoint(qFloor(r.left() * ratio), qFloor(r.top() * ratio)),
                               QPoint(qCeil((r.right() + 1) * ratio) - 1, qCeil((r.bottom() + 1) * ratio) - 1)) &
                         picture.rect();
        for (int y = at.top(); y <= at.bottom(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
            std::fill(line + at.left(), line + at.right() + 1, colour);
        }
    };
    const QRgb overlap = qRgb(220, 40, 40);
    for (int area : {int(Page_Read), int(Page_Write)}) {
        const int bytes = map_.area_bytes[area];
        // Whole bytes and bits held, to draw overlaps as such.
        std::vector<int> whole(size_t(bytes), 0);
        std::vector<std::array<int, 8>> bits(size_t(bytes), std::array<int, 8>{});
        for (const Byte_Span &s : map_.objects[area]) {
            const QRgb own = Row_Rgb(s.row, false);
            const QRgb bit_colour = Row_Rgb(s.row, true);
            for (qint64 b = s.start; b < std::min<qint64>(s.End(), bytes); ++b) {
                const QRect r = Byte_Rect(area, int(b));
                if (s.bit >= 0) {
                    // Inside the byte's lines, bit 0 on the left: a slice of 1
                    // or 2 pixels, in a deeper shade to be seen at all.
                    const int x0 = r.left() + 1 + s.bit * (Cell - 1) / 8;
                    const int x1 = r.left() + 1 + (s.bit + 1) * (Cell - 1) / 8;
                    const bool clash = whole[size_t(b)] > 0 || bits[size_t(b)][size_t(s.bit)] > 0;
                    fill(QRect(x0, r.top(), std::max(x1 - x0, 1), Cell), clash ? overlap : bit_colour);
                    ++bits[size_t(b)][size_t(s.bit)];
                } else {
                    const bool any_bit =
                        std::any_of(bits[size_t(b)].begin(), bits[size_t(b)].end(), [](int n) { return n > 0; });
                    fill(r, whole[size_t(b)] > 0 || any_bit ? overlap : own);
                    ++whole[size_t(b)];
                }
            }
        }
        // The rules over the same bytes: uplinks along the top, downlinks
        // along the bottom of each byte.
        for (int page : {int(Page_Uplink), int(Page_Downlink)}) {
            const QRgb band = Band_Colour(page).rgb();
            for (const Byte_Span &s : map_.rules[page])
                for (qint64 b = s.start; b < std::min<qint64>(s.End(), bytes); ++b) {
                    const QRect r = Byte_Rect(area, int(b));
                    fill(QRect(r.left(), page == Page_Uplink ? r.top() : r.bottom() - 2, Cell, 3), band);
                }
        }
    }
}

// The bands' colours named, right-aligned in the heading of the first area:
// the uplink rules along the top of the bytes, the downlink rules along the
// bottom.
void Data_Map_View::Draw_Legend(QPainter &p, const QRect &heading) const
{
    int right = heading.right();
    for (int page : {int(Page_Downlink), int(Page_Uplink)}) {
        const QString text = Msg(page == Page_Uplink ? Msg_LoRa_Uplink : Msg_LoRa_Downlink);
        const int text_width = p.fontMetrics().horizontalAdvance(text);
        const QRect label(right - text_width, heading.top(), text_width, heading.height());
        p.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, text);
        const QRect swatch(label.left() - Cell - 4, heading.center().y() - Cell / 2, Cell, Cell);
        p.fillRect(swatch, palette().base());
        p.fillRect(QRect(swatch.left(), page == Page_Uplink ? swatch.top() : swatch.bottom() - 2, Cell, 3),
                   Band_Colour(page));
        p.save();
        p.setPen(palette().mid().color());
        p.drawRect(swatch.adjusted(0, 0, -1, -1));
        p.restore();
        right = swatch.left() - 12;
    }
}

void Data_Map_View::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const bool empty =
        std::all_of(std::begin(map_.objects), std::end(map_.objects), [](const auto &v) { return v.empty(); }) &&
        std::all_of(std::begin(map_.rules), std::end(map_.rules), [](const auto &v) { return v.empty(); });
    if (empty) {
        p.fillRect(event->rect(), palette().base());
    } else {
        if (picture_stale_ || picture_.devicePixelRatio() != devicePixelRatioF() ||
            picture_base_ != palette().base().color())
            Draw_Picture();
        p.fillRect(event->rect(), palette().base());
        p.drawImage(QPoint(0, 0), picture_);
    }
    for (int area : {int(Page_Read), int(Page_Write)}) {
        const QRect first = Byte_Rect(area, 0);
        p.setPen(palette().text().color());
        const QRect heading(first.left(), first.top() - Heading, width() - first.left(), Heading);
        p.drawText(heading, Qt::AlignLeft | Qt::AlignVCenter,
                   Msg(area == Page_Read ? Msg_BACnet_Read : Msg_BACnet_Write));
        if (area == Page_Read)
            Draw_Legend(p, heading);
        // Each row's first offset, so that a byte can be found without pointing.
        p.save();
        QFont small = p.font();
        small.setPixelSize(Cell - 2);
        p.setFont(small);
        p.setPen(palette().placeholderText().color());
        for (int row = 0; row < Rows(area); ++row) {
            const QRect r = Byte_Rect(area, row * Bytes_A_Row);
            p.drawText(QRect(0, r.top(), Offset_Width - 4, Cell), Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(row * Bytes_A_Row));
        }
        p.restore();
        p.setPen(palette().mid().color());
        for (int b = 0; b < map_.area_bytes[area]; ++b)
            p.drawRect(Byte_Rect(area, b).adjusted(0, 0, -1, -1));
    }
}

bool Data_Map_View::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        int area = 0;
        int byte = 0;
        if (Byte_At(help->pos(), area, byte))
            QToolTip::showText(help->globalPos(), Names_At(area, byte).join(u'\n'), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void Data_Map_View::mousePressEvent(QMouseEvent *event)
{
    int area = 0;
    int byte = 0;
    if (!Byte_At(event->position().toPoint(), area, byte))
        return;
    for (const Byte_Span &s : map_.objects[area])
        if (Holds(s, byte)) {
            emit Row_Chosen(false, area, s.row);
            return;
        }
    for (int page : {int(Page_Uplink), int(Page_Downlink)})
        for (const Byte_Span &s : map_.rules[page])
            if (Holds(s, byte)) {
                emit Row_Chosen(true, page, s.row);
                return;
            }
}

Data_Map_Window::Data_Map_Window(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Data_Map_Window"));
    View = new Data_Map_View;
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(View);
    scroll->setWidgetResizable(false);
    scroll->setMinimumWidth(View->sizeHint().width() + 24);
    Lists = new QListWidget(this);
    Lists->setObjectName(QStringLiteral("Lists"));
    Lists->setWordWrap(true);
    // Wrapped lines told apart.
    Lists->setAlternatingRowColors(true);
    Lists->setItemDelegate(new Measured_Once(Lists));
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(scroll, 0);
    layout->addWidget(Lists, 1);
    resize(1000, 600);
    Set_Lang();
}

void Data_Map_Window::Show(const Data_Map &map)
{
    View->Show(map);
    View->resize(View->sizeHint());
    // Most edits leave the lists as they were: filled again, they would be
    // laid out again.
    const QStringList lines = Data_Map_Lines(map);
    bool same = Lists->count() == lines.size();
    for (int i = 0; same && i < lines.size(); ++i)
        same = Lists->item(i)->text() == lines[i];
    if (same)
        return;
    Lists->clear();
    Lists->addItems(lines);
}

void Data_Map_Window::Set_Lang()
{
    setWindowTitle(Plain_Caption(Msg(Msg_Map_Button)));
    Show(View->Map());
}
