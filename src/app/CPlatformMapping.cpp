#include "app/CPlatformMapping.h"

#include <QDir>
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
    case ID_EDIT_CUT:
        return { QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete) };
    case ID_NEXT_PANE:
        return { QKeySequence(Qt::Key_F6) };
    case ID_VIEW_PREVIEW:
        return { QKeySequence(Qt::Key_F12) };
    case ID_PREV_PANE:
        return { QKeySequence(Qt::SHIFT | Qt::Key_F6) };
    case ID_HTML_PARAGRAPH:
        return { QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter) };
    default:
        return {};
    }
}

QString ProfileFileName()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(folder).filePath(QStringLiteral("pagewell.ini"));
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
    return QStringLiteral("pagewell-%1").arg(getuid());
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
