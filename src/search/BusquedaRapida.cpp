#include "BusquedaRapida.h"

#include "platform/db/Database.h"
#include "platform/db/TextMatching.h"
#include "shell/Identidad.h"
#include "shell/Puesto.h"

#include <QRegularExpression>
#include <QSettings>

namespace orb {

namespace {

constexpr int kRecientes = 10;

QString Unir(const QStringList& partes) {
    QStringList llenas;
    for (const QString& p : partes)
        if (!p.trimmed().isEmpty())
            llenas << p.trimmed();
    return llenas.join(QStringLiteral(" · "));
}

} // namespace

QList<ConsultaRapida> ConsultasRapidas(const QString& texto, int limite) {
    const QString t = texto.trimmed();
    if (t.size() < 2)
        return {};
    // "Contains", the user's text taken literally.
    const QString patron = db::containsPattern(t);
    const QString telefono = TelefonoComparable(t);
    static const QRegularExpression soloTelefono(QStringLiteral("^\\+?[0-9 .()/-]+$"));
    const bool esTelefono = soloTelefono.match(t).hasMatch() && telefono.size() >= 3;
    const QString documento = DocumentoLimpio(t);
    bool esNumero = false;
    const qint64 numero = t.toLongLong(&esNumero);

    QList<ConsultaRapida> out;
    out.append({ClaseRapida::Propiedad,
                QStringLiteral("SELECT Cod, Alquiler, Direccion, Estado FROM Propiedades "
                               "WHERE Cod = ? OR QuickID = ? OR likesinacentos(?, Direccion, '\\') LIMIT ?"),
                {t, esNumero ? numero : -1, patron, limite}});
    for (const auto& [clase, tabla] : {std::pair{ClaseRapida::Propietario, QStringLiteral("Propietarios")},
                                       std::pair{ClaseRapida::Cliente, QStringLiteral("Clientes")}}) {
        QString sql = QStringLiteral("SELECT Cod, Alquiler, Nombre, Telefono, Movil, Email FROM %1 WHERE "
                                     "likesinacentos(?, Nombre, '\\') OR likesinacentos(?, Email, '\\')")
                          .arg(tabla);
        db::Params params{patron, patron};
        if (esTelefono) {
            // Any phone box, as its digits are compared.
            for (const char* c : {"Telefono", "Movil", "Fax"})
                sql += QStringLiteral(" OR instr(%1, ?) > 0").arg(SqlTelefono(QString::fromLatin1(c)));
            params << telefono << telefono << telefono;
        }
        if (documento.size() >= 5) {
            for (const char* c : {"Dni", "Nie", "Pasaporte"})
                sql += QStringLiteral(" OR %1 = ?").arg(SqlDocumento(QString::fromLatin1(c)));
            params << documento << documento << documento;
        }
        sql += QStringLiteral(" LIMIT ?");
        params << limite;
        out.append({clase, sql, params});
    }
    return out;
}

QList<Encontrado> BuscarRapido(db::Database& base, const QString& texto, int limite) {
    QList<Encontrado> out;
    for (const ConsultaRapida& c : ConsultasRapidas(texto, limite)) {
        for (const db::Row& r : base.query(c.sql, c.params)) {
            Encontrado e{c.clase, r.value(1).toBool(), r.value(0).toString(), {}};
            if (c.clase == ClaseRapida::Propiedad)
                e.texto = Unir({r.value(2).toString(), r.value(3).toString()});
            else
                e.texto = Unir({r.value(2).toString(), r.value(3).toString(), r.value(4).toString(),
                                r.value(5).toString()});
            out << e;
        }
    }
    return out;
}

QList<Encontrado> Recientes() {
    const auto ajustes = AjustesPuesto();
    QList<Encontrado> out;
    const int n = ajustes->beginReadArray(QStringLiteral("BusquedaRapida/Recientes"));
    for (int i = 0; i < n && i < kRecientes; ++i) {
        ajustes->setArrayIndex(i);
        const int clase = ajustes->value(QStringLiteral("clase")).toInt();
        if (clase < 0 || clase > 2)
            continue;
        out.append({ClaseRapida(clase), ajustes->value(QStringLiteral("alquiler")).toBool(),
                    ajustes->value(QStringLiteral("cod")).toString(),
                    ajustes->value(QStringLiteral("texto")).toString()});
    }
    ajustes->endArray();
    return out;
}

void RecordarReciente(const Encontrado& e) {
    QList<Encontrado> lista = Recientes();
    lista.removeIf([&](const Encontrado& x) {
        return x.clase == e.clase && x.alquiler == e.alquiler &&
               x.cod.compare(e.cod, Qt::CaseInsensitive) == 0;
    });
    lista.prepend(e);
    while (lista.size() > kRecientes)
        lista.removeLast();
    const auto ajustes = AjustesPuesto();
    ajustes->beginWriteArray(QStringLiteral("BusquedaRapida/Recientes"), int(lista.size()));
    for (int i = 0; i < lista.size(); ++i) {
        ajustes->setArrayIndex(i);
        ajustes->setValue(QStringLiteral("clase"), int(lista.at(i).clase));
        ajustes->setValue(QStringLiteral("alquiler"), lista.at(i).alquiler);
        ajustes->setValue(QStringLiteral("cod"), lista.at(i).cod);
        ajustes->setValue(QStringLiteral("texto"), lista.at(i).texto);
    }
    ajustes->endArray();
}

} // namespace orb
