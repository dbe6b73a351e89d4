// Every hostile sample of the corpus through the uninstaller's readers: each must return, under the
// sanitizers, without a crash, a hang or a report; what the samples must keep is pinned as well.
#include "RunFixture.h"

#include "znIniFile.h"
#include "znRegIni.h"
#include "znUtils.h"

#include <QMap>

namespace {

class Corpus : public RunTest {};

// Every section of a file as the log reader sees it: its name and its lines.
QList<QPair<QByteArray, QByteArrayList>> ReadAllSections(const QString& File)
{
    TznIniFile ini(File, true, true, true, true, true);
    QByteArrayList names;
    ini.ReadSections(names);
    QList<QPair<QByteArray, QByteArrayList>> sections;
    for (const QByteArray& name : names) {
        QByteArrayList lines;
        ini.ReadSectionValues(name, lines);
        sections.append({name, lines});
    }
    return sections;
}

const quint32 Roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};

// Every key the store lists, with the values of the given names it holds: "<root> <path> <name>" -> type and data.
void CollectKeys(const TRegistryStore& Store, quint32 Root, const QByteArray& SubKey, const QByteArrayList& Names,
                 QMap<QByteArray, QByteArray>& Keys)
{
    const QByteArray id = QByteArray::number(Root) + ' ' + SubKey;
    Keys.insert(id, QByteArray());
    for (const QByteArray& name : Names) {
        TRegValue value;
        if (Store.QueryValue(Root, SubKey, name, value))
            Keys.insert(id + ' ' + name, QByteArray::number(value.Type) + ':' + value.Data.toHex());
    }
    QByteArrayList subKeys;
    Store.SubKeys(Root, SubKey, subKeys);
    for (const QByteArray& sub : subKeys)
        CollectKeys(Store, Root, SubKey.isEmpty() ? sub : SubKey + '\\' + sub, Names, Keys);
}

QMap<QByteArray, QByteArray> RegistryContents(const TRegistryStore& Store, const QByteArray& Sample)
{
    // The value names the sample may hold: whatever follows a line's second colon.
    QByteArrayList names{QByteArray()};
    for (QByteArray line : Sample.split('\n')) {
        const qsizetype colon = line.indexOf(':', line.indexOf(':') + 1);
        if (line.endsWith('\r')) line.chop(1);
        if (colon > 0) names << QByteArray::fromPercentEncoding(line.mid(colon + 1));
    }
    QMap<QByteArray, QByteArray> keys;
    for (const quint32 root : Roots)
        CollectKeys(Store, root, QByteArray(), names, keys);
    return keys;
}

} // namespace

TEST_F(Corpus, InstallLogs)
{
    using TSections = QList<QPair<QByteArray, QByteArrayList>>;
    QMap<QString, TSections> read;
    QMap<QString, QStringList> shown;
    for (const auto& [name, bytes] : CorpusSamples(QStringLiteral("install-log"))) {
        SCOPED_TRACE(name.toStdString());
        FreeCachedIniFiles();
        for (const char* file : {"app/Uninstall", "app/Uninstall.bmp", "app/a.txt", "app/data/x.dat"})
            WriteBytes(QString::fromLatin1(file), "");
        WriteBytes(QStringLiteral("app/install.log"), bytes);
        const TSections sections = ReadAllSections(App(QStringLiteral("install.log")));
        read.insert(name, sections);

        progress = TProgressRecorder();
        sim->Calls.clear();
        boxes.clear();
        boxAnswers = {IDYES};
        if (!Prepare()) {
            EXPECT_TRUE(sections.isEmpty()); // only a log without sections is refused
            continue;
        }
        WorkWithin(std::chrono::seconds(60));
        EXPECT_TRUE(progress.CloseEnabled);
        EXPECT_EQ(progress.Maximum, 10);
        if (progress.Bar != 0) { // else a pre-run program cancelled
            EXPECT_EQ(progress.Bar, 10);
            EXPECT_EQ(progress.Lines.last(), "Application uninstall finished.");
        }
        shown.insert(name, progress.Lines);
    }
    const TSections wellFormed = read.value(QStringLiteral("well-formed"));
    EXPECT_EQ(wellFormed.size(), 13);
    EXPECT_EQ(shown.value(QStringLiteral("well-formed")),
              (QStringList{"Checking shared files... ok", "Removing shortcuts... ok", "Removing ini entries... ok",
                           "Unregister fonts... ok", "Removing registry values... ok", "Removing registry keys... ok",
                           "Unregister OLE servers... ok", "Removing files... ok", "Removing directories... ok",
                           "Application uninstall finished."}));
    // The line ends do not change what the log says or what the run does, nor does a missing last one.
    for (const char* name : {"lf-only", "cr-only", "mixed-line-ends", "no-final-line-end"}) {
        EXPECT_EQ(read.value(QLatin1String(name)), wellFormed) << name;
        EXPECT_EQ(shown.value(QLatin1String(name)), shown.value(QStringLiteral("well-formed"))) << name;
    }
    // A byte-order mark belongs to the first line: that header is not one, and its entries are dropped.
    EXPECT_EQ(read.value(QStringLiteral("utf8-bom-before-header")), wellFormed.mid(1));
    EXPECT_EQ(read.value(QStringLiteral("duplicate-sections")),
              (TSections{{"CopyFiles", {"a.txt=1"}}, {"Strings", {"1=first"}}}));
    EXPECT_EQ(read.value(QStringLiteral("line-end-at-chunk-end")),
              (TSections{{"CopyFiles", {QByteArray(97, 'a') + "=1", QByteArray(97, 'b') + "=1"}}}));
    EXPECT_EQ(read.value(QStringLiteral("no-line-end-at-all")), TSections{});
}

