// The read-back that stands between a written feed and the portals: a feed
// that a portal's parser would refuse, or that lost a property's id, never
// replaces the previous one.
#include "portales/FeedKyero.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>
#include <QXmlStreamReader>

using namespace orb;

namespace {

PropiedadPortal propiedad(int n, const QString& descripcion = QStringLiteral("Piso luminoso.")) {
    PropiedadPortal p;
    p.id = QStringLiteral("RB12-%1").arg(n, 5, 10, QChar(u'0'));
    p.fecha = QStringLiteral("2026-03-01 10:00:00");
    p.referencia = QStringLiteral("B%1").arg(n);
    p.precio = QStringLiteral("245000");
    p.tipo = QStringLiteral("Apartment");
    p.pueblo = QStringLiteral("Marbella");
    p.provincia = QStringLiteral("Málaga");
    p.descripciones = {{QStringLiteral("es"), descripcion}};
    p.caracteristicas = {QStringLiteral("Lift")};
    p.imagenes = {QStringLiteral("https://www.agencia.example/portales/RB12-1-1.jpg")};
    return p;
}

QByteArray feed(const QList<PropiedadPortal>& propiedades) {
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    EscritorKyero e(&b, QStringLiteral("2026-03-01 10:00:00"));
    for (const PropiedadPortal& p : propiedades)
        e.escribir(p);
    e.terminar();
    return bytes;
}

LecturaKyero leer(const QByteArray& bytes) {
    QByteArray copia = bytes;
    QBuffer b(&copia);
    b.open(QIODevice::ReadOnly);
    return ComprobarKyero(&b);
}

// What another parser (Qt's) makes of the same bytes: its error, or the number of properties.
QPair<bool, int> otroLector(const QByteArray& bytes) {
    QXmlStreamReader x(bytes);
    int propiedades = 0, profundidad = 0;
    while (!x.atEnd()) {
        const auto t = x.readNext();
        if (t == QXmlStreamReader::StartElement && ++profundidad == 2 && x.name() == u"property")
            ++propiedades;
        else if (t == QXmlStreamReader::EndElement)
            --profundidad;
    }
    return {!x.hasError(), propiedades};
}

const QByteArray Cabecera = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
const QByteArray Kyero = "<kyero><feed_version>3</feed_version></kyero>";

} // namespace

class tst_LecturaKyero : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A feed as the writer makes it, hostile text included, reads back whole.
    void writtenFeedReadsBack() {
        const QList<PropiedadPortal> ps = {
            propiedad(1),
            propiedad(2, QString::fromUtf8("Precio < 300.000 € & vistas ]]> al mar 🏖️ \"x\" 'y'")),
            propiedad(3, QString(12000, u'ñ'))};
        const QByteArray bytes = feed(ps);
        const LecturaKyero r = leer(bytes);
        QCOMPARE(r.error, QString());
        QCOMPARE(r.propiedades, 3);
        // Written in several pieces: the read-back parses across their edges.
        QVERIFY(bytes.size() > 12000);
    }

    void brokenFeedIsRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("motivo");
        const QByteArray bueno = feed({propiedad(1), propiedad(2)});
        QTest::newRow("vacío") << QByteArray() << "XML mal formado";
        QTest::newRow("cortado") << bueno.left(bueno.size() * 2 / 3) << "XML mal formado";
        QTest::newRow("sin cerrar root") << bueno.left(bueno.lastIndexOf("</root>")) << "XML mal formado";
        QByteArray sinId = bueno;
        sinId.replace("<id>RB12-00002</id>", "");
        QTest::newRow("propiedad sin id") << sinId << "la propiedad 2 no tiene id";
        QByteArray idVacio = bueno;
        idVacio.replace("<id>RB12-00001</id>", "<id></id>");
        QTest::newRow("id vacío") << idVacio << "la propiedad 1 no tiene id";
        QByteArray otraRaiz = bueno;
        otraRaiz.replace("<root>", "<feed>").replace("</root>", "</feed>");
        QTest::newRow("otra raíz") << otraRaiz << "el elemento principal no es root";
        QByteArray version = bueno;
        version.replace("<feed_version>3</feed_version>", "<feed_version>2</feed_version>");
        QTest::newRow("versión 2") << version << "falta feed_version 3";
        QByteArray amp = bueno;
        amp.replace("Piso luminoso.", "Piso & luminoso.");
        QTest::newRow("& suelto") << amp << "XML mal formado";
        QByteArray cruzadas = bueno;
        cruzadas.replace("<ref>B1</ref>", "<ref>B1</town>");
        QTest::newRow("etiquetas cruzadas") << cruzadas << "XML mal formado";
        QByteArray utf8 = bueno;
        utf8.replace("Piso luminoso.", "Piso \xc3\x28 luminoso.");
        QTest::newRow("UTF-8 roto") << utf8 << "XML mal formado";
        QByteArray control = bueno;
        control.replace("Piso luminoso.", "Piso \x01 luminoso.");
        QTest::newRow("carácter de control") << control << "XML mal formado";
        QByteArray entidad = bueno;
        entidad.replace("Piso luminoso.", "Piso&nbsp;luminoso.");
        QTest::newRow("entidad sin declarar") << entidad << "XML mal formado";
        QTest::newRow("DTD con entidades")
            << Cabecera +
                   "<!DOCTYPE root [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>"
                   "<root>" +
                   Kyero + "<property><id>&b;</id></property></root>"
            << "tiene una declaración de tipo de documento";
    }
    void brokenFeedIsRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, motivo);
        const LecturaKyero r = leer(bytes);
        QVERIFY2(r.error.startsWith(motivo), qPrintable(r.error));
    }

    // Damage anywhere in a feed (a byte lost, doubled or changed, the end cut):
    // whatever Qt's parser refuses, the read-back refuses too, and what it
    // accepts holds the same number of properties.
    void damageAnotherParserSeesIsRefused() {
        const QByteArray bueno =
            feed({propiedad(1), propiedad(2, QStringLiteral("a < b & c > d")), propiedad(3)});
        QRandomGenerator rnd(20260301);
        const QByteArray piezas = "<>&/\"'=;#\x01\xff ]";
        int rechazadas = 0;
        for (int i = 0; i < 1500; ++i) {
            QByteArray b = bueno;
            const int donde = int(rnd.bounded(b.size()));
            switch (rnd.bounded(4)) {
            case 0:
                b.remove(donde, 1 + int(rnd.bounded(3)));
                break;
            case 1:
                b.insert(donde, b.mid(donde, 1 + int(rnd.bounded(3))));
                break;
            case 2:
                b[donde] = piezas[int(rnd.bounded(piezas.size()))];
                break;
            default:
                b.truncate(donde);
                break;
            }
            const auto [valido, propiedades] = otroLector(b);
            const LecturaKyero r = leer(b);
            if (!valido) {
                QVERIFY2(!r.error.isEmpty(), qPrintable(QString::fromUtf8(b)));
                ++rechazadas;
            } else if (r.error.isEmpty()) {
                QCOMPARE(r.propiedades, propiedades);
            }
        }
        // The damage was real often enough to mean something.
        QVERIFY2(rechazadas > 500, qPrintable(QString::number(rechazadas)));
    }
};

QTEST_GUILESS_MAIN(tst_LecturaKyero)
#include "tst_lecturakyero.moc"
