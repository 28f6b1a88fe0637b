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
    const char16_t* rotulo;
    int pestaña, fila, columna, span;
    Clase clase = Clase::Linea;
};

// In reading order within each tab: the focus follows this order.
inline const CampoTexto CamposTexto[] = {
    {FechaAlta, "FechaAlta", u"Fecha &Alta:", -1, 0, 2, 1, Clase::Fecha},

    {Precio, "Precio", u"&Precio:", TabCaracteristicas, 0, 2, 1, Clase::Importe},
    {Metros, "Metros", u"&Metros:", TabCaracteristicas, 0, 4, 1},
    {MetrosParcela, "MetrosParcela", u"Parcela:", TabCaracteristicas, 1, 0, 1},
    {Dormitorios, "Dormitorios", u"&Dormitorios:", TabCaracteristicas, 1, 2, 1},
    {Banos, "Banos", u"&Baños:", TabCaracteristicas, 1, 4, 1},
    {Aseos, "Aseos", u"Aseos:", TabCaracteristicas, 2, 0, 1},
    {Suelos, "Suelos", u"Suelos:", TabCaracteristicas, 2, 2, 1},
    {Terrazas, "Terrazas", u"Terrazas:", TabCaracteristicas, 2, 4, 1},
    {ArmariosEmpotrados, "ArmariosEmpotrados", u"Armarios Empotrados:", TabCaracteristicas, 3, 0, 1},
    {PlazasGaraje, "PlazasGaraje", u"Plazas Garaje:", TabCaracteristicas, 3, 2, 1},
    {Antiguedad, "Antiguedad", u"Antigüedad:", TabCaracteristicas, 3, 4, 1},
    {Comunidad, "Comunidad", u"Comunidad:", TabCaracteristicas, 4, 0, 1, Clase::Importe},
    {Agente, "Agente", u"Agente:", TabCaracteristicas, 4, 2, 1},
    {Calificacion, "Calificacion", u"Calificación:", TabCaracteristicas, 4, 4, 1},
    {Hipoteca, "Hipoteca", u"Hipoteca:", TabCaracteristicas, 5, 0, 1, Clase::Importe},
    {ValorEscritura, "ValorEscritura", u"Valor Escriturado:", TabCaracteristicas, 5, 2, 1, Clase::Importe},
    {AnoConstruccion, "AnoConstruccion", u"Año construc.:", TabCaracteristicas, 5, 4, 1},
    {Observaciones, "Observaciones", u"Ob&servs.:", TabCaracteristicas, 7, 2, 3, Clase::Memo},

    {CodPropietario, "CodPropietario", u"&Propietario:", TabConfidencial, 0, 0, 3},
    {Direccion, "Direccion", u"&Dirección:", TabConfidencial, 1, 0, 3},
    {Planta, "Planta", u"Planta:", TabConfidencial, 2, 0, 1},
    {Puerta, "Puerta", u"Puerta:", TabConfidencial, 2, 2, 1},
    {NumeroFinca, "NumeroFinca", u"Nº finca registral:", TabConfidencial, 3, 0, 1},
    {Titularidad, "Titularidad", u"Titularidad:", TabConfidencial, 3, 2, 1},
    {DiasExclusiva, "DiasExclusiva", u"Días exclusiva:", TabConfidencial, 4, 0, 1},
    {PPrecio, "PPrecio", u"P&recio:", TabConfidencial, 5, 0, 1, Clase::Importe},
    {PComentarios, "PComentarios", u"&Comentarios:", TabConfidencial, 6, 0, 3, Clase::Memo},

    {FechaInicio, "FechaInicio", u"Fecha &Inicio:", TabAlquiler, 1, 0, 1, Clase::Fecha},
    {FechaFin, "FechaFin", u"Fecha &Fin:", TabAlquiler, 1, 2, 1, Clase::Fecha},
    {PrecioAlquiler, "PrecioAlquiler", u"&Precio:", TabAlquiler, 2, 0, 1, Clase::Importe},
    {ObservacionesAlquiler, "ObservacionesAlquiler", u"&Observs.:", TabAlquiler, 3, 0, 4, Clase::Memo},

    {INombre, "INombre", u"&Nombre:", TabInquilino, 0, 0, 5},
    {IDireccion, "IDireccion", u"&Dirección:", TabInquilino, 1, 0, 5},
    {ILocalidad, "ILocalidad", u"&Localidad:", TabInquilino, 2, 0, 3},
    {ICp, "ICp", u"C&P:", TabInquilino, 2, 4, 1},
    {IProvincia, "IProvincia", u"Pro&vincia:", TabInquilino, 3, 0, 3},
    {ITelefono, "ITelefono", u"&Teléfono:", TabInquilino, 4, 0, 1},
    {IMovil, "IMovil", u"&Móvil:", TabInquilino, 4, 2, 1},
    {IFax, "IFax", u"F&ax:", TabInquilino, 4, 4, 1},
    {IPasaporte, "IPasaporte", u"Pa&saporte:", TabInquilino, 5, 0, 1},
    {IDni, "IDni", u"DN&I:", TabInquilino, 5, 2, 1},
    {INie, "INie", u"NI&E:", TabInquilino, 5, 4, 1},
    {IComentarios, "IComentarios", u"C&omentarios:", TabInquilino, 7, 0, 5, Clase::Memo},

    {DossierTitulo, "DossierTitulo", u"&Titulo:", TabDossier, 0, 0, 1},
    {DossierDescripcion, "DossierDescripcion", u"&Descripción:", TabDossier, 1, 0, 1, Clase::Memo},
    {DossierTituloIdioma1, "DossierTituloIdioma1", u"Titulo:\n(Idioma 1)", TabDossier, 2, 0, 1},
    {DossierDescripcionIdioma1, "DossierDescripcionIdioma1", u"Descripción:\n(Idioma 1)", TabDossier, 3, 0, 1,
     Clase::Memo},

    {WebDescripcion, "WebDescripcion", u"&Descripción:", TabWeb, 1, 0, 1, Clase::Memo},
    {WebDescripcionIdioma1, "WebDescripcionIdioma1", u"Descripción:\n(Inglés)", TabWeb, 2, 0, 1, Clase::Memo},
    {WebDescripcionIdioma2, "WebDescripcionIdioma2", u"Descripción:\n(Francés)", TabWeb, 3, 0, 1,
     Clase::Memo},
};

} // namespace orb::campos
