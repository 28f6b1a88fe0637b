#pragma once

#include <QIcon>
#include <QStyle>

namespace ui {

// An icon of the desktop theme by freedesktop name: its "-symbolic" variant,
// else the plain one, else the style's standard icon, so a button is never blank.
QIcon themeIcon(const QString& name, QStyle::StandardPixmap fallback = QStyle::SP_CustomBase);

// Makes sure a theme is set (Adwaita when the desktop names none).
void ensureIconTheme();

} // namespace ui
