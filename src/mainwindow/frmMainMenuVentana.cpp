#include "frmMain.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

// The Ventana menu: arranging the child windows and going to any of them.

namespace orb {

namespace {

QString tituloDe(QMdiSubWindow* sub) {
    QString t = sub->widget() ? sub->widget()->windowTitle() : QString();
    if (t.isEmpty())
        t = sub->windowTitle();
    // A title's own ampersands are text, not mnemonics.
    return t.replace(u'&', QLatin1String("&&"));
}

} // namespace

void frmMain::crearMenuVentana() {
    QMenu* m = new QMenu(tr("&Ventana"), this);
    m->setObjectName(QStringLiteral("mnuVentana"));
    m->menuAction()->setObjectName(QStringLiteral("mnuVentana"));
    m->setAccessibleName(tr("Ventana"));
    // Before Ayuda, as on every desktop.
    menuBar()->insertMenu(mnuMain(3)->menuAction(), m);
    mnuVentana_ = m;

    mnuCascada_ = m->addAction(tr("&Cascada"), mdiArea(), &QMdiArea::cascadeSubWindows);
    mnuCascada_->setObjectName(QStringLiteral("mnuCascada"));
    mnuMosaico_ = m->addAction(tr("&Mosaico"), mdiArea(), &QMdiArea::tileSubWindows);
    mnuMosaico_->setObjectName(QStringLiteral("mnuMosaico"));
    m->addSeparator();
    mnuSiguiente_ = m->addAction(tr("Ventana &siguiente"), mdiArea(), &QMdiArea::activateNextSubWindow);
    mnuSiguiente_->setObjectName(QStringLiteral("mnuSiguiente"));
    mnuSiguiente_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6));
    mnuAnterior_ = m->addAction(tr("Ventana &anterior"), mdiArea(), &QMdiArea::activatePreviousSubWindow);
    mnuAnterior_->setObjectName(QStringLiteral("mnuAnterior"));
    mnuAnterior_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6));
    // Shortcuts of a menu work while its menu is closed only when the window holds them too.
    addAction(mnuSiguiente_);
    addAction(mnuAnterior_);
    separadorVentanas_ = m->addSeparator();

    connect(m, &QMenu::aboutToShow, this, &frmMain::actualizarMenuVentana);
    connect(mdiArea(), &QMdiArea::subWindowActivated, this, &frmMain::actualizarMenuVentana);
    actualizarMenuVentana();
}

void frmMain::actualizarMenuVentana() {
    for (QAction* a : listaVentanas_) {
        mnuVentana_->removeAction(a);
        a->deleteLater();
    }
    listaVentanas_.clear();
    const auto hijas = mdiArea()->subWindowList();
    const bool hay = !hijas.isEmpty();
    for (QAction* a : {mnuCascada_, mnuMosaico_, mnuSiguiente_, mnuAnterior_})
        a->setEnabled(hay);
    separadorVentanas_->setVisible(hay);
    for (int i = 0; i < hijas.size(); ++i) {
        QMdiSubWindow* sub = hijas[i];
        // 1 … 9 as mnemonics; the rest are reached with the arrows.
        const QString numero = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("%1 ").arg(i + 1);
        QAction* a = mnuVentana_->addAction(numero + tituloDe(sub));
        a->setObjectName(QStringLiteral("mnuVentanaLista(%1)").arg(i));
        a->setCheckable(true);
        a->setChecked(sub == mdiArea()->activeSubWindow());
        QPointer<QMdiSubWindow> destino = sub;
        connect(a, &QAction::triggered, this, [this, destino] {
            if (!destino)
                return;
            if (destino->isMinimized())
                destino->showNormal();
            mdiArea()->setActiveSubWindow(destino);
        });
        listaVentanas_ << a;
    }
}

} // namespace orb
