#include "support/TestSupport.h"

#include "core/Dialing.h"
#include "core/platform/sim/SimPhoneBook.h"

// The dial reaches its progress window only through what the windows hand it: loaded before pppd starts, so
// that it sees the first events, and unloaded when the dial did not start. Without windows a dial shows none.
TEST_F(ProgramTest, TheDialLoadsItsProgressWindowThroughTheFunctionsItIsGiven)
{
    SimPhoneBook book;
    SetPhoneBook(&book);
    const int oldStart = SetDialStartWait(0);
    const int oldBound = SetHangUpWaitBound(0);
    const DialProgressWindow windows = SetDialProgressWindow({});
    book.addEntry("Provider", {}, true);
    const QString refusal = "Die DFÜ Verbindung 'Provider' konnte nicht gewählt werden.";
    const struct {
        const char* name;
        bool windows;
        quint32 dialResult;
        QStringList steps;
        QStringList messages;
    } rows[] = {
        {"started", true, RAS_SUCCESS, {"load before the dial"}, {}},
        {"refused", true, 633, {"load before the dial", "unload after it"}, {refusal}},
        {"no windows", false, RAS_SUCCESS, {}, {}},
        {"no windows, refused", false, 633, {}, {refusal}},
    };
    for (const auto& r : rows) {
        QStringList steps;
        book.dialCalls.clear();
        book.dialResult = r.dialResult;
        dialogs.messages.clear();
        if (r.windows)
            SetDialProgressWindow(
                {[&] { steps << (book.dialCalls.isEmpty() ? "load before the dial" : "load after it"); },
                 [&] { steps << (book.dialCalls.isEmpty() ? "unload before the dial" : "unload after it"); }});
        else
            SetDialProgressWindow({});
        const quint32 handle = DialEntry(QString(), "Provider");
        EXPECT_EQ(book.dialCalls.size(), 1) << r.name;
        EXPECT_EQ(steps, r.steps) << r.name;
        EXPECT_EQ(dialogs.texts(), r.messages) << r.name;
        EXPECT_EQ(handle != 0, r.dialResult == RAS_SUCCESS) << r.name;
        if (handle) HangUpConnection(handle);
    }
    SetDialProgressWindow(windows);
    SetHangUpWaitBound(oldBound);
    SetDialStartWait(oldStart);
    SetPhoneBook(nullptr);
}
