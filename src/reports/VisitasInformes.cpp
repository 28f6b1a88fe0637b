#include "VisitasInformes.h"

#include "Email.h"
#include "Informes.h"
#include "platform/report/Report.h"
#include "shell/AppContext.h"
#include "shell/ConfigStore.h"
#include "shell/Fechas.h"
#include "shell/Mensajes.h"
#include "shell/Numeros.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orb::visitas {

QString TextoHojaPorDefecto() {
    return QCoreApplication::translate(
        "VisitasInformes",
        "El cliente abajo firmante declara que la agencia le ha presentado y mostrado las propiedades "
        "relacionadas en esta hoja, de las que no tenía conocimiento por otra vía, y se compromete a "
        "tratar cualquier operación sobre ellas a través de la agencia. Los datos personales se tratan "
        "solo para la gestión de estas visitas.");
}

QString TextoHoja(db::Database& database) {
    const db::Value v = LeerConfig(database, QStringLiteral("VISITAS"), QStringLiteral("TEXTOHOJA"));
    const QString t = db::isNull(v) ? QString() : v.toString().trimmed();
    return t.isEmpty() ? TextoHojaPorDefecto() : t;
}

QList<Visita> VisitasDelDia(db::Database& database, const QString& codCliente, const QDate& fecha) {
    QList<Visita> lista;
    for (const Visita& v : VisitasDeCliente(database, codCliente))
        if (v.fecha == fecha && v.estado != Anulada)
            lista << v;
    return lista;
}

namespace {

QString logo(const AppContext& ctx) {
    const QString l = ctx.RutaAplicacion + QStringLiteral("DossierLogo.jpg");
    return QFileInfo(l).isFile() ? l : QString();
}

QString hora(const QTime& t) {
    return t.toString(QStringLiteral("HH:mm"));
}

report::Report cargar(AppContext& ctx, const QString& nombre) {
    reports::RegistrarDisenos();
    report::Report r =
        report::Report::load(QStringLiteral(":/reports/%1.xml").arg(nombre), reports::ContextoDisenos);
    r.setImageFolder(ctx.RutaFotos);
    r.setParameter(QStringLiteral("NombreAgencia"), ctx.facts.NombreAgencia);
    const QString l = logo(ctx);
    r.setBandHook(report::BandKind::ReportHeader, [l](report::BandContext& c) {
        if (!l.isEmpty())
            c.setImage(QStringLiteral("imgLogo"), l);
    });
    return r;
}

QString nombreFichero(QString t) {
    // Letters and digits only: a code goes into a file name.
    for (QChar& c : t)
        if (!c.isLetterOrNumber())
            c = u'_';
    return t;
}

} // namespace

QString RutaHojaVisita(const AppContext& ctx, const Visita& v) {
    return ctx.RutaAplicacion +
           QStringLiteral("HojaVisita_%1_%2.pdf")
               .arg(nombreFichero(v.codCliente), v.fecha.toString(QStringLiteral("yyyyMMdd")));
}

report::Document GenerarHojaVisita(AppContext& ctx, const QList<Visita>& lista) {
    db::Database& database = ctx.db();
    report::Report r = cargar(ctx, QStringLiteral("repHojaVisita"));
    QString cliente, documento, fecha;
    if (!lista.isEmpty()) {
        const QList<db::Row> c =
            database.query(QStringLiteral("SELECT Nombre, Dni, Nie, Pasaporte FROM Clientes WHERE Cod = ?"),
                           {lista.first().codCliente});
        if (!c.isEmpty()) {
            cliente = c.first().value(0).toString();
            for (int i = 1; i <= 3 && documento.isEmpty(); ++i)
                documento = c.first().value(i).toString().trimmed();
        }
        fecha = FormatoFecha(lista.first().fecha);
    }
    r.setParameter(QStringLiteral("Cliente"), cliente);
    r.setParameter(QStringLiteral("Documento"), documento);
    r.setParameter(QStringLiteral("Fecha"), fecha);
    r.setParameter(QStringLiteral("Texto"), TextoHoja(database));

    QList<QVariantList> filas;
    for (const Visita& v : lista) {
        const QList<db::Row> p = database.query(
            QStringLiteral("SELECT Direccion, Precio, PrecioAlquiler, Alquiler, Foto1, Foto2, Foto3, Foto4, "
                           "Foto5, Foto6, (SELECT Nombre FROM Localidades l WHERE l.Cod = CodLocalidad) "
                           "FROM Propiedades WHERE Cod = ?"),
            {v.codPropiedad});
        QString direccion, precio, foto;
        if (!p.isEmpty()) {
            const db::Row& f = p.first();
            direccion = f.value(0).toString();
            if (const QString localidad = f.value(10).toString(); !localidad.isEmpty())
                direccion += (direccion.isEmpty() ? QString() : QStringLiteral(", ")) + localidad;
            const db::Value importe = f.value(3).toBool() ? f.value(2) : f.value(1);
            if (!db::isNull(importe))
                precio = FormatoImporte(importe) +
                         (f.value(3).toBool() ? QCoreApplication::translate("VisitasInformes", " €/mes")
                                              : QStringLiteral(" €"));
            for (int i = 4; i <= 9 && foto.isEmpty(); ++i) {
                const QString nombre = f.value(i).toString().trimmed();
                if (!nombre.isEmpty() && QFileInfo(ctx.RutaFotos + nombre).isFile())
                    foto = ctx.RutaFotos + nombre;
            }
        }
        filas << QVariantList{v.codPropiedad, direccion, precio, hora(v.hora), v.agente, foto};
    }
    r.setBandHook(report::BandKind::Detail, [](report::BandContext& c) {
        const QString foto = c.value(QStringLiteral("Foto")).toString();
        if (!foto.isEmpty())
            c.setImage(QStringLiteral("imgFoto"), foto);
    });
    report::RowsDataSource fuente({QStringLiteral("Referencia"), QStringLiteral("Direccion"),
                                   QStringLiteral("Precio"), QStringLiteral("Hora"), QStringLiteral("Agente"),
                                   QStringLiteral("Foto")},
                                  filas);
    return r.generate(&fuente);
}

