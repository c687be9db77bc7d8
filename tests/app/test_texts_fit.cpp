// Every caption, column title, tab, check box, label and button text shows
// whole, in English and in Italian: each is measured with the font its
// widget really uses against the room the widget gives it.

#include "app/about.h"
#include "app/new_project.h"
#include "app/open_conf.h"
#include "main_window_fixture.h"
#include "params/ui/category_panel.h"
#include "params/ui/par_gen.h"
#include "update/ui/boot_window.h"
#include "widgets/problems_bar.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

namespace {

const QString Italian_File = QStringLiteral(SW_DATA_DIR "/LANGUAGE/Italiano.lng");

// One text and the room it has, in pixels.
struct Fit
{
    QString what; // the kind of widget
    QString text;
    QSize need;
    QSize room;
};

// A push button: its text and picture, plus the margins and frame that the
// style puts around them, within the button's width.
Fit Button_Fit(const QPushButton *button)
{
    QStyleOptionButton bare;
    bare.initFrom(button);
    if (button->isFlat())
        bare.features |= QStyleOptionButton::Flat;
    if (button->autoDefault() || button->isDefault())
        bare.features |= QStyleOptionButton::AutoDefaultButton;
    const QFontMetrics fm = button->fontMetrics();
    // Asked without text or picture, the style gives its margins alone
    // (with a text, some styles add a least width that is no need).
    const QSize margins = button->style()->sizeFromContents(QStyle::CT_PushButton, &bare, QSize(0, 0), button);
    QSize need = fm.size(Qt::TextShowMnemonic, button->text()) + margins;
    if (!button->icon().isNull())
        need.rwidth() += button->iconSize().width() + 4;
    return {QStringLiteral("button"), button->text(), QSize(need.width(), fm.height()),
            QSize(button->width(), button->height())};
}

// The texts a widget shows and their room; none for a widget without text.
QList<Fit> Fits_Of(QWidget *widget)
{
    QList<Fit> fits;
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        if (!button->text().isEmpty())
            fits << Button_Fit(button);
    } else if (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget)) {
        auto *box = static_cast<QAbstractButton *>(widget);
        if (!box->text().isEmpty())
            fits << Fit{QStringLiteral("check box"), box->text(), box->sizeHint(), box->size()};
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        if (label->text().trimmed().isEmpty() || label->text() == u".")
            return fits;
        if (label->wordWrap()) {
            // Wrapped: the lines must fit the height.
            fits << Fit{QStringLiteral("wrapped label"), label->text(),
                        QSize(label->width(), label->heightForWidth(label->width())), label->size()};
        } else {
            fits << Fit{QStringLiteral("label"), label->text(), label->sizeHint(), label->size()};
        }
    } else if (auto *tabs = qobject_cast<QTabBar *>(widget)) {
        const int space = tabs->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabs);
        for (int i = 0; i < tabs->count(); ++i) {
            const QRect tab = tabs->tabRect(i);
            QSize room = tab.size();
            // A tab beyond the bar's end is not shown at all.
            room.setWidth(std::min(tab.right() + 1, tabs->width()) - tab.left());
            const QSize text = tabs->fontMetrics().size(Qt::TextShowMnemonic, tabs->tabText(i));
            fits << Fit{QStringLiteral("tab"), tabs->tabText(i), QSize(text.width() + space, text.height()), room};
        }
    } else if (auto *header = qobject_cast<QHeaderView *>(widget); header && header->orientation() == Qt::Horizontal) {
        const QAbstractItemModel *model = header->model();
        const bool wrap = header->defaultAlignment() & Qt::TextWordWrap;
        for (int c = 0; model && c < header->count(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            QStyleOptionHeader option;
            option.initFrom(header);
            option.rect = QRect(0, 0, header->sectionSize(c), header->height());
            option.section = c;
            // Across, the style's label room; down, the whole title row.
            const QRect room = header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header);
            const QString text = model->headerData(c, Qt::Horizontal).toString();
            const int flags = int(header->defaultAlignment()) | (wrap ? int(Qt::TextWordWrap) : 0);
            const QSize need = header->fontMetrics().boundingRect(QRect(0, 0, room.width(), 10000), flags, text).size();
            fits << Fit{QStringLiteral("column title"), text, need, QSize(room.width(), header->height())};
        }
    } else if (auto *panel = qobject_cast<Category_Panel *>(widget); panel && panel->isVisible()) {
        // The title is drawn in bold, 8 px from the left and clear of the
        // 28 px chevron on the right.
        QFont bold = panel->Header()->font();
        bold.setBold(true);
        const QFontMetrics fm(bold);
        fits << Fit{QStringLiteral("group title"), panel->Caption(),
                    QSize(fm.horizontalAdvance(panel->Caption()) + 8 + 28, fm.height()), panel->Header()->size()};
    }
    return fits;
}

