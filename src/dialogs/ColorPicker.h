#pragma once

#include <QColor>

#include "model/NodeTypes.h"

class CDocProperties;
class QPushButton;
class QWidget;

// COLORREF (0x00BBGGRR) and Qt colours.
QColor ToQColor(COLORREF color);
COLORREF FromQColor(const QColor& color);

// Picks a colour with the project's colour dialog, which both property
// dialogs share: the project's 16 custom colours are copied into the dialog,
// the dialog opens fully expanded on the field's colour, a colour chosen with
// OK is stored into field at once, and the custom colours are copied back
// whatever the answer. Without a project the custom colours are not kept.
// Returns whether a colour was chosen.
bool PickColor(CDocProperties* pProject, COLORREF& field, QWidget* pParent);

// Shows a colour as a swatch on a colour button.
void ShowColorOnButton(QPushButton* pButton, COLORREF color);
