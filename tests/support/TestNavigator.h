#pragma once

#include "reports/Email.h"
#include "shell/AppContext.h"

// The main window's operations as a record window test needs them: e-mail
// goes through the real hand-over, windows are only recorded.
class TestNavigator : public orb::Navigator {
public:
    explicit TestNavigator(orb::AppContext& ctx) : ctx_(ctx) { ctx.navigator = this; }
    ~TestNavigator() override { ctx_.navigator = nullptr; }

    QStringList shown;

    void usrShow(QWidget*) override { shown << "usrShow"; }
    void usrMDICenter(QWidget*) override {}
    void usrShowPropiedadesVenta() override { shown << "PropiedadesVenta"; }
    void usrShowPropiedadesAlquiler() override { shown << "PropiedadesAlquiler"; }
    void usrShowClientesVenta() override { shown << "ClientesVenta"; }
    void usrShowClientesAlquiler() override { shown << "ClientesAlquiler"; }
    void usrShowPropietariosVenta() override { shown << "PropietariosVenta"; }
    void usrShowPropietariosAlquiler() override { shown << "PropietariosAlquiler"; }
    void usrShowBusPropiedadesVenta() override {}
    void usrShowBusPropiedadesAlquiler() override {}
    void usrShowBusClientesVenta() override {}
    void usrShowBusClientesAlquiler() override {}
    void usrShowBusPropietariosVenta() override {}
    void usrShowBusPropietariosAlquiler() override {}
    // Go to from the search windows: "Propiedad 1 A0012" (side 1 = rentals).
    QStringList irA;
    void usrIrPropiedad(bool alquiler, const QString& cod) override {
        irA << QStringLiteral("Propiedad %1 %2").arg(int(alquiler)).arg(cod);
    }
    void usrIrPropietario(bool alquiler, const QString& cod) override {
        irA << QStringLiteral("Propietario %1 %2").arg(int(alquiler)).arg(cod);
    }
    void usrIrCliente(bool alquiler, const QString& cod) override {
        irA << QStringLiteral("Cliente %1 %2").arg(int(alquiler)).arg(cod);
    }
    void usrEmailPara(const QString& direccion, const QString& nombre) override {
        orb::EmailPara(ctx_, nullptr, direccion, nombre);
    }

private:
    orb::AppContext& ctx_;
};
