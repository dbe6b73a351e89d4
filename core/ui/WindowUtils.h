#pragma once
// Window utilities shared by every window.
#include <QColor>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

// Windows register themselves by their object name so that IsFormLoaded can ask without creating one.
void RegisterForm(QWidget* window);
// True while a window of exactly that name (case-sensitive) is open.
bool IsFormLoaded(const QString& name);

// The main window keeps move, minimise and close only.
void RemoveSystemMenuItems(QWidget* window);
void DisableMaximizeBox(QWidget* window);
// Leaves a top-level window out of the desktop's task list or lets it back in. A window that has no
// native window yet is left alone: the caller gives the setting again when it shows the window.
void SetTaskListHidden(QWidget* window, bool hidden);
// The thin flat frame of the original's windows.
void SetFlatBorder(QWidget* window, bool staticEdge);

// Plays a sound file without blocking: a missing file plays nothing, one that cannot be played beeps.
void PlaySoundFile(const QString& path);

// A colour value of the original (red + green * 256 + blue * 65536).
QColor VbColor(int value);
// A label that acts as a link is underlined, red (255) and shows the up-arrow pointer; any other is
// black with the default pointer. A click acts only while the label has the link look.
void SetLinkLook(QLabel* label, bool link);
bool HasLinkLook(const QLabel* label);
// Fills a list without running its change handler and leaves it without a selection, as the original's
// lists start; the caller makes the selection it wants.
void FillList(QComboBox* list, const QStringList& items);
// A list keeps its width whatever its items: it is as wide as `widest` (a caption it must show whole) in
// its font, or as `characters` capital letters, and shows the start of a longer item.
void KeepListWidth(QComboBox* list, const QString& widest);
void KeepListWidth(QComboBox* list, int characters);
// The width a text box needs to show `widest` whole in its font, frame and margins included.
int TextBoxWidth(const QLineEdit* box, const QString& widest);
// A filter list: "[Alle]", then the names, with item 0 chosen, filled without running its change handler.
void FillWithAlle(QComboBox* list, const QStringList& names);
// A plain panel or strip in one background colour.
void FillBackground(QWidget* widget, const QColor& colour);
// The label's text colour as the original's colour value.
void SetLabelColor(QLabel* label, int value);

// Room above a label's first line: the font's ascent leaves the dots of a capital umlaut ("Ü") outside
// the label, where they are cut off.
void KeepRoomForUmlauts(QLabel* label);
// Changes the caption of a label that keeps such room: the whole label is repainted, or the dots of the
// old caption stay in that room beside the new one.
void SetCaption(QLabel* label, const QString& text);
// The title of a settings page, in the one face they all share.
QLabel* PageTitle(const QString& text, QWidget* parent);
// A label whose text wraps, with that room; a layout short of room never cuts its last line.
void WrapLabel(QLabel* label);

// The white band at the top of a dialog: a bold title above a wrapped explanation. The labels are
// returned through the pointers when given.
QWidget* DialogHeader(QWidget* parent, const QString& title, const QString& text, QLabel** titleLabel = nullptr,
                      QLabel** textLabel = nullptr);
