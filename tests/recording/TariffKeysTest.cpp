#include "recording/TariffKeys.h"
#include "support/TestSupport.h"

class TariffKeysTest : public ProgramTest {};

TEST_F(TariffKeysTest, LastMatchingLineWinsWithEachKeysCaseRule)
{
    writeFile("Tarife/Net - A.tel", "Volumenabrechnung:Ja\r\nVolumenabrechnung:Nein\r\nVolumenkosten:1,5\r\n"
                                    "Volumenkosten:2.5\r\nVOLUMENEINHEIT:3\r\nvolumenkosten:9\r\n"
                                    "Gespr\xE4" "chsgrundgeb\xFC" "hr:5\r\nTakt:60 / 1\r\ntakt:1/1\r\n");
    EXPECT_TRUE(GetVolumenabrechnung("Net - A.tel")); // any "ja" line counts
    EXPECT_FLOAT_EQ(GetVolumenkosten("Net - A.tel"), 2.5f);
    EXPECT_FLOAT_EQ(GetVolumeneinheit("Net - A.tel"), 3);
    EXPECT_FLOAT_EQ(GetGrundgebuehr("Net - A.tel"), 0.05f);
    EXPECT_EQ(GetActualTakt("Net - A.tel"), "60 / 1");

    // the general form's exponent reads as its value: 5E-05 cents per call are 0,0000005 €
    writeFile("Tarife/Net - E.tel", "Volumenabrechnung:Ja\r\nVolumenkosten:1,9E+01\r\nVolumeneinheit:5e-1\r\n"
                                    "Gespr\xE4" "chsgrundgeb\xFC" "hr:5E-05\r\n");
    EXPECT_EQ(GetVolumenkosten("Net - E.tel"), 19);
    EXPECT_EQ(GetVolumeneinheit("Net - E.tel"), 0.5f);
    EXPECT_EQ(GetGrundgebuehr("Net - E.tel"), 0.00005f / 100);
    writeFile("Tarife/Net - F.tel", "Volumenkosten:5E\r\nVolumeneinheit:5 E3\r\n");
    EXPECT_EQ(GetVolumenkosten("Net - F.tel"), 5);
    EXPECT_EQ(GetVolumeneinheit("Net - F.tel"), 5);

    writeFile("Tarife/Net - B.tel", "volumenabrechnung:ja\r\nVolumenabrechnung: JA \r\n");
    EXPECT_TRUE(GetVolumenabrechnung("Net - B.tel"));
    writeFile("Tarife/Net - C.tel", "volumenabrechnung:ja\r\n");
    EXPECT_FALSE(GetVolumenabrechnung("Net - C.tel")); // the key itself is case-sensitive

    EXPECT_FALSE(GetVolumenabrechnung("Fehlt - X.tel"));
    EXPECT_EQ(GetVolumenkosten("Fehlt - X.tel"), 0);
    EXPECT_EQ(GetActualTakt(""), "");
}

TEST_F(TariffKeysTest, VolumeCarry)
{
    EXPECT_EQ(LoadVolumeCarry("Net - V.atl"), 0);
    SaveVolumeCarry("Net - V.atl", 250.5f);
    EXPECT_EQ(readFile("Prerun/Net - V.dat"), " 250,5\r\n");
    EXPECT_FLOAT_EQ(LoadVolumeCarry("Net - V.atl"), 250.5f);
    writeFile("Prerun/net - w.DAT", "12.5\r\n");
    EXPECT_FLOAT_EQ(LoadVolumeCarry("Net - W.tel"), 12.5f);
}
