#pragma once
// The XDG autostart entry zumbrel.desktop, per user.
#include "core/platform/SessionAutostart.h"

#include <QByteArray>

class LinuxSessionAutostart : public SessionAutostart {
public:
    explicit LinuxSessionAutostart(const QString& folder = DefaultFolder());
    bool enable(const QString& program, const QString& dataFolder) override;
    bool disable() override;

    // autostart below $XDG_CONFIG_HOME, or below ~/.config when that is unset or not absolute.
    static QString DefaultFolder();
    // The whole entry for `program`, UTF-8 with LF line ends; a data folder goes into its environment.
    static QByteArray DesktopEntry(const QString& program, const QString& dataFolder = QString());
    // `word` as one word of an Exec key: quoted and escaped as the desktop-entry rules say.
    static QString ExecWord(const QString& word);

private:
    QString m_file;
};
