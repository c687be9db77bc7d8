// Pictures of the three table windows and the data map for docs/screenshots,
// saved into the folder that SW52K31_SCREENSHOTS names. Not a test (ctest
// does not run it): scripts/screenshots.sh runs it on a virtual X server. It
// fails only when a window cannot be shown or a picture cannot be saved.

#include "tables/bacnet_access.h"
#include "tables/ui/bacnet_eng_unit.h"
#include "tables/ui/bacnet_slave_set_access.h"
#include "tables/ui/data_map_window.h"
#include "tables/ui/lora_set_access.h"
#include "widgets/message_box.h"
#include "window_fixture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHelpEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QToolTip>

class Table_Screenshots : public QObject
{
    Q_OBJECT

    QString out_;
    QTemporaryDir dir_;
    Workspace ws_;

    void Save(QWidget *window, const char *name)
    {
        QCoreApplication::processEvents();
        QVERIFY(window->grab().save(out_ + u'/' + QLatin1StringView(name)));
    }

    // The window with a window of its own over it (an open list, a tip), on a
    // canvas holding both.
    void Save_Over(QWidget *window, QWidget *over, const char *name)
    {
        QCoreApplication::processEvents();
        const QPoint over_at = window->mapFromGlobal(over->mapToGlobal(QPoint(0, 0)));
        const QRect canvas = window->rect().united(QRect(over_at, over->size()));
        QPixmap shot(canvas.size());
        shot.fill(Qt::white);
        {
            QPainter painter(&shot);
            painter.drawPixmap(-canvas.topLeft(), window->grab());
            painter.drawPixmap(over_at - canvas.topLeft(), over->grab());
        }
        QVERIFY(shot.save(out_ + u'/' + QLatin1StringView(name)));
    }

    // The window with the tip of the grid's current cell showing.
    void Save_With_Tip(QWidget *window, Table_Grid *grid, const char *name)
    {
        QCoreApplication::processEvents();
        const QRect cell = grid->visualRect(grid->currentIndex());
        const QPoint at = cell.center();
        QHelpEvent event(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &event);
        QWidget *tip = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel") && w->isVisible())
                tip = w;
        QVERIFY(tip);
        Save_Over(window, tip, name);
        QToolTip::hideText();
    }

private slots:
    void initTestCase()
    {
        out_ = qEnvironmentVariable("SW52K31_SCREENSHOTS");
        if (out_.isEmpty())
            QFAIL("set SW52K31_SCREENSHOTS to the folder for the pictures");
        QVERIFY(QDir().mkpath(out_));
        test::Open_In(ws_, dir_.path());
        Message_Box::Set_Test_Mode(true);
    }

    void rule_window()
    {
        test::Write(ws_.File_ParGen, test::ParGen_With("LoRa_Payload_Size", "51"));
        QByteArray up;
        const char *names[] = {"Meter readings", "Alarms", "Boiler status", "Set points echo"};
        for (int i = 0; i < 4; ++i)
            up += "<row Enable=\"Y\" StartByte=\"" + QByteArray::number(i * 40) + "\" NumByte=\"" +
                  QByteArray::number(40 - i * 8) + "\" OnChange=\"" + (i % 2 ? "Y" : "N") +
                  "\" OnCMD=\"N\" OnTimer=\"" + (i % 2 ? "N" : "Y") + "\" Time=\"" + (i % 2 ? "" : "600") +
                  "\" Mnemonic=\"" + names[i] + "\"/>";
        // A rule whose timer is too short (an error) and whose bytes run into
        // the rule above (a warning).
        up += "<row Enable=\"Y\" StartByte=\"100\" NumByte=\"8\" OnChange=\"N\" OnCMD=\"N\" OnTimer=\"Y\" "
              "Time=\"10\" Mnemonic=\"Fast counters\"/>";
        test::Write(ws_.File_LoRaWAN_Access, "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" + up +
                                                 "</LoRaWAN_Uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access>");
        TFLoRa_Set_Access window(ws_);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ACG_LoRa_Uplink->Set_Current(1, 7);
        Save(&window, "lora_set_access.png");
        // F8 goes to the first problem, its tip over it.
        window.Next_Problem();
        Save_With_Tip(&window, window.ACG_LoRa_Uplink, "lora_set_access_problem.png");
    }

    void object_window()
    {
        QByteArray read;
        struct Object
        {
            const char *type, *unit, *position, *bit, *length, *mnemonic;
        };
        const Object objects[] = {
            {"Analog Input", "62", "0", "", "4", "Supply temperature"},
            {"Analog Input", "62", "4", "", "4", "Return temperature"},
            {"Analog Input", "98", "8", "", "2", "Valve position"},
            {"Binary Input", "95", "10", "0", "1", "Pump running"},
            {"Binary Input", "95", "10", "1", "1", "Pump fault"},
            {"Multi State Input", "95", "11", "", "1", "Operating mode"},
            {"Accumulator", "19", "12", "", "4", "Energy meter"},
            // Two warnings (bytes and a bit shared, a name shared) and an error.
            {"Analog Input", "29", "14", "", "4", "Room humidity"},
            {"Analog Input", "62", "1500", "", "4", "Outside temperature"},
            {"Binary Input", "95", "10", "1", "1", "Pump fault"},
        };
        for (const Object &o : objects)
            read += QByteArray("<row Data_Type=\"") + o.type + "\" Eng_Unit=\"" + o.unit + "\" Position=\"" +
                    o.position + "\" Bit=\"" + o.bit + "\" Length=\"" + o.length + "\" Swap=\"N\" Mnemonic=\"" +
                    o.mnemonic + "\"/>";
        test::Write(ws_.File_BACnet_Slave_Access, "<BACnet_to_Modbus><BACnet_in_Read>" + read +
                                                      "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>");
        TFBACnet_Eng_Unit picker(ws_);
        TFBACnetSlaveSetAccess window(ws_, &picker);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ACG_BACnet_in_Read->Set_Current(2, 1);
        Save(&window, "bacnet_slave_set_access.png");
        // F8 goes to the first problem, its tip over it.
        window.Next_Problem();
        Save_With_Tip(&window, window.ACG_BACnet_in_Read, "bacnet_slave_set_access_problem.png");
        // A drop-down cell being edited, its list open.
        Table_Grid *grid = window.ACG_BACnet_in_Read;
        const QModelIndex type = grid->model()->index(10, Obj_Data_Type);
        grid->setCurrentIndex(type);
        grid->edit(type);
        auto *box = qobject_cast<QComboBox *>(grid->indexWidget(type));
        QVERIFY(box);
        box->showPopup();
        QCoreApplication::processEvents();
        // The window with the open list over it, on a canvas holding both.
        QWidget *list = box->view()->window();
        Save_Over(&window, list, "bacnet_slave_set_access_list.png");
        box->hidePopup();
        grid->Commit_Edit();

        // Opened on a row's unit: its category, the unit selected.
        picker.Open_On(QStringLiteral("98"));
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        Save(&picker, "bacnet_eng_unit.png");
    }

