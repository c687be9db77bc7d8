#include "core/messages.h"
#include "test_support.h"
#include "workspace/language.h"
#include "workspace/workspace.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString Pilcrow()
{
    return QString(QChar(0x00B6));
}

} // namespace

class Test_Messages : public QObject
{
    Q_OBJECT

private slots:
    void english_table()
    {
        Message_Table table;
        QCOMPARE(table.Messages_Count(), Message_Table::Count);
        QCOMPARE(table.Texts().size(), Message_Table::Count);
        int with_text = 0;
        for (const QString &text : table.Texts()) {
            QVERIFY(!text.isEmpty());
            if (text != u" ")
                ++with_text;
        }
        // 607 texts of the English table and the program's own additions.
        QCOMPARE(with_text, 607 + Added_Message_Count());
        QCOMPARE(table.Get(0), QStringLiteral("Begin"));
        QCOMPARE(table.Get(9), QStringLiteral("No Configuration Opened "));
        QCOMPARE(table.Get(18), QStringLiteral("Error! Project not Valid"));
        QCOMPARE(table.Get(1242),
                 QStringLiteral("Warning!! Max Payload Size not Set Up. Set it in \"Set Communication\" section"));
        QCOMPARE(table.Get(99), QStringLiteral(" "));
        QCOMPARE(table.Get(1819), QStringLiteral(" "));
        QCOMPARE(table.Get(-1), QStringLiteral(" "));
        QCOMPARE(table.Get(1700), QStringLiteral(" "));
        QCOMPARE(table.Get(Message_Table::Count), QStringLiteral(" "));
    }

