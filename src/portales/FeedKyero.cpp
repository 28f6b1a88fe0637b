#include "FeedKyero.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QRegularExpression>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cstring>
#include <libxml/parser.h>

namespace orb {

QString ProblemaPortal(const PropiedadPortal& p) {
    // Text lengths count characters, as the portals do, not UTF-16 units
    // (never more than those, so a short text needs no count).
    const auto largoDe = [](const QString& s, int limite) {
        return s.size() > limite && s.toUcs4().size() > limite;
    };
    if (p.id.isEmpty())
        return QCoreApplication::translate("FeedKyero", "Número: la propiedad no tiene número.");
    if (largoDe(p.id, LargoMaximoId))
        return QCoreApplication::translate("FeedKyero", "Número: el identificador %1 pasa de %2 caracteres.")
            .arg(p.id, QString::number(LargoMaximoId));
    if (p.referencia.trimmed().isEmpty())
        return QCoreApplication::translate("FeedKyero", "Referencia: la propiedad no tiene código.");
    if (largoDe(p.referencia, LargoMaximoReferencia))
        return QCoreApplication::translate("FeedKyero", "Referencia: el código pasa de %1 caracteres.")
            .arg(LargoMaximoReferencia);
    if (p.precio.isEmpty())
        return p.alquiler ? QCoreApplication::translate("FeedKyero",
                                                        "Precio alquiler: la propiedad no tiene precio.")
                          : QCoreApplication::translate("FeedKyero", "Precio: la propiedad no tiene precio.");
    if (p.tipo.isEmpty())
        return p.tipoAgencia.isEmpty()
                   ? QCoreApplication::translate("FeedKyero", "Tipo: la propiedad no tiene tipo.")
                   : QCoreApplication::translate("FeedKyero",
                                                 "Tipo en portales: el tipo «%1» no tiene tipo en portales.")
                         .arg(p.tipoAgencia);
    // English letters, blanks and &()/-, at least three.
    const auto deTipo = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || QStringView(u" &()/-").contains(c);
    };
    if (p.tipo.size() < 3 || !std::all_of(p.tipo.begin(), p.tipo.end(), deTipo))
        return QCoreApplication::translate(
                   "FeedKyero",
                   "Tipo en portales: «%1» no es un tipo que acepten los portales (letras inglesas, "
                   "espacios y &()/-, al menos 3).")
            .arg(p.tipo);
    if (p.pueblo.isEmpty())
        return QCoreApplication::translate("FeedKyero", "Localidad: la propiedad no tiene localidad.");
    if (p.provincia.isEmpty())
        return QCoreApplication::translate("FeedKyero", "Provincia: la localidad «%1» no tiene provincia.")
            .arg(p.pueblo);
    if (p.caracteristicas.isEmpty())
        return QCoreApplication::translate("FeedKyero", "Características: la propiedad no tiene ninguna.");
    if (p.imagenes.size() > MaximoImagenes)
        return QCoreApplication::translate("FeedKyero", "Fotos: más de %1.").arg(MaximoImagenes);
    return {};
}

namespace {

// Whether a code unit is one TextoLimpio drops or rewrites.
bool cambia(char16_t u) {
    return (u < 0x20 && u != u'\t' && u != u'\n') || (u >= 0x7f && u <= 0x9f) ||
           (u >= 0xd800 && u <= 0xdfff) || u >= 0xfffe;
}

} // namespace

QString TextoLimpio(const QString& texto) {
    // Nearly every text is clean: then it is shared, not copied.
    const auto* u = reinterpret_cast<const char16_t*>(texto.utf16());
    if (std::none_of(u, u + texto.size(), cambia))
        return texto.trimmed();
    QString out;
    out.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < texto.size() && texto[i + 1].isLowSurrogate()) {
            out += c;
            out += texto[++i];
            continue;
        }
        if (u == u'\r') {
            // "\r\n" and a lone "\r" are both one line end, as a parser reads them.
            out += u'\n';
            if (i + 1 < texto.size() && texto[i + 1] == u'\n')
                ++i;
            continue;
        }
        const bool control = (u < 0x20 && u != u'\t' && u != u'\n') || (u >= 0x7f && u <= 0x9f);
        if (control || c.isSurrogate() || u == 0xfffe || u == 0xffff)
            continue;
        out += c;
    }
    return out.trimmed();
}

