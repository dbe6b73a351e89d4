#include "tariffs/ui/Autoupdate.h"

#include "core/Dialogs.h"
#include "core/InternetFunctions.h"
#include "core/ProgramFolder.h"
#include "core/ui/ElidedLabel.h"
#include "core/ui/ShutOut.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/Connection.h"
#include "recording/ui/Form1.h"
#include "tariffs/UpdateCheck.h"
#include "tariffs/ui/Tarife.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace {
QPointer<Autoupdate>& current()
{
    static QPointer<Autoupdate> window;
    return window;
}

Connection* counterPage()
{
    if (!IsFormLoaded(QStringLiteral("Connection")) || !Form1::exists()) return nullptr;
    return Form1::instance()->counterPage();
}

const QString INCOMPLETE_TEXT = QStringLiteral(
    "Nicht alle Tarife konnten heruntergeladen werden. Sie werden beim nächsten Update erneut angeboten.");
} // namespace

void UpdateProgress::setProgress(int done, int total)
{
    m_done = done;
    m_total = total;
    update();
}

int UpdateProgress::filledWidth() const { return m_total > 0 ? int(qint64(m_done) * width() / m_total) : 0; }

void UpdateProgress::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.fillRect(QRect(0, 0, filledWidth(), height()), QColor(0, 100, 160));
    painter.setPen(palette().mid().color());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

Autoupdate* Autoupdate::instance() { return current(); }

Autoupdate* Autoupdate::load()
{
    if (!current()) current() = new Autoupdate;
    return current();
}

Autoupdate::Autoupdate(QWidget* parent) : QDialog(parent)
{
    setObjectName("Autoupdate");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Neue Tarife gefunden"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    m_pages = new QStackedLayout(this);
    auto* main = new QWidget(this);
    auto* grid = new QGridLayout(main);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(12);
    Label1 = new QLabel(QStringLiteral("Tarifupdate"), main);
    QFont title = Label1->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.3);
    Label1->setFont(title);
    Label3 = new QLabel(
        QStringLiteral("Rechts sehen Sie eine Liste der neu hinzugekommenen Tarife seit dem letzten Update. Wählen "
                       "Sie die gewünschten Tarife (oder alle) aus und klicken Sie auf \"Jetzt herunterladen\" um das "
                       "Update durchzuführen. Ansonsten klicken Sie auf \"Diesmal nicht\" und sie werden beim "
                       "nächsten Update erneut darauf hingewiesen."),
        main);
    WrapLabel(Label3);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2 = new QLabel(QStringLiteral("Neue Tarife:"), main);
    List1 = new QListWidget(main);
    List1->hide();
    List2 = new QListWidget(main);
    List2->setObjectName("List2");
    List2->setWordWrap(true); // "<provider> - <tariff>.atl" is long: it wraps rather than scrolls
    List2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Command1[0] = new QPushButton(QStringLiteral("Jetzt &herunterladen"), main);
    Command1[1] = new QPushButton(QStringLiteral("Diesmal &nicht"), main);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label3, 1, 0, 2, 1);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(List2, 1, 1, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1[0]);
    buttons->addWidget(Command1[1]);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setColumnStretch(0, 5);
    grid->setColumnStretch(1, 6);
    grid->setRowStretch(2, 1);
    m_pages->addWidget(main);

    Picture1 = new QWidget(this);
    auto* progress = new QVBoxLayout(Picture1);
    progress->setContentsMargins(20, 20, 20, 20);
    Label5 = new QLabel(QStringLiteral("Lade Tarife herunter:"), Picture1);
    Label5->setFont(title);
    Label4 = new ElidedLabel(QStringLiteral("Aktuell:"), Picture1); // a long file name ends in "…"
    Picture2 = new UpdateProgress(Picture1);
    Picture2->setFixedHeight(20);
    Command2 = new QPushButton(QStringLiteral("&Abbrechen"), Picture1);
    progress->addWidget(Label5);
    progress->addStretch(1);
    progress->addWidget(Label4);
    progress->addWidget(Picture2);
    progress->addStretch(1);
    auto* cancel = new QHBoxLayout;
    cancel->addStretch(1);
    cancel->addWidget(Command2);
    progress->addLayout(cancel);
    m_pages->addWidget(Picture1);
    m_pages->setCurrentIndex(0);

    connect(Command1[0], &QPushButton::clicked, this, [this] { Command1_Click(0); });
    ShutOutDuring(Command1[0], Wait::Web);
    connect(Command1[1], &QPushButton::clicked, this, [this] { Command1_Click(1); });
    connect(Command2, &QPushButton::clicked, this, &Autoupdate::Command2_Click);
    setFixedSize(580, 280);
    RegisterForm(this);
}

