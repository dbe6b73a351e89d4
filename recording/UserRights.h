#pragma once
// The active user's rights as the main window applies them, and the choice of the user at start.
#include <QString>

// Which navigation items a user's record locks.
struct NavigationLocks {
    bool userSettings = false;       // item 5 "Benutzer"
    bool monitoringSettings = false; // items 3 "DFÜ" and 6 "Überwachung"
    bool budgetSettings = false;     // item 4 "Budget"
    bool listsAndAnalysis = false;   // items 1, 8, 9
};

// Reads Benutzer/<user>.usr line by line (a flag counts only when it reads exactly 1, the minutes are
// rounded as CInt does) and sets the restriction and limit variables. False, and nothing changed, when
// the user is empty or has no record.
bool ReadUserPreventions(const QString& user, NavigationLocks& locks);
// Whether the restrictions now in force forbid quitting.
bool UserCannotQuit();

// What the start-up does for the chosen user.
struct StartUser {
    enum Action {
        NoLogin,  // the logon link chooses, or the user has no password: the overview makes it active
        Login,    // ask for `user`'s password
        NoUsers,  // no user record at all: tell so and end the program
        Nothing,  // a user named by the caller cannot be read
    } action = NoLogin;
    QString user;
};
// `name` empty at start: the overview's last user, else Supervisor. A record that cannot be read is
// replaced by Supervisor's, then by the first user found, so that a deleted user never opens the
// program without a password.
StartUser ChooseStartUser(const QString& name);

inline const QString NO_USERS_MESSAGE =
    QStringLiteral("Keine Benutzerdaten gefunden. Bitte installieren Sie Zumbrel neu.");