QDate DesdePorDefecto(const QDate& hoy) {
    return hoy.addDays(-30);
}

ResumenPropietario LeerResumenPropietario(db::Database& database, const QString& codPropiedad,
                                          const QDate& desde, const QDate& hasta, int coincidencias) {
    ResumenPropietario r;
    r.desde = desde;
    r.hasta = hasta;
    r.referencia = codPropiedad;
    r.coincidencias = coincidencias;
    for (const Visita& v : VisitasDePropiedad(database, codPropiedad)) {
        if (v.fecha < desde || v.fecha > hasta)
            continue;
        r.visitas << v;
        if (v.estado == Realizada)
            ++r.realizadas;
        else if (v.estado == Anulada)
            ++r.anuladas;
        else if (v.estado == NoPresentado)
            ++r.noPresentado;
        else
            ++r.previstas;
        if (v.oferta) {
            ++r.ofertas;
            if (!r.mejorOferta || *v.oferta > *r.mejorOferta)
                r.mejorOferta = v.oferta;
        }
    }
    const QList<db::Row> p =
        database.query(QStringLiteral("SELECT p.Direccion, p.FechaAlta, o.Nombre, o.Email FROM Propiedades p "
                                      "LEFT JOIN Propietarios o ON o.Cod = p.CodPropietario WHERE p.Cod = ?"),
                       {codPropiedad});
    if (!p.isEmpty()) {
        r.direccion = p.first().value(0).toString();
        const QDate alta = p.first().value(1).toDate();
        if (alta.isValid())
            r.diasEnMercado = int(alta.daysTo(hasta));
        r.propietario = p.first().value(2).toString();
        r.emailPropietario = p.first().value(3).toString().trimmed();
    }
    r.dossierEnviado =
        database
            .scalar(QStringLiteral("SELECT count(*) FROM PropiedadesEnviadas WHERE CodPropiedad = ?"),
                    {codPropiedad})
            .toInt();
    return r;
}

QString RutaInformePropietario(const AppContext& ctx, const QString& codPropiedad) {
    return ctx.RutaAplicacion + QStringLiteral("InformePropietario_%1.pdf").arg(nombreFichero(codPropiedad));
}

