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

namespace {
// Whether an include names a header of a ui/ folder or of the Qt modules only windows link: by module
// (<QtWidgets/QWidget>, <QtWidgets>) or by class (<QWidget>, found in the module's header folder).
bool IsWindowHeader(const QString& header)
{
    static const QRegularExpression windowFolder(QStringLiteral("(^|/)ui/"));
    static const QRegularExpression windowModule(QStringLiteral("^Qt(Widgets|PrintSupport|Multimedia)(/|$)"));
    if (header.contains(windowFolder) || header.contains(windowModule)) return true;
    const QString headers = QLibraryInfo::path(QLibraryInfo::HeadersPath);
    for (const char* module : {"/QtWidgets/", "/QtPrintSupport/", "/QtMultimedia/"})
        if (!header.contains(QLatin1Char('/')) && QFileInfo::exists(headers + QLatin1String(module) + header))
            return true;
    return false;
}
} // namespace

// Every form of include that brings window code into a logic file, and a few that do not.
TEST(WindowUtilsTest, WindowHeadersAreRecognisedInEveryIncludeForm)
{
    const struct {
        const char* header;
        bool window;
    } cases[] = {
        {"QWidget", true},
        {"QtWidgets/QWidget", true},
        {"QtWidgets", true},
        {"QtWidgets/qwidget.h", true},
        {"QPrinter", true},
        {"QtPrintSupport/QPrinter", true},
        {"QtPrintSupport", true},
        {"QSoundEffect", true},
        {"QtMultimedia/QSoundEffect", true},
        {"core/ui/Status.h", true},
        {"recording/ui/Form1.h", true},
        {"ui/Form1.h", true},
        {"QString", false},
        {"QGuiApplication", false},
        {"QtGui/QImage", false},
        {"QtNetwork/QTcpSocket", false},
        {"core/Dialing.h", false},
        {"recording/guide.h", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsWindowHeader(QLatin1String(c.header)), c.window) << c.header;
}

// The logic asks the windows through functions it is given: no logic file includes a header of a ui/ folder
// or of Qt's widgets, print support or multimedia. The executables' entry points stand outside both layers.
TEST(WindowUtilsTest, LogicIncludesNoWindowCode)
{
    const QString headers = QLibraryInfo::path(QLibraryInfo::HeadersPath);
    for (const char* module : {"/QtWidgets/QWidget", "/QtPrintSupport/QPrinter", "/QtMultimedia/QSoundEffect"})
        ASSERT_TRUE(QFileInfo::exists(headers + QLatin1String(module))) << module;
    const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])"),
                                     QRegularExpression::MultilineOption);
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
                if (IsWindowHeader(header)) found << file + QStringLiteral(": ") + header;
            }
        }
    }
    EXPECT_EQ(found, QStringList());
}
