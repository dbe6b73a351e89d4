// Every hostile connection record of the corpus through the walks of the remaining budgets and the
// free allowance, under the sanitizers.
#include "core/Globals.h"
#include "recording/OverviewValues.h"
#include "users/BudgetSpending.h"

#include "support/TestSupport.h"

namespace {
class RecordingCorpusTest : public ProgramTest {};
} // namespace

TEST_F(RecordingCorpusTest, RecordWalks)
{
    writeFile("Tarife/Netz - A.tel", "[Providerdaten]\r\nFreiminuten:600\r\n");
    writeFile("Tarife/Netz - V.tel", "[Providerdaten]\r\nVolumenabrechnung:Ja\r\nVolumengrenze:5\r\n");
    for (const CorpusFile& f : CorpusFiles("records")) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Verbindungen/17012001-120000.con", f.bytes);
        const BudgetSpending spent = GetBudgetSpending("Anna", true, QDate(2001, 1, 1), QDate(2001, 1, 31));
        EXPECT_LE(spent.period.size(), size_t(1));
        GetConnectionCost("17012001-120000.con");
        FreeAllowanceLeft("Netz - A.tel");
        FreeAllowanceLeft("Netz - V.tel");
        if (f.name == "well-formed") {
            ASSERT_EQ(spent.day.size(), size_t(1));
            EXPECT_DOUBLE_EQ(spent.day[0], 0.19);
            EXPECT_EQ(FreeAllowanceLeft("Netz - A.tel"), "09:50:00");
        }
    }
}
