#pragma once

#include "UninstallProgress.h"
#include "UninstallTexts.h"

#include <QDialog>
#include <QPixmap>
#include <QThread>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class TUninstallRun;

// DLG_UNINSTALL: the progress of one run. Its worker starts on the first show; Close, Escape and the
// window's close do nothing until the worker enabled Close.
class TUninstallDialog : public QDialog {
    Q_OBJECT
public:
    explicit TUninstallDialog(TUninstallRun& Run, QWidget* Parent = nullptr);
    ~TUninstallDialog() override;

    void WaitForWorker();
    // The header as drawn once: white, the bitmap stretched to W - 1 by H - 1, the title at (12, 10).
    static QPixmap RenderHeader(QSize Size, const QString& BitmapFile, const QString& Title, const TFontSpec& Font,
                                qint32 CharSet, int PixelsPerInch);

    QLabel* Header;
    QListWidget* List;
    QProgressBar* Bar;
    QPushButton* CloseButton;

public slots:
    void AddLine(const QString& Text);
    void AppendToLastLine(const QString& Text);
    void SetBarRange(int Minimum, int Maximum);
    void StepBar();
    int AskRemoveSharedFile(const QString& File, const QStringList& Texts);
    void EnableClose();

protected:
    void showEvent(QShowEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void reject() override;

private:
    class TWorker : public QThread {
    public:
        explicit TWorker(TUninstallRun& Run) : removal(Run) {}

    protected:
        void run() override;

    private:
        TUninstallRun& removal;
    };
    class TQueuedProgress;

    TUninstallRun& run;
    TWorker worker;
    std::unique_ptr<TQueuedProgress> progress;
    bool started = false;
};
