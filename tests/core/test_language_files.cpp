// The language files and flag pictures that come with the program.

#include "core/messages.h"
#include "test_support.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Data_Dir = QStringLiteral(SW_DATA_DIR);
const QString Language_Dir = Data_Dir + QStringLiteral("/LANGUAGE");

struct Text_Line
{
    int line = 0; // 1-based, for messages
    int number = 0;
    QString text; // what the entry must hold once the file is read
};

// Reads a shipped language file by a stricter rule than the program's: every
// line is blank, a "/#/" comment or exactly "STRnnnn = text". A line the
// program would skip silently (a missing blank before "=", lower case, a
// number out of range) fails here instead.
QList<Text_Line> Parse_Strictly(const QString &path, QStringList *faults)
{
    const QByteArray bytes = test::Read(path);
    const QByteArray bom("\xEF\xBB\xBF");
    if (!bytes.startsWith(bom))
        *faults << QStringLiteral("%1 does not start with a UTF-8 byte-order mark").arg(path);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString all = utf8.decode(bytes.mid(bom.size()));
    if (utf8.hasError())
        *faults << QStringLiteral("%1 is not valid UTF-8").arg(path);

    static const QRegularExpression form(QStringLiteral("^STR(\\d{4}) = (.+)$"));
    const QChar pilcrow(0x00B6);
    QList<Text_Line> lines;
    const QStringList raw = all.split(u'\n');
    for (int i = 0; i < raw.size(); ++i) {
        QString line = raw[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QStringLiteral("/#/")))
            continue;
        const QRegularExpressionMatch m = form.match(line);
        if (!m.hasMatch()) {
            *faults << QStringLiteral("line %1 is neither a comment nor a text line: %2").arg(i + 1).arg(line);
            continue;
        }
        QString text = m.captured(2);
        const qsizetype comment = text.indexOf(QStringLiteral("/#/"));
        if (comment >= 0)
            text = text.left(comment);
        text = text.trimmed();
        if (text.startsWith(pilcrow))
            text.remove(0, 1);
        if (text.contains(pilcrow))
            text.truncate(text.indexOf(pilcrow));
        if (text.isEmpty())
            *faults << QStringLiteral("line %1 gives an empty text").arg(i + 1);
        lines.append({i + 1, m.captured(1).toInt(), text});
    }
    return lines;
}

// The numbers that carry an English text (built-in or added by the program).
QSet<int> English_Numbers()
{
    Message_Table english;
    QSet<int> numbers;
    for (int n = 0; n < english.Messages_Count(); ++n)
        if (english.Get(n) != QStringLiteral(" "))
            numbers.insert(n);
    return numbers;
}

QStringList Placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%(\\d|d)"));
    QStringList found;
    for (const QRegularExpressionMatch &m : placeholder.globalMatch(text))
        found << m.captured(0);
    found.sort();
    return found;
}

QString Numbers_Text(QList<int> numbers)
{
    std::sort(numbers.begin(), numbers.end());
    QStringList texts;
    for (int n : numbers)
        texts << QString::number(n);
    return texts.join(QStringLiteral(", "));
}

} // namespace

class Test_Language_Files : public QObject
{
    Q_OBJECT

private slots:
    // Every text line of Italiano.lng reaches its entry: the reader skips no
    // line, no number appears twice (the later line would hide the earlier),
    // and what the table holds is exactly the line's text.
    void italian_every_line_taken()
    {
        QStringList faults;
        const QList<Text_Line> lines = Parse_Strictly(Language_Dir + QStringLiteral("/Italiano.lng"), &faults);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
        QVERIFY(!lines.isEmpty());

        Message_Table table;
        QVERIFY(table.Read_Language_File(Language_Dir + QStringLiteral("/Italiano.lng")).Ok());
        QSet<int> seen;
        for (const Text_Line &line : lines) {
            if (seen.contains(line.number))
                faults << QStringLiteral("line %1: number %2 appears twice").arg(line.line).arg(line.number);
            seen.insert(line.number);
            if (table.Get(line.number) != line.text)
                faults << QStringLiteral("line %1: entry %2 holds \"%3\" instead of \"%4\"")
                              .arg(line.line)
                              .arg(line.number)
                              .arg(table.Get(line.number), line.text);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    // Italiano.lng translates every number that has an English text, and no
    // other: a text added to the program needs its Italian line too.
    void italian_covers_every_text()
    {
        QStringList faults;
        const QList<Text_Line> lines = Parse_Strictly(Language_Dir + QStringLiteral("/Italiano.lng"), &faults);
        QSet<int> italian;
        for (const Text_Line &line : lines)
            italian.insert(line.number);
        const QSet<int> english = English_Numbers();
        QCOMPARE(english.size(), 607 + Added_Message_Count());
        const QSet<int> missing = english - italian;
        const QSet<int> extra = italian - english;
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("Italiano.lng lacks the numbers %1; add a line \"STRnnnn = ...\" to the "
                                           "group of their window")
                                .arg(Numbers_Text(missing.values()))));
        QVERIFY2(extra.isEmpty(), qPrintable(QStringLiteral("Italiano.lng names numbers without an English text: %1")
                                                 .arg(Numbers_Text(extra.values()))));
    }

