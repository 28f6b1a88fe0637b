#include "Agentes.h"

#include "AppContext.h"
#include "ErrorReport.h"
#include "Puesto.h"

#include "platform/db/Database.h"
#include "platform/widgets/DialogService.h"

#include <QCoreApplication>

namespace orb {

QStringList NombresAgentes(db::Database& database, const QString& oficina) {
    QStringList out;
    const QList<db::Row> filas =
        oficina.isEmpty()
            ? database.query(QStringLiteral("SELECT Nombre FROM Agentes WHERE Activo ORDER BY Nombre"))
            : database.query(
                  QStringLiteral("SELECT Nombre FROM Agentes WHERE Activo AND Oficina = ? ORDER BY Nombre"),
                  {oficina});
    for (const db::Row& f : filas)
        out << f.value(0).toString();
    return out;
}

QStringList OficinasDelServidor(db::Database& database) {
    QStringList out;
    if (!database.onServer())
        return out;
    for (const db::Row& f : database.query(
             QStringLiteral("SELECT oficina FROM orbalia_oficinas ORDER BY oficina COLLATE \"C\"")))
        out << f.value(0).toString();
    return out;
}

QString UltimoAgente() {
    return AjustesPuesto()->value(QStringLiteral("Agente/Ultimo")).toString();
}

void GuardarUltimoAgente(const QString& nombre) {
    AjustesPuesto()->setValue(QStringLiteral("Agente/Ultimo"), nombre);
}

namespace {

bool DelServidor(AppContext& ctx) {
    const QList<db::Row> filas = ctx.db().query(QStringLiteral(
        "SELECT a.Cod, a.Nombre, a.Oficina, coalesce(o.principal, FALSE) FROM Agentes a LEFT JOIN "
        "orbalia_oficinas o ON o.oficina COLLATE \"C\" = CAST(a.Oficina AS text) COLLATE \"C\" WHERE "
        "CAST(a.Usuario AS text) COLLATE \"C\" = CAST(session_user AS text) AND a.Activo"));
    if (filas.isEmpty())
        return false;
    const db::Row& f = filas.first();
    ctx.agente = {f.value(0).toLongLong(), f.value(1).toString(), f.value(2).toString()};
    // The server holds every office: the seat works as its agent's.
    ctx.facts.CodigoOficina = ctx.agente.oficina;
    ctx.facts.OficinaPrincipal = f.value(3).toBool();
    return true;
}

void DelFichero(AppContext& ctx, QWidget* parent) {
    QStringList nombres = NombresAgentes(ctx.db(), ctx.facts.CodigoOficina);
    if (nombres.isEmpty())
        nombres = NombresAgentes(ctx.db());
    if (nombres.isEmpty() || !ctx.dialogs)
        return;
    ui::DialogService::SignIn peticion;
    peticion.title = QCoreApplication::translate("Agentes", "Agente");
    peticion.text = QCoreApplication::translate("Agentes", "¿Quién trabaja en este puesto?");
    peticion.users = nombres;
    peticion.editable = false;
    peticion.askPassword = false;
    const QString ultimo = UltimoAgente();
    QString nombre = nombres.contains(ultimo) ? ultimo : nombres.first(), clave;
    if (!ctx.dialogs->signIn(parent, peticion, nombre, clave) || !nombres.contains(nombre))
        return;
    const db::Row f =
        ctx.db()
            .query(QStringLiteral("SELECT Cod, Nombre, Oficina FROM Agentes WHERE Nombre = ? AND "
                                  "Activo ORDER BY Cod"),
                   {nombre})
            .value(0);
    ctx.agente = {f.value(0).toLongLong(), f.value(1).toString(), f.value(2).toString()};
    GuardarUltimoAgente(nombre);
}

} // namespace

void IdentificarAgente(AppContext& ctx, QWidget* parent) {
    ctx.agente = {};
    try {
        if (ctx.db().onServer())
            DelServidor(ctx);
        else
            DelFichero(ctx, parent);
    } catch (const db::DbError& e) {
        RegistrarError(QCoreApplication::translate("Agentes", "leer los agentes"), e);
    }
}

} // namespace orb
