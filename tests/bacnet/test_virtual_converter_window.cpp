#include "app/main_window_fixture.h"
#include "bacnet/bacnet_codec.h"
#include "bacnet/bacnet_messages.h"
#include "bacnet/converter_messages.h"
#include "bacnet/converter_session.h"
#include "bacnet/ui/virtual_converter_window.h"
#include "gate/configuration_gate.h"
#include "params/pargen_document.h"
#include "params/ui/par_gen.h"
#include "test_support.h"
#include "workspace/configurations.h"

#include <QLabel>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QUdpSocket>

namespace {

// A Read and a Write object under one name (a warning, not a refusal).
const QByteArray Objects = "<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Analog Input\" Eng_Unit=\"62\" "
                           "Position=\"0\" Bit=\"\" Length=\"2\" Mnemonic=\"Room\"/></BACnet_in_Read>"
                           "<BACnet_in_Write><row Data_Type=\"Analog Out\" Eng_Unit=\"62\" Position=\"0\" "
                           "Bit=\"\" Length=\"2\" Mnemonic=\"Room\"/></BACnet_in_Write></BACnet_to_Modbus>";

// A ReadProperty of analog-input 0's present value, as a client sends it.
QByteArray Read_Present_Value_Request()
{
    // Confirmed request, max APDU, invoke id 1, service 12.
    QByteArray apdu = QByteArray::fromHex("0005010c");
    bacnet::Append_Context_Object_Id(apdu, 0, bacnet::Object_Id(0, 0));
    bacnet::Append_Context_Enumerated(apdu, 1, 85);
    QByteArray frame = QByteArray::fromHex("810a0000"
                                           "0104") +
                       apdu;
    frame[3] = char(frame.size());
    return frame;
}

} // namespace

class Test_Virtual_Converter_Window : public Main_Window_Fixture
{
    Q_OBJECT

    TFVirtual_Converter *Window() const { return w_->FVirtual_Converter; }

    // The configuration "VC" open, set for MS/TP, with the two objects.
    void Open_Configuration(const QByteArray &objects)
    {
        // One workspace for the suite: a configuration of its own each test.
        static int made = 0;
        QVERIFY(Create_Configuration(ws_, QStringLiteral("VC%1").arg(++made)).Ok());
        test::Write(ws_.File_ParGen, "<Par_Gen><BACnet_Type>1</BACnet_Type></Par_Gen>");
        QVERIFY(Save_ParGen(Load_ParGen(Read_ParGen_Document(ws_.File_ParGen)), ws_.File_ParGen).Ok());
        QFile::remove(ws_.File_LoRaWAN_Access);
        test::Write(ws_.File_BACnet_Slave_Access, objects);
        w_->FQuarneleFirmWare->Set_Lang();
        QVERIFY(w_->FQuarneleFirmWare->Btn_Virtual_Converter->isEnabled());
        QTest::mouseClick(w_->FQuarneleFirmWare->Btn_Virtual_Converter, Qt::LeftButton);
        QVERIFY(Window()->isVisible());
    }

    void Start_On_Free_Port()
    {
        Window()->E_Port->setText(QStringLiteral("0"));
        QTest::mouseClick(Window()->Btn_Start, Qt::LeftButton);
        QCOMPARE(Message_Box::Take_Shown(), QStringList());
        QVERIFY(Window()->Session().Running());
    }

