#include "core/messages.h"
#include "test_support.h"
#include "update/image_summary.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// What the update window says it will send: sizes and CRC-32 read from the
// files, against figures that `crc32` gives for the same bytes.
class Test_Image_Summary : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    QString Path(const char *name) const { return dir_.filePath(QLatin1StringView(name)); }

    // Every byte value 300 times: larger than one piece of the reading.
    static QByteArray Large()
    {
        QByteArray bytes;
        for (int i = 0; i < 256; ++i)
            bytes.append(char(i));
        return bytes.repeated(300);
    }

private slots:
    void initTestCase()
    {
        test::Write(Path("bank1.bin"), "123456789");
        test::Write(Path("bank2.bin"), QByteArray(32, '\0'));
        test::Write(Path("empty.bin"), QByteArray());
        test::Write(Path("large.bin"), Large());
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("folder.bin")));
    }

    void reads_sizes_and_crcs_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("two images, in the order given")
            << QStringList{QStringLiteral("bank2.bin"), QStringLiteral("bank1.bin")}
            << QStringList{QStringLiteral("bank2.bin   32 bytes   CRC-32 190A55AD"),
                           QStringLiteral("bank1.bin   9 bytes   CRC-32 CBF43926")};
        QTest::newRow("empty file") << QStringList{QStringLiteral("empty.bin")}
                                    << QStringList{QStringLiteral("empty.bin   0 bytes   CRC-32 00000000")};
        QTest::newRow("read in pieces") << QStringList{QStringLiteral("large.bin")}
                                        << QStringList{QStringLiteral("large.bin   76800 bytes   CRC-32 BB9CF916")};
    }

    void reads_sizes_and_crcs()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, lines);
        QStringList paths;
        for (const QString &name : names)
            paths << dir_.filePath(name);
        const Result<QList<Image_Facts>> images = Read_Image_Facts(paths);
        QVERIFY2(images.Ok(), qPrintable(images.Problem()));
        QStringList shown;
        QStringList read_paths;
        for (const Image_Facts &image : images.Value()) {
            shown << Image_Line(image);
            read_paths << image.path;
        }
        QCOMPARE(shown, lines);
        QCOMPARE(read_paths, paths);
    }

    void texts()
    {
        QCOMPARE(Configuration_Line(QStringLiteral("Plant A")), QStringLiteral("Configuration: Plant A"));
        QCOMPARE(Image_Size_Text(75776), QStringLiteral("75776 bytes"));
        QCOMPARE(Image_Crc_Text(0x00D5DDC2u), QStringLiteral("CRC-32 00D5DDC2"));
    }

    // The first file that cannot be read is named with the reason; nothing
    // is given for the others.
    void unreadable_images_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("named");
        QTest::newRow("second missing") << QStringList{QStringLiteral("bank1.bin"), QStringLiteral("gone.bin")}
                                        << QStringLiteral("gone.bin");
        QTest::newRow("first missing") << QStringList{QStringLiteral("gone.bin"), QStringLiteral("missing.bin")}
                                       << QStringLiteral("gone.bin");
        QTest::newRow("a folder") << QStringList{QStringLiteral("folder.bin"), QStringLiteral("bank2.bin")}
                                  << QStringLiteral("folder.bin");
    }

    void unreadable_images()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, named);
        QStringList paths;
        for (const QString &name : names)
            paths << dir_.filePath(name);
        const Result<QList<Image_Facts>> images = Read_Image_Facts(paths);
        QVERIFY(!images.Ok());
        // Message 1115 with the file and a reason after the colon.
        const QString head =
            Messages().Get(Msg_File_Not_Read).arg(QDir::toNativeSeparators(dir_.filePath(named)), QString());
        QVERIFY2(images.Problem().startsWith(head), qPrintable(images.Problem()));
        QVERIFY2(images.Problem().size() > head.size(), qPrintable(images.Problem()));
    }

    void no_images_given()
    {
        const Result<QList<Image_Facts>> images = Read_Image_Facts({});
        QVERIFY(!images.Ok());
        QCOMPARE(images.Problem(), Messages().Get(Msg_No_Images));
    }
};

QTEST_APPLESS_MAIN(Test_Image_Summary)
#include "test_image_summary.moc"
