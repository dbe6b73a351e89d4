#include "UninstallTestSupport.h"
#include "znRegIni.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

class Registry : public UninstallTest {
protected:
    void SetUp() override
    {
        UninstallTest::SetUp();
        store = std::make_unique<TRegistryStore>(Path(QStringLiteral("data/Uninstall")));
        UseRegistryStore(store.get());
    }
    std::unique_ptr<TRegistryStore> store;
};

TEST_F(Registry, SplitRegPath)
{
    const struct {
        QByteArray Path;
        quint32 Root;
        QByteArray SubKey;
    } cases[] = {
        {"hklm\\x", HKEY_LOCAL_MACHINE, "x"},
        {"HKEY_LOCAL_MACHINE\\x", HKEY_CURRENT_USER, "HKEY_LOCAL_MACHINE\\x"},
        {"HKLM", HKEY_LOCAL_MACHINE, ""},
        {"HKCU\\x\\", HKEY_CURRENT_USER, "x"},
        {"hKcR\\a\\b", HKEY_CLASSES_ROOT, "a\\b"},
        {"HKU\\.DEFAULT", HKEY_USERS, ".DEFAULT"},
        {"Software\\x", HKEY_CURRENT_USER, "Software\\x"},
        {"\\", HKEY_CURRENT_USER, "\\"},
    };
    for (const auto& c : cases) {
        quint32 root = 0;
        QByteArray subKey;
        SplitRegPath(c.Path, root, subKey);
        EXPECT_EQ(root, c.Root) << c.Path.constData();
        EXPECT_EQ(subKey, c.SubKey) << c.Path.constData();
    }
}

TEST_F(Registry, ValuesRoundTripThroughTheFile)
{
    const QByteArray key = "HKLM\\Soft\\Vendor\\App";
    const QByteArray binary("\x00\r\n%\xFF", 5);
    ASSERT_TRUE(RegWriteString(key, "Path", "C:\\x \xE4"));
    ASSERT_TRUE(RegWriteInteger(key, "Count", -2));
    ASSERT_TRUE(RegWriteValue(key, "", REG_BINARY, binary.constData(), quint32(binary.size())));
    ASSERT_TRUE(RegWriteValue(key, QByteArray("odd:\r\n%name\"", 12), 0x12345, "ab", 2));
    ASSERT_TRUE(RegWriteValue(key, "empty", REG_MULTI_SZ, nullptr, 0));
    ASSERT_TRUE(RegWriteValue("HKLM", "atRoot", REG_DWORD, "\x01\x00\x00\x00", 4));

    TRegistryStore fresh(Path(QStringLiteral("data/Uninstall")));
    const struct {
        QByteArray Name;
        quint32 Type;
        QByteArray Data;
    } expected[] = {
        {"path", REG_SZ, QByteArray("C:\\x \xE4\0", 7)},
        {"COUNT", REG_DWORD, QByteArray("\xFE\xFF\xFF\xFF", 4)},
        {"", REG_BINARY, binary},
        {QByteArray("ODD:\r\n%NAME\"", 12), 0x12345, "ab"},
        {"empty", REG_MULTI_SZ, ""},
    };
    for (const auto& e : expected) {
        TRegValue value;
        ASSERT_TRUE(fresh.QueryValue(HKEY_LOCAL_MACHINE, "soft\\VENDOR\\app", e.Name, value)) << e.Name.constData();
        EXPECT_EQ(value.Type, e.Type);
        EXPECT_EQ(value.Data, e.Data);
    }
    EXPECT_EQ(RegReadInteger(key, "Count", 7), -2);
    EXPECT_EQ(RegReadInteger("HKLM", "atRoot", 7), 1);
    EXPECT_EQ(RegReadInteger(key, "Path", 7), 7); // longer than 4 bytes
    EXPECT_EQ(RegReadInteger(key, "missing", 7), 7);
    ASSERT_TRUE(RegWriteValue(key, "short", REG_BINARY, "\x05", 1));
    EXPECT_EQ(RegReadInteger(key, "short", 7), 5);

    const QByteArray text = ReadBytes(QStringLiteral("data/Uninstall/Registry.txt"));
    EXPECT_TRUE(text.contains("\r\n[HKLM\\Soft\\Vendor\\App]\r\n1:433A5C7820E400:Path\r\n4:FEFFFFFF:Count\r\n"));
    EXPECT_TRUE(text.contains("[HKLM\\Soft]\r\n[HKLM\\Soft\\Vendor]\r\n"));
    EXPECT_FALSE(text.contains('\n' + QByteArray("odd")));
}

TEST_F(Registry, ChangesOnlyWriteWhenSomethingChanged)
{
    ASSERT_TRUE(RegWriteInteger("HKCU\\K", "v", 1));
    const QString file = store->FilePath();
    const QDateTime old = QDateTime::currentDateTime().addDays(-1);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(old, QFileDevice::FileModificationTime);
    f.close();
    EXPECT_TRUE(RegWriteInteger("hkcu\\k", "V", 1));
    EXPECT_FALSE(RegRemoveValue("HKCU\\K", "none"));
    EXPECT_FALSE(RegRemoveKey("HKCU\\None", false));
    EXPECT_EQ(QFileInfo(file).lastModified(), old);
    EXPECT_TRUE(RegRemoveValue("HKCU\\K", "v"));
    EXPECT_NE(QFileInfo(file).lastModified(), old);
    EXPECT_EQ(RegReadInteger("HKCU\\K", "v", 9), 9);
}

