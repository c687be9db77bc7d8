#include "params/ui/category_panel.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

// The clickable band at the top of a panel: the title on the left, and on
// the right a chevron that points down while the panel is expanded and
// right while it is collapsed.
class Panel_Header : public QWidget
{
public:
    explicit Panel_Header(Category_Panel *panel)
        : QWidget(panel)
        , panel_(panel)
    {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::NoFocus);
    }

    QString Caption;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient band(0, 0, 0, height());
        band.setColorAt(0, QColor(0xEE, 0xEC, 0xDD));
        band.setColorAt(1, QColor(0xDB, 0xD8, 0xC4));
        p.fillRect(rect(), band);
        p.setPen(QColor(0xC4, 0xC0, 0xA8));
        p.drawLine(0, height() - 1, width(), height() - 1);

        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(QColor(0x3C, 0x3C, 0x3C));
        p.drawText(rect().adjusted(8, 0, -28, 0), Qt::AlignVCenter | Qt::AlignLeft, Caption);

        const QPointF c(width() - 14.0, height() / 2.0);
        QPainterPath chevron;
        if (panel_->Collapsed()) {
            chevron.moveTo(c + QPointF(-2, -4));
            chevron.lineTo(c + QPointF(2, 0));
            chevron.lineTo(c + QPointF(-2, 4));
        } else {
            chevron.moveTo(c + QPointF(-4, -2));
            chevron.lineTo(c + QPointF(0, 2));
            chevron.lineTo(c + QPointF(4, -2));
        }
        p.setPen(QPen(QColor(0x5A, 0x5A, 0x5A), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(chevron);
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            panel_->Set_Collapsed(!panel_->Collapsed());
    }

private:
    Category_Panel *panel_;
};

Category_Panel::Category_Panel(QWidget *parent)
    : QWidget(parent)
    , header_(new Panel_Header(this))
    , client_(new QWidget(this))
{
    Apply_Height();
}

QWidget *Category_Panel::Header() const
{
    return header_;
}

void Category_Panel::Set_Caption(const QString &caption)
{
    header_->Caption = caption;
    header_->update();
}

QString Category_Panel::Caption() const
{
    return header_->Caption;
}

void Category_Panel::Set_Client_Height(int height)
{
    client_height_ = height;
    Apply_Height();
}

void Category_Panel::Set_Collapsed(bool collapsed)
{
    collapsed_ = collapsed;
    client_->setVisible(!collapsed);
    header_->update();
    Apply_Height();
}

void Category_Panel::Apply_Height()
{
    const int height = collapsed_ ? Header_Height() : Expanded_Height();
    if (height == this->height())
        return;
    resize(width(), height);
    emit Height_Changed();
}

void Category_Panel::resizeEvent(QResizeEvent *event)
{
    header_->setGeometry(0, 0, width(), Header_Height());
    client_->setGeometry(0, Header_Height(), width(), client_height_);
    QWidget::resizeEvent(event);
}

Category_Panel_Group::Category_Panel_Group(QWidget *parent)
    : QScrollArea(parent)
    , stack_(new QWidget)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    // The panels take the viewport's width, which shrinks when the scroll
    // bar appears; the stack is sized here, not by the scroll area.
    setWidgetResizable(false);
    setWidget(stack_);
    viewport()->setAutoFillBackground(false);
    viewport()->installEventFilter(this);
}

Category_Panel *Category_Panel_Group::Add_Panel()
{
    auto *panel = new Category_Panel(stack_);
    panel->installEventFilter(this);
    connect(panel, &Category_Panel::Height_Changed, this, &Category_Panel_Group::Restack);
    panels_ << panel;
    Restack();
    return panel;
}

void Category_Panel_Group::Restack()
{
    const int width = viewport()->width();
    int y = 0;
    for (Category_Panel *panel : panels_) {
        if (panel->isHidden())
            continue;
        panel->setGeometry(0, y, width, panel->height());
        y += panel->height();
    }
    stack_->resize(width, y);
}

bool Category_Panel_Group::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((watched == viewport() && type == QEvent::Resize) ||
        (watched != viewport() && (type == QEvent::ShowToParent || type == QEvent::HideToParent)))
        Restack();
    return QScrollArea::eventFilter(watched, event);
}