QString TextoPlano(const QString& html) {
    static const QRegularExpression comentario(QStringLiteral("<!--.*?-->"),
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression salto(QStringLiteral("<(br\\s*/?|/p|/div|/li)\\s*>"),
                                          QRegularExpression::CaseInsensitiveOption);
    // A tag opens with a letter or "/letter": "a < b" and "<3" are text.
    static const QRegularExpression etiqueta(QStringLiteral("</?[A-Za-z][^<>]*>"));
    static const QRegularExpression entidad(
        QStringLiteral("&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|[a-zA-Z]+);"));
    // Most descriptions hold neither tags nor entities.
    if (!html.contains(u'<') && !html.contains(u'&'))
        return TextoLimpio(html);
    QString t = html;
    t.remove(comentario);
    t.replace(salto, QStringLiteral("\n"));
    t.remove(etiqueta);
    QString out;
    qsizetype desde = 0;
    for (auto it = entidad.globalMatch(t); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString nombre = m.captured(1);
        QString valor;
        if (nombre.startsWith(u'#')) {
            bool ok = false;
            const uint code = nombre.startsWith(QStringLiteral("#x"), Qt::CaseInsensitive)
                                  ? nombre.mid(2).toUInt(&ok, 16)
                                  : nombre.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10ffff) {
                const char32_t c = code;
                valor = QString::fromUcs4(&c, 1);
            }
        } else {
            static const QList<QPair<QString, QString>> nombres = {
                {QStringLiteral("amp"), QStringLiteral("&")},  {QStringLiteral("lt"), QStringLiteral("<")},
                {QStringLiteral("gt"), QStringLiteral(">")},   {QStringLiteral("quot"), QStringLiteral("\"")},
                {QStringLiteral("apos"), QStringLiteral("'")}, {QStringLiteral("nbsp"), QStringLiteral(" ")},
                {QStringLiteral("euro"), QStringLiteral("€")}};
            for (const auto& [n, v] : nombres)
                if (n == nombre)
                    valor = v;
        }
        if (valor.isEmpty())
            continue; // unknown: left as written
        out += QStringView(t).mid(desde, m.capturedStart() - desde);
        out += valor;
        desde = m.capturedEnd();
    }
    out += QStringView(t).mid(desde);
    return TextoLimpio(out);
}

EscritorKyero::EscritorKyero(QIODevice* destino, const QString& generado)
    : xml_(std::make_unique<QXmlStreamWriter>(destino)) {
    xml_->setAutoFormatting(true);
    xml_->setAutoFormattingIndent(1);
    xml_->writeStartDocument();
    xml_->writeStartElement(QStringLiteral("root"));
    xml_->writeStartElement(QStringLiteral("kyero"));
    xml_->writeTextElement(QStringLiteral("feed_version"), QStringLiteral("3"));
    xml_->writeTextElement(QStringLiteral("feed_generated"), generado);
    xml_->writeEndElement();
}

EscritorKyero::~EscritorKyero() = default;

void EscritorKyero::escribir(const PropiedadPortal& p) {
    QXmlStreamWriter& x = *xml_;
    const auto elemento = [&x](const QString& nombre, const QString& valor) {
        x.writeTextElement(nombre, valor);
    };
    x.writeStartElement(QStringLiteral("property"));
    elemento(QStringLiteral("id"), p.id);
    elemento(QStringLiteral("date"), p.fecha);
    elemento(QStringLiteral("ref"), TextoLimpio(p.referencia));
    elemento(QStringLiteral("price"), p.precio);
    elemento(QStringLiteral("currency"), QStringLiteral("EUR"));
    elemento(QStringLiteral("price_freq"), p.alquiler ? QStringLiteral("month") : QStringLiteral("sale"));
    elemento(QStringLiteral("new_build"), QStringLiteral("0"));
    elemento(QStringLiteral("type"), p.tipo);
    elemento(QStringLiteral("town"), TextoLimpio(p.pueblo));
    elemento(QStringLiteral("province"), TextoLimpio(p.provincia));
    elemento(QStringLiteral("country"), QStringLiteral("Spain"));
    if (const QString zona = TextoLimpio(p.zona); !zona.isEmpty())
        elemento(QStringLiteral("location_detail"), zona.left(LargoMaximoZona).trimmed());
    elemento(QStringLiteral("beds"), QString::number(p.dormitorios));
    elemento(QStringLiteral("baths"), QString::number(p.banos));
    elemento(QStringLiteral("pool"), p.piscina ? QStringLiteral("1") : QStringLiteral("0"));
    if (p.construidos > 0 || p.parcela > 0) {
        x.writeStartElement(QStringLiteral("surface_area"));
        if (p.construidos > 0)
            elemento(QStringLiteral("built"), QString::number(p.construidos));
        if (p.parcela > 0)
            elemento(QStringLiteral("plot"), QString::number(p.parcela));
        x.writeEndElement();
    }
    if (!p.energia.isEmpty()) {
        x.writeStartElement(QStringLiteral("energy_rating"));
        elemento(QStringLiteral("consumption"), p.energia);
        x.writeEndElement();
    }
    if (!p.descripciones.isEmpty()) {
        x.writeStartElement(QStringLiteral("desc"));
        for (const auto& [idioma, texto] : p.descripciones)
            elemento(idioma, texto);
        x.writeEndElement();
    }
    x.writeStartElement(QStringLiteral("features"));
    for (const QString& c : p.caracteristicas)
        elemento(QStringLiteral("feature"), c);
    x.writeEndElement();
    if (!p.imagenes.isEmpty()) {
        x.writeStartElement(QStringLiteral("images"));
        for (qsizetype i = 0; i < p.imagenes.size(); ++i) {
            x.writeStartElement(QStringLiteral("image"));
            x.writeAttribute(QStringLiteral("id"), QString::number(i + 1));
            elemento(QStringLiteral("url"), p.imagenes[i]);
            x.writeEndElement();
        }
        x.writeEndElement();
    }
    x.writeEndElement();
}

