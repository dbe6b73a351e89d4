// Every window of the uninstaller shows its captions whole, and long texts (from the log, or a long file
// name) stay inside their controls and inside a 1,024 x 768 screen.
//
// Deliberate exceptions:
// - The progress lines are data of any length: a long one scrolls inside the list box.
// - The file name and folder fields are the template's read-only fields that scroll: a long name shows its
//   start.
// - The header title is drawn in the log's own face and size (DialogTitleFont): a size taller than the
//   template's header is the log's choice and is not checked.
// - A shared-file message beyond three quarters of the screen's height is cut at the bottom.
// - The window title bar belongs to the window manager, which elides a caption too long for it.
#include "RunFixture.h"

#include "DelSharedDialog.h"
#include "MessageBoxAnswerer.h"
#include "UninstallDialog.h"
#include "UninstallTexts.h"
#include "znRegIni.h"
#include "znStrUtils.h"
#include "znUtils.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

const QSize Screen(1024, 768);

// Words up to Length characters: a text that wraps.
QString Words(int Length)
{
    const QString words = QStringLiteral("Gemeinsam genutzte Komponente entfernen oder behalten? ");
    QString text;
    while (text.size() < Length)
        text += words;
    return text.left(Length).trimmed();
}

// The room inside a button's frame, where its caption is drawn.
QRect ButtonRoom(const QPushButton* Button)
{
    QStyleOptionButton option;
    option.initFrom(Button);
    option.text = Button->text();
    option.rect = Button->rect();
    if (Button->isDefault() || Button->autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
    return Button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, Button);
}

QSize TextSize(const QWidget* Widget, const QString& Text)
{
    return Widget->fontMetrics().boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft, Text).size();
}

bool Fits(const QWidget* Control)
{
    if (const auto* button = qobject_cast<const QPushButton*>(Control)) {
        const QRect room = ButtonRoom(button);
        const QSize text = TextSize(button, button->text());
        return text.width() <= room.width() && text.height() <= room.height();
    }
    const auto* label = qobject_cast<const QLabel*>(Control);
    if (!label) return true;
    if (label->wordWrap()) return label->heightForWidth(label->width()) <= label->height();
    const QSize text = TextSize(label, label->text());
    return text.width() <= label->contentsRect().width() && text.height() <= label->contentsRect().height();
}

QString Caption(const QWidget* Control)
{
    if (const auto* button = qobject_cast<const QPushButton*>(Control)) return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(Control)) return label->text();
    return {};
}

// Every label and button of the window shows its caption inside its room. With Whole, the caption is
// the whole text; otherwise a caption cut short ends in an ellipsis and gives the whole text as its tip.
void ExpectCaptionsFit(const QWidget* Window, const QStringList& Texts, bool Whole)
{
    int checked = 0;
    for (const QWidget* control : Window->findChildren<QWidget*>()) {
        const QString caption = Caption(control);
        if (caption.isEmpty()) continue;
        ++checked;
        SCOPED_TRACE(control->objectName().toStdString() + " " + caption.left(40).toStdString());
        EXPECT_TRUE(control->isVisibleTo(Window));
        EXPECT_TRUE(Fits(control)) << control->width() << "x" << control->height();
        if (Whole || Texts.contains(caption)) {
            EXPECT_TRUE(Texts.contains(caption));
        } else {
            EXPECT_TRUE(caption.endsWith(QChar(0x2026)));
            EXPECT_TRUE(Texts.contains(control->toolTip()));
            EXPECT_TRUE(control->toolTip().startsWith(caption.chopped(1)));
        }
    }
    EXPECT_GT(checked, 0);
}

void ExpectOnScreen(const QWidget* Window)
{
    EXPECT_LE(Window->frameGeometry().width(), Screen.width());
    EXPECT_LE(Window->frameGeometry().height(), Screen.height());
}

QStringList PromptTexts()
{
    QStringList texts;
    for (int id = 15; id <= 22; ++id)
        texts << AnsiToString(DefaultText(id)).replace(u'\r', u'\n');
    return texts;
}

// The rightmost column with ink in it; -1 for none.
int RightmostInk(const QImage& Header)
{
    int rightmost = -1;
    for (int y = 0; y < Header.height(); ++y) {
        for (int x = 0; x < Header.width(); ++x)
            if (Header.pixel(x, y) != qRgb(255, 255, 255)) rightmost = qMax(rightmost, x);
    }
    return rightmost;
}

} // namespace

