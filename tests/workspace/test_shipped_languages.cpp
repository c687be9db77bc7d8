// Finding the shipped language files and their first copy into a workspace.

#include "core/messages.h"
#include "read_only_folder.h"
#include "test_support.h"
#include "workspace/language_list.h"
#include "workspace/shipped_languages.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A shipped folder with two languages, their flags and a file that is neither.
void Make_Shipped(const QString &dir)
{
    test::Write(dir + QStringLiteral("/Italiano.lng"), "STR0015 = Nuova configurazione\n");
    test::Write(dir + QStringLiteral("/English.lng"), "/#/ built in\n");
    test::Write(dir + QStringLiteral("/Italiano.bmp"), "BM-it");
    test::Write(dir + QStringLiteral("/DefaultFlag.bmp"), "BM-default");
    test::Write(dir + QStringLiteral("/README.txt"), "not a language");
    QDir().mkpath(dir + QStringLiteral("/folder.lng"));
}

QStringList Files(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class Test_Shipped_Languages : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString shipped_;
    QString language_;

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        shipped_ = dir_.filePath(QStringLiteral("shipped"));
        language_ = dir_.filePath(QStringLiteral("ws/LANGUAGE"));
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(language_);
        Make_Shipped(shipped_);
    }

    // An empty LANGUAGE folder gets every language file and flag, and the
    // options dialog offers the copies even when the shipped files are
    // read-only (as installed files are to a user).
    void first_copy_into_empty_folder()
    {
        for (const QString &name : Files(shipped_))
            QFile::setPermissions(shipped_ + u'/' + name, QFileDevice::ReadOwner | QFileDevice::ReadOther);
        const Shipped_Copy copy = Copy_Shipped_Languages(shipped_, language_);
        QCOMPARE(copy.problems, QStringList());
        const QStringList expected{QStringLiteral("DefaultFlag.bmp"), QStringLiteral("English.lng"),
                                   QStringLiteral("Italiano.bmp"), QStringLiteral("Italiano.lng")};
        QCOMPARE(copy.copied, expected);
        QCOMPARE(Files(language_), expected);
        QCOMPARE(test::Read(language_ + QStringLiteral("/Italiano.lng")),
                 QByteArray("STR0015 = Nuova configurazione\n"));
        QCOMPARE(Create_Lang_List(language_),
                 (QStringList{QStringLiteral("English.lng"), QStringLiteral("Italiano.lng")}));
    }

    void folder_with_a_language_is_left_alone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("user's own language") << QStringLiteral("Deutsch.lng");
        QTest::newRow("upper-case extension") << QStringLiteral("Deutsch.LNG");
        QTest::newRow("a shipped name") << QStringLiteral("Italiano.lng");
        QTest::newRow("hidden file") << QStringLiteral(".draft.lng");
    }

    // Once the folder holds any language file it is the user's: nothing is
    // added, not even a missing flag.
    void folder_with_a_language_is_left_alone()
    {
        QFETCH(QString, name);
        test::Write(language_ + u'/' + name, "STR0015 = mine\n");
        const Shipped_Copy copy = Copy_Shipped_Languages(shipped_, language_);
        QCOMPARE(copy.copied, QStringList());
        QCOMPARE(Files(language_), QStringList{name});
        QCOMPARE(test::Read(language_ + u'/' + name), QByteArray("STR0015 = mine\n"));
    }

    // A read-only language file is the user's too, though the dialog hides it.
    void read_only_language_counts()
    {
        test::Write(language_ + QStringLiteral("/Locked.lng"), "x");
        QFile::setPermissions(language_ + QStringLiteral("/Locked.lng"), QFileDevice::ReadOwner);
        QCOMPARE(Copy_Shipped_Languages(shipped_, language_).copied, QStringList());
    }

    // Without language files the shipped ones are copied, but a user's
    // flag picture, or a link in the place of a file, is never replaced.
    void existing_files_are_never_replaced()
    {
        test::Write(language_ + QStringLiteral("/DefaultFlag.bmp"), "my flag");
        const QString nowhere = dir_.filePath(QStringLiteral("nowhere/target.bmp"));
        QVERIFY(QFile::link(nowhere, language_ + QStringLiteral("/Italiano.bmp")));
        const Shipped_Copy copy = Copy_Shipped_Languages(shipped_, language_);
        QCOMPARE(copy.copied, (QStringList{QStringLiteral("English.lng"), QStringLiteral("Italiano.lng")}));
        QCOMPARE(copy.problems, QStringList());
        QCOMPARE(test::Read(language_ + QStringLiteral("/DefaultFlag.bmp")), QByteArray("my flag"));
        QVERIFY(QFileInfo(language_ + QStringLiteral("/Italiano.bmp")).isSymLink());
        QVERIFY(!QFileInfo::exists(nowhere));

        // The next start finds language files and adds nothing, even a flag
        // the user removed.
        QFile::remove(language_ + QStringLiteral("/DefaultFlag.bmp"));
        QCOMPARE(Copy_Shipped_Languages(shipped_, language_).copied, QStringList());
        QVERIFY(!QFileInfo::exists(language_ + QStringLiteral("/DefaultFlag.bmp")));
    }

    void nothing_to_copy_data()
    {
        QTest::addColumn<QString>("shipped");
        QTest::addColumn<QString>("language");
        QTest::newRow("no shipped folder") << QString() << QStringLiteral("ws/LANGUAGE");
        QTest::newRow("shipped folder missing") << QStringLiteral("gone") << QStringLiteral("ws/LANGUAGE");
        QTest::newRow("LANGUAGE missing") << QStringLiteral("shipped") << QStringLiteral("ws/NOLANGUAGE");
        QTest::newRow("the same folder") << QStringLiteral("shipped") << QStringLiteral("shipped/../shipped");
    }

    void nothing_to_copy()
    {
        QFETCH(QString, shipped);
        QFETCH(QString, language);
        const QString from = shipped.isEmpty() ? QString() : dir_.filePath(shipped);
        const Shipped_Copy copy = Copy_Shipped_Languages(from, dir_.filePath(language));
        QCOMPARE(copy.copied, QStringList());
        QCOMPARE(copy.problems, QStringList());
        QVERIFY(!QFileInfo::exists(dir_.filePath(QStringLiteral("ws/NOLANGUAGE"))));
    }

    // A folder that cannot be written (read-only for root too): each file not
    // written is named, and nothing is left behind, not even a part file.
    void unwritable_folder_is_reported()
    {
        Shipped_Copy copy;
        {
            test::Read_Only_Folder read_only(language_);
            if (!read_only.Problem().isEmpty())
                QSKIP(qPrintable(QStringLiteral("no read-only folder here: ") + read_only.Problem()));
            copy = Copy_Shipped_Languages(shipped_, language_);
        }
        QCOMPARE(copy.copied, QStringList());
        const QStringList names{QStringLiteral("DefaultFlag.bmp"), QStringLiteral("English.lng"),
                                QStringLiteral("Italiano.bmp"), QStringLiteral("Italiano.lng")};
        QCOMPARE(copy.problems.size(), names.size());
        const QString not_written = Messages().Get(Msg_File_Not_Written).section(u'%', 0, 0);
        for (qsizetype i = 0; i < names.size(); ++i) {
            QVERIFY2(copy.problems.at(i).startsWith(not_written), qPrintable(copy.problems.at(i)));
            QVERIFY2(copy.problems.at(i).contains(language_ + u'/' + names.at(i)), qPrintable(copy.problems.at(i)));
        }
        QCOMPARE(Files(language_), QStringList());

        // Writable again, the next start copies them all.
        QCOMPARE(Copy_Shipped_Languages(shipped_, language_).copied, names);
    }

    // The shipped folder of a program: <prefix>/share/sw52k31/LANGUAGE of an
    // installed tree first, else share/sw52k31/LANGUAGE beside a build.
    void shipped_folder_of_a_program()
    {
        const QString build = dir_.filePath(QStringLiteral("build"));
        const QString prefix = dir_.filePath(QStringLiteral("prefix"));
        QDir().mkpath(build);
        QDir().mkpath(prefix + QStringLiteral("/bin"));
        QCOMPARE(Shipped_Language_Folder(build), QString());
        QCOMPARE(Shipped_Language_Folder(QString()), QString());

        QDir().mkpath(build + QStringLiteral("/share/sw52k31/LANGUAGE"));
        QCOMPARE(Shipped_Language_Folder(build), build + QStringLiteral("/share/sw52k31/LANGUAGE"));
        QCOMPARE(Installed_Language_Folder(build), QString());

        QDir().mkpath(prefix + QStringLiteral("/share/sw52k31/LANGUAGE"));
        QDir().mkpath(prefix + QStringLiteral("/bin/share/sw52k31/LANGUAGE"));
        const QString installed = prefix + QStringLiteral("/share/sw52k31/LANGUAGE");
        QCOMPARE(Installed_Language_Folder(prefix + QStringLiteral("/bin")), installed);
        QCOMPARE(Shipped_Language_Folder(prefix + QStringLiteral("/bin")), installed);
    }

    // An installed program keeps its workspace in the user's data folder even
    // when its bin folder is writable (root, or a prefix in the home folder);
    // a build tree's program keeps it beside itself.
    void installed_program_uses_the_user_folder()
    {
        const QString bin = dir_.filePath(QStringLiteral("prefix/bin"));
        QDir().mkpath(bin);
        QCOMPARE(Choose_Workspace_Root(bin, QString()), bin);
        QDir().mkpath(dir_.filePath(QStringLiteral("prefix/share/sw52k31/LANGUAGE")));
        const QString root = Choose_Workspace_Root(bin, QString());
        QVERIFY(root != bin);
        QVERIFY(!root.isEmpty());
        QCOMPARE(Choose_Workspace_Root(bin, dir_.filePath(QStringLiteral("mine"))),
                 dir_.filePath(QStringLiteral("mine")));
    }
};

int main(int argc, char **argv)
{
    test::Enter_Private_Mount_Namespace(); // before Qt starts a thread
    QCoreApplication app(argc, argv);
    Test_Shipped_Languages suite;
    return QTest::qExec(&suite, argc, argv);
}
#include "test_shipped_languages.moc"
