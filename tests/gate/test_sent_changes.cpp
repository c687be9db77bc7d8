#include "core/messages.h"
#include "gate/sent_changes.h"
#include "test_support.h"
#include "update/job_file.h"
#include "update/sent_images.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// "Changes since last update": the images about to be sent against the copy
// kept from the last successful update to an address. The list itself is the
// image comparison's; here only whether there is one.
class Test_Sent_Changes : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString project_;

private slots:
    void init()
    {
        project_ = dir_.filePath(QStringLiteral("Plant"));
        QDir(project_).removeRecursively();
        test::Write(Job_Bank1_Path(project_), QByteArray(2048, '\1'));
        test::Write(Job_Bank2_Path(project_), QByteArray(64, '\2'));
    }

    // The three outcomes, for the address typed in any spelling.
    void outcomes_data()
    {
        QTest::addColumn<QString>("kept_for"); // empty: nothing kept
        QTest::addColumn<QByteArray>("kept_bank2");
        QTest::addColumn<QString>("asked_for");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("heading");
        const QString one = QStringLiteral("192.168.2.205");
        const QByteArray same(64, '\2');
        QTest::newRow("nothing kept") << QString() << QByteArray() << one << int(Sent_Changes::Kind::Nothing_Kept)
                                      << int(Msg_Changes_Nothing_Kept);
        QTest::newRow("kept for another address")
            << QStringLiteral("192.168.2.206") << same << one << int(Sent_Changes::Kind::Nothing_Kept)
            << int(Msg_Changes_Nothing_Kept);
        QTest::newRow("same") << one << same << one << int(Sent_Changes::Kind::Same) << int(Msg_Changes_None);
        QTest::newRow("same, address with zeros") << one << same << QStringLiteral("192.168.002.205")
                                                  << int(Sent_Changes::Kind::Same) << int(Msg_Changes_None);
        QByteArray changed = same;
        changed[10] = '\3';
        QTest::newRow("one byte changed")
            << one << changed << one << int(Sent_Changes::Kind::Changed) << int(Msg_Changes_Listed);
    }

    void outcomes()
    {
        QFETCH(QString, kept_for);
        QFETCH(QByteArray, kept_bank2);
        QFETCH(QString, asked_for);
        QFETCH(int, kind);
        QFETCH(int, heading);
        if (!kept_for.isEmpty())
            QVERIFY(Keep_Sent_Images(project_, kept_for, {QByteArray(2048, '\1'), kept_bank2, {}}).Ok());
        const Result<Sent_Changes> changes = Changes_Since_Last_Update(project_, asked_for);
        QVERIFY2(changes.Ok(), qPrintable(changes.Problem()));
        QCOMPARE(int(changes->kind), kind);
        // The heading names the address as the ping reads it.
        const QString prefix = Messages().Get(heading).section(QStringLiteral("%1"), 0, 0);
        QVERIFY2(changes->heading.startsWith(prefix), qPrintable(changes->heading));
        QVERIFY2(changes->heading.contains(QStringLiteral("192.168.2.205")), qPrintable(changes->heading));
        QCOMPARE(changes->differences.isEmpty(), kind != int(Sent_Changes::Kind::Changed));
        if (kind == int(Sent_Changes::Kind::Changed))
            QVERIFY2(changes->heading.contains(QString::number(changes->differences.size())),
                     qPrintable(changes->heading));
        QCOMPARE(changes->Text(), (QStringList{changes->heading} + changes->differences).join(u'\n'));
    }

    // What cannot be compared is said: an address the ping refuses (the
    // window's own message), an image to send or a kept one that cannot be
    // read (naming it).
    void what_cannot_be_compared_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("remove"); // below the configuration
        QTest::addColumn<QString>("said");   // null: message 1037; else the file the problem names
        QTest::newRow("octet over 255") << QStringLiteral("192.168.2.300") << QString() << QString();
        QTest::newRow("empty box") << QStringLiteral("192.168..205") << QString() << QString();
        QTest::newRow("image to send missing")
            << QStringLiteral("192.168.2.205") << QStringLiteral("bin/bank2.bin") << QStringLiteral("bin/bank2.bin");
        QTest::newRow("half the kept pair")
            << QStringLiteral("192.168.2.205") << QStringLiteral("bin/sent/192.168.2.205/bank1.bin")
            << QStringLiteral("bin/sent/192.168.2.205/bank1.bin");
    }

    void what_cannot_be_compared()
    {
        QFETCH(QString, address);
        QFETCH(QString, remove);
        QFETCH(QString, said);
        QVERIFY(Keep_Sent_Images(project_, QStringLiteral("192.168.2.205"), {"1", "2", {}}).Ok());
        if (!remove.isEmpty())
            QVERIFY(QFile::remove(project_ + u'/' + remove));
        const Result<Sent_Changes> changes = Changes_Since_Last_Update(project_, address);
        QVERIFY(!changes.Ok());
        if (said.isNull())
            QCOMPARE(changes.Problem(), Messages().Get(1037));
        else
            QVERIFY2(changes.Problem().contains(QDir::toNativeSeparators(project_ + u'/' + said)),
                     qPrintable(changes.Problem()));
    }
};

QTEST_GUILESS_MAIN(Test_Sent_Changes)
#include "test_sent_changes.moc"
