#pragma once

#include "shell/TiposPortales.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>

class QIODevice;
class QXmlStreamWriter;

namespace orb {

// One property as the portals receive it, already in their terms.
struct PropiedadPortal {
    QString cod;        // the agency's code, for the log
    QString id;         // stable for the life of the property, distinct by side
    QString fecha;      // last change, "YYYY-MM-DD HH:MM:SS"
    QString referencia; // Cod
    QString precio;     // whole euros, digits only; empty when the property has none
    bool alquiler = false;
    QString tipo;        // the portal type
    QString tipoAgencia; // the agency's own type name, for the log
    QString pueblo;
    QString provincia;
    QString zona; // location_detail
    int dormitorios = 0;
    int banos = 0;
    bool piscina = false;
    qint64 construidos = 0;
    qint64 parcela = 0;
    QString energia;                              // A–G, or empty
    QList<QPair<QString, QString>> descripciones; // language code, plain text
    QStringList caracteristicas;
    QStringList imagenes; // absolute addresses
};

// Longest id, reference and location detail the portals take.
inline constexpr int LargoMaximoId = 50;
inline constexpr int LargoMaximoReferencia = 50;
inline constexpr int LargoMaximoZona = 50;
inline constexpr int MaximoImagenes = 50;

// Why the portals would refuse the property, as "Campo: motivo."; empty when
// it can be published.
QString ProblemaPortal(const PropiedadPortal& p);

// What a portal may show of a text: control characters dropped (XML cannot
// carry them), line ends as "\n", blanks at both ends trimmed.
QString TextoLimpio(const QString& texto);
// A web description as plain text: tags dropped (a line break or paragraph
// end kept as a line end), entities decoded, then TextoLimpio.
QString TextoPlano(const QString& html);

// Writes the feed: the declaration, the header, one property at a time.
class EscritorKyero {
public:
    EscritorKyero(QIODevice* destino, const QString& generado);
    ~EscritorKyero();
    void escribir(const PropiedadPortal& p);
    // Closes the document; false when the device refused a write.
    bool terminar();

private:
    std::unique_ptr<QXmlStreamWriter> xml_;
};

// What reading a written feed back found.
struct LecturaKyero {
    QString error; // empty when well-formed, version 3 and every property has its id
    int propiedades = 0;
};
LecturaKyero ComprobarKyero(QIODevice* origen);

} // namespace orb
