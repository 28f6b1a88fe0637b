#pragma once

// The written feed as a portal reads it: parsed with an XML reader into each
// property's elements, so tests check what a portal receives.

#include <QFile>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

namespace portaltest {

struct Propiedad {
    QMap<QString, QString> campos; // "id", "desc/es", "surface_area/built"…
    QStringList features;
    QStringList urls;
    QStringList imageIds;
};

struct Feed {
    QString error; // the parser's, empty when well-formed
    QString version;
    QString generado;
    QList<Propiedad> propiedades;
    QString declaracion; // the first line

    const Propiedad* porId(const QString& id) const {
        for (const Propiedad& p : propiedades)
            if (p.campos.value("id") == id)
                return &p;
        return nullptr;
    }
    QMap<QString, QString> fechas() const {
        QMap<QString, QString> m;
        for (const Propiedad& p : propiedades)
            m.insert(p.campos.value("id"), p.campos.value("date"));
        return m;
    }
};

inline Feed leerFeed(const QString& fichero) {
    Feed f;
    QFile file(fichero);
    if (!file.open(QIODevice::ReadOnly)) {
        f.error = "no se puede abrir " + fichero;
        return f;
    }
    f.declaracion = QString::fromUtf8(file.readLine()).trimmed();
    file.seek(0);
    QXmlStreamReader xml(&file);
    QStringList ruta;
    Propiedad actual;
    while (!xml.atEnd()) {
        const auto t = xml.readNext();
        if (t == QXmlStreamReader::StartElement) {
            ruta << xml.name().toString();
            if (ruta.size() == 2 && ruta[1] == "property")
                actual = {};
            if (ruta.size() == 4 && ruta[1] == "property" && ruta[2] == "images" && ruta[3] == "image")
                actual.imageIds << xml.attributes().value("id").toString();
        } else if (t == QXmlStreamReader::Characters) {
            const QString texto = xml.text().toString();
            if (ruta.size() == 3 && ruta[1] == "kyero") {
                if (ruta[2] == "feed_version")
                    f.version += texto;
                else if (ruta[2] == "feed_generated")
                    f.generado += texto;
            } else if (ruta.size() >= 3 && ruta[1] == "property") {
                const QString clave = ruta.mid(2).join('/');
                if (clave == "features/feature")
                    actual.features << texto;
                else if (clave == "images/image/url")
                    actual.urls << texto;
                else
                    actual.campos[clave] += texto;
            }
        } else if (t == QXmlStreamReader::EndElement) {
            if (ruta.size() == 2 && ruta[1] == "property")
                f.propiedades << actual;
            ruta.removeLast();
        }
    }
    if (xml.hasError())
        f.error = xml.errorString();
    return f;
}

inline QByteArray bytes(const QString& fichero) {
    QFile f(fichero);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace portaltest
