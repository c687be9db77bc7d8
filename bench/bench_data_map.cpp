// The data-area map of a maximal configuration (two object tables of 2000
// rows, two rule tables of 256 rows, with overlaps, gaps and an overrun, as
// configurations grow on site), opened from the object window:
//   - drawn from scratch: the "Data Map" button pressed again over an open
//     map (the rules read from their document, the map built, its lists
//     compared with those shown, the picture drawn anew), until the picture
//     has painted;
//   - drawn again after one edit: one Position cell changed as the grid's
//     editor changes it (a binary object moved onto a taken bit and back: a
//     line of the lists comes and goes), until the picture has painted;
// each beside painting the map's empty grid of the same size (both areas,
// nothing on them) in a window of the same size. Both are held to 3 times
// the empty grid. Runs offscreen unless a platform is chosen.

#include "bench_support.h"
#include "bench_window.h"
#include "tables/bacnet_access.h"
#include "tables/data_map.h"
#include "tables/lora_access.h"
#include "tables/ui/bacnet_eng_unit.h"
#include "tables/ui/bacnet_slave_set_access.h"
#include "tables/ui/data_map_window.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <cstdio>

namespace {

constexpr int Runs = 31;

QByteArray Object(const char *type, int position, int bit, int length, const QByteArray &name)
{
    return QByteArray("<row Data_Type=\"") + type + "\" Eng_Unit=\"95\" Position=\"" + QByteArray::number(position) +
           "\" Bit=\"" + (bit >= 0 ? QByteArray::number(bit) : QByteArray()) + "\" Length=\"" +
           QByteArray::number(length) + "\" Swap=\"N\" Mnemonic=\"" + name + "\"/>";
}

// Per table: 250 analog values of 4 bytes from byte 0, a gap of 2 bytes
// after every 25th; 1600 binary values on the bits of the next 200 bytes;
// 149 multi-state values of 1 byte, a gap after every 10th, and one of 2
// bytes on the last byte of the area, running past it. Every 97th object is a copied row whose Position was not
// changed (it overlaps the row above).
QByteArray Object_Document_Bytes()
{
    QByteArray doc = "<BACnet_to_Modbus>";
    for (const char *group : {"BACnet_in_Read", "BACnet_in_Write"}) {
        doc += QByteArray("<") + group + ">";
        int position = 0;
        int last_position = 0;
        for (int i = 0; i < Objects_Short_Desc; ++i) {
            const QByteArray name = QByteArray(group).right(4) + " " + QByteArray::number(i);
            const bool copied = i > 0 && i % 97 == 0;
            if (i < 250) {
                const int at = copied ? last_position : position;
                doc += Object("Analog Value", at, -1, 4, name);
                last_position = at;
                position += 4 + (i % 25 == 24 ? 2 : 0);
            } else if (i < 1850) {
                const int k = i - 250;
                const int byte = position + k / 8;
                doc += Object("Binary Value", byte, copied ? (k + 7) % 8 : k % 8, 1, name);
                if (i == 1849)
                    position = byte + 1;
            } else {
                const int at = copied ? last_position : position;
                const bool last = i == Objects_Short_Desc - 1;
                doc += Object("Multi State Value", last ? Data_Area_Bytes - 1 : at, -1, last ? 2 : 1, name);
                last_position = at;
                position += 1 + (i % 10 == 0 ? 1 : 0);
            }
        }
        doc += QByteArray("</") + group + ">";
    }
    return doc + "</BACnet_to_Modbus><!--SW_VERSION = 1.000-->";
}

// Uplinks: 256 blocks of 5 bytes, one byte apart, over the whole area;
// downlinks: 256 blocks of 4 bytes from byte 2, every 32nd running into the
// one before. Every 40th uplink is switched off.
QByteArray Rule_Document_Bytes()
{
    QByteArray up;
    QByteArray down;
    for (int i = 0; i < LoRa_Rule_Rows; ++i) {
        up += "<row Enable=\"" + QByteArray(i % 40 == 39 ? "N" : "Y") + "\" StartByte=\"" + QByteArray::number(i * 6) +
              "\" NumByte=\"5\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"N\" Time=\"\" Mnemonic=\"Up " +
              QByteArray::number(i) + "\"/>";
        const int start = i * 6 + 2 - (i % 32 == 31 ? 4 : 0);
        down += "<row Enable=\"Y\" StartByte=\"" + QByteArray::number(start) + "\" NumByte=\"4\" Mnemonic=\"Down " +
                QByteArray::number(i) + "\"/>";
    }
    return "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" + up + "</LoRaWAN_Uplink><LoRaWAN_Downlink>" + down +
           "</LoRaWAN_Downlink></LoRaWAN_Set_Access>";
}

bool Write(const QString &file, const QByteArray &text)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

// Runs `act`, then the event loop until `view` has painted; in ms, or -1
// when it never painted.
template <class Act> double Until_Painted(QWidget *view, Act act)
{
    QCoreApplication::processEvents();
    Paint_Watch watch;
    view->installEventFilter(&watch);
    QElapsedTimer t;
    t.start();
    act();
    while (watch.paints == 0 && t.elapsed() < 5000)
        QCoreApplication::processEvents();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    view->removeEventFilter(&watch);
    return watch.paints > 0 ? ms : -1;
}

} // namespace

