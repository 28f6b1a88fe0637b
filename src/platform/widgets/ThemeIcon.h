#pragma once

#include <QIcon>
#include <QStyle>

class QToolButton;
class QWidget;

namespace ui {

// An icon of the desktop theme by freedesktop name: its "-symbolic" variant,
// else the plain one, else the style's standard icon, so a button is never blank.
QIcon themeIcon(const QString& name, QStyle::StandardPixmap fallback = QStyle::SP_CustomBase);

// A window's bar button: its icon by theme name, its tooltip also its
// accessible name, reached by Tab.
QToolButton* barButton(QWidget* parent, const QString& name, const QString& tooltip, const QString& icon,
                       QStyle::StandardPixmap fallback);

// Makes sure a theme is set (Adwaita when the desktop names none).
void ensureIconTheme();

} // namespace ui
