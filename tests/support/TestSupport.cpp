#include "TestSupport.h"

#include "core/Globals.h"
#include "core/LineCipher.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>

int ScriptedDialogs::messageBox(const MessageRequest& request)
{
    messages << request;
    if (m_messageAnswers.empty()) return request.buttons() == vbOKOnly ? vbOK : vbCancel;
    const int a = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    return a;
}

QString ScriptedDialogs::inputBox(const InputRequest& request)
{
    inputs << request;
    if (m_inputAnswers.empty()) return QString();
    const QString a = m_inputAnswers.front();
    m_inputAnswers.pop_front();
    return a;
}

QStringList ScriptedDialogs::openFiles(const OpenFileRequest& request)
{
    fileRequests << request;
    if (m_fileAnswers.empty()) return {};
    const QStringList a = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    return a;
}

QString ScriptedDialogs::saveFile(const SaveFileRequest& request)
{
    saveRequests << request;
    if (m_saveAnswers.empty()) return {};
    const QString a = m_saveAnswers.front();
    m_saveAnswers.pop_front();
    return a;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const auto& m : messages) out << m.text;
    return out;
}

void ProgramTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path());
    SetInstallationFolder(dir.path()); // tests put the installation's files beside the data
    SetClock(&clock);
    SetDialogHandler(&dialogs);
    SetDecimalSeparator(QLatin1Char(','));
    ResetGlobals();
    SetFolderSyncer([this](const QString& folder) {
        syncHold.pass();
        const std::lock_guard<std::mutex> lock(syncedMutex);
        syncedFolders << QDir(dir.path()).relativeFilePath(folder);
        return true;
    });
}

FolderSyncHold::Held FolderSyncHold::hold()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_held = true;
    return Held(*this);
}

void FolderSyncHold::release()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_held = false;
    }
    m_changed.notify_all();
}

bool FolderSyncHold::waitUntilHeld()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_waiting > 0; });
}

void FolderSyncHold::pass()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    ++m_waiting;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return !m_held; });
    --m_waiting;
}

void ProgramTest::TearDown()
{
    DiscardTickMessages();
    SetFolderSyncer(nullptr);
    SetDialogHandler(nullptr);
    SetClock(nullptr);
    ResetGlobals();
}

QString ProgramTest::path(const QString& relative) const { return dir.path() + "/" + relative; }

void ProgramTest::writeFile(const QString& relative, const QByteArray& bytes) const
{
    const QString p = path(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ProgramTest::readFile(const QString& relative) const
{
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool ProgramTest::exists(const QString& relative) const { return QFileInfo::exists(path(relative)); }

void ProgramTest::writeCipher(const QString& relative, const QStringList& plain) const
{
    QStringList lines;
    for (const QString& v : plain) lines << EncryptString(v);
    ASSERT_TRUE(WriteTextLines(path(relative), lines));
}

QStringList ProgramTest::deciphered(const QString& relative) const
{
    QStringList out;
    for (const QString& line : ReadTextLines(path(relative))) out << DecryptString(line);
    return out;
}

QByteArray FromHex(const char* hex) { return QByteArray::fromHex(QByteArray(hex).replace(' ', "")); }

qint64 BytesReadSoFar()
{
    QByteArray io;
    if (ReadFileBytes("/proc/self/io", &io) != FileRead::Ok) return -1;
    for (const QByteArray& line : io.split('\n'))
        if (line.startsWith("rchar:")) return line.mid(6).trimmed().toLongLong();
    return -1;
}

QList<CorpusFile> CorpusFiles(const QString& reader, const QStringList& knownFaults)
{
    const QDir folder(QStringLiteral(ZUMBREL_CORPUS_DIR "/") + reader);
    QList<CorpusFile> files;
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
        if (name.endsWith(QLatin1String(".py")) || knownFaults.contains(name)) continue;
        QFile f(folder.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "unreadable corpus file " << qPrintable(f.fileName());
            continue;
        }
        files.push_back({name, f.readAll()});
    }
    if (files.isEmpty()) ADD_FAILURE() << "no corpus files in " << qPrintable(folder.path());
    return files;
}
