#include "core/messages.h"
#include "table_window_fixture.h"
#include "tables/lora_access.h"
#include "tables/ui/data_map_window.h"
#include "tables/ui/lora_set_access.h"
#include "widgets/message_box.h"

#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

QStringList Items(const QListWidget *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

} // namespace

// The map window as the rule window opens it: the rules as the grids hold
// them, unsaved edits included, over the objects as saved.
class Test_Data_Map_Window : public Table_Window_Fixture
{
    Q_OBJECT

    // The parameters, two objects and a rule each way.
    void Write_Documents()
    {
        test::Write(ws_.File_ParGen, test::ParGen_With("LoRa_Payload_Size", "51"));
        const QByteArray object = "<row Data_Type=\"Analog Value\" Eng_Unit=\"95\" Position=\"%1\" Bit=\"\" "
                                  "Length=\"%2\" Swap=\"N\" Mnemonic=\"o\"/>";
        test::Write(ws_.File_BACnet_Slave_Access, "<BACnet_to_Modbus><BACnet_in_Read>" +
                                                      QByteArray(object).replace("%1", "0").replace("%2", "4") +
                                                      QByteArray(object).replace("%1", "10").replace("%2", "2") +
                                                      "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>");
        test::Write(ws_.File_LoRaWAN_Access,
                    "<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Enable=\"Y\" StartByte=\"0\" NumByte=\"4\" "
                    "OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"N\" Time=\"\" Mnemonic=\"u\"/></LoRaWAN_Uplink>"
                    "<LoRaWAN_Downlink><row Enable=\"Y\" StartByte=\"40\" NumByte=\"2\" Mnemonic=\"d\"/>"
                    "</LoRaWAN_Downlink></LoRaWAN_Set_Access>");
    }

private slots:
    void init()
    {
        Set_Up(Rule_Window, [this] { Write_Documents(); });
        if (rules_)
            Show(rules_);
    }

    void cleanup() { Tear_Down(); }

    void follows_the_grids()
    {
        QCOMPARE(rules_->Btn_Map->text(), Messages().Get(Msg_Map_Button));
        QTest::mouseClick(rules_->Btn_Map, Qt::LeftButton);
        Data_Map_Window *map = rules_->Map_Window();
        QVERIFY(map && map->isVisible());
        const QString read = Messages().Get(1508);
        const QString down = Messages().Get(1215);
        const QString no_object = Messages().Get(Msg_Map_No_Object).arg(down, u"1"_qs, u"40-41"_qs, u"40-41"_qs);
        QCOMPARE(
            Items(map->Lists),
            (QStringList{Messages().Get(Msg_Map_Pairing_Note),
                         Messages().Get(Msg_Map_Not_Carried).arg(read, u"2"_qs, u"10-11"_qs, u"10-11"_qs), no_object}));

        // An unsaved rule over the second object: the map follows at once,
        // and back again when the edit is undone.
        test::Type_Into_Cell(rules_->ACG_LoRa_Uplink, 1, Up_StartByte, u"10"_qs);
        test::Type_Into_Cell(rules_->ACG_LoRa_Uplink, 1, Up_NumByte, u"2"_qs);
        QCOMPARE(Items(map->Lists), (QStringList{Messages().Get(Msg_Map_Pairing_Note), no_object}));
        QCOMPARE(
            map->View->Names_At(Page_Read, 10),
            (QStringList{Messages().Get(Msg_Map_Byte_Name).arg(10), Messages().Get(Msg_Map_Row_Name).arg(read).arg(2),
                         Messages().Get(Msg_Map_Rule_Name).arg(Messages().Get(1214)).arg(2)}));
        rules_->Undo();
        rules_->Undo();
        QCOMPARE(map->Lists->count(), 3);
    }

    // The picture: an object's bytes in a colour, bytes two objects share and
    // a bit two binary objects share in red, the bit slices where their bits
    // are, an uplink along the top of its bytes; drawn anew when the map
    // changes (the picture is kept between paints).
    void picture_marks_the_bytes()
    {
        const auto span = [](int row, int start, int length, int bit = -1) {
            Byte_Span s;
            s.row = row;
            s.start = start;
            s.length = length;
            s.bit = bit;
            return s;
        };
        Data_Map map;
        map.area_bytes[Page_Read] = map.area_bytes[Page_Write] = 1500;
        map.objects[Page_Read] = {span(0, 0, 4), span(1, 2, 2), span(2, 10, 1, 0), span(3, 10, 1, 0),
                                  span(4, 11, 1, 3)};
        map.rules[Page_Uplink] = {span(0, 20, 2)};
        Data_Map_View view;
        view.Show(map);
        view.resize(view.sizeHint());
        const QColor base = view.palette().base().color();
        const QColor red(220, 40, 40);
        const auto pixel = [&view](int byte, int dx, int dy) {
            const QImage image = view.grab().toImage();
            return image.pixelColor(Data_Map_View::Offset_Width + (byte % 50) * Data_Map_View::Cell + dx,
                                    18 + (byte / 50) * Data_Map_View::Cell + dy);
        };
        const int middle = Data_Map_View::Cell / 2;
        QVERIFY(pixel(0, middle, middle) != base && pixel(0, middle, middle) != red);
        QCOMPARE(pixel(2, middle, middle), red);
        QCOMPARE(pixel(10, 1, middle), red); // bit 0, held twice
        QCOMPARE(pixel(10, 6, middle), base);
        QVERIFY(pixel(11, 5, middle) != base && pixel(11, 5, middle) != red); // bit 3
        QCOMPARE(pixel(11, 1, middle), base);
        QVERIFY(pixel(20, middle, 1) != base && pixel(20, middle, 1) != red);
        QCOMPARE(pixel(20, middle, middle), base);
        QCOMPARE(pixel(30, middle, middle), base);

        map.objects[Page_Read].erase(map.objects[Page_Read].begin() + 1);
        view.Show(map);
        QVERIFY(pixel(2, middle, middle) != red && pixel(2, middle, middle) == pixel(0, middle, middle));
    }

    // A click on a byte that only a rule holds chooses that rule's row; on
    // an object's byte, which this window does not hold, nothing moves.
    void click_chooses_a_rule()
    {
        QTest::mouseClick(rules_->Btn_Map, Qt::LeftButton);
        Data_Map_View *view = rules_->Map_Window()->View;
        const auto centre = [view](int byte) {
            int area = -1;
            int at = -1;
            const QPoint point(Data_Map_View::Offset_Width + (byte % 50) * Data_Map_View::Cell + 5,
                               18 + (byte / 50) * Data_Map_View::Cell + 5);
            return view->Byte_At(point, area, at) && area == Page_Read && at == byte ? point : QPoint(-1, -1);
        };
        QVERIFY(centre(40).x() >= 0);
        QTest::mouseClick(view, Qt::LeftButton, {}, centre(2));
        QCOMPARE(rules_->PC_LoRa->currentIndex(), int(Page_Uplink));
        QTest::mouseClick(view, Qt::LeftButton, {}, centre(40));
        QCOMPARE(rules_->PC_LoRa->currentIndex(), int(Page_Downlink));
        QCOMPARE(rules_->ACG_LoRa_Downlink->currentIndex().row(), 0);
        QCOMPARE(rules_->ACG_LoRa_Downlink->currentIndex().column(), int(Up_StartByte));
    }
};

QTEST_MAIN(Test_Data_Map_Window)
#include "test_data_map_window.moc"