TEST(Fit, SharedFilePromptShowsItsTextsWhole)
{
    TDelSharedDialog prompt(QStringLiteral("/usr/lib/vesko/vbalGrid6.ocx"), PromptTexts(), nullptr);
    prompt.show();
    QStringList texts = PromptTexts();
    ExpectCaptionsFit(&prompt, texts, true);
    // a field's text lies inside its frame, two pixels from each side
    const int frame = prompt.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    for (const QLineEdit* field : {prompt.FileName, prompt.Folder})
        EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()), field->width() - 2 * frame - 4)
            << field->text().toStdString();
    ExpectOnScreen(&prompt);
}

TEST(Fit, SharedFilePromptKeepsLongTextsInside)
{
    QStringList texts;
    for (int id = 15; id <= 22; ++id)
        texts << Words(255);
    texts[1] = Words(900); // longer than the template's room: the dialog grows
    const QString file = QStringLiteral("/opt/") + QString(240, u'n') + QStringLiteral(".dll");
    TDelSharedDialog prompt(file, texts, nullptr);
    prompt.show();
    ExpectCaptionsFit(&prompt, texts, false);
    EXPECT_EQ(prompt.findChild<QLabel*>(QStringLiteral("101"))->text(), texts[1]);
    EXPECT_EQ(prompt.FileName->text(), QString(240, u'n') + QStringLiteral(".dll"));
    EXPECT_EQ(prompt.FileName->cursorPosition(), 0);
    ExpectOnScreen(&prompt);
}

TEST(Fit, QuestionBoxesAreWideEnoughForTheirCaption)
{
    const QString caption = QStringLiteral("Vesko Uninstaller");
    const QString question = AnsiToString(DefaultText(4));
    const QString missing = QStringLiteral("Installation log file /opt/Vesko/install.log not found!");
    const QString longPath =
        QStringLiteral("Installation log file /") + QString(240, u'p') + QStringLiteral(" not found!");
    const struct {
        QString Text;
        quint32 Flags;
        bool Whole;
    } cases[] = {
        {question, MB_ICONQUESTION | MB_YESNO, true}, {QStringLiteral("Weg?"), MB_ICONQUESTION | MB_YESNO, true},
        {missing, MB_ICONERROR | MB_OK, true},        {Words(255), MB_ICONQUESTION | MB_YESNO, false},
        {longPath, MB_ICONERROR | MB_OK, false},
    };
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text.left(40).toStdString());
        const std::unique_ptr<QMessageBox> box = MakeMessageBox(nullptr, caption, c.Text, c.Flags);
        box->show();
        QApplication::processEvents();
        // A title bar centres the caption, in a bold face, between the window's icon and three buttons of
        // about a line and a third each: the caption and the buttons' room on both sides.
        EXPECT_GE(box->width(), metrics.horizontalAdvance(caption) + 8 * metrics.height());
        for (const QPushButton* button : box->findChildren<QPushButton*>())
            EXPECT_TRUE(Fits(button)) << button->text().toStdString();
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), c.Text);
        EXPECT_LE(label->heightForWidth(label->width()), label->height());
        ExpectOnScreen(box.get());
    }
}

TEST_F(RunTest, ProgressDialogShowsItsTextsWholeAndKeepsLongOnesInside)
{
    for (const bool longTexts : {false, true}) {
        SCOPED_TRACE(longTexts ? "long" : "ordinary");
        QList<QByteArray> log = {"[CopyFiles]", "a.txt=1"};
        QStringList texts = {QStringLiteral("Close")};
        QString title = QStringLiteral("Uninstall application");
        if (longTexts) {
            title = Words(255);
            texts = {Words(250)};
            log += {"[Strings]", "1=" + title.toLatin1(), "23=" + texts[0].toLatin1()};
            for (int id = 5; id <= 14; ++id)
                log << QByteArray::number(id) + '=' + Words(255).toLatin1();
        }
        WriteBytes(QStringLiteral("app/a.txt"), "");
        WriteLog(log);
        FreeCachedIniFiles();
        boxAnswers = {IDYES};
        ASSERT_TRUE(Prepare());
        TUninstallDialog dialog(*run);
        dialog.show();
        ASSERT_TRUE(WaitUntil([&] { return dialog.CloseButton->isEnabled(); }));
        QApplication::processEvents();
        EXPECT_EQ(dialog.size(), QSize(480, 358));
        ExpectCaptionsFit(&dialog, texts, !longTexts);
        const QImage header = dialog.Header->pixmap().toImage();
        EXPECT_LT(RightmostInk(header), header.width() - 12);
        if (longTexts) {
            EXPECT_GT(dialog.List->horizontalScrollBar()->maximum(), 0);
        }
        dialog.done(1);
        dialog.WaitForWorker();
    }
}
