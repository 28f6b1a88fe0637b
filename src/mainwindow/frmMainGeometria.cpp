#include "frmMain.h"

#include "shell/Puesto.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>

// Where windows go: the main window and each kind of child window come back
// where and as large as the user left them on this seat.

namespace orb {

namespace {

const char* const PropClave = "orbClaveVentana";
const char* const PropColocada = "orbColocada";

QString claveDe(const QWidget* frm) {
    const QString propia = frm->property(PropClave).toString();
    if (!propia.isEmpty())
        return propia;
    QString clase = QString::fromLatin1(frm->metaObject()->className());
    return clase.mid(clase.lastIndexOf(u':') + 1);
}

QString grupoHija(const QString& clave) {
    return QStringLiteral("Ventanas/") + clave + u'/';
}

} // namespace

void frmMain::ponerOficina(const QString& codigoOficina, bool principal) {
    QString texto;
    if (codigoOficina.isEmpty())
        texto = principal ? tr("Oficina principal") : tr("Oficina sin código");
    else
        texto =
            principal ? tr("Oficina %1 (principal)").arg(codigoOficina) : tr("Oficina %1").arg(codigoOficina);
    lblOficina_->setText(texto);
    lblOficina_->setAccessibleName(texto);
}

void frmMain::colocarAlArrancar() {
    const QByteArray guardada = puesto_->value(QStringLiteral("Principal/geometria")).toByteArray();
    // restoreGeometry brings a window left on a screen that is gone back onto one.
    if (!guardada.isEmpty() && restoreGeometry(guardada))
        return;
    resize(800, 600);
    usrScreenCenter(this);
}

void frmMain::guardarPrincipal() {
    puesto_->setValue(QStringLiteral("Principal/geometria"), saveGeometry());
    puesto_->sync();
}

void frmMain::colocarPrimeraVez(QWidget* frm, const QString& clave) {
    if (!frm || frm->property(PropColocada).toBool())
        return;
    frm->setProperty(PropColocada, true);
    if (!clave.isEmpty())
        frm->setProperty(PropClave, clave);
    QMdiSubWindow* sub = subventana(frm);
    if (!sub) {
        usrMDICenter(frm);
        return;
    }
    sub->installEventFilter(this);
    const QString grupo = grupoHija(claveDe(frm));
    const QRect r = puesto_->value(grupo + QStringLiteral("geometria")).toRect();
    if (!r.isValid()) {
        usrMDICenter(frm);
    } else {
        // Inside the area as it is now: the title bar must stay reachable.
        const QSize area = mdiArea()->viewport()->size();
        const QSize tam = r.size().boundedTo(area).expandedTo(sub->minimumSizeHint());
        sub->resize(tam);
        sub->move(qBound(0, r.x(), qMax(0, area.width() - sub->width())),
                  qBound(0, r.y(), qMax(0, area.height() - sub->height())));
    }
    if (puesto_->value(grupo + QStringLiteral("maximizada")).toBool())
        sub->showMaximized();
}

void frmMain::guardarHija(QMdiSubWindow* sub) {
    QWidget* frm = sub->widget();
    if (!frm)
        return;
    const QString grupo = grupoHija(claveDe(frm));
    const bool maximizada = sub->isMaximized();
    puesto_->setValue(grupo + QStringLiteral("maximizada"), maximizada);
    // A maximised or minimised window keeps the size it had before.
    if (!maximizada && !sub->isMinimized())
        puesto_->setValue(grupo + QStringLiteral("geometria"), sub->geometry());
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close)
        if (auto* sub = qobject_cast<QMdiSubWindow*>(watched); sub && sub->mdiArea() == mdiArea())
            guardarHija(sub);
    return QMainWindow::eventFilter(watched, event);
}

} // namespace orb
