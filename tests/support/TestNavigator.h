#pragma once

#include "reports/Email.h"
#include "shell/AppContext.h"

#include <QPointer>
#include <QWidget>

// The main window's operations as a record window test needs them: e-mail
// goes through the real hand-over, windows are only recorded.
class TestNavigator : public orb::Navigator {
public:
    explicit TestNavigator(orb::AppContext& ctx) : ctx_(ctx) { ctx.navigator = this; }
    ~TestNavigator() override {
        ctx_.navigator = nullptr;
        for (const QPointer<QWidget>& r : reports)
            delete r.data();
    }

    QStringList shown;

    void usrShow(QWidget*) override { shown << "usrShow"; }
    void usrMDICenter(QWidget*) override {}
    // Windows opened by kind: "<kind number> <side>" (side 1 = rentals).
    void usrShow(orb::Ventana kind, bool alquiler) override {
        shown << QStringLiteral("%1 %2").arg(int(kind)).arg(int(alquiler));
    }
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
    void usrEmailDossier(const QString& asunto, const QString& texto, const QString& fichero) override {
        orb::EmailDossier(ctx_, nullptr, asunto, texto, fichero);
    }
    QWidget* ventanaPrincipal() override { return nullptr; }
    // Report windows shown, with their titles; the test owns them.
    QList<QPointer<QWidget>> reports;
    void usrShowReport(QWidget* rep, const QString& titulo) override {
        rep->setWindowTitle(titulo);
        shown << "usrShowReport:" + titulo;
        reports << rep;
    }
    void usrShowReport2(QWidget* rep, const QString& titulo) override {
        rep->setWindowTitle(titulo);
        shown << "usrShowReport2:" + titulo;
        reports << rep;
    }

private:
    orb::AppContext& ctx_;
};
