#include "ThemeIcon.h"

#include <QApplication>

namespace ui {

void ensureIconTheme() {
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == u"hicolor")
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}

QIcon themeIcon(const QString& name, QStyle::StandardPixmap fallback) {
    ensureIconTheme();
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    const QString symbolic = name + QStringLiteral("-symbolic");
    if (QIcon::hasThemeIcon(symbolic))
        return QIcon::fromTheme(symbolic);
    if (fallback != QStyle::SP_CustomBase && qApp)
        return qApp->style()->standardIcon(fallback);
    return {};
}

} // namespace ui
