#include "support/TestSupport.h"

#include "core/ui/ElidedLabel.h"

#include <QPixmap>

namespace {
// A name of the length the files allow, without a blank to wrap at.
const QString LONG_NAME = QString("Einwahlname").repeated(22);

// The label as shown: laid out at a width, painted once.
QStringList shown(ElidedLabel& label, int width, bool* elided = nullptr)
{
    label.resize(width, label.heightForWidth(width) > 0 ? label.heightForWidth(width) : label.sizeHint().height());
    QPixmap canvas(label.size());
    label.render(&canvas);
    return label.shownLines(elided);
}
} // namespace

TEST(ElidedLabelTest, ShowsWhatFitsAndKeepsTheWholeText)
{
    const QString fits = QStringLiteral("Aktiver Benutzer: Anna");
    const QString twoLines = QStringLiteral("unbekannt (keine Tarife zugewiesen)");
    struct Case {
        QString text;
        int lines;
        int widthInCharacters; // of the label, in average characters
        int shownLines;
        bool elided;
    } cases[] = {
        {fits, 1, 40, 1, false},                    // fits: shown as it is
        {LONG_NAME, 1, 20, 1, true},                // one line: the start and "…"
        {twoLines, 2, 22, 2, false},                // wraps at the blank
        {LONG_NAME + " (0,019 €)", 2, 20, 2, true}, // a long name breaks within itself, the second line ends in "…"
        {LONG_NAME, 0, 20, 0, false},               // as many lines as it needs
    };
    for (const Case& c : cases) {
        ElidedLabel label(c.text, nullptr, c.lines);
        const int width = label.fontMetrics().averageCharWidth() * c.widthInCharacters;
        bool elided = false;
        const QStringList lines = shown(label, width, &elided);
        SCOPED_TRACE(c.text.left(30).toStdString());
        EXPECT_EQ(label.text(), c.text);
        EXPECT_EQ(elided, c.elided);
        if (c.shownLines > 0) {
            EXPECT_EQ(lines.size(), c.shownLines);
        } else {
            EXPECT_GT(lines.size(), 5);
        }
        for (const QString& line : lines)
            EXPECT_LE(label.fontMetrics().horizontalAdvance(line), width);
        if (c.elided) {
            EXPECT_TRUE(lines.last().endsWith(QChar(0x2026)));
        } else {
            EXPECT_EQ(lines.join(QString()).remove(' '), QString(c.text).remove(' '));
        }
        // the whole name stays readable as the tool tip where it is cut
        EXPECT_EQ(label.toolTip(), c.elided ? c.text : QString());
        // a long name asks for no more room than a name of ordinary length
        EXPECT_LE(label.sizeHint().width(), label.fontMetrics().averageCharWidth() * 20 + 2);
    }
}
