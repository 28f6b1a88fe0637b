// Controls of the property window: the header, the eight tabs and the button
// bar. The plain text fields are laid out from one table; the few controls
// with behaviour of their own are built beside it.

#include "ActividadModel.h"
#include "CamposPropiedad.h"
#include "FotosPropiedad.h"
#include "PanelPropietario.h"
#include "VisitasFichas.h"
#include "frmPropiedades.h"
#include "platform/widgets/ResultGrid.h"
#include "platform/widgets/ThemeIcon.h"
#include "search/frmCoincidencias.h"
#include "shell/AppContext.h"
#include "shell/Idioma.h"
#include "shell/Services.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace orb {

using namespace prop;
using namespace campos;

namespace {

QString nombreAccesible(QString rotulo) {
    rotulo.remove(u'&');
    rotulo.replace(u'\n', u' ');
    rotulo.replace(QStringLiteral(": "), QStringLiteral(" "));
    if (rotulo.endsWith(u':'))
        rotulo.chop(1);
    return rotulo.trimmed();
}

QLabel* rotular(QGridLayout* g, QWidget* page, const QString& texto, int fila, int columna, QWidget* buddy,
                bool arriba = false) {
    auto* l = new QLabel(texto, page);
    l->setBuddy(buddy);
    l->setAlignment(Qt::AlignRight | (arriba ? Qt::AlignTop : Qt::AlignVCenter));
    g->addWidget(l, fila, columna);
    buddy->setAccessibleName(nombreAccesible(texto));
    return l;
}

QGridLayout* rejilla(QWidget* page) {
    auto* g = new QGridLayout(page);
    g->setContentsMargins(10, 6, 10, 6);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(3);
    return g;
}

} // namespace

void frmPropiedades::crearPagina(int pestaña, const QString& nombre, const QString& titulo) {
    auto* page = new QWidget(tabs);
    page->setObjectName(nombre);
    paginas_.insert(pestaña, page);
    rejillas_.insert(pestaña, rejilla(page));
    tabs->addTab(page, titulo);
}

void frmPropiedades::crearPestañas() {
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    tabs->setAccessibleName(tr("Pestañas"));
    auto* principal = static_cast<QVBoxLayout*>(layout());
    principal->setStretchFactor(Picture1, 0);
    principal->addWidget(tabs, 1);
    crearPagina(TabCaracteristicas, QStringLiteral("picDatosInmueble"), tr("Características"));
    crearPagina(TabConfidencial, QStringLiteral("picDatosPropietario"), tr("Confidencial"));
    crearPagina(TabFotos, QStringLiteral("picFotos"), tr("Fotos"));
    crearPagina(TabAlquiler, QStringLiteral("picDatosAlquiler"), tr("Datos Alquiler"));
    crearPagina(TabInquilino, QStringLiteral("picDatosInquilino"), tr("Datos Inquilino"));
    crearPagina(TabActividades, QStringLiteral("picActividades"), tr("Actividades"));
    crearPagina(TabDossier, QStringLiteral("picDossier"), tr("Dossier"));
    crearPagina(TabWeb, QStringLiteral("picWeb"), tr("Web"));
    picDatosInmueble = paginas_.value(TabCaracteristicas);
    picDatosPropietario = paginas_.value(TabConfidencial);
    picFotos = paginas_.value(TabFotos);
    picDatosAlquiler = paginas_.value(TabAlquiler);
    picDatosInquilino = paginas_.value(TabInquilino);
    picActividades = paginas_.value(TabActividades);
    picDossier = paginas_.value(TabDossier);
    picWeb = paginas_.value(TabWeb);
}

