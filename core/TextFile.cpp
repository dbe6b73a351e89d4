#include "core/TextFile.h"

#include "core/VB.h"
#include "core/Win1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
QList<QByteArray> splitLines(const QByteArray& data)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = data.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (data[i] == '\n') {
            qsizetype end = i;
            if (end > start && data[end - 1] == '\r') --end;
            lines << data.mid(start, end - start);
            start = i + 1;
        }
    }
    if (start < n) {
        QByteArray last = data.mid(start);
        if (last.endsWith('\r')) last.chop(1);
        lines << last;
    }
    return lines;
}
} // namespace

QList<QByteArray> ReadByteLines(const QString& path, bool* ok)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok) *ok = false;
        return {};
    }
    if (ok) *ok = true;
    return splitLines(f.readAll());
}

QStringList ReadTextLines(const QString& path, bool* ok)
{
    QStringList out;
    for (const QByteArray& l : ReadByteLines(path, ok)) out << Win1252::decode(l);
    return out;
}

bool WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty()) return false; // the path of a refused name
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool WriteByteLines(const QString& path, const QList<QByteArray>& lines)
{
    QByteArray data;
    for (const QByteArray& l : lines) {
        data += l;
        data += "\r\n";
    }
    return WriteFileBytes(path, data);
}

bool WriteTextLines(const QString& path, const QStringList& lines)
{
    QList<QByteArray> bytes;
    bytes.reserve(lines.size());
    for (const QString& l : lines) {
        // a "?" in place of a character would be stored as if it had been typed
        const auto encoded = Win1252::encodeStrict(l);
        if (!encoded) return false;
        bytes << *encoded;
    }
    return WriteByteLines(path, bytes);
}

LineReader::LineReader(const QString& path) { m_lines = ReadTextLines(path, &m_ok); }

QString LineReader::line(int index) const
{
    return index >= 0 && index < m_lines.size() ? m_lines[index] : QString();
}

QString LineReader::next() { return m_pos < m_lines.size() ? m_lines[m_pos++] : QString(); }

double LineReader::number(int index) const { return Val(line(index)); }
