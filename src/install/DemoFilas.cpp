#include "DemoFilas.h"

#include "DemoTablas.h"
#include "shell/Numeros.h"

#include <cmath>

namespace orb::install::demo {

QVariant orNull(const QString& s) {
    return s.isEmpty() ? QVariant() : QVariant(s);
}

QString asciiFold(const QString& text) {
    const QString d = text.normalized(QString::NormalizationForm_D);
    QString out;
    for (QChar c : d) {
        if (c.unicode() < 0x80)
            out += c;
        else if (c == u'ß')
            out += QStringLiteral("ss");
        else if (c == u'ø' || c == u'Ø')
            out += u'o';
    }
    return out;
}

QString emailFor(const QString& name, int n) {
    QString local;
    for (QChar c : asciiFold(name).toLower()) {
        if (c.isLetterOrNumber())
            local += c;
        else if (c == u' ' || c == u'-')
            local += u'.';
    }
    local = local.left(30);
    static const QStringList domains = {QStringLiteral("example.com"), QStringLiteral("example.net"),
                                        QStringLiteral("example.org")};
    return QStringLiteral("%1@%2").arg(local, domains[n % domains.size()]);
}

QString dniFor(DemoRandom& rnd) {
    static const QString letters = QStringLiteral("TRWAGMYFPDXBNJZSQVHLCKE");
    const int n = rnd.range(10000000, 79999999);
    return QStringLiteral("%1%2").arg(n).arg(letters[n % 23]);
}

QString nieFor(DemoRandom& rnd) {
    static const QString letters = QStringLiteral("TRWAGMYFPDXBNJZSQVHLCKE");
    const int prefix = rnd.range(0, 2);
    const int n = rnd.range(1000000, 9999999);
    return QStringLiteral("%1%2%3")
        .arg(QChar(u"XYZ"[prefix]))
        .arg(n)
        .arg(letters[(prefix * 10000000 + n) % 23]);
}

QString landline(DemoRandom& rnd) {
    return QStringLiteral("952 %1 %2 %3")
        .arg(rnd.range(10, 99))
        .arg(rnd.range(10, 99))
        .arg(rnd.range(10, 99));
}

QString mobile(DemoRandom& rnd) {
    return QStringLiteral("6%1 %2 %3")
        .arg(rnd.range(10, 99))
        .arg(rnd.range(100, 999))
        .arg(rnd.range(100, 999));
}

// Personal data of an owner or client (the columns both tables share).
Row personalRow(DemoRandom& rnd, int index, const QString& agencia, int quickId, bool alquiler,
                Person* person) {
    const bool foreign = index % 5 == 1 || index % 5 == 3;
    QString nombre;
    QString pasaporte;
    QString dni;
    QString nie;
    QString movil;
    if (foreign) {
        const ForeignName& f = kForeign[(index / 5 * 2 + (index % 5 == 3 ? 1 : 0)) % std::size(kForeign)];
        nombre = QString::fromUtf8(f.name);
        pasaporte = QStringLiteral("%1%2").arg(QLatin1String(f.country)).arg(rnd.range(1000000, 9999999));
        nie = nieFor(rnd);
        movil = QStringLiteral("%1 %2 %3")
                    .arg(QLatin1String(f.phonePrefix))
                    .arg(rnd.range(600, 799))
                    .arg(rnd.range(100000, 999999));
    } else {
        // One draw per statement: argument order is unspecified, the data must not depend on it.
        const QString first = rnd.pick(kFirstNames);
        const QString surname1 = rnd.pick(kSurnames);
        const QString surname2 = rnd.pick(kSurnames);
        nombre = QStringLiteral("%1 %2 %3").arg(first, surname1, surname2);
        dni = dniFor(rnd);
        movil = mobile(rnd);
    }
    const LocalityDef& loc = rnd.pick(localities());
    const QString direccion = QStringLiteral("%1, %2").arg(rnd.pick(kStreets)).arg(rnd.range(1, 120));
    const QString cod = agencia + FormatoMascara(quickId, QStringLiteral("00000"));
    if (person)
        *person = {cod, nombre, alquiler};
    Row r;
    r.set("Cod", cod)
        .set("Agencia", agencia)
        .set("QuickID", quickId)
        .set("FechaAlta", kToday.addDays(-rnd.range(0, 3000)))
        .set("Alquiler", alquiler)
        .set("Nombre", nombre)
        .set("Direccion", direccion)
        .set("Localidad", QString::fromUtf8(loc.name))
        .set("Provincia", QStringLiteral("Málaga"))
        .set("Cp", QString::fromLatin1(loc.cp))
        .set("Telefono", foreign && rnd.chance(60) ? QVariant() : QVariant(landline(rnd)))
        .set("Movil", movil)
        .set("Fax", rnd.chance(10) ? QVariant(landline(rnd)) : QVariant())
        .set("Email", rnd.chance(80) ? QVariant(emailFor(nombre, quickId)) : QVariant())
        .set("Dni", orNull(dni))
        .set("Pasaporte", orNull(pasaporte))
        .set("Nie", orNull(nie))
        .set("Comentarios", orNull(rnd.pick(kOwnerComments)));
    return r;
}

int weightedType(DemoRandom& rnd) {
    int total = 0;
    for (const TypeDef& t : kTypes)
        total += t.weight;
    int x = rnd.range(0, total - 1);
    for (int i = 0; i < int(std::size(kTypes)); ++i) {
        x -= kTypes[i].weight;
        if (x < 0)
            return i;
    }
    return 0;
}

double roundTo(double value, double step) {
    return std::round(value / step) * step;
}

QString photoCaption(PhotoScene scene, int type, DemoRandom& rnd) {
    switch (scene) {
    case PhotoScene::Exterior:
        return type == Terreno ? QStringLiteral("Vista de la parcela") : QStringLiteral("Fachada");
    case PhotoScene::Interior:
        return rnd.pick(QStringList{QStringLiteral("Salón"), QStringLiteral("Salón comedor"),
                                    QStringLiteral("Dormitorio principal")});
    case PhotoScene::View:
        return rnd.pick(QStringList{QStringLiteral("Vistas"), QStringLiteral("Terraza"),
                                    QStringLiteral("Piscina comunitaria")});
    }
    return {};
}

} // namespace orb::install::demo
