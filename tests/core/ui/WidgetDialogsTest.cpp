#include "support/TestSupport.h"

#include "core/ui/ElidedLabel.h"
#include "core/ProgramIcon.h"
#include "core/ui/WidgetDialogs.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {
// A name of the length the files allow, without a blank to wrap at.
const QString LONG_NAME = QString("Einwahlname").repeated(22);

// The program's icon in the title bar, also where no window is active to lend it its own.
bool showsProgramIcon(const QWidget& box)
{
    return box.windowIcon().pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32) ==
           DrawProgramIcon(32).convertToFormat(QImage::Format_ARGB32);
}
} // namespace

TEST(WidgetDialogsTest, BoxesCarryTheirAnswersAndWrapLongNames)
{
    struct Case {
        int style;
        QStringList texts;
        QList<int> answers;
    } cases[] = {
        {vbOKOnly, {"OK"}, {vbOK}},
        {vbOKCancel, {"OK", "Abbrechen"}, {vbOK, vbCancel}},
        {vbAbortRetryIgnore, {"Abbrechen", "Wiederholen", "Ignorieren"}, {vbAbort, vbRetry, vbIgnore}},
        {vbYesNoCancel, {"Ja", "Nein", "Abbrechen"}, {vbYes, vbNo, vbCancel}},
        {vbYesNo + vbQuestion, {"Ja", "Nein"}, {vbYes, vbNo}},
        {vbRetryCancel, {"Wiederholen", "Abbrechen"}, {vbRetry, vbCancel}},
    };
    for (const Case& c : cases) {
        const auto box = NewMessageBox({QStringLiteral("Frage"), c.style, QStringLiteral("Zumbrel")});
        QStringList texts;
        QList<int> answers;
        for (QAbstractButton* b : box->buttons()) {
            texts << b->text();
            answers << b->property("answer").toInt();
        }
        // the box orders its buttons by their roles; each keeps its own answer
        for (int i = 0; i < c.texts.size(); ++i)
            EXPECT_EQ(answers.value(texts.indexOf(c.texts[i]), -1), c.answers[i]);
        EXPECT_EQ(texts.size(), c.texts.size());
        EXPECT_TRUE(showsProgramIcon(*box)) << c.style;
    }

    // ordinary words stay as they are; a name wider than any word may wrap within itself
    const QString text = "Der Drucker \"" + LONG_NAME + "\" hat den Ausdruck nicht angenommen.";
    const auto box = NewMessageBox({text, vbExclamation, QStringLiteral("Zumbrel")});
    EXPECT_TRUE(box->text().startsWith("Der Drucker \"\u200BE\u200Bi\u200Bn"));
    EXPECT_TRUE(box->text().endsWith("e\u200B\"\u200B hat den Ausdruck nicht angenommen."));
    EXPECT_EQ(QString(box->text()).remove(QChar(0x200B)), text);
    EXPECT_GT(box->text().count(QChar(0x200B)), 200);

    const auto input = NewInputBox({"Bitte geben Sie das Passwort für die DFÜ Verbindung '" + LONG_NAME + "' ein.",
                                    QStringLiteral("Zumbrel"), QStringLiteral("x"), true});
    EXPECT_EQ(input->text->echoMode(), QLineEdit::Password);
    EXPECT_EQ(input->text->text(), "x");
    EXPECT_EQ(input->ok->text(), "OK");
    EXPECT_EQ(input->cancel->text(), "Abbrechen");
    EXPECT_TRUE(showsProgramIcon(*input));
    input->adjustSize();
    EXPECT_LE(input->width(), input->fontMetrics().averageCharWidth() * 60);
    EXPECT_GT(input->prompt->shownLines().size(), 3);
}
