#include "app/new_project.h"
#include "app/open_conf.h"
#include "app/soft_options.h"
#include "core/crc32.h"
#include "ede/ede_format.h"
#include "gate/configuration_gate.h"
#include "main_window_fixture.h"
#include "params/pargen_document.h"
#include "tables/ui/bacnet_slave_set_access.h"
#include "tables/ui/table_grid.h"
#include "test_support.h"
#include "update/ui/boot_window.h"
#include "widgets/file_dialog.h"
#include "window_requirements.h"
#include "workspace/configurations.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

class Test_Main_Window : public Main_Window_Fixture
{
    Q_OBJECT

private slots:
    void init() { Set_Up(); }
    void cleanup() { Tear_Down(); }

    void layout_and_title()
    {
        TFQuarneleFirmWare *m = w_->FQuarneleFirmWare;
        QCOMPARE(m->windowTitle(), QStringLiteral("Tavelin - Configurator SW52K31 BACnet Slave / LoRaWAN "));
        QCOMPARE(m->size(), required::Main_Window);
        QCOMPARE(m->Btn_New->geometry(), required::Main_New_Button);
        QCOMPARE(m->Btn_CreateBin->geometry(), required::Main_Update_Button);
        QCOMPARE(m->Btn_BACnet_EDE_File->text(), QStringLiteral("BACnet &EDE File"));
        QCOMPARE(m->L_Name_Conf->text(), Messages().Get(9));
        QCOMPARE(m->L_Name_Conf_L2->text(), Messages().Get(10));
        QVERIFY(!m->Timer_Update->isActive());
        QVERIFY(!m->LL_Update->isVisible());
    }

