#include "znUtils.h"

#include "znStrUtils.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <dlfcn.h>

QString AppTitle;
quint32 MsgBoxExtraFlags = 0;
QObject* MainWnd = nullptr;

namespace {

TMsgBoxAnswerer& Answerer()
{
    static TMsgBoxAnswerer answerer;
    return answerer;
}

std::function<TScreenInfo()>& ScreenInfoSource()
{
    static std::function<TScreenInfo()> source;
    return source;
}

} // namespace

void SetMsgBoxAnswerer(TMsgBoxAnswerer Answerer_)
{
    Answerer() = std::move(Answerer_);
}

int MsgBox(QObject* Owner, const QString& Caption, const QString& Text, quint32 Flags)
{
    const TMsgBoxAnswerer& answer = Answerer();
    return answer ? answer(Owner, Caption, Text, MsgBoxExtraFlags | MB_TASKMODAL | Flags) : 0;
}

void ErrorBox(const QString& Text)
{
    MsgBox(MainWnd, IIf(AppTitle.isEmpty(), QStringLiteral("Error"), AppTitle), Text, MB_ICONERROR);
}

int QuestionBox(const QString& Text)
{
    return MsgBox(MainWnd, IIf(AppTitle.isEmpty(), QStringLiteral("Question"), AppTitle), Text,
                  MB_YESNO | MB_ICONQUESTION);
}

TRect MakeRect(int Left, int Top, int Right, int Bottom)
{
    return TRect{Left, Top, Right, Bottom};
}

int RectWidth(const TRect& R)
{
    return R.Right - R.Left;
}

int RectHeight(const TRect& R)
{
    return R.Bottom - R.Top;
}

void FitRectToScreen(TRect& R, TSize Screen)
{
    auto shift = [&R](int dx, int dy) { R = MakeRect(R.Left + dx, R.Top + dy, R.Right + dx, R.Bottom + dy); };
    if (R.Right > Screen.Width) shift(Screen.Width - R.Right, 0);
    if (R.Left < 0) shift(-R.Left, 0);
    if (R.Bottom > Screen.Height) shift(0, Screen.Height - R.Bottom);
    if (R.Top < 0) shift(0, -R.Top);
}

TRect CenterWindowRect(const TRect& R, const TRect& WorkArea, TSize Screen)
{
    const int w = RectWidth(R);
    const int h = RectHeight(R);
    const int left = (RectWidth(WorkArea) - w) / 2 + WorkArea.Left;
    const int top = (RectHeight(WorkArea) - h) / 2 + WorkArea.Top;
    TRect placed = MakeRect(left, top, left + w, top + h);
    FitRectToScreen(placed, Screen);
    return placed;
}

void SetScreenInfoSource(std::function<TScreenInfo()> Source)
{
    ScreenInfoSource() = std::move(Source);
}

TSize GetScreenSize()
{
    return ScreenInfoSource() ? ScreenInfoSource()().Screen : TSize{};
}

TRect GetWorkArea()
{
    return ScreenInfoSource() ? ScreenInfoSource()().WorkArea : TRect{};
}

TOSVersion GetOSVersion(quint32 PlatformId, qint32 Major, qint32 Minor, qint32 Build, const QByteArray& ServicePack)
{
    static const char* const kindNames[] = {"32s", "95", "98", "NT", "2000", "Me", "XP"};
    TOSVersion v;
    v.Major = Major;
    v.Minor = Minor;
    v.Version = Minor != 0 ? QByteArray::number(Major) + '.' + QByteArray::number(Minor).rightJustified(2, '0')
                           : QByteArray::number(Major) + '.' + QByteArray::number(Minor);
    v.Build = PlatformId == VER_PLATFORM_WIN32_WINDOWS ? (Build & 0xFFFF) : Build;
    v.ServicePack = ServicePack;
    if (PlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        v.Kind = 1;
        if (Major == 4 && Minor > 0) v.Kind = 2;
        if (Major > 4 || (Major == 4 && Minor >= 90)) v.Kind = 5;
    } else if (PlatformId == VER_PLATFORM_WIN32_NT) {
        v.Kind = 3;
        if (Major > 4) v.Kind = 4;
        if (Major > 4 && Minor > 0) v.Kind = 6;
    }
    const QByteArray build =
        v.Build < 0 ? QByteArray::number(v.Build) : QByteArray::number(v.Build).rightJustified(4, '0');
    v.Description = QByteArray("Windows ") + kindNames[v.Kind] + ' ' + v.Version + '.' + build + ' ' + ServicePack;
    v.Description = v.Description.trimmed();
    return v;
}

TOSVersion GetOSVersion()
{
    return GetOSVersion(VER_PLATFORM_WIN32_NT, 5, 1, 2600, QByteArray());
}

const TOSVersion OSVersion = GetOSVersion();

void ProcessMessages()
{
    QCoreApplication::processEvents();
    QThread::msleep(1);
}

QString GetAppFileName()
{
    return QCoreApplication::applicationFilePath();
}

QString GetWindowsDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void* SafeLoadLibrary(const QString& Name)
{
    // A bare name would make dlopen search the library path instead of the installation.
    return ::dlopen(QFile::encodeName(QFileInfo(Name).absoluteFilePath()).constData(), RTLD_NOW | RTLD_LOCAL);
}

qint32 StrToIntZero(const QByteArray& Text)
{
    qint32 value = 0;
    return TryStrToInt(Text, value) ? value : 0;
}
