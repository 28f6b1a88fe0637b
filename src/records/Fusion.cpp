#include "Fusion.h"

#include "dlgFusion.h"

#include "platform/db/Database.h"
#include "platform/db/Transaction.h"
#include "shell/AppContext.h"
#include "shell/CambiosRegistros.h"
#include "shell/ErrorReport.h"
#include "shell/Mensajes.h"
#include "shell/OfficeRules.h"

#include <QCoreApplication>
#include <QDate>

namespace orb {

namespace {

struct Campo {
    const char* campo;
    const char* rotulo;
    bool soloClientes;
};

constexpr Campo kCampos[] = {
    {"Nombre", QT_TRANSLATE_NOOP("Fusion", "Nombre"), false},
    {"Direccion", QT_TRANSLATE_NOOP("Fusion", "Dirección"), false},
    {"Localidad", QT_TRANSLATE_NOOP("Fusion", "Localidad"), false},
    {"Cp", QT_TRANSLATE_NOOP("Fusion", "CP"), false},
    {"Provincia", QT_TRANSLATE_NOOP("Fusion", "Provincia"), false},
    {"Telefono", QT_TRANSLATE_NOOP("Fusion", "Teléfono"), false},
    {"Movil", QT_TRANSLATE_NOOP("Fusion", "Móvil"), false},
    {"Fax", QT_TRANSLATE_NOOP("Fusion", "Fax"), false},
    {"Email", QT_TRANSLATE_NOOP("Fusion", "Email"), false},
    {"Dni", QT_TRANSLATE_NOOP("Fusion", "DNI"), false},
    {"Pasaporte", QT_TRANSLATE_NOOP("Fusion", "Pasaporte"), false},
    {"Nie", QT_TRANSLATE_NOOP("Fusion", "NIE"), false},
    {"Estado", QT_TRANSLATE_NOOP("Fusion", "Estado"), true},
    {"Presupuesto", QT_TRANSLATE_NOOP("Fusion", "Presupuesto"), true},
    {"PresupuestoMinimo", QT_TRANSLATE_NOOP("Fusion", "Presupuesto mínimo"), true},
    {"CodTipo", QT_TRANSLATE_NOOP("Fusion", "Tipo"), true},
    {"Agente", QT_TRANSLATE_NOOP("Fusion", "Agente"), true},
    {"Requiere", QT_TRANSLATE_NOOP("Fusion", "Requiere"), true},
};

bool Vacio(const db::Value& v) {
    return db::isNull(v) || v.toString().trimmed().isEmpty() ||
           (v.typeId() != QMetaType::QString && v.toDouble() == 0);
}

QList<Campo> CamposDe(TablaFusion t) {
    QList<Campo> out;
    for (const Campo& c : kCampos)
        if (!c.soloClientes || t == TablaFusion::Clientes)
            out << c;
    return out;
}

} // namespace

QString NombreTabla(TablaFusion t) {
    return t == TablaFusion::Clientes ? QStringLiteral("Clientes") : QStringLiteral("Propietarios");
}

QList<CampoFusion> CamposFusion(db::Database& base, TablaFusion t, const QString& queda,
                                const QString& sale) {
    const QList<Campo> campos = CamposDe(t);
    QStringList columnas{QStringLiteral("FechaAlta")};
    for (const Campo& c : campos)
        columnas << QString::fromLatin1(c.campo);
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2 WHERE Cod = ?").arg(columnas.join(u','), NombreTabla(t));
    const QList<db::Row> a = base.query(sql, {queda});
    const QList<db::Row> b = base.query(sql, {sale});
    if (a.isEmpty() || b.isEmpty())
        return {};
    // A later date of entry is the more recent record; the kept one wins a tie.
    const bool saleMasReciente = b.first().value(0).toDate() > a.first().value(0).toDate();
    QList<CampoFusion> out;
    for (int i = 0; i < campos.size(); ++i) {
        CampoFusion f{QString::fromLatin1(campos.at(i).campo),
                      QCoreApplication::translate("Fusion", campos.at(i).rotulo), a.first().value(i + 1),
                      b.first().value(i + 1), false};
        if (Vacio(f.queda))
            f.delQueSale = !Vacio(f.sale);
        else if (!Vacio(f.sale))
            f.delQueSale = saleMasReciente;
        out << f;
    }
    return out;
}

void Fusionar(db::Database& base, TablaFusion t, const QString& oficina, const QString& queda,
              const QString& sale, const QList<CampoFusion>& campos) {
    const QString tabla = NombreTabla(t);
    db::Transaction tr(base);
    const QList<db::Row> filas = base.query(
        QStringLiteral("SELECT Cod, Agencia, Nombre, Comentarios FROM %1 WHERE Cod IN (?, ?)").arg(tabla),
        {queda, sale});
    db::Row kept, gone;
    for (const db::Row& r : filas)
        (r.value(0).toString().compare(queda, Qt::CaseInsensitive) == 0 ? kept : gone) = r;
    if (kept.isEmpty() || gone.isEmpty() || queda.compare(sale, Qt::CaseInsensitive) == 0)
        throw db::DbError(db::ErrNoCurrentRecord,
                          QCoreApplication::translate("Fusion", "No existe uno de los registros a fusionar"));
    if (kept.value(1).toString() != oficina || gone.value(1).toString() != oficina)
        throw db::DbError(db::ErrGeneric, QCoreApplication::translate(
                                              "Fusion", "Uno de los registros no pertenece a esta oficina"));

    // The kept record: the chosen values, both comments and the merge noted in them.
    QStringList asignaciones;
    db::Params valores;
    QString nombre = kept.value(2).toString();
    for (const CampoFusion& c : campos) {
        asignaciones << c.campo + QStringLiteral(" = ?");
        valores << (c.delQueSale ? c.sale : c.queda);
        if (c.campo == u"Nombre")
            nombre = valores.last().toString();
    }
    QStringList comentarios;
    for (const db::Row* r : {&kept, &gone})
        if (const QString c = r->value(3).toString().trimmed(); !c.isEmpty())
            comentarios << c;
    comentarios << QStringLiteral("%1: fusionado con %2 (%3), que se ha eliminado.")
                       .arg(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")),
                            gone.value(0).toString(), gone.value(2).toString());
    asignaciones << QStringLiteral("Comentarios = ?");
    valores << comentarios.join(u'\n');
    // A seat showing the kept record must see that it changed.
    asignaciones << QStringLiteral("Version = coalesce(Version, 0) + 1");
    valores << queda;
    base.execute(
        QStringLiteral("UPDATE %1 SET %2 WHERE Cod = ?").arg(tabla, asignaciones.join(QStringLiteral(", "))),
        valores);

    for (const Referencia& r : Referencias) {
        if (r.de != t)
            continue;
        const QString rt = QString::fromLatin1(r.tabla);
        const QString col = QString::fromLatin1(r.columna);
        if (r.mismaFila) {
            // A row the kept record already has would be there twice.
            QStringList iguales;
            for (const QString& c : QString::fromLatin1(r.mismaFila).split(u','))
                iguales << QStringLiteral("k.%1 IS NOT DISTINCT FROM %2.%1").arg(c.trimmed(), rt);
            base.execute(
                QStringLiteral(
                    "DELETE FROM %1 WHERE %2 = ? AND EXISTS (SELECT 1 FROM %1 k WHERE k.%2 = ? AND %3)")
                    .arg(rt, col, iguales.join(QStringLiteral(" AND "))),
                {sale, queda});
        }
        if (r.nombre)
            base.execute(QStringLiteral("UPDATE %1 SET %2 = ?, %3 = ? WHERE %2 = ?")
                             .arg(rt, col, QString::fromLatin1(r.nombre)),
                         {queda, nombre, sale});
        else
            base.execute(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %2 = ?").arg(rt, col), {queda, sale});
    }
    base.execute(QStringLiteral("DELETE FROM %1 WHERE Cod = ?").arg(tabla), {sale});
    tr.commit();
}

bool FusionarConDialogo(AppContext& ctx, QWidget* parent, TablaFusion t, const QString& queda,
                        const QString& sale) {
    const QString accion = QCoreApplication::translate("Fusion", "fusionar los registros");
    try {
        if (queda.compare(sale, Qt::CaseInsensitive) == 0) {
            MensajeError(*ctx.dialogs,
                         QCoreApplication::translate(
                             "Fusion", "Ha elegido el mismo registro: no hay nada que fusionar."),
                         parent);
            return false;
        }
        const QString oficinaOtro =
            ctx.db()
                .scalar(QStringLiteral("SELECT Agencia FROM %1 WHERE Cod = ?").arg(NombreTabla(t)), {sale})
                .toString();
        if (NoPerteneceOficina(ctx, oficinaOtro))
            return false;
        QList<CampoFusion> campos = CamposFusion(ctx.db(), t, queda, sale);
        if (campos.isEmpty())
            return false;
        dlgFusion dlg(queda, sale, campos, parent);
        if (dlg.exec() != QDialog::Accepted)
            return false;
        Fusionar(ctx.db(), t, ctx.facts.CodigoOficina, queda, sale, dlg.campos());
    } catch (const db::DbError& e) {
        InformarErrorBaseDatos(
            *ctx.dialogs, parent, accion,
            QCoreApplication::translate("Fusion", "No se han podido fusionar los registros."), e, {},
            ctx.RutaBaseDatos);
        return false;
    }
    ctx.cambios.avisar(NombreTabla(t), queda);
    ctx.cambios.avisar(NombreTabla(t), sale);
    for (const Referencia& r : Referencias)
        if (r.de == t)
            ctx.cambios.avisar(QString::fromLatin1(r.tabla), {});
    return true;
}

} // namespace orb