bool Autoupdate::CheckForUpdates()
{
    // beside another wait for the web every server would count as unreachable
    if (WaitRunning(Wait::Web)) return false;
    // a window the counter page keeps loaded is checked again: what it listed before is not offered twice
    List1->clear();
    List2->clear();
    m_web.emplace(Wait::Web);
    const UpdateWalk walk =
        WalkUpdateServers(UpdateNumber, [this](const QString& firstLine) { CheckProgramRevision(firstLine); });
    if (!walk.serversFound) MsgBox(SERVERS_MISSING_TEXT, vbOKOnly + vbExclamation);
    m_serversFound = walk.serversFound;
    m_serverReached = walk.serverReached;
    UpdateNumber = walk.updateNumber;
    List1->addItems(walk.urls);
    for (const QString& name : walk.fileNames) {
        auto* item = new QListWidgetItem(name, List2);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    finishBusy();
    return true;
}

void Autoupdate::CheckProgramRevision(const QString& listFirstLine)
{
    if (!IsFormLoaded(QStringLiteral("Connection")) || !IsNewerRevision(listFirstLine)) return;
    if (Connection* page = counterPage()) page->showProgramUpdate();
}

int Autoupdate::markedCount() const
{
    int marked = 0;
    for (int i = 0; i < List2->count(); ++i) marked += List2->item(i)->checkState() == Qt::Checked;
    return marked;
}

void Autoupdate::DownloadTarife()
{
    if (WaitRunning(Wait::Web)) return;
    if (List2->count() == 0) {
        MsgBox(QStringLiteral("Keine Tarife zum herunterladen vorhanden."), vbOKOnly + vbExclamation);
        return;
    }
    const int total = markedCount();
    if (total == 0) {
        MsgBox(QStringLiteral("Keine Tarife zum herunterladen markiert!"), vbOKOnly + vbExclamation);
        return;
    }
    QStringList urls, names;
    for (int i = 0; i < List2->count(); ++i) {
        if (List2->item(i)->checkState() != Qt::Checked) continue;
        urls << List1->item(i)->text();
        names << List2->item(i)->text();
    }
    m_web.emplace(Wait::Web); // between two files too: the click that comes then needs the web as well
    m_pages->setCurrentWidget(Picture1);
    Picture2->setProgress(0, total);
    QDir().mkpath(ProgramPath(QStringLiteral("Tarife")));
    bool complete = true;
    for (int i = 0; i < total; ++i) {
        Label4->setText(QStringLiteral("Aktuell: ") + names[i]);
        QCoreApplication::processEvents(); // repaints, and lets "Abbrechen" be pressed
        if (m_closeAsked) break;
        const QString target = ProgramPath(QStringLiteral("Tarife/") + names[i]);
        if (!DownloadFile(urls[i], target) || !ConvertLineEnds(target)) complete = false;
        if (m_closeAsked) break;
        Picture2->setProgress(i + 1, total);
    }
    if (!m_closeAsked) {
        // a tariff that failed is offered again only while the last update taken stays as it was
        if (complete) SaveUpdateState(UpdateNumber);
        if (Tarife* page = Tarife::open()) page->GetTarife(); // the new files in its tree
        if (Connection* page = counterPage()) page->showTarifUpdateDone(complete);
        if (!complete) MsgBox(INCOMPLETE_TEXT, vbOKOnly + vbExclamation);
    }
    m_closeAsked = true;
    finishBusy();
}

void Autoupdate::Command1_Click(int index)
{
    if (index == 0) DownloadTarife();
    else close();
}

void Autoupdate::Command2_Click() { close(); }

void Autoupdate::finishBusy()
{
    m_web.reset();
    if (!m_closeAsked) return;
    m_closeAsked = false;
    close();
}

void Autoupdate::closeEvent(QCloseEvent* event)
{
    if (busy()) {
        // the running check or download ends first and then closes the window; it shows nothing more
        m_closeAsked = true;
        hide();
        event->ignore();
        return;
    }
    if (current() == this) current() = nullptr;
    event->accept();
}

void Autoupdate::reject() { close(); }
