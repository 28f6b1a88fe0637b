#pragma once

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QWidget>

// ORBALIA_SCREENSHOTS=folder keeps a picture of a window (or, without one,
// of the whole screen) as folder/<nombre>.png, for a person to look at.
inline void guardarCaptura(const QString& nombre, QWidget* ventana = nullptr) {
    const QString carpeta = qEnvironmentVariable("ORBALIA_SCREENSHOTS");
    if (carpeta.isEmpty())
        return;
    const QPixmap imagen = ventana ? ventana->grab() : QGuiApplication::primaryScreen()->grabWindow(0);
    imagen.save(carpeta + u'/' + nombre + QStringLiteral(".png"));
}
