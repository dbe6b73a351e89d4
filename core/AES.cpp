#include "core/AES.h"

#include <algorithm>
#include <new>

namespace {
constexpr int DATA_BLOCK = 32; // EncryptData always uses a 256-bit block and key

uint8_t byteOf(uint32_t w, int i) { return uint8_t(w >> (8 * i)); }
} // namespace

uint32_t AES::Pack(const unsigned char* b)
{
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

void AES::Unpack(uint32_t a, unsigned char* b)
{
    for (int i = 0; i < 4; ++i) b[i] = byteOf(a, i);
}

uint32_t AES::RotateLeft(uint32_t x, int bits)
{
    bits &= 31;
    return bits == 0 ? x : (x << bits) | (x >> (32 - bits));
}

uint8_t AES::xtime(uint8_t a)
{
    return uint8_t((a << 1) ^ ((a & 0x80) ? 0x1B : 0));
}

uint8_t AES::bmul(uint8_t x, uint8_t y) const
{
    if (x == 0 || y == 0) return 0;
    return m_ptab[(m_ltab[x] + m_ltab[y]) % 255];
}

uint32_t AES::SubByte(uint32_t a) const
{
    return uint32_t(m_fbsub[byteOf(a, 0)]) | uint32_t(m_fbsub[byteOf(a, 1)]) << 8 |
           uint32_t(m_fbsub[byteOf(a, 2)]) << 16 | uint32_t(m_fbsub[byteOf(a, 3)]) << 24;
}

// Dot product of two four-byte vectors over GF(2^8).
uint32_t AES::product(uint32_t x, uint32_t y) const
{
    return bmul(byteOf(x, 0), byteOf(y, 0)) ^ bmul(byteOf(x, 1), byteOf(y, 1)) ^ bmul(byteOf(x, 2), byteOf(y, 2)) ^
           bmul(byteOf(x, 3), byteOf(y, 3));
}

// Inverse MixColumn of one column: rows of the matrix with 0e 0b 0d 09.
uint32_t AES::InvMixCol(uint32_t x) const
{
    uint32_t m = 0x090D0B0E;
    uint32_t out = 0;
    for (int i = 0; i < 4; ++i) {
        out |= uint32_t(product(m, x)) << (8 * i);
        m = RotateLeft(m, 8);
    }
    return out;
}

void AES::gentables()
{
    m_ptab[0] = 1;
    m_ltab[0] = 0;
    m_ltab[1] = 0;
    for (int i = 1; i < 256; ++i) {
        m_ptab[i] = m_ptab[i - 1] ^ xtime(m_ptab[i - 1]); // times 3
        m_ltab[m_ptab[i]] = uint8_t(i);
    }
    m_ltab[1] = 0; // 3^255 == 1 overwrote it

    m_fbsub[0] = 0x63;
    m_rbsub[0x63] = 0;
    for (int i = 1; i < 256; ++i) {
        const uint8_t inv = m_ptab[255 - m_ltab[i]];
        uint8_t y = inv, s = inv;
        for (int k = 0; k < 4; ++k) {
            y = uint8_t((y << 1) | (y >> 7));
            s ^= y;
        }
        s ^= 0x63;
        m_fbsub[i] = s;
        m_rbsub[s] = uint8_t(i);
    }

    uint8_t r = 1;
    for (auto& c : m_rco) {
        c = r;
        r = xtime(r);
    }

    for (int i = 0; i < 256; ++i) {
        const uint8_t s = m_fbsub[i];
        const uint32_t f = uint32_t(xtime(s)) | uint32_t(s) << 8 | uint32_t(s) << 16 | uint32_t(xtime(s) ^ s) << 24;
        const uint8_t v = m_rbsub[i];
        const uint32_t b = uint32_t(bmul(0x0E, v)) | uint32_t(bmul(0x09, v)) << 8 | uint32_t(bmul(0x0D, v)) << 16 |
                           uint32_t(bmul(0x0B, v)) << 24;
        for (int k = 0; k < 4; ++k) {
            m_ftable[k][i] = RotateLeft(f, 8 * k);
            m_rtable[k][i] = RotateLeft(b, 8 * k);
        }
    }
    m_tables = true;
}

bool AES::gkey(int nb, int nk, const QByteArray& key)
{
    const auto valid = [](int n) { return n == 4 || n == 6 || n == 8; };
    m_Nb = 0;
    if (!valid(nb) || !valid(nk) || key.size() < 4 * nk) return false;
    if (!m_tables) gentables();

    m_Nr = 6 + std::max(nb, nk);
    m_Nk = nk;
    m_shift[1] = 1;
    m_shift[2] = nb == 8 ? 3 : 2;
    m_shift[3] = nb == 8 ? 4 : 3;

    const auto* k = reinterpret_cast<const unsigned char*>(key.constData());
    const int words = nb * (m_Nr + 1);
    for (int i = 0; i < nk; ++i) m_fkey[i] = Pack(k + 4 * i);
    for (int i = nk; i < words; ++i) {
        uint32_t t = m_fkey[i - 1];
        if (i % nk == 0)
            t = SubByte(RotateLeft(t, 24)) ^ m_rco[i / nk - 1];
        else if (nk > 6 && i % nk == 4)
            t = SubByte(t);
        m_fkey[i] = m_fkey[i - nk] ^ t;
    }

    // Round keys of the equivalent inverse cipher: reversed order, inner rounds through InvMixColumn.
    for (int round = 0; round <= m_Nr; ++round)
        for (int j = 0; j < nb; ++j) {
            const uint32_t w = m_fkey[(m_Nr - round) * nb + j];
            m_rkey[round * nb + j] = (round == 0 || round == m_Nr) ? w : InvMixCol(w);
        }
    m_Nb = nb;
    return true;
}

bool AES::Encrypt(QByteArray& buff) const
{
    if (m_Nb == 0 || buff.size() < 4 * m_Nb) return false;
    auto* b = reinterpret_cast<unsigned char*>(buff.data());
    uint32_t a[8], y[8];
    const uint32_t* key = m_fkey;
    for (int j = 0; j < m_Nb; ++j) a[j] = Pack(b + 4 * j) ^ *key++;
    for (int round = 1; round < m_Nr; ++round) {
        for (int j = 0; j < m_Nb; ++j)
            y[j] = *key++ ^ m_ftable[0][byteOf(a[j], 0)] ^ m_ftable[1][byteOf(a[(j + m_shift[1]) % m_Nb], 1)] ^
                   m_ftable[2][byteOf(a[(j + m_shift[2]) % m_Nb], 2)] ^
                   m_ftable[3][byteOf(a[(j + m_shift[3]) % m_Nb], 3)];
        std::copy(y, y + m_Nb, a);
    }
    for (int j = 0; j < m_Nb; ++j) {
        uint32_t w = m_fbsub[byteOf(a[j], 0)];
        for (int r = 1; r < 4; ++r) w |= uint32_t(m_fbsub[byteOf(a[(j + m_shift[r]) % m_Nb], r)]) << (8 * r);
        Unpack(w ^ *key++, b + 4 * j);
    }
    return true;
}

bool AES::Decrypt(QByteArray& buff) const
{
    if (m_Nb == 0 || buff.size() < 4 * m_Nb) return false;
    auto* b = reinterpret_cast<unsigned char*>(buff.data());
    uint32_t a[8], y[8];
    const uint32_t* key = m_rkey;
    const int nb = m_Nb;
    for (int j = 0; j < nb; ++j) a[j] = Pack(b + 4 * j) ^ *key++;
    for (int round = 1; round < m_Nr; ++round) {
        for (int j = 0; j < nb; ++j)
            y[j] = *key++ ^ m_rtable[0][byteOf(a[j], 0)] ^ m_rtable[1][byteOf(a[(j + nb - m_shift[1]) % nb], 1)] ^
                   m_rtable[2][byteOf(a[(j + nb - m_shift[2]) % nb], 2)] ^
                   m_rtable[3][byteOf(a[(j + nb - m_shift[3]) % nb], 3)];
        std::copy(y, y + nb, a);
    }
    for (int j = 0; j < nb; ++j) {
        uint32_t w = m_rbsub[byteOf(a[j], 0)];
        for (int r = 1; r < 4; ++r) w |= uint32_t(m_rbsub[byteOf(a[(j + nb - m_shift[r]) % nb], r)]) << (8 * r);
        Unpack(w ^ *key++, b + 4 * j);
    }
    return true;
}

bool AES::keyWithPassword(const QByteArray& password)
{
    QByteArray key = password.left(DATA_BLOCK);
    key.append(DATA_BLOCK - key.size(), '\0');
    gentables();
    return gkey(8, 8, key);
}

QByteArray AES::EncryptData(const QByteArray& data, const QByteArray& password)
{
    if (data.isEmpty() || password.isEmpty()) return {};
    // the length field holds 32 bits
    if (quint64(data.size()) > 0xFFFFFFFFull - 4 - DATA_BLOCK) return {};
    try {
        if (!keyWithPassword(password)) return {};
        const quint32 n = quint32(data.size());
        qsizetype total = qsizetype(n) + 4;
        if (total % DATA_BLOCK != 0) total += DATA_BLOCK - total % DATA_BLOCK;

        QByteArray buffer(total, '\0');
        auto* b = reinterpret_cast<unsigned char*>(buffer.data());
        Unpack(n, b);
        std::copy(data.cbegin(), data.cend(), buffer.begin() + 4);

        QByteArray block;
        for (qsizetype at = 0; at < total; at += DATA_BLOCK) {
            block = buffer.mid(at, DATA_BLOCK);
            Encrypt(block);
            std::copy(block.cbegin(), block.cend(), buffer.begin() + at);
        }
        return buffer;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

QByteArray AES::DecryptData(const QByteArray& data, const QByteArray& password)
{
    if (data.isEmpty() || password.isEmpty() || data.size() % DATA_BLOCK != 0) return {};
    try {
        if (!keyWithPassword(password)) return {};
        const qsizetype total = data.size();
        QByteArray buffer(total, Qt::Uninitialized);
        QByteArray block;
        for (qsizetype at = 0; at < total; at += DATA_BLOCK) {
            block = data.mid(at, DATA_BLOCK);
            Decrypt(block);
            std::copy(block.cbegin(), block.cend(), buffer.begin() + at);
        }
        // read unsigned: a damaged field must never turn into a negative or oversized count
        const quint32 n = Pack(reinterpret_cast<const unsigned char*>(buffer.constData()));
        if (quint64(n) > quint64(total) - 4) return {};
        return buffer.mid(4, n);
    } catch (const std::bad_alloc&) {
        return {};
    }
}
