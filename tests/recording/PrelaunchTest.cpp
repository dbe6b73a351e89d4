#include "core/Globals.h"
#include "core/ui/WindowUtils.h"
#include "recording/Form1.h"
#include "recording/Prelaunch.h"
#include "support/TestSupport.h"

#include <QDir>

class PrelaunchTest : public ProgramTest {};

TEST_F(PrelaunchTest, CurrencyTable)
{
    const struct { double index; const char* symbol; } cases[] = {
        {0, "€"}, {1, "sFr"}, {3, "£"}, {11, "chK"}, {12, "€"}, {-1, "€"}, {1.5, "€"},
    };
    for (const auto& c : cases) {
        SetCurrency(c.index);
        EXPECT_EQ(G_Currency, QString::fromUtf8(c.symbol)) << c.index;
    }
}

TEST_F(PrelaunchTest, OptionsFile)
{
    const struct { const char* file; const char* currency; bool same, tray, minimized, dialer; } cases[] = {
        {" 3\r\n 1\r\n 0\r\n 1\r\n 1\r\n 1\r\n", "£", true, false, true, true},
        {" 12\r\n 2\r\n\r\n 0\r\n 1\r\n 0\r\n", "€", false, false, false, false},
        {"-1\r\n", "€", false, false, false, false},
        {"Euro\r\n 0\r\n 1\r\n", "€", false, true, false, false},
        {"\r\n", "€", false, false, false, false},
    };
    for (const auto& c : cases) {
        ResetGlobals();
        writeFile("Config/Options.cfg", c.file);
        LoadOptions();
        EXPECT_EQ(G_Currency, QString::fromUtf8(c.currency)) << c.file;
        EXPECT_EQ(G_SameProgramsForAll, c.same) << c.file;
        EXPECT_EQ(G_TrayWhenMinimized, c.tray) << c.file;
        EXPECT_EQ(G_StartMinimized, c.minimized) << c.file;
        EXPECT_EQ(G_DialerProtection, c.dialer) << c.file;
    }
    ResetGlobals();
    QFile::remove(path("Config/Options.cfg"));
    LoadOptions();
    EXPECT_EQ(G_Currency, "€");
}

TEST_F(PrelaunchTest, SecondStartShowsMessageAndTouchesNothing)
{
    const QString lockPath = path("instance.lock");
    InstanceLock first(lockPath);
    ASSERT_TRUE(first.tryLock());
    writeFile("Config/Options.cfg", " 3\r\n");
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    InstanceLock second(lockPath);
    EXPECT_EQ(Prelaunch_Form_Load(second), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, "Zumbrel wurde bereits gestartet.");
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbInformation);
    EXPECT_EQ(dialogs.messages[0].title, "Zumbrel");
    EXPECT_EQ(G_Currency, ""); // options not read
    EXPECT_FALSE(Form1::exists());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_EQ(readFile("Config/Options.cfg"), " 3\r\n");
}

TEST_F(PrelaunchTest, FirstStartLoadsOptionsThenOpensTheMainWindow)
{
    writeFile("Config/Options.cfg", " 3\r\n 0\r\n 0\r\n 1\r\n");
    InstanceLock lock(path("instance.lock"));
    Form1* form = Prelaunch_Form_Load(lock);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(G_Currency, "£");
    EXPECT_TRUE(IsFormLoaded("Form1"));
    EXPECT_FALSE(IsFormLoaded("form1"));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    delete form;
    EXPECT_FALSE(IsFormLoaded("Form1"));
}
