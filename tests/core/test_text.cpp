#include "core/text.h"

#include <QTest>

using namespace Qt::StringLiterals;

class Test_Text : public QObject
{
    Q_OBJECT

private slots:
    // A template fills as QString::arg with as many arguments would, for
    // every message the tables fill many times (places %1 to %4).
    void template_fills_places_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("filled");
        QTest::newRow("in order") << u"Warning! [%1] row %2: overlaps row %3 (byte %4)"_s
                                  << QStringList{u"Read"_s, u"2"_s, u"1"_s, u"7"_s}
                                  << u"Warning! [Read] row 2: overlaps row 1 (byte 7)"_s;
        QTest::newRow("reordered, as a translation may") << u"%2 <- %1"_s << QStringList{u"a"_s, u"b"_s} << u"b <- a"_s;
        QTest::newRow("a place twice") << u"%1/%1"_s << QStringList{u"x"_s} << u"x/x"_s;
        QTest::newRow("a % in an argument stays")
            << u"[%1] %2"_s << QStringList{u"50% %2"_s, u"y"_s} << u"[50% %2] y"_s;
        QTest::newRow("a lone %, at the end") << u"100% %1%"_s << QStringList{u"z"_s} << u"100% z%"_s;
        QTest::newRow("a place without argument") << u"%1 %3"_s << QStringList{u"a"_s, u"b"_s} << u"a %3"_s;
        QTest::newRow("no places") << u"plain"_s << QStringList{u"a"_s} << u"plain"_s;
        QTest::newRow("empty") << QString() << QStringList{} << QString();
    }

    void template_fills_places()
    {
        QFETCH(QString, format);
        QFETCH(QStringList, args);
        QFETCH(QString, filled);
        const Text_Template text(format);
        QList<Text_Arg> views;
        for (const QString &a : args)
            views << a;
        QString result;
        switch (views.size()) {
        case 0:
            result = text.Fill({});
            break;
        case 1:
            result = text.Fill({views[0]});
            break;
        case 2:
            result = text.Fill({views[0], views[1]});
            break;
        default:
            result = text.Fill({views[0], views[1], views[2], views[3]});
            break;
        }
        QCOMPARE(result, filled);
        // Twice from one template: the same text.
        if (views.size() == 4)
            QCOMPARE(text.Fill({views[0], views[1], views[2], views[3]}), filled);
    }

    // Numbers are written as QString::number writes them.
    void template_fills_numbers()
    {
        const Text_Template text(u"%1|%2|%3|%4"_s);
        QCOMPARE(text.Fill({0, -7, 2147483647, int(-2147483647 - 1)}), u"0|-7|2147483647|-2147483648"_s);
        QCOMPARE(text.Fill({u"row"_s, 1499}), u"row|1499|%3|%4"_s);
    }

    // Control characters, and only they, become \uXXXX.
    void controls_escaped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("plain") << u"t1 \u00B0C \"x\""_s << u"t1 \u00B0C \"x\""_s;
        QTest::newRow("line break and tab") << u"a\nb\tc\r"_s << u"a\\u000ab\\u0009c\\u000d"_s;
        QTest::newRow("edges of the range")
            << QString(QChar(0)) + u"\x1f \x7f\u0080"_s << u"\\u0000\\u001f \\u007f\u0080"_s;
        QTest::newRow("empty") << QString() << QString();
    }

    void controls_escaped()
    {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        QCOMPARE(Controls_Escaped(text), escaped);
    }
};

QTEST_APPLESS_MAIN(Test_Text)
#include "test_text.moc"