// As root the test runs itself again under `unshare -m`, where a small tmpfs it mounts and fills is its own.
TEST_F(Registry, AChangeOnAFullDiskFailsAndKeepsTheStore)
{
    if (!qEnvironmentVariableIsSet("UNINSTALL_PRIVATE_MOUNTS")) {
        if (::geteuid() != 0) GTEST_SKIP() << "a private mount namespace needs root";
        QProcess self;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("UNINSTALL_PRIVATE_MOUNTS"), QStringLiteral("1"));
        self.setProcessEnvironment(env);
        self.setProcessChannelMode(QProcess::MergedChannels);
        self.start(QStringLiteral("unshare"),
                   {"-m", "--propagation", "private", QCoreApplication::applicationFilePath(),
                    "--gtest_filter=Registry.AChangeOnAFullDiskFailsAndKeepsTheStore"});
        if (!self.waitForStarted() || !self.waitForFinished(60000)) GTEST_SKIP() << "no unshare";
        const QByteArray output = self.readAll();
        if (!output.contains("[ RUN      ]")) GTEST_SKIP() << "unshare -m refused: " << output.constData();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.") && self.exitCode() == 0) << output.constData();
        return;
    }
    const QByteArray folder = QFile::encodeName(QFileInfo(store->FilePath()).absolutePath());
    QDir().mkpath(QString::fromUtf8(folder));
    ASSERT_EQ(::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=64k"), 0);
    ASSERT_TRUE(store->SetValue(HKEY_LOCAL_MACHINE, "Soft", {"Wert", REG_SZ, "alt"}));
    const QByteArray old = ReadBytes(QStringLiteral("data/Uninstall/Registry.txt"));
    const int filler = ::open(folder + "/filler", O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const QByteArray page(4096, 'x');
    for (qsizetype chunk : {page.size(), qsizetype(1)})
        while (::write(filler, page.constData(), size_t(chunk)) == chunk) {}
    ::close(filler);
    EXPECT_FALSE(store->SetValue(HKEY_LOCAL_MACHINE, "Soft", {"Wert", REG_SZ, "neu"}));
    EXPECT_EQ(ReadBytes(QStringLiteral("data/Uninstall/Registry.txt")), old);
    EXPECT_EQ(QDir(QString::fromUtf8(folder)).entryList(QDir::Files), QStringList({"filler", "Registry.txt"}));
    ::umount2(folder.constData(), MNT_DETACH);
}

TEST_F(Registry, RemovingKeys)
{
    for (const char* k : {"HKLM\\Soft\\A:B", "HKLM\\Soft\\T\\b\\deep", "HKLM\\Soft\\T\\a", "HKLM\\Soft\\T\\C"})
        ASSERT_TRUE(RegWriteString(k, "x", "1"));
    QByteArrayList names;
    RegEnumSubKeys("HKLM\\Soft\\T", names);
    EXPECT_EQ(names, (QByteArrayList{"a", "b", "C"}));
    RegEnumSubKeys("HKLM\\None", names);
    EXPECT_TRUE(names.isEmpty());

    EXPECT_TRUE(RegRemoveKey("HKLM\\Soft\\A:B", false));
    EXPECT_FALSE(RegRemoveKey("HKLM\\Soft\\T", false)); // it has subkeys
    EXPECT_EQ(RegReadInteger("HKLM\\Soft\\T\\b\\deep", "x", 0), 0x31);
    EXPECT_TRUE(RegRemoveKey("HKLM\\Soft\\T\\", true));
    EXPECT_FALSE(store->KeyExists(HKEY_LOCAL_MACHINE, "Soft\\T\\b"));
    RegEnumSubKeys("HKLM\\Soft", names);
    EXPECT_TRUE(names.isEmpty());
    EXPECT_TRUE(RegRemoveKey("HKLM\\Soft", false)); // below a root the root is the parent
    RegEnumSubKeys("HKLM", names);
    EXPECT_TRUE(names.isEmpty());
}

TEST_F(Registry, RemovalOnNoStoreLeavesNoFile)
{
    EXPECT_FALSE(RegRemoveKey("HKLM\\Soft\\X", true));
    EXPECT_FALSE(RegRemoveValue("HKLM\\Soft", "v"));
    EXPECT_FALSE(QFileInfo::exists(store->FilePath()));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("data"))));
}

TEST_F(Registry, ReadsWhatAnInstallerWrote)
{
    WriteBytes(QStringLiteral("data/Uninstall/Registry.txt"),
               "; written elsewhere\n[HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs]\n"
               "4:02000000:C:\\Windows\\System32\\x.dll\n4:05000000:c:\\windows\\system32\\X.DLL\nnonsense\n"
               "[HKXX\\bad]\n4:01000000:lost\n[HKCU\\a%25b]\r\n1:4100:n\r\n");
    const QByteArray shared = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
    EXPECT_EQ(RegReadInteger(shared, "c:\\windows\\system32\\x.dll", 0), 2);
    EXPECT_EQ(RegReadInteger("HKCU\\A%B", "n", 0), 0x41);
    QByteArrayList names;
    RegEnumSubKeys("HKLM\\Software\\Microsoft", names);
    EXPECT_EQ(names, QByteArrayList{"Windows"});
    quint32 size = 0;
    EXPECT_TRUE(RegReadValue("HKCU\\a%b", "n", nullptr, size));
    EXPECT_EQ(size, 2u);
    char one = 0;
    size = 1;
    EXPECT_FALSE(RegReadValue("HKCU\\a%b", "n", &one, size));
    EXPECT_EQ(size, 2u);
}
