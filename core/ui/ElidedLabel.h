#pragma once
// A label for a text that holds data (a provider's, tariff's, user's or entry's name): it wraps at word
// boundaries, within a word where one is wider than the label, on at most its number of lines, and ends
// the last line with "…" where the text goes on; the whole text is then its tool tip. Its text() stays the
// whole text, so a long name never widens or cuts its window.
#include <QLabel>

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    // `lines` 0: as many lines as the text needs.
    explicit ElidedLabel(QWidget* parent = nullptr, int lines = 1) : ElidedLabel(QString(), parent, lines) {}
    explicit ElidedLabel(const QString& text, QWidget* parent = nullptr, int lines = 1);

    // The width the label asks for, in average characters of its font (0: its whole text); it takes more
    // where its layout offers more.
    void setPreferredCharacters(int characters);

    // The lines as they fit the label's present width; *elided tells whether the last one ends in "…".
    QStringList shownLines(bool* elided = nullptr) const;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList linesFor(int textWidth, bool* elided = nullptr) const;
    QRect textRoom() const;   // the label less its frame, margins and indent
    QSize frameExtra() const; // what the label has beyond its text room

    int m_lines;
    int m_preferredCharacters = 20; // a name of ordinary length
};
