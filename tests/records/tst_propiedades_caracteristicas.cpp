// The property's yes/no features as the user meets them: one check box per
// feature on the first tab, under its caption, each storing its own column.

#include "TestInstallation.h"
#include "TestServers.h"
#include "platform/db/Recordset.h"
#include "records/frmPropiedades.h"

#include <QSet>
#include <QtTest>

using namespace orb;
using namespace orb::prop;

namespace {

struct Casilla {
    int indice;
    const char* campo;
    const char* rotulo;
};

// As the window is documented: check boxes 13 to 17 are not features.
const Casilla Esperadas[] = {
    {0, "CocinaAmueblada", "Cocina Amueblada"},
    {1, "CocinaAmericana", "Cocina Americana"},
    {2, "AireAcondicionado", "Aire Acondicionado"},
    {3, "Calefaccion", "Calefacción"},
    {4, "Visitado", "Visitado"},
    {5, "Salon", "Salón"},
    {6, "Lavadero", "Lavadero"},
    {7, "GasCiudad", "Gas Ciudad"},
    {8, "GasButano", "Gas Butano"},
    {9, "Vitroceramica", "Vitrocerámica"},
    {10, "Ascensor", "Ascensor"},
    {11, "Trastero", "Trastero"},
    {12, "Vpo", "Vpo"},
    {18, "Solarium", "Solarium"},
    {19, "SupermercadoCerca", "Supermercado cercano"},
    {20, "AutobusCerca", "Autobús cercano"},
    {21, "CafeteriaCerca", "Cafetería cercana"},
    {22, "DiversionesCerca", "Diversiones cercanas"},
    {23, "Amueblado", "Amueblado"},
    {24, "PanelesSolares", "Paneles solares"},
    {25, "Chimenea", "Chimenea"},
};

} // namespace

class TestPropiedadesCaracteristicas : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    AppContext& ctx() { return inst->context(); }

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        ctx().db().execute("DELETE FROM Propiedades");
        ctx().facts.CodigoOficina = "01";
        ctx().AddAgainConfig = false;
    }
    void cleanup() { inst.reset(); }

    void everyFeatureHasItsCaptionedBoxAndEveryYesNoColumnABox() {
        frmPropiedades w(ctx(), false);
        for (const Casilla& e : Esperadas) {
            ui::BoundCheckBox* c = w.chk.value(e.indice);
            QVERIFY2(c, e.campo);
            QCOMPARE(c->objectName(), QString("chk(%1)").arg(e.indice));
            QCOMPARE(c->DataField, QString(e.campo));
            QCOMPARE(c->text(), QString(e.rotulo));
            QCOMPARE(c->accessibleName(), QString(e.rotulo));
            QVERIFY2(w.picDatosInmueble->isAncestorOf(c), e.campo);
        }
        // Nothing stored yes/no is out of the user's reach, nor a box without its column.
        QSet<QString> columnas, casillas;
        const auto propiedades = ctx().db().openRecordset("Propiedades", db::RecordsetType::Snapshot);
        for (int i = 0; i < propiedades->fieldCount(); ++i)
            if (propiedades->field(i).type == db::FieldType::Boolean)
                columnas << propiedades->field(i).name;
        for (const ui::BoundCheckBox* c : std::as_const(w.chk))
            casillas << c->DataField;
        QCOMPARE(casillas, columnas);
        QCOMPARE(w.chk.size(), int(std::size(Esperadas)) + 6); // and Portales
    }

    void tickedFeaturesAreStoredAndShownAgain() {
        ctx().db().execute("INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado) "
                           "VALUES ('0100001', '01', 1, FALSE, 'En Venta')");
        QSet<QString> marcadas;
        {
            frmPropiedades w(ctx(), false);
            w.cmdEdit->click();
            // Every other one, so a box that writes its neighbour's column shows.
            for (size_t i = 0; i < std::size(Esperadas); i += 2) {
                ui::BoundCheckBox* c = w.chk.value(Esperadas[i].indice);
                QVERIFY2(c, Esperadas[i].campo);
                c->click();
                marcadas << Esperadas[i].campo;
            }
            w.cmdOk->click();
            QVERIFY(inst->dialogs().boxes().isEmpty());
        }
        frmPropiedades otra(ctx(), false);
        for (const Casilla& e : Esperadas) {
            const bool marcada = marcadas.contains(e.campo);
            const QVariant guardada =
                ctx().db().scalar(QString("SELECT %1 FROM Propiedades WHERE Cod = '0100001'").arg(e.campo));
            QVERIFY2(guardada.toBool() == marcada, e.campo);
            const ui::BoundCheckBox* c = otra.chk.value(e.indice);
            QVERIFY2(c && c->isChecked() == marcada, e.campo);
        }
    }
};

QTEST_MAIN(TestPropiedadesCaracteristicas)
#include "tst_propiedades_caracteristicas.moc"
