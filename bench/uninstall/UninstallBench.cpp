// Speed of the uninstaller's core on large inputs: the log through the cache, a search for many
// plain names, and one registry write on a large store.
#include "znFileFind.h"
#include "znRegIni.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double Millis(const QElapsedTimer& Timer)
{
    return double(Timer.nsecsElapsed()) / 1e6;
}

void WriteFile(const QString& Path, const QByteArray& Bytes)
{
    QFile file(Path);
    if (file.open(QIODevice::WriteOnly)) file.write(Bytes);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;

    // A 20,000-line log: 20 sections of 999 entries each.
    QByteArray log;
    QByteArrayList sections;
    for (int s = 0; s < 20; ++s) {
        sections << "Section" + QByteArray::number(s);
        log += '[' + sections.last() + "]\r\n";
        for (int i = 0; i < 999; ++i)
            log += "File" + QByteArray::number(i) + " = \"C:\\Program Files\\App\\file" + QByteArray::number(i) +
                   ".dll\",1,2\r\n";
    }
    const QString logPath = dir.path() + QStringLiteral("/install.log");
    WriteFile(logPath, log);
    double logMs = 0;
    for (int run = 0; run < 2; ++run) { // the second run is the warm one
        FreeCachedIniFiles();
        QElapsedTimer timer;
        timer.start();
        qsizetype lines = 0;
        for (const QByteArray& section : sections) {
            QByteArrayList values;
            IniReadSectionValues(logPath, section, values);
            lines += values.size();
        }
        logMs = Millis(timer);
        if (lines != 20 * 999) return 1;
    }
    FreeCachedIniFiles();

    // 5,000 plain names looked up in a folder of 5,000 files.
    const QString folder = dir.path() + QStringLiteral("/files/");
    QDir().mkpath(folder);
    for (int i = 0; i < 5000; ++i)
        WriteFile(folder + QStringLiteral("file%1.dll").arg(i), "x");
    QElapsedTimer findTimer;
    findTimer.start();
    int found = 0;
    for (int i = 0; i < 5000; ++i) {
        TSearchRecEx rec;
        if (FindFirstEx(folder + QStringLiteral("file%1.dll").arg(i), 0, 24, rec) == 0) ++found;
        FindCloseEx(rec);
    }
    const double findMs = Millis(findTimer);

    // One write on a store of 10,000 values, as the shared-file counts lie in one key.
    TRegistryStore store(dir.path() + QStringLiteral("/data"));
    QByteArray text = "[HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs]\r\n";
    for (int i = 0; i < 10000; ++i)
        text += "4:01000000:C:\\Program Files\\App\\file" + QByteArray::number(i) + ".dll\r\n";
    QDir().mkpath(dir.path() + QStringLiteral("/data"));
    WriteFile(store.FilePath(), text);
    UseRegistryStore(&store);
    QElapsedTimer regTimer;
    regTimer.start();
    const bool written = RegWriteInteger("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                                         "C:\\Program Files\\App\\file9999.dll", 2);
    const double regMs = Millis(regTimer);
    UseRegistryStore(nullptr);

    std::printf("Uninstaller: 20,000-line log through the cache, every section read (warm): %.1f ms (goal < 100 ms)\n",
                logMs);
    std::printf("Uninstaller: FindFirstEx of 5,000 plain names in a folder of 5,000 files: %.1f ms, %d found "
                "(goal < 100 ms)\n",
                findMs, found);
    std::printf("Uninstaller: one RegWriteInteger on a store of 10,000 values: %.1f ms (%s)\n", regMs,
                written ? "written" : "failed");
    return found == 5000 && written ? 0 : 1;
}