    // Types `text` into the raw cell of the input area's first object.
    void Type_Raw(const QString &text)
    {
        QTableView *grid = Window()->ACG_Input;
        const QModelIndex cell = grid->model()->index(0, Served_Objects_Model::Raw);
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto *editor = grid->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        // What Return does in the editor, without depending on which
        // window the headless platform keeps active.
        emit grid->itemDelegate()->commitData(editor);
        emit grid->itemDelegate()->closeEditor(editor);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString Input_Present_Value() const
    {
        return Window()->ACG_Input->model()->index(0, Served_Objects_Model::Present_Value).data().toString();
    }

private slots:
    void init() { Set_Up(); }
    void cleanup() { Tear_Down(); }

    // Served on a free port: a typed raw value becomes the present value a
    // client reads, and the request shows in the traffic.
    void serves_typed_input_values()
    {
        Open_Configuration(Objects);
        TFVirtual_Converter *v = Window();
        QCOMPARE(v->windowTitle(), QStringLiteral("Virtual Converter"));
        QCOMPARE(v->E_Address->text(), QStringLiteral("127.0.0.1"));
        QVERIFY2(!v->L_Refusal->isVisible(), qPrintable(v->L_Refusal->text()));
        QCOMPARE(v->E_Port->text(), QStringLiteral("47808"));
        QCOMPARE(v->ACG_Input->model()->rowCount(), 1);
        QCOMPARE(v->ACG_Output->model()->rowCount(), 1);
        QVERIFY(v->L_MSTP->isVisible());
        QCOMPARE(v->L_MSTP->text(), Messages().Get(Msg_Serve_MSTP_Over_IP).arg(v->Session().Device().instance));
        const QStringList warnings = Check_Configuration(ws_, Output::Images).Problems.Texts(Severity::Warning);
        QVERIFY(!warnings.isEmpty());
        QVERIFY2(v->L_Warnings->isVisible() && v->L_Warnings->text().contains(warnings.first()),
                 qPrintable(v->L_Warnings->text()));
        QVERIFY(!v->L_Value_Rule->text().isEmpty());

        Start_On_Free_Port();
        Type_Raw(QStringLiteral("215"));
        QVERIFY2(!v->L_Input_Refusal->isVisible(), qPrintable(v->L_Input_Refusal->text()));
        QCOMPARE(Input_Present_Value(), QStringLiteral("215"));

        // A value the two bytes cannot hold, or no number: refused, with why.
        for (const QString &typed : {QStringLiteral("70000"), QStringLiteral("2x")}) {
            Type_Raw(typed);
            QVERIFY(v->L_Input_Refusal->isVisible());
            QVERIFY2(v->L_Input_Refusal->text().contains(typed), qPrintable(v->L_Input_Refusal->text()));
            QCOMPARE(Input_Present_Value(), QStringLiteral("215"));
        }

        QUdpSocket client;
        QVERIFY(client.bind(QHostAddress::LocalHost, 0));
        client.writeDatagram(Read_Present_Value_Request(), QHostAddress::LocalHost, v->Session().Port());
        QTRY_VERIFY(client.hasPendingDatagrams());
        QByteArray value;
        bacnet::Append_Value(value, BACnet_Value::Of_Real(215));
        QVERIFY(client.receiveDatagram().data().contains(value));
        QTRY_VERIFY(v->M_Traffic->toPlainText().contains(QStringLiteral("read-property")));
    }

    // A configuration that `check` refuses is not served: the window shows
    // the gate's text and cannot start.
    void refused_configuration_is_not_served()
    {
        Open_Configuration(QByteArray(Objects).replace("Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"2\" "
                                                       "Mnemonic=\"Room\"/></BACnet_in_Read>",
                                                       "Eng_Unit=\"70000\" Position=\"0\" Bit=\"\" Length=\"2\" "
                                                       "Mnemonic=\"Room\"/></BACnet_in_Read>"));
        const QString refusal = Check_Configuration(ws_, Output::Images).Problem();
        QVERIFY(!refusal.isEmpty());
        TFVirtual_Converter *v = Window();
        QVERIFY(v->L_Refusal->isVisible());
        QVERIFY2(v->L_Refusal->text().endsWith(refusal), qPrintable(v->L_Refusal->text()));
        QVERIFY(!v->Btn_Start->isEnabled());
        QCOMPARE(v->ACG_Input->model()->rowCount(), 0);
    }

    // The parameter window's OK saves its document: while the device is
    // served, the window asks to restart it with the new images and serves
    // them on the same port; stopped, it asks nothing.
    void a_save_asks_to_restart()
    {
        Open_Configuration(Objects);
        TFVirtual_Converter *v = Window();
        const auto save_parameters = [this] {
            auto *parameters = static_cast<TFParGen *>(w_->FParGen);
            test::When_Shown(parameters, [parameters] { parameters->Btn_OKClick(); });
            QTest::mouseClick(w_->FQuarneleFirmWare->Btn_Prm_Gen, Qt::LeftButton);
        };
        save_parameters();
        QCOMPARE(Message_Box::Take_Shown(), QStringList());

        Start_On_Free_Port();
        const quint16 port = v->Session().Port();
        Type_Raw(QStringLiteral("215"));
        Message_Box::Queue_Answer(QMessageBox::Yes);
        save_parameters();
        QCOMPARE(Message_Box::Take_Shown(), QStringList{Messages().Get(Msg_VC_Restart)});
        QVERIFY(v->Session().Running());
        QCOMPARE(v->Session().Port(), port);
        // A new device: its areas start at zero.
        QCOMPARE(Input_Present_Value(), QStringLiteral("0"));
    }
};

QTEST_MAIN(Test_Virtual_Converter_Window)
#include "test_virtual_converter_window.moc"
