#pragma once

#include <QString>
#include <QStringList>

// What the removal shows while it runs. The dialog serves it across threads; tests record it.
class TUninstallProgress {
public:
    virtual ~TUninstallProgress() = default;
    virtual void AddLine(const QString& Text) = 0;
    // The last line, a blank and Text.
    virtual void AppendToLastLine(const QString& Text) = 0;
    virtual void SetBarRange(int Minimum, int Maximum) = 0;
    virtual void StepBar() = 0;
    // Asks whether a shared file goes; Texts are those of ids 15 to 22. Returns 6, 10, 7 or 9.
    virtual int AskRemoveSharedFile(const QString& File, const QStringList& Texts) = 0;
    virtual void EnableClose() = 0;
};
