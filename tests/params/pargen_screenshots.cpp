// Pictures of the parameter window for docs/screenshots, under BACnet/IP and
// under BACnet MS/TP, saved into the folder that SW52K31_SCREENSHOTS names.
// Not a test (ctest does not run it): scripts/screenshots.sh runs it on a
// virtual X server. It fails only when a picture cannot be saved.

#include "params/ui/category_panel.h"
#include "pargen_window_fixture.h"

#include <QComboBox>
#include <QDir>

class ParGen_Screenshots : public ParGen_Window_Fixture
{
    Q_OBJECT

    QString folder_;

private slots:
    void initTestCase()
    {
        folder_ = qEnvironmentVariable("SW52K31_SCREENSHOTS");
        if (folder_.isEmpty())
            QFAIL("set SW52K31_SCREENSHOTS to the folder for the pictures");
        QVERIFY(QDir().mkpath(folder_));
    }

    void init() { Set_Up(); }
    void cleanup() { Tear_Down(); }

    void parameter_window()
    {
        Write_Doc("<LoRa_RF_Band>EU868</LoRa_RF_Band><LoRa_DataRate>5 -\tLoRa: SF7/125kHz 5470 [bit/s]</LoRa_DataRate>"
                  "<LoRa_Device_Address>26011F3A</LoRa_Device_Address>"
                  "<LoRa_Application_Identifier>70B3D57ED0001234</LoRa_Application_Identifier>"
                  "<LoRa_Network_Session_Key>2B7E151628AED2A6ABF7158809CF4F3C</LoRa_Network_Session_Key>"
                  "<LoRa_Application_Session_Key>3C4FCF098815F7ABA6D2AE2816157E2B</LoRa_Application_Session_Key>"
                  "<LoRa_Application_Key>000102030405060708090A0B0C0D0E0F</LoRa_Application_Key>"
                  "<Ethernet_EN_GAT>1</Ethernet_EN_GAT><BACnet_EN_GAT>1</BACnet_EN_GAT>"
                  "<BACnet_NAME_STA>boilerroom1</BACnet_NAME_STA><BACnet_Ser_NAME_STA>boilerroom1</BACnet_Ser_NAME_STA>"
                  "<BACnet_DEV_IDE>31001</BACnet_DEV_IDE><BACnet_Ser_DEV_IDE>31001</BACnet_Ser_DEV_IDE>"
                  // One value each link refuses, marked as OK would refuse it.
                  "<BACnet_PORT>10001</BACnet_PORT><Ethernet_GAT4>300</Ethernet_GAT4>");
        // Tall enough to show every group whole; the scroll area shows or
        // hides its bar on the next turn of the event loop.
        auto fit = [this] {
            w_->resize(w_->width(), w_->height() - CPG()->viewport()->height() + CPG()->widget()->height());
            QApplication::processEvents();
        };
        w_->show();
        fit();
        QVERIFY(w_->grab().save(folder_ + u"/parameters_bacnet_ip.png"_s));
        Combo(K::BACnet_Type)->setCurrentIndex(1);
        Combo(K::LoRa_Activation_Method)->setCurrentIndex(1);
        fit();
        QVERIFY(w_->grab().save(folder_ + u"/parameters_bacnet_mstp.png"_s));
    }
};

QTEST_MAIN(ParGen_Screenshots)
#include "pargen_screenshots.moc"
