#include "core/messages.h"
#include "table_window_fixture.h"
#include "tables/lora_access.h"
#include "tables/ui/lora_set_access.h"
#include "widgets/message_box.h"
#include "window_requirements.h"

#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QWindow>

namespace {

const QByteArray Comment = "<!--SW_VERSION = 1.000-->";

QByteArray Rules(const QByteArray &uplink, const QByteArray &downlink)
{
    return "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" + uplink + "</LoRaWAN_Uplink><LoRaWAN_Downlink>" + downlink +
           "</LoRaWAN_Downlink></LoRaWAN_Set_Access>" + Comment;
}

QByteArray Up_Row(const char *start, const char *num, const char *mnemonic = "")
{
    return QByteArray("<row Enable=\"Y\" StartByte=\"") + start + "\" NumByte=\"" + num +
           "\" OnChange=\"N\" OnCMD=\"N\" OnTimer=\"N\" Time=\"\" Mnemonic=\"" + mnemonic + "\"/>";
}

QByteArray Down_Row(const char *start, const char *num, const char *mnemonic = "")
{
    return QByteArray("<row Enable=\"Y\" StartByte=\"") + start + "\" NumByte=\"" + num + "\" Mnemonic=\"" + mnemonic +
           "\"/>";
}

} // namespace

class Test_LoRa_Window : public Table_Window_Fixture
{
    Q_OBJECT

private slots:
    void init()
    {
        Set_Up(Rule_Window, [this] { test::Write(ws_.File_ParGen, test::ParGen_With("LoRa_Payload_Size", "51")); });
    }

    void cleanup() { Tear_Down(); }

    void texts_and_layout()
    {
        Show(rules_);
        QCOMPARE(rules_->width(), required::Rule_Window_Width);
        QCOMPARE(rules_->ACG_LoRa_Uplink->viewport()->height() / rules_->ACG_LoRa_Uplink->rowHeight(0),
                 required::Table_Rows_Shown);
        QCOMPARE(rules_->windowTitle(), Messages().Get(1200));
        QCOMPARE(rules_->L_SW_Code->text(), QStringLiteral("SW52K31"));
        QCOMPARE(rules_->L_SW_Desc->text(), Messages().Get(1201));
        QCOMPARE(rules_->Btn_PasteRow->text(), QStringLiteral("&Paste Row"));
        // No button of this window shows its hint.
        for (QPushButton *b : {rules_->Btn_OK, rules_->Btn_Cancel, rules_->Btn_DelRow, rules_->Btn_InsRow,
                               rules_->Btn_CopyRow, rules_->Btn_PasteRow})
            QVERIFY(b->toolTip().isEmpty());
        QCOMPARE(rules_->Btn_OK->accessibleDescription(), Messages().Get(1208));
        QCOMPARE(rules_->PC_LoRa->tabText(1), Messages().Get(1215));

        Table_Grid *up = rules_->ACG_LoRa_Uplink;
        QCOMPARE(up->model()->rowCount(), required::Rule_Rows);
        QCOMPARE(up->model()->headerData(0, Qt::Vertical).toInt(), 1); // numbers from 1, as the messages
        QCOMPARE(up->model()->headerData(required::Rule_Rows - 1, Qt::Vertical).toInt(), required::Rule_Rows);
        QCOMPARE(up->model()->headerData(Up_Time, Qt::Horizontal).toString(), QStringLiteral("Time (s)"));
        Table_Grid *down = rules_->ACG_LoRa_Downlink;
        QCOMPARE(up->model()->columnCount(), required::Uplink_Data_Columns);
        QCOMPARE(down->model()->columnCount(), required::Downlink_Data_Columns);
        // The last column, Mnemonic, takes what the window has to spare.
        for (int c = 0; c + 1 < required::Uplink_Data_Columns; ++c)
            QCOMPARE(up->columnWidth(c), required::Uplink_Widths[c]);
        QCOMPARE_GE(up->columnWidth(Up_Mnemonic), required::Uplink_Widths[Up_Mnemonic]);
        for (int c = 0; c + 1 < required::Downlink_Data_Columns; ++c)
            QCOMPARE(down->columnWidth(c), required::Downlink_Widths[c]);
        QCOMPARE_GE(down->columnWidth(required::Downlink_Data_Columns - 1), required::Downlink_Widths.back());
        QCOMPARE(up->verticalHeader()->width(), required::Rule_Number_Width);
        QCOMPARE(down->verticalHeader()->width(), required::Rule_Number_Width);

        // The column descriptions: one per data column, shown as cell tips.
        QCOMPARE(rules_->Hint_UpLink.size(), required::Uplink_Data_Columns);
        QCOMPARE(rules_->Hint_UpLink.at(Up_Time), Messages().Get(1231));
        QCOMPARE(rules_->Hint_DownLink,
                 (QStringList{Messages().Get(1238), Messages().Get(1239), Messages().Get(1240), Messages().Get(1241)}));
        QCOMPARE(up->model()->index(7, Up_Time).data(Qt::ToolTipRole).toString(), rules_->Hint_UpLink.at(Up_Time));

        // A new language reaches titles, tips and headers.
        Messages().Set(1214, QStringLiteral("Salita"));
        Messages().Set(1223, QStringLiteral("Tempo"));
        Messages().Set(1231, QStringLiteral("Tempo tra due invii"));
        rules_->Set_Lang();
        QCOMPARE(rules_->PC_LoRa->tabText(0), QStringLiteral("Salita"));
        QCOMPARE(up->model()->headerData(Up_Time, Qt::Horizontal).toString(), QStringLiteral("Tempo"));
        QCOMPARE(rules_->Hint_UpLink.at(Up_Time), QStringLiteral("Tempo tra due invii"));
        QCOMPARE(up->model()->index(0, Up_Time).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Tempo tra due invii"));
    }

    // Tab order: the buttons in their order (Export…, Import… and Data Map
    // last), then the page control.
    void tab_order()
    {
        Show(rules_);
        rules_->Btn_OK->setFocus();
        QList<QWidget *> seen;
        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget();
        }
        QCOMPARE(seen,
                 (QList<QWidget *>{rules_->Btn_Cancel, rules_->Btn_DelRow, rules_->Btn_InsRow, rules_->Btn_CopyRow,
                                   rules_->Btn_PasteRow, rules_->Btn_Export, rules_->Btn_Import, rules_->Btn_Map,
                                   rules_->PC_LoRa->tabBar(), rules_->ACG_LoRa_Uplink}));
    }

