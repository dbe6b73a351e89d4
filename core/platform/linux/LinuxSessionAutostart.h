#pragma once
// The XDG autostart entry zumbrel.desktop, per user.
#include "core/platform/SessionAutostart.h"

#include <QByteArray>

class LinuxSessionAutostart : public SessionAutostart {
public:
    explicit LinuxSessionAutostart(const QString& folder = DefaultFolder());
    bool enable(const QString& program) override;
    bool disable() override;

    // autostart below $XDG_CONFIG_HOME, or below ~/.config when that is unset or not absolute.
    static QString DefaultFolder();
    // The whole entry for `program`, UTF-8 with LF line ends.
    static QByteArray DesktopEntry(const QString& program);
    // `program` as the one word of an Exec key: quoted and escaped as the desktop-entry rules say.
    static QString ExecWord(const QString& program);

private:
    QString m_file;
};
