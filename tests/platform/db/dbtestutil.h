#pragma once

// What the database tests share: a throw-away file with a small agency-like schema.

#include "platform/db/Recordset.h"
#include "platform/db/TextMatching.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace dbtest {

// The error number f throws, 0 when it succeeds.
template <typename F> int errorOf(F&& f) {
    try {
        f();
    } catch (const db::DbError& e) {
        return e.number();
    }
    return 0;
}

inline const char* const kSchema = R"(
CREATE TABLE Clientes (
    Cod VARCHAR(10) COLLATE es NOT NULL CHECK (length(Cod) <= 10),
    Nombre VARCHAR(50) COLLATE es CHECK (length(Nombre) <= 50),
    Poblacion VARCHAR(30) COLLATE es DEFAULT 'Marbella' CHECK (length(Poblacion) <= 30),
    Notas TEXT,
    Planta SMALLINT,
    Numero INTEGER,
    Precio CURRENCY,
    Superficie DOUBLE,
    Alta DATE,
    Alquiler BOOLEAN NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX ixClientesCod ON Clientes (Cod);
CREATE TABLE Config (
    Grupo VARCHAR(20) COLLATE es NOT NULL,
    Variable VARCHAR(20) COLLATE es NOT NULL,
    Valor VARCHAR(255)
);
CREATE UNIQUE INDEX "Index" ON Config (Grupo, Variable);
CREATE TABLE Agencias (Cod VARCHAR(10) COLLATE es PRIMARY KEY, Nombre VARCHAR(50) COLLATE es);
CREATE TABLE Tipos (Cod INTEGER PRIMARY KEY, Nombre VARCHAR(50) COLLATE es);
CREATE VIEW vClientes AS
    SELECT c.Cod, c.Nombre, a.Nombre AS Agencia FROM Clientes c LEFT JOIN Agencias a ON a.Cod = c.Cod;
)";

// Four clients, C1..C4; C1 and C3 in Málaga.
inline const char* const kRows = R"(
INSERT INTO Clientes (Cod, Nombre, Poblacion, Precio, Alquiler) VALUES
    ('C1', 'Ávila', 'Málaga', 120000, 0),
    ('C2', 'Benalmádena', 'Marbella', 250000, 1),
    ('C3', 'Nerja', 'Málaga', 180000, 0),
    ('C4', 'Zurgena', 'Almería', 95000, 0);
INSERT INTO Config VALUES ('WEB', 'FOTOANCHURA', '400'), ('GENERAL', 'ADDAGAIN', '0'),
    ('WEB', 'FOTOALTURA', '300');
INSERT INTO Agencias VALUES ('AG1', 'Costa'), ('AG2', 'Sierra');
)";

// A database file in its own temporary folder, with the schema and optionally the rows.
struct TempDb {
    QTemporaryDir dir;
    std::unique_ptr<db::Database> db;

    explicit TempDb(bool withRows = true) {
        db = db::Database::open(path("Orbalia.db"), {.create = true});
        db->executeScript(QString::fromUtf8(kSchema));
        if (withRows)
            db->executeScript(QString::fromUtf8(kRows));
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    qint64 count(const QString& table = "Clientes") {
        return db->scalar("SELECT count(*) FROM " + table).toLongLong();
    }
};

} // namespace dbtest
