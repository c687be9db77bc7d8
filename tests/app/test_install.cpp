// The install tree (cmake --install with DESTDIR into a temporary folder) and
// the first start of the installed and of the built program.

#include "test_support.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString Build_Dir = QStringLiteral(SW_BUILD_DIR);
const QString Cmake = QStringLiteral(SW_CMAKE_COMMAND);
const QString Built_Program = QStringLiteral(SW_PROGRAM);
const QString Prefix = QStringLiteral("/usr");

struct Run
{
    int code = -1;
    QString output;
};

Run Run_Program(const QString &program, const QStringList &arguments,
                const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        run.output = QStringLiteral("%1 did not finish").arg(program);
        return run;
    }
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromLocal8Bit(process.readAll());
    return run;
}

QStringList Shipped_Files()
{
    return {QStringLiteral("English.lng"), QStringLiteral("Italiano.lng"), QStringLiteral("English.bmp"),
            QStringLiteral("Italiano.bmp"), QStringLiteral("DefaultFlag.bmp")};
}

} // namespace

class Test_Install : public QObject
{
    Q_OBJECT

    QTemporaryDir destdir_;
    QString root_; // destdir + prefix

    QString Desktop_File() const { return root_ + QStringLiteral("/share/applications/sw52k31.desktop"); }
    QString Installed_Program() const { return root_ + QStringLiteral("/bin/sw52k31"); }

private slots:
    void initTestCase()
    {
        QVERIFY(destdir_.isValid());
        root_ = destdir_.path() + Prefix;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), destdir_.path());
        const Run install =
            Run_Program(Cmake, {QStringLiteral("--install"), Build_Dir, QStringLiteral("--prefix"), Prefix}, env);
        QVERIFY2(install.code == 0, qPrintable(install.output));
    }

    void tree_holds_program_entry_icon_and_languages()
    {
        const QFileInfo program(Installed_Program());
        QVERIFY(program.isFile());
        QVERIFY(program.isExecutable());
        QVERIFY(QFileInfo(Desktop_File()).isFile());
        for (const QString &name : Shipped_Files())
            QCOMPARE(test::Read(root_ + QStringLiteral("/share/sw52k31/LANGUAGE/") + name),
                     test::Read(QStringLiteral(SW_DATA_DIR "/LANGUAGE/") + name));

        // The icon is a well-formed SVG document.
        QXmlStreamReader svg(test::Read(root_ + QStringLiteral("/share/icons/hicolor/scalable/apps/sw52k31.svg")));
        QVERIFY(svg.readNextStartElement());
        QCOMPARE(svg.name().toString(), QStringLiteral("svg"));
        QCOMPARE(svg.namespaceUri().toString(), QStringLiteral("http://www.w3.org/2000/svg"));
        while (!svg.atEnd())
            svg.readNext();
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
    }

    // The entry starts the installed program by its full path and names the icon.
    void desktop_entry_names_program_and_icon()
    {
        const QStringList lines = QString::fromUtf8(test::Read(Desktop_File())).split(u'\n');
        QCOMPARE(lines.first(), QStringLiteral("[Desktop Entry]"));
        QVERIFY(lines.contains(QStringLiteral("Exec=") + Prefix + QStringLiteral("/bin/sw52k31")));
        QVERIFY(lines.contains(QStringLiteral("Icon=sw52k31")));
        QVERIFY(lines.contains(QStringLiteral("Type=Application")));
    }

    void desktop_entry_is_valid()
    {
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty())
            QSKIP("desktop-file-validate is not installed (Debian package desktop-file-utils)");
        const Run run = Run_Program(validator, {Desktop_File()});
        QVERIFY2(run.code == 0 && run.output.trimmed().isEmpty(), qPrintable(run.output));
    }

    // The installed program finds its languages beside it (../share) and
    // copies them into a new workspace; a second start keeps the user's edits.
    void installed_program_fills_a_new_workspace()
    {
        QTemporaryDir ws;
        const QStringList args{QStringLiteral("--workspace"), ws.path(), QStringLiteral("list")};
        Run run = Run_Program(Installed_Program(), args);
        QVERIFY2(run.code == 0, qPrintable(run.output));
        for (const QString &name : Shipped_Files())
            QVERIFY2(QFileInfo(ws.filePath(QStringLiteral("LANGUAGE/") + name)).isFile(), qPrintable(name));

        test::Write(ws.filePath(QStringLiteral("LANGUAGE/Italiano.lng")), "STR0015 = mine\n");
        QFile::remove(ws.filePath(QStringLiteral("LANGUAGE/English.bmp")));
        run = Run_Program(Installed_Program(), args);
        QVERIFY2(run.code == 0, qPrintable(run.output));
        QCOMPARE(test::Read(ws.filePath(QStringLiteral("LANGUAGE/Italiano.lng"))), QByteArray("STR0015 = mine\n"));
        QVERIFY(!QFileInfo::exists(ws.filePath(QStringLiteral("LANGUAGE/English.bmp"))));
    }

    // Without --workspace the installed program works in the user's data
    // folder, never in its own bin folder.
    void installed_program_uses_the_user_data_folder()
    {
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        const Run run = Run_Program(Installed_Program(), {QStringLiteral("list")}, env);
        QVERIFY2(run.code == 0, qPrintable(run.output));
        QVERIFY(QFileInfo(home.filePath(QStringLiteral("data/sw52k31/LANGUAGE/Italiano.lng"))).isFile());
        QVERIFY(QFileInfo(home.filePath(QStringLiteral("data/sw52k31/PROJECTS"))).isDir());
        QCOMPARE(QDir(root_ + QStringLiteral("/bin")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("sw52k31")});
    }

    // The program in the build tree finds the copies the build put beside it.
    void built_program_fills_a_new_workspace()
    {
        QTemporaryDir ws;
        const Run run = Run_Program(Built_Program, {QStringLiteral("--workspace"), ws.path(), QStringLiteral("list")});
        QVERIFY2(run.code == 0, qPrintable(run.output));
        QCOMPARE(test::Read(ws.filePath(QStringLiteral("LANGUAGE/Italiano.lng"))),
                 test::Read(QStringLiteral(SW_DATA_DIR "/LANGUAGE/Italiano.lng")));
    }
};

QTEST_GUILESS_MAIN(Test_Install)
#include "test_install.moc"
