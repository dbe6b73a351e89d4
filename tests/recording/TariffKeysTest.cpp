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
