#include "support/TestSupport.h"

#include "core/ui/WindowUtils.h"

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPixmap>
#include <QRegularExpression>

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

// The logic asks the windows through functions it is given: no logic file includes a header of a ui/ folder
// or of Qt's widgets. The executables' entry points stand outside both layers.
TEST(WindowUtilsTest, LogicIncludesNoWindowCode)
{
    const QString widgets = QLibraryInfo::path(QLibraryInfo::HeadersPath) + QStringLiteral("/QtWidgets/");
    ASSERT_TRUE(QFileInfo::exists(widgets + QStringLiteral("QWidget")));
    const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])"),
                                     QRegularExpression::MultilineOption);
    const QRegularExpression windowFolder(QStringLiteral("(^|/)ui/"));
    const QDir source(QStringLiteral(ZUMBREL_SOURCE_DIR));
    QStringList found;
    for (const char* folder : {"core", "tariffs", "recording", "users", "records", "analysis"}) {
        QDirIterator it(source.filePath(QLatin1String(folder)), {QStringLiteral("*.h"), QStringLiteral("*.cpp")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = source.relativeFilePath(it.next());
            if (file.contains(QLatin1String("/ui/")) || file == QLatin1String("recording/main.cpp") ||
                file == QLatin1String("recording/IconMain.cpp"))
                continue;
            QFile text(source.filePath(file));
            ASSERT_TRUE(text.open(QIODevice::ReadOnly)) << file.toStdString();
            for (const QRegularExpressionMatch& m : include.globalMatch(QString::fromUtf8(text.readAll()))) {
                const QString header = m.captured(1);
                if (header.contains(windowFolder) || header.startsWith(QLatin1String("QtWidgets/")) ||
                    QFileInfo::exists(widgets + header))
                    found << file + QStringLiteral(": ") + header;
            }
        }
    }
    EXPECT_EQ(found, QStringList());
}
