#pragma once

// The property window's plain fields as data: which control shows which field,
// with what caption, on which tab and where. Read by frmPropiedadesLayout.cpp;
// the features' check boxes come from shell/CaracteristicasPropiedad.h.

#include "frmPropiedades.h"
#include "shell/CaracteristicasPropiedad.h"

namespace orb::campos {

using namespace prop;

enum class Clase { Linea, Memo, Fecha, Importe };

// One bound text box: where it sits (tab, or -1 for the header; grid row and
// column of its label; columns its box spans) and how it is edited.
struct CampoTexto {
    int indice;
    const char* campo;
    const char* rotulo; // UTF-8: QCoreApplication::translate("CamposPropiedad", rotulo) where shown
    int pestaña, fila, columna, span;
    Clase clase = Clase::Linea;
};

// In reading order within each tab: the focus follows this order.
inline const CampoTexto CamposTexto[] = {
    {FechaAlta, "FechaAlta", QT_TRANSLATE_NOOP("CamposPropiedad", "Fecha &Alta:"), -1, 0, 2, 1, Clase::Fecha},

    {Precio, "Precio", QT_TRANSLATE_NOOP("CamposPropiedad", "&Precio:"), TabCaracteristicas, 0, 2, 1,
     Clase::Importe},
    {Metros, "Metros", QT_TRANSLATE_NOOP("CamposPropiedad", "&Metros:"), TabCaracteristicas, 0, 4, 1},
    {MetrosParcela, "MetrosParcela", QT_TRANSLATE_NOOP("CamposPropiedad", "Parcela:"), TabCaracteristicas, 1,
     0, 1},
    {Dormitorios, "Dormitorios", QT_TRANSLATE_NOOP("CamposPropiedad", "&Dormitorios:"), TabCaracteristicas, 1,
     2, 1},
    {Banos, "Banos", QT_TRANSLATE_NOOP("CamposPropiedad", "&Baños:"), TabCaracteristicas, 1, 4, 1},
    {Aseos, "Aseos", QT_TRANSLATE_NOOP("CamposPropiedad", "Aseos:"), TabCaracteristicas, 2, 0, 1},
    {Suelos, "Suelos", QT_TRANSLATE_NOOP("CamposPropiedad", "Suelos:"), TabCaracteristicas, 2, 2, 1},
    {Terrazas, "Terrazas", QT_TRANSLATE_NOOP("CamposPropiedad", "Terrazas:"), TabCaracteristicas, 2, 4, 1},
    {ArmariosEmpotrados, "ArmariosEmpotrados", QT_TRANSLATE_NOOP("CamposPropiedad", "Armarios Empotrados:"),
     TabCaracteristicas, 3, 0, 1},
    {PlazasGaraje, "PlazasGaraje", QT_TRANSLATE_NOOP("CamposPropiedad", "Plazas Garaje:"), TabCaracteristicas,
     3, 2, 1},
    {Antiguedad, "Antiguedad", QT_TRANSLATE_NOOP("CamposPropiedad", "Antigüedad:"), TabCaracteristicas, 3, 4,
     1},
    {Comunidad, "Comunidad", QT_TRANSLATE_NOOP("CamposPropiedad", "Comunidad:"), TabCaracteristicas, 4, 0, 1,
     Clase::Importe},
    {Agente, "Agente", QT_TRANSLATE_NOOP("CamposPropiedad", "Agente:"), TabCaracteristicas, 4, 2, 1},
    {Calificacion, "Calificacion", QT_TRANSLATE_NOOP("CamposPropiedad", "Calificación:"), TabCaracteristicas,
     4, 4, 1},
    {Hipoteca, "Hipoteca", QT_TRANSLATE_NOOP("CamposPropiedad", "Hipoteca:"), TabCaracteristicas, 5, 0, 1,
     Clase::Importe},
    {ValorEscritura, "ValorEscritura", QT_TRANSLATE_NOOP("CamposPropiedad", "Valor Escriturado:"),
     TabCaracteristicas, 5, 2, 1, Clase::Importe},
    {AnoConstruccion, "AnoConstruccion", QT_TRANSLATE_NOOP("CamposPropiedad", "Año construc.:"),
     TabCaracteristicas, 5, 4, 1},
    {Observaciones, "Observaciones", QT_TRANSLATE_NOOP("CamposPropiedad", "Ob&servs.:"), TabCaracteristicas,
     7, 2, 3, Clase::Memo},

    {CodPropietario, "CodPropietario", QT_TRANSLATE_NOOP("CamposPropiedad", "&Propietario:"), TabConfidencial,
     0, 0, 3},
    {Direccion, "Direccion", QT_TRANSLATE_NOOP("CamposPropiedad", "&Dirección:"), TabConfidencial, 1, 0, 3},
    {Planta, "Planta", QT_TRANSLATE_NOOP("CamposPropiedad", "Planta:"), TabConfidencial, 2, 0, 1},
    {Puerta, "Puerta", QT_TRANSLATE_NOOP("CamposPropiedad", "Puerta:"), TabConfidencial, 2, 2, 1},
    {NumeroFinca, "NumeroFinca", QT_TRANSLATE_NOOP("CamposPropiedad", "Nº finca registral:"), TabConfidencial,
     3, 0, 1},
    {Titularidad, "Titularidad", QT_TRANSLATE_NOOP("CamposPropiedad", "Titularidad:"), TabConfidencial, 3, 2,
     1},
    {DiasExclusiva, "DiasExclusiva", QT_TRANSLATE_NOOP("CamposPropiedad", "Días exclusiva:"), TabConfidencial,
     4, 0, 1},
    {PPrecio, "PPrecio", QT_TRANSLATE_NOOP("CamposPropiedad", "P&recio:"), TabConfidencial, 5, 0, 1,
     Clase::Importe},
    {PComentarios, "PComentarios", QT_TRANSLATE_NOOP("CamposPropiedad", "&Comentarios:"), TabConfidencial, 6,
     0, 3, Clase::Memo},

    {FechaInicio, "FechaInicio", QT_TRANSLATE_NOOP("CamposPropiedad", "Fecha &Inicio:"), TabAlquiler, 1, 0, 1,
     Clase::Fecha},
    {FechaFin, "FechaFin", QT_TRANSLATE_NOOP("CamposPropiedad", "Fecha &Fin:"), TabAlquiler, 1, 2, 1,
     Clase::Fecha},
    {PrecioAlquiler, "PrecioAlquiler", QT_TRANSLATE_NOOP("CamposPropiedad", "&Precio:"), TabAlquiler, 2, 0, 1,
     Clase::Importe},
    {ObservacionesAlquiler, "ObservacionesAlquiler", QT_TRANSLATE_NOOP("CamposPropiedad", "&Observs.:"),
     TabAlquiler, 3, 0, 4, Clase::Memo},

    {INombre, "INombre", QT_TRANSLATE_NOOP("CamposPropiedad", "&Nombre:"), TabInquilino, 0, 0, 5},
    {IDireccion, "IDireccion", QT_TRANSLATE_NOOP("CamposPropiedad", "&Dirección:"), TabInquilino, 1, 0, 5},
    {ILocalidad, "ILocalidad", QT_TRANSLATE_NOOP("CamposPropiedad", "&Localidad:"), TabInquilino, 2, 0, 3},
    {ICp, "ICp", QT_TRANSLATE_NOOP("CamposPropiedad", "C&P:"), TabInquilino, 2, 4, 1},
    {IProvincia, "IProvincia", QT_TRANSLATE_NOOP("CamposPropiedad", "Pro&vincia:"), TabInquilino, 3, 0, 3},
    {ITelefono, "ITelefono", QT_TRANSLATE_NOOP("CamposPropiedad", "&Teléfono:"), TabInquilino, 4, 0, 1},
    {IMovil, "IMovil", QT_TRANSLATE_NOOP("CamposPropiedad", "&Móvil:"), TabInquilino, 4, 2, 1},
    {IFax, "IFax", QT_TRANSLATE_NOOP("CamposPropiedad", "F&ax:"), TabInquilino, 4, 4, 1},
    {IPasaporte, "IPasaporte", QT_TRANSLATE_NOOP("CamposPropiedad", "Pa&saporte:"), TabInquilino, 5, 0, 1},
    {IDni, "IDni", QT_TRANSLATE_NOOP("CamposPropiedad", "DN&I:"), TabInquilino, 5, 2, 1},
    {INie, "INie", QT_TRANSLATE_NOOP("CamposPropiedad", "NI&E:"), TabInquilino, 5, 4, 1},
    {IComentarios, "IComentarios", QT_TRANSLATE_NOOP("CamposPropiedad", "C&omentarios:"), TabInquilino, 7, 0,
     5, Clase::Memo},

    {DossierTitulo, "DossierTitulo", QT_TRANSLATE_NOOP("CamposPropiedad", "&Titulo:"), TabDossier, 0, 0, 1},
    {DossierDescripcion, "DossierDescripcion", QT_TRANSLATE_NOOP("CamposPropiedad", "&Descripción:"),
     TabDossier, 1, 0, 1, Clase::Memo},
    {DossierTituloIdioma1, "DossierTituloIdioma1",
     QT_TRANSLATE_NOOP("CamposPropiedad", "Titulo:\n(Idioma 1)"), TabDossier, 2, 0, 1},
    {DossierDescripcionIdioma1, "DossierDescripcionIdioma1",
     QT_TRANSLATE_NOOP("CamposPropiedad", "Descripción:\n(Idioma 1)"), TabDossier, 3, 0, 1, Clase::Memo},

    {WebDescripcion, "WebDescripcion", QT_TRANSLATE_NOOP("CamposPropiedad", "&Descripción:"), TabWeb, 1, 0, 1,
     Clase::Memo},
    {WebDescripcionIdioma1, "WebDescripcionIdioma1",
     QT_TRANSLATE_NOOP("CamposPropiedad", "Descripción:\n(Inglés)"), TabWeb, 2, 0, 1, Clase::Memo},
    {WebDescripcionIdioma2, "WebDescripcionIdioma2",
     QT_TRANSLATE_NOOP("CamposPropiedad", "Descripción:\n(Francés)"), TabWeb, 3, 0, 1, Clase::Memo},
};

} // namespace orb::campos
