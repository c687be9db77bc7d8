#include "widgets/style.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

void Apply_Window_Style(QWidget *window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, QColor(0xF8, 0xF7, 0xED));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    QFont font(QStringLiteral("Verdana"));
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    font.setPixelSize(11);
    window->setFont(font);
}

QIcon Theme_Icon(const QString &name, QStyle::StandardPixmap fallback, int size)
{
    // Every picture at the same size: some of the style's own come only at
    // 16 pixels and would otherwise stand smaller than their neighbours.
    const QIcon icon = QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
    const QPixmap pixmap = icon.pixmap(size, size);
    if (pixmap.width() >= size)
        return icon;
    return QIcon(pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QString Flat_Button_Sheet(bool framed)
{
    // The frame takes the same 2 px at rest, so that the picture does not
    // move when the focus comes.
    const QString rest = framed ? QStringLiteral("border: 1px solid #D8D6C4; background: #FFFFFF; padding: 1px;")
                                : QStringLiteral("border: 2px solid transparent; background: transparent;");
    const QString align = framed ? QStringLiteral("text-align: left; padding-left: 6px;") : QString();
    return QStringLiteral("QPushButton { %1 %2 border-radius: 3px; }"
                          "QPushButton:hover { background: #EEF3FA; border-color: #7A9CC6; }"
                          "QPushButton:focus { border: 2px solid #3B6EA5; padding: 0px; %3 }"
                          "QPushButton:pressed { background: #DCE6F3; }")
        .arg(rest, align, framed ? QStringLiteral("padding-left: 5px;") : QString());
}

QPixmap Program_Picture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = size * 0.12;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x5C, 0x8A));
    p.drawRoundedRect(QRectF(0, 0, size, size), r, r);
    // Two linked nodes: the LoRaWAN side and the BACnet side of the converter.
    p.setBrush(QColor(0xF8, 0xF7, 0xED));
    p.drawEllipse(QPointF(size * 0.28, size * 0.36), size * 0.11, size * 0.11);
    p.drawEllipse(QPointF(size * 0.72, size * 0.36), size * 0.11, size * 0.11);
    p.setPen(QPen(QColor(0xF8, 0xF7, 0xED), size * 0.05));
    p.drawLine(QPointF(size * 0.39, size * 0.36), QPointF(size * 0.61, size * 0.36));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(qMax(6, int(size * 0.22)));
    p.setFont(font);
    p.drawText(QRectF(0, size * 0.55, size, size * 0.35), Qt::AlignCenter, QStringLiteral("52K31"));
    return pixmap;
}
