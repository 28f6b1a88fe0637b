#include "DossierTextos.h"

#include "shell/CaracteristicasPropiedad.h"
#include "shell/Numeros.h"

#include <cmath>

namespace orb::reports {

namespace {

QString exterior(const QVariant& codigo, const QString& propio, const QString& comun) {
    const QString c = codigo.toString().trimmed();
    if (c == u"P")
        return propio;
    if (c == u"C")
        return comun;
    return QStringLiteral("No");
}

} // namespace

QString TextoPiscina(const QVariant& codigo) {
    return exterior(codigo, QStringLiteral("Privada"), QStringLiteral("Comunitaria"));
}

QString TextoJardin(const QVariant& codigo) {
    return exterior(codigo, QStringLiteral("Privado"), QStringLiteral("Comunitario"));
}

QString TextoGaraje(const QVariant& codigo) {
    return exterior(codigo, QStringLiteral("Privado"), QStringLiteral("Comunitario"));
}

QString TituloDossier(const QVariant& titulo, bool alquiler) {
    const QString t = titulo.isNull() ? QString() : titulo.toString();
    if (!t.trimmed().isEmpty())
        return t;
    return alquiler ? QStringLiteral("Propiedad en Alquiler") : QStringLiteral("Propiedad en Venta");
}

QString TituloDossierIngles(const QVariant& titulo, const QVariant& tituloIngles, bool alquiler) {
    const QString t = tituloIngles.isNull() ? QString() : tituloIngles.toString();
    if (!t.trimmed().isEmpty())
        return t;
    if (!titulo.isNull() && !titulo.toString().trimmed().isEmpty())
        return {};
    return alquiler ? QStringLiteral("Property for Rent") : QStringLiteral("Property for Sale");
}

QVariant PrecioDossier(const QVariant& precio, const QVariant& precioAlquiler, bool alquiler) {
    return alquiler ? precioAlquiler : precio;
}

QString PrecioEuros(const QVariant& importe) {
    return FormatoImporte(importe) + QStringLiteral(" €");
}

QString PrecioPesetas(const QString& textoEuros) {
    QString cifra = textoEuros;
    cifra.remove(u'€');
    const double euros = ValorNumerico(cifra.trimmed());
    return FormatoImporte(QVariant(qint64(std::llround(euros * PesetasPorEuro)))) + QStringLiteral(" ptas");
}

QString Caracteristicas(const std::function<QVariant(const QString&)>& valor, Idioma idioma) {
    QString resultado;
    for (const CaracteristicaPropiedad* c : caracteristicasDossier()) {
        const QVariant v = valor(QLatin1String(c->campo));
        if (v.isNull() || !v.toBool())
            continue;
        if (!resultado.isEmpty())
            resultado += QStringLiteral(" - ");
        resultado += QString::fromUtf16(idioma == Idioma::Espanol ? c->dossierEspanol : c->dossierIngles);
    }
    return resultado;
}

} // namespace orb::reports
