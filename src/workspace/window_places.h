#pragma once

#include "core/result.h"

#include <QList>
#include <QMap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

// Where each window was when it last closed, kept for the next start in a
// file of its own beside the settings, so that "Quarnel.xml" keeps its form:
//
//   <Window_Places><window name="FLoRa_Set_Access" left="120" top="80"
//   width="900" height="540"/>...</Window_Places>
//
// A place is the window's client area (inside its frame) in screen
// coordinates. A window of fixed size keeps its position only.

// A window's place as it last closed.
struct Saved_Place
{
    QPoint top_left;
    QSize size; // invalid for a window whose size is fixed

    bool operator==(const Saved_Place &) const = default;
};

class Window_Places
{
public:
    // "Windows.xml" in the workspace root.
    static QString File_In(const QString &root);

    // Reads the file at `path`, leniently: a missing or damaged file gives no
    // places, an entry without a name or a whole position is left out, and
    // a size that is not two positive numbers is dropped from its entry.
    // The places remember `path` for Write.
    static Window_Places Read(const QString &path);

    // Writes every place to the file that Read named, replacing it whole and
    // atomically. The file is only a convenience: the caller may ignore a
    // failure.
    Result<> Write() const;

    std::optional<Saved_Place> Find(const QString &window) const;
    void Set(const QString &window, const Saved_Place &place);
    const QMap<QString, Saved_Place> &All() const { return places_; }

private:
    QString path_;
    QMap<QString, Saved_Place> places_;
};

// A saved place is used only when one screen shows enough of the window's
// top edge to take hold of it: Grip_Width pixels of it (the whole width of a
// narrower window) on the first Grip_Height pixels below it. A place left on
// a monitor that was unplugged fails this.
inline constexpr int Grip_Width = 100;
inline constexpr int Grip_Height = 24;

// Where a window of `size` opens, given the available areas of the screens
// and `home`, the one it belongs on (its parent's): the saved place when it
// is within reach, its size cut to the screen that shows it; otherwise
// centred on `home`, at the saved size when there is one, cut to `home`.
QRect Opening_Place(const std::optional<Saved_Place> &saved, const QSize &size, const QList<QRect> &screens,
                    const QRect &home);
