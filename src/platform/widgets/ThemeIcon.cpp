#include "ThemeIcon.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QToolButton>

namespace ui {

void ensureIconTheme() {
    static const bool done = [] {
        // Platforms without a desktop theme (offscreen, minimal) search no
        // icon folder at all; the system's icon folders are added.
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
            const QString icons = QDir(data).filePath(QStringLiteral("icons"));
            if (!paths.contains(icons) && QFileInfo(icons).isDir())
                paths << icons;
        }
        QIcon::setThemeSearchPaths(paths);
        if (QIcon::themeName().isEmpty() || QIcon::themeName() == u"hicolor")
            QIcon::setThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    Q_UNUSED(done);
}

QIcon themeIcon(const QString& name, QStyle::StandardPixmap fallback) {
    ensureIconTheme();
    // Symbolic icons first: one consistent look whatever the theme's legacy set holds.
    const QString symbolic = name + QStringLiteral("-symbolic");
    if (QIcon::hasThemeIcon(symbolic))
        return QIcon::fromTheme(symbolic);
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    if (fallback != QStyle::SP_CustomBase && qApp)
        return qApp->style()->standardIcon(fallback);
    return {};
}

QToolButton* barButton(QWidget* parent, const QString& name, const QString& tooltip, const QString& icon,
                       QStyle::StandardPixmap fallback) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(tooltip);
    b->setAccessibleName(tooltip);
    b->setIcon(themeIcon(icon, fallback));
    b->setIconSize(QSize(22, 22));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

} // namespace ui
