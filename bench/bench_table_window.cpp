// Opens the object window over two full tables (2000 rows each) and prints
// the time from show to the first paint of its grid beside the same for a
// bare QTableView over a plain model of the same size, then the time to
// scroll through every row of each, one row at a time with a paint each.
//
// The window reads its document at every showing, so the bare view is timed
// twice: reading the same document into two plain models at each showing
// (the like-for-like figure, held to 1.5 times), and over a model filled
// once (what the view alone costs). Runs offscreen unless a platform is chosen.

#include "bench_support.h"
#include "bench_window.h"
#include "tables/bacnet_access.h"
#include "tables/ui/bacnet_eng_unit.h"
#include "tables/ui/bacnet_slave_set_access.h"
#include "tables/ui/table_grid.h"
#include "workspace/workspace.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <pugixml.hpp>
#include <vector>

namespace {

constexpr int Runs = 31;
constexpr int Columns = 7;
const char *const Attributes[Columns] = {"Data_Type", "Eng_Unit", "Position", "Bit", "Length", "Swap", "Mnemonic"};

QByteArray Full_Object_Document(int rows)
{
    QByteArray doc = "<BACnet_to_Modbus>";
    for (const char *group : {"BACnet_in_Read", "BACnet_in_Write"}) {
        doc += QByteArray("<") + group + ">";
        for (int i = 0; i < rows; ++i)
            doc += "<row Data_Type=\"Analog Value\" Eng_Unit=\"62\" Position=\"" + QByteArray::number(i % 1497) +
                   "\" Bit=\"\" Length=\"4\" Swap=\"N\" Mnemonic=\"Object number " + QByteArray::number(i) +
                   " of the plant\"/>";
        doc += QByteArray("</") + group + ">";
    }
    return doc + "</BACnet_to_Modbus><!--SW_VERSION = 1.000-->";
}

// The plain model of the comparison: the cells of one table, nothing else.
class Plain_Model : public QAbstractTableModel
{
public:
    // Reads a table of the document.
    void Load(const pugi::xml_document &doc, const char *group)
    {
        beginResetModel();
        cells_.clear();
        rows_ = 0;
        for (pugi::xml_node row : doc.document_element().child(group).children()) {
            for (const char *name : Attributes)
                cells_.append(QString::fromUtf8(row.attribute(name).value()));
            ++rows_;
        }
        endResetModel();
    }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : Columns; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return QVariant();
        return cells_[qsizetype(index.row()) * Columns + index.column()];
    }

private:
    int rows_ = 0;
    QList<QString> cells_;
};

// A window holding only a bare view over the first of two tables; when
// asked to, it reads both tables again at each showing, as the object
// window does.
class Bare_Window : public QWidget
{
public:
    Bare_Window(const QString &path, bool load_on_show)
        : path_(path)
        , load_on_show_(load_on_show)
    {
        view.setParent(this);
        view.setModel(&model);
        Load();
    }
    Plain_Model model;
    Plain_Model second;
    QTableView view;

protected:
    void showEvent(QShowEvent *event) override
    {
        if (load_on_show_)
            Load();
        QWidget::showEvent(event);
    }

    void Load()
    {
        pugi::xml_document doc;
        doc.load_file(QFile::encodeName(path_).constData());
        model.Load(doc, "BACnet_in_Read");
        second.Load(doc, "BACnet_in_Write");
    }

private:
    QString path_;
    bool load_on_show_;
};

// Notes the first paint of a viewport.
class Paint_Watch : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Shows `window` once, until `viewport` has painted, and hides it again.
// False when it never painted.
bool Time_Showing(QWidget *window, QWidget *viewport, Timing &timing)
{
    Paint_Watch watch;
    viewport->installEventFilter(&watch);
    QElapsedTimer t;
    t.start();
    window->show();
    while (!watch.painted && t.elapsed() < 5000)
        QCoreApplication::processEvents();
    timing.ms.push_back(double(t.nsecsElapsed()) / 1e6);
    viewport->removeEventFilter(&watch);
    window->hide();
    QCoreApplication::processEvents();
    return watch.painted;
}