    // A translation keeps what the program fills in or joins: the same
    // placeholders, and a blank at either end where the English has one
    // (texts that are joined with numbers and names).
    void italian_keeps_placeholders_and_blanks()
    {
        Message_Table english;
        Message_Table italian;
        QVERIFY(italian.Read_Language_File(Language_Dir + QStringLiteral("/Italiano.lng")).Ok());
        QStringList faults;
        for (int n : English_Numbers()) {
            const QString en = english.Get(n);
            const QString it = italian.Get(n);
            if (Placeholders(en) != Placeholders(it))
                faults << QStringLiteral("%1: placeholders %2 became %3")
                              .arg(n)
                              .arg(Placeholders(en).join(u' '), Placeholders(it).join(u' '));
            if (en.startsWith(u' ') != it.startsWith(u' ') || en.endsWith(u' ') != it.endsWith(u' '))
                faults << QStringLiteral("%1: \"%2\" and \"%3\" differ in their outer blanks").arg(n).arg(en, it);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
        QCOMPARE(italian.Get(317), QStringLiteral(" a "));
        QCOMPARE(italian.Get(306), QStringLiteral(" / "));
        QCOMPARE(italian.Get(9), QStringLiteral("Nessuna configurazione aperta "));
        QVERIFY(italian.Get(497).contains(QStringLiteral("%d")));
    }

    // English.lng exists only so that the options dialog offers English: it
    // must leave the built-in texts as they are.
    void english_file_changes_nothing()
    {
        QStringList faults;
        const QList<Text_Line> lines = Parse_Strictly(Language_Dir + QStringLiteral("/English.lng"), &faults);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
        QVERIFY(lines.isEmpty());
        Message_Table table;
        QVERIFY(table.Read_Language_File(Language_Dir + QStringLiteral("/English.lng")).Ok());
        QCOMPARE(table.Texts(), Message_Table().Texts());
    }

    void flags_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("English") << QStringLiteral("English.bmp");
        QTest::newRow("Italiano") << QStringLiteral("Italiano.bmp");
        QTest::newRow("default") << QStringLiteral("DefaultFlag.bmp");
    }

    // Each flag is a 48 x 48 picture with a transparent band above and
    // below the flag, as the options dialog's slots show them.
    void flags()
    {
        QFETCH(QString, name);
        const QImage image(Language_Dir + u'/' + name);
        QVERIFY2(!image.isNull(), qPrintable(name));
        QCOMPARE(image.size(), QSize(48, 48));
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(47, 47)), 0);
        QCOMPARE(qAlpha(image.pixel(24, 24)), 255);
    }

    // The committed pictures are what the script draws.
    void flags_match_their_script()
    {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty())
            QSKIP("python3 is not installed: the flag script cannot be checked");
        QTemporaryDir out;
        QProcess script;
        script.start(python, {QStringLiteral(SW_SCRIPTS_DIR "/make_flags.py"), out.path()});
        QVERIFY(script.waitForFinished(120000));
        QVERIFY2(script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0,
                 script.readAllStandardError().constData());
        for (const char *name : {"English.bmp", "Italiano.bmp", "DefaultFlag.bmp"}) {
            const QString file = QLatin1StringView(name);
            QVERIFY2(test::Read(out.filePath(file)) == test::Read(Language_Dir + u'/' + file),
                     qPrintable(file + QStringLiteral(" differs from what scripts/make_flags.py draws")));
        }
    }
};

QTEST_GUILESS_MAIN(Test_Language_Files)
#include "test_language_files.moc"
