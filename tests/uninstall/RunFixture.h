#pragma once

#include "RegistryStore.h"
#include "UninstallSystem.h"
#include "UninstallTestSupport.h"
#include "Uninstaller.h"

#include <chrono>
#include <memory>

// A program folder "app" with its program file and bitmap, a registry store, the simulated system
// and a box answerer that records what it was shown.
class RunTest : public UninstallTest {
protected:
    void SetUp() override;
    void TearDown() override;

    QString App(const QString& Name = QString()) const { return Path(QStringLiteral("app/")) + Name; }
    void WriteLog(const QList<QByteArray>& Lines, const QString& Name = QStringLiteral("install.log"));
    bool Prepare(const QStringList& Arguments = {QStringLiteral("Uninstall")});
    // The worker's body and the end of the run, as the dialog would run them.
    void Work();
    // Work, with the worker on a thread of its own: one that outlasts Limit or takes more than a GiB ends the
    // test program with a message, since nothing can stop it from outside.
    void WorkWithin(std::chrono::seconds Limit);
    void Exists(const QStringList& Names, bool Expected) const;

    std::unique_ptr<TRegistryStore> store;
    std::unique_ptr<TSimSystem> sim;
    std::unique_ptr<TUninstallRun> run;
    TProgressRecorder progress;
    QStringList boxes;
    QList<int> boxAnswers; // 0 when none is left

private:
    QString oldCurrent;
};