// Controls are created in reading order, header first, then tab by tab, so
// the keyboard's focus order is the order in which a person reads the form.
void frmPropiedades::crearCampos() {
    for (int p = -1; p <= TabWeb; ++p) {
        antesDePestaña(p);
        for (const CampoTexto& c : CamposTexto) {
            if (c.pestaña != p)
                continue;
            QWidget* page = p < 0 ? Picture1 : paginas_.value(p);
            QGridLayout* g = p < 0 ? grid : rejillas_.value(p);
            const QString campo = QString::fromLatin1(c.campo);
            ui::TextControl* t = nullptr;
            if (c.clase == Clase::Memo) {
                auto* m = new ui::BoundMemo(page, campo);
                m->setTabChangesFocus(true);
                m->setMinimumHeight(36);
                t = m;
            } else {
                auto* e = new ui::BoundTextBox(page, campo);
                if (c.clase == Clase::Importe) {
                    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                    connect(e, &QLineEdit::editingFinished, this,
                            [this, i = c.indice] { formatearImporte(i); });
                } else if (c.clase == Clase::Fecha) {
                    e->setMaximumWidth(100);
                    connect(e, &QLineEdit::editingFinished, this,
                            [this, i = c.indice] { formatearFecha(i); });
                }
                t = e;
            }
            t->widget()->setObjectName(QStringLiteral("txt(%1)").arg(c.indice));
            txt.insert(c.indice, t);
            rotular(g, page, QCoreApplication::translate("CamposPropiedad", c.rotulo), c.fila, c.columna,
                    t->widget(), c.clase == Clase::Memo);
            g->addWidget(t->widget(), c.fila, c.columna + 1, 1, c.span);
            despuesDeCampo(c.indice);
        }
        despuesDePestaña(p);
    }
}

ui::BoundComboBox* frmPropiedades::crearLista(QWidget* page, QGridLayout* g, int indice, const QString& campo,
                                              const QString& rotulo, int fila, int columna, int span) {
    auto* c = new ui::BoundComboBox(ui::BoundComboBox::DropDownList, page, campo);
    c->setObjectName(QStringLiteral("cbo(%1)").arg(indice));
    cbo.insert(indice, c);
    rotular(g, page, rotulo, fila, columna, c);
    g->addWidget(c, fila, columna + 1, 1, span);
    return c;
}

ui::BoundCheckBox* frmPropiedades::crearCasilla(QWidget* parent, int indice, const QString& campo,
                                                const QString& rotulo) {
    auto* c = new ui::BoundCheckBox(rotulo, parent, campo);
    c->setObjectName(QStringLiteral("chk(%1)").arg(indice));
    c->setAccessibleName(rotulo);
    chk.insert(indice, c);
    return c;
}

QToolButton* frmPropiedades::crearBotonEmail(QWidget* parent, int indice, const QString& texto) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QStringLiteral("butEmailTo(%1)").arg(indice));
    b->setIcon(ui::themeIcon(QStringLiteral("mail-unread"), QStyle::SP_FileIcon));
    b->setToolTip(texto);
    b->setAccessibleName(texto);
    b->setAutoRaise(true);
    b->setProperty("alwaysEnabled", true); // usable in every state
    butEmailTo.insert(indice, b);
    return b;
}

void frmPropiedades::antesDePestaña(int p) {
    QWidget* page = paginas_.value(p);
    QGridLayout* g = rejillas_.value(p);
    switch (p) {
    case -1:
        addFilaCodigo(Agencia, QuickID, Cod, 44, 80);
        break;
    case TabCaracteristicas: {
        // The area list: its items are the areas of the shown locality.
        auto* area = new ui::BoundComboBox(ui::BoundComboBox::DropDownList, page);
        area->setObjectName(QStringLiteral("cboLookup(%1)").arg(CodArea));
        cboLookup.insert(CodArea, area);
        auto* codigo = new ui::BoundTextBox(page, QStringLiteral("CodArea"));
        codigo->setObjectName(QStringLiteral("txt(%1)").arg(CodArea));
        codigo->hide();
        txt.insert(CodArea, codigo);
        rotular(g, page, tr("A&rea:"), 0, 0, area);
        codigo->setAccessibleName(tr("Area (código)"));
        g->addWidget(area, 0, 1);
        connect(area, &QComboBox::activated, codigo, [area, codigo](int i) {
            codigo->setText(i >= 0 ? QString::number(area->itemTag(i)) : QStringLiteral("0"));
        });
        connect(codigo, &QLineEdit::textChanged, area,
                [area](const QString& t) { area->selectTag(qint16(ValorNumerico(t))); });
        break;
    }
    case TabFotos:
        fotos = new FotosPropiedad(ctx, page, g, txt, this);
        break;
    case TabAlquiler: {
        auto* fianza = new ui::BoundTextBox(page, QStringLiteral("Fianza"));
        fianza->setObjectName(QStringLiteral("txt(%1)").arg(Fianza));
        fianza->setMaximumWidth(60);
        txt.insert(Fianza, fianza);
        auto* cell = new QWidget(page);
        auto* h = new QHBoxLayout(cell);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(fianza);
        auto* meses = new QLabel(tr("meses"), cell);
        connect(fianza, &QLineEdit::textChanged, meses,
                [meses](const QString& t) { meses->setText(t.trimmed() == u"1" ? tr("mes") : tr("meses")); });
        h->addWidget(meses);
        h->addStretch(1);
        rotular(g, page, tr("Fian&za:"), 0, 0, fianza);
        fianza->setAccessibleName(tr("Fianza (meses)"));
        g->addWidget(cell, 0, 1);
        break;
    }
    case TabActividades:
        crearActividades();
        break;
    case TabWeb: {
        auto* fila = new QWidget(page);
        auto* h = new QHBoxLayout(fila);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(
            crearCasilla(fila, ExportacionWeb, QStringLiteral("ExportacionWeb"), tr("Exportación Web")));
        h->addWidget(
            crearCasilla(fila, Destacada, QStringLiteral("ExportacionWebDestacada"), tr("Destacada")));
        h->addWidget(crearCasilla(fila, Portales, QStringLiteral("Portales"), tr("Portales")));
        h->addStretch(1);
        g->addWidget(fila, 0, 1);
        break;
    }
    default:
        break;
    }
}

