#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

// The uninstaller's window and system layer. Windows themselves come with its dialog; what is here
// is the part that needs no display: message boxes through one replaceable answerer, placement
// arithmetic, the version record and small system queries.

enum : quint32 {
    MB_OK = 0x0,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_TASKMODAL = 0x2000,
    MB_SETFOREGROUND = 0x10000,
};
enum : int { IDOK = 1, IDYES = 6, IDNO = 7 };

extern QString AppTitle;
extern quint32 MsgBoxExtraFlags;
extern QObject* MainWnd;

// Shows a box and returns the pressed button's id; the dialog installs the one with windows,
// tests a scripted one. Without an answerer a box cannot be shown and the result is 0, as a failed box.
using TMsgBoxAnswerer = std::function<int(QObject* Owner, const QString& Caption, const QString& Text, quint32 Flags)>;
void SetMsgBoxAnswerer(TMsgBoxAnswerer Answerer);

int MsgBox(QObject* Owner, const QString& Caption, const QString& Text, quint32 Flags);
void ErrorBox(const QString& Text);
int QuestionBox(const QString& Text);

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRect& o) const
    {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
};
struct TSize {
    int Width = 0, Height = 0;
};

TRect MakeRect(int Left, int Top, int Right, int Bottom);
int RectWidth(const TRect& R);
int RectHeight(const TRect& R);
void FitRectToScreen(TRect& R, TSize Screen);
// Where CenterWindow puts a window of rectangle R.
TRect CenterWindowRect(const TRect& R, const TRect& WorkArea, TSize Screen);

// The screen comes from the dialog's toolkit; until it says otherwise there is none.
struct TScreenInfo {
    TSize Screen;
    TRect WorkArea;
};
void SetScreenInfoSource(std::function<TScreenInfo()> Source);
TSize GetScreenSize();
TRect GetWorkArea();

enum : quint32 { VER_PLATFORM_WIN32s = 0, VER_PLATFORM_WIN32_WINDOWS = 1, VER_PLATFORM_WIN32_NT = 2 };

struct TOSVersion {
    quint8 Kind = 0;
    qint32 Major = 0;
    qint32 Minor = 0;
    QByteArray Version;
    qint32 Build = 0;
    QByteArray ServicePack;
    QByteArray Description;
};

TOSVersion GetOSVersion(quint32 PlatformId, qint32 Major, qint32 Minor, qint32 Build, const QByteArray& ServicePack);
// There is no Windows underneath: the unit's record describes a fixed NT system.
TOSVersion GetOSVersion();
extern const TOSVersion OSVersion;

void ProcessMessages();
QString GetAppFileName();
QString GetWindowsDir();
void* SafeLoadLibrary(const QString& Name);
qint32 StrToIntZero(const QByteArray& Text);
