#pragma once
// Rijndael block cipher with block and key lengths of 4, 6 or 8 words (128, 192, 256 bits), and a
// wrapper that enciphers a whole byte array under a password as a length-prefixed run of 256-bit blocks.
#include <QByteArray>

#include <cstdint>

class AES {
public:
    // Computes the field, S-box and round tables; gkey needs them (and builds them itself if missing).
    void gentables();
    // Key schedule for a block of nb and a key of nk words (each 4, 6 or 8) from the first 4 * nk bytes
    // of key. Refused (false, cipher left unkeyed) for other lengths or a shorter key.
    bool gkey(int nb, int nk, const QByteArray& key);
    // One block of 4 * Nb bytes in place; false (buff unchanged) when unkeyed or buff is too short.
    bool Encrypt(QByteArray& buff) const;
    bool Decrypt(QByteArray& buff) const;

    // Byte array: its length as 32-bit little endian, the bytes, zero padding to a multiple of 32,
    // each 32-byte block enciphered on its own under the first 32 bytes of password (zero-filled).
    QByteArray EncryptData(const QByteArray& data, const QByteArray& password);
    // Inverse of EncryptData; empty for empty input, a length that is no multiple of 32, or a length
    // field that does not fit the deciphered data.
    QByteArray DecryptData(const QByteArray& data, const QByteArray& password);

private:
    static uint32_t Pack(const unsigned char* b);
    static void Unpack(uint32_t a, unsigned char* b);
    static uint32_t RotateLeft(uint32_t x, int bits);
    static uint8_t xtime(uint8_t a);
    uint8_t bmul(uint8_t x, uint8_t y) const;
    uint32_t SubByte(uint32_t a) const;
    uint32_t product(uint32_t x, uint32_t y) const;
    uint32_t InvMixCol(uint32_t x) const;
    bool keyWithPassword(const QByteArray& password);

    bool m_tables = false;
    uint8_t m_ptab[256] = {}; // antilogarithms, generator 3
    uint8_t m_ltab[256] = {}; // logarithms
    uint8_t m_fbsub[256] = {};
    uint8_t m_rbsub[256] = {};
    uint32_t m_ftable[4][256] = {};
    uint32_t m_rtable[4][256] = {};
    uint8_t m_rco[30] = {};

    int m_Nb = 0, m_Nk = 0, m_Nr = 0; // m_Nb == 0: no key yet
    int m_shift[4] = {};              // row-shift offsets, row 0 unused
    uint32_t m_fkey[120] = {};
    uint32_t m_rkey[120] = {};
};
