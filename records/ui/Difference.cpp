#include "records/ui/Difference.h"

#include "core/Dialogs.h"
#include "core/ui/LostFocus.h"
#include "core/ui/WindowUtils.h"
#include "recording/ConnectionRecord.h"
#include "records/PrintPreview.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
const QString SAVE_FAILED = QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.");

// The level marks of the list rows: low to high.
QLabel* levelMark(int level, QWidget* parent)
{
    static const QColor colours[4] = {QColor(0, 160, 0), QColor(230, 200, 0), QColor(240, 130, 0), QColor(210, 0, 0)};
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colours[level]);
    p.setPen(Qt::darkGray);
    p.drawEllipse(1, 1, 10, 10);
    p.end();
    auto* label = new QLabel(parent);
    label->setPixmap(pixmap);
    return label;
}
} // namespace

Difference::Difference(QWidget* parent) : QDialog(parent)
{
    setObjectName("Difference");
    setWindowTitle("Differenzierung");
    buildControls();
}

void Difference::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 8);
    outer->addWidget(DialogHeader(this, "Differenzieren",
                                  "Hier können Sie die farbliche Hinterlegung der einzelnen Listeneinträge je nach "
                                  "Höhe des Betrages festlegen."));

    auto* body = new QVBoxLayout;
    body->setContentsMargins(10, 4, 10, 0);
    auto* category = new QHBoxLayout;
    category->addWidget(new QLabel("Differenzieren nach:", this));
    comCategory = new QComboBox(this);
    comCategory->setObjectName("comCategory");
    FillList(comCategory, {"Keine Differenzierung", "Kosten", "Dauer", "Transfervolumen"});
    connect(comCategory, &QComboBox::currentIndexChanged, this, [this] { comCategory_Click(); });
    category->addWidget(comCategory, 1);
    body->addLayout(category);

    const char* titles[3] = {"Kosten", "Dauer", "Volumen"};
    QLineEdit** boxes[3] = {Text1, Text2, Text3};
    const DifferenceSettings defaults;
    const QString* values[3] = {defaults.cost, defaults.duration, defaults.volume};
    auto* frames = new QGridLayout;
    for (int f = 0; f < 3; ++f) {
        Frame1[f] = new QGroupBox(titles[f], this);
        auto* grid = new QGridLayout(Frame1[f]);
        for (int i = 0; i < 4; ++i) {
            QLineEdit* box = boxes[f][i] = new QLineEdit(values[f][qMin(i, 2)], Frame1[f]);
            box->setObjectName(QString("Text%1_%2").arg(f + 1).arg(i));
            box->setFixedWidth(90);
            grid->addWidget(levelMark(i, Frame1[f]), i, 0);
            grid->addWidget(new QLabel(i < 3 ? "bis" : "über", Frame1[f]), i, 1);
            grid->addWidget(box, i, 2);
            if (f == 2) grid->addWidget(new QLabel("KB", Frame1[f]), i, 3);
        }
        grid->setColumnStretch(4, 1);
        boxes[f][3]->setEnabled(false); // only mirrors box 2
        connect(boxes[f][2], &QLineEdit::textChanged, boxes[f][3], &QLineEdit::setText);
        for (int i = 0; i < 3; ++i)
            OnLostFocus(boxes[f][i], [this, f, i] {
                if (f == 0) Text1_LostFocus(i);
                else if (f == 1) Text2_LostFocus(i);
                else Text3_LostFocus(i);
            });
        frames->addWidget(Frame1[f], 0, 0); // the three share one place
    }
    body->addLayout(frames);
    outer->addLayout(body);

    Command1[0] = new QPushButton("&OK", this);
    Command1[1] = new QPushButton("A&bbrechen", this);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(10, 4, 10, 0);
    buttons->addStretch();
    for (int i = 0; i < 2; ++i) {
        Command1[i]->setAutoDefault(false);
        buttons->addWidget(Command1[i]);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    outer->addLayout(buttons);
    Frame1[1]->hide();
    Frame1[2]->hide();
    setFixedWidth(340);
}

void Difference::Form_Load()
{
    LoadDifference();
    if (comCategory->currentIndex() < 0) comCategory->setCurrentIndex(0);
}

void Difference::LoadDifference()
{
    const DifferenceSettings s = LoadDifferenceSettings();
    for (int i = 0; i < 3; ++i) {
        Text1[i]->setText(s.cost[i]);
        Text2[i]->setText(s.duration[i]);
        Text3[i]->setText(s.volume[i]);
    }
    comCategory->setCurrentIndex(s.category);
}

bool Difference::SaveDifference()
{
    DifferenceSettings s;
    s.category = qMax(0, comCategory->currentIndex());
    for (int i = 0; i < 3; ++i) {
        s.cost[i] = Text1[i]->text();
        s.duration[i] = Text2[i]->text();
        s.volume[i] = Text3[i]->text();
    }
    return SaveDifferenceSettings(s);
}

void Difference::comCategory_Click()
{
    const int index = comCategory->currentIndex();
    for (int f = 0; f < 3; ++f) {
        QLineEdit** boxes = f == 0 ? Text1 : f == 1 ? Text2 : Text3;
        for (int i = 0; i < 3; ++i) boxes[i]->setEnabled(index >= 1);
        if (index >= 1) Frame1[f]->setVisible(f == index - 1);
    }
}

void Difference::Text1_LostFocus(int index)
{
    TakeCheckedInput(Text1[index], LeaveThreshold(0, Text1[index]->text()));
}

void Difference::Text2_LostFocus(int index)
{
    TakeCheckedInput(Text2[index], LeaveThreshold(1, Text2[index]->text()));
}

void Difference::Text3_LostFocus(int index)
{
    TakeCheckedInput(Text3[index], LeaveThreshold(2, Text3[index]->text()));
}

void Difference::Command1_Click(int index)
{
    if (index == 1) {
        close();
        return;
    }
    if (!FlushLostFocus(this)) return; // a mnemonic takes no focus: the box being edited has not been left yet
    if (!SaveDifference()) {
        MsgBox(SAVE_FAILED, vbExclamation);
        return;
    }
    if (IsFormLoaded(QStringLiteral("Printing"))) RefreshPrintPreview();
    RefreshConnectionList();
    close();
}
