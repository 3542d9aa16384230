#include "app/CPlatformMapping.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QStandardPaths>
#include <unistd.h>

#include "app/CommandIds.h"

#if defined(PAGEWELL_HAVE_X11)
#include <X11/XKBlib.h>
#endif

namespace PlatformMapping {

namespace {

void InstallSubstitutes()
{
    static bool bDone = false;
    if (bDone)
        return;
    bDone = true;
    QFont::insertSubstitutions(QString::fromLatin1(kTextFace),
        { QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"), QStringLiteral("DejaVu Serif"),
            QStringLiteral("serif") });
    QFont::insertSubstitutions(QString::fromLatin1(kSystemFace),
        { QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("sans-serif") });
}

} // namespace

QFont PointFont(const QString& face, int nPointSize, int nWeight)
{
    InstallSubstitutes();
    QFont font(face);
    font.setStyleHint(face == QLatin1String(kTextFace) ? QFont::Serif : QFont::SansSerif);
    font.setPointSize(nPointSize);
    font.setWeight(nWeight >= 700 ? QFont::Bold : QFont::Normal);
    return font;
}

QList<QKeySequence> Accelerators(int nCommandId)
{
    // The Windows keys: Ctrl+Enter is the main keyboard's Return and the
    // keypad's Enter; Alt+Backspace, Shift+Delete, Ctrl+Insert and
    // Shift+Insert are the old Undo, Cut, Copy and Paste keys.
    switch (nCommandId) {
    case ID_HTML_BOLD:
        return { QKeySequence(Qt::CTRL | Qt::Key_B) };
    case ID_EDIT_COPY:
        return { QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert) };
    case ID_FILE_GENERATE:
        return { QKeySequence(Qt::CTRL | Qt::Key_G) };
    case ID_TOOLS_CHECK_SITE:
        return { QKeySequence(Qt::Key_F7) };
    case ID_FILE_PUBLISH:
        return { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P) };
    case ID_HTML_ITALIC:
        return { QKeySequence(Qt::CTRL | Qt::Key_I) };
    case ID_FILE_NEW:
        return { QKeySequence(Qt::CTRL | Qt::Key_N) };
    case ID_FILE_OPEN:
        return { QKeySequence(Qt::CTRL | Qt::Key_O) };
    case ID_FILE_PRINT:
        return { QKeySequence(Qt::CTRL | Qt::Key_P) };
    case ID_FILE_SAVE:
        return { QKeySequence(Qt::CTRL | Qt::Key_S) };
    case ID_EDIT_PASTE:
        return { QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert) };
    case ID_EDIT_UNDO:
        return { QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace) };
    case ID_EDIT_REDO:
        return { QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) };
    case ID_EDIT_CUT:
        return { QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete) };
    case ID_NEXT_PANE:
        return { QKeySequence(Qt::Key_F6) };
    case ID_VIEW_PREVIEW:
        return { QKeySequence(Qt::Key_F12) };
    case ID_HELP_USER_GUIDE:
        return { QKeySequence(Qt::Key_F1) };
    case ID_OBJECT_DUPLICATE:
        return { QKeySequence(Qt::CTRL | Qt::Key_D) };
    case ID_PREV_PANE:
        return { QKeySequence(Qt::SHIFT | Qt::Key_F6) };
    case ID_HTML_PARAGRAPH:
        return { QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter) };
    // Keys of the commands that had only a toolbar button.
    case ID_STYLE_H1:
        return { QKeySequence(Qt::CTRL | Qt::Key_1) };
    case ID_STYLE_H2:
        return { QKeySequence(Qt::CTRL | Qt::Key_2) };
    case ID_STYLE_H3:
        return { QKeySequence(Qt::CTRL | Qt::Key_3) };
    case ID_STYLE_H4:
        return { QKeySequence(Qt::CTRL | Qt::Key_4) };
    case ID_STYLE_NORMAL:
        return { QKeySequence(Qt::CTRL | Qt::Key_0) };
    case ID_STYLE_HIDE: // Ctrl+H is Replace
        return { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H) };
    case ID_ALIGN_LEFT:
        return { QKeySequence(Qt::CTRL | Qt::Key_L) };
    case ID_ALIGN_CENTER:
        return { QKeySequence(Qt::CTRL | Qt::Key_E) };
    case ID_ALIGN_RIGHT:
        return { QKeySequence(Qt::CTRL | Qt::Key_R) };
    case ID_OBJECT_PROPERTIES:
        return { QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter) };
    case ID_DOC_PROPERTIES:
        return { QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Return),
            QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Enter) };
    case ID_EDIT_FIND:
        return { QKeySequence(Qt::CTRL | Qt::Key_F) };
    case ID_EDIT_REPLACE:
        return { QKeySequence(Qt::CTRL | Qt::Key_H) };
    case ID_EDIT_REPEAT:
        return { QKeySequence(Qt::Key_F3) };
    case ID_EDIT_FIND_PREVIOUS:
        return { QKeySequence(Qt::SHIFT | Qt::Key_F3) };
    default:
        return {};
    }
}

QString SettingsFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(folder).filePath(QStringLiteral("pagewell"));
}

QString ProfileFileName()
{
    return QDir(SettingsFolder()).filePath(QStringLiteral("pagewell.ini"));
}

QString OldProfileFileName()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(folder).filePath(QStringLiteral("pagewell.ini"));
}

bool AdoptOldProfile()
{
    const QString profile = ProfileFileName();
    const QString old = OldProfileFileName();
    if (QFileInfo::exists(profile) || !QFileInfo(old).isFile())
        return false;
    return QDir().mkpath(SettingsFolder()) && QFile::copy(old, profile);
}

QString WindowStateFileName()
{
    return QDir(SettingsFolder()).filePath(QStringLiteral("window.ini"));
}

QSize DialogUnitsToPixels(int cx, int cy)
{
    const QFontMetrics metrics(QGuiApplication::font());
    const int nBaseX
        = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"))
        / 52;
    const int nBaseY = metrics.height();
    return { cx * nBaseX / 4, cy * nBaseY / 8 };
}

QString SingleInstanceServerName()
{
    // A second start hands its file only to a window on its own screen.
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    QString key;
    for (const QChar c : display)
        key += c.isLetterOrNumber() && c.unicode() < 0x80 ? c : QLatin1Char('_');
    // A socket's path is short; a long display name (a path) is shortened.
    if (key.size() > 32)
        key = QString::fromLatin1(
            QCryptographicHash::hash(display.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    QString name = QStringLiteral("pagewell-%1-%2").arg(getuid()).arg(key);
    // Without a runtime folder the socket goes to the temporary folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QDir::isAbsolutePath(runtime))
        return name;
    return QDir(runtime).filePath(name);
}

bool IsLockKeyOn(ELockKey key)
{
#if defined(PAGEWELL_HAVE_X11)
    // Only the X server knows; other platforms (offscreen, Wayland) do not tell.
    if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    auto* pX11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* pDisplay = pX11 != nullptr ? pX11->display() : nullptr;
    unsigned int nState = 0;
    if (pDisplay == nullptr || XkbGetIndicatorState(pDisplay, XkbUseCoreKbd, &nState) != 0)
        return false;
    // The core keyboard's indicators: Caps Lock 0, Num Lock 1, Scroll Lock 2.
    const unsigned int nBit = key == ELockKey::Caps ? 0x1U : key == ELockKey::Num ? 0x2U : 0x4U;
    return (nState & nBit) != 0;
#else
    (void)key;
    return false;
#endif
}

} // namespace PlatformMapping
