#include "tariffs/TarifEditor.h"
#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/Globals.h"
#include "core/TariffPrices.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "support/TestSupport.h"
#include "support/ui/WidgetHelpers.h"
#include "tariffs/ui/Tarifdaten.h"

#include <QApplication>

#include <QCheckBox>
#include <algorithm>
#include <array>
#include <memory>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

namespace {
TEST(TarifEditorLeaveSteps, NormaliseFieldsAsLeft)
{
    SetDecimalSeparator(',');
    const auto whole = [](const QString& t) { return LeaveTarifField(TarifInput::FreeAllowance, t).text; };
    const auto takt = [](const QString& t) { return LeaveTarifField(TarifInput::Takt, t).text; };
    const struct {
        std::function<QString(const QString&)> step;
        const char* in;
        const char* out;
    } cases[] = {
        {takt, "90", "90 / 60"},
        {takt, "60/1", "60 / 1"},
        {takt, "0/10", "60 / 60"},
        {takt, "", "60 / 60"},
        {takt, "30/0", "30 / 60"},
        {takt, "45,5/30,5", "45 / 30"},
        {PlainDecimal, "0,00", "0"},
        {PlainDecimal, "1.5", "1,5"},
        {PlainDecimal, "0,019", "0,019"},
        {PlainDecimal, "abc", "0"},
        {PlainDecimal, "0,00005", "0,00005"},
        {PlainDecimal, "99999999", "99999999"}, // beyond single precision, read as the same number
        {PlainDecimal, "0,50", "0,5"},
        {PlainDecimal, "5E-05", "0,00005"}, // as the file line would read it
        {PlainDecimal, "1E+400", "1E+400"}, // beyond the single range: no value to show in its stead
        {whole, "1,5", "1"},
        {whole, "7.9", "7"},
        {whole, "", "0"},
        {takt, "90.5", "90 / 60"},
        {takt, "0.5", "60 / 60"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.step(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(TarifEditorLeaveSteps, NumbersOutsideTheirFieldsRangesAreRefused)
{
    SetDecimalSeparator(',');
    const QString amount = AMOUNT_RANGE.message(), price = PRICE_RANGE.message(), unit = UNIT_LENGTH_RANGE.message();
    const struct {
        TarifInput field;
        const char* typed;
        const char* shown; // empty: refused with `refusal`
        QString refusal;
    } cases[] = {
        // every digit the file line reads back is kept; what it would read as another number is refused
        {TarifInput::Fee, "12,345", "12,345", {}},
        {TarifInput::Fee, "0,00001", "0,00001", {}}, // in plain digits, never "1E-05"
        {TarifInput::Fee, "0,00005", "0,00005", {}},
        {TarifInput::Fee, "1000000000000000,5", "", amount}, // never its leading digit
        {TarifInput::Fee, "999999", "999999", {}},
        {TarifInput::Fee, "10000000", "", amount},
        {TarifInput::Fee, "-1", "", amount},
        {TarifInput::Fee, "-0,001", "", amount},
        {TarifInput::Price, "0,0195", "0,0195", {}},
        {TarifInput::Price, "0,0149", "0,0149", {}},
        {TarifInput::Price, "1,5", "1,5", {}},
        {TarifInput::Price, "0.0001", "0,0001", {}},
        {TarifInput::Price, "99999", "99999", {}},
        {TarifInput::Price, "100000", "", price}, // the file holds it times 100
        {TarifInput::Fee, "1E+400", "", amount},  // never its leading digit
        {TarifInput::Price, "1E+39", "", price},
        {TarifInput::Fee, "5E-05", "0,00005", {}},
        {TarifInput::VolumeUnit, "1,5", "1,5", {}},
        {TarifInput::VolumeUnit, "0,0001", "0,0001", {}},
        {TarifInput::VolumeUnit, "0,00009", "0,00009", {}},
        {TarifInput::Price, "0,00009", "0,00009", {}},
        {TarifInput::Price, "99999,99", "", price}, // it shows 100000
        {TarifInput::VolumeUnit, "1000000", "", amount},
        {TarifInput::FreeAllowance, "99999999999999999999999999999999999999", "", COUNT_RANGE.message()},
        {TarifInput::FreeAllowance, "-1", "", COUNT_RANGE.message()},
        {TarifInput::ZoneHour, "24", "24", {}},
        {TarifInput::ZoneHour, "25", "", HOUR_RANGE.message()},
        {TarifInput::ZoneHour, "-1", "", HOUR_RANGE.message()},
        {TarifInput::Takt, "32767/32767", "32767 / 32767", {}},
        {TarifInput::Takt, "32768", "", unit},
        {TarifInput::Takt, "60/40000", "", unit},
        {TarifInput::Takt, "-30/60", "", unit},
    };
    for (const auto& c : cases) {
        const CheckedInput got = LeaveTarifField(c.field, QString::fromUtf8(c.typed));
        EXPECT_EQ(got.refusal, c.refusal) << c.typed;
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(got.text, QString::fromUtf8(c.shown)) << c.typed;
        }
    }
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
    // The window the browser opens to change `file`, before LoadTarif.
    Tarifdaten* changeTarif(const QString& file, const QString& provider, const QString& tariff)
    {
        auto* w = new Tarifdaten(Tarifdaten::ChangeTarif);
        w->Form_Load();
        w->Tag = file;
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
        {"P", QString("T") + QChar(0) + "x", true, NAMES_MESSAGE}, // the file name would end at the NUL
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
        EXPECT_EQ(ListFolder(path("Tarife")).size(), c.message.isEmpty() ? 1 : 0);
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

TEST_F(TarifEditorTest, RefusedFieldsGetTheirTextBack)
{
    std::unique_ptr<Tarifdaten> w(newTarif("P", "T"));
    for (int field : {9, 5, 7}) {
        const QString before = w->Text1[field]->text();
        TypeInto(w->Text1[field], field == 5 ? "40000/60" : "100000");
        w->Text1_LostFocus(field);
        EXPECT_EQ(w->Text1[field]->text(), before) << field;
    }
    EXPECT_EQ(dialogs.texts(), QStringList({PRICE_RANGE.message(), UNIT_LENGTH_RANGE.message(), HOUR_RANGE.message()}));
    EXPECT_EQ(dialogs.messages.value(0).icon(), int(vbExclamation));

    // a changed tariff's volume price keeps its text when left, within its range, and is rounded on saving
    writeFile("Tarife/P - T.tel", "[Providerdaten]\r\nName:P - T\r\nVolumenabrechnung:Ja\r\nVolumenkosten:5\r\n"
                                  "[Tarifzonen]\r\n");
    std::unique_ptr<Tarifdaten> c(changeTarif("P - T.tel", "P", "T"));
    ASSERT_TRUE(c->LoadTarif());
    QLineEdit* volumePrice = c->Text1[c->volumePriceIndex()];
    EXPECT_EQ(volumePrice->text(), "0,05");
    TypeInto(volumePrice, "100000");
    c->Text1_LostFocus(c->volumePriceIndex());
    EXPECT_EQ(volumePrice->text(), "0,05");
    TypeInto(volumePrice, "0,0000001"); // times 100 it is written "0,00001"
    c->Text1_LostFocus(c->volumePriceIndex());
    EXPECT_EQ(volumePrice->text(), "0,0000001");
    TypeInto(volumePrice, "0,0149");
    c->Text1_LostFocus(c->volumePriceIndex());
    c->Command1_Click(0);
    EXPECT_TRUE(lines("P - T.tel").contains("Volumenkosten:1,49")) << lines("P - T.tel").join("|").toStdString();

    // opened and saved untouched, every price is written as it was read
    writeFile("Tarife/P - U.tel", "[Providerdaten]\r\nName:P - U\r\nVolumenabrechnung:Ja\r\nVolumenkosten:1,49\r\n"
                                  "Volumeneinheit:0,0125\r\nGespr\xe4" "chsgrundgeb\xfchr:1,95\r\n[Tarifzonen]\r\n"
                                  "Zone:U\r\nVon:0\r\nBis:24\r\nPfennig:0,79\r\nEinheit:60\r\nWochenende:Ja\r\n"
                                  "Zone:U\r\nVon:0\r\nBis:24\r\nPfennig:6,28\r\nEinheit:60\r\nWochenende:Nein\r\n");
    std::unique_ptr<Tarifdaten> u(changeTarif("P - U.tel", "P", "U"));
    ASSERT_TRUE(u->LoadTarif());
    EXPECT_EQ(u->List1->item(0)->text(), "Von: 00 Bis: 24 Kosten: 0,0079 Wochenende");
    u->Command1_Click(0);
    const QStringList saved = lines("P - U.tel");
    for (const char* line : {"Volumenkosten:1,49", "Volumeneinheit:0,0125", "Gesprächsgrundgebühr:1,95", "Pfennig:0,79",
                             "Pfennig:6,28"})
        EXPECT_TRUE(saved.contains(QString::fromUtf8(line))) << line << " " << saved.join("|").toStdString();
}

// A file in the editor's own forms, opened, every shown field left and saved, comes back byte for byte:
// values below 0,0001 and from 10^7 on included, which the general form's exponent turned into others.
TEST_F(TarifEditorTest, OpenLeaveAndSaveKeepsEveryByte)
{
    const QStringList ordinary = {
        "[Providerdaten]", "Name:P - T", "Grundgebühr:4,95", "Region:bundesweit", "Gültigkeit:17.01.2001",
        "Anmeldung:nötig", "Einwahlnummer:k.A.", "Username:k.A.", "Password:k.A.", "Flatrate:Nein",
        "Volumenabrechnung:Nein", "Volumenkosten:0", "Volumeneinheit:1", "Volumengrenze:0", "Mindestumsatz:0",
        "Freiminuten:30", "Kanalbündelung:Nein", "Takt:60 / 60", "Sekundengenau:Nein", "Sekundenschritte:1",
        "Gesprächsgrundgebühr:1,5", "", "[Tarifzonen]", "Zone:T", "Von:8", "Bis:18", "Pfennig:1,9", "Einheit:60",
        "Wochenende:Nein", "Zone:T", "Von:0", "Bis:24", "Pfennig:1", "Einheit:60", "Wochenende:Ja"};
    const struct {
        const char* name;
        QStringList lines;   // each replaces the first line of its key
        QStringList written = {}; // lines the save writes instead, the same way; none: the file comes back as it was
        double cents = -1;        // the price in force, a working day at noon, before and after; -1: any, the same
        const char* firstZone = nullptr; // the first zone's entry as listed; none: not looked at
    } cases[] = {
        {"ordinary", {}},
        {"cents below 0,01", {"Pfennig:0,009"}},
        {"volume cents below 0,01", {"Volumenkosten:0,005"}},
        {"cents from 10^9", {"Pfennig:1000000000"}},
        {"fee below 0,0001", {"Grundgebühr:0,00005"}},
        {"turnover from 10^7", {"Mindestumsatz:99999999"}},
        {"call fee below 0,0001", {"Gesprächsgrundgebühr:0,00001"}},
        {"seven digits", {"Pfennig:1,234567", "Volumenkosten:6,28", "Grundgebühr:12345,67"}},
        {"volume tariff",
         {"Volumenabrechnung:Ja", "Volumenkosten:0,0001", "Volumeneinheit:0,00005", "Volumengrenze:1000000000",
          "Freiminuten:0"}},
        // the general form's exponent is shown and saved as its value in plain digits
        {"exponents",
         {"Grundgebühr:5E-05", "Mindestumsatz:1e2", "Gesprächsgrundgebühr:2,5E-1", "Pfennig:5E-03", "Pfennig:1,9E+01"},
         {"Grundgebühr:0,00005", "Mindestumsatz:100", "Gesprächsgrundgebühr:0,25", "Pfennig:0,005", "Pfennig:19"}},
        {"volume exponents",
         {"Volumenabrechnung:Ja", "Volumenkosten:1,49E+00", "Volumeneinheit:5E-05", "Freiminuten:0"},
         {"Volumenabrechnung:Ja", "Volumenkosten:1,49", "Volumeneinheit:0,00005", "Freiminuten:0"}},
        // beyond the single range, malformed: kept as written, never "INF" or 0
        {"beyond the single range",
         {"Grundgebühr:1E+400", "Mindestumsatz:-1E+400",
          "Gesprächsgrundgebühr:1000000000000000000000000000000000000000", "Pfennig:1E+400", "Pfennig:1E+39"}},
        {"volume beyond the single range",
         {"Volumenabrechnung:Ja", "Volumenkosten:1E+400", "Volumeneinheit:1E+39", "Freiminuten:0"}},
        // a zone the price readers refuse stays refused
        {"refused zone prices", {"Pfennig:1,9x", "Pfennig:"}},
        // and so does one they refuse for its hours: the walk ends there
        {"a zone refused for its start", {"Von:99999"}, {}, 0, "Von: ?? Bis: 18 Kosten: 0,019 Werktag"},
        {"a zone refused for both hours", {"Von:-99999", "Bis:40000"}, {}, 0, "Von: ?? Bis: ?? Kosten: 0,019 Werktag"},
        // an hour beyond the day: "Von:25 Bis:30" is never in force, "Von:24 Bis:24" always
        {"hours beyond the day", {"Von:25", "Bis:30"}, {}, 0, "Von: ?? Bis: ?? Kosten: 0,019 Werktag"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // each line replaces the first line of its key that no earlier one replaced
        const auto replaced = [&ordinary](const QStringList& replacements) {
            QStringList lines = ordinary;
            QList<bool> taken(lines.size(), false);
            for (const QString& line : replacements) {
                const QString key = line.left(line.indexOf(':') + 1);
                qsizetype at = 0;
                while (at < lines.size() && (taken[at] || !lines[at].startsWith(key))) ++at;
                if (at == lines.size()) return QByteArray();
                lines[at] = line;
                taken[at] = true;
            }
            QByteArray bytes;
            for (const QString& line : lines) bytes += line.toLatin1() + "\r\n";
            return bytes;
        };
        const QByteArray bytes = replaced(c.lines);
        const QByteArray written = c.written.isEmpty() ? bytes : replaced(c.written);
        ASSERT_FALSE(bytes.isEmpty() || written.isEmpty());
        writeFile("Tarife/P - T.tel", bytes);
        const double before = GetCurrentTarifPrice("P - T.tel");
        if (c.cents >= 0) {
            EXPECT_EQ(before, c.cents);
        }
        std::unique_ptr<Tarifdaten> w(changeTarif("P - T.tel", "P", "T"));
        ASSERT_TRUE(w->LoadTarif());
        if (c.firstZone) {
            EXPECT_EQ(w->List1->item(0)->text(), c.firstZone);
        }
        for (int i = 1; i < 13; ++i) {
            if (!w->Text1[i]) continue;
            const QString shown = w->Text1[i]->text();
            w->Text1_LostFocus(i);
            EXPECT_EQ(w->Text1[i]->text(), shown) << i;
        }
        w->Command1_Click(0);
        EXPECT_EQ(QString::fromLatin1(readFile("Tarife/P - T.tel")), QString::fromLatin1(written)); // shown as text
        EXPECT_EQ(GetCurrentTarifPrice("P - T.tel"), before);
    }
}

TEST_F(TarifEditorTest, ChangeTarifLoadsAndRenames)
{
    writeFile("Tarife/P - T.tel", "[Providerdaten]\r\nName:P - T\r\nGrundgeb\xfchr:4.95\r\nVolumeneinheit:1.50\r\n"
                                  "Takt:90 / 60\r\n[Tarifzonen]\r\nZone:T\r\nVon:8\r\nBis:18\r\nPfennig:1,9\r\n"
                                  "Einheit:60\r\nWochenende:Nein\r\nZone:T\r\nVon:0\r\nBis:24\r\nPfennig:1\r\n"
                                  "Einheit:60\r\nWochenende:Ja\r\n");
    std::unique_ptr<Tarifdaten> w(changeTarif("P - T.tel", "P", "T"));
    ASSERT_TRUE(w->LoadTarif());
    EXPECT_EQ(w->Text1[1]->text(), "4,95");
    EXPECT_EQ(w->Text1[5]->text(), "90 / 60");
    EXPECT_EQ(w->Text1[w->volumeUnitIndex()]->text(), "1.50"); // as written, having no exponent
    EXPECT_EQ(w->List1->item(0)->text(), "Von: 08 Bis: 18 Kosten: 0,019 Werktag");
    w->Text1[0]->setText("U");
    w->Command1_Click(0);
    EXPECT_FALSE(exists("Tarife/P - T.tel"));
    const QStringList l = lines("P - U.tel");
    EXPECT_EQ(l.value(4), "Gültigkeit:k.A.");
    EXPECT_EQ(l.value(2), "Grundgebühr:4,95");
    EXPECT_TRUE(l.contains("Pfennig:1,9"));
    EXPECT_TRUE(l.contains("Volumeneinheit:1.50"));
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
