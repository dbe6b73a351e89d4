#include "core/LineCipher.h"
#include "core/TextFile.h"
#include "core/Win1252.h"
#include "support/TestSupport.h"

#include <random>

namespace {
QByteArray bytes(const QString& s) { return Win1252::encode(s); }
} // namespace

class LineCipherTest : public ProgramTest {};

TEST_F(LineCipherTest, KnownLines)
{
    EXPECT_EQ(bytes(EncryptString(QString("Supervisor"))), FromHex("99 c3 7b 9a 69 89 99 a5 69 99 91 88 98 af 85"));
    EXPECT_EQ(bytes(EncryptString(0)), FromHex("93 64"));
    EXPECT_EQ(EncryptString(QString()), QString());
    EXPECT_EQ(DecryptString(QString()), QString());
    // numbers are enciphered in their general form
    EXPECT_EQ(DecryptString(EncryptString(60)), "60");
    EXPECT_EQ(DecryptString(EncryptString(2.5)), "2,5");
}

TEST_F(LineCipherTest, LengthsAndKeys)
{
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(EncryptString(QString(n, 'x')).size(), (3 * n + 1) / 2) << n;
    EXPECT_EQ(CipherKeyValue(PROGRAM_KEY), CipherKeyValue("pLum7Vex4Q"));
    QString key;
    const QString withDefault = EncryptText("abc", key);
    EXPECT_EQ(key, DEFAULT_KEY);
    QString key2 = DEFAULT_KEY;
    EXPECT_EQ(EncryptText("abc", key2), withDefault);
    EXPECT_EQ(InterleaveSplit("abcde"), "bdace");
    EXPECT_EQ(InterleaveJoin("bdace"), "abcde");
    EXPECT_EQ(RotateAtSpaces("12 34 56 "), "123456");
    EXPECT_EQ(RotateAtSpaces("ab cd"), "cdab");
}

TEST_F(LineCipherTest, RandomValuesRoundTripWithinTheByteRange)
{
    std::mt19937 rng(1234);
    for (int round = 0; round < 2000; ++round) {
        const int len = int(rng() % 41);
        QByteArray raw;
        for (int i = 0; i < len; ++i) raw += char(rng() % 256);
        const QString value = Win1252::decode(raw);
        const QString enc = EncryptString(value);
        for (char c : bytes(enc)) {
            const int b = static_cast<unsigned char>(c);
            ASSERT_TRUE(b >= 100 && b <= 199) << b;
        }
        ASSERT_EQ(bytes(DecryptString(enc)), raw);
    }
}

TEST_F(LineCipherTest, UndefinedCodePageBytesSurviveAFile)
{
    // find values whose enciphered lines hold the bytes the code page leaves undefined
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

TEST_F(LineCipherTest, ArbitraryInputNeverFails)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 5000; ++round) {
        QByteArray raw;
        const int len = int(rng() % 30);
        for (int i = 0; i < len; ++i) raw += char(rng() % 256);
        (void)DecryptString(Win1252::decode(raw));
    }
    EXPECT_EQ(DecryptString("abc"), QString()); // codes below 100
    (void)DecryptString(QStringLiteral("日本"));
}
