#include "workspace/window_places.h"

#include "core/int_read.h"
#include "core/xml_document.h"

namespace {

// No screen is this far out or this large: a hand-edited number beyond it
// counts as damaged, which also keeps the sums of the geometry in range.
constexpr int Farthest = 100000;

bool Read_Number(pugi::xml_node node, const char *name, int lowest, int *value)
{
    QString text;
    return Attr_Text(node, name, &text) && Try_Str_To_Int(text, value) && *value >= lowest && *value <= Farthest;
}

QRect Centred(const QSize &size, const QRect &home)
{
    QRect area(QPoint(0, 0), size.boundedTo(home.size()));
    area.moveCenter(home.center());
    return area;
}

} // namespace

QString Window_Places::File_In(const QString &root)
{
    return root + QStringLiteral("/Windows.xml");
}

Window_Places Window_Places::Read(const QString &path)
{
    Window_Places places;
    places.path_ = path;
    Xml_Document doc;
    if (doc.Load(path) != Xml_Document::State::Loaded)
        return places;
    for (pugi::xml_node node : doc.Root().children("window")) {
        const QString name = QString::fromUtf8(node.attribute("name").value());
        Saved_Place place;
        int left = 0;
        int top = 0;
        if (name.isEmpty() || !Read_Number(node, "left", -Farthest, &left) ||
            !Read_Number(node, "top", -Farthest, &top))
            continue;
        place.top_left = QPoint(left, top);
        int width = 0;
        int height = 0;
        if (Read_Number(node, "width", 1, &width) && Read_Number(node, "height", 1, &height))
            place.size = QSize(width, height);
        places.places_.insert(name, place);
    }
    return places;
}

Result<> Window_Places::Write() const
{
    Xml_Document doc;
    pugi::xml_node root = doc.Begin("Window_Places", false);
    for (auto it = places_.cbegin(); it != places_.cend(); ++it) {
        pugi::xml_node node = root.append_child("window");
        Add_Attr(node, "name", it.key());
        Add_Attr(node, "left", QString::number(it->top_left.x()));
        Add_Attr(node, "top", QString::number(it->top_left.y()));
        if (it->size.isValid()) {
            Add_Attr(node, "width", QString::number(it->size.width()));
            Add_Attr(node, "height", QString::number(it->size.height()));
        }
    }
    return doc.Save(path_);
}

std::optional<Saved_Place> Window_Places::Find(const QString &window) const
{
    const auto it = places_.constFind(window);
    if (it == places_.cend())
        return std::nullopt;
    return *it;
}

void Window_Places::Set(const QString &window, const Saved_Place &place)
{
    places_.insert(window, place);
}

namespace {

// The screen that shows the widest part of the window's grip, if any shows
// enough of it.
std::optional<QRect> Gripping_Screen(const QRect &area, const QList<QRect> &screens)
{
    const QRect grip(area.topLeft(), QSize(area.width(), std::min(area.height(), Grip_Height)));
    int widest = std::min(area.width(), Grip_Width) - 1;
    std::optional<QRect> found;
    for (const QRect &screen : screens) {
        const QRect shown = screen.intersected(grip);
        if (!shown.isEmpty() && shown.height() == grip.height() && shown.width() > widest) {
            widest = shown.width();
            found = screen;
        }
    }
    return found;
}

} // namespace

QRect Opening_Place(const std::optional<Saved_Place> &saved, const QSize &size, const QList<QRect> &screens,
                    const QRect &home)
{
    const QSize wanted = saved && saved->size.isValid() ? saved->size : size;
    if (saved) {
        const QRect area(saved->top_left, wanted);
        if (const std::optional<QRect> screen = Gripping_Screen(area, screens))
            return QRect(area.topLeft(), wanted.boundedTo(screen->size()));
    }
    return Centred(wanted, home);
}
