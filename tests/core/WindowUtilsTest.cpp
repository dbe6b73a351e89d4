#include "support/TestSupport.h"

#include "core/ui/WindowUtils.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>

TEST(WindowUtilsTest, ListsAndTextBoxesKeepTheWidthOfTheirWidestText)
{
    QComboBox list;
    list.addItem(QStringLiteral("Keine DFÜ Verbindung"));
    KeepListWidth(&list, QStringLiteral("Keine DFÜ Verbindung"));
    const int width = list.sizeHint().width();
    list.addItem(QString("Einwahlname").repeated(22));
    EXPECT_EQ(list.sizeHint().width(), width);
    EXPECT_EQ(list.minimumSizeHint().width(), width);

    // a text box as wide as its text shows it from its first character with the cursor at the end; one a
    // few pixels narrower scrolls it
    for (const int less : {0, 6}) {
        QLineEdit hour(QStringLiteral("99999"));
        hour.resize(TextBoxWidth(&hour, hour.text()) - less, hour.sizeHint().height());
        QPixmap canvas(hour.size());
        hour.render(&canvas); // the box scrolls its text as it paints
        EXPECT_EQ(hour.cursorPositionAt(QPoint(4, hour.height() / 2)) == 0, less == 0) << less;
    }
}
