#include "shell/settings.h"
#include "shell/ui/main_window.h"
#include "shell/workspace.h"
#include "test_support.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

class Test_Main_Window : public QObject
{
    Q_OBJECT

private slots:
    void closing_saves_the_settings()
    {
        QTemporaryDir dir;
        Workspace ws;
        Start_Workspace(ws, dir.path());
        ws.Language_Name = QStringLiteral("English");
        ws.Enable_Update = true;
        TFQuarneleFirmWare window(ws);
        QCOMPARE(window.windowTitle(), QStringLiteral("Tavelin - Configurator SW52K31 BACnet Slave / LoRaWAN "));
        window.show();
        QVERIFY(window.close());
        QVERIFY(test::Read(dir.filePath(QStringLiteral("Quarnel.xml"))).contains("<enable_update>1</enable_update>"));
    }
};

QTEST_MAIN(Test_Main_Window)
#include "test_main_window.moc"
