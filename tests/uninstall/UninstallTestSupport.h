#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

inline void PrintTo(const QString& Text, std::ostream* Out)
{
    *Out << '"' << Text.toStdString() << '"';
}

// A scratch folder that also serves as the Windows folder and the data folder of the run.
class UninstallTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString Path(const QString& Name) const { return dir.path() + u'/' + Name; }
    void WriteBytes(const QString& Name, const QByteArray& Bytes) const;
    QByteArray ReadBytes(const QString& Name) const;

    QTemporaryDir dir;

private:
    QByteArray oldConfigHome;
};

#include "UninstallProgress.h"

// The progress of a run as the dialog would show it, with scripted answers to the shared-file prompt.
class TProgressRecorder : public TUninstallProgress {
public:
    QStringList Lines;
    int Bar = 0;
    int Maximum = 0;
    bool CloseEnabled = false;
    QList<int> Answers; // taken in turn; 7 when none is left
    QStringList Asked;
    QStringList PromptTexts;

    void AddLine(const QString& Text) override { Lines << Text; }
    void AppendToLastLine(const QString& Text) override { Lines.last() += u' ' + Text; }
    void SetBarRange(int, int Max) override
    {
        Maximum = Max;
        Bar = 0;
    }
    void StepBar() override { ++Bar; }
    int AskRemoveSharedFile(const QString& File, const QStringList& Texts) override
    {
        Asked << File;
        PromptTexts = Texts;
        return Answers.isEmpty() ? 7 : Answers.takeFirst();
    }
    void EnableClose() override { CloseEnabled = true; }
};

// Writes a log from lines joined by CRLF.
QByteArray CrLf(const QList<QByteArray>& Lines);

// Lets events run until Condition holds, ten seconds at the most; gives Condition's last answer.
bool WaitUntil(const std::function<bool()>& Condition);

// The hostile samples that tests/data/corpus/make-corpus.py made for one reader, by name.
QList<QPair<QString, QByteArray>> CorpusSamples(const QString& Reader);
