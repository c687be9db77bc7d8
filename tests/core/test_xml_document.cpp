#include "core/messages.h"
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
        QCOMPARE(bytes, QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Enable=\"Y\" Name=\"\" "
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
        test::Write(Path("k.xml"), "<?xml version=\"1.0\"?>\n<!-- hand edit -->\n<Par_Gen>\n  <Blank>  </Blank>\n"
                                   "  <Empty></Empty>\n  <Value>010</Value>\n  "
                                   "<Mixed>12<!--x-->34<![CDATA[ab]]>cd</Mixed>\n</Par_Gen><!--SW_VERSION = 1.000-->");
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
            seen << Attr_Text_Def(row, "A", QStringLiteral("missing")) + u'|' +
                        Attr_Text_Def(row, "B", QStringLiteral("missing"));
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

    // The bytes must be valid in the document's encoding: the one its
    // byte-order mark gives, else the one it declares, else UTF-8. A damaged
    // document names the line and the column of the first wrong byte.
    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("mnemonic"); // the row's M when loaded
        QTest::addColumn<int>("line");         // 0: loaded
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("reason");

        // The mnemonic starts on the second line of the body, at column 11.
        const auto body = [](const QByteArray &mnemonic) -> QByteArray {
            return "<R>\n  <row M=\"" + mnemonic + "\"/>\n</R>";
        };
        const auto declared = [&](const char *encoding, const QByteArray &mnemonic) -> QByteArray {
            return "<?xml version=\"1.0\" encoding=\"" + QByteArray(encoding) + "\"?>\n" + body(mnemonic);
        };
        const auto utf16 = [](const QString &text, bool big) -> QByteArray {
            QByteArray bytes;
            for (QChar c : text) {
                const char high = char(c.unicode() >> 8);
                const char low = char(c.unicode() & 0xFF);
                bytes.append(big ? high : low).append(big ? low : high);
            }
            return bytes;
        };
        const QString kitchen = QStringLiteral("Küche °C €");
        const QString body_text = QString::fromUtf8(body(kitchen.toUtf8()));
        const auto &m = Messages();

        QTest::newRow("undeclared UTF-8") << body(kitchen.toUtf8()) << kitchen << 0 << 0 << QString();
        QTest::newRow("UTF-8 with its mark")
            << QByteArray("\xEF\xBB\xBF" + body(kitchen.toUtf8())) << kitchen << 0 << 0 << QString();
        QTest::newRow("UTF-16LE with its mark")
            << QByteArray("\xFF\xFE" + utf16(body_text, false)) << kitchen << 0 << 0 << QString();
        QTest::newRow("UTF-16BE with its mark")
            << QByteArray("\xFE\xFF" + utf16(body_text, true)) << kitchen << 0 << 0 << QString();
        QTest::newRow("declared windows-1252")
            << declared("windows-1252", "K\374che \260C \200") << kitchen << 0 << 0 << QString();
        QTest::newRow("declared ISO-8859-1, quoted with ', after a blank line")
            << QByteArray("\n<?xml version='1.0' encoding='ISO-8859-1'?>" + body("K\374che \260C"))
            << QStringLiteral("Küche °C") << 0 << 0 << QString();
        QTest::newRow("declared UTF-8") << declared("UTF-8", kitchen.toUtf8()) << kitchen << 0 << 0 << QString();

        QTest::newRow("undeclared Latin-1")
            << body("K\374che") << QString() << 2 << 12 << m.Get(Msg_Xml_Not_Utf8).arg(QStringLiteral("FC"));
        QTest::newRow("undeclared Latin-1 degree sign")
            << body("Temp \260C") << QString() << 2 << 16 << m.Get(Msg_Xml_Not_Utf8).arg(QStringLiteral("B0"));
        QTest::newRow("overlong UTF-8") << body("a\xC0\xAF") << QString() << 2 << 12
                                        << m.Get(Msg_Xml_Not_Utf8).arg(QStringLiteral("C0"));
        QTest::newRow("UTF-8 cut short at the end") << QByteArray(body("a") + "\xE2\x82") << QString() << 3 << 5
                                                    << m.Get(Msg_Xml_Not_Utf8).arg(QStringLiteral("E2"));
        QTest::newRow("declared UTF-8, Latin-1 bytes")
            << declared("UTF-8", "\303\274K\374che") << QString() << 3 << 13
            << m.Get(Msg_Xml_Invalid_Byte).arg(QStringLiteral("FC"), QStringLiteral("UTF-8"));
        QTest::newRow("declared US-ASCII, a byte above 127")
            << declared("US-ASCII", "K\374che") << QString() << 3 << 12
            << m.Get(Msg_Xml_Invalid_Byte).arg(QStringLiteral("FC"), QStringLiteral("US-ASCII"));
        QTest::newRow("UTF-16 unpaired surrogate")
            << QByteArray("\xFF\xFE" + utf16(QStringLiteral("<R>\n  <row M=\"K"), false) + QByteArray("\x00\xD8", 2) +
                          utf16(QStringLiteral("x\"/></R>"), false))
            << QString() << 2 << 12
            << m.Get(Msg_Xml_Invalid_Byte).arg(QStringLiteral("00"), QStringLiteral("UTF-16LE"));
        QTest::newRow("UTF-16 odd byte count")
            << QByteArray("\xFF\xFE" + utf16(body_text, false) + "<") << QString() << 3 << 5
            << m.Get(Msg_Xml_Invalid_Byte).arg(QStringLiteral("3C"), QStringLiteral("UTF-16LE"));
        QTest::newRow("UTF-16 without its mark")
            << utf16(body_text, false) << QString() << 1 << 2 << m.Get(Msg_Xml_Null_Character);
        QTest::newRow("NUL in UTF-8") << body(QByteArray("abcdefghij\0", 11)) << QString() << 2 << 21
                                      << m.Get(Msg_Xml_Null_Character);
        QTest::newRow("unknown encoding") << declared("x-no-such-code", "a") << QString() << 1 << 1
                                          << m.Get(Msg_Xml_Unknown_Encoding).arg(QStringLiteral("x-no-such-code"));
        QTest::newRow("system encoding") << declared("Locale", "a") << QString() << 1 << 1
                                         << m.Get(Msg_Xml_Unknown_Encoding).arg(QStringLiteral("Locale"));
        QTest::newRow("declared UTF-16 in single bytes")
            << declared("UTF-16", "a") << QString() << 1 << 1
            << m.Get(Msg_Xml_Encoding_Not_Used).arg(QStringLiteral("UTF-16"));
    }

    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, mnemonic);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(QString, reason);
        test::Write(Path("enc.xml"), bytes);
        Xml_Document doc;
        const Xml_Document::State state = doc.Load(Path("enc.xml"));
        if (line == 0) {
            QCOMPARE(state, Xml_Document::State::Loaded);
            QVERIFY(doc.Problem().isEmpty());
            QCOMPARE(Attr_Text_Def(doc.Root().child("row"), "M", QString()), mnemonic);
            return;
        }
        QCOMPARE(state, Xml_Document::State::Damaged);
        QVERIFY(!doc.Root());
        QCOMPARE(doc.Problem(), Messages()
                                    .Get(Msg_File_Damaged)
                                    .arg(Path("enc.xml"), QString::number(line), QString::number(column), reason));
    }

    // An element that gives an attribute twice is not well-formed, whichever
    // element it is; the problem names the element, the attribute and where
    // its second value starts.
    void repeated_attributes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line"); // 0: loaded
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("attribute");

        QTest::newRow("row") << QByteArray("<R><G>\n<row A=\"1\" B=\"2\" A=\"3\"/></G></R>") << 2 << 18
                             << QStringLiteral("row") << QStringLiteral("A");
        QTest::newRow("characters before it") << QByteArray("<R><row M=\"Küche\" M=\"x\"/></R>") << 1 << 19
                                              << QStringLiteral("row") << QStringLiteral("M");
        QTest::newRow("key element") << QByteArray("<Par_Gen>\n<Key x=\"1\" x=\"2\">v</Key></Par_Gen>") << 2 << 12
                                     << QStringLiteral("Key") << QStringLiteral("x");
        QTest::newRow("blanks and single quotes")
            << QByteArray("<R><row A = '1'\n  A='2'/></R>") << 2 << 3 << QStringLiteral("row") << QStringLiteral("A");
        QTest::newRow("third row") << QByteArray("<R><G>\n<row A=\"1\"/>\n<row A=\"1\" B=\"\"/>\n"
                                                 "<row B=\"\" B=\"\"/></G></R>")
                                   << 4 << 11 << QStringLiteral("row") << QStringLiteral("B");
        QByteArray many = "<R><row ";
        for (int i = 0; i < 30; ++i)
            many += "a" + QByteArray::number(i) + "=\"\" ";
        const int column = int(many.size()) + 1;
        QTest::newRow("thirty attributes")
            << QByteArray(many + "a7=\"x\"/></R>") << 1 << column << QStringLiteral("row") << QStringLiteral("a7");
        QTest::newRow("names differing in letter case")
            << QByteArray("<R><row A=\"1\" a=\"2\"/></R>") << 0 << 0 << QString() << QString();
    }

    void repeated_attributes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(QString, element);
        QFETCH(QString, attribute);
        test::Write(Path("twice.xml"), bytes);
        Xml_Document doc;
        const Xml_Document::State state = doc.Load(Path("twice.xml"));
        if (line == 0) {
            QCOMPARE(state, Xml_Document::State::Loaded);
            return;
        }
        QCOMPARE(state, Xml_Document::State::Damaged);
        QCOMPARE(doc.Problem(), Messages()
                                    .Get(Msg_File_Damaged)
                                    .arg(Path("twice.xml"), QString::number(line), QString::number(column),
                                         Messages().Get(Msg_Xml_Attribute_Twice).arg(element, attribute)));
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
