#include "BusquedaRapida.h"

#include "platform/db/Database.h"
#include "platform/db/TextMatching.h"
#include "shell/Identidad.h"
#include "shell/Puesto.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
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
    // "Contains", the user's text taken literally. Each statement is answered
    // by one index: the contains scans read an index that holds every column
    // they test and return, never the wide rows.
    const QString patron = db::containsPattern(t);
    QList<ConsultaRapida> out;
    out.append(
        {ClaseRapida::Propiedad,
         QStringLiteral("SELECT Cod, Alquiler, Direccion, Estado FROM Propiedades "
                        "WHERE likesinacentos(?, Cod, '\\') OR likesinacentos(?, Direccion, '\\') LIMIT ?"),
         {patron, patron, limite}});

    const QString telefono = TelefonoComparable(t);
    static const QRegularExpression soloTelefono(QStringLiteral("^\\+?[0-9 .()/-]+$"));
    const bool esTelefono = soloTelefono.match(t).hasMatch() && telefono.size() >= 3;
    const QString documento = DocumentoLimpio(t);
    static const QRegularExpression esDocumento(QStringLiteral("^[A-Z]?[0-9]{5,}[A-Z0-9]?$"));
    for (const auto& [clase, tabla] : {std::pair{ClaseRapida::Propietario, QStringLiteral("Propietarios")},
                                       std::pair{ClaseRapida::Cliente, QStringLiteral("Clientes")}}) {
        out.append(
            {clase,
             // Named: the planner would read the table's wide rows instead.
             QStringLiteral("SELECT Cod, Alquiler, Nombre, Email FROM %1 INDEXED BY %1_BusquedaRapida "
                            "WHERE likesinacentos(?, Nombre, '\\') OR likesinacentos(?, Email, '\\') LIMIT ?")
                 .arg(tabla),
             {patron, patron, limite}});
        // A phone by its start, in each box and each stored form: a range of its index.
        if (esTelefono)
            for (const char* c : {"Telefono", "Movil", "Fax"}) {
                const QString expr = SqlTelefono(QString::fromLatin1(c));
                for (const QString& forma : FormasTelefono(telefono)) {
                    QString hasta = forma;
                    hasta.back() = QChar(hasta.back().unicode() + 1);
                    out.append({clase,
                                QStringLiteral(
                                    "SELECT Cod, Alquiler, Nombre, Email FROM %1 WHERE Alquiler IN (0, 1) "
                                    "AND %2 >= ? AND %2 < ? LIMIT ?")
                                    .arg(tabla, expr),
                                {forma, hasta, limite}});
                }
            }
        if (esDocumento.match(documento).hasMatch())
            for (const char* c : {"Dni", "Nie", "Pasaporte"})
                out.append(
                    {clase,
                     QStringLiteral("SELECT Cod, Alquiler, Nombre, Email FROM %1 WHERE Alquiler IN (0, 1) "
                                    "AND %2 = ? LIMIT ?")
                         .arg(tabla, SqlDocumento(QString::fromLatin1(c))),
                     {documento, limite}});
    }
    return out;
}

QList<Encontrado> BuscarRapido(db::Database& base, const QString& texto, int limite) {
    QList<Encontrado> out;
    QSet<QString> vistos;
    QHash<int, int> porClase;
    for (const ConsultaRapida& c : ConsultasRapidas(texto, limite)) {
        if (porClase.value(int(c.clase)) >= limite)
            continue;
        for (const db::Row& r : base.query(c.sql, c.params)) {
            const QString clave = QString::number(int(c.clase)) + u'|' + r.value(0).toString();
            if (vistos.contains(clave) || porClase.value(int(c.clase)) >= limite)
                continue;
            vistos.insert(clave);
            ++porClase[int(c.clase)];
            out.append({c.clase, r.value(1).toBool(), r.value(0).toString(),
                        Unir({r.value(2).toString(), r.value(3).toString()})});
        }
    }
    // Grouped by kind whatever statement found them.
    std::stable_sort(out.begin(), out.end(),
                     [](const Encontrado& a, const Encontrado& b) { return int(a.clase) < int(b.clase); });
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
