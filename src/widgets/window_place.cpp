#include "widgets/window_place.h"

#include "workspace/window_places.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

class Place_Keeper final : public QObject
{
public:
    Place_Keeper(QWidget *window, Window_Places &places)
        : QObject(window)
        , window_(window)
        , places_(places)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The filter sees the showing before the window does: a dialog
        // that finds itself placed no longer centres itself on its parent.
        if (watched == window_ && event->type() == QEvent::Show && !placed_) {
            placed_ = true;
            Restore();
        } else if (watched == window_ && event->type() == QEvent::Hide && placed_) {
            Record();
        }
        return false;
    }

private:
    bool Fixed() const { return window_->minimumSize() == window_->maximumSize(); }

    void Restore()
    {
        const QWidget *parent = window_->parentWidget();
        const QScreen *home = parent ? parent->window()->screen() : window_->screen();
        if (!home)
            home = QGuiApplication::primaryScreen();
        if (!home)
            return;
        QList<QRect> screens;
        for (const QScreen *screen : QGuiApplication::screens())
            screens << screen->availableGeometry();
        std::optional<Saved_Place> saved = places_.Find(window_->objectName());
        if (saved && Fixed())
            saved->size = QSize();
        window_->setGeometry(Opening_Place(saved, window_->size(), screens, home->availableGeometry()));
    }

    void Record()
    {
        // A maximised window keeps the place it returns to.
        QRect area = window_->normalGeometry();
        if (area.isEmpty())
            area = window_->geometry();
        const Saved_Place place{area.topLeft(), Fixed() ? QSize() : area.size()};
        if (places_.Find(window_->objectName()) == place)
            return;
        places_.Set(window_->objectName(), place);
        // Only a convenience: a workspace that cannot be written opens the
        // windows centred next time, without a word.
        (void)places_.Write();
    }

    QWidget *window_;
    Window_Places &places_;
    bool placed_ = false;
};

} // namespace

void Keep_Window_Place(QWidget *window, Window_Places &places)
{
    new Place_Keeper(window, places);
}
