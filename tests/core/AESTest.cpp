#include "core/AES.h"

#include "support/TestSupport.h"

#include <QRandomGenerator>

namespace {
QByteArray Counting(int from, int count)
{
    QByteArray b;
    for (int i = 0; i < count; ++i) b.append(char(from + i));
    return b;
}

QByteArray Random(QRandomGenerator& rng, int size)
{
    QByteArray b(size, '\0');
    for (auto& c : b) c = char(rng.bounded(256));
    return b;
}

// The block cipher keyed with a password zero-filled to 32 bytes, as EncryptData keys it.
AES RawCipher(const QByteArray& pw)
{
    AES raw;
    raw.gentables();
    raw.gkey(8, 8, pw + QByteArray(32 - pw.size(), '\0'));
    return raw;
}
} // namespace

TEST(AES, KnownVectors)
{
    const QByteArray fips = FromHex("00112233445566778899aabbccddeeff");
    const struct {
        int nb, nk;
        QByteArray key, plain;
        const char* cipher;
    } vectors[] = {
        {4, 4, Counting(0, 16), fips, "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {4, 6, Counting(0, 24), fips, "dda97ca4864cdfe06eaf70a0ec0d7191"},
        {4, 8, Counting(0, 32), fips, "8ea2b7ca516745bfeafc49904b496089"},
        {8, 8, Counting(0, 32), Counting(0, 32), "623d2bd4ca3796dc3d02ecf2f37fb637fd3da58509cebb67ab9265b04db51e7d"},
        {8, 8, QByteArray(32, '\0'), QByteArray(32, '\0'),
         "c6227e7740b7e53b5cb77865278eab0726f62366d9aabad908936123a1fc8af3"},
    };
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.cipher);
        AES aes;
        aes.gentables();
        ASSERT_TRUE(aes.gkey(v.nb, v.nk, v.key));
        QByteArray buff = v.plain;
        ASSERT_TRUE(aes.Encrypt(buff));
        EXPECT_EQ(buff.toHex(), QByteArray(v.cipher));
        ASSERT_TRUE(aes.Decrypt(buff));
        EXPECT_EQ(buff, v.plain);
    }
}

TEST(AES, EveryBlockAndKeyLengthRoundTripsAndBadOnesAreRefused)
{
    QRandomGenerator rng(1712);
    AES aes;
    QByteArray buff(32, 'x');
    EXPECT_FALSE(aes.Encrypt(buff)); // no key yet
    aes.gentables();
    for (int nb : {4, 6, 8})
        for (int nk : {4, 6, 8}) {
            ASSERT_TRUE(aes.gkey(nb, nk, Random(rng, 4 * nk)));
            const QByteArray plain = Random(rng, 4 * nb);
            QByteArray b = plain;
            aes.Encrypt(b);
            EXPECT_NE(b, plain) << nb << nk;
            aes.Decrypt(b);
            EXPECT_EQ(b, plain) << nb << nk;
        }
    EXPECT_FALSE(aes.gkey(5, 4, QByteArray(32, 'k')));
    EXPECT_FALSE(aes.gkey(4, 8, QByteArray(31, 'k')));
    ASSERT_TRUE(aes.gkey(8, 4, QByteArray(16, 'k')));
    QByteArray shortBlock(31, 'x');
    EXPECT_FALSE(aes.Encrypt(shortBlock));
    EXPECT_FALSE(aes.Decrypt(shortBlock));
    EXPECT_EQ(shortBlock, QByteArray(31, 'x'));
}

TEST(AES, EncryptDataFormat)
{
    AES aes;
    const QByteArray pw("geheim");
    for (auto [n, size] : {std::pair{1, 32}, {28, 32}, {29, 64}, {60, 64}, {61, 96}})
        EXPECT_EQ(aes.EncryptData(QByteArray(n, 'a'), pw).size(), size) << n;
    EXPECT_TRUE(aes.EncryptData({}, pw).isEmpty());
    EXPECT_TRUE(aes.EncryptData("a", {}).isEmpty());

    // independent blocks; the first holds the length little endian, the data and zero padding
    const QByteArray enc = aes.EncryptData(QByteArray(28, 'z') + QByteArray(64, '\0'), pw);
    ASSERT_EQ(enc.size(), 96);
    EXPECT_EQ(enc.mid(32, 32), enc.mid(64, 32));
    QByteArray block = aes.EncryptData("abc", pw);
    RawCipher(pw).Decrypt(block);
    EXPECT_EQ(block, FromHex("03 00 00 00") + "abc" + QByteArray(25, '\0'));

    const QByteArray long40 = Counting('A', 40), data("Verbindung 12:00");
    EXPECT_EQ(aes.EncryptData(data, long40), aes.EncryptData(data, long40.left(32)));
    EXPECT_EQ(aes.DecryptData(aes.EncryptData(data, long40), long40.left(32)), data);
}

TEST(AES, DecryptDataRoundTripAndRejects)
{
    QRandomGenerator rng(42);
    AES aes;
    for (int n : {1, 27, 28, 29, 100, 1000}) {
        const QByteArray data = Random(rng, n);
        EXPECT_EQ(aes.DecryptData(aes.EncryptData(data, "pw"), "pw"), data) << n;
    }
    const QByteArray enc = aes.EncryptData("hallo", "pw");
    EXPECT_TRUE(aes.DecryptData(enc + 'x', "pw").isEmpty()); // 33 bytes
    EXPECT_TRUE(aes.DecryptData(enc.left(31), "pw").isEmpty());
    EXPECT_TRUE(aes.DecryptData(enc, {}).isEmpty());
    EXPECT_TRUE(aes.DecryptData({}, "pw").isEmpty());

    // length fields around the limit of one 32-byte buffer: 28 fits, 29 and the top bit do not
    AES raw = RawCipher("pw");
    for (auto [field, size] : {std::pair{"1c000000", 28}, {"00000000", 0}, {"1d000000", -1}, {"ffffffff", -1},
                               {"00000080", -1}}) {
        QByteArray block = FromHex(field) + QByteArray(28, 'q');
        raw.Encrypt(block);
        EXPECT_EQ(aes.DecryptData(block, "pw"), QByteArray(std::max(size, 0), 'q')) << field;
    }
}

TEST(AES, DamagedInputNeverCrashes)
{
    QRandomGenerator rng(20010117);
    AES aes;
    const QByteArray good = aes.EncryptData(Random(rng, 70), "pw");
    for (int i = 0; i < 3000; ++i) {
        QByteArray input = i % 2 ? good : Random(rng, int(rng.bounded(130)));
        for (int k = 0, flips = i % 2 ? 1 + int(rng.bounded(4)) : 0; k < flips; ++k)
            input[rng.bounded(int(input.size()))] = char(rng.bounded(256));
        const QByteArray out = aes.DecryptData(input, rng.bounded(8) == 0 ? Random(rng, 40) : QByteArray("pw"));
        EXPECT_TRUE(input.size() % 32 == 0 || out.isEmpty());
        EXPECT_LE(out.size(), std::max<qsizetype>(0, input.size() - 4));
    }
}