void frmPropiedades::despuesDeCampo(int indice) {
    switch (indice) {
    case FechaAlta: {
        crearLista(Picture1, grid, Estado, QStringLiteral("Estado"), tr("E&stado:"), 0, 4);
        grid->addWidget(crearCasilla(Picture1, Alquiler, QStringLiteral("Alquiler"), tr("Alquiler")), 0, 6);
        chk.value(Alquiler)->setProperty("neverEditable", true); // the window sets the side, never the user
        addListaCatalogo(CodTipo, QStringLiteral("CodTipo"), tr("T&ipo:"), 1, 0, ListaTipos());
        addListaCatalogo(CodLocalidad, QStringLiteral("CodLocalidad"), tr("&Localidad:"), 1, 2,
                         QStringLiteral("select cod,nombre from localidades order by nombre"));
        grid->removeWidget(cboLookup.value(CodLocalidad));
        grid->addWidget(cboLookup.value(CodLocalidad), 1, 3, 1, 4);
        break;
    }
    case AnoConstruccion: {
        QWidget* page = picDatosInmueble;
        QGridLayout* g = rejillas_.value(TabCaracteristicas);
        const QStringList npc = {QStringLiteral("N"), QStringLiteral("P"), QStringLiteral("C")};
        crearLista(page, g, Piscina, QStringLiteral("Piscina"), tr("Piscina:"), 6, 0)->addItems(npc);
        crearLista(page, g, Jardin, QStringLiteral("Jardin"), tr("Jardín:"), 6, 2)->addItems(npc);
        crearLista(page, g, Garaje, QStringLiteral("Garaje"), tr("Garaje:"), 6, 4)->addItems(npc);
        crearLista(page, g, Orientacion, QStringLiteral("Orientacion"), tr("Orientación:"), 7, 0)
            ->addItems({QStringLiteral("--"), QStringLiteral("N"), QStringLiteral("S"), QStringLiteral("E"),
                        QStringLiteral("O"), QStringLiteral("NE"), QStringLiteral("NO"), QStringLiteral("SE"),
                        QStringLiteral("SO")});
        for (int i : {Piscina, Jardin, Garaje, Orientacion})
            cbo.value(i)->setCurrentIndex(-1);
        // Orientación shares its row with the tall Observaciones box: keep it at the top of the row.
        auto* orientacion = cbo.value(Orientacion);
        g->setAlignment(orientacion, Qt::AlignTop);
        for (auto* l : page->findChildren<QLabel*>())
            if (l->buddy() == orientacion) {
                l->setMinimumHeight(orientacion->sizeHint().height());
                g->setAlignment(l, Qt::AlignTop);
            }
        break;
    }
    case Observaciones: {
        auto* caja = new QWidget(picDatosInmueble);
        auto* g = new QGridLayout(caja);
        g->setContentsMargins(0, 2, 0, 0);
        g->setHorizontalSpacing(12);
        g->setVerticalSpacing(0);
        constexpr int porFila = 5;
        int n = 0;
        for (const CaracteristicaPropiedad& c : caracteristicasPropiedad()) {
            g->addWidget(crearCasilla(caja, c.casilla, QString::fromLatin1(c.campo), RotuloCaracteristica(c)),
                         n / porFila, n % porFila);
            ++n;
        }
        rejillas_.value(TabCaracteristicas)->addWidget(caja, 8, 0, 1, 6);
        break;
    }
    case DiasExclusiva: {
        auto* casillas = new QWidget(picDatosPropietario);
        auto* h = new QHBoxLayout(casillas);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(crearCasilla(casillas, Firmado, QStringLiteral("Firmado"), tr("Firmado")));
        h->addWidget(crearCasilla(casillas, Exclusiva, QStringLiteral("Exclusiva"), tr("Exclusiva")));
        h->addStretch(1);
        rejillas_.value(TabConfidencial)->addWidget(casillas, 4, 2, 1, 2);
        break;
    }
    case INie: {
        QWidget* page = picDatosInquilino;
        auto* email = new ui::BoundTextBox(page, QStringLiteral("IEmail"));
        email->setObjectName(QStringLiteral("txt(%1)").arg(IEmail));
        txt.insert(IEmail, email);
        auto* cell = new QWidget(page);
        auto* h = new QHBoxLayout(cell);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(email, 1);
        h->addWidget(crearBotonEmail(cell, EmailInquilino, tr("Enviar correo al inquilino")));
        rotular(rejillas_.value(TabInquilino), page, tr("Emai&l:"), 6, 0, email);
        rejillas_.value(TabInquilino)->addWidget(cell, 6, 1, 1, 5);
        connect(butEmailTo.value(EmailInquilino), &QToolButton::clicked, this,
                &frmPropiedades::emailInquilino);
        break;
    }
    default:
        break;
    }
}