// Scrolls one row at a time from the top to the bottom, painting each step;
// returns the total in ms.
double Scroll_Through(QTableView *view)
{
    view->window()->show();
    QScrollBar *bar = view->verticalScrollBar();
    bar->setValue(0);
    QCoreApplication::processEvents();
    QElapsedTimer t;
    t.start();
    for (int v = 0; v <= bar->maximum(); ++v) {
        bar->setValue(v);
        view->viewport()->repaint();
    }
    const double ms = double(t.nsecsElapsed()) / 1e6;
    view->window()->hide();
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    Bench_Window_Setup setup(argc, argv);
    Workspace &ws = setup.ws;
    {
        QFile f(ws.File_BACnet_Slave_Access);
        if (!f.open(QIODevice::WriteOnly) || f.write(Full_Object_Document(Objects_Short_Desc)) < 0)
            return 1;
    }

    TFBACnet_Eng_Unit picker(ws);
    TFBACnetSlaveSetAccess window(ws, &picker);
    Bare_Window reading(ws.File_BACnet_Slave_Access, true);
    Bare_Window filled(ws.File_BACnet_Slave_Access, false);
    // A first showing of each lays it out and loads what is loaded once.
    Timing first;
    if (!Time_Showing(&window, window.ACG_BACnet_in_Read->viewport(), first))
        return 1;
    for (Bare_Window *bare : {&reading, &filled}) {
        bare->resize(window.size());
        bare->view.setGeometry(QRect(QPoint(0, 100), window.ACG_BACnet_in_Read->size()));
        if (bare->model.rowCount() != Objects_Short_Desc || !Time_Showing(bare, bare->view.viewport(), first))
            return 1;
    }

    // The three are shown in turn, so that a busy moment of the machine
    // falls on all of them alike.
    Timing window_open, reading_open, filled_open;
    for (int i = 0; i < Runs; ++i) {
        if (!Time_Showing(&window, window.ACG_BACnet_in_Read->viewport(), window_open) ||
            !Time_Showing(&reading, reading.view.viewport(), reading_open) ||
            !Time_Showing(&filled, filled.view.viewport(), filled_open))
            return 1;
    }
    if (!window.Report().Warnings.isEmpty() || End_Of_Table(window.Access.Write, Obj_Data_Type) != Objects_Short_Desc)
        return 1;

    const double window_scroll = Scroll_Through(window.ACG_BACnet_in_Read);
    const double bare_scroll = Scroll_Through(&filled.view);

    const double ratio = window_open.Median() / reading_open.Median();
    std::printf("Object window over two tables of %d rows: median of %d showings (platform %s)\n", Objects_Short_Desc,
                Runs, qPrintable(QGuiApplication::platformName()));
    Print("window: show (reading both tables) to first paint", window_open.Median(), "ms");
    Print("bare QTableView: show (reading both tables) to paint", reading_open.Median(), "ms");
    std::printf("%-52s %9.2f    (must stay under 1.5)%s\n", "ratio", ratio, ratio < 1.5 ? "" : "   ** OVER **");
    Print("bare QTableView, model filled once: show to paint", filled_open.Median(), "ms");
    Print("window: scroll through every row", window_scroll, "ms");
    Print("bare QTableView: scroll through every row", bare_scroll, "ms");
    std::printf("%-52s %9.2f\n", "scroll ratio", window_scroll / bare_scroll);
    std::printf("BENCH object_window.show %.2f %.2f ms 1.5 object window show to first paint | bare QTableView "
                "reading the same tables\n",
                window_open.Median(), reading_open.Median());
    std::printf("BENCH object_window.scroll %.2f %.2f ms - object window scroll through every row | bare "
                "QTableView\n",
                window_scroll, bare_scroll);
    return 0;
}
