// Every window and dialog of Zumbrel, opened offscreen: with ordinary data each caption and each field of a
// known largest content shows its whole text; with the longest names the files hold no window grows past
// 1024 x 768, and data texts elide or wrap inside their widget.
#include "analysis/ui/Printing.h"
#include "core/Dialing.h"
#include "core/Globals.h"
#include "core/SystemUtils.h"
#include "core/ui/ElidedLabel.h"
#include "core/ui/Status.h"
#include "core/ui/WidgetDialogs.h"
#include "recording/ConnectionRecord.h"
#include "recording/ui/Connection.h"
#include "recording/ui/Form1.h"
#include "recording/ui/SideWindows.h"
#include "recording/ui/SmallWindow.h"
#include "records/ui/Definiert.h"
#include "records/ui/Difference.h"
#include "records/ui/Export.h"
#include "records/ui/List.h"
#include "records/ui/NewConnection.h"
#include "support/TestSupport.h"
#include "support/ui/SimWindowPlatform.h"
#include "tariffs/TarifFile.h"
#include "tariffs/ui/Autoupdate.h"
#include "tariffs/ui/Tarifdaten.h"
#include "tariffs/ui/Tarife.h"
#include "users/DialUpFiles.h"
#include "users/ProgramOptions.h"
#include "users/UserRecord.h"
#include "users/ui/Login.h"
#include "users/ui/User.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {
const QSize LARGEST_WINDOW(1024, 768);

// Deliberate exceptions: a widget (by object name, else by its text) of a window that is not checked, and why.
struct Exception {
    const char* window;
    const char* widget;
    const char* reason;
};
const Exception EXCEPTIONS[] = {
    {"Printing", "Shape1_0", "a background panel of the design, reaching past the window's top left; no text"},
    {"Printing", "Shape1_1", "a background strip of the design, reaching past the window's bottom right; no text"},
};

// The widest text a field can hold, where its length limit alone does not tell it.
struct WidestText {
    const char* window;
    const char* field;
    const char* text;
};
const WidestText WIDEST_TEXTS[] = {
    {"NewConnection", "Text1_0", "00.00.0000"},
    {"NewConnection", "Text1_1", "00:00:00"},
    {"ChangeConnection", "Text1_0", "00.00.0000"},
    {"ChangeConnection", "Text1_1", "00:00:00"},
    // an hour of the zone fields; a longer number is refused when the field is left, but shows whole
    {"NewTarif", "Text1_7", "99999"},
    {"NewTarif", "Text1_8", "99999"},
    {"ChangeTarif", "Text1_7", "99999"},
    {"ChangeTarif", "Text1_8", "99999"},
};