    // Through the modal loop, as the step opens it: load, edit by mouse
    // and keys, OK writes the document and closes the window.
    void load_edit_and_save()
    {
        // Rows lacking the trigger flags read "N"; one lacking Enable reads "Y".
        test::Write(ws_.File_LoRaWAN_Access,
                    Rules("<row StartByte=\"0\" NumByte=\"10\" Time=\"600\" Mnemonic=\"a&amp;b\"/>" +
                              QByteArray("<row Enable=\"N\" StartByte=\"abc\" NumByte=\"\" OnChange=\"Y\" OnCMD=\"N\" "
                                         "OnTimer=\"N\" Time=\"\" Mnemonic=\"\"/>"),
                          Down_Row("20", "4", "set point")));
        Table_Grid *up = rules_->ACG_LoRa_Uplink;
        test::When_Shown(rules_, [&] {
            QVERIFY(Message_Box::Take_Shown().isEmpty());
            QCOMPARE(rules_->PC_LoRa->currentIndex(), int(Page_Uplink));
            QCOMPARE(test::Row_Text(rules_->Access.Uplink, 0), QStringLiteral("Y|0|10|N|N|N|600|a&b"));
            QCOMPARE(test::Row_Text(rules_->Access.Uplink, 1), QStringLiteral("N|abc||Y|N|N||"));
            QCOMPARE(rules_->Access.MaxPayloadSize, 51);

            test::Click_Cell(up, 0, Up_OnTimer); // ticks the box
            // The space bar ticks the current box too, and again clears it.
            up->Set_Current(1, Up_OnCMD);
            QTest::keyClick(up, Qt::Key_Space);
            QCOMPARE(rules_->Access.Uplink.Cell(1, Up_OnCMD), QStringLiteral("Y"));
            QTest::keyClick(up, Qt::Key_Space);
            QCOMPARE(rules_->Access.Uplink.Cell(1, Up_OnCMD), QStringLiteral("N"));
            // A click beside the box only makes the cell current.
            const QRect cell = up->visualRect(up->model()->index(1, Up_Enable));
            QTest::mouseClick(up->viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(2, 2));
            QCOMPARE(rules_->Access.Uplink.Cell(1, Up_Enable), QStringLiteral("N"));
            QCOMPARE(test::Current(up), up->model()->index(1, Up_Enable));
            test::Type_Into_Cell(up, 0, Up_Mnemonic, QStringLiteral("Meter 1"));
            QCOMPARE(rules_->Access.Uplink.Cell(0, Up_OnTimer), QStringLiteral("Y"));
            QCOMPARE(rules_->Access.Uplink.Cell(0, Up_Mnemonic), QStringLiteral("Meter 1"));
            // Enter puts the text in and moves down; it does not close the window.
            QCOMPARE(test::Current(up), up->model()->index(1, Up_Mnemonic));
            QVERIFY(rules_->isVisible());
            QTest::mouseClick(rules_->Btn_OK, Qt::LeftButton);
            QVERIFY(!rules_->isVisible());
        });
        QCOMPARE(rules_->exec(), int(QDialog::Accepted));
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QCOMPARE(test::Read(ws_.File_LoRaWAN_Access),
                 Rules("<row Enable=\"Y\" StartByte=\"0\" NumByte=\"10\" OnChange=\"N\" OnCMD=\"N\" OnTimer=\"Y\" "
                       "Time=\"600\" Mnemonic=\"Meter 1\"/>"
                       "<row Enable=\"N\" StartByte=\"abc\" NumByte=\"\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"N\" "
                       "Time=\"\" Mnemonic=\"\"/>",
                       "<row Enable=\"Y\" StartByte=\"20\" NumByte=\"4\" Mnemonic=\"set point\"/>"));
    }

