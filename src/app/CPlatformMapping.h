#pragma once

#include <QColor>
#include <QFont>
#include <QKeySequence>
#include <QList>
#include <QSize>
#include <QString>

#include "model/NodeTypes.h"

// Every rule by which the program's Windows heritage is carried over to Qt on
// Linux lives here: type faces and point fonts, COLORREF colours, the
// accelerator keys, the private profile file, dialog units, the shell's
// single-instance channel and the keyboard lock indicators.
namespace PlatformMapping {

// Type faces the editors ask for. Where the face is not installed, the
// font system's substitutes take over (a serif face for the text face, the
// desktop's sans-serif face for the system face).
inline constexpr const char* kTextFace = "Times New Roman";
inline constexpr const char* kSystemFace = "System";

// The font of a point size and a weight (400 regular, 700 bold) of a face.
QFont PointFont(const QString& face, int nPointSize, int nWeight);

// COLORREF 0x00BBGGRR.
inline QColor ToQColor(COLORREF clr)
{
    return QColor(static_cast<int>(clr & 0xFF), static_cast<int>((clr >> 8) & 0xFF),
        static_cast<int>((clr >> 16) & 0xFF));
}

// The keys of a command: the first is the one shown in menus.
QList<QKeySequence> Accelerators(int nCommandId);

// The program's settings folder: "pagewell" in the user's configuration
// folder (XDG_CONFIG_HOME, usually ~/.config).
QString SettingsFolder();
// The private profile file of the recent-file list: "pagewell.ini" in the
// settings folder.
QString ProfileFileName();
// Where earlier versions kept that file: "pagewell.ini" right in the user's
// configuration folder.
QString OldProfileFileName();
// Takes over the old profile file once: copies it into the settings folder
// when no profile is there yet. False when nothing was taken over.
bool AdoptOldProfile();
// The window's size, position, maximised state and splitter positions, the
// preview pane's state and the Generate dialog's remembered choices.
QString WindowStateFileName();

// Dialog units of the dialogs' 8-point font to pixels (a dialog unit is a
// quarter of the average character width across and an eighth of the
// character height down).
QSize DialogUnitsToPixels(int cx, int cy);

// The local socket by which a second start hands its project to the running
// program: one per user and graphical session (the Wayland or X display), in
// XDG_RUNTIME_DIR when that is set.
QString SingleInstanceServerName();

// Whether Caps Lock, Num Lock and Scroll Lock are on; false where the window
// system does not tell.
enum class ELockKey { Caps, Num, Scroll };
bool IsLockKeyOn(ELockKey key);

} // namespace PlatformMapping