QString withoutMnemonic(const QString& text)
{
    QString shown;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

// Checks one open window and collects what does not show whole.
class FitCheck {
public:
    FitCheck(QString name, bool longData) : m_name(std::move(name)), m_long(longData) {}

    QStringList problems;

    void window(QWidget* top)
    {
        if (top->width() > LARGEST_WINDOW.width() || top->height() > LARGEST_WINDOW.height())
            problem(top, QString("is %1 x %2 pixels").arg(top->width()).arg(top->height()));
        walk(top);
    }

private:
    void walk(QWidget* parent)
    {
        for (QObject* child : parent->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (!w || w->isWindow() || !w->isVisible() || excepted(w)) continue;
            if (!parent->rect().contains(w->geometry()))
                problem(w, QString("lies at %1,%2 %3 x %4, outside its parent's %5 x %6")
                               .arg(w->x())
                               .arg(w->y())
                               .arg(w->width())
                               .arg(w->height())
                               .arg(parent->width())
                               .arg(parent->height()));
            if (auto* label = qobject_cast<QLabel*>(w))
                this->label(label);
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                this->button(button);
            else if (auto* box = qobject_cast<QGroupBox*>(w))
                groupBox(box);
            else if (auto* edit = qobject_cast<QLineEdit*>(w))
                lineEdit(edit, widestTexts(edit));
            else if (auto* combo = qobject_cast<QComboBox*>(w))
                comboBox(combo);
            // the inside of lists, text boxes, spin boxes and menus scrolls or is Qt's own
            if (qobject_cast<QAbstractScrollArea*>(w) || qobject_cast<QComboBox*>(w) ||
                qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QMenu*>(w))
                continue;
            walk(w);
        }
    }

    bool excepted(const QWidget* w) const
    {
        for (const Exception& e : EXCEPTIONS) {
            if (m_name != QLatin1String(e.window)) continue;
            if (w->objectName() == QLatin1String(e.widget)) return true;
            if (auto* label = qobject_cast<const QLabel*>(w); label && label->text() == QString::fromUtf8(e.widget))
                return true;
        }
        return false;
    }

    void problem(const QWidget* w, const QString& what)
    {
        QString text;
        if (auto* label = qobject_cast<const QLabel*>(w))
            text = label->text();
        else if (auto* button = qobject_cast<const QAbstractButton*>(w))
            text = button->text();
        else if (auto* edit = qobject_cast<const QLineEdit*>(w))
            text = edit->text();
        else if (auto* combo = qobject_cast<const QComboBox*>(w))
            text = combo->currentText();
        if (text.size() > 50) text = text.left(47) + "...";
        problems
            << QString("%1: %2 %3 \"%4\" %5").arg(m_name, w->metaObject()->className(), w->objectName(), text, what);
    }

    void label(QLabel* l)
    {
        const QString text = l->buddy() ? withoutMnemonic(l->text()) : l->text();
        if (text.isEmpty() || !l->pixmap().isNull()) return;
        QRect room = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
        const QFontMetrics fm = l->fontMetrics();
        int indent = l->indent();
        if (indent < 0 && l->frameWidth()) indent = fm.horizontalAdvance(QLatin1Char('x')) / 2 - l->margin();
        if (indent > 0) {
            if (l->alignment() & Qt::AlignLeft) room.setLeft(room.left() + indent);
            if (l->alignment() & Qt::AlignRight) room.setRight(room.right() - indent);
        }
        const bool rich =
            l->textFormat() == Qt::RichText || (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
        if (auto* elided = qobject_cast<ElidedLabel*>(l)) {
            bool cut = false;
            const QStringList lines = elided->shownLines(&cut);
            if (cut && !m_long) problem(l, QString("ends in \"…\" in %1 pixels").arg(room.width()));
            for (const QString& line : lines)
                if (fm.horizontalAdvance(line) > room.width())
                    problem(l, QString("shows \"%1\" in %2 pixels").arg(line).arg(room.width()));
            const int need = elided->hasHeightForWidth()
                                 ? elided->heightForWidth(l->width()) - l->height() + room.height()
                                 : fm.height();
            if (lines.isEmpty() || need > room.height())
                problem(l, QString("shows %1 lines in a height of %2").arg(lines.size()).arg(room.height()));
            return;
        }
        if (l->wordWrap()) {
            const int need = l->heightForWidth(l->width());
            if (need > l->height())
                problem(l, QString("wraps to %1 pixels in a height of %2").arg(need).arg(l->height()));
            // a wrapped label is at least as wide as its longest word
            if (l->minimumSizeHint().width() > l->width())
                problem(l, QString("holds a word of %1 pixels in a width of %2")
                               .arg(l->minimumSizeHint().width())
                               .arg(l->width()));
            return;
        }
        QSize need;
        if (rich) {
            QTextDocument doc;
            doc.setDefaultFont(l->font());
            doc.setDocumentMargin(0);
            doc.setHtml(l->text());
            need = QSize(qCeil(doc.idealWidth()), qCeil(doc.size().height()));
        } else {
            need = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, text).size();
        }
        if (need.width() > room.width() || need.height() > room.height())
            problem(l, QString("needs %1 x %2 pixels and has %3 x %4")
                           .arg(need.width())
                           .arg(need.height())
                           .arg(room.width())
                           .arg(room.height()));
    }

    void button(QAbstractButton* b)
    {
        const QString text = withoutMnemonic(b->text());
        if (text.isEmpty()) return;
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        opt.icon = b->icon();
        opt.iconSize = b->iconSize();
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        if (qobject_cast<QCheckBox*>(b)) {
            contents = QStyle::SE_CheckBoxContents;
        } else if (qobject_cast<QRadioButton*>(b)) {
            contents = QStyle::SE_RadioButtonContents;
        } else if (auto* push = qobject_cast<QPushButton*>(b)) {
            if (push->autoDefault()) opt.features |= QStyleOptionButton::AutoDefaultButton;
            if (push->isDefault()) opt.features |= QStyleOptionButton::DefaultButton;
            if (push->isFlat()) opt.features |= QStyleOptionButton::Flat;
        } else {
            // a tool button asks for its text, a blank either side of it and the style's frame
            const int need = b->sizeHint().width() - 2 * b->fontMetrics().horizontalAdvance(QLatin1Char(' '));
            if (need > b->width()) problem(b, QString("needs %1 pixels and has %2").arg(need).arg(b->width()));
            return;
        }
        const QRect room = b->style()->subElementRect(contents, &opt, b);
        const QFontMetrics fm = b->fontMetrics();
        const int need = fm.horizontalAdvance(text) + (b->icon().isNull() ? 0 : b->iconSize().width() + 4);
        if (need > room.width() || fm.height() > room.height())
            problem(b, QString("needs %1 x %2 pixels and has %3 x %4")
                           .arg(need)
                           .arg(fm.height())
                           .arg(room.width())
                           .arg(room.height()));
    }

    void groupBox(QGroupBox* box)
    {
        if (box->title().isEmpty()) return;
        QStyleOptionGroupBox opt;
        opt.initFrom(box);
        opt.text = box->title();
        opt.textAlignment = box->alignment();
        opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        if (box->isCheckable()) opt.subControls |= QStyle::SC_GroupBoxCheckBox;
        const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
        if (!box->rect().contains(label)) problem(box, "has a title wider than its frame");
    }

    QStringList widestTexts(const QLineEdit* edit) const
    {
        if (m_long) return {};
        QStringList texts{edit->displayText()};
        for (const WidestText& w : WIDEST_TEXTS)
            if (m_name.endsWith(QLatin1String(w.window)) && edit->objectName() == QLatin1String(w.field))
                return texts << QString::fromUtf8(w.text);
        if (edit->maxLength() < 32767 && edit->echoMode() == QLineEdit::Normal)
            texts << QString(edit->maxLength(), QLatin1Char('0'));
        return texts;
    }

    // The width a line edit shows its text in without scrolling: the style's contents less the text
    // margins, the edit's own margin of 2 pixels on either side and the cursor.
    static int textRoom(const QLineEdit* edit)
    {
        QStyleOptionFrame opt;
        opt.initFrom(edit);
        opt.rect = edit->rect();
        opt.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit) : 0;
        opt.state |= QStyle::State_Sunken;
        const QRect r =
            edit->style()->subElementRect(QStyle::SE_LineEditContents, &opt, edit).marginsRemoved(edit->textMargins());
        return r.width() - 2 * 2 - 1;
    }

    void lineEdit(QLineEdit* edit, const QStringList& texts)
    {
        const int room = textRoom(edit);
        for (const QString& text : texts)
            if (edit->fontMetrics().horizontalAdvance(text) > room)
                problem(edit, QString("cannot show \"%1\" in %2 pixels").arg(text).arg(room));
    }

    void comboBox(QComboBox* combo)
    {
        if (m_long) return; // names longer than the box show their start
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        if (combo->isEditable()) {
            lineEdit(combo->lineEdit(), items);
            return;
        }
        QStyleOptionComboBox opt;
        opt.initFrom(combo);
        opt.editable = false;
        opt.frame = combo->hasFrame();
        opt.iconSize = combo->iconSize();
        const QRect field =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i) {
            const int icon = combo->itemIcon(i).isNull() ? 0 : combo->iconSize().width() + 4;
            const int need = combo->fontMetrics().horizontalAdvance(combo->itemText(i)) + icon;
            if (need > field.width() - 2)
                problem(combo, QString("cannot show item \"%1\" (%2 pixels) in %3")
                                   .arg(combo->itemText(i))
                                   .arg(need)
                                   .arg(field.width() - 2));
        }
    }

    QString m_name;
    bool m_long;
};

