#include "Duplicados.h"

#include "platform/db/Database.h"
#include "platform/db/TextMatching.h"
#include "shell/Identidad.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

namespace orb {

namespace {

QString NombreComparable(const QString& nombre) {
    return db::stripAccents(nombre).simplified().toLower();
}

struct Busqueda {
    QString expresion;
    QStringList valores;
};

} // namespace

QList<Candidato> BuscarPersonasDuplicadas(db::Database& base, const PersonaComparada& p) {
    QStringList telefonos;
    for (const QString& t : p.telefonos)
        if (const QString c = TelefonoComparable(t); !c.isEmpty() && !telefonos.contains(c))
            telefonos << c;
    QStringList documentos;
    for (const QString& d : p.documentos)
        if (const QString c = DocumentoLimpio(d); !c.isEmpty() && !documentos.contains(c))
            documentos << c;
    const QString email = EmailComparable(p.email);

    // One statement per indexed form: each reads only its index's matching entries.
    QList<Busqueda> busquedas;
    QStringList formas;
    for (const QString& t : telefonos)
        formas += FormasTelefono(t);
    if (!formas.isEmpty())
        for (const char* c : {"Telefono", "Movil", "Fax"})
            busquedas.append({SqlTelefono(QString::fromLatin1(c)), formas});
    if (!documentos.isEmpty())
        for (const char* c : {"Dni", "Nie", "Pasaporte"})
            busquedas.append({SqlDocumento(QString::fromLatin1(c)), documentos});
    if (!email.isEmpty())
        busquedas.append({SqlEmail(QStringLiteral("Email")), {email}});

    QList<qint64> filas;
    QSet<qint64> vistas;
    for (const Busqueda& b : busquedas) {
        QStringList marcas;
        db::Params params{p.alquiler ? 1 : 0};
        for (const QString& v : b.valores) {
            marcas << QStringLiteral("?");
            params << v;
        }
        const QString sql = QStringLiteral("SELECT rowid FROM %1 WHERE Alquiler = ? AND %2 IN (%3)")
                                .arg(p.tabla, b.expresion, marcas.join(u','));
        for (const db::Row& r : base.query(sql, params)) {
            const qint64 id = r.value(0).toLongLong();
            if (!vistas.contains(id)) {
                vistas.insert(id);
                filas << id;
            }
        }
    }

    QList<Candidato> out;
    const QString nombre = NombreComparable(p.nombre);
    for (qint64 id : filas) {
        const QList<db::Row> rs = base.query(
            QStringLiteral("SELECT Cod, Nombre, Telefono, Movil, Fax, Email, Agencia, Dni, Nie, Pasaporte "
                           "FROM %1 WHERE rowid = ?")
                .arg(p.tabla),
            {id});
        if (rs.isEmpty())
            continue;
        const db::Row& r = rs.first();
        const QString cod = r.value(0).toString();
        if (!p.cod.isEmpty() && cod.compare(p.cod, Qt::CaseInsensitive) == 0)
            continue;
        Candidato c;
        c.cod = cod;
        c.nombre = r.value(1).toString();
        QStringList tels;
        bool telefono = false;
        for (int i = 2; i <= 4; ++i) {
            const QString t = r.value(i).toString();
            if (!t.trimmed().isEmpty())
                tels << t;
            telefono = telefono || telefonos.contains(TelefonoComparable(t));
        }
        c.telefonos = tels.join(QStringLiteral(", "));
        c.email = r.value(5).toString();
        c.oficina = r.value(6).toString();
        bool documento = false;
        for (int i = 7; i <= 9; ++i)
            documento = documento || documentos.contains(DocumentoLimpio(r.value(i).toString()));
        if (documento)
            c.motivos << QCoreApplication::translate("Duplicados", "DNI/NIE/pasaporte");
        if (telefono)
            c.motivos << QCoreApplication::translate("Duplicados", "teléfono");
        if (!email.isEmpty() && EmailComparable(c.email) == email)
            c.motivos << QCoreApplication::translate("Duplicados", "e-mail");
        if (!nombre.isEmpty() && NombreComparable(c.nombre) == nombre)
            c.motivos << QCoreApplication::translate("Duplicados", "nombre");
        out << c;
    }
    return out;
}

QString DireccionComparable(const QString& texto) {
    // The usual abbreviations of a street's kind, and the "number" word, as agents type them.
    static const QHash<QString, QString> abreviaturas{
        {QStringLiteral("c"), QStringLiteral("calle")},
        {QStringLiteral("cl"), QStringLiteral("calle")},
        {QStringLiteral("av"), QStringLiteral("avenida")},
        {QStringLiteral("avda"), QStringLiteral("avenida")},
        {QStringLiteral("pza"), QStringLiteral("plaza")},
        {QStringLiteral("pl"), QStringLiteral("plaza")},
        {QStringLiteral("ctra"), QStringLiteral("carretera")},
        {QStringLiteral("urb"), QStringLiteral("urbanizacion")},
        {QStringLiteral("po"), QStringLiteral("paseo")},
        {QStringLiteral("n"), QString()},
        {QStringLiteral("no"), QString()},
        {QStringLiteral("num"), QString()},
    };
    QString s = db::stripAccents(texto).toLower();
    for (QChar& c : s)
        if (!c.isLetterOrNumber() || c == u'º' || c == u'ª')
            c = u' ';
    QStringList palabras;
    for (const QString& p : s.split(u' ', Qt::SkipEmptyParts)) {
        const QString q = abreviaturas.value(p, p);
        if (!q.isEmpty())
            palabras << q;
    }
    return palabras.join(u' ');
}

QList<Candidato> BuscarPropiedadesDuplicadas(db::Database& base, bool alquiler, const QString& cod,
                                             qint64 codLocalidad, const QString& direccion,
                                             const QString& planta, const QString& puerta) {
    const QString buscada = DireccionComparable(direccion);
    if (buscada.isEmpty())
        return {};
    // The state first, as the (Estado, Alquiler, CodLocalidad) index reads it.
    const QString disponible = alquiler ? QStringLiteral("Libre") : QStringLiteral("En Venta");
    const QList<db::Row> filas =
        base.query(QStringLiteral("SELECT p.Cod, p.Direccion, p.Planta, p.Puerta, p.Agencia, o.Nombre "
                                  "FROM Propiedades p LEFT JOIN Propietarios o ON o.Cod = p.CodPropietario "
                                  "WHERE p.Estado = ? AND p.Alquiler = ? AND p.CodLocalidad = ?"),
                   {disponible, alquiler ? 1 : 0, codLocalidad});
    QList<Candidato> out;
    for (const db::Row& r : filas) {
        if (!cod.isEmpty() && r.value(0).toString().compare(cod, Qt::CaseInsensitive) == 0)
            continue;
        if (DireccionComparable(r.value(1).toString()) != buscada ||
            DireccionComparable(r.value(2).toString()) != DireccionComparable(planta) ||
            DireccionComparable(r.value(3).toString()) != DireccionComparable(puerta))
            continue;
        Candidato c;
        c.cod = r.value(0).toString();
        QStringList partes{r.value(1).toString()};
        if (!r.value(2).toString().trimmed().isEmpty())
            partes << QCoreApplication::translate("Duplicados", "planta %1").arg(r.value(2).toString());
        if (!r.value(3).toString().trimmed().isEmpty())
            partes << QCoreApplication::translate("Duplicados", "puerta %1").arg(r.value(3).toString());
        c.nombre = partes.join(QStringLiteral(", "));
        c.telefonos = r.value(5).toString(); // the owner, shown in the second column
        c.oficina = r.value(4).toString();
        c.motivos << QCoreApplication::translate("Duplicados", "dirección");
        out << c;
    }
    return out;
}

} // namespace orb
