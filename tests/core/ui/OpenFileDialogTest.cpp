#include "support/TestSupport.h"

#include "core/Globals.h"
#include "core/ui/OpenFileDialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTimer>

namespace {

class OpenFileDialogTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        SetDialogHandler(&dialogs);
    }
};

TEST_F(OpenFileDialogTest, AnswerSplitsIntoFolderAndNames)
{
    QStringList many;
    for (int i = 1; i <= 201; ++i)
        many << QString("/opt/x/f%1").arg(i);
    struct Case {
        const char* what;
        QStringList paths;
        int count;
        QString first;
        QString folder;
        bool cancelled;
    };
    const Case cases[] = {
        {"one file: folder with its slash", {"/opt/x/a"}, 1, "a", "/opt/x/", false},
        {"several: folder without", {"/opt/x/a", "/opt/x/b", "/opt/x/c"}, 3, "a", "/opt/x", false},
        {"cancel", {}, 0, "", "", true},
        {"one file at the root", {"/a"}, 1, "a", "/", false},
        {"200 accepted", many.mid(0, 200), 200, "f1", "/opt/x", false},
        {"201 as cancel", many, 0, "", "", true},
    };
    for (const Case& c : cases) {
        dialogs.answerFiles(c.paths);
        const OpenFileResult r = ShowOpenFileDialog(nullptr, false);
        EXPECT_EQ(r.count, c.count) << c.what;
        EXPECT_EQ(r.files.size(), c.count) << c.what;
        EXPECT_EQ(r.files.value(0), c.first) << c.what;
        EXPECT_EQ(r.folder, c.folder) << c.what;
        EXPECT_EQ(r.cancelled, c.cancelled) << c.what;
    }
    const OpenFileResult three = SplitOpenFileAnswer({"/opt/x/a", "/opt/x/b", "/opt/x/c"});
    EXPECT_EQ(three.files, QStringList({"a", "b", "c"}));
}

TEST_F(OpenFileDialogTest, RequestCarriesTheDescriptionAndTheLastAnswer)
{
    G_OFN.filter = QStringList{"Programme", "*.exe;*.com", "Alle Dateien", "*.*"};
    G_OFN.initialDir = "/opt";
    G_OFN.title = "Programm wählen";
    QWidget owner;
    dialogs.answerFiles({"/opt/x/a"});
    ShowOpenFileDialog(&owner, true);
    dialogs.answerFiles({});
    ShowOpenFileDialog(nullptr, false); // Cancel keeps the last answer
    dialogs.answerFiles({"/opt/y/a", "/opt/y/b"});
    ShowOpenFileDialog(nullptr, false);
    dialogs.answerFiles({});
    ShowOpenFileDialog(nullptr, false);

    ASSERT_EQ(dialogs.fileRequests.size(), 4);
    const OpenFileRequest& r = dialogs.fileRequests[0];
    EXPECT_EQ(r.owner, &owner);
    EXPECT_TRUE(r.centreOnOwner);
    EXPECT_EQ(r.title, "Programm wählen");
    EXPECT_EQ(r.initialFolder, "/opt");
    EXPECT_EQ(r.initialFile, "");
    ASSERT_EQ(r.filters.size(), 2);
    EXPECT_EQ(r.filters[1].description, "Alle Dateien");
    EXPECT_EQ(r.filters[1].pattern, "*.*");
    EXPECT_EQ(dialogs.fileRequests[1].initialFile, "/opt/x/a");
    EXPECT_FALSE(dialogs.fileRequests[1].centreOnOwner);
    EXPECT_EQ(dialogs.fileRequests[2].initialFile, "/opt/x/a");
    EXPECT_EQ(dialogs.fileRequests[3].initialFile, "/opt/y");
}

TEST_F(OpenFileDialogTest, CentringRoundsHalvesToEven)
{
    struct Case {
        QRect outer;
        QSize inner;
        QPoint at;
    };
    const Case cases[] = {
        {{0, 0, 1024, 768}, {501, 301}, {262, 234}}, // 261.5, 233.5
        {{10, 0, 100, 100}, {51, 51}, {34, 24}},     // 34.5, 24.5
        {{0, 0, 100, 100}, {200, 100}, {-50, 0}},    // larger than its owner
    };
    for (const Case& c : cases)
        EXPECT_EQ(CentredPosition(c.outer, c.inner), c.at);
}

TEST_F(OpenFileDialogTest, RealDialogOpensCentredOnItsOwnerWithTheFilters)
{
    writeFile("Programme/a.exe", "x");
    writeFile("Programme/b.com", "x");
    QWidget owner;
    owner.setGeometry(40, 60, 700, 500);
    owner.show();
    OpenFileRequest r;
    r.owner = &owner;
    r.centreOnOwner = true;
    r.initialFile = path("Programme/a.exe");
    r.filters = {{"Programme", "*.exe;*.com"}};
    QStringList seen;
    QPoint centreOffset;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        seen = d->nameFilters();
        seen << d->windowTitle() << d->selectedFiles();
        centreOffset = d->frameGeometry().center() - owner.frameGeometry().center();
        d->selectFile("\"a.exe\" \"b.com\"");
        static_cast<QDialog*>(d)->accept();
    });
    const QStringList answer = RunOpenFileDialog(r);
    EXPECT_EQ(seen, QStringList({"Programme (*.exe *.com)", "Öffnen", path("Programme/a.exe")}));
    EXPECT_LE(centreOffset.manhattanLength(), 2);
    EXPECT_EQ(answer, QStringList({path("Programme/a.exe"), path("Programme/b.com")}));
}

} // namespace