QString Long(const QString& word, int length)
{
    QString text;
    while (text.size() < length)
        text += word;
    return text.left(length);
}

// The names of one sample program folder.
struct Sample {
    QString provider, tariff;   // a hand-made tariff "<provider> - <tariff>.tel"
    QString provider2, tariff2; // a second one, with the longest tariff name
    QString user, entry, device, comment, program, printer;
};

Sample OrdinarySample()
{
    return {
        "Arcor",       "Tag", "Net", "Abend", "Anna", "T-Online", "/dev/ttyS0", "Abends im Hotel", "/usr/bin/firefox",
        "Laserdrucker"};
}

// 240 characters are what a name can have when it stands in a file name with its ending; 255 a comment.
Sample LongSample()
{
    return {Long("Anbieterlangname", 240),
            "Tag",
            "Net",
            Long("Tariflangname", 240),
            Long("Benutzerlangname", 240),
            Long("Einwahllangname", 240),
            "/dev/" + Long("geraetelangname", 123),
            Long("Kommentar mit vielen Worten ", 255),
            "/usr/bin/" + Long("programmlangname", 246),
            Long("Druckerlangname", 127)}; // a device and a print queue have shorter names
}

class WindowFitTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        SetEndProgramRoutine([] {});
        G_Currency = QStringLiteral("€");
    }
    void TearDown() override
    {
        for (const QPointer<QWidget>& w : opened)
            delete w.data();
        UnloadSmallWindow();
        UnloadAlert();
        delete ConStopWindow();
        if (Autoupdate* update = Autoupdate::instance()) delete update;
        delete Form1::instance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetEndProgramRoutine(nullptr);
        ProgramTest::TearDown();
    }

    void writeSample(const Sample& s)
    {
        for (auto [provider, name] : {std::pair{s.provider, s.tariff}, std::pair{s.provider2, s.tariff2}}) {
            TarifFile t = TarifFile::New(provider, name);
            t.zones = {{0, 24, 1.9f, false}, {0, 24, 1.5f, true}};
            ASSERT_TRUE(WriteTarifFile(t));
        }
        tariff = s.provider2 + " - " + s.tariff2 + ".tel";
        ASSERT_TRUE(CreateUserFiles(SUPERVISOR));
        ASSERT_TRUE(CreateUserFiles(s.user));
        sim.phoneBook.addEntry(s.entry);
        ASSERT_TRUE(SaveEntryTarif(s.entry, s.provider2, "M - " + s.tariff2));
        ASSERT_TRUE(WriteListPairs(ProgramListPath(QString()), {{s.program, true}}));
        ASSERT_TRUE(WriteListPairs(AllowListPath(), {{s.entry, true}}));
        const QStringList users{SUPERVISOR, s.user};
        const QStringList tariffs{s.provider + " - " + s.tariff + ".tel", tariff};
        for (int i = 0; i < 4; ++i) {
            ConnectionRecord r;
            r.startDate = QString("%1.01.2001").arg(10 + i);
            r.startTime = "20:15:00";
            r.duration = "01:02:03";
            r.cost = "1,23";
            r.units = "63";
            r.bytesIn = "1234567";
            r.bytesOut = "123456";
            r.bytesTotal = "1358023";
            r.connectionName = s.entry;
            r.tariff = tariffs[i % 2];
            r.user = users[i % 2];
            r.comment = s.comment;
            ASSERT_TRUE(WriteConnectionRecord(QString("%1012001-201500.con").arg(10 + i), r));
        }
        record = "13012001-201500.con";
        sim.printers.installed = {"PDF", s.printer};
        sim.printers.systemDefault = s.printer;
        sample = s;
    }

    // Shows a window and lets its layout and deferred loading run.
    static void settle(QWidget* w)
    {
        w->show();
        for (int i = 0; i < 3; ++i) {
            QEventLoop loop;
            QTimer::singleShot(1, &loop, &QEventLoop::quit);
            loop.exec();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        }
    }

    template <typename W> W* keep(W* w)
    {
        opened << w;
        return w;
    }

    // A dialog made, loaded and shown as its opener does it.
    template <typename W> QWidget* loaded(W* w)
    {
        keep(w)->Form_Load();
        settle(w);
        return w;
    }

    Form1* mainWindow()
    {
        if (!form) {
            form = Form1::instance();
            form->Form_Load();
            G_ActiveUser = sample.user;
            form->Tag = sample.user;
            form->lblStatus[2]->setText("Aktiver Benutzer: " + sample.user);
        }
        return form;
    }
    QWidget* page(const QString& name)
    {
        QWidget* page = mainWindow()->showPage(name);
        settle(form);
        return page;
    }
    List* listPage() { return qobject_cast<List*>(page("List")); }
    // The browser shows a tariff with its provider and name.
    void showTarif(Tarife* page, const QString& provider, const QString& name)
    {
        settle(form); // the tree is built once the page has shown
        for (QTreeWidgetItem* row : page->lstTarife->findItems(provider, Qt::MatchExactly)) {
            for (int i = 0; i < row->childCount(); ++i)
                if (row->child(i)->text(0) == name) page->lstTarife->setCurrentItem(row->child(i));
        }
        settle(form);
    }

    // The windows, each opened as the program opens it, by the name the failures give. Among them what was
    // seen cut or too large: the budget page's help text (Form1/Budget), the editing dialog's "Keine DFÜ
    // Verbindung" (ChangeConnection), the zone hours "99999" (NewTarif, ChangeTarif), the tariff editor with a
    // long provider in its list (NewTarif, long names), the new user's name box (InputBox/NewUser) and a long
    // provider on the tariff browser's page (Form1/Tarife, long names).
    struct Case {
        QString name;
        std::function<QWidget*()> open; // the window to check, open and laid out
    };
    QList<Case> cases()
    {
        QList<Case> list;
        for (const char* name : {"Overview", "List", "Tarife", "DialUp", "Budget", "User", "ConnectionCheck", "Options",
                                 "Chart", "Report"})
            list << Case{QString("Form1/%1").arg(name), [this, name] {
                             QWidget* p = page(name);
                             if (auto* tarife = qobject_cast<Tarife*>(p))
                                 showTarif(tarife, sample.provider, sample.tariff);
                             settle(form);
                             return form;
                         }};
        list << Case{"Form1/Tarife/Tarif", [this] {
                         showTarif(qobject_cast<Tarife*>(page("Tarife")), sample.provider2, sample.tariff2);
                         return form;
                     }};
        list << Case{"Form1/Connection", [this] {
                         mainWindow();
                         sim.phoneBook.addConnection(0x10, sample.entry).szDeviceName = sample.device;
                         G_Tariff = tariff;
                         G_DetectSource = 0;
                         form->StartConnection();
                         settle(form);
                         return form;
                     }};
        list << Case{"SmallWindow", [this] {
                         SmallWindow* w = ShowSmallWindow();
                         settle(w);
                         return w;
                     }};
        list << Case{"Login", [this] { return loaded(new Login([](const QString&) {}, sample.user)); }};
        list << Case{"NewTarif", [this] { return loaded(new Tarifdaten(Tarifdaten::NewTarif)); }};
        list << Case{"ChangeTarif", [this] {
                         auto* w = keep(new Tarifdaten(Tarifdaten::ChangeTarif));
                         w->Form_Load();
                         w->Tag = tariff;
                         w->comAnbieter->setEditText(sample.provider2);
                         w->Text1[0]->setText(sample.tariff2);
                         w->LoadTarif();
                         settle(w);
                         return w;
                     }};
        list << Case{"Autoupdate", [this] {
                         Autoupdate* w = Autoupdate::load();
                         w->List2->addItems({sample.provider + " - Tag.atl", "Net - " + sample.tariff2 + ".atl"});
                         settle(w);
                         return w;
                     }};
        list << Case{"Autoupdate/Download", [this] {
                         Autoupdate* w = Autoupdate::load();
                         qobject_cast<QStackedLayout*>(w->layout())->setCurrentWidget(w->Picture1);
                         w->Label4->setText("Aktuell: Net - " + sample.tariff2 + ".atl");
                         settle(w);
                         return w;
                     }};
        list << Case{"NewConnection", [this] { return loaded(new NewConnection); }};
        list << Case{"ChangeConnection", [this] { return loaded(new ChangeConnection(record)); }};
        list << Case{"Difference", [this] { return loaded(new Difference); }};
        list << Case{"Definiert", [this] { return loaded(new Definiert); }};
        list << Case{"Export", [this] {
                         auto* w = keep(new Export(*listPage()));
                         settle(w);
                         return w;
                     }};
        list << Case{"Printing", [this] { return loaded(new Printing(*listPage())); }};
        list << Case{"Status", [this] {
                         Status* w = StatusWindow();
                         keep(w);
                         w->OnRasDialEvent(RASCS_Authenticate);
                         settle(w);
                         return w;
                     }};
        list << Case{"ConStop", [] {
                         ConStop* w = ShowConStop();
                         settle(w);
                         return w;
                     }};
        list << Case{"Alert", [this] {
                         Alert* w = ShowAlert("Sie überschreiten nun Ihr definiertes Budget. Diese Warnung können Sie "
                                              "in den Budgeteinstellungen deaktivieren.");
                         settle(w);
                         return w;
                     }};
        // The message and input boxes as the program asks for them.
        list << Case{"MessageBox/Start", [this] {
                         return messageBox({"Zumbrel wurde bereits gestartet.", vbOKOnly + vbInformation, APP_TITLE});
                     }};
        list << Case{"MessageBox/Quit", [this] {
                         return messageBox({CANNOT_QUIT_MESSAGE, vbOKOnly + vbExclamation, APP_TITLE});
                     }};
        list << Case{"MessageBox/Printer", [this] {
                         return messageBox(
                             {QString("Der Drucker \"%1\" hat den Ausdruck nicht angenommen.").arg(sample.printer),
                              vbExclamation, APP_TITLE});
                     }};
        list << Case{"MessageBox/UserHelp", [this] {
                         qobject_cast<User*>(page("User"))->lblHilfe_Click();
                         return messageBox(dialogs.messages.last());
                     }};
        list << Case{"InputBox/NewUser", [this] {
                         dialogs.answerInput(QString());
                         NewUser();
                         return inputBox(dialogs.inputs.last());
                     }};
        list << Case{"MessageBox/DialFailed", [this] {
                         return messageBox(
                             {QString("Die DFÜ Verbindung '%1' konnte nicht gewählt werden.").arg(sample.entry),
                              vbExclamation, APP_TITLE});
                     }};
        list << Case{
            "InputBox/DialPassword", [this] {
                return inputBox(
                    {QString("Bitte geben Sie das Passwort für die DFÜ Verbindung '%1' ein.").arg(sample.entry),
                     "Passwortabfrage", QString(), true});
            }};
        return list;
    }

    QWidget* messageBox(const MessageRequest& request)
    {
        QMessageBox* box = keep(NewMessageBox(request).release());
        settle(box);
        return box;
    }
    QWidget* inputBox(const InputRequest& request)
    {
        InputBoxDialog* box = keep(NewInputBox(request).release());
        settle(box);
        return box;
    }

    // Opens every window in turn on the sample and checks it; the failures name window and widget.
    QStringList checkEveryWindow(bool longData)
    {
        QStringList problems;
        for (const Case& c : cases()) {
            QWidget* window = c.open();
            if (!window) {
                problems << c.name + ": did not open";
                continue;
            }
            FitCheck check(c.name, longData);
            check.window(window);
            problems << check.problems;
        }
        return problems;
    }

    SimWindowPlatform sim;
    Sample sample;
    QString tariff; // the tariff file with the longer names
    QString record;
    Form1* form = nullptr;
    QList<QPointer<QWidget>> opened;
};
} // namespace

TEST_F(WindowFitTest, OrdinaryDataShowsEveryCaptionWhole)
{
    writeSample(OrdinarySample());
    EXPECT_EQ(checkEveryWindow(false), QStringList());
}

TEST_F(WindowFitTest, LongNamesKeepEveryWindowOnTheScreen)
{
    writeSample(LongSample());
    EXPECT_EQ(checkEveryWindow(true), QStringList());
}
