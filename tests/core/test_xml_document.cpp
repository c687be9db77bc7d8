#include "core/xml_document.h"
#include "test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class Test_Xml_Document : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const char *name) const { return dir_.filePath(QLatin1StringView(name)); }

private slots:
    void writes_the_raw_form()
    {
        Xml_Document doc;
        pugi::xml_node root = doc.Begin("LoRaWAN_Set_Access", true);
        pugi::xml_node up = root.append_child("LoRaWAN_Uplink");
        pugi::xml_node row = up.append_child("row");
        Add_Attr(row, "Enable", QStringLiteral("Y"));
        Add_Attr(row, "Name", QString());
        Add_Attr(row, "Text", QStringLiteral("a\tb\"<&"));
        root.append_child("LoRaWAN_Downlink");
        QVERIFY(doc.Save(Path("a.xml")));
        const QByteArray bytes = test::Read(Path("a.xml"));
        QCOMPARE(bytes,
                 QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Enable=\"Y\" Name=\"\" "
                            "Text=\"a&#09;b&quot;&lt;&amp;\"/></LoRaWAN_Uplink><LoRaWAN_Downlink/>"
                            "</LoRaWAN_Set_Access><!--SW_VERSION = 1.000-->"));

        // Reading back keeps every character.
        Xml_Document again;
        QCOMPARE(again.Load(Path("a.xml")), Xml_Document::State::Loaded);
        const pugi::xml_node r = again.Root().child("LoRaWAN_Uplink").first_child();
        QCOMPARE(Attr_Text_Def(r, "Text", QString()), QStringLiteral("a\tb\"<&"));
        // Saving the same content again gives identical bytes.
        QVERIFY(doc.Save(Path("b.xml")));
        QCOMPARE(test::Read(Path("b.xml")), bytes);
    }

    void keyed_values_and_fallbacks()
    {
        test::Write(Path("k.xml"),
                    "<?xml version=\"1.0\"?>\n<!-- hand edit -->\n<Par_Gen>\n  <Blank>  </Blank>\n"
                    "  <Empty></Empty>\n  <Value>010</Value>\n  <Mixed>12<!--x-->34<![CDATA[ab]]>cd</Mixed>\n</Par_Gen><!--SW_VERSION = 1.000-->");
        Xml_Document doc;
        QCOMPARE(doc.Load(Path("k.xml")), Xml_Document::State::Loaded);
        // A declaration and a comment before the root are skipped.
        QCOMPARE(QLatin1StringView(doc.Root().name()), QLatin1StringView("Par_Gen"));
        QCOMPARE(Child_Text_Def(doc.Root(), "Value", QStringLiteral("fb")), QStringLiteral("010"));
        QCOMPARE(Child_Text_Def(doc.Root(), "Blank", QStringLiteral("fb")), QStringLiteral("  "));
        QCOMPARE(Child_Text_Def(doc.Root(), "Empty", QStringLiteral("fb")), QString());
        QCOMPARE(Child_Text_Def(doc.Root(), "value", QStringLiteral("fb")), QStringLiteral("fb"));
        // A comment or CDATA inside a value does not cut it short.
        QCOMPARE(Child_Text_Def(doc.Root(), "Mixed", QString()), QStringLiteral("1234abcd"));
        QCOMPARE(Child_Text_Def(doc.Root(), "Missing", QStringLiteral("fb")), QStringLiteral("fb"));
    }

    // Every text a key or a cell may hold reads back as it was written.
    void texts_read_back_as_written_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("carriage return") << QStringLiteral("a\rb");
        QTest::newRow("CR LF") << QStringLiteral("a\r\nb");
        QTest::newRow("line feed") << QStringLiteral("a\nb");
        QTest::newRow("tab") << QStringLiteral("\ta");
        QTest::newRow("blanks around") << QStringLiteral("  a  ");
        QTest::newRow("only a CR") << QStringLiteral("\r");
        QTest::newRow("control character") << QStringLiteral("a") + QChar(1) + QStringLiteral("b");
        QTest::newRow("markup") << QStringLiteral("<a>&amp;\"'");
        QTest::newRow("reference text") << QStringLiteral("&#13;");
    }

    void texts_read_back_as_written()
    {
        QFETCH(QString, text);
        Xml_Document doc;
        pugi::xml_node root = doc.Begin("Par_Gen", true);
        Add_Key(root, "Key", text);
        Add_Attr(root.append_child("Group").append_child("row"), "Cell", text);
        QVERIFY(doc.Save(Path("t.xml")));

        Xml_Document again;
        QCOMPARE(again.Load(Path("t.xml")), Xml_Document::State::Loaded);
        QCOMPARE(Child_Text_Def(again.Root(), "Key", QString()), text);
        QCOMPARE(Attr_Text_Def(again.Root().child("Group").first_child(), "Cell", QString()), text);
    }

    void rows_and_attributes()
    {
        test::Write(Path("r.xml"), "<R>\n  <G>\n    <row A=\"1\" B=\"\"/>\n    <other a=\"2\"/>\n  </G>\n"
                                   "  <Empty>\n  </Empty>\n</R>");
        Xml_Document doc;
        QCOMPARE(doc.Load(Path("r.xml")), Xml_Document::State::Loaded);
        QStringList seen;
        For_Each_Row(doc.Root().child("G"), [&](pugi::xml_node row) {
            seen << Attr_Text_Def(row, "A", QStringLiteral("missing")) + u'|'
                        + Attr_Text_Def(row, "B", QStringLiteral("missing"));
        });
        // Rows are taken by position whatever their names; a missing
        // attribute differs from an empty one; names are case-sensitive.
        QCOMPARE(seen, (QStringList{QStringLiteral("1|"), QStringLiteral("missing|missing")}));
        int rows = 0;
        For_Each_Row(doc.Root().child("Empty"), [&](pugi::xml_node) { ++rows; });
        QCOMPARE(rows, 0);
        For_Each_Row(doc.Root().child("Absent"), [&](pugi::xml_node) { ++rows; });
        QCOMPARE(rows, 0);
    }

    void damaged_file_names_line_and_column()
    {
        test::Write(Path("bad.xml"), "<Par_Gen>\n  <A>1</A>\n  <B>2</C>\n</Par_Gen>");
        Xml_Document doc;
        QCOMPARE(doc.Load(Path("bad.xml")), Xml_Document::State::Damaged);
        QVERIFY(!doc.Root());
        QVERIFY2(doc.Problem().contains(Path("bad.xml")), qPrintable(doc.Problem()));
        QVERIFY2(doc.Problem().contains(QStringLiteral("line 3, column")), qPrintable(doc.Problem()));

        // A "%" in the path stays as it is.
        test::Write(Path("bad%2.xml"), "<A>");
        QCOMPARE(doc.Load(Path("bad%2.xml")), Xml_Document::State::Damaged);
        QVERIFY2(doc.Problem().contains(Path("bad%2.xml")), qPrintable(doc.Problem()));

        Xml_Document missing;
        QCOMPARE(missing.Load(Path("none.xml")), Xml_Document::State::Missing);
        QVERIFY(missing.Problem().isEmpty());
        QVERIFY(!missing.Root());
    }

    void failed_write_keeps_the_old_file()
    {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders; the full-disk case covers this for root");
        QDir().mkpath(Path("ro"));
        test::Write(Path("ro/doc.xml"), "<Old/>");
        QFile::setPermissions(Path("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        Xml_Document doc;
        doc.Begin("New", true);
        const Result<> saved = doc.Save(Path("ro/doc.xml"));
        QVERIFY(!saved);
        QVERIFY(saved.Problem().contains(Path("ro/doc.xml")));
        QCOMPARE(test::Read(Path("ro/doc.xml")), QByteArray("<Old/>"));
        QFile::setPermissions(Path("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void failed_write_into_missing_folder_is_reported()
    {
        Xml_Document doc;
        doc.Begin("New", true);
        const Result<> saved = doc.Save(Path("no/such/folder/doc.xml"));
        QVERIFY(!saved);
        QVERIFY(saved.Problem().contains(QStringLiteral("could not be written")));
    }

    // The readers to whom a missing file means nothing to read: only a
    // loaded document is read, and a damaged one fails with its problem.
    void when_loaded_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<bool>("read");
        QTest::addColumn<bool>("ok");
        QTest::newRow("missing") << QByteArray() << false << true;
        QTest::newRow("damaged") << QByteArray("<Doc><a></Doc>") << false << false;
        QTest::newRow("loaded, read fails") << QByteArray("<Doc/>") << true << false;
    }

    void when_loaded()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, read);
        QFETCH(bool, ok);
        const QString path = Path("when/doc.xml");
        QFile::remove(path);
        if (!content.isEmpty())
            test::Write(path, content);
        Xml_Document doc;
        doc.Load(path);
        bool called = false;
        const Result<> result = When_Loaded(doc, [&]() -> Result<> {
            called = true;
            return Fail(QStringLiteral("read: %1").arg(QLatin1StringView(doc.Root().name())));
        });
        QCOMPARE(called, read);
        QCOMPARE(result.Ok(), ok);
        if (read)
            QCOMPARE(result.Problem(), QStringLiteral("read: Doc"));
        else if (!ok)
            QCOMPARE(result.Problem(), doc.Problem());
        else
            QVERIFY(result.Problem().isEmpty());
    }
};

QTEST_APPLESS_MAIN(Test_Xml_Document)
#include "test_xml_document.moc"
