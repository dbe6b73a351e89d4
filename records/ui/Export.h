#pragma once
// The export window of the connection list: the list as shown, to an HTML file (with the month charts
// when the diagram window offers them) or to a text file.
#include <QDialog>
#include <QString>

class ConnectionListView;
class QLabel;
class QPushButton;

class Export : public QDialog {
    Q_OBJECT
public:
    explicit Export(const ConnectionListView& list, QWidget* parent = nullptr);

    QPushButton* Command1[2] = {nullptr, nullptr}; // 0 "Text Datei", 1 "HTML Datei"
    QLabel* Label1 = nullptr;                      // the prompt
    QLabel* Label2 = nullptr;                      // what the HTML export does
    QLabel* Label3 = nullptr;                      // what the text export does

    void Command1_Click(int Index); // 1 HTML, 0 text
    void GetListTitle();
    QString listTitle() const { return m_title; }
    // The chosen path, or empty on Cancel; the default extension as a pattern ("*.htm").
    QString fncGetFileNametoSave(const QString& filter, const QString& defaultExtension, const QString& title);

private:
    QString chooseFile(const QString& filter, const QString& defaultExtension, const QString& title);
    bool makeCharts(const QString& htmlPath, QStringList* chartFiles);
    void exportHtml();
    void exportText();
    void failed();

    const ConnectionListView& m_list;
    QString m_title;
};

// Opens the export window modally for the list page.
void ExportList(const ConnectionListView& list, QWidget* parent);
