#include "tariffs/TarifEditor.h"
#include "core/Globals.h"
#include "core/FileList.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "support/TestSupport.h"
#include "tariffs/ui/Tarifdaten.h"

#include <QApplication>

#include <QCheckBox>
#include <array>
#include <memory>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

namespace {
TEST(TarifEditorLeaveSteps, NormaliseFieldsAsLeft)
{
    SetDecimalSeparator(',');
    const struct {
        QString (*step)(const QString&);
        const char* in;
        const char* out;
    } cases[] = {
        {NormaliseTakt, "90", "90 / 60"},     {NormaliseTakt, "60/1", "60 / 1"},  {NormaliseTakt, "0/10", "60 / 60"},
        {NormaliseTakt, "", "60 / 60"},       {NormaliseTakt, "30/0", "30 / 60"}, {NormaliseTakt, "45,5/30,5", "45 / 30"},
        {NormaliseDecimal, "0,00", "0"},      {NormaliseDecimal, "1.5", "1,5"},   {NormaliseDecimal, "0,019", "0,019"},
        {NormaliseDecimal, "abc", "0"},       {NormaliseWhole, "1,5", "1"},       {NormaliseWhole, "7.9", "7"},
        {NormaliseWhole, "", "0"},            {NormaliseWhole, "99999999999999999999999999999999999999", "1E+38"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.step(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(TarifEditorLeaveSteps, ZoneEntryKeepsItsColumns)
{
    EXPECT_EQ(ZoneEntry("8", "18", "0,019", false), "Von: 08 Bis: 18 Kosten: 0,019 Werktag");
    EXPECT_EQ(ZoneEntry("0", "24", "1", true), "Von: 00 Bis: 24 Kosten: 1 Wochenende");
    for (const auto& bad : {std::array<const char*, 3>{"", "18", "1"}, {"8", "", "1"}, {"8", "18", ""},
                            {"25", "18", "1"}, {"8", "-1", "1"}, {"100", "0", "1"}})
        EXPECT_EQ(ZoneEntry(bad[0], bad[1], bad[2], false), "") << bad[0] << "|" << bad[1] << "|" << bad[2];
}

class TarifEditorTest : public ProgramTest {
protected:
    // A window as the user fills it; fields never focused keep their design texts.
    Tarifdaten* newTarif(const QString& provider, const QString& tariff)
    {
        auto* w = new Tarifdaten(Tarifdaten::NewTarif);
        w->Form_Load();
        w->comAnbieter->setEditText(provider);
        w->Text1[0]->setText(tariff);
        return w;
    }
    void addZone(Tarifdaten* w, const char* from, const char* to, const char* price, bool weekend)
    {
        w->Text1[7]->setText(from);
        w->Text1[8]->setText(to);
        w->Text1[9]->setText(price);
        w->Check1[6]->setChecked(weekend);
        w->Command2_Click(0);
    }
    QStringList lines(const QString& file) const { return ReadTextLines(path("Tarife/" + file)); }
};

TEST_F(TarifEditorTest, UntouchedNewTarifWritesFieldTextsUnchanged)
{
    std::unique_ptr<Tarifdaten> w(newTarif("P", "T"));
    addZone(w.get(), "08", "18", "0,019", false);
    addZone(w.get(), "08", "18", "0,019", true);
    EXPECT_EQ(w->List1->item(0)->text(), "Von: 08 Bis: 18 Kosten: 0,019 Werktag");
    w->Command1_Click(0);
    EXPECT_EQ(dialogs.texts(), QStringList());
    const QStringList l = lines("P - T.tel");
    EXPECT_EQ(l.value(1), "Name:P - T");
    EXPECT_EQ(l.value(2), "Grundgebühr:0,00");
    EXPECT_EQ(l.value(4), "Gültigkeit:17.01.2001");
    EXPECT_EQ(l.value(14), "Mindestumsatz:0,00");
    EXPECT_EQ(l.value(17), "Takt:60 / 60");
    EXPECT_TRUE(l.contains("Von:8") && l.contains("Bis:18") && l.contains("Pfennig:1,9")) << l.join("|").toStdString();
    EXPECT_EQ(l.last(), "Wochenende:Ja");
    EXPECT_EQ(l.size(), 23 + 12);
}

TEST_F(TarifEditorTest, SaveRunsTheLeaveStepOfTheFieldStillBeingEdited)
{
    std::unique_ptr<Tarifdaten> w(newTarif("P", "T"));
    addZone(w.get(), "08", "18", "0,019", false);
    addZone(w.get(), "08", "18", "0,019", true);
    w->show();
    QApplication::setActiveWindow(w.get());
    w->Text1[5]->setFocus(); // "&Speichern" by its mnemonic: the Takt field keeps the focus
    w->Text1[5]->setText("90");
    w->Command1_Click(0);
    EXPECT_TRUE(lines("P - T.tel").contains("Takt:90 / 60"));
}

TEST_F(TarifEditorTest, SaveChecksInOrder)
{
    const QString long250(250, 'x'), long251(251, 'x');
    const struct {
        QString provider, tariff;
        bool weekend;
        const QString& message;
    } cases[] = {
        {"", "T", false, NAMES_MESSAGE},        {"P", "a:b", false, NAMES_MESSAGE},
        {"P", long251, false, NAMES_MESSAGE},   {"P", "T", false, WEEKEND_MESSAGE},
        {"P", long250, true, WRITE_FAILED_MESSAGE}, // the file name is longer than 255 bytes
        {"P", "T", true, QString()},
    };
    for (const auto& c : cases) {
        dialogs.messages.clear();
        std::unique_ptr<Tarifdaten> w(newTarif(c.provider, c.tariff));
        w->Text1[1]->clear();
        addZone(w.get(), "8", "18", "0,019", false);
        if (c.weekend) addZone(w.get(), "8", "18", "0,019", true);
        w->Command1_Click(0);
        EXPECT_EQ(dialogs.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << qsizetype(c.tariff.size());
        if (!c.message.isEmpty()) {
            EXPECT_EQ(dialogs.messages.value(0).icon(), int(vbExclamation));
            // the defaults of empty fields are written back once the names have passed
            EXPECT_EQ(w->Text1[1]->text(), &c.message == &NAMES_MESSAGE ? "" : "0");
        }
        EXPECT_EQ(exists("Tarife/P - T.tel"), c.message.isEmpty());
    }
}

TEST_F(TarifEditorTest, ZoneFieldsRefused)
{
    std::unique_ptr<Tarifdaten> w(newTarif("P", "T"));
    addZone(w.get(), "8", "30", "1", false);
    addZone(w.get(), "", "18", "1", false);
    w->List1->setCurrentRow(-1);
    w->Command2_Click(1);
    EXPECT_EQ(dialogs.texts(), QStringList({ZONE_FIELDS_MESSAGE, ZONE_FIELDS_MESSAGE, NO_ZONE_SELECTED_MESSAGE}));
    EXPECT_EQ(w->List1->count(), 0);
    addZone(w.get(), "0", "18", "1", false);
    addZone(w.get(), "18", "24", "2", false);
    ASSERT_EQ(w->List1->count(), 2);
    w->List1->setCurrentRow(0);
    w->Command2_Click(1);
    EXPECT_EQ(w->List1->count(), 1);
    w->Command2_Click(1); // nothing is chosen after a removal
    EXPECT_EQ(w->List1->count(), 1);
    EXPECT_EQ(dialogs.texts().mid(3), QStringList({NO_ZONE_SELECTED_MESSAGE}));
}

TEST_F(TarifEditorTest, ChangeTarifLoadsAndRenames)
{
    writeFile("Tarife/P - T.tel", "[Providerdaten]\r\nName:P - T\r\nGrundgeb\xfchr:4.95\r\nTakt:90 / 60\r\n"
                                  "[Tarifzonen]\r\nZone:T\r\nVon:8\r\nBis:18\r\nPfennig:1,9\r\nEinheit:60\r\n"
                                  "Wochenende:Nein\r\nZone:T\r\nVon:0\r\nBis:24\r\nPfennig:1\r\nEinheit:60\r\n"
                                  "Wochenende:Ja\r\n");
    std::unique_ptr<Tarifdaten> w(new Tarifdaten(Tarifdaten::ChangeTarif));
    w->Form_Load();
    w->Tag = "P - T.tel";
    w->comAnbieter->setEditText("P");
    w->Text1[0]->setText("T");
    ASSERT_TRUE(w->LoadTarif());
    EXPECT_EQ(w->Text1[1]->text(), "4,95");
    EXPECT_EQ(w->Text1[5]->text(), "90 / 60");
    EXPECT_EQ(w->List1->item(0)->text(), "Von: 08 Bis: 18 Kosten: 0,019 Werktag");
    w->Text1[0]->setText("U");
    w->Command1_Click(0);
    EXPECT_FALSE(exists("Tarife/P - T.tel"));
    const QStringList l = lines("P - U.tel");
    EXPECT_EQ(l.value(4), "Gültigkeit:k.A.");
    EXPECT_EQ(l.value(2), "Grundgebühr:4,95");
    EXPECT_TRUE(l.contains("Pfennig:1,9"));
}

TEST_F(TarifEditorTest, FailedWriteKeepsTheOldFile)
{
    writeFile("Tarife/P - T.tel", "[Providerdaten]\r\n");
    TarifFields f;
    f.provider = QString(200, 'p');
    f.tariff = QString(60, 't');
    EXPECT_EQ(SaveTarif(&f, "P - T.tel"), TarifSaveResult::WriteFailed);
    EXPECT_EQ(readFile("Tarife/P - T.tel"), "[Providerdaten]\r\n");
    // a name differing only in case is written into that file, never beside it, and is not deleted
    f.provider = "p";
    f.tariff = "t";
    EXPECT_EQ(SaveTarif(&f, "P - T.tel"), TarifSaveResult::Saved);
    EXPECT_EQ(ListFolder(path("Tarife")), QStringList{"P - T.tel"});
    EXPECT_EQ(ReadTextLines(path("Tarife/P - T.tel")).value(1), "Name:p - t");
}
} // namespace