// A widget placed on a container of its own shows only what lies inside
// that container.
bool Outside_Parent(const QWidget *widget)
{
    const QWidget *parent = widget->parentWidget();
    if (!parent || widget->isWindow() || !widget->isVisible() || qobject_cast<const QTabBar *>(widget))
        return false;
    return !parent->rect().contains(widget->geometry());
}

QString Name_Of(const QWidget *widget)
{
    if (!widget->objectName().isEmpty())
        return widget->objectName();
    return QString::fromLatin1(widget->metaObject()->className());
}

// Brings every page of the window's page control forward in turn, and
// every caption of the update button, running `measure` each time.
void For_Each_State(QWidget *window, const std::function<void()> &measure)
{
    QList<std::function<void()>> states;
    for (QTabWidget *pages : window->findChildren<QTabWidget *>())
        for (int i = 0; i < pages->count(); ++i)
            states << [pages, i] { pages->setCurrentIndex(i); };
    // The parameter window with BACnet/IP and ABP, then with MS/TP (and the
    // Ethernet group) and OTAA.
    if (auto *parameters = qobject_cast<TFParGen *>(window))
        for (int i = 0; i < 2; ++i)
            states << [parameters, i] {
                parameters->findChild<QComboBox *>(Key_Name(ParGen_Key::BACnet_Type))->setCurrentIndex(i);
                parameters->findChild<QComboBox *>(Key_Name(ParGen_Key::LoRa_Activation_Method))->setCurrentIndex(i);
            };
    if (auto *boot = qobject_cast<TFBoot *>(window))
        for (int i = 0; i < boot->CB_Update_Options->count(); ++i)
            states << [boot, i] { boot->CB_Update_Options->setCurrentIndex(i); };
    // The line that counts problems, with the most a window can have of
    // each, without warnings (the parameter window) and with none.
    for (Problems_Bar *bar : window->findChildren<Problems_Bar *>())
        for (const auto &[errors, warnings] : {std::pair{4000, 6000}, std::pair{58, -1}, std::pair{0, 0}})
            states << [bar, e = errors, w = warnings] { bar->Show_Counts(e, w); };
    if (states.isEmpty())
        states << [] {};
    for (const auto &state : states) {
        state();
        // The grids fit their last column once the resizing has gone round.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        measure();
    }
}

} // namespace

class Test_Texts_Fit : public Main_Window_Fixture
{
    Q_OBJECT

    QList<QWidget *> Windows() const
    {
        return {w_->FQuarneleFirmWare,
                w_->FNew_Project,
                w_->FOpenConf,
                w_->FAbout,
                w_->FSoftOptions,
                w_->FParGen,
                w_->FBoot,
                w_->FLoRa_Set_Access,
                w_->FBACnet_Eng_Unit,
                w_->FBACnetSlaveSetAccess};
    }

    // Every text of `window` that does not fit, one line each.
    QStringList Cut_Texts(QWidget *window, const QString &language)
    {
        QStringList cut;
        const bool was_shown = window->isVisible();
        window->show();
        For_Each_State(window, [&] {
            QList<QWidget *> widgets = window->findChildren<QWidget *>();
            for (QWidget *widget : widgets) {
                // The other windows are the main window's children; a widget
                // that was never given a place shows nothing yet.
                if (widget->window() != window ||
                    (!widget->testAttribute(Qt::WA_Resized) && !widget->isVisibleTo(window)))
                    continue;
                for (const Fit &fit : Fits_Of(widget)) {
                    const bool fits = fit.need.width() <= fit.room.width() && fit.need.height() <= fit.room.height();
                    if (!fits || Outside_Parent(widget))
                        cut << QStringLiteral("%1, %2 (%3) in %4: \"%5\" needs %6x%7, has %8x%9%10")
                                   .arg(window->objectName(), Name_Of(widget), fit.what, language, fit.text)
                                   .arg(fit.need.width())
                                   .arg(fit.need.height())
                                   .arg(fit.room.width())
                                   .arg(fit.room.height())
                                   .arg(fits ? QStringLiteral(", beyond its container's edge") : QString());
                }
            }
        });
        if (!was_shown)
            window->hide();
        cut.removeDuplicates();
        return cut;
    }

private slots:
    void init() { Set_Up(); }
    void cleanup() { Tear_Down(); }

    void every_text_shows_whole()
    {
        // The new-version link is measured as it would show.
        w_->FQuarneleFirmWare->LL_Update->show();
        QStringList cut;
        for (const QString &language : {QStringLiteral("English"), QStringLiteral("Italiano")}) {
            Messages().Build_Default_Messages();
            if (language != u"English")
                QVERIFY(Messages().Read_Language_File(Italian_File).Ok());
            w_->FQuarneleFirmWare->Change_Language();
            for (QWidget *window : Windows())
                cut << Cut_Texts(window, language);
        }
        Message_Box::Take_Shown();
        QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("\n") + cut.join(u'\n')));
    }
};

QTEST_MAIN(Test_Texts_Fit)
#include "test_texts_fit.moc"