    void cancel_loses_the_edits()
    {
        const QByteArray document = Rules(Up_Row("0", "10"), QByteArray());
        test::Write(ws_.File_LoRaWAN_Access, document);
        Show(rules_);
        rules_->Access.Uplink.Set_Cell(0, Up_StartByte, QStringLiteral("7"));
        QTest::mouseClick(rules_->Btn_Cancel, Qt::LeftButton);
        QVERIFY(!rules_->isVisible());
        QCOMPARE(rules_->result(), int(QDialog::Rejected));
        QCOMPARE(test::Read(ws_.File_LoRaWAN_Access), document);
        // The next showing starts from the document again.
        Show(rules_);
        QCOMPARE(rules_->Access.Uplink.Cell(0, Up_StartByte), QStringLiteral("0"));
        // Escape does not close the window (it would lose every edit at once).
        QTest::keyClick(rules_->ACG_LoRa_Uplink, Qt::Key_Escape);
        QVERIFY(rules_->isVisible());
    }

    // Cancel and the close box ask before edits are lost, and only then;
    // undoing back to the loaded rules counts as no change.
    void discard_question_data()
    {
        QTest::addColumn<int>("edits");      // check boxes ticked by the space bar
        QTest::addColumn<int>("undos");      // Ctrl+Z pressed afterwards
        QTest::addColumn<bool>("close_box"); // the window's close box instead of Cancel
        QTest::addColumn<int>("answer");     // to the question, when asked
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("closed");
        const int yes = QMessageBox::Yes;
        const int no = QMessageBox::No;
        QTest::newRow("no edit: closes at once") << 0 << 0 << false << no << false << true;
        QTest::newRow("edit, Cancel, No: stays") << 1 << 0 << false << no << true << false;
        QTest::newRow("edit, Cancel, Yes: closes") << 1 << 0 << false << yes << true << true;
        // Return answers with the box's default, which keeps the work.
        QTest::newRow("edit, Cancel, Return: stays") << 1 << 0 << false << int(QMessageBox::NoButton) << true << false;
        QTest::newRow("edit, close box, No: stays") << 1 << 0 << true << no << true << false;
        QTest::newRow("edit, close box, Yes: closes") << 1 << 0 << true << yes << true << true;
        QTest::newRow("edits undone: closes at once") << 2 << 2 << false << no << false << true;
        QTest::newRow("one of two edits undone: asks") << 2 << 1 << false << no << true << false;
    }