int main(int argc, char **argv)
{
    Bench_Window_Setup setup(argc, argv);
    Workspace &ws = setup.ws;
    if (!Write(ws.File_BACnet_Slave_Access, Object_Document_Bytes()) ||
        !Write(ws.File_LoRaWAN_Access, Rule_Document_Bytes()))
        return 1;

    TFBACnet_Eng_Unit picker(ws);
    TFBACnetSlaveSetAccess window(ws, &picker);
    window.show();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    if (End_Of_Table(window.Access.Write, Obj_Data_Type) != Objects_Short_Desc)
        return 1;
    // The first press creates the map window: timed once, for the record.
    QElapsedTimer opening;
    opening.start();
    window.Btn_MapClick();
    Data_Map_Window *map = window.Map_Window();
    {
        Paint_Watch watch;
        map->View->installEventFilter(&watch);
        while (watch.paints == 0 && opening.elapsed() < 5000)
            QCoreApplication::processEvents();
        map->View->removeEventFilter(&watch);
    }
    const double first_opening = double(opening.nsecsElapsed()) / 1e6;
    // Large enough for the whole picture to show.
    map->resize(map->View->sizeHint().width() + 500, map->View->sizeHint().height() + 60);
    const Data_Map &shown = map->View->Map();
    if (shown.objects[Page_Read].size() != size_t(Objects_Short_Desc) || shown.rules[Page_Uplink].empty() ||
        shown.object_overlaps.isEmpty() || shown.overruns.isEmpty() || shown.rule_overlaps.isEmpty() ||
        shown.not_carried.isEmpty() || shown.no_object.isEmpty())
        return 1;

    // The floor: the same window, the same areas, nothing on them.
    Data_Map_Window empty;
    Data_Map grid;
    grid.area_bytes[Page_Read] = shown.area_bytes[Page_Read];
    grid.area_bytes[Page_Write] = shown.area_bytes[Page_Write];
    empty.Show(grid);
    empty.resize(map->size());
    empty.show();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    if (empty.View->visibleRegion().boundingRect().size() != map->View->visibleRegion().boundingRect().size() ||
        map->View->visibleRegion().boundingRect().size() != map->View->size())
        return 1;

    Text_Table &read = window.Access.Read;
    const QModelIndex cell = read.index(1000, Obj_Position);
    const QString positions[2] = {read.Cell(1000, Obj_Position),
                                  QString::number(read.Cell(1000, Obj_Position).toInt() + 3)};
    // Taken in turn, so that a busy moment of the machine falls on all alike.
    Timing floor, draw, redraw;
    for (int i = 0; i < Runs; ++i) {
        floor.ms.push_back(Until_Painted(empty.View, [&] { empty.View->update(); }));
        draw.ms.push_back(Until_Painted(map->View, [&] { window.Btn_MapClick(); }));
        redraw.ms.push_back(Until_Painted(map->View, [&] { read.setData(cell, positions[(i + 1) % 2]); }));
    }
    // Where the time goes: the rules read from their document, the map
    // built from the documents as loaded, the picture drawn anew alone.
    LoRa_Set_Access rules;
    (void)rules.Load(ws.File_ParGen, ws.File_LoRaWAN_Access);
    Timing load, build, paint;
    QElapsedTimer t;
    for (int i = 0; i < Runs; ++i) {
        t.start();
        LoRa_Set_Access loaded;
        (void)loaded.Load(ws.File_ParGen, ws.File_LoRaWAN_Access);
        load.Add(t);
        t.start();
        const Data_Map built = Build_Data_Map(window.Access, rules);
        build.Add(t);
        t.start();
        map->View->Show(built);
        map->View->repaint();
        paint.Add(t);
    }
    for (const Timing *each : {&floor, &draw, &redraw})
        if (*std::min_element(each->ms.begin(), each->ms.end()) < 0)
            return 1;
    if (window.History()->count() != Runs)
        return 1;

    const double ratio_draw = draw.Median() / floor.Median();
    const double ratio_redraw = redraw.Median() / floor.Median();
    std::printf("Data map of two object tables of %d rows and two rule tables of %d rows, %d bytes a row: "
                "median of %d runs (platform %s)\n",
                Objects_Short_Desc, LoRa_Rule_Rows, Data_Map_View::Bytes_A_Row, Runs,
                qPrintable(QGuiApplication::platformName()));
    std::printf("listed: %lld object overlaps, %lld overruns, %lld rule overlaps, %lld not carried, %lld no object\n",
                qlonglong(shown.object_overlaps.size()), qlonglong(shown.overruns.size()),
                qlonglong(shown.rule_overlaps.size()), qlonglong(shown.not_carried.size()),
                qlonglong(shown.no_object.size()));
    Print("empty grid of both areas: paint", floor.Median(), "ms");
    Print("map from scratch: Data Map pressed to paint", draw.Median(), "ms");
    Print("map after one edit: Position changed to paint", redraw.Median(), "ms");
    Print("first opening (the window created and shown), once", first_opening, "ms");
    Print("  of which: the rules read from their document", load.Median(), "ms");
    Print("  of which: the map built", build.Median(), "ms");
    Print("  of which: the picture drawn anew and painted", paint.Median(), "ms");
    std::printf("%-52s %9.2f    (at most 3)%s\n", "ratio from scratch", ratio_draw,
                ratio_draw <= 3 ? "" : "   ** OVER **");
    std::printf("%-52s %9.2f    (at most 3)%s\n", "ratio after one edit", ratio_redraw,
                ratio_redraw <= 3 ? "" : "   ** OVER **");
    std::printf("BENCH data_map.draw %.3f %.3f ms 3.0 data map of a maximal configuration from scratch to paint | "
                "paint its empty grid\n",
                draw.Median(), floor.Median());
    std::printf("BENCH data_map.redraw %.3f %.3f ms 3.0 the same map after one edit to paint | paint its empty grid\n",
                redraw.Median(), floor.Median());
    return 0;
}
