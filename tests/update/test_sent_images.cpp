#include "core/messages.h"
#include "test_support.h"
#include "update/job_file.h"
#include "update/sent_images.h"
#include "workspace/configurations.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// The copy of the images sent that each successful update keeps, per
// converter address, in the configuration's "bin" folder.
class Test_Sent_Images : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString project_;

    static Sent_Images Pair(const QByteArray &bank1, const QByteArray &bank2) { return {bank1, bank2, {}}; }

private slots:
    void init()
    {
        project_ = dir_.filePath(QStringLiteral("Plant"));
        QDir(project_).removeRecursively();
        QVERIFY(QDir().mkpath(project_));
    }

    // One folder per converter: the address as the ping reads it, so that
    // any spelling of one address finds the same copy; none for an address
    // the ping refuses.
    void folder_of_an_address_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("folder"); // below the configuration; empty: none
        QTest::newRow("plain") << QStringLiteral("192.168.2.205") << QStringLiteral("bin/sent/192.168.2.205");
        QTest::newRow("leading zeros") << QStringLiteral("192.168.002.205") << QStringLiteral("bin/sent/192.168.2.205");
        QTest::newRow("blanks and hex") << QStringLiteral(" 10.0.$0A.1") << QStringLiteral("bin/sent/10.0.10.1");
        QTest::newRow("over 255") << QStringLiteral("10.0.0.256") << QString();
        QTest::newRow("three parts") << QStringLiteral("10.0.1") << QString();
        QTest::newRow("a path") << QStringLiteral("../../x") << QString();
    }

    void folder_of_an_address()
    {
        QFETCH(QString, address);
        QFETCH(QString, folder);
        const QString got = Sent_Images_Folder(project_, address);
        QCOMPARE(got, folder.isEmpty() ? QString() : project_ + u'/' + folder);
    }

    // Kept as a pair, read back byte for byte, each address apart; a new
    // compilation (bin/bank1.bin, bin/bank2.bin) touches no copy.
    void kept_per_address()
    {
        const QString a = QStringLiteral("127.0.0.1");
        const QString b = QStringLiteral("127.0.0.2");
        QVERIFY(!Read_Sent_Images(project_, a).Value());
        QVERIFY(Keep_Sent_Images(project_, a, Pair("one", QByteArray(40, 'x'))).Ok());
        QVERIFY(Keep_Sent_Images(project_, b, Pair("two", "2")).Ok());
        test::Write(Job_Bank1_Path(project_), "compiled again");
        QVERIFY(Keep_Sent_Images(project_, QStringLiteral("127.000.0.1"), Pair("one again", "1")).Ok());

        const auto kept_a = Read_Sent_Images(project_, a);
        QVERIFY2(kept_a.Ok(), qPrintable(kept_a.Problem()));
        QCOMPARE(kept_a.Value()->bank1, QByteArray("one again"));
        QCOMPARE(kept_a.Value()->bank2, QByteArray("1"));
        QVERIFY(kept_a.Value()->kept_at.isValid());
        const auto kept_b = Read_Sent_Images(project_, b);
        QCOMPARE(kept_b.Value()->bank1, QByteArray("two"));
        QCOMPARE(kept_b.Value()->bank2, QByteArray("2"));
        QCOMPARE(test::Read(Job_Bank1_Path(project_)), QByteArray("compiled again"));
        QCOMPARE(QDir(project_ + QStringLiteral("/bin/sent")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{a, b}));
    }

    // Half a pair is not taken for a copy: reading it fails, naming the file
    // that is missing.
    void half_a_pair_is_a_problem()
    {
        const QString address = QStringLiteral("127.0.0.3");
        QVERIFY(Keep_Sent_Images(project_, address, Pair("1", "2")).Ok());
        const QString bank2 = Sent_Images_Folder(project_, address) + QStringLiteral("/bank2.bin");
        QVERIFY(QFile::remove(bank2));
        const auto kept = Read_Sent_Images(project_, address);
        QVERIFY(!kept.Ok());
        QVERIFY2(kept.Problem().contains(QDir::toNativeSeparators(bank2)), qPrintable(kept.Problem()));
    }

    // A copy that cannot be written: the problem names the file, and the
    // copy of the update before (which no longer shows what the converter
    // holds) is removed, or said to be still there.
    void keeping_that_fails()
    {
        const QString address = QStringLiteral("127.0.0.4");
        const QString folder = Sent_Images_Folder(project_, address);
        QVERIFY(Keep_Sent_Images(project_, address, Pair("old", "old")).Ok());
        // A folder where bank2.bin goes: nothing can be replaced.
        QVERIFY(QFile::remove(folder + QStringLiteral("/bank2.bin")));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/bank2.bin")));
        const Result<> kept = Keep_Sent_Images(project_, address, Pair("new", "new"));
        QVERIFY(!kept.Ok());
        const QStringList lines = kept.Problem().split(u'\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].contains(QStringLiteral("bank2.bin")), qPrintable(lines[0]));
        QVERIFY2(lines[1].startsWith(Messages().Get(Msg_Sent_Copy_Not_Removed).section(u'%', 0, 0)),
                 qPrintable(lines[1]));
        QVERIFY2(lines[1].contains(QDir::toNativeSeparators(folder)), qPrintable(lines[1]));
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/bank1.bin"))); // the old bank 1 went

        // With the pair removable, it is removed whole.
        QVERIFY(QDir(folder + QStringLiteral("/bank2.bin")).removeRecursively());
        QVERIFY(Keep_Sent_Images(project_, address, Pair("old", "old")).Ok());
        QCOMPARE(Forget_Sent_Images(project_, address),
                 Messages().Get(Msg_Sent_Copy_Removed).arg(QDir::toNativeSeparators(folder)));
        QVERIFY(!Read_Sent_Images(project_, address).Value());
        QCOMPARE(Forget_Sent_Images(project_, address), QString());
    }

    // Without the configuration folder nothing is made, not even it.
    void no_configuration_folder()
    {
        QVERIFY(QDir(project_).removeRecursively());
        const Result<> kept = Keep_Sent_Images(project_, QStringLiteral("127.0.0.1"), Pair("1", "2"));
        QCOMPARE(kept.Problem(), Check_Configuration_Folder(project_).Problem());
        QVERIFY(!kept.Ok());
        QVERIFY(!QFileInfo::exists(project_));
    }
};

QTEST_GUILESS_MAIN(Test_Sent_Images)
#include "test_sent_images.moc"