report::Document GenerarInformePropietario(AppContext& ctx, const ResumenPropietario& s) {
    report::Report r = cargar(ctx, QStringLiteral("repInformePropietario"));
    r.setParameter(QStringLiteral("Propietario"), s.propietario);
    r.setParameter(QStringLiteral("Propiedad"),
                   s.direccion.isEmpty() ? s.referencia : s.referencia + QStringLiteral(" — ") + s.direccion);
    r.setParameter(QStringLiteral("Periodo"), QCoreApplication::translate("VisitasInformes", "del %1 al %2")
                                                  .arg(FormatoFecha(s.desde), FormatoFecha(s.hasta)));
    QStringList resumen;
    resumen << QCoreApplication::translate(
                   "VisitasInformes",
                   "Visitas: %1 (realizadas %2, previstas %3, anuladas %4, no presentado %5).")
                   .arg(s.visitas.size())
                   .arg(s.realizadas)
                   .arg(s.previstas)
                   .arg(s.anuladas)
                   .arg(s.noPresentado);
    resumen << (s.ofertas == 0
                    ? QCoreApplication::translate("VisitasInformes", "Ofertas: ninguna.")
                    : QCoreApplication::translate("VisitasInformes", "Ofertas: %1; la mayor, %2 €.")
                          .arg(s.ofertas)
                          .arg(FormatoImporte(*s.mejorOferta)));
    resumen << QCoreApplication::translate(
                   "VisitasInformes",
                   "Clientes que buscan una propiedad como esta: %1; se ha enviado el dossier a %2.")
                   .arg(s.coincidencias)
                   .arg(s.dossierEnviado);
    if (s.diasEnMercado >= 0)
        resumen
            << QCoreApplication::translate("VisitasInformes", "Días en el mercado: %1.").arg(s.diasEnMercado);
    r.setParameter(QStringLiteral("Resumen"), resumen.join(u'\n'));

    QList<QVariantList> filas;
    for (const Visita& v : s.visitas) {
        QString opinion = TextoValoracion(v.valoracion).mid(4);
        if (!v.opinion.trimmed().isEmpty())
            opinion += (opinion.isEmpty() ? QString() : QStringLiteral(". ")) + v.opinion.trimmed();
        filas << QVariantList{FormatoFecha(v.fecha), hora(v.hora), TextoEstado(v.estado), opinion,
                              v.oferta ? FormatoImporte(*v.oferta) + QStringLiteral(" €") : QString()};
    }
    report::RowsDataSource fuente({QStringLiteral("Fecha"), QStringLiteral("Hora"), QStringLiteral("Estado"),
                                   QStringLiteral("Opinion"), QStringLiteral("Oferta")},
                                  filas);
    return r.generate(&fuente);
}

bool EnviarInformePropietario(AppContext& ctx, QWidget* parent, const ResumenPropietario& s) {
    if (s.emailPropietario.isEmpty()) {
        MensajeError(*ctx.dialogs,
                     QCoreApplication::translate(
                         "VisitasInformes", "El propietario de la propiedad %1 no tiene dirección de correo "
                                            "(campo Email). No se ha enviado el informe.")
                         .arg(s.referencia),
                     parent);
        return false;
    }
    const QString fichero = RutaInformePropietario(ctx, s.referencia);
    GenerarInformePropietario(ctx, s).writePdf(fichero);
    const QString periodo = QStringLiteral("%1 - %2").arg(FormatoFecha(s.desde), FormatoFecha(s.hasta));
    if (!EmailConDocumento(
            ctx, parent, s.emailPropietario, s.propietario,
            QCoreApplication::translate("VisitasInformes", "Informe de su propiedad %1").arg(s.referencia),
            QCoreApplication::translate("VisitasInformes",
                                        "Le enviamos el informe de su propiedad %1 del periodo %2.")
                .arg(s.referencia, periodo),
            QDir::toNativeSeparators(fichero)))
        return false;
    ctx.db().execute(
        QStringLiteral("INSERT INTO Actividades (Propiedad, Fecha, CodCliente, Cliente, Actividad) "
                       "VALUES (?, ?, '', '', ?)"),
        {s.referencia, FechaSQL(QDate::currentDate()),
         QStringLiteral("Informe al propietario enviado (%1)").arg(periodo)});
    ctx.cambios.avisar(QStringLiteral("Actividades"), s.referencia);
    return true;
}

bool EnviarHojaVisita(AppContext& ctx, QWidget* parent, const QList<Visita>& lista) {
    if (lista.isEmpty())
        return false;
    const Visita& v = lista.first();
    const QList<db::Row> c =
        ctx.db().query(QStringLiteral("SELECT Nombre, Email FROM Clientes WHERE Cod = ?"), {v.codCliente});
    const QString nombre = c.isEmpty() ? QString() : c.first().value(0).toString();
    const QString email = c.isEmpty() ? QString() : c.first().value(1).toString().trimmed();
    const QString fichero = RutaHojaVisita(ctx, v);
    GenerarHojaVisita(ctx, lista).writePdf(fichero);
    return EmailConDocumento(
        ctx, parent, email, nombre,
        QCoreApplication::translate("VisitasInformes", "Hoja de visita del %1").arg(FormatoFecha(v.fecha)),
        QCoreApplication::translate("VisitasInformes", "Le adjuntamos la hoja de las visitas del %1.")
            .arg(FormatoFecha(v.fecha)),
        QDir::toNativeSeparators(fichero));
}

} // namespace orb::visitas
