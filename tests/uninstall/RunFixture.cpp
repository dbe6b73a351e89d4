#include "RunFixture.h"

#include "znRegIni.h"
#include "znUtils.h"

#include <QFileInfo>

void RunTest::SetUp()
{
    UninstallTest::SetUp();
    oldCurrent = QDir::currentPath();
    store = std::make_unique<TRegistryStore>(Path(QStringLiteral("data/Uninstall")));
    UseRegistryStore(store.get());
    WriteBytes(QStringLiteral("app/Uninstall"), "program");
    WriteBytes(QStringLiteral("app/Uninstall.bmp"), "bitmap");
    sim = std::make_unique<TSimSystem>(App(QStringLiteral("Uninstall")));
    SetMsgBoxAnswerer([this](QObject*, const QString& Caption, const QString& Text, quint32) {
        boxes << Caption + u'|' + Text;
        return boxAnswers.isEmpty() ? 0 : boxAnswers.takeFirst();
    });
}

void RunTest::TearDown()
{
    QDir::setCurrent(oldCurrent);
    SetMsgBoxAnswerer(nullptr);
    AppTitle.clear();
    MsgBoxExtraFlags = 0;
    UninstallTest::TearDown();
}

void RunTest::WriteLog(const QList<QByteArray>& Lines, const QString& Name)
{
    WriteBytes(QStringLiteral("app/") + Name, CrLf(Lines));
}

bool RunTest::Prepare(const QStringList& Arguments)
{
    run = std::make_unique<TUninstallRun>(*sim);
    run->Progress = &progress;
    return run->Prepare(Arguments);
}

void RunTest::Work()
{
    run->UninstallThread();
    run->Finish();
}

void RunTest::Exists(const QStringList& Names, bool Expected) const
{
    for (const QString& name : Names)
        EXPECT_EQ(QFileInfo::exists(Path(name)) || QFileInfo(Path(name)).isSymLink(), Expected) << qPrintable(name);
}
