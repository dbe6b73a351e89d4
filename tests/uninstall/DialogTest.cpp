#include "RunFixture.h"

#include "DelSharedDialog.h"
#include "UninstallDialog.h"
#include "UninstallTexts.h"
#include "znStrUtils.h"
#include "znUtils.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QtTest/QTest>

namespace {

bool HasRed(const QImage& Image)
{
    for (int y = 0; y < Image.height(); ++y) {
        for (int x = 0; x < Image.width(); ++x) {
            const QColor c = Image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60) return true;
        }
    }
    return false;
}

} // namespace

TEST_F(RunTest, ProgressDialogClosesOnlyAtTheEnd)
{
    WriteBytes(QStringLiteral("app/wait.sh"), "");
    WriteLog({"[PreRunApp]", "1=wait.sh", "[Strings]", "23=Schlie\xDF" "en", "[Display]",
              "DialogTitleFont=Courier New,10,255,BIUS"});
    QSemaphore gate;
    sim->OnExec = [&gate](const QString&, const QString&) {
        gate.acquire();
        return 0;
    };
    boxAnswers = {IDYES};
    ASSERT_TRUE(Prepare());
    TUninstallDialog dialog(*run);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Vesko Uninstaller"));
    EXPECT_EQ(dialog.size(), QSize(480, 358));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialog.CloseButton->text(), QStringLiteral("Schließen"));
    EXPECT_FALSE(dialog.CloseButton->isEnabled());
    EXPECT_TRUE(HasRed(dialog.Header->pixmap().toImage()));

    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.close();
    QApplication::processEvents();
    EXPECT_TRUE(dialog.isVisible());

    gate.release();
    ASSERT_TRUE(WaitUntil([&] { return dialog.CloseButton->isEnabled(); }));
    QApplication::processEvents();
    EXPECT_EQ(dialog.List->count(), 1);
    EXPECT_EQ(dialog.List->currentRow(), 0);
    EXPECT_EQ(dialog.List->item(0)->text(), QStringLiteral("Application uninstall finished."));
    EXPECT_EQ(dialog.Bar->value(), 10);
    EXPECT_EQ(dialog.Bar->maximum(), 10);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
    dialog.WaitForWorker();
}

TEST(Header, WhiteWithStretchedBitmapAndTitle)
{
    const QSize size(482, 65);
    const TFontSpec font = ParseFontSpec("Arial,14,0,B");
    QImage plain = TUninstallDialog::RenderHeader(size, QStringLiteral("/nonexistent.bmp"), QString(), font, 1, 96)
                       .toImage();
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            ASSERT_EQ(plain.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
    }

    QTemporaryDir dir;
    QImage bitmap(2, 2, QImage::Format_RGB32);
    bitmap.fill(qRgb(0, 0, 255));
    const QString file = dir.path() + QStringLiteral("/Uninstall.bmp");
    ASSERT_TRUE(bitmap.save(file, "BMP"));
    const QImage header = TUninstallDialog::RenderHeader(size, file, QString(), font, 1, 96).toImage();
    EXPECT_EQ(header.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(header.pixel(size.width() - 2, size.height() - 2), qRgb(0, 0, 255));
    EXPECT_EQ(header.pixel(size.width() - 1, 5), qRgb(255, 255, 255));
    EXPECT_EQ(header.pixel(5, size.height() - 1), qRgb(255, 255, 255));

    // The title's top-left is at (12, 10): nothing of it above or left of that.
    const QImage titled =
        TUninstallDialog::RenderHeader(size, QString(), QStringLiteral("WWW"), font, 1, 96).toImage();
    bool inked = false;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (titled.pixel(x, y) == qRgb(255, 255, 255)) continue;
            inked = true;
            EXPECT_TRUE(x >= 12 && y >= 10) << x << "," << y;
        }
    }
    EXPECT_TRUE(inked);
}

TEST(SharedPrompt, ButtonsAndFields)
{
    QStringList texts;
    for (int id = 15; id <= 22; ++id)
        texts << AnsiToString(DefaultText(id)).replace(u'\r', u'\n');
    texts[1] = QStringLiteral("one\n\ntwo");
    const int results[] = {6, 10, 7, 9};
    for (int i = 0; i < 4; ++i) {
        TDelSharedDialog prompt(QStringLiteral("/usr/lib/vesko/a b.dll"), texts, nullptr);
        prompt.show();
        if (i == 0) {
            EXPECT_EQ(prompt.windowTitle(), QStringLiteral("Remove shared file?"));
            EXPECT_EQ(prompt.FileName->text(), QStringLiteral("a b.dll"));
            EXPECT_EQ(prompt.Folder->text(), QStringLiteral("/usr/lib/vesko/"));
            EXPECT_TRUE(prompt.FileName->isReadOnly());
            EXPECT_EQ(prompt.findChild<QLabel*>(QStringLiteral("101"))->text(), QStringLiteral("one\n\ntwo"));
            const QStringList captions = {prompt.Buttons[0]->text(), prompt.Buttons[1]->text(),
                                          prompt.Buttons[2]->text(), prompt.Buttons[3]->text()};
            EXPECT_EQ(captions, (QStringList{"Yes", "Yes to all", "No", "No to all"}));
        }
        prompt.Buttons[i]->click();
        EXPECT_EQ(prompt.result(), results[i]);
        EXPECT_FALSE(prompt.isVisible());
    }
    TDelSharedDialog prompt(QStringLiteral("a.dll"), texts, nullptr);
    prompt.show();
    EXPECT_EQ(prompt.Folder->text(), QString());
    QTest::keyClick(&prompt, Qt::Key_Escape);
    EXPECT_EQ(prompt.result(), 7);
}