void frmPropiedades::despuesDePestaña(int p) {
    QGridLayout* g = rejillas_.value(p);
    switch (p) {
    case -1:
        for (int c : {1, 3, 5})
            grid->setColumnStretch(c, 1);
        grid->setContentsMargins(10, 6, 10, 4);
        break;
    case TabCaracteristicas:
        for (int c : {1, 3, 5})
            g->setColumnStretch(c, 1);
        g->setRowStretch(7, 1);
        break;
    case TabConfidencial: {
        propietario = new PanelPropietario(picDatosPropietario);
        g->addWidget(propietario, 0, 4, 7, 1);
        crearBotonEmail(propietario, EmailPropietario, tr("Enviar correo al propietario"));
        propietario->ponerBotonEmail(butEmailTo.value(EmailPropietario));
        connect(butEmailTo.value(EmailPropietario), &QToolButton::clicked, this,
                &frmPropiedades::emailPropietario);
        connect(propietario->butPropietario[PanelPropietario::Nuevo], &QPushButton::clicked, this,
                &frmPropiedades::propietarioNuevo);
        connect(propietario->butPropietario[PanelPropietario::Existente], &QPushButton::clicked, this,
                &frmPropiedades::propietarioExistente);
        g->setColumnStretch(1, 1);
        g->setColumnStretch(3, 1);
        // The owner's panel takes most of the spare width: an e-mail address cannot wrap.
        g->setColumnStretch(4, 4);
        g->setRowStretch(6, 1);
        break;
    }
    case TabAlquiler:
        // Short boxes keep their natural width; the free space goes to the right.
        g->setColumnStretch(4, 1);
        g->setRowStretch(3, 1);
        break;
    case TabInquilino:
        for (int c : {1, 3, 5})
            g->setColumnStretch(c, 1);
        g->setRowStretch(7, 1);
        break;
    case TabDossier:
    case TabWeb:
        g->setColumnStretch(1, 1);
        for (int r : {1, 2, 3})
            g->setRowStretch(r, 1);
        if (p == TabDossier)
            g->setRowStretch(2, 0);
        break;
    default:
        break;
    }
}

