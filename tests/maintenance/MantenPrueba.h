#pragma once

// The record controller's tests on a real database of their own, with
// the technical log beside it.

#include "FichaPrueba.h"
#include "shell/Log.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace fichaprueba {

class MantenPrueba {
protected:
    QTemporaryDir dir;
    QString path;
    ui::ScriptedDialogService dialogs;

    BaseFichas base;

    std::unique_ptr<db::Database> db() { return base.abrir(); }

    void fill(const QStringList& cods) {
        auto d = db();
        for (const QString& c : cods)
            d->execute("INSERT INTO Fichas (Cod, Nombre, Numero, Estado, Activo) VALUES (?, ?, 7, "
                       "'Pendiente', TRUE)",
                       {c, "Nombre " + c});
    }

    std::unique_ptr<Ficha> open(bool addAgain = false) { return abrirFicha(dialogs, path, addAgain); }

    QString logText() {
        QFile f(dir.filePath("Orbalia.log"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QVariant stored(const QString& cod, const QString& field) {
        return db()->scalar(QStringLiteral("SELECT %1 FROM Fichas WHERE Cod = ?").arg(field), {cod});
    }

    // A fresh file with the table, no dialogs answered yet and an empty log.
    void preparar() {
        QVERIFY(dir.isValid());
        path = dir.filePath(QStringLiteral("t%1.db").arg(QDateTime::currentMSecsSinceEpoch()));
        base.crear(path);
        dialogs.clear();
        QFile::remove(dir.filePath("Orbalia.log"));
        IniciarLog(dir.path());
    }
};

} // namespace fichaprueba