bool EscritorKyero::terminar() {
    xml_->writeEndDocument();
    return !xml_->hasError();
}

namespace {

// What the read-back's parser callbacks keep: where the parser is, what it found.
struct Lectura {
    xmlParserCtxtPtr ctx = nullptr;
    LecturaKyero r;
    int profundidad = 0;
    bool enVersion = false;
    bool enId = false;
    bool conId = false;
    QByteArray version;

    void parar(const QString& error) {
        if (r.error.isEmpty())
            r.error = error;
        xmlStopParser(ctx);
    }
};

bool es(const xmlChar* nombre, const char* esperado) {
    return std::strcmp(reinterpret_cast<const char*>(nombre), esperado) == 0;
}

void abre(void* datos, const xmlChar* nombre, const xmlChar*, const xmlChar*, int, const xmlChar**, int, int,
          const xmlChar**) {
    auto& l = *static_cast<Lectura*>(datos);
    ++l.profundidad;
    if (l.profundidad == 1 && !es(nombre, "root"))
        return l.parar(QCoreApplication::translate("FeedKyero", "el elemento principal no es root"));
    if (l.profundidad == 2 && es(nombre, "property")) {
        ++l.r.propiedades;
        l.conId = false;
    }
    l.enVersion = l.profundidad == 3 && es(nombre, "feed_version");
    l.enId = l.profundidad == 3 && es(nombre, "id");
}

void cierra(void* datos, const xmlChar* nombre, const xmlChar*, const xmlChar*) {
    auto& l = *static_cast<Lectura*>(datos);
    if (l.profundidad == 2 && es(nombre, "property") && !l.conId)
        return l.parar(
            QCoreApplication::translate("FeedKyero", "la propiedad %1 no tiene id").arg(l.r.propiedades));
    l.enVersion = l.enId = false;
    --l.profundidad;
}

void texto(void* datos, const xmlChar* t, int largo) {
    auto& l = *static_cast<Lectura*>(datos);
    if (l.enVersion)
        l.version.append(reinterpret_cast<const char*>(t), largo);
    else if (l.enId && largo > 0)
        l.conId = true;
}

// The feed never carries a DTD: one would bring entities from elsewhere.
void dtd(void* datos, const xmlChar*, const xmlChar*, const xmlChar*) {
    static_cast<Lectura*>(datos)->parar(
        QCoreApplication::translate("FeedKyero", "tiene una declaración de tipo de documento"));
}

// Errors are read from the context once the parse ends, never printed.
void sinMensajes(void*, xmlErrorPtr) {}

} // namespace

LecturaKyero ComprobarKyero(QIODevice* origen) {
    static const bool iniciado = [] {
        xmlInitParser();
        return true;
    }();
    Q_UNUSED(iniciado);
    xmlSAXHandler sax{};
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = abre;
    sax.endElementNs = cierra;
    sax.characters = texto;
    sax.cdataBlock = texto;
    sax.internalSubset = dtd;
    sax.serror = sinMensajes;
    Lectura l;
    l.ctx = xmlCreatePushParserCtxt(&sax, &l, nullptr, 0, nullptr);
    if (!l.ctx) {
        l.r.error = QCoreApplication::translate("FeedKyero", "no hay memoria para leerlo");
        return l.r;
    }
    xmlCtxtUseOptions(l.ctx, XML_PARSE_NONET | XML_PARSE_HUGE);
    QByteArray trozo(1 << 18, Qt::Uninitialized);
    bool fin = false;
    while (!fin && l.r.error.isEmpty()) {
        const qint64 n = origen->read(trozo.data(), trozo.size());
        if (n < 0) {
            l.r.error = origen->errorString();
            break;
        }
        fin = n == 0;
        if (xmlParseChunk(l.ctx, trozo.constData(), int(n), fin ? 1 : 0) != 0 || !l.ctx->wellFormed)
            break;
    }
    if (l.r.error.isEmpty() && !l.ctx->wellFormed) {
        const xmlError* e = xmlCtxtGetLastError(l.ctx);
        l.r.error = QCoreApplication::translate("FeedKyero", "XML mal formado en la línea %1: %2")
                        .arg(QString::number(e ? e->line : 0),
                             e && e->message ? QString::fromUtf8(e->message).trimmed()
                                             : QCoreApplication::translate("FeedKyero", "error de lectura"));
    } else if (l.r.error.isEmpty() && l.version != "3") {
        l.r.error = QCoreApplication::translate("FeedKyero", "falta feed_version 3");
    }
    xmlFreeParserCtxt(l.ctx);
    return l.r;
}

} // namespace orb
