#include "served_device_fixture.h"

#include <QTest>

// The protocol driven with encoded requests, as they arrive from a client,
// and the bytes each answer carries; no socket.
class Test_Device_Server : public QObject
{
    Q_OBJECT

    const BIP_Address client_{QHostAddress(QStringLiteral("127.0.0.1")), 50000};

    static QByteArray H(const char *hex) { return QByteArray::fromHex(hex); }

    // The one reply to a confirmed request, as an APDU.
    QByteArray Ask(Device_Server &server, const char *apdu_hex)
    {
        const Device_Server::Handled handled = server.Handle(test::Frame(H(apdu_hex)), client_, 0);
        [&] { QCOMPARE(handled.replies.size(), 1); }();
        return handled.replies.isEmpty() ? QByteArray() : test::Apdu(handled.replies.first().bytes);
    }

private slots:
    // The standard's own example: analog input 5 reads 72.0.
    void read_property_example()
    {
        Device_Server server(test::Small_Device());
        QVERIFY(server.Set_Input_Raw(0, 72).Ok());
        const Device_Server::Handled handled = server.Handle(test::Frame(H("0002010c0c000000051955")), client_, 0);
        QCOMPARE(handled.replies.size(), 1);
        QCOMPARE(handled.replies.first().to, client_);
        QCOMPARE(handled.replies.first().bytes.toHex(' '),
                 H("810a0017010030010c0c0000000519553e44429000003f").toHex(' '));
        QVERIFY2(handled.line.contains(QStringLiteral("present-value")) && handled.line.contains(QStringLiteral("72")),
                 qPrintable(handled.line));
    }