    void language_lines_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("expected");
        const QString open = QStringLiteral("&Open Configuration");
        QTest::newRow("plain") << QStringLiteral("STR0015 = Nuova") << 15 << QStringLiteral("Nuova");
        QTest::newRow("others untouched") << QStringLiteral("STR0015 = Nuova") << 16 << open;
        QTest::newRow("blanks around") << QStringLiteral("   STR0016 = Apri   ") << 16 << QStringLiteral("Apri");
        QTest::newRow("tab and controls trimmed")
            << QStringLiteral("\tSTR0016 = Apri\t\x01") << 16 << QStringLiteral("Apri");
        QTest::newRow("lower case str") << QStringLiteral("str0016 = Apri") << 16 << open;
        QTest::newRow("past the end ignored") << QStringLiteral("STR%1 = x").arg(Message_Table::Count) << 16 << open;
        QTest::newRow("-1 ignored") << QStringLiteral("STR-1 = x\nSTR0016 = y") << 16 << QStringLiteral("y");
        QTest::newRow("last") << QStringLiteral("STR%1 = x").arg(Message_Table::Count - 1) << Message_Table::Count - 1
                              << QStringLiteral("x");
        QTest::newRow("no number") << QStringLiteral("STR = x") << 16 << open;
        QTest::newRow("no equals") << QStringLiteral("STR0016 Apri") << 16 << open;
        QTest::newRow("empty text") << QStringLiteral("STR0016 =") << 16 << open;
        QTest::newRow("blank text") << QStringLiteral("STR0016 =    ") << 16 << open;
        QTest::newRow("comment") << QStringLiteral("STR0016 = Apri /#/ button") << 16 << QStringLiteral("Apri");
        QTest::newRow("only a comment") << QStringLiteral("STR0016 = /#/ note") << 16 << open;
        QTest::newRow("pilcrows keep blanks")
            << QStringLiteral("STR0317 = %1 a %1").arg(Pilcrow()) << 317 << QStringLiteral(" a ");
        QTest::newRow("trailing blank kept")
            << QStringLiteral("STR0011 = Aperta : %1").arg(Pilcrow()) << 11 << QStringLiteral("Aperta : ");
        QTest::newRow("pilcrow cuts") << QStringLiteral("STR0012 = Info%1rest").arg(Pilcrow()) << 12
                                      << QStringLiteral("Info");
        QTest::newRow("two pilcrows empty") << QStringLiteral("STR0012 = %1%1").arg(Pilcrow()) << 12 << QString();
        QTest::newRow("later line wins") << QStringLiteral("STR0016 = a\r\nSTR0016 = b") << 16 << QStringLiteral("b");
        QTest::newRow("CR endings") << QStringLiteral("STR0015 = a\rSTR0016 = b") << 16 << QStringLiteral("b");
        QTest::newRow("equals in text") << QStringLiteral("STR0016 = a = b") << 16 << QStringLiteral("a = b");
        QTest::newRow("headers skipped") << QStringLiteral("[Italiano]\n; comment\n\nSTR0016 = Apri") << 16
                                         << QStringLiteral("Apri");
        QTest::newRow("hex number") << QStringLiteral("STR$10 = x") << 16 << QStringLiteral("x");
    }

    void language_lines()
    {
        QFETCH(QString, file);
        QFETCH(int, number);
        QFETCH(QString, expected);
        Message_Table table;
        Apply_Language_Text(table, file);
        QCOMPARE(table.Get(number), expected);
        QCOMPARE(table.Texts().size(), Message_Table::Count);
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QStringLiteral("STR0016 = Città\n");
        QStringEncoder le(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        QStringEncoder be(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        QTest::newRow("utf-8 plain") << text.toUtf8();
        QTest::newRow("utf-16 le") << QByteArray(le.encode(text));
        QTest::newRow("utf-16 be") << QByteArray(be.encode(text));
        QTest::newRow("windows-1252") << QByteArray("STR0016 = Citt\xE0\n");
    }

    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        test::Write(dir.filePath(QStringLiteral("x.lng")), bytes);
        Message_Table table;
        QVERIFY(table.Read_Language_File(dir.filePath(QStringLiteral("x.lng"))).Ok());
        QCOMPARE(table.Get(16), QStringLiteral("Città"));
    }

    void unreadable_file_keeps_the_table()
    {
        Message_Table table;
        const Result<> read = table.Read_Language_File(QStringLiteral("/no/such/file.lng"));
        QVERIFY(!read);
        QVERIFY2(read.Problem().contains(QStringLiteral("/no/such/file.lng")), qPrintable(read.Problem()));
        QCOMPARE(table.Get(16), QStringLiteral("&Open Configuration"));
    }

    void load_language()
    {
        QTemporaryDir dir;
        Workspace ws;
        ws.Path_Language = dir.path();
        Message_Table table;
        test::Write(dir.filePath(QStringLiteral("Italiano.lng")), "STR0016 = Apri\n");
        test::Write(dir.filePath(QStringLiteral("English.lng")), "STR0015 = New!\n");

        ws.Language_Name = QStringLiteral("Italiano");
        Load_Language(ws, table);
        QCOMPARE(table.Get(16), QStringLiteral("Apri"));
        QCOMPARE(table.Get(15), QStringLiteral("&New Configuration"));

        // Switching back rebuilds the English texts first.
        ws.Language_Name = QStringLiteral("Deutsch");
        Load_Language(ws, table);
        QCOMPARE(ws.Language_Name, QStringLiteral("English"));
        QCOMPARE(table.Get(16), QStringLiteral("&Open Configuration"));
        QCOMPARE(table.Get(15), QStringLiteral("New!"));

        // A name reaching outside the folder is no language.
        ws.Language_Name = QStringLiteral("../") + dir.path().section(u'/', -1) + QStringLiteral("/Italiano");
        Load_Language(ws, table);
        QCOMPARE(ws.Language_Name, QStringLiteral("English"));

        QFile::remove(dir.filePath(QStringLiteral("English.lng")));
        ws.Language_Name = QStringLiteral("Deutsch");
        Load_Language(ws, table);
        QCOMPARE(table.Get(15), QStringLiteral("&New Configuration"));
    }
};

QTEST_APPLESS_MAIN(Test_Messages)
#include "test_messages.moc"