    void discard_question()
    {
        QFETCH(int, edits);
        QFETCH(int, undos);
        QFETCH(bool, close_box);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, closed);
        const QByteArray document = Rules(Up_Row("0", "10"), QByteArray());
        test::Write(ws_.File_LoRaWAN_Access, document);
        Show(rules_);
        Table_Grid *up = rules_->ACG_LoRa_Uplink;
        up->setFocus();
        // As the user did: Space on a check box, then on the Cancel button.
        for (int i = 0; i < edits; ++i) {
            up->Set_Current(0, i == 0 ? Up_Enable : Up_OnCMD);
            QTest::keyClick(up, Qt::Key_Space);
        }
        for (int i = 0; i < undos; ++i)
            test::Ctrl_Key(up, Qt::Key_Z);
        QCOMPARE(rules_->Changed(), edits > undos);
        // Escape neither asks nor closes.
        QTest::keyClick(up, Qt::Key_Escape);
        QVERIFY(rules_->isVisible());
        QVERIFY(Message_Box::Take_Shown().isEmpty());

        Message_Box::Queue_Answer(QMessageBox::StandardButton(answer));
        if (close_box) {
            rules_->close();
        } else {
            rules_->Btn_Cancel->setFocus();
            QTest::keyClick(rules_->Btn_Cancel, Qt::Key_Space);
        }
        QCOMPARE(Message_Box::Take_Shown(), asked ? QStringList{Messages().Get(Msg_Discard_Changes)} : QStringList{});
        QCOMPARE(rules_->isVisible(), !closed);
        if (closed)
            QCOMPARE(rules_->result(), int(QDialog::Rejected));
        else
            QCOMPARE(rules_->Access.Uplink.Cell(0, Up_Enable), QStringLiteral("N")); // the edit is kept
        QCOMPARE(test::Read(ws_.File_LoRaWAN_Access), document);
        // A new showing starts a new history: nothing to undo, nothing changed.
        if (closed) {
            Show(rules_);
            QCOMPARE(rules_->History()->count(), 0);
            QVERIFY(!rules_->Changed());
        }
    }

    // A cell edit, a paste and a row operation are undone one by one back to
    // the loaded rules, and redone by both redo keys; each selects its cells.
    void undo_and_redo_back_to_the_loaded_rules()
    {
        test::Write(ws_.File_LoRaWAN_Access,
                    Rules(Up_Row("0", "1", "a") + Up_Row("1", "1", "b") + Up_Row("2", "1", "c"), QByteArray()));
        Show(rules_);
        Table_Grid *up = rules_->ACG_LoRa_Uplink;
        Text_Table &table = rules_->Access.Uplink;
        QList<QStringList> loaded;
        for (int r = 0; r < table.Row_Count(); ++r)
            loaded << table.Row(r);
        const auto rows = [&] {
            QList<QStringList> now;
            for (int r = 0; r < table.Row_Count(); ++r)
                now << table.Row(r);
            return now;
        };

        test::Type_Into_Cell(up, 1, Up_Mnemonic, QStringLiteral("meter"));
        QGuiApplication::clipboard()->setText(QStringLiteral("5\t6\n7\t8\n"));
        up->Set_Current(3, Up_StartByte);
        test::Ctrl_Key(up, Qt::Key_V);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QCOMPARE(test::Row_Text(table, 3), QStringLiteral("Y|5|6|||||"));
        QCOMPARE(test::Row_Text(table, 4), QStringLiteral("Y|7|8|||||"));
        test::Click_Row_Number(up, 0);
        Message_Box::Queue_Answer(QMessageBox::Yes);
        QTest::mouseClick(rules_->Btn_DelRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown().size(), 1);
        QCOMPARE(table.Cell(0, Up_Mnemonic), QStringLiteral("meter"));
        const QList<QStringList> edited = rows();
        QCOMPARE(rules_->History()->count(), 3);

        // Undone from the other page: the page of the change comes back.
        rules_->PC_LoRa->setCurrentIndex(Page_Downlink);
        test::Ctrl_Key(rules_->ACG_LoRa_Downlink, Qt::Key_Z);
        QCOMPARE(rules_->PC_LoRa->currentIndex(), int(Page_Uplink));
        QCOMPARE(table.Cell(0, Up_Mnemonic), QStringLiteral("a"));
        QVERIFY(up->selectionModel()->isRowSelected(0, QModelIndex()));
        test::Ctrl_Key(up, Qt::Key_Z);
        QCOMPARE(test::Row_Text(table, 3), QStringLiteral("Y|||||||"));
        // The pasted block is selected, the current cell at its corner.
        QCOMPARE(up->selectionModel()->selectedIndexes().size(), 4);
        QVERIFY(up->selectionModel()->isSelected(table.index(4, Up_NumByte)));
        QCOMPARE(test::Current(up), table.index(3, Up_StartByte));
        test::Ctrl_Key(up, Qt::Key_Z);
        QCOMPARE(rows(), loaded);
        QCOMPARE(test::Current(up), table.index(1, Up_Mnemonic));
        QVERIFY(!rules_->Changed());
        test::Ctrl_Key(up, Qt::Key_Z); // nothing more to undo
        QCOMPARE(rows(), loaded);

        test::Ctrl_Key(up, Qt::Key_Z, true);
        QCOMPARE(table.Cell(1, Up_Mnemonic), QStringLiteral("meter"));
        test::Ctrl_Key(up, Qt::Key_Y);
        test::Ctrl_Key(up, Qt::Key_Y);
        QCOMPARE(rows(), edited);
        QVERIFY(rules_->Changed());
    }

    // Ctrl+C and Ctrl+X take the selected cells as tab-separated lines; a cut
    // is one step; a block that does not fit changes nothing and says why.
    void clipboard_keys()
    {
        test::Write(ws_.File_LoRaWAN_Access,
                    Rules(Up_Row("0", "4", "a") + Up_Row("4", "2", "b") + Up_Row("6", "1", "c"), QByteArray()));
        Show(rules_);
        Table_Grid *up = rules_->ACG_LoRa_Uplink;
        Text_Table &table = rules_->Access.Uplink;
        up->setFocus();
        up->Set_Current(0, Up_StartByte);
        up->selectionModel()->select(QItemSelection(table.index(0, Up_StartByte), table.index(1, Up_NumByte)),
                                     QItemSelectionModel::ClearAndSelect);
        test::Ctrl_Key(up, Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0\t4\n4\t2\n"));
        QVERIFY(!rules_->Changed());

        QGuiApplication::clipboard()->clear();
        test::Ctrl_Key(up, Qt::Key_X);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0\t4\n4\t2\n"));
        QCOMPARE(test::Row_Text(table, 0), QStringLiteral("Y|||N|N|N||a"));
        QCOMPARE(test::Row_Text(table, 1), QStringLiteral("Y|||N|N|N||b"));
        QCOMPARE(rules_->History()->count(), 1);
        test::Ctrl_Key(up, Qt::Key_Z);
        QCOMPARE(test::Row_Text(table, 0), QStringLiteral("Y|0|4|N|N|N||a"));
        QCOMPARE(test::Row_Text(table, 1), QStringLiteral("Y|4|2|N|N|N||b"));

        // Two rows pasted at the last row do not fit: an error, and nothing changes.
        QGuiApplication::clipboard()->setText(QStringLiteral("1\t1\n2\t2\n"));
        up->Set_Current(required::Rule_Rows - 1, Up_StartByte);
        test::Ctrl_Key(up, Qt::Key_V);
        QCOMPARE(Message_Box::Take_Shown().size(), 1);
        QCOMPARE(test::Row_Text(table, required::Rule_Rows - 1), QStringLiteral("Y|||||||"));
        QCOMPARE(rules_->History()->count(), 1);
        QCOMPARE(rules_->History()->index(), 0);
    }

    void warnings_before_editing_data()
    {
        QTest::addColumn<QByteArray>("pargen"); // empty: no file
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QStringList>("warnings");

        const QByteArray payload = test::ParGen_With("LoRa_Payload_Size", "51");
        QTest::newRow("no payload size") << QByteArray() << QByteArray() << QStringList{Messages().Get(1242)};
        QTest::newRow("payload not a number")
            << test::ParGen_With("LoRa_Payload_Size", "5l") << QByteArray() << QStringList{Messages().Get(1242)};
        QTest::newRow("damaged document") << payload << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink>")
                                          << QStringList{QStringLiteral("LoRaWAN_SetAccess.xml")};
        QTest::newRow("bytes that are not UTF-8")
            << payload << Rules(Up_Row("0", "4", "K\374che"), QByteArray())
            << QStringList{Messages().Get(Msg_Xml_Not_Utf8).arg(QStringLiteral("FC"))};
        QTest::newRow("a group missing") << payload
                                         << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink/></LoRaWAN_Set_Access>")
                                         << QStringList{QStringLiteral("no group LoRaWAN_Downlink")};
        QTest::newRow("rows after the end")
            << payload << Rules(Up_Row("0", "4") + Up_Row(" ", "4") + Up_Row("9", "4"), QByteArray())
            << QStringList{
                   Messages()
                       .Get(Msg_Rows_Not_Saved)
                       .arg(QStringLiteral("2"), Messages().Get(1214), Messages().Get(1218), QStringLiteral("2"))};
        QByteArray many;
        for (int i = 0; i < required::Rule_Rows + 2; ++i)
            many += Down_Row("1", "1");
        QTest::newRow("more rows than the table")
            << payload << Rules(QByteArray(), many)
            << QStringList{Messages()
                               .Get(Msg_Rows_Not_Shown)
                               .arg(QStringLiteral("2"), Messages().Get(1215), QString::number(required::Rule_Rows))};
    }

    void warnings_before_editing()
    {
        QFETCH(QByteArray, pargen);
        QFETCH(QByteArray, document);
        QFETCH(QStringList, warnings);
        QFile::remove(ws_.File_ParGen);
        if (!pargen.isEmpty())
            test::Write(ws_.File_ParGen, pargen);
        if (!document.isEmpty())
            test::Write(ws_.File_LoRaWAN_Access, document);
        // The boxes come during the showing, before the window can be used.
        rules_->show();
        const QStringList shown = Message_Box::Take_Shown();
        QCOMPARE(shown.size(), warnings.size());
        for (int i = 0; i < shown.size(); ++i)
            QVERIFY2(shown[i].contains(warnings[i]), qPrintable(shown[i]));
    }

    // With real message boxes: the warning is answered before the window
    // appears, and the window then opens as usual.
    void real_warning_box_before_the_window()
    {
        QFile::remove(ws_.File_ParGen);
        Message_Box::Set_Test_Mode(false);
        QStringList seen;
        bool window_was_visible = true;
        auto *poll = new QTimer(rules_);
        poll->setInterval(10);
        connect(poll, &QTimer::timeout, rules_, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                seen << box->text();
                window_was_visible =
                    rules_->isVisible() && rules_->windowHandle() && rules_->windowHandle()->isExposed();
                box->button(QMessageBox::Ok)->click();
            } else if (modal == rules_) {
                poll->stop();
                rules_->Btn_Cancel->click();
            }
        });
        poll->start();
        QCOMPARE(rules_->exec(), int(QDialog::Rejected));
        QCOMPARE(seen, QStringList{Messages().Get(1242)});
        QVERIFY(!window_was_visible);
    }

    void failed_check_keeps_the_window_open()
    {
        const QByteArray document =
            Rules(Up_Row("0", "10"), Down_Row("0", "4") + Down_Row("1", "4") + Down_Row("2", "60"));
        test::Write(ws_.File_LoRaWAN_Access, document);
        Show(rules_);
        QTest::mouseClick(rules_->Btn_OK, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(),
                 QStringList{QStringLiteral("Error row 3!! [LoraWAN Downlink] Number Byte must be between 0 and 49")});
        QVERIFY(rules_->isVisible());
        QCOMPARE(test::Read(ws_.File_LoRaWAN_Access), document);
        // The failing cell is made current on its page.
        QCOMPARE(rules_->PC_LoRa->currentIndex(), int(Page_Downlink));
        QCOMPARE(test::Current(rules_->ACG_LoRa_Downlink), rules_->Access.Downlink.index(2, Down_NumByte));

        // Fixed in the grid, OK saves and closes.
        test::Type_Into_Cell(rules_->ACG_LoRa_Downlink, 2, Down_NumByte, QStringLiteral("49"), Qt::Key_Tab);
        QTest::mouseClick(rules_->Btn_OK, Qt::LeftButton);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QVERIFY(!rules_->isVisible());
        QVERIFY(test::Read(ws_.File_LoRaWAN_Access).contains("StartByte=\"2\" NumByte=\"49\""));
    }

    // Insert Row in the middle of the rules, then OK: nothing is saved, the
    // refusal names the empty row and what it would drop, and the user lands
    // on its Start Byte. Filled in, the table saves whole.
    void inserted_row_does_not_drop_the_rules_below()
    {
        const QByteArray document =
            Rules(Up_Row("0", "1", "a") + Up_Row("1", "1", "b") + Up_Row("2", "1", "c"), QByteArray());
        test::Write(ws_.File_LoRaWAN_Access, document);
        Show(rules_);
        test::Click_Cell(rules_->ACG_LoRa_Uplink, 1, Up_Mnemonic);
        QTest::mouseClick(rules_->Btn_InsRow, Qt::LeftButton);
        rules_->PC_LoRa->setCurrentIndex(Page_Downlink);
        QTest::mouseClick(rules_->Btn_OK, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages()
                                                            .Get(Msg_Rows_Would_Be_Lost)
                                                            .arg(QStringLiteral("2"), Messages().Get(1214),
                                                                 Messages().Get(1218), QStringLiteral("2"))});
        QVERIFY(rules_->isVisible());
        QCOMPARE(test::Read(ws_.File_LoRaWAN_Access), document);
        QCOMPARE(rules_->PC_LoRa->currentIndex(), int(Page_Uplink));
        QCOMPARE(test::Current(rules_->ACG_LoRa_Uplink), rules_->Access.Uplink.index(1, Up_StartByte));

        test::Type_Into_Cell(rules_->ACG_LoRa_Uplink, 1, Up_StartByte, QStringLiteral("7"), Qt::Key_Tab);
        test::Type_Into_Cell(rules_->ACG_LoRa_Uplink, 1, Up_NumByte, QStringLiteral("1"), Qt::Key_Tab);
        QTest::mouseClick(rules_->Btn_OK, Qt::LeftButton);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QVERIFY(!rules_->isVisible());
        QCOMPARE(test::Read(ws_.File_LoRaWAN_Access).count("<row "), 4);
    }

    void an_open_editor_is_saved_by_ok()
    {
        test::Write(ws_.File_LoRaWAN_Access, Rules(Up_Row("0", "10"), QByteArray()));
        Show(rules_);
        Table_Grid *up = rules_->ACG_LoRa_Uplink;
        up->setFocus();
        up->Set_Current(0, Up_Mnemonic);
        QTest::keyClicks(up, QStringLiteral("a"));
        QTest::keyClicks(up->indexWidget(up->currentIndex()), QStringLiteral("b"));
        QVERIFY(up->Editing());
        rules_->Btn_OKClick(); // as a key press would, without moving the focus first
        QVERIFY(!rules_->isVisible());
        QVERIFY(test::Read(ws_.File_LoRaWAN_Access).contains("Mnemonic=\"ab\""));
    }

    void write_failure_is_reported()
    {
        ws_.File_LoRaWAN_Access = dir_->filePath(QStringLiteral("no/such/dir/LoRaWAN_SetAccess.xml"));
        Show(rules_);
        QTest::mouseClick(rules_->Btn_OK, Qt::LeftButton);
        const QStringList shown = Message_Box::Take_Shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(QStringLiteral("Error! The file ")), qPrintable(shown[0]));
        QVERIFY(rules_->isVisible());
    }

    // The row buttons act on the table of the page shown, as in the object window.
    void row_buttons_on_the_page_shown()
    {
        test::Write(ws_.File_LoRaWAN_Access,
                    Rules(Up_Row("0", "1", "u0") + Up_Row("1", "1", "u1"),
                          Down_Row("0", "2", "d0") + Down_Row("1", "2", "d1") + Down_Row("2", "2", "d2")));
        Show(rules_);
        Table_Grid *up = rules_->ACG_LoRa_Uplink;
        Table_Grid *down = rules_->ACG_LoRa_Downlink;

        // Delete asks with the number the row shows; No keeps the row.
        test::Click_Cell(up, 1, Up_Mnemonic);
        Message_Box::Queue_Answer(QMessageBox::No);
        QTest::mouseClick(rules_->Btn_DelRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1560) + QStringLiteral("2")});
        QCOMPARE(rules_->Access.Uplink.Cell(1, Up_Mnemonic), QStringLiteral("u1"));
        Message_Box::Queue_Answer(QMessageBox::Yes);
        test::Click_Cell(up, 0, Up_Mnemonic);
        QTest::mouseClick(rules_->Btn_DelRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1560) + QStringLiteral("1")});
        QCOMPARE(rules_->Access.Uplink.Cell(0, Up_Mnemonic), QStringLiteral("u1"));
        QCOMPARE(test::Row_Text(rules_->Access.Uplink, 1), QStringLiteral("Y|||||||")); // a fresh rule row

        // A row copied on the uplink page does not paste on the downlink page.
        QTest::mouseClick(rules_->Btn_CopyRow, Qt::LeftButton);
        QCOMPARE(ws_.Row_Copy_Buffer, QList<QStringList>{rules_->Access.Uplink.Row(0)});
        QCOMPARE(ws_.Row_Copy_Buffer[0].size(), required::Uplink_Data_Columns);
        rules_->PC_LoRa->setCurrentIndex(Page_Downlink);
        test::Click_Cell(down, 2, Down_Mnemonic);
        QTest::mouseClick(rules_->Btn_PasteRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1102)});
        QCOMPARE(rules_->Access.Downlink.Cell(2, Down_Mnemonic), QStringLiteral("d2"));

        // Copy and paste within the downlink page; a used row asks first.
        test::Click_Cell(down, 0, Down_Mnemonic);
        QTest::mouseClick(rules_->Btn_CopyRow, Qt::LeftButton);
        test::Click_Cell(down, 2, Down_Enable);
        Message_Box::Queue_Answer(QMessageBox::No);
        QTest::mouseClick(rules_->Btn_PasteRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1100)});
        QCOMPARE(rules_->Access.Downlink.Cell(2, Down_Mnemonic), QStringLiteral("d2"));
        test::Click_Cell(down, 5, Down_Mnemonic); // a fresh row is not in use
        QTest::mouseClick(rules_->Btn_PasteRow, Qt::LeftButton);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QCOMPARE(test::Row_Text(rules_->Access.Downlink, 5), QStringLiteral("Y|0|2|d0"));

        // Insert moves the rows down without asking.
        test::Click_Cell(down, 1, Down_StartByte);
        QTest::mouseClick(rules_->Btn_InsRow, Qt::LeftButton);
        QVERIFY(Message_Box::Take_Shown().isEmpty());
        QCOMPARE(test::Row_Text(rules_->Access.Downlink, 1), QStringLiteral("Y|||"));
        QCOMPARE(rules_->Access.Downlink.Cell(2, Down_Mnemonic), QStringLiteral("d1"));

        // After a new showing the copied row is no longer offered.
        Message_Box::Queue_Answer(QMessageBox::Yes);
        rules_->reject();
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(Msg_Discard_Changes)});
        Show(rules_);
        rules_->PC_LoRa->setCurrentIndex(Page_Downlink);
        test::Click_Cell(down, 4, Down_Mnemonic);
        QTest::mouseClick(rules_->Btn_PasteRow, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(1102)});
    }

    // The rule grids have no Enter jump and no column fitting, whatever the
    // settings: Enter moves down, as in a spreadsheet.
    void no_jump_and_no_fitting()
    {
        ws_.Enable_Jump_Field_Tables = true;
        ws_.Double_Click_Auto_Size = true;
        Show(rules_);
        Table_Grid *up = rules_->ACG_LoRa_Uplink;
        up->setFocus();
        up->Set_Current(3, Up_StartByte);
        QTest::keyClick(up, Qt::Key_Return);
        QCOMPARE(test::Current(up), up->model()->index(4, Up_StartByte));
        QVERIFY(rules_->isVisible());
        rules_->Access.Uplink.Set_Cell(0, Up_Mnemonic, QString(200, u'W'));
        const int width = up->columnWidth(Up_Mnemonic);
        test::Double_Click_Header(up, Up_Mnemonic);
        QCOMPARE(up->columnWidth(Up_Mnemonic), width);
    }
};

QTEST_MAIN(Test_LoRa_Window)
#include "test_lora_window.moc"
