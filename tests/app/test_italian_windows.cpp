// The windows in Italian: every text their Set_Lang reads has an Italian
// line, and the options dialog switches to Italian and back.

#include "app/new_project.h"
#include "app/open_conf.h"
#include "app/soft_options.h"
#include "main_window_fixture.h"
#include "test_support.h"
#include "workspace/settings.h"
#include "workspace/shipped_languages.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>

namespace {

const QString Language_Dir = QStringLiteral(SW_DATA_DIR "/LANGUAGE");

// Every text a widget shows: captions, hints, list items, tab and column titles.
QStringList Shown_Texts(QWidget *widget)
{
    QStringList texts{widget->windowTitle(), widget->toolTip(), widget->statusTip()};
    if (auto *label = qobject_cast<QLabel *>(widget))
        texts << label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        texts << button->text();
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        texts << edit->placeholderText();
    if (auto *group = qobject_cast<QGroupBox *>(widget))
        texts << group->title();
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    if (auto *tabs = qobject_cast<QTabWidget *>(widget))
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i) << tabs->tabToolTip(i);
    if (auto *view = qobject_cast<QAbstractItemView *>(widget); view && view->model()) {
        const QAbstractItemModel *model = view->model();
        for (int c = 0; c < model->columnCount(); ++c)
            for (int role : {int(Qt::DisplayRole), int(Qt::ToolTipRole)})
                texts << model->headerData(c, Qt::Horizontal, role).toString();
    }
    return texts;
}

// The numbers of the Italian file's text lines.
QSet<int> Italian_Numbers()
{
    static const QRegularExpression line(QStringLiteral("^STR(\\d{4}) = "), QRegularExpression::MultilineOption);
    const QString text = QString::fromUtf8(test::Read(Language_Dir + QStringLiteral("/Italiano.lng")));
    QSet<int> numbers;
    for (const QRegularExpressionMatch &m : line.globalMatch(text))
        numbers.insert(m.captured(1).toInt());
    return numbers;
}

} // namespace

class Test_Italian_Windows : public Main_Window_Fixture
{
    Q_OBJECT

    TFSoftOptions *Options() const { return static_cast<TFSoftOptions *>(w_->FSoftOptions); }

    // Picks `language` in the options dialog, opened from the main window,
    // answers the question with Yes, runs `check` and confirms with OK.
    void Pick_Language(const QString &language, std::function<void()> check)
    {
        TFSoftOptions *options = Options();
        test::When_Shown(options, [options, language, check] {
            int slot = 0;
            for (int k = 0; k < 6; ++k)
                if (options->L_L[k]->isVisible() && options->L_L[k]->text() == language)
                    slot = k + 1;
            QVERIFY2(slot > 0, qPrintable(language + QStringLiteral(" is not offered")));
            Message_Box::Queue_Answer(QMessageBox::Yes);
            options->LangClick(slot);
            Message_Box::Take_Shown();
            check();
            QTest::mouseClick(options->Btn_OK, Qt::LeftButton);
        });
        QTest::mouseClick(w_->FQuarneleFirmWare->Btn_Opz, Qt::LeftButton);
    }

private slots:
    void init()
    {
        // The first start of a workspace, as the program does it with its shipped folder.
        Set_Up([this] { Copy_Shipped_Languages(Language_Dir, ws_.Path_Language); });
    }

    void cleanup() { Tear_Down(); }

    // Every entry a window's Set_Lang reads has an Italian text. Each entry is
    // given a marker naming its number; after Change_Language the markers in
    // the windows' texts tell which entries were read.
    void set_lang_reads_only_translated_texts()
    {
        for (int n = 0; n < Message_Table::Count; ++n)
            Messages().Set(n, QStringLiteral("<#%1#>").arg(n));
        w_->FQuarneleFirmWare->Change_Language();

        QSet<int> read;
        static const QRegularExpression marker(QStringLiteral("<#(\\d+)#>"));
        QList<QWidget *> widgets = w_->FQuarneleFirmWare->findChildren<QWidget *>();
        widgets << w_->FQuarneleFirmWare;
        for (QWidget *widget : widgets)
            for (const QString &text : Shown_Texts(widget))
                for (const QRegularExpressionMatch &m : marker.globalMatch(text))
                    read.insert(m.captured(1).toInt());

        // The walk reaches every window (main, dialogs, options).
        for (int n : {0, 15, 100, 200, 300, 302, 309})
            QVERIFY2(read.contains(n), qPrintable(QString::number(n)));
        const QSet<int> missing = read - Italian_Numbers();
        QList<int> list = missing.values();
        std::sort(list.begin(), list.end());
        QStringList names;
        for (int n : list)
            names << QString::number(n);
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("read without an Italian text: ") + names.join(u' ')));
    }

    // The options dialog switches every window to Italian at once, OK keeps
    // it for the next start, and English comes back the same way.
    void switch_to_italian_and_back()
    {
        TFQuarneleFirmWare *main = w_->FQuarneleFirmWare;
        QCOMPARE(main->Btn_New->text(), QStringLiteral("&New Configuration"));

        Pick_Language(QStringLiteral("Italiano"), [this] {
            QCOMPARE(Options()->windowTitle(), QStringLiteral("Opzioni del software"));
            QCOMPARE(Options()->Btn_Cancel->text(), QStringLiteral("&Annulla"));
            QCOMPARE(Options()->PC_Options->tabText(0), QStringLiteral("Lingua"));
            QCOMPARE(Options()->L_Sel_Lang->text(), QStringLiteral("Lingua selezionata: Italiano"));
        });
        QCOMPARE(ws_.Language_Name, QStringLiteral("Italiano"));
        QCOMPARE(main->Btn_New->text(), QStringLiteral("&Nuova configurazione"));
        QCOMPARE(main->Btn_New->toolTip(), QStringLiteral("Crea una nuova configurazione per il dispositivo"));
        QCOMPARE(main->L_Name_Conf->text(), QStringLiteral("Nessuna configurazione aperta "));
        QCOMPARE(w_->FNew_Project->windowTitle(), QStringLiteral("Crea nuova configurazione"));
        QCOMPARE(w_->FNew_Project->Btn_Cancel->text(), QStringLiteral("&Annulla"));
        QCOMPARE(w_->FOpenConf->windowTitle(), QStringLiteral("Apri configurazione"));

        // The choice was saved: the next start is in Italian.
        QCOMPARE(Load_Settings(ws_).Problem(), QString());
        QCOMPARE(ws_.Language_Name, QStringLiteral("Italiano"));
        Workspace next;
        Start_Workspace(next, dir_.path());
        QCOMPARE(Messages().Get(16), QStringLiteral("&Apri configurazione"));
        w_->FQuarneleFirmWare->Change_Language();

        Pick_Language(QStringLiteral("English"),
                      [this] { QCOMPARE(Options()->windowTitle(), QStringLiteral("Software Options")); });
        QCOMPARE(ws_.Language_Name, QStringLiteral("English"));
        QCOMPARE(main->Btn_New->text(), QStringLiteral("&New Configuration"));
        QCOMPARE(main->L_Name_Conf->text(), QStringLiteral("No Configuration Opened "));
        QCOMPARE(w_->FNew_Project->windowTitle(), QStringLiteral("Create New Configuration"));
        QCOMPARE(w_->FOpenConf->windowTitle(), QStringLiteral("Open Configuration"));
        QCOMPARE(Messages().Texts(), Message_Table().Texts());
    }
};

QTEST_MAIN(Test_Italian_Windows)
#include "test_italian_windows.moc"
