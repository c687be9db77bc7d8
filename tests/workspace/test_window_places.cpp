// Where the windows last closed: the file beside the settings, read
// leniently, and the rule that keeps a window off a screen that is gone.

#include "test_support.h"
#include "workspace/window_places.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// The places as one line, "name:left,top[,width x height]" in name order.
QString Listed(const Window_Places &places)
{
    QStringList items;
    for (auto it = places.All().cbegin(); it != places.All().cend(); ++it) {
        QString item = QStringLiteral("%1:%2,%3").arg(it.key()).arg(it->top_left.x()).arg(it->top_left.y());
        if (it->size.isValid())
            item += QStringLiteral(",%1x%2").arg(it->size.width()).arg(it->size.height());
        items << item;
    }
    return items.join(u' ');
}

QList<QRect> Rects(std::initializer_list<QRect> rects)
{
    return QList<QRect>(rects);
}

} // namespace

class Test_Window_Places : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    QString Path() const { return Window_Places::File_In(dir_.path()); }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void cleanup() { QFile::remove(Path()); }

    // What is written reads back the same, in the file's documented form,
    // beside the settings; the settings file is not touched.
    void write_and_read_back()
    {
        QCOMPARE(Path(), dir_.path() + QStringLiteral("/Windows.xml"));
        Window_Places places = Window_Places::Read(Path());
        QVERIFY(places.All().isEmpty());
        places.Set(QStringLiteral("FQuarneleFirmWare"), {QPoint(300, 200), QSize()});
        places.Set(QStringLiteral("FLoRa_Set_Access"), {QPoint(-1200, 40), QSize(900, 540)});
        places.Set(QStringLiteral("FQuarneleFirmWare"), {QPoint(310, 210), QSize()}); // the later place wins
        QVERIFY(places.Write().Ok());
        QCOMPARE(test::Read(Path()),
                 QByteArray("<Window_Places><window name=\"FLoRa_Set_Access\" left=\"-1200\" top=\"40\" "
                            "width=\"900\" height=\"540\"/><window name=\"FQuarneleFirmWare\" left=\"310\" "
                            "top=\"210\"/></Window_Places>"));
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("Quarnel.xml"))));

        const Window_Places again = Window_Places::Read(Path());
        QCOMPARE(Listed(again), Listed(places));
        QCOMPARE(again.Find(QStringLiteral("FLoRa_Set_Access")), (Saved_Place{QPoint(-1200, 40), QSize(900, 540)}));
        QVERIFY(!again.Find(QStringLiteral("FBoot")));
    }

    // A file that is missing, damaged or edited by hand gives what can be
    // read of it and never fails.
    void read_leniently_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no file at all
        QTest::addColumn<QString>("places");
        QTest::newRow("no file") << QByteArray() << QString();
        QTest::newRow("not well-formed") << QByteArray("<Window_Places><window name=\"A\" left=\"1\"") << QString();
        QTest::newRow("not XML") << QByteArray("\x00\x01garbage", 9) << QString();
        QTest::newRow("other elements skipped")
            << QByteArray("<W><x name=\"A\" left=\"1\" top=\"2\"/><window name=\"B\" left=\"3\" top=\"4\"/></W>")
            << QStringLiteral("B:3,4");
        QTest::newRow("no name, no position: left out")
            << QByteArray("<W><window left=\"1\" top=\"2\"/><window name=\"A\" top=\"2\"/>"
                          "<window name=\"B\" left=\"x\" top=\"2\"/><window name=\"C\" left=\"1\" top=\"2\"/></W>")
            << QStringLiteral("C:1,2");
        QTest::newRow("a size that is not whole is dropped")
            << QByteArray("<W><window name=\"A\" left=\"1\" top=\"2\" width=\"300\"/>"
                          "<window name=\"B\" left=\"1\" top=\"2\" width=\"0\" height=\"200\"/>"
                          "<window name=\"C\" left=\"1\" top=\"2\" width=\"-5\" height=\"200\"/>"
                          "<window name=\"D\" left=\"1\" top=\"2\" width=\" 300\" height=\"0x10\"/></W>")
            << QStringLiteral("A:1,2 B:1,2 C:1,2 D:1,2,300x16");
        QTest::newRow("numbers beyond any screen")
            << QByteArray("<W><window name=\"A\" left=\"2147483647\" top=\"0\"/>"
                          "<window name=\"B\" left=\"0\" top=\"0\" width=\"2147483647\" height=\"9\"/></W>")
            << QStringLiteral("B:0,0");
    }
    void read_leniently()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, places);
        if (!file.isEmpty())
            test::Write(Path(), file);
        QCOMPARE(Listed(Window_Places::Read(Path())), places);
    }

    // A file that cannot be written says so and changes nothing.
    void write_fails_without_its_folder()
    {
        Window_Places places = Window_Places::Read(dir_.filePath(QStringLiteral("gone/Windows.xml")));
        places.Set(QStringLiteral("A"), {QPoint(1, 2), QSize()});
        QVERIFY(!places.Write().Ok());
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("gone"))));
    }

    // The saved place is used while a screen shows the window's top edge;
    // otherwise the window is centred on its home screen.
    void opening_place_data()
    {
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QRect>("place"); // saved top left and size (an invalid size: fixed window)
        QTest::addColumn<QSize>("own");   // the window's own size
        QTest::addColumn<QRect>("opens");
        const QRect left(0, 0, 1920, 1040);
        const QRect right(1920, 0, 1280, 984);
        const QList<QRect> one = Rects({left});
        const QList<QRect> two = Rects({left, right});
        QTest::newRow("nothing saved: centred at its own size")
            << one << false << QRect() << QSize(694, 484) << QRect(613, 278, 694, 484);
        QTest::newRow("saved on screen: as saved")
            << one << true << QRect(100, 50, 900, 540) << QSize(900, 337) << QRect(100, 50, 900, 540);
        QTest::newRow("fixed size: the position only")
            << one << true << QRect(QPoint(100, 50), QSize()) << QSize(694, 484) << QRect(100, 50, 694, 484);
        QTest::newRow("on the second screen")
            << two << true << QRect(2500, 300, 900, 540) << QSize(900, 337) << QRect(2500, 300, 900, 540);
        QTest::newRow("second screen unplugged: centred at the saved size")
            << one << true << QRect(2500, 300, 900, 540) << QSize(900, 337) << QRect(510, 250, 900, 540);
        QTest::newRow("partly off the right edge, 100 px still shown")
            << one << true << QRect(1820, 10, 900, 540) << QSize(900, 337) << QRect(1820, 10, 900, 540);
        QTest::newRow("only 99 px shown")
            << one << true << QRect(1821, 10, 900, 540) << QSize(900, 337) << QRect(510, 250, 900, 540);
        QTest::newRow("a narrow window shown whole")
            << one << true << QRect(1860, 10, 60, 40) << QSize(60, 40) << QRect(1860, 10, 60, 40);
        QTest::newRow("top edge above the screen")
            << one << true << QRect(100, -1, 900, 540) << QSize(900, 337) << QRect(510, 250, 900, 540);
        QTest::newRow("top edge too near the bottom")
            << one << true << QRect(100, 1017, 900, 540) << QSize(900, 337) << QRect(510, 250, 900, 540);
        QTest::newRow("across both screens")
            << two << true << QRect(1800, 100, 400, 300) << QSize(400, 300) << QRect(1800, 100, 400, 300);
        QTest::newRow("larger than the screen it is on: cut to it")
            << two << true << QRect(1920, 0, 1600, 1200) << QSize(900, 337) << QRect(1920, 0, 1280, 984);
        QTest::newRow("larger than home: centred and cut")
            << one << false << QRect() << QSize(2000, 1200) << QRect(0, 0, 1920, 1040);
        QTest::newRow("no screens known: centred on home")
            << QList<QRect>() << true << QRect(100, 50, 900, 540) << QSize(900, 337) << QRect(510, 250, 900, 540);
    }
    void opening_place()
    {
        QFETCH(QList<QRect>, screens);
        QFETCH(bool, saved);
        QFETCH(QRect, place);
        QFETCH(QSize, own);
        QFETCH(QRect, opens);
        std::optional<Saved_Place> last;
        if (saved)
            last = Saved_Place{place.topLeft(), place.size()};
        const QRect home(0, 0, 1920, 1040);
        QCOMPARE(Opening_Place(last, own, screens, home), opens);
    }
};

QTEST_MAIN(Test_Window_Places)
#include "test_window_places.moc"
