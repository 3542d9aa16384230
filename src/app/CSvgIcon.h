#pragma once

#include <QIcon>
#include <QStringList>

// An icon painted from one or more SVG pictures laid over each other, drawn
// afresh at every size and device pixel ratio, so it stays crisp at any
// display scale. A disabled icon is drawn faded. Strokes and fills given as
// "currentColor" take the palette's button text colour (highlighted text
// when selected), so that the icon reads in a light and a dark theme.
QIcon MakeSvgIcon(const QStringList& layers);
// The same with other pictures for the Selected mode (a selected item).
QIcon MakeSvgIcon(const QStringList& layers, const QStringList& selectedLayers);
