#include "core/ui/WindowUtils.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSoundEffect>

class SoundTest : public ProgramTest {};

// Billing counts one-second ticks, so a warning sound must not hold the caller until it has played.
TEST_F(SoundTest, PlaysLaterFromTheEventLoopAndIgnoresMissingFiles)
{
    auto pending = [] { return qApp->findChildren<QSoundEffect*>().size(); };
    const qsizetype before = pending();
    PlaySoundFile(path("Sounds/fehlt.wav"));
    PlaySoundFile(QString());
    EXPECT_EQ(pending(), before);

    // a short silent WAV: 8 kHz, 8 bit, mono, 0.1 s
    QByteArray wav("RIFF");
    const quint32 samples = 800;
    auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    wav += le32(36 + samples) + "WAVEfmt " + le32(16) + QByteArray::fromHex("01000100401f0000401f000001000800") +
           "data" + le32(samples) + QByteArray(int(samples), char(0x80));
    writeFile("Sounds/Standard.wav", wav);
    PlaySoundFile(path("Sounds/Standard.wav"));
    EXPECT_EQ(pending(), before + 1); // returned at once, the sound still to come

    // the sample loads on a thread of its own: a process that ends meanwhile leaves its buffers behind
    const auto loading = [] {
        for (const QSoundEffect* e : qApp->findChildren<QSoundEffect*>())
            if (e->status() == QSoundEffect::Loading || e->status() == QSoundEffect::Null) return true;
        return false;
    };
    QElapsedTimer waited;
    waited.start();
    while (loading() && waited.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(loading());
}
