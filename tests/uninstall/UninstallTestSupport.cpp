#include "UninstallTestSupport.h"

#include "znRegIni.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

void UninstallTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    oldConfigHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Path(QStringLiteral("config"))));
    QDir().mkpath(Path(QStringLiteral("config")));
}

void UninstallTest::TearDown()
{
    FreeCachedIniFiles();
    UseRegistryStore(nullptr);
    if (oldConfigHome.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfigHome);
}

void UninstallTest::WriteBytes(const QString& Name, const QByteArray& Bytes) const
{
    const QString path = Path(Name);
    QDir().mkpath(path.left(path.lastIndexOf(u'/')));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Bytes);
}

QByteArray UninstallTest::ReadBytes(const QString& Name) const
{
    QFile file(Path(Name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray CrLf(const QList<QByteArray>& Lines)
{
    QByteArray text;
    for (const QByteArray& line : Lines)
        text += line + "\r\n";
    return text;
}

QList<QPair<QString, QByteArray>> CorpusSamples(const QString& Reader)
{
    QList<QPair<QString, QByteArray>> samples;
    const QString folder = QStringLiteral(UNINSTALL_CORPUS_DIR "/") + Reader;
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        QFile file(folder + u'/' + name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
        samples.append({name, file.readAll()});
    }
    EXPECT_FALSE(samples.isEmpty()) << qPrintable(folder);
    return samples;
}

bool WaitUntil(const std::function<bool()>& Condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!Condition() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return Condition();
}