void frmPropiedades::crearActividades() {
    QGridLayout* g = rejillas_.value(TabActividades);
    grd = new QTableView(picActividades);
    grd->setObjectName(QStringLiteral("grd"));
    grd->setAccessibleName(tr("Actividades"));
    grd->setModel(actividades);
    grd->horizontalHeader()->setStretchLastSection(true);
    grd->verticalHeader()->setDefaultSectionSize(24);
    grd->setColumnWidth(0, 90);
    grd->setColumnWidth(1, 80);
    grd->setColumnWidth(2, 200);
    grd->setColumnWidth(ActividadModel::ColAgente, 140);
    // Who wrote each line stands beside the client, before the text that stretches.
    grd->horizontalHeader()->moveSection(ActividadModel::ColAgente, ActividadModel::ColActividad);
    grd->setSelectionBehavior(QAbstractItemView::SelectItems);
    ui::disableCornerButton(grd, tr("Esquina de la tabla de actividades"));
    grd->setItemDelegateForColumn(
        ActividadModel::ColCliente,
        new DelegadoCliente([this](int fila) { return clienteActividad(fila); }, grd));
    g->addWidget(grd, 0, 0, 1, 3);
    cmdInsertarLinea = new QPushButton(tr("Insertar Línea"), picActividades);
    cmdInsertarLinea->setObjectName(QStringLiteral("cmdInsertarLinea"));
    cmdInsertarLinea->setAccessibleName(cmdInsertarLinea->text());
    cmdBorrarLinea = new QPushButton(tr("Eliminar Línea"), picActividades);
    cmdBorrarLinea->setObjectName(QStringLiteral("cmdBorrarLinea"));
    cmdBorrarLinea->setAccessibleName(cmdBorrarLinea->text());
    g->addWidget(cmdInsertarLinea, 1, 0);
    g->addWidget(cmdBorrarLinea, 1, 1);
    g->setColumnStretch(2, 1);
    connect(cmdInsertarLinea, &QPushButton::clicked, this, &frmPropiedades::insertarLinea);
    connect(cmdBorrarLinea, &QPushButton::clicked, this, &frmPropiedades::borrarLinea);
}

void frmPropiedades::nombresUnicos() {
    // The same caption on several tabs ("Precio:", "Dirección:") is told apart
    // by its tab, so a screen reader never says two inputs the same way.
    QHash<QString, QList<QWidget*>> porNombre;
    for (QWidget* w : findChildren<QWidget*>())
        if (!w->accessibleName().isEmpty())
            porNombre[w->accessibleName()] << w;
    for (auto it = porNombre.cbegin(); it != porNombre.cend(); ++it) {
        if (it.value().size() < 2)
            continue;
        for (QWidget* w : it.value())
            for (auto p = paginas_.cbegin(); p != paginas_.cend(); ++p)
                if (p.value()->isAncestorOf(w))
                    w->setAccessibleName(
                        QStringLiteral("%1 (%2)").arg(w->accessibleName(), tabs->tabText(p.key())));
    }
}

void frmPropiedades::crearBotonesDocumento() {
    butPrint =
        addToolButton(QStringLiteral("butPrint"), tr("Imprimir Ficha"), QStringLiteral("document-print"));
    butDossier = addToolButton(QStringLiteral("butDossier"), tr("Imprimir Dossier"),
                               QStringLiteral("x-office-document"));
    // The icon theme has no PDF symbol; a light fallback page would look disabled beside the others.
    butPDF =
        addToolButton(QStringLiteral("butPDF"), tr("Dossier en PDF"), QStringLiteral("document-save-as"));
    butEmail = addToolButton(QStringLiteral("butEmail"), tr("Enviar dossier por Email"),
                             QStringLiteral("mail-send"));
    for (QToolButton* b : {butPrint, butDossier, butPDF, butEmail})
        b->setEnabled(false);
    butInteresados = addToolButton(QStringLiteral("butInteresados"), tr("Clientes interesados"),
                                   QStringLiteral("system-users"));
    connect(butInteresados, &QToolButton::clicked, this, [this] {
        if (data->EstadoPaseando())
            frmCoincidencias::Mostrar(ctx, frmCoincidencias::Modo::DePropiedad, txt.value(Cod)->Text());
    });
    butVisitas =
        addToolButton(QStringLiteral("butVisitas"), tr("Visitas"), QStringLiteral("x-office-calendar"));
    butNuevaVisita = addToolButton(QStringLiteral("butNuevaVisita"), tr("Nueva visita"),
                                   QStringLiteral("appointment-new"));
    butInformePropietario = addToolButton(QStringLiteral("butInformePropietario"),
                                          tr("Informe al propietario"), QStringLiteral("mail-forward"));
    const auto mostrada = [this] { return data->EstadoPaseando() ? txt.value(Cod)->Text() : QString(); };
    ConectarBotonesVisitas(ctx, butVisitas, butNuevaVisita, [mostrada] {
        FiltroVisitas f;
        f.codPropiedad = mostrada();
        return f;
    });
    ConectarInformePropietario(ctx, this, butInformePropietario, mostrada);
}

} // namespace orb