    // Every answer that is not the value asked for: errors, rejects, aborts,
    // and the array forms of the object list.
    void answers_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer");
        const auto row = [](const char *name, const char *request, const char *answer) {
            QTest::newRow(name) << H(request) << H(answer);
        };
        row("unknown object", "0005010c0c000000631955", "50010c9101911f");
        row("unknown property", "0005010c0c0000000519c8", "50010c91029120");
        row("index of a property that is no array", "0005010c0c0000000519552901", "50010c91029132");
        row("object list index past its end", "0005010c0c020004d2194c2964", "50010c9102912a");
        row("object list length", "0005010c0c020004d2194c2900", "30010c0c020004d2194c29003e21083f");
        row("object list element", "0005010c0c020004d2194c2902", "30010c0c020004d2194c29023ec4000000053f");
        row("the wildcard device", "0005010c0c023fffff194d", "30010c0c020004d2194d3e750700706c616e74313f");
        row("all in read-property", "0005010c0c000000051908", "50010c91029120");
        row("write to a Read object", "0005010f0c000000051955 3e443f8000003f", "50010f91029128");
        row("write of the wrong type", "0005010f0c004000001955 3e21033f", "50010f91029109");
        row("analog write that does not fit", "0005010f0c004000001955 3e444788b8003f", "50010f91029125");
        row("multi-state write of 0", "0005010f0c04c000001955 3e21003f", "50010f91029125");
        row("binary write of 2", "0005010f0c014000001955 3e91023f", "50010f91029125");
        row("integer write below its 2 bytes", "0005010f0c0b4000001955 3e3380 00 00 3f", "50010f91029125");
        row("write at priority 6", "0005010f0c004000001955 3e443f8000003f 4906", "50010f91029128");
        row("write at priority 17", "0005010f0c004000001955 3e443f8000003f 4911", "600106");
        row("write of the object name", "0005010f0c00400000194d 3e7502004b3f", "50010f91029128");
        row("write of a constructed value", "0005010f0c004000001955 3e0e21011f3f", "50010f91029109");
        row("unrecognized service", "00050106", "600109");
        row("property missing", "0005010c0c00000005", "600105");
        row("object identifier cut", "0005010c0c000000", "600104");
        row("too many arguments", "0005010c0c0000000519553901", "600107");
        row("segmented request", "0805010000 0c0c000000051955", "710104");
        row("reply larger than the requester takes", "0000010c0c020004d2194c", "710104");
        row("cov of the device", "000501050907 1c020004d2 2900 393c", "5001059101912d");
        row("confirmed cov notifications", "000501050907 1c01400000 2901 393c", "5001059105912d");
        row("cov of an unknown object", "000501050907 1c01400063 2900 393c", "5001059101911f");
        row("rpm of an unknown object", "0005010e0c000000631e09081f", "30010e0c000000631e29085e9101911f5f1f");
        row("rpm with no property", "0005010e0c000000051e1f", "600105");
        row("rpm cut", "0005010e0c000000051e0955", "600105");
    }
    void answers()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, answer);
        Device_Server server(test::Small_Device());
        const Device_Server::Handled handled = server.Handle(test::Frame(request), client_, 0);
        QCOMPARE(handled.replies.size(), 1);
        QCOMPARE(test::Apdu(handled.replies.first().bytes).toHex(' '), answer.toHex(' '));
        QVERIFY(!handled.line.isEmpty());
    }

    // ALL, REQUIRED and OPTIONAL name the properties of the object's type.
    void read_property_multiple()
    {
        Device_Server server(test::Small_Device());
        QVERIFY(server.Set_Input_Raw(0, 72).Ok());
        const QByteArray all = Ask(server, "0005010e0c000000051e09081f 0c00400000 1e09691f");
        QVERIFY(all.startsWith(H("30010e0c000000051e")));
        QVERIFY(all.contains(H("29554e44429000004f")));                               // present-value 72.0
        QVERIFY(all.contains(H("29754e91 3e4f")));                                    // units 62
        QVERIFY(all.contains(H("291c4e7511 00526f6f6d2074656d7065726174757265 4f"))); // description
        // The output's required properties: its priority array and relinquish default among them.
        QVERIFY(all.contains(H("0c004000001e294b")));
        QVERIFY(all.contains(H("29574e")) && all.contains(H("29684e")));
        QVERIFY(all.endsWith(H("1f")));
        const QByteArray optional = Ask(server, "0005010e0c000000051e09501f");
        QCOMPARE(optional.toHex(' '),
                 H("30010e0c000000051e291c4e751100526f6f6d2074656d70657261747572654f1f").toHex(' '));
        const QByteArray device = Ask(server, "0005010e0c020004d21e09691f");
        QVERIFY(device.contains(H("296b4e91034f"))); // no-segmentation
        QVERIFY(device.contains(H("294c4e")));       // the object list
    }

    // A commandable output takes the value of its highest priority; NULL
    // relinquishes it; its bytes follow the value.
    void priorities()
    {
        Device_Server server(test::Small_Device());
        QCOMPARE(Ask(server, "0005010f0c004000001955 3e44414000003f 4908").toHex(), QByteArray("20010f"));
        QCOMPARE(Ask(server, "0005010f0c004000001955 3e4440a000003f").toHex(), QByteArray("20010f"));
        QCOMPARE(server.Present_Value(1), BACnet_Value::Of_Real(12));
        QCOMPARE(server.Areas().output[0], std::uint8_t(12));
        QCOMPARE(Ask(server, "0005010c0c004000001957 2908").toHex(' '),
                 H("30010c0c004000001957 2908 3e 4441400000 3f").toHex(' '));
        QCOMPARE(Ask(server, "0005010c0c004000001957 2901").toHex(' '),
                 H("30010c0c004000001957 2901 3e 00 3f").toHex(' '));
        QCOMPARE(Ask(server, "0005010f0c004000001955 3e003f 4908").toHex(), QByteArray("20010f"));
        QCOMPARE(server.Present_Value(1), BACnet_Value::Of_Real(5));
        QCOMPARE(server.Areas().output[0], std::uint8_t(5));
        QCOMPARE(Ask(server, "0005010f0c004000001955 3e003f").toHex(), QByteArray("20010f"));
        QCOMPARE(server.Present_Value(1), BACnet_Value::Of_Real(0)); // the relinquish default
        // A value object in the output area: its bytes by the same rule.
        QCOMPARE(Ask(server, "0005010f0c0b4000001955 3e32feff3f").toHex(), QByteArray("20010f"));
        QCOMPARE(server.Areas().output[6], std::uint8_t(0xFF));
        QCOMPARE(server.Areas().output[7], std::uint8_t(0xFE));
        QCOMPARE(server.Present_Value(4), BACnet_Value::Of_Signed(-257));
    }

    // A subscription is acknowledged and notified at once, then on each
    // change of its object's value, unconfirmed.
    void change_of_value()
    {
        Device_Server server(test::Small_Device());
        const Device_Server::Handled subscribed =
            server.Handle(test::Frame(H("000501050907 1c01400000 2900 393c")), client_, 1000);
        QCOMPARE(subscribed.replies.size(), 2);
        QCOMPARE(test::Apdu(subscribed.replies.at(0).bytes).toHex(), QByteArray("200105"));
        QCOMPARE(test::Apdu(subscribed.replies.at(1).bytes).toHex(' '),
                 H("10020907 1c020004d2 2c01400000 393c 4e 0955 2e91002f 096f 2e8204002f 4f").toHex(' '));
        QVERIFY(server.Take_Changes(1000).objects.isEmpty());
        QCOMPARE(Ask(server, "0005010f0c014000001955 3e91013f").toHex(), QByteArray("20010f"));
        QCOMPARE(server.Areas().output[4], std::uint8_t(0x08)); // bit 3
        const Device_Server::Changes changes = server.Take_Changes(31000);
        QCOMPARE(changes.objects, QList<int>{2});
        QCOMPARE(changes.notifications.size(), 1);
        QCOMPARE(changes.notifications.first().to, client_);
        QCOMPARE(test::Apdu(changes.notifications.first().bytes).toHex(' '),
                 H("10020907 1c020004d2 2c01400000 391e 4e 0955 2e91012f 096f 2e8204002f 4f").toHex(' '));
        // Expired: no more notifications.
        QVERIFY(server.Set_Input_Raw(5, 1).Ok());
        QVERIFY(server.Take_Changes(61000).notifications.isEmpty());
        // Cancelled.
        QCOMPARE(Ask(server, "000501050907 1c01400000").toHex(), QByteArray("200105"));
    }

    void who_is_and_who_has_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QList<QByteArray>>("answers");
        const QByteArray i_am = H("1000c4020004d22205c491032100");
        QTest::newRow("who-is") << H("1008") << QList{i_am};
        QTest::newRow("who-is in range") << H("100809641a07d0") << QList{i_am};
        QTest::newRow("who-is out of range") << H("10080901190a") << QList<QByteArray>{};
        QTest::newRow("who-is half a range") << H("10080901") << QList<QByteArray>{};
        QTest::newRow("who-has by name") << H("10073d050050756d70")
                                         << QList{H("1001c4020004d2c4014000007505 0050756d70")};
        QTest::newRow("who-has a shared name")
            << H("10073d1100526f6f6d2074656d7065726174757265")
            << QList{H("1001c4020004d2c400000005751100526f6f6d2074656d7065726174757265"),
                     H("1001c4020004d2c400000006751100526f6f6d2074656d7065726174757265")};
        QTest::newRow("who-has by identifier")
            << H("10072c00000005") << QList{H("1001c4020004d2c400000005751100526f6f6d2074656d7065726174757265")};
        QTest::newRow("who-has out of range") << H("100709011901 2c00000005") << QList<QByteArray>{};
        QTest::newRow("i-am of another device") << H("1000c4020000012205c491032100") << QList<QByteArray>{};
    }
    void who_is_and_who_has()
    {
        QFETCH(QByteArray, request);
        QFETCH(QList<QByteArray>, answers);
        Device_Server server(test::Small_Device());
        const Device_Server::Handled handled = server.Handle(test::Frame(request, false), client_, 0);
        QCOMPARE(handled.replies.size(), answers.size());
        for (int i = 0; i < answers.size(); ++i)
            QCOMPARE(test::Apdu(handled.replies.at(i).bytes).toHex(' '), answers.at(i).toHex(' '));
        QVERIFY(!handled.line.isEmpty());
    }

    // The BACnet/IP and network layers: forwarded and routed requests are
    // answered where they came from; what is not for this device, or not a
    // frame, gets nothing.
    void frames_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<QByteArray>("reply"); // whole; empty: none
        QTest::addColumn<QString>("to");
        const char *i_am = "1000c4020004d22205c491032100";
        QTest::newRow("broadcast") << H("810b000801001008") << H("810a0014 0100") + H(i_am) << "127.0.0.1:50000";
        QTest::newRow("forwarded") << H("8104000ec0a80105bac001001008") << H("810a0014 0100") + H(i_am)
                                   << "192.168.1.5:47808";
        QTest::newRow("from another network")
            << H("810a000c01080007012a1008") << H("810a0019 01200007012aff") + H(i_am) << "127.0.0.1:50000";
        QTest::newRow("global broadcast")
            << H("810b000c0120ffff00ff1008") << H("810a0014 0100") + H(i_am) << "127.0.0.1:50000";
        QTest::newRow("register foreign device") << H("81050006003c") << H("810000060030") << "127.0.0.1:50000";
        QTest::newRow("for another network") << H("810a000c0120000500ff1008") << QByteArray() << "";
        QTest::newRow("network-layer message") << H("810a0007018000") << QByteArray() << "";
        QTest::newRow("empty") << QByteArray() << QByteArray() << "";
        QTest::newRow("not BVLC") << H("820a000601001008") << QByteArray() << "";
        QTest::newRow("length differs") << H("810a000701001008") << QByteArray() << "";
        QTest::newRow("NPDU version 2") << H("810a000602001008") << QByteArray() << "";
        QTest::newRow("NPDU cut") << H("810a0005 01") << QByteArray() << "";
        QTest::newRow("destination cut") << H("810a0007 0120ff") << QByteArray() << "";
        QTest::newRow("source of length 0") << H("810a000b01080007001008") << QByteArray() << "";
        QTest::newRow("confirmed header cut") << H("810a0008 0104 0005") << QByteArray() << "";
        QTest::newRow("a client's ack") << H("810a0009 0100 200105") << QByteArray() << "";
        QTest::newRow("forwarded cut") << H("81040008c0a80105") << QByteArray() << "";
    }
    void frames()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(QByteArray, reply);
        QFETCH(QString, to);
        Device_Server server(test::Small_Device());
        const Device_Server::Handled handled = server.Handle(datagram, client_, 0);
        if (reply.isEmpty()) {
            QVERIFY(handled.replies.isEmpty());
            return;
        }
        QCOMPARE(handled.replies.size(), 1);
        QCOMPARE(handled.replies.first().bytes.toHex(' '), reply.toHex(' '));
        QCOMPARE(handled.replies.first().to.Text(), to);
    }

    // The input area as the converter's other side sets it.
    void set_input_raw()
    {
        Device_Server server(test::Small_Device());
        QVERIFY(!server.Set_Input_Raw(1, 3).Ok());   // a Write object
        QVERIFY(!server.Set_Input_Raw(6, 256).Ok()); // one byte
        QVERIFY(!server.Set_Input_Raw(99, 1).Ok());
        QVERIFY(server.Set_Input_Raw(6, 255).Ok());
        QCOMPARE(server.Present_Value(6), BACnet_Value::Of_Real(255));
        QVERIFY(server.Set_Input_Raw(5, 1).Ok());
        QCOMPARE(server.Present_Value(5), BACnet_Value::Of_Enumerated(1));
        QCOMPARE(server.Take_Changes(0).objects, (QList<int>{5, 6}));
    }
};

QTEST_GUILESS_MAIN(Test_Device_Server)
#include "test_device_server.moc"