    // Tab reaches the picture buttons at the top, and the one with the focus
    // shows it: a frame where the others show nothing of their edge.
    void picture_buttons_show_the_focus()
    {
        TFQuarneleFirmWare *m = w_->FQuarneleFirmWare;
        m->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m));
        const QColor background = m->palette().color(QPalette::Window);
        for (QPushButton *button : {m->Btn_Info, m->Btn_Opz, m->Btn_Close, m->Btn_New}) {
            QVERIFY(button->focusPolicy() & Qt::TabFocus);
            m->setFocus();
            const QImage rest = button->grab().toImage();
            button->setFocus(Qt::TabFocusReason);
            QVERIFY(button->hasFocus());
            const QImage focused = button->grab().toImage();
            const QPoint edge(0, focused.height() / 2);
            QVERIFY2(focused.pixelColor(edge) != rest.pixelColor(edge), qPrintable(button->toolTip()));
            QVERIFY(focused.pixelColor(edge) != background);
        }
    }

    void steps_refuse_without_configuration()
    {
        TFQuarneleFirmWare *m = w_->FQuarneleFirmWare;
        for (QPushButton *step : {m->Btn_Prm_Gen, m->Btn_LoRaWAN_Access, m->Btn_BACnet_SetAccess,
                                  m->Btn_BACnet_EDE_File, m->Btn_CreateBin}) {
            QTest::mouseClick(step, Qt::LeftButton);
            QCOMPARE(Message_Box::Take_Shown(), QStringList{QStringLiteral("Error! Project not Valid")});
        }
    }

    void create_open_and_cancel()
    {
        TFQuarneleFirmWare *m = w_->FQuarneleFirmWare;
        TFNew_Project *dialog = w_->FNew_Project;

        // An empty name is refused with 107 and the dialog stays open.
        test::When_Shown(dialog, [=] {
            QTest::keyClick(dialog->E_New_Proj, Qt::Key_Return);
            QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(107)});
            QVERIFY(dialog->isVisible());
            QTest::keyClicks(dialog->E_New_Proj, QStringLiteral(" Plant A"));
            QTest::mouseClick(dialog->Btn_OK, Qt::LeftButton);
        });
        QTest::mouseClick(m->Btn_New, Qt::LeftButton);
        QCOMPARE(ws_.Project_Name, QStringLiteral(" Plant A"));
        QCOMPARE(m->L_Name_Conf->text(), Messages().Get(11));
        QCOMPARE(m->L_Name_Conf_L2->text(), QStringLiteral(" Plant A"));

        QVERIFY(Create_Configuration(ws_, QStringLiteral("Beta")).Ok());
        ws_.Open_Configuration(QStringLiteral(" Plant A"));

        // The open dialog preselects the open configuration; Cancel changes nothing.
        TFOpenConf *open = w_->FOpenConf;
        test::When_Shown(open, [=] {
            QCOMPARE(open->ListBox1->currentItem()->text(), QStringLiteral(" Plant A"));
            QTest::mouseClick(open->Btn_Cancel, Qt::LeftButton);
        });
        QTest::mouseClick(m->Btn_Open, Qt::LeftButton);
        QCOMPARE(ws_.Project_Name, QStringLiteral(" Plant A"));

        test::When_Shown(open, [=] {
            const auto items = open->ListBox1->findItems(QStringLiteral("Beta"), Qt::MatchExactly);
            QCOMPARE(items.size(), 1);
            QTest::mouseClick(open->ListBox1->viewport(), Qt::LeftButton, {},
                              open->ListBox1->visualItemRect(items[0]).center());
            QTest::mouseClick(open->Btn_OK, Qt::LeftButton);
        });
        QTest::mouseClick(m->Btn_Open, Qt::LeftButton);
        QCOMPARE(ws_.Project_Name, QStringLiteral("Beta"));
        QCOMPARE(ws_.Path_Project, ws_.Path_Projects + QStringLiteral("/Beta"));
        QCOMPARE(m->L_Name_Conf_L2->text(), QStringLiteral("Beta"));
    }

    // The new-configuration dialog refuses what "new" refuses, through the
    // same function, and stays open with the typed name.
    void new_dialog_refusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("differs only in letter case")
            << QStringLiteral("plant a") << Messages().Get(Msg_Name_Differs_In_Case).arg(QStringLiteral("Plant A"));
        QTest::newRow("semicolon") << QStringLiteral("Plant;B") << Messages().Get(Msg_Name_Breaks_Lists);
        QTest::newRow("line break") << QStringLiteral("Plant\nB") << Messages().Get(Msg_Name_Breaks_Lists);
    }

    void new_dialog_refusals()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        // The suite's workspace lives on: other configurations may be there.
        QVERIFY(QDir().mkpath(ws_.Path_Projects + QStringLiteral("/Plant A")));
        ws_.Open_Configuration(QStringLiteral("Plant A"));
        const QStringList before = Load_Existing_Configuration(ws_);
        TFNew_Project *dialog = w_->FNew_Project;
        test::When_Shown(dialog, [=] {
            dialog->E_New_Proj->setText(name);
            QTest::mouseClick(dialog->Btn_OK, Qt::LeftButton);
            QCOMPARE(Message_Box::Take_Shown(), QStringList{message});
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->E_New_Proj->text(), name);
        });
        QTest::mouseClick(w_->FQuarneleFirmWare->Btn_New, Qt::LeftButton);
        QCOMPARE(ws_.Project_Name, QStringLiteral("Plant A"));
        QCOMPARE(Load_Existing_Configuration(ws_), before);
    }

    // With "ok" and "OK" both in PROJECTS the dialog preselects the one open,
    // whichever the folder listing gives first.
    void open_dialog_preselects_the_exact_name_data()
    {
        QTest::addColumn<QString>("open");
        QTest::newRow("lower case open") << QStringLiteral("ok");
        QTest::newRow("upper case open") << QStringLiteral("OK");
    }

    void open_dialog_preselects_the_exact_name()
    {
        QFETCH(QString, open);
        for (const char *name : {"ok", "OK"})
            QVERIFY(QDir().mkpath(ws_.Path_Projects + u'/' + QLatin1StringView(name)));
        ws_.Open_Configuration(open);
        TFOpenConf *dialog = w_->FOpenConf;
        test::When_Shown(dialog, [=] {
            QCOMPARE(dialog->ListBox1->currentItem()->text(), open);
            QTest::mouseClick(dialog->Btn_OK, Qt::LeftButton);
        });
        QTest::mouseClick(w_->FQuarneleFirmWare->Btn_Open, Qt::LeftButton);
        QCOMPARE(ws_.Project_Name, open);
    }

    // Step 6 after the open configuration's folder was renamed outside the
    // program: message 18 names the folder; no folder, no image, no update
    // window.
    void update_step_without_the_folder()
    {
        QVERIFY(Create_Configuration(ws_, QStringLiteral("Gone")).Ok());
        const QString renamed = ws_.Path_Projects + QStringLiteral("/Renamed");
        QVERIFY(QDir().rename(ws_.Path_Project, renamed));
        bool boot_shown = false;
        test::When_Shown(w_->FBoot, [&] { boot_shown = true; });
        QTest::mouseClick(w_->FQuarneleFirmWare->Btn_CreateBin, Qt::LeftButton);
        QCOMPARE(
            Message_Box::Take_Shown(),
            QStringList{Messages().Get(18) + u'\n' +
                        Messages().Get(Msg_Configuration_Folder_Gone).arg(QDir::toNativeSeparators(ws_.Path_Project))});
        QVERIFY(!boot_shown);
        QVERIFY(!QFileInfo::exists(ws_.Path_Project));
        QCOMPARE(QDir(renamed + QStringLiteral("/bin")).entryList(QDir::Files), QStringList());
    }

    void ede_step()
    {
        TFQuarneleFirmWare *m = w_->FQuarneleFirmWare;
        QVERIFY(Create_Configuration(ws_, QStringLiteral("Ede")).Ok());
        const QString csv = ws_.Path_Project + QStringLiteral("/list.csv");

        File_Dialog::Set_Next_File_Name(ws_.Path_Project + QStringLiteral("/list"));
        QTest::mouseClick(m->Btn_BACnet_EDE_File, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        QVERIFY(test::Read(csv).startsWith("PROJECT_NAME; Tavelin--Ede;;;;;;\r\n"));

        // An existing file: the question first; No keeps the file.
        test::Write(csv, "old");
        File_Dialog::Set_Next_File_Name(csv);
        Message_Box::Queue_Answer(QMessageBox::No);
        QTest::mouseClick(m->Btn_BACnet_EDE_File, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1103)});
        QCOMPARE(test::Read(csv), QByteArray("old"));
        File_Dialog::Set_Next_File_Name(csv);
        Message_Box::Queue_Answer(QMessageBox::Yes);
        QTest::mouseClick(m->Btn_BACnet_EDE_File, Qt::LeftButton);
        QVERIFY(test::Read(csv).startsWith("PROJECT_NAME"));
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1103)});

        // Cancel in the dialog does nothing.
        File_Dialog::Set_Next_File_Name(QString());
        QTest::mouseClick(m->Btn_BACnet_EDE_File, Qt::LeftButton);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
    }

    // The save dialog's file types: the classic first, then the standard
    // layout in each character set, written with its companion files.
    void ede_step_file_types_data()
    {
        QTest::addColumn<int>("type");             // index into EDE_File_Types
        QTest::addColumn<QByteArray>("name_line"); // the project line as written
        QTest::newRow("classic") << 0
                                 << QByteArray("\nPROJECT_NAME; Tavelin--K\xFC"
                                               "che0;");
        QTest::newRow("standard utf-8") << 1
                                        << QByteArray("\nPROJECT_NAME;K\xC3\xBC"
                                                      "che1;");
        QTest::newRow("standard windows-1252") << 2
                                               << QByteArray("\nPROJECT_NAME;K\xFC"
                                                             "che2;");
    }

    void ede_step_file_types()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, name_line);
        TFQuarneleFirmWare *m = w_->FQuarneleFirmWare;
        const QString project = QStringLiteral("Küche%1").arg(type);
        QVERIFY(Create_Configuration(ws_, project).Ok());
        const EDE_File_Set files = EDE_Files_For(ws_.Path_Project + QStringLiteral("/list_EDE.csv"));
        const bool standard = type > 0;

        File_Dialog::Set_Next_File_Name(ws_.Path_Project + QStringLiteral("/list_EDE"),
                                        QLatin1StringView(EDE_File_Types[type].filter));
        QTest::mouseClick(m->Btn_BACnet_EDE_File, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        QVERIFY(QByteArray('\n' + test::Read(files.main)).contains(name_line));
        for (const QString &companion : {files.state_texts, files.units, files.object_types})
            QCOMPARE(QFileInfo::exists(companion), standard);

        // The question comes before any file of the set is replaced: here
        // only a companion file is in the way.
        if (standard) {
            QVERIFY(QFile::remove(files.main));
            test::Write(files.units, "old");
            File_Dialog::Set_Next_File_Name(files.main, QLatin1StringView(EDE_File_Types[type].filter));
            Message_Box::Queue_Answer(QMessageBox::No);
            QTest::mouseClick(m->Btn_BACnet_EDE_File, Qt::LeftButton);
            QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1103)});
            QCOMPARE(test::Read(files.units), QByteArray("old"));
            QVERIFY(!QFileInfo::exists(files.main));
        }
    }

    void update_step()
    {
        TFQuarneleFirmWare *m = w_->FQuarneleFirmWare;
        QVERIFY(Create_Configuration(ws_, QStringLiteral("Upd")).Ok());
        // An enabled uplink rule with no payload size: message 30, no images,
        // no update window.
        test::Write(ws_.File_LoRaWAN_Access,
                    "<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Enable=\"Y\" NumByte=\"4\"/></LoRaWAN_Uplink>"
                    "<LoRaWAN_Downlink/></LoRaWAN_Set_Access>");
        const QString refusal = Check_Configuration(ws_, Output::Images).Problem();
        QVERIFY2(refusal.endsWith(Messages().Get(30)), qPrintable(refusal));
        QTest::mouseClick(m->Btn_CreateBin, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{refusal});
        QVERIFY(!QFileInfo::exists(ws_.Path_Project + QStringLiteral("/bin/bank1.bin")));

        // Without rules: the images are written and the update window shows.
        QFile::remove(ws_.File_LoRaWAN_Access);
        // The document as the parameter window saves it: every key, the
        // payload that band and data rate give.
        test::Write(ws_.File_ParGen, "<Par_Gen><BACnet_Type>1</BACnet_Type></Par_Gen>");
        QVERIFY(Save_ParGen(Load_ParGen(Read_ParGen_Document(ws_.File_ParGen)), ws_.File_ParGen).Ok());
        // The window says what it will send: the images just written.
        QStringList panel;
        bool can_update = false;
        test::When_Shown(w_->FBoot, [&] {
            for (const QLabel *label : w_->FBoot->P_Images->findChildren<QLabel *>())
                panel << label->text();
            can_update = w_->FBoot->Btn_Update->isEnabled();
            w_->FBoot->reject();
        });
        QTest::mouseClick(m->Btn_CreateBin, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        QCOMPARE(QFileInfo(ws_.Path_Project + QStringLiteral("/bin/bank1.bin")).size(), required::Bank1_Bytes);
        QCOMPARE(QFileInfo(ws_.Path_Project + QStringLiteral("/bin/bank2.bin")).size(), required::Bank2_Bytes);
        QCOMPARE(w_->FBoot->BACnetType, 1);
        QVERIFY(can_update);
        QVERIFY2(panel.contains(QStringLiteral("Configuration: Upd")), qPrintable(panel.join(u'|')));
        for (const char *bank : {"bank1.bin", "bank2.bin"}) {
            const QByteArray image = test::Read(ws_.Path_Project + QStringLiteral("/bin/") + QLatin1StringView(bank));
            QVERIFY2(panel.contains(QLatin1StringView(bank)), qPrintable(panel.join(u'|')));
            QVERIFY(panel.contains(QStringLiteral("%1 bytes").arg(image.size())));
            QVERIFY(panel.contains(QStringLiteral("CRC-32 ") + Crc32_Hex(Crc32(image))));
        }
    }

    // A document the object window would refuse: both steps refuse with the
    // text `check` prints, before the save dialog or the update window opens,
    // and write nothing.
    void steps_5_and_6_refuse_as_check_does()
    {
        TFQuarneleFirmWare *m = w_->FQuarneleFirmWare;
        QVERIFY(Create_Configuration(ws_, QStringLiteral("Gate")).Ok());
        const QByteArray objects = "<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Analog Input\" "
                                   "Eng_Unit=\"70000\" Position=\"0\" Bit=\"\" Length=\"4\" Mnemonic=\"Room\"/>"
                                   "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>";
        test::Write(ws_.File_BACnet_Slave_Access, objects);
        const QString refusal = Check_Configuration(ws_, Output::Images).Problem();
        QVERIFY2(refusal.contains(Messages().Get(1533)), qPrintable(refusal));

        const QString csv = ws_.Path_Project + QStringLiteral("/list.csv");
        File_Dialog::Set_Next_File_Name(csv);
        QTest::mouseClick(m->Btn_BACnet_EDE_File, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{refusal});
        QVERIFY(!QFileInfo::exists(csv));

        bool boot_shown = false;
        test::When_Shown(w_->FBoot, [&boot_shown] { boot_shown = true; });
        QTest::mouseClick(m->Btn_CreateBin, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{refusal});
        QVERIFY(!boot_shown);
        QVERIFY(!QFileInfo::exists(ws_.Path_Project + QStringLiteral("/bin/bank1.bin")));

        // Mended, both go through; the file name given above was never asked
        // for, so the dialog answers it now.
        test::Write(ws_.File_BACnet_Slave_Access, QByteArray(objects).replace("70000", "62"));
        QTest::mouseClick(m->Btn_BACnet_EDE_File, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        QVERIFY(test::Read(csv).startsWith("PROJECT_NAME"));
        QTest::mouseClick(m->Btn_CreateBin, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        QVERIFY(boot_shown);
        QCOMPARE(QFileInfo(ws_.Path_Project + QStringLiteral("/bin/bank1.bin")).size(), required::Bank1_Bytes);
    }

    void options_switch_the_timer()
    {
        TFQuarneleFirmWare *m = w_->FQuarneleFirmWare;
        auto *options = static_cast<TFSoftOptions *>(w_->FSoftOptions);
        // OK with both flags: saved, timer on; Cancel changes nothing.
        test::When_Shown(options, [=] {
            options->CB_En_Con->setChecked(true);
            options->CB_Update->setChecked(true);
            QTest::mouseClick(options->Btn_OK, Qt::LeftButton);
        });
        QTest::mouseClick(m->Btn_Opz, Qt::LeftButton);
        QVERIFY(m->Timer_Update->isActive());
        QVERIFY(
            test::Read(dir_.filePath(QStringLiteral("Quarnel.xml"))).contains("<enable_internet>1</enable_internet>"));
        test::When_Shown(options, [=] {
            options->CB_En_Con->setChecked(false);
            QTest::mouseClick(options->Btn_Cancel, Qt::LeftButton);
        });
        QTest::mouseClick(m->Btn_Opz, Qt::LeftButton);
        QVERIFY(m->Timer_Update->isActive());
        QVERIFY(ws_.Enable_Internet);
        test::When_Shown(options, [=] {
            options->CB_En_Con->setChecked(false);
            QTest::mouseClick(options->Btn_OK, Qt::LeftButton);
        });
        QTest::mouseClick(m->Btn_Opz, Qt::LeftButton);
        QVERIFY(!m->Timer_Update->isActive());
        ws_.Enable_Internet = ws_.Enable_Update = false;
    }

    // The timer's check shows the link of message 19 only for a newer
    // version; a server not reached says nothing and leaves the link as the
    // last answer left it.
    void new_version_link_follows_the_answer()
    {
        TFQuarneleFirmWare *m = w_->FQuarneleFirmWare;
        Version_Result answer;
        m->Set_Version_Checker([&](QObject *, std::function<void(const Version_Result &)> done) { done(answer); });
        const auto link_after = [&](Version_Answer got) {
            answer.answer = got;
            answer.Problem = got == Version_Answer::Not_Reached ? QStringLiteral("not reached") : QString();
            m->Timer_UpdateTimer();
            return m->LL_Update->isVisible();
        };
        QVERIFY(!link_after(Version_Answer::Not_Reached));
        QVERIFY(link_after(Version_Answer::Newer));
        QVERIFY(m->LL_Update->text().contains(Messages().Get(19).toHtmlEscaped()));
        QVERIFY(link_after(Version_Answer::Not_Reached));
        QVERIFY(!link_after(Version_Answer::Not_Newer));
        QVERIFY(!link_after(Version_Answer::Not_Reached));
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        m->Timer_Update->stop();
        m->Set_Version_Checker({});
    }

    void language_switch_recaptions()
    {
        test::Write(ws_.Path_Language + QStringLiteral("/Italiano.lng"),
                    "STR0015 = Nuova\nSTR0100 = Crea Nuova\nSTR0200 = Apri\n");
        ws_.Language_Name = QStringLiteral("Italiano");
        QVERIFY(Messages().Read_Language_File(ws_.Path_Language + QStringLiteral("/Italiano.lng")).Ok());
        w_->FQuarneleFirmWare->Change_Language();
        QCOMPARE(w_->FQuarneleFirmWare->Btn_New->text(), QStringLiteral("Nuova"));
        QCOMPARE(w_->FNew_Project->windowTitle(), QStringLiteral("Crea Nuova"));
        QCOMPARE(w_->FOpenConf->windowTitle(), QStringLiteral("Apri"));
        Messages().Build_Default_Messages();
    }

    void closing_saves_the_settings()
    {
        ws_.Enable_Update = true;
        QVERIFY(w_->FQuarneleFirmWare->close());
        QVERIFY(test::Read(dir_.filePath(QStringLiteral("Quarnel.xml"))).contains("<enable_update>1</enable_update>"));
        ws_.Enable_Update = false;
        // Its place goes to a file of its own.
        QVERIFY(test::Read(dir_.filePath(QStringLiteral("Windows.xml"))).contains("name=\"FQuarneleFirmWare\""));
    }

    // At a first start every window opens centred on the screen; a table
    // window moved and resized comes back so at the next start, its last
    // column taking the width it gained.
    void windows_open_where_they_closed()
    {
        Tear_Down();
        QFile::remove(dir_.filePath(QStringLiteral("Windows.xml")));
        Set_Up();
        const auto centred = [](QWidget *window) {
            const QPoint off = window->geometry().center() - window->screen()->availableGeometry().center();
            return off.manhattanLength() <= 1;
        };
        QVERIFY(centred(w_->FQuarneleFirmWare));
        auto *objects = static_cast<TFBACnetSlaveSetAccess *>(w_->FBACnetSlaveSetAccess);
        objects->show();
        QVERIFY(centred(objects));
        const QRect place(30, 20, 770, 560);
        objects->setGeometry(place);
        objects->hide();
        Tear_Down();

        Set_Up();
        objects = static_cast<TFBACnetSlaveSetAccess *>(w_->FBACnetSlaveSetAccess);
        objects->show();
        QVERIFY(QTest::qWaitForWindowExposed(objects));
        QCOMPARE(objects->geometry(), place);
        for (Table_Grid *grid : {objects->ACG_BACnet_in_Read, objects->ACG_BACnet_in_Write}) {
            objects->PageControl1->setCurrentWidget(grid->parentWidget());
            QHeaderView *titles = grid->horizontalHeader();
            const int last = titles->logicalIndex(titles->count() - 1);
            QCOMPARE(titles->sectionViewportPosition(last) + titles->sectionSize(last), grid->viewport()->width());
            QCOMPARE_GT(titles->sectionSize(last), required::Object_Widths.back());
        }
        Message_Box::Take_Shown();
    }
};

QTEST_MAIN(Test_Main_Window)
#include "test_main_window.moc"
