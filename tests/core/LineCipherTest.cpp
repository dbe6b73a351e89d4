#include "core/LineCipher.h"
#include "core/TextFile.h"
#include "core/Win1252.h"
#include "support/TestSupport.h"

#include <random>

namespace {
QByteArray bytes(const QString& s) { return Win1252::encode(s); }
} // namespace

class LineCipherTest : public ProgramTest {};

TEST_F(LineCipherTest, KnownLinesAndDefaultKey)
{
    EXPECT_EQ(bytes(EncryptString(QString("Supervisor"))), FromHex("99 c3 7b 9a 69 89 99 a5 69 99 91 88 98 af 85"));
    EXPECT_EQ(bytes(EncryptString(0)), FromHex("93 64"));
    EXPECT_EQ(EncryptString(QString()), QString());
    EXPECT_EQ(DecryptString(QString()), QString());
    EXPECT_EQ(DecryptString(EncryptString(60)), "60"); // numbers in their general form
    EXPECT_EQ(DecryptString(EncryptString(2.5)), "2,5");
    QString key, key2 = DEFAULT_KEY;
    const QString withDefault = EncryptText("abc", key);
    EXPECT_EQ(key, DEFAULT_KEY);
    EXPECT_EQ(EncryptText("abc", key2), withDefault);
}

TEST_F(LineCipherTest, RandomValuesRoundTripAndArbitraryInputNeverFails)
{
    std::mt19937 rng(1234);
    for (int round = 0; round < 3000; ++round) {
        QByteArray raw;
        for (int i = 0, len = int(rng() % 41); i < len; ++i) raw += char(rng() % 256);
        const QString enc = EncryptString(Win1252::decode(raw));
        for (char c : bytes(enc)) ASSERT_TRUE(uchar(c) >= 100 && uchar(c) <= 199) << int(uchar(c));
        ASSERT_EQ(bytes(DecryptString(enc)), raw);
        (void)DecryptString(Win1252::decode(raw)); // not enciphered at all
    }
    EXPECT_EQ(DecryptString("abc"), QString()); // codes below 100
    (void)DecryptString(QStringLiteral("日本"));
}

TEST_F(LineCipherTest, UndefinedCodePageBytesSurviveAFile)
{
    QByteArray wanted;
    QList<QByteArray> lines;
    QStringList plain;
    std::mt19937 rng(7);
    for (int v = 0; v < 20000 && wanted.size() < 5; ++v) {
        QString p;
        for (int i = 0; i < 8; ++i) p += QChar(0x20 + int(rng() % 0x5F));
        const QByteArray e = bytes(EncryptString(p));
        for (char c : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'})
            if (e.contains(c) && !wanted.contains(c)) {
                wanted += c;
                lines << e;
                plain << p;
            }
    }
    ASSERT_EQ(wanted.size(), 5);
    ASSERT_TRUE(WriteByteLines(path("x.con"), lines));
    const QStringList read = ReadTextLines(path("x.con"));
    ASSERT_TRUE(WriteTextLines(path("y.con"), read));
    EXPECT_EQ(readFile("x.con"), readFile("y.con"));
    for (int i = 0; i < read.size(); ++i) EXPECT_EQ(DecryptString(read[i]), plain[i]);
}
