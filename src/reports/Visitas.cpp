#include "Visitas.h"

#include "platform/db/Transaction.h"
#include "shell/Fechas.h"
#include "shell/Numeros.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <iterator>

namespace orb::visitas {

QStringList Estados() {
    return {Prevista, Realizada, Anulada, NoPresentado};
}

namespace {

// Spanish as written in the activity log; shown translated.
const char* const ValoracionesEspanol[] = {
    QT_TRANSLATE_NOOP("Visitas", "1 - Sin interés"), QT_TRANSLATE_NOOP("Visitas", "2 - Poco interés"),
    QT_TRANSLATE_NOOP("Visitas", "3 - Le gusta"), QT_TRANSLATE_NOOP("Visitas", "4 - Le gusta mucho"),
    QT_TRANSLATE_NOOP("Visitas", "5 - Quiere hacer una oferta")};

// The states are stored in Spanish; these are their captions.
const char* const EstadosEspanol[] = {
    QT_TRANSLATE_NOOP("Visitas", "Prevista"), QT_TRANSLATE_NOOP("Visitas", "Realizada"),
    QT_TRANSLATE_NOOP("Visitas", "Anulada"), QT_TRANSLATE_NOOP("Visitas", "No presentado")};

QString valoracionEspanol(int valoracion) {
    return valoracion >= 1 && valoracion <= int(std::size(ValoracionesEspanol))
               ? QString::fromUtf8(ValoracionesEspanol[valoracion - 1])
               : QString();
}

} // namespace

QString TextoEstado(const QString& estado) {
    for (const char* e : EstadosEspanol)
        if (estado == QString::fromUtf8(e))
            return QCoreApplication::translate("Visitas", e);
    return estado;
}

QStringList Valoraciones() {
    QStringList v;
    for (const char* t : ValoracionesEspanol)
        v << QCoreApplication::translate("Visitas", t);
    return v;
}

QString TextoValoracion(int valoracion) {
    const QStringList v = Valoraciones();
    return valoracion >= 1 && valoracion <= v.size() ? v.at(valoracion - 1) : QString();
}

QTime LeerHora(const QString& texto) {
    static const QRegularExpression forma(QStringLiteral("^([01][0-9]|2[0-3]):([0-5][0-9])$"));
    const auto m = forma.match(texto.trimmed());
    return m.hasMatch() ? QTime(m.captured(1).toInt(), m.captured(2).toInt()) : QTime();
}

namespace {

// The columns every reading takes, with the client's name and the property's address.
const QString Seleccion = QStringLiteral(
    "SELECT v.Cod, v.Agencia, v.CodPropiedad, v.Alquiler, v.CodCliente, v.Fecha, v.Hora, v.Duracion, "
    "v.Agente, v.Estado, v.Valoracion, v.Opinion, v.Oferta, v.Anotada, c.Nombre, p.Direccion "
    "FROM Visitas v LEFT JOIN Clientes c ON c.Cod = v.CodCliente "
    "LEFT JOIN Propiedades p ON p.Cod = v.CodPropiedad ");
const QString Orden = QStringLiteral(" ORDER BY v.Fecha, v.Hora, v.Cod");

QString texto(const db::Value& v) {
    return db::isNull(v) ? QString() : v.toString();
}

Visita deFila(const db::Row& r) {
    Visita v;
    v.cod = r.value(0).toLongLong();
    v.agencia = texto(r.value(1));
    v.codPropiedad = texto(r.value(2));
    v.alquiler = r.value(3).toBool();
    v.codCliente = texto(r.value(4));
    v.fecha = r.value(5).toDate();
    v.hora = LeerHora(texto(r.value(6)));
    v.duracion = db::isNull(r.value(7)) ? DuracionPorDefecto : r.value(7).toInt();
    v.agente = texto(r.value(8));
    v.estado = texto(r.value(9));
    v.valoracion = r.value(10).toInt();
    v.opinion = texto(r.value(11));
    if (!db::isNull(r.value(12)))
        v.oferta = r.value(12).toDouble();
    v.anotada = r.value(13).toBool();
    v.cliente = texto(r.value(14));
    v.direccion = texto(r.value(15));
    return v;
}

QList<Visita> leer(db::Database& database, const QString& donde, const db::Params& params) {
    QList<Visita> lista;
    for (const db::Row& r : database.query(Seleccion + donde + Orden, params))
        lista << deFila(r);
    return lista;
}

QStringList distintos(db::Database& database, const QString& columna) {
    QStringList lista;
    for (const db::Row& r : database.query(QStringLiteral("SELECT DISTINCT %1 FROM Visitas WHERE "
                                                          "coalesce(%1, '') <> '' ORDER BY 1")
                                               .arg(columna)))
        lista << r.value(0).toString();
    return lista;
}

} // namespace

std::optional<Visita> LeerVisita(db::Database& database, qint64 cod) {
    const QList<Visita> l = leer(database, QStringLiteral("WHERE v.Cod = ?"), {cod});
    if (l.isEmpty())
        return std::nullopt;
    return l.first();
}

QList<Visita> VisitasEntre(db::Database& database, const QDate& desde, const QDate& hasta,
                           const QString& agente, const QString& oficina) {
    QString donde = QStringLiteral("WHERE v.Fecha BETWEEN ? AND ?");
    db::Params params{FechaSQL(desde), FechaSQL(hasta)};
    if (!agente.isEmpty()) {
        donde += QStringLiteral(" AND v.Agente = ?");
        params << agente;
    }
    if (!oficina.isEmpty()) {
        donde += QStringLiteral(" AND v.Agencia = ?");
        params << oficina;
    }
    return leer(database, donde, params);
}

QList<Visita> VisitasDePropiedad(db::Database& database, const QString& codPropiedad) {
    return leer(database, QStringLiteral("WHERE v.CodPropiedad = ?"), {codPropiedad});
}

QList<Visita> VisitasDeCliente(db::Database& database, const QString& codCliente) {
    return leer(database, QStringLiteral("WHERE v.CodCliente = ?"), {codCliente});
}

QStringList AgentesConVisitas(db::Database& database) {
    return distintos(database, QStringLiteral("Agente"));
}

QStringList OficinasConVisitas(db::Database& database) {
    return distintos(database, QStringLiteral("Agencia"));
}

Problema ComprobarVisita(db::Database& database, const Visita& v) {
    auto existe = [&](const QString& tabla, const QString& cod) {
        return database.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE Cod = ?").arg(tabla), {cod})
                   .toInt() > 0;
    };
    if (v.codPropiedad.trimmed().isEmpty())
        return {QStringLiteral("CodPropiedad"),
                QCoreApplication::translate("Visitas", "Falta la propiedad de la visita (campo Propiedad).")};
    if (!existe(QStringLiteral("Propiedades"), v.codPropiedad))
        return {QStringLiteral("CodPropiedad"),
                QCoreApplication::translate("Visitas", "No existe la propiedad %1 (campo Propiedad).")
                    .arg(v.codPropiedad)};
    if (v.codCliente.trimmed().isEmpty())
        return {QStringLiteral("CodCliente"),
                QCoreApplication::translate("Visitas", "Falta el cliente de la visita (campo Cliente).")};
    if (!existe(QStringLiteral("Clientes"), v.codCliente))
        return {QStringLiteral("CodCliente"),
                QCoreApplication::translate("Visitas", "No existe el cliente %1 (campo Cliente).")
                    .arg(v.codCliente)};
    if (!v.fecha.isValid())
        return {QStringLiteral("Fecha"),
                QCoreApplication::translate("Visitas",
                                            "La fecha de la visita no es válida (campo Fecha, dd/mm/aaaa).")};
    if (!v.hora.isValid())
        return {
            QStringLiteral("Hora"),
            QCoreApplication::translate("Visitas", "La hora de la visita no es válida (campo Hora, hh:mm).")};
    if (v.duracion < 5 || v.duracion > 600)
        return {
            QStringLiteral("Duracion"),
            QCoreApplication::translate(
                "Visitas", "La duración de la visita debe estar entre 5 y 600 minutos (campo Duración).")};
    if (!Estados().contains(v.estado))
        return {
            QStringLiteral("Estado"),
            QCoreApplication::translate("Visitas", "El estado de la visita no es válido (campo Estado).")};
    if (v.valoracion < 0 || v.valoracion > 5)
        return {QStringLiteral("Valoracion"),
                QCoreApplication::translate("Visitas",
                                            "La valoración de la visita va de 1 a 5 (campo Valoración).")};
    if (v.oferta && *v.oferta < 0)
        return {QStringLiteral("Oferta"),
                QCoreApplication::translate("Visitas", "La oferta no puede ser negativa (campo Oferta).")};
    return {};
}

QStringList AvisosVisita(db::Database& database, const Visita& v) {
    QStringList avisos;
    if (v.estado != Anulada && !v.agente.trimmed().isEmpty() && v.fecha.isValid() && v.hora.isValid()) {
        // Same day only: a visit does not run past midnight.
        for (const Visita& otra : VisitasEntre(database, v.fecha, v.fecha, v.agente)) {
            if (otra.cod == v.cod || otra.estado == Anulada || !otra.hora.isValid())
                continue;
            if (otra.inicio() < v.fin() && v.inicio() < otra.fin())
                avisos << QCoreApplication::translate("Visitas",
                                                      "%1 ya tiene una visita de %2 a %3 en la propiedad %4.")
                              .arg(v.agente, otra.hora.toString(QStringLiteral("HH:mm")),
                                   otra.fin().time().toString(QStringLiteral("HH:mm")), otra.codPropiedad);
        }
    }
    const QString estado =
        database.scalar(QStringLiteral("SELECT Estado FROM Propiedades WHERE Cod = ?"), {v.codPropiedad})
            .toString();
    if (v.estado != Anulada && estado == u"Vendida")
        avisos << QCoreApplication::translate("Visitas", "La propiedad %1 está vendida.").arg(v.codPropiedad);
    else if (v.estado != Anulada && estado == u"Alquilada")
        avisos
            << QCoreApplication::translate("Visitas", "La propiedad %1 está alquilada.").arg(v.codPropiedad);
    return avisos;
}

QString TextoActividad(const Visita& v) {
    QString t = QStringLiteral("Visita realizada");
    if (!v.agente.isEmpty())
        t += QStringLiteral(" con %1").arg(v.agente);
    t += QStringLiteral(" a las ") + v.hora.toString(QStringLiteral("HH:mm"));
    if (v.valoracion > 0)
        t += QStringLiteral(". Opinión: ") + valoracionEspanol(v.valoracion).mid(4);
    if (!v.opinion.trimmed().isEmpty())
        t += QStringLiteral(". ") + v.opinion.trimmed();
    if (v.oferta)
        t += QStringLiteral(". Oferta: %1 €").arg(FormatoImporte(*v.oferta));
    // The log's line holds 255 characters; the visit keeps the whole note.
    return t.left(255);
}

bool AnotarVisita(db::Database& database, Visita& v) {
    if (v.estado != Realizada || v.anotada)
        return false;
    QString cliente = v.cliente;
    if (cliente.isEmpty())
        cliente = database.scalar(QStringLiteral("SELECT Nombre FROM Clientes WHERE Cod = ?"), {v.codCliente})
                      .toString();
    database.execute(
        QStringLiteral("INSERT INTO Actividades (Propiedad, Fecha, CodCliente, Cliente, Actividad, Agente) "
                       "VALUES (?, ?, ?, ?, ?, ?)"),
        {v.codPropiedad, FechaSQL(v.fecha), v.codCliente, cliente.left(50), TextoActividad(v),
         v.agente.left(50)});
    v.anotada = true;
    return true;
}

void GuardarVisita(db::Database& database, Visita& v) {
    db::runInTransaction(database, [&] {
        AnotarVisita(database, v);
        const db::Params valores{v.agencia,         v.codPropiedad,
                                 v.alquiler,        v.codCliente,
                                 FechaSQL(v.fecha), v.hora.toString(QStringLiteral("HH:mm")),
                                 v.duracion,        v.agente,
                                 v.estado,          v.valoracion > 0 ? db::Value(v.valoracion) : db::Value(),
                                 v.opinion,         v.oferta ? db::Value(*v.oferta) : db::Value(),
                                 v.anotada};
        const QString columnas = QStringLiteral(
            "Agencia, CodPropiedad, Alquiler, CodCliente, Fecha, Hora, Duracion, Agente, Estado, "
            "Valoracion, Opinion, Oferta, Anotada");
        if (v.cod == 0) {
            database.execute(
                QStringLiteral("INSERT INTO Visitas (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                    .arg(columnas),
                valores);
            v.cod = database.lastInsertRowId();
        } else {
            database.execute(
                QStringLiteral("UPDATE Visitas SET Agencia = ?, CodPropiedad = ?, Alquiler = ?, "
                               "CodCliente = ?, Fecha = ?, Hora = ?, Duracion = ?, Agente = ?, "
                               "Estado = ?, Valoracion = ?, Opinion = ?, Oferta = ?, Anotada = ? "
                               "WHERE Cod = ?"),
                valores + db::Params{v.cod});
        }
    });
}

namespace {

// RFC 5545: text escaped, lines of at most 75 octets folded with CRLF + space.
QByteArray escapar(const QString& t) {
    QString s = t;
    s.replace(u'\\', QStringLiteral("\\\\"));
    s.replace(u';', QStringLiteral("\\;"));
    s.replace(u',', QStringLiteral("\\,"));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    s.replace(u'\n', QStringLiteral("\\n"));
    return s.toUtf8();
}

void linea(QByteArray& out, const QByteArray& l) {
    qsizetype i = 0;
    qsizetype limite = 75;
    while (l.size() - i > limite) {
        qsizetype corte = i + limite;
        // Never inside a UTF-8 sequence.
        while (corte > i && (uchar(l.at(corte)) & 0xC0) == 0x80)
            --corte;
        out += l.mid(i, corte - i) + "\r\n ";
        i = corte;
        limite = 74; // the space that opens a continuation counts
    }
    out += l.mid(i) + "\r\n";
}

QByteArray local(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyyMMdd'T'HHmmss")).toLatin1();
}

} // namespace

QByteArray CalendarioVisitas(const QList<Visita>& lista, const QString& nombreAgencia) {
    QByteArray out;
    linea(out, "BEGIN:VCALENDAR");
    linea(out, "VERSION:2.0");
    linea(out, "PRODID:-//Orbalia//Agenda de visitas//ES");
    linea(out, "CALSCALE:GREGORIAN");
    // Spain's mainland rules since 1996: the last Sundays of March and October.
    for (const char* l :
         {"BEGIN:VTIMEZONE", "TZID:Europe/Madrid", "BEGIN:DAYLIGHT", "TZOFFSETFROM:+0100", "TZOFFSETTO:+0200",
          "TZNAME:CEST", "DTSTART:19700329T020000", "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU", "END:DAYLIGHT",
          "BEGIN:STANDARD", "TZOFFSETFROM:+0200", "TZOFFSETTO:+0100", "TZNAME:CET", "DTSTART:19701025T030000",
          "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU", "END:STANDARD", "END:VTIMEZONE"})
        linea(out, l);
    const QByteArray sello =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
    for (const Visita& v : lista) {
        if (!v.fecha.isValid() || !v.hora.isValid())
            continue;
        linea(out, "BEGIN:VEVENT");
        linea(out, "UID:visita-" + escapar(v.agencia) + '-' + QByteArray::number(v.cod) + "@orbalia");
        linea(out, "DTSTAMP:" + sello);
        linea(out, "DTSTART;TZID=Europe/Madrid:" + local(v.inicio()));
        linea(out, "DTEND;TZID=Europe/Madrid:" + local(v.fin()));
        const QString resumen =
            v.cliente.isEmpty()
                ? QCoreApplication::translate("Visitas", "Visita %1").arg(v.codPropiedad)
                : QCoreApplication::translate("Visitas", "Visita %1 con %2").arg(v.codPropiedad, v.cliente);
        linea(out, "SUMMARY:" + escapar(resumen));
        if (!v.direccion.isEmpty())
            linea(out, "LOCATION:" + escapar(v.direccion));
        QString desc = QCoreApplication::translate("Visitas", "Agente: %1\nEstado: %2")
                           .arg(v.agente, TextoEstado(v.estado));
        if (!nombreAgencia.isEmpty())
            desc.prepend(nombreAgencia + u'\n');
        linea(out, "DESCRIPTION:" + escapar(desc));
        linea(out, v.estado == Anulada ? "STATUS:CANCELLED" : "STATUS:CONFIRMED");
        linea(out, "END:VEVENT");
    }
    linea(out, "END:VCALENDAR");
    return out;
}

} // namespace orb::visitas
