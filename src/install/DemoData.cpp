#include "DemoData.h"

#include "Artwork.h"
#include "DemoFilas.h"
#include "DemoTablas.h"
#include "platform/db/Database.h"
#include "platform/db/SqliteSupport.h"
#include "shell/CaracteristicasPropiedad.h"
#include "shell/ConfigStore.h"
#include "shell/Numeros.h"

#include <QDate>
#include <QDir>
#include <QStringList>
#include <memory>
#include <stdexcept>

namespace orb::install {

using namespace demo;

DemoSummary fillDemoData(db::Database& database, const DemoOptions& options) {
    DemoSummary summary;
    if (options.properties <= 0)
        return summary;
    DemoRandom rnd(options.seed);
    const QString agencia = options.codigoOficina;
    const QString fotos =
        options.photoFolder.endsWith(u'/') ? options.photoFolder : options.photoFolder + u'/';
    if (options.photos && !QDir().mkpath(fotos))
        throw std::runtime_error(QStringLiteral("No se puede crear la carpeta de fotografías '%1'")
                                     .arg(options.photoFolder)
                                     .toStdString());

    db::Transaction tx(database);

    // Catalogues.
    {
        Inserter ins(database, QStringLiteral("Tipos"),
                     {QStringLiteral("Cod"), QStringLiteral("Nombre"), QStringLiteral("NombreIdioma1"),
                      QStringLiteral("NombreIdioma2"), QStringLiteral("TipoPortales")});
        int cod = 0;
        for (const TypeDef& t : kTypes)
            ins.insert({++cod, QString::fromUtf8(t.es), QString::fromUtf8(t.en), QString::fromUtf8(t.fr),
                        QString::fromUtf8(t.portal)});
        summary.tipos = cod;
    }
    QList<QList<int>> areasOf; // area codes per locality (index = locality code - 1)
    {
        Inserter loc(database, QStringLiteral("Localidades"),
                     {QStringLiteral("Cod"), QStringLiteral("Nombre"), QStringLiteral("Provincia")});
        Inserter area(database, QStringLiteral("Areas"),
                      {QStringLiteral("Cod"), QStringLiteral("Nombre"), QStringLiteral("CodLocalidad")});
        int codArea = 0;
        for (int i = 0; i < localities().size(); ++i) {
            const LocalityDef& l = localities()[i];
            // Every demo locality lies on the Costa del Sol.
            loc.insert({i + 1, QString::fromUtf8(l.name), QStringLiteral("Málaga")});
            QList<int> codes;
            for (const char* a : l.areas) {
                area.insert({++codArea, QString::fromUtf8(a), i + 1});
                codes << codArea;
            }
            areasOf << codes;
        }
        summary.localidades = int(localities().size());
        summary.areas = codArea;
    }

    // Owners and clients, of both sides (two in five on the rentals side).
    const int n = options.properties;
    const int owners = n / 2 + 2;
    const int clients = n / 2 + 4;
    auto rentalSide = [](int i) { return i % 5 == 2 || i % 5 == 4; };
    QList<Person> salesOwners, rentalOwners, salesClients, rentalClients;
    {
        std::unique_ptr<Inserter> ins;
        for (int i = 0; i < owners; ++i) {
            Person p;
            const Row r = personalRow(rnd, i, agencia, i + 1, rentalSide(i), &p);
            if (!ins)
                ins = std::make_unique<Inserter>(database, QStringLiteral("Propietarios"), r.columns());
            ins->insert(r.values());
            (p.alquiler ? rentalOwners : salesOwners) << p;
        }
        summary.propietarios = owners;
    }
    {
        std::unique_ptr<Inserter> ins;
        // The wishes draw from a stream of their own, so the rest of the demo stays as it was.
        DemoRandom deseos(options.seed ^ 0x5eedu);
        Inserter zonas(
            database, QStringLiteral("ClientesZonas"),
            {QStringLiteral("CodCliente"), QStringLiteral("CodLocalidad"), QStringLiteral("CodArea")});
        for (int i = 0; i < clients; ++i) {
            Person p;
            const bool alquiler = rentalSide(i);
            Row r = personalRow(rnd, i + 7, agencia, i + 1, alquiler, &p);
            const int state = rnd.range(0, 9);
            const int tipo = rnd.chance(85) ? weightedType(rnd) + 1 : 0;
            const int dorm = rnd.range(1, 4);
            const LocalityDef& where = rnd.pick(localities());
            QString requiere;
            if (tipo > 0)
                requiere = QStringLiteral("%1 en %2, al menos %3 dormitorio%4")
                               .arg(QString::fromUtf8(kTypes[tipo - 1].es), QString::fromUtf8(where.name))
                               .arg(dorm)
                               .arg(dorm > 1 ? QStringLiteral("s") : QString());
            else
                requiere = QStringLiteral("Cualquier vivienda en %1").arg(QString::fromUtf8(where.name));
            if (rnd.chance(40))
                requiere += rnd.pick(QStringList{QStringLiteral(", con terraza."),
                                                 QStringLiteral(", cerca de la playa."),
                                                 QStringLiteral(", con garaje."),
                                                 QStringLiteral(".\nImprescindible que admita mascotas.")});
            else
                requiere += u'.';
            const double presupuesto =
                alquiler ? roundTo(rnd.range(500, 3500), 50) : roundTo(rnd.range(90000, 1200000), 5000);
            r.set("Estado", kClientStates[state < 5   ? 0
                                          : state < 7 ? 1
                                                      : state - 5])
                .set("Requiere", requiere)
                .set("Presupuesto", presupuesto)
                .set("CodTipo", tipo)
                .set("Agente", rnd.pick(kAgents));
            // What the free text says, as data: the locality (or one of its areas), the
            // bedrooms, sometimes a minimum budget and a must-have or two.
            r.set("DormitoriosMinimo", deseos.chance(70) ? QVariant(dorm) : QVariant())
                .set("PresupuestoMinimo", deseos.chance(30)
                                              ? QVariant(roundTo(presupuesto * 0.6, alquiler ? 50 : 5000))
                                              : QVariant())
                .set("QuierePiscina", deseos.chance(15))
                .set("QuiereGaraje", deseos.chance(requiere.contains(QStringLiteral("garaje")) ? 100 : 10))
                .set("QuiereAscensor", deseos.chance(10))
                .set("QuiereTerraza", deseos.chance(requiere.contains(QStringLiteral("terraza")) ? 100 : 10));
            if (!ins)
                ins = std::make_unique<Inserter>(database, QStringLiteral("Clientes"), r.columns());
            ins->insert(r.values());
            const int lugar = int(&where - localities().constData());
            if (deseos.chance(80)) {
                const bool area = deseos.chance(50) && !areasOf[lugar].isEmpty();
                zonas.insert({p.cod, lugar + 1, area ? QVariant(deseos.pick(areasOf[lugar])) : QVariant()});
                if (deseos.chance(25)) {
                    const int otra = deseos.range(0, int(localities().size()) - 1);
                    if (otra != lugar)
                        zonas.insert({p.cod, otra + 1, QVariant()});
                }
            }
            (alquiler ? rentalClients : salesClients) << p;
        }
        summary.clientes = clients;
    }

    // Properties.
    std::unique_ptr<Inserter> props;
    Inserter acts(database, QStringLiteral("Actividades"),
                  {QStringLiteral("Propiedad"), QStringLiteral("Fecha"), QStringLiteral("CodCliente"),
                   QStringLiteral("Cliente"), QStringLiteral("Actividad")});
    static const QStringList suelos = {QStringLiteral("Mármol"), QStringLiteral("Gres"),
                                       QStringLiteral("Parqué"), QStringLiteral("Tarima flotante"),
                                       QStringLiteral("Terrazo")};
    static const QStringList antiguedad = {QStringLiteral("A estrenar"), QStringLiteral("5 años"),
                                           QStringLiteral("10 años"), QStringLiteral("20 años"),
                                           QStringLiteral("Para reformar")};
    static const QStringList calificacion = {QStringLiteral("A"), QStringLiteral("B"),
                                             QStringLiteral("C"), QStringLiteral("D"),
                                             QStringLiteral("E"), QStringLiteral("En trámite")};
    static const QStringList orientacion = {QStringLiteral("N"),  QStringLiteral("S"),  QStringLiteral("E"),
                                            QStringLiteral("O"),  QStringLiteral("NE"), QStringLiteral("NO"),
                                            QStringLiteral("SE"), QStringLiteral("SO")};
    static const QStringList npc = {QStringLiteral("N"), QStringLiteral("P"), QStringLiteral("C")};
    for (int i = 0; i < n; ++i) {
        const int quickId = i + 1;
        const QString cod = agencia + FormatoMascara(quickId, QStringLiteral("00000"));
        const bool alquiler = rentalSide(i);
        const int type = weightedType(rnd);
        const TypeDef& t = kTypes[type];
        const int locIndex = rnd.range(0, int(localities().size()) - 1);
        const LocalityDef& loc = localities()[locIndex];
        const QList<int>& areaCodes = areasOf[locIndex];
        const QVariant codArea = rnd.chance(95) ? QVariant(rnd.pick(areaCodes)) : QVariant();
        const bool dwelling = type != Local && type != Terreno && type != Oficina && type != PlazaGaraje;

        int dorm = 0, metros = 0, parcela = 0;
        switch (type) {
        case Piso:
            dorm = rnd.range(1, 4);
            metros = rnd.range(55, 140);
            break;
        case Atico:
            dorm = rnd.range(2, 4);
            metros = rnd.range(70, 200);
            break;
        case Chalet:
            dorm = rnd.range(3, 6);
            metros = rnd.range(150, 600);
            parcela = rnd.range(400, 3000);
            break;
        case Adosada:
            dorm = rnd.range(2, 4);
            metros = rnd.range(90, 200);
            parcela = rnd.range(50, 200);
            break;
        case Estudio:
            dorm = rnd.range(0, 1);
            metros = rnd.range(30, 50);
            break;
        case Local:
            metros = rnd.range(40, 400);
            break;
        case Terreno:
            parcela = rnd.range(500, 20000);
            break;
        case CasaCampo:
            dorm = rnd.range(2, 5);
            metros = rnd.range(100, 350);
            parcela = rnd.range(2000, 50000);
            break;
        case Duplex:
            dorm = rnd.range(2, 4);
            metros = rnd.range(90, 180);
            break;
        case Oficina:
            metros = rnd.range(40, 250);
            break;
        case PlazaGaraje:
            metros = rnd.range(12, 15);
            break;
        }
        double precio = 0;
        if (type == Terreno)
            precio = roundTo(parcela * rnd.range(40, 150), 1000);
        else if (type == PlazaGaraje)
            precio = roundTo(rnd.range(12000, 30000), 500);
        else
            precio = roundTo(metros * loc.pricePerMetre * (0.8 + 0.4 * rnd.unit()), 1000);
        const double precioAlquiler = roundTo(qMax(60, metros) * (9 + rnd.range(0, 7)), 25);

        QString estado;
        const int s = rnd.range(0, 99);
        if (alquiler)
            estado = s < 65 ? QStringLiteral("Libre") : QStringLiteral("Alquilada");
        else
            estado = s < 75   ? QStringLiteral("En Venta")
                     : s < 90 ? QStringLiteral("Vendida")
                              : QStringLiteral("Stand By");

        const QList<Person>& ownerPool = alquiler ? (rentalOwners.isEmpty() ? salesOwners : rentalOwners)
                                                  : (salesOwners.isEmpty() ? rentalOwners : salesOwners);
        const QString codPropietario = ownerPool.isEmpty() ? QString() : rnd.pick(ownerPool).cod;
        const QDate alta = kToday.addDays(-rnd.range(0, 2500));
        const bool exclusiva = rnd.chance(30);
        const bool flat = t.building == Building::Block;
        const QString areaName = codArea.isValid()
                                     ? QString::fromUtf8(loc.areas[areaCodes.indexOf(codArea.toInt())])
                                     : QString::fromUtf8(loc.name);
        const QString direccion = QStringLiteral("%1, %2").arg(rnd.pick(kStreets)).arg(rnd.range(1, 150));
        const QString tipoEs = QString::fromUtf8(t.es);
        const QString tipoEn = QString::fromUtf8(t.en);

        Row r;
        r.set("Cod", cod)
            .set("Agencia", agencia)
            .set("QuickID", quickId)
            .set("FechaAlta", alta)
            // The last change is the listing's day, not the install's second, so that the
            // same seed gives the same file.
            .set("Modificado", alta.toString(Qt::ISODate) + QStringLiteral(" 09:00:00"))
            .set("Estado", estado)
            .set("Alquiler", alquiler)
            .set("CodTipo", type + 1)
            .set("CodLocalidad", locIndex + 1)
            .set("CodArea", codArea)
            .set("Precio", alquiler ? QVariant() : QVariant(precio))
            .set("Metros", metros > 0 ? QVariant(metros) : QVariant())
            .set("MetrosParcela", parcela > 0 ? QVariant(parcela) : QVariant())
            .set("Dormitorios", dorm)
            .set("Banos",
                 dwelling ? qMax(1, dorm / 2 + rnd.range(0, 1)) : (type == Local || type == Oficina ? 1 : 0))
            .set("Aseos", dwelling ? rnd.range(0, 1) : 0)
            .set("Suelos", dwelling ? QVariant(rnd.pick(suelos)) : QVariant())
            .set("Terrazas", dwelling ? QVariant(QString::number(rnd.range(0, 2))) : QVariant())
            .set("ArmariosEmpotrados", dwelling ? QVariant(QString::number(rnd.range(0, 4))) : QVariant())
            .set("PlazasGaraje", type == PlazaGaraje ? 1 : rnd.range(0, 2))
            .set("Antiguedad", type == Terreno ? QVariant() : QVariant(rnd.pick(antiguedad)))
            .set("Comunidad", flat ? QVariant(double(rnd.range(3, 35) * 10)) : QVariant())
            .set("Agente", rnd.pick(kAgents))
            .set("Calificacion", type == Terreno ? QVariant() : QVariant(rnd.pick(calificacion)))
            .set("Hipoteca", rnd.chance(30) ? QVariant(roundTo(precio * 0.4, 1000)) : QVariant())
            .set("ValorEscritura", alquiler ? QVariant() : QVariant(roundTo(precio * 0.6, 1000)))
            .set("AnoConstruccion", type == Terreno ? QVariant() : QVariant(rnd.range(1965, 2023)))
            .set("Observaciones",
                 rnd.chance(50) ? QVariant(QStringLiteral("Muy luminoso. Cerca de %1.")
                                               .arg(rnd.chance(50) ? QStringLiteral("la playa")
                                                                   : QStringLiteral("colegios y comercios")))
                                : QVariant())
            .set("Piscina", type == Chalet ? QStringLiteral("P")
                            : flat         ? rnd.pick(npc)
                                           : QStringLiteral("N"))
            .set("Jardin", t.building == Building::House ? QStringLiteral("P") : rnd.pick(npc))
            .set("Garaje", rnd.pick(npc))
            .set("Orientacion", rnd.pick(orientacion));
        for (const orb::CaracteristicaPropiedad& c : orb::caracteristicasPropiedad()) {
            const QString f = QString::fromLatin1(c.campo);
            const int odds = f == u"Ascensor" ? (flat ? 80 : 5) : f == u"Vpo" ? 5 : 45;
            r.set(c.campo, dwelling && rnd.chance(odds));
        }
        r.set("CodPropietario", orNull(codPropietario))
            .set("Direccion", direccion)
            .set("Planta",
                 flat && dwelling ? QVariant(QStringLiteral("%1º").arg(rnd.range(1, 9))) : QVariant())
            .set("Puerta", flat && dwelling ? QVariant(QString(QChar(u'A' + rnd.range(0, 3)))) : QVariant())
            .set("NumeroFinca", QString::number(rnd.range(10000, 99999)))
            .set("Titularidad",
                 rnd.pick(QStringList{QStringLiteral("Pleno dominio"), QStringLiteral("Proindiviso"),
                                      QStringLiteral("Sociedad")}))
            .set("DiasExclusiva", exclusiva ? QVariant(rnd.chance(50) ? 90 : 180) : QVariant())
            .set("Firmado", rnd.chance(60))
            .set("Exclusiva", exclusiva)
            .set("PPrecio", alquiler ? QVariant(precioAlquiler) : QVariant(roundTo(precio * 0.95, 1000)))
            .set("PComentarios",
                 rnd.chance(30) ? QVariant(QStringLiteral("El propietario acepta negociar.")) : QVariant());

        // Photographs: up to three, named Cod-n.jpg as the property window names them.
        const int photoCount = options.photos ? (type == Terreno ? 1 : rnd.range(1, 3)) : 0;
        const PhotoScene scenes[] = {PhotoScene::Exterior,
                                     type == Terreno ? PhotoScene::View : PhotoScene::Interior,
                                     PhotoScene::View};
        for (int slot = 1; slot <= 6; ++slot) {
            QVariant name, caption;
            if (slot <= photoCount) {
                const PhotoScene scene = scenes[slot - 1];
                name = QStringLiteral("%1-%2.jpg").arg(cod).arg(slot);
                caption = photoCaption(scene, type, rnd);
                DemoRandom pictureRnd(rnd.next());
                if (!saveJpeg(demoPhoto(pictureRnd, scene, t.building, loc.inland), fotos + name.toString(),
                              75))
                    throw std::runtime_error(QStringLiteral("No se puede guardar la fotografía '%1'")
                                                 .arg(fotos + name.toString())
                                                 .toStdString());
                ++summary.fotos;
            }
            r.set(QByteArray("Foto" + QByteArray::number(slot)).constData(), name);
            r.set(QByteArray("TextoFoto" + QByteArray::number(slot)).constData(), caption);
        }

        // Rental and tenant.
        const bool let = alquiler && estado == u"Alquilada";
        QDate inicio;
        if (let)
            inicio = kToday.addDays(-rnd.range(30, 330));
        Person tenant;
        Row tenantRow;
        if (let)
            tenantRow = personalRow(rnd, i + 3, agencia, 0, true, &tenant);
        r.set("Fianza", alquiler ? QVariant(rnd.range(1, 2)) : QVariant())
            .set("FechaInicio", let ? QVariant(inicio) : QVariant())
            .set("FechaFin", let ? QVariant(inicio.addYears(1).addDays(-1)) : QVariant())
            .set("PrecioAlquiler", alquiler ? QVariant(precioAlquiler) : QVariant())
            .set("ObservacionesAlquiler",
                 let && rnd.chance(50)
                     ? QVariant(QStringLiteral("Pago por transferencia el día 1 de cada mes."))
                     : QVariant());
        static const char* tenantFields[][2] = {{"INombre", "Nombre"},
                                                {"IDireccion", "Direccion"},
                                                {"ILocalidad", "Localidad"},
                                                {"IProvincia", "Provincia"},
                                                {"ICp", "Cp"},
                                                {"ITelefono", "Telefono"},
                                                {"IMovil", "Movil"},
                                                {"IFax", "Fax"},
                                                {"IPasaporte", "Pasaporte"},
                                                {"IDni", "Dni"},
                                                {"INie", "Nie"},
                                                {"IEmail", "Email"},
                                                {"IComentarios", "Comentarios"}};
        for (const auto& f : tenantFields) {
            QVariant v;
            if (let)
                v = tenantRow.values().value(tenantRow.columns().indexOf(QString::fromLatin1(f[1])));
            // The tenant lives in the property.
            if (let && QByteArray(f[0]) == "IDireccion")
                v = direccion;
            else if (let && QByteArray(f[0]) == "ILocalidad")
                v = QString::fromUtf8(loc.name);
            else if (let && QByteArray(f[0]) == "ICp")
                v = QString::fromLatin1(loc.cp);
            r.set(f[0], v);
        }
        // Dossier and web texts.
        const QString tituloEs = QStringLiteral("%1 en %2").arg(tipoEs, areaName);
        const QString tituloEn = QStringLiteral("%1 in %2").arg(tipoEn, areaName);
        const QString descEs =
            dorm > 0 ? QStringLiteral("%1 de %2 m² con %3 dormitorio%4 en %5 (%6). %7")
                           .arg(tipoEs)
                           .arg(metros)
                           .arg(dorm)
                           .arg(dorm > 1 ? QStringLiteral("s") : QString())
                           .arg(areaName, QString::fromUtf8(loc.name),
                                loc.inland ? QStringLiteral("Tranquilo y con vistas a la sierra.")
                                           : QStringLiteral("A pocos minutos de la playa."))
                     : QStringLiteral("%1 en %2 (%3).").arg(tipoEs, areaName, QString::fromUtf8(loc.name));
        const QString descEn =
            dorm > 0 ? QStringLiteral("%1 of %2 m² with %3 bedroom%4 in %5 (%6). %7")
                           .arg(tipoEn)
                           .arg(metros)
                           .arg(dorm)
                           .arg(dorm > 1 ? QStringLiteral("s") : QString())
                           .arg(areaName, QString::fromUtf8(loc.name),
                                loc.inland ? QStringLiteral("Quiet, with mountain views.")
                                           : QStringLiteral("A few minutes from the beach."))
                     : QStringLiteral("%1 in %2 (%3).").arg(tipoEn, areaName, QString::fromUtf8(loc.name));
        const QString descFr = QStringLiteral("%1 à %2 (%3).")
                                   .arg(QString::fromUtf8(t.fr), areaName, QString::fromUtf8(loc.name));
        const bool titled = rnd.chance(80); // an empty title prints the side's default
        r.set("DossierTitulo", titled ? QVariant(tituloEs) : QVariant())
            .set("DossierDescripcion", descEs)
            .set("DossierTituloIdioma1", titled ? QVariant(tituloEn) : QVariant())
            .set("DossierDescripcionIdioma1", descEn)
            .set("ExportacionWeb", rnd.chance(70))
            .set("ExportacionWebDestacada", !alquiler && rnd.chance(10))
            .set("WebDescripcion", descEs)
            .set("WebDescripcionIdioma1", descEn)
            .set("WebDescripcionIdioma2", descFr);

        if (!props)
            props = std::make_unique<Inserter>(database, QStringLiteral("Propiedades"), r.columns());
        props->insert(r.values());
        ++summary.propiedades;
        if (alquiler)
            ++summary.propiedadesAlquiler;

        // Activity log: a few dated lines, some with a client of the same side.
        if (rnd.chance(60)) {
            const QList<Person>& pool = alquiler ? rentalClients : salesClients;
            const int lines = rnd.range(1, 3);
            QDate when = alta;
            for (int k = 0; k < lines; ++k) {
                when = when.addDays(rnd.range(1, 60));
                if (when > kToday)
                    when = kToday;
                const bool withClient = !pool.isEmpty() && rnd.chance(70);
                const Person* c = withClient ? &rnd.pick(pool) : nullptr;
                acts.insert({cod, when, c ? QVariant(c->cod) : QVariant(),
                             c ? QVariant(c->nombre) : QVariant(), rnd.pick(kActivities)});
                ++summary.actividades;
            }
        }
    }

    // Counters hold the last number used, so the next record continues the series.
    const QList<QPair<const char*, int>> counters = {
        {"TIPOS", summary.tipos},       {"LOCALIDADES", summary.localidades},
        {"AREAS", summary.areas},       {"PROPIETARIOS", summary.propietarios},
        {"CLIENTES", summary.clientes}, {"PROPIEDADES", summary.propiedades}};
    for (const auto& [variable, value] : counters)
        GuardarConfig(database, QStringLiteral("CONTADORES"), QString::fromLatin1(variable),
                      QString::number(value));
    GuardarConfig(database, QStringLiteral("CODIGOS"), QStringLiteral("MASCARA"), QStringLiteral("00000"));
    // Where the demo agency's web folder would be seen from outside (a reserved
    // name), so that its portal feed carries the photographs' addresses.
    GuardarConfig(database, QStringLiteral("PORTALES"), QStringLiteral("URLFOTOS"),
                  QStringLiteral("https://www.costadelsol.example/"));

    tx.commit();
    return summary;
}

} // namespace orb::install
