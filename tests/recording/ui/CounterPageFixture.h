#pragma once
// A loaded main window with a tariff of 1,9 cents a minute in 60-second units and the Supervisor as
// the active user, for the tests of the counter page and the floating window.
#include "core/Globals.h"
#include "core/SystemUtils.h"
#include "recording/ui/Connection.h"
#include "recording/ui/Form1.h"
#include "support/SimPlatform.h"
#include "support/TestSupport.h"
#include "tariffs/TarifFile.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>

class CounterPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        SetEndProgramRoutine([] {});
        G_Currency = QStringLiteral("€");
        tariff = writeTariff("Tag", 1.9f);
    }
    void TearDown() override
    {
        delete Form1::instance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetEndProgramRoutine(nullptr);
        ProgramTest::TearDown();
    }
    QString writeTariff(const QString& name, float cents)
    {
        TarifFile t = TarifFile::New("Net", name);
        t.takt = "60 / 60";
        t.zones = {{0, 24, cents, false}};
        EXPECT_TRUE(WriteTarifFile(t));
        return t.fileName();
    }
    // The main window, and a recording started by hand on the shown counter page.
    Connection* start()
    {
        if (!form) {
            form = Form1::instance();
            form->Form_Load();
        }
        G_Tariff = tariff;
        G_ActiveUser = "Supervisor";
        G_DetectSource = 0;
        form->StartConnection();
        form->Image1_Click(0); // "Verbindung"
        spin();                // the first tick
        return form->counterPage();
    }
    static void spin(int ms = 5)
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Billing seconds of the running recording.
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            clock.advance(1);
            ASSERT_NE(form->counterPage(), nullptr);
            QMetaObject::invokeMethod(&form->counterPage()->RSTimer1, "timeout");
        }
    }
    QStringList records() const { return QDir(path("Verbindungen")).entryList({"*.con"}, QDir::Files); }

    SimPlatform sim;
    QString tariff;
    Form1* form = nullptr;
};