TEST_F(Corpus, IniRemovals)
{
    const QString file = Path(QStringLiteral("config/corpus.ini"));
    for (const auto& [name, bytes] : CorpusSamples(QStringLiteral("ini"))) {
        SCOPED_TRACE(name.toStdString());
        WriteBytes(QStringLiteral("config/corpus.ini"), bytes);
        QList<QPair<QByteArray, QByteArrayList>> sections = ReadAllSections(file);
        // The first key of the last section that has one goes, as an [AddIni] line would take it.
        qsizetype target = sections.size() - 1;
        while (target >= 0 && sections[target].second.isEmpty())
            --target;
        const QByteArray section = target >= 0 ? sections[target].first : "absent";
        const QByteArray key = target >= 0 ? IniKeyName(sections[target].second.first()) : "absent";
        IniDeleteKey(QStringLiteral("corpus.ini"), section, key);
        FreeCachedIniFiles();
        const QByteArray after = ReadBytes(QStringLiteral("config/corpus.ini"));
        if (target < 0) {
            EXPECT_EQ(after, bytes);
            continue;
        }
        // One run of bytes is cut: the key's own line with its own line end, or with the end of the file. Where
        // it stood is plain up to a shift along bytes that repeat: one of those places must be a whole line.
        ASSERT_LT(after.size(), bytes.size());
        const qsizetype length = bytes.size() - after.size();
        qsizetype prefix = 0, suffix = 0;
        while (prefix < after.size() && after[prefix] == bytes[prefix])
            ++prefix;
        while (suffix < after.size() && after[after.size() - 1 - suffix] == bytes[bytes.size() - 1 - suffix])
            ++suffix;
        ASSERT_GE(prefix + suffix, after.size());
        bool wholeLine = false;
        for (qsizetype at = after.size() - suffix; at <= prefix && !wholeLine; ++at) {
            const QByteArray cut = bytes.mid(at, length);
            wholeLine = (at == 0 || bytes[at - 1] == '\n' || bytes[at - 1] == '\r') && cut.contains(key) &&
                        (cut.endsWith('\n') || cut.endsWith('\r') || at + length == bytes.size());
        }
        EXPECT_TRUE(wholeLine);
        // Every other line reads as before.
        sections[target].second.removeFirst();
        EXPECT_EQ(ReadAllSections(file), sections);
    }
}

TEST_F(Corpus, RegistryFiles)
{
    const QString file = QStringLiteral("data/Uninstall/Registry.txt");
    for (const auto& [name, bytes] : CorpusSamples(QStringLiteral("registry"))) {
        SCOPED_TRACE(name.toStdString());
        WriteBytes(file, bytes);
        QMap<QByteArray, QByteArray> before = RegistryContents(*store, bytes);
        if (name == QLatin1String("well-formed") || name == QLatin1String("lf-only") ||
            name == QLatin1String("no-final-line-end")) {
            EXPECT_EQ(RegReadInteger("HKLM\\Software\\Vesko", "count", 0), 1);
            EXPECT_EQ(RegReadInteger("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", "Shared.dll", 0),
                      2);
            EXPECT_EQ(before.size(), 14);
        }
        // An escaped backslash would split the key's name when written: the key is damaged, and only its neighbours
        // count.
        if (name == QLatin1String("header-escaped-backslash")) {
            const QByteArray hklm = QByteArray::number(HKEY_LOCAL_MACHINE) + ' ';
            EXPECT_EQ(before.size(), 7);
            EXPECT_EQ(before.value(hklm + "a\\b y"), "1:00");
            EXPECT_FALSE(before.contains(hklm + "a\\b x"));
        }
        // A change rewrites the file: every key and value that could be read stays, and the new one is added.
        ASSERT_TRUE(RegWriteString("HKCU\\Corpus", "v", "1"));
        const QByteArray written = ReadBytes(file);
        QMap<QByteArray, QByteArray> after = RegistryContents(*store, bytes);
        EXPECT_EQ(after.take(QByteArray::number(HKEY_CURRENT_USER) + " Corpus"), QByteArray());
        before.remove(QByteArray::number(HKEY_CURRENT_USER) + " Corpus"); // a sample may hold it already
        EXPECT_EQ(after, before);
        // The rewritten file reads back as written: a change and its undoing write the same bytes again.
        ASSERT_TRUE(RegWriteString("HKCU\\Corpus", "w", "2"));
        ASSERT_TRUE(RegRemoveValue("HKCU\\Corpus", "w"));
        EXPECT_EQ(ReadBytes(file), written);
        quint32 size = 0;
        EXPECT_TRUE(RegReadValue("HKCU\\Corpus", "v", nullptr, size));
    }
}