    // The data-area map opened from the object window: an overlap of two
    // objects and of two bits, an object past the end of the input area,
    // rule bands with a gap and a rule over no object.
    void data_map_window()
    {
        QByteArray read;
        QByteArray write;
        struct Object
        {
            const char *type, *position, *bit, *length, *mnemonic;
        };
        const Object inputs[] = {
            {"Analog Input", "0", "", "4", "Supply temperature"},
            {"Analog Input", "4", "", "4", "Return temperature"},
            {"Analog Input", "4", "", "4", "Return temperature copy"},
            {"Analog Input", "8", "", "2", "Valve position"},
            {"Binary Input", "10", "0", "1", "Pump running"},
            {"Binary Input", "10", "1", "1", "Pump fault"},
            {"Binary Input", "10", "1", "1", "Pump fault copy"},
            {"Accumulator", "12", "", "4", "Energy meter"},
            {"Analog Input", "60", "", "4", "Outside temperature"},
            {"Analog Input", "1498", "", "4", "Last sensor"},
        };
        const Object outputs[] = {
            {"Analog Out", "0", "", "2", "Set point"},
            {"Binary Out", "2", "0", "1", "Pump command"},
            {"Binary Out", "2", "3", "1", "Alarm reset"},
        };
        const auto row = [](const Object &o) -> QByteArray {
            return QByteArray("<row Data_Type=\"") + o.type + "\" Eng_Unit=\"95\" Position=\"" + o.position +
                   "\" Bit=\"" + o.bit + "\" Length=\"" + o.length + "\" Swap=\"N\" Mnemonic=\"" + o.mnemonic + "\"/>";
        };
        for (const Object &o : inputs)
            read += row(o);
        for (const Object &o : outputs)
            write += row(o);
        test::Write(ws_.File_BACnet_Slave_Access, "<BACnet_to_Modbus><BACnet_in_Read>" + read +
                                                      "</BACnet_in_Read><BACnet_in_Write>" + write +
                                                      "</BACnet_in_Write></BACnet_to_Modbus>");
        test::Write(ws_.File_LoRaWAN_Access,
                    "<LoRaWAN_Set_Access><LoRaWAN_Uplink>"
                    "<row Enable=\"Y\" StartByte=\"0\" NumByte=\"11\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"N\" "
                    "Time=\"\" Mnemonic=\"Measurements\"/>"
                    "<row Enable=\"Y\" StartByte=\"60\" NumByte=\"4\" OnChange=\"N\" OnCMD=\"N\" OnTimer=\"Y\" "
                    "Time=\"600\" Mnemonic=\"Outside\"/>"
                    "<row Enable=\"Y\" StartByte=\"100\" NumByte=\"10\" OnChange=\"N\" OnCMD=\"N\" OnTimer=\"Y\" "
                    "Time=\"600\" Mnemonic=\"Spare\"/>"
                    "</LoRaWAN_Uplink><LoRaWAN_Downlink>"
                    "<row Enable=\"Y\" StartByte=\"0\" NumByte=\"3\" Mnemonic=\"Commands\"/>"
                    "</LoRaWAN_Downlink></LoRaWAN_Set_Access>");
        TFBACnet_Eng_Unit picker(ws_);
        TFBACnetSlaveSetAccess window(ws_, &picker);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.Btn_MapClick();
        Data_Map_Window *map = window.Map_Window();
        QVERIFY(map);
        map->resize(1100, map->View->sizeHint().height() + 40);
        QVERIFY(QTest::qWaitForWindowExposed(map));
        Save(map, "data_map_window.png");
        // Pointing at the byte the two copies share.
        Data_Map_View *view = map->View;
        const QPoint at(Data_Map_View::Offset_Width + 5 * Data_Map_View::Cell + Data_Map_View::Cell / 2,
                        18 + Data_Map_View::Cell / 2);
        int area = -1;
        int byte = -1;
        QVERIFY(view->Byte_At(at, area, byte) && area == Page_Read && byte == 5);
        QHelpEvent event(QEvent::ToolTip, at, view->mapToGlobal(at));
        QApplication::sendEvent(view, &event);
        QWidget *tip = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel") && w->isVisible())
                tip = w;
        QVERIFY(tip);
        Save_Over(map, tip, "data_map_window_tip.png");
        QToolTip::hideText();
    }
};

QTEST_MAIN(Table_Screenshots)
#include "table_screenshots.moc"
