// The quick search's text index on the agency file. Not among the shared
// definitions the server schema is made from: FTS5 tables and these triggers
// exist in SQLite only.

#include "SchemaBusquedaRapida.h"

#include "platform/db/Database.h"

#include <QCoreApplication>

namespace orb::schema {

QList<IndiceTexto> indicesTexto() {
    return {
        {QStringLiteral("BusquedaRapidaPropiedades"),
         QStringLiteral("Propiedades"),
         {QStringLiteral("Cod"), QStringLiteral("Direccion")}},
        {QStringLiteral("BusquedaRapidaPropietarios"),
         QStringLiteral("Propietarios"),
         {QStringLiteral("Nombre"), QStringLiteral("Email")}},
        {QStringLiteral("BusquedaRapidaClientes"),
         QStringLiteral("Clientes"),
         {QStringLiteral("Nombre"), QStringLiteral("Email")}},
    };
}

QString indiceTextoDe(const QString& tabla) {
    for (const IndiceTexto& i : indicesTexto())
        if (i.tabla.compare(tabla, Qt::CaseInsensitive) == 0)
            return i.nombre;
    return {};
}

bool soloEnArchivo(const QString& tabla) {
    for (const IndiceTexto& i : indicesTexto())
        if (tabla.compare(i.nombre, Qt::CaseInsensitive) == 0 ||
            tabla.startsWith(i.nombre + u'_', Qt::CaseInsensitive))
            return true;
    return false;
}

namespace detail {

namespace {

// The table's columns: those searched, and Cod (unsearched when it is not
// one of them).
QStringList columnas(const IndiceTexto& i) {
    QStringList out = i.campos;
    if (!out.contains(QStringLiteral("Cod")))
        out << QStringLiteral("Cod");
    return out;
}

QString definiciones(const IndiceTexto& i) {
    QStringList out = i.campos;
    if (!out.contains(QStringLiteral("Cod")))
        out << QStringLiteral("Cod UNINDEXED");
    return out.join(QStringLiteral(", "));
}

// "NEW.Cod, sinacentos(NEW.Direccion)": the searched texts without their
// accents, the code as it is (it is compared with the table's).
QString valores(const IndiceTexto& i, const QString& fila) {
    QStringList out;
    for (const QString& c : columnas(i))
        out << (c == u"Cod" ? fila + c : QStringLiteral("sinacentos(%1%2)").arg(fila, c));
    return out.join(QStringLiteral(", "));
}

} // namespace

QStringList crearIndicesTexto() {
    QStringList out;
    for (const IndiceTexto& i : indicesTexto()) {
        const QString campos = columnas(i).join(QStringLiteral(", "));
        out << QStringLiteral(
                   "CREATE VIRTUAL TABLE IF NOT EXISTS \"%1\" USING fts5(%2, tokenize = 'trigram')")
                   .arg(i.nombre, definiciones(i));
        const QString insertar = QStringLiteral("INSERT INTO \"%1\" (rowid, %2) VALUES (NEW.rowid, %3);")
                                     .arg(i.nombre, campos, valores(i, QStringLiteral("NEW.")));
        // The insert clears the rowid first: a row left by a REPLACE (which
        // fires no delete trigger) never stands for the new row, nor makes an
        // INSERT OR IGNORE outside skip this insert without a word.
        out << QStringLiteral("CREATE TRIGGER IF NOT EXISTS \"%1_Alta\" AFTER INSERT ON \"%2\" BEGIN "
                              "DELETE FROM \"%1\" WHERE rowid = NEW.rowid; %3 END")
                   .arg(i.nombre, i.tabla, insertar);
        QStringList cambiado{QStringLiteral("OLD.rowid IS NOT NEW.rowid")};
        // In bytes: the columns' own collation would call a change of case no change.
        for (const QString& c : columnas(i))
            cambiado << QStringLiteral("OLD.%1 IS NOT NEW.%1 COLLATE BINARY").arg(c);
        out << QStringLiteral("CREATE TRIGGER IF NOT EXISTS \"%1_Cambio\" AFTER UPDATE OF %3 ON \"%2\" "
                              "WHEN %4 BEGIN DELETE FROM \"%1\" WHERE rowid = OLD.rowid; "
                              "DELETE FROM \"%1\" WHERE rowid = NEW.rowid; %5 END")
                   .arg(i.nombre, i.tabla, campos, cambiado.join(QStringLiteral(" OR ")), insertar);
        out << QStringLiteral("CREATE TRIGGER IF NOT EXISTS \"%1_Baja\" AFTER DELETE ON \"%2\" BEGIN "
                              "DELETE FROM \"%1\" WHERE rowid = OLD.rowid; END")
                   .arg(i.nombre, i.tabla);
    }
    return out;
}

QStringList pasoBusquedaRapida(db::Database& database) {
    QStringList done;
    for (const QString& sql : crearIndicesTexto())
        database.executeScript(sql);
    // Filled again whatever it held: the step may meet a table a later
    // definition made, and the rows stored before it are the ones to find.
    for (const IndiceTexto& i : indicesTexto()) {
        database.execute(QStringLiteral("DELETE FROM \"%1\"").arg(i.nombre));
        const int filas = database.execute(
            QStringLiteral("INSERT INTO \"%1\" (rowid, %2) SELECT rowid, %3 FROM \"%4\"")
                .arg(i.nombre, columnas(i).join(QStringLiteral(", ")), valores(i, QString()), i.tabla));
        // One segment instead of the many a bulk insert leaves: fewer lists to merge per search.
        database.execute(QStringLiteral("INSERT INTO \"%1\" (\"%1\") VALUES ('optimize')").arg(i.nombre));
        done << QCoreApplication::translate("SchemaBusquedaRapida", "índice de texto %1 con %n filas",
                                            nullptr, filas)
                    .arg(i.nombre);
    }
    return done;
}

QStringList crearTrigramasServidor() {
    QStringList out;
    for (const IndiceTexto& i : indicesTexto()) {
        QStringList partes;
        for (const QString& c : i.campos)
            partes << QStringLiteral("orb_plegar(%1) gin_trgm_ops").arg(c.toLower());
        out << QStringLiteral("CREATE INDEX IF NOT EXISTS %1_trigramas ON %2 USING gin (%3)")
                   .arg(i.nombre.toLower(), i.tabla.toLower(), partes.join(QStringLiteral(", ")));
    }
    return out;
}

} // namespace detail
} // namespace orb::schema
