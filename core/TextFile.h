#pragma once
// Every data and settings file is read and written here: Windows-1252 bytes, CRLF line ends on write,
// CRLF or LF accepted on read, whole-file atomic writes.
#include <QByteArray>
#include <QString>
#include <QStringList>

// The lines of a text file; false in *ok (and no lines) when it cannot be read. A final line end does
// not make an extra empty line.
QStringList ReadTextLines(const QString& path, bool* ok = nullptr);

// The same for raw bytes (the line cipher works on bytes).
QList<QByteArray> ReadByteLines(const QString& path, bool* ok = nullptr);

// Writes the lines, each ended by CRLF, atomically; missing folders are created. False on failure, and
// false without touching the file when a line holds a character outside the code page.
bool WriteTextLines(const QString& path, const QStringList& lines);
bool WriteByteLines(const QString& path, const QList<QByteArray>& lines);
bool WriteFileBytes(const QString& path, const QByteArray& bytes);

// Lenient line reader: a missing line reads as empty text, a missing file as no lines.
class LineReader {
public:
    explicit LineReader(const QString& path);
    bool exists() const { return m_ok; }
    int count() const { return int(m_lines.size()); }
    QString line(int index) const; // 0-based; empty past the end
    bool atEnd() const { return m_pos >= m_lines.size(); }
    QString next(); // the next line, or empty text past the end
    double number(int index) const; // Val of the line
private:
    QStringList m_lines;
    qsizetype m_pos = 0;
    bool m_ok = false;
};
