// Every button of every window is pressed from the keyboard: each has an
// Alt key of its own in its window, in English and in Italian.

#include "app/about.h"
#include "app/new_project.h"
#include "app/open_conf.h"
#include "main_window_fixture.h"
#include "tables/ui/data_map_window.h"
#include "tables/ui/table_window.h"
#include "update/ui/boot_window.h"

#include <QPushButton>

namespace {

const QString Italian_File = QStringLiteral(SW_DATA_DIR "/LANGUAGE/Italiano.lng");

} // namespace

class Test_Mnemonics : public Main_Window_Fixture
{
    Q_OBJECT

private slots:
    void init() { Set_Up(); }
    void cleanup() { Tear_Down(); }

    void every_button_has_its_own_key_data()
    {
        QTest::addColumn<QString>("language_file");
        QTest::newRow("English") << QString();
        QTest::newRow("Italiano") << Italian_File;
    }

    void every_button_has_its_own_key()
    {
        QFETCH(QString, language_file);
        if (!language_file.isEmpty())
            QVERIFY(Messages().Read_Language_File(language_file).Ok());
        w_->FQuarneleFirmWare->Change_Language();

        // The data map window, as a table window opens it.
        auto *rules = static_cast<Table_Window *>(w_->FLoRa_Set_Access);
        rules->Btn_Map->click();
        QVERIFY(rules->Map_Window());

        QStringList faults;
        for (QWidget *window : QList<QWidget *>{w_->FQuarneleFirmWare, w_->FNew_Project, w_->FOpenConf, w_->FAbout,
                                                w_->FSoftOptions, w_->FParGen, w_->FBoot, w_->FLoRa_Set_Access,
                                                w_->FBACnet_Eng_Unit, w_->FBACnetSlaveSetAccess, rules->Map_Window()})
            faults << test::Mnemonic_Faults(window);
        rules->Map_Window()->close();
        Message_Box::Take_Shown();
        QVERIFY2(faults.isEmpty(), qPrintable(u'\n' + faults.join(u'\n')));
    }
};

QTEST_MAIN(Test_Mnemonics)
#include "test_mnemonics.moc"
