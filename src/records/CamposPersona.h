#pragma once

#include "frmPropietarioNuevo.h"

#include <QCoreApplication>
#include <QString>
#include <algorithm>
#include <array>
#include <vector>

namespace orb {

// Boxes txt(n) that the owners and clients windows share.
namespace persona {
inline constexpr int Telefono = 1;
inline constexpr int Nombre = 2;
inline constexpr int Direccion = 3;
inline constexpr int Localidad = 4;
inline constexpr int Provincia = 5;
inline constexpr int Movil = 6;
inline constexpr int Comentarios = 7;
inline constexpr int Cod = 8; // hidden: office code and masked number, built on confirm
inline constexpr int Cp = 9;
inline constexpr int Fax = 10;
inline constexpr int FechaAlta = 12;
inline constexpr int Email = 14;
inline constexpr int Agencia = 15;
inline constexpr int QuickID = 16;
} // namespace persona

// The owner's boxes: the shared ones, and the identity documents. The
// new-owner dialog uses the same indices.
namespace propietario {
using namespace persona;
inline constexpr int Nie = 0;
inline constexpr int Pasaporte = 11;
inline constexpr int Dni = 13;

// Where a box sits in a window's grid: row, column of its caption (the box
// is to its right) and the columns the box spans.
struct Posicion {
    int fila;
    int columna;
    int ancho;
};

// One of the owner's personal data as the owners window and the new-owner
// dialog lay it out: box, field and caption, the field's length (the dialog's
// limit), the place in each window, and the dialog's result member.
struct Campo {
    int indice;
    const char* campo;
    const char* etiqueta; // UTF-8, translated where it is shown
    int longitud;
    Posicion ficha;
    Posicion dialogo;
    QString frmPropietarioNuevo::*resultado;

    QString nombreCampo() const { return QString::fromLatin1(campo); }
    QString rotulo() const { return QCoreApplication::translate("CamposPersona", etiqueta); }
};

// Comentarios is a memo below these in both windows; the owners window shows
// Email with its envelope button. One field a line:
// clang-format off
inline const std::array<Campo, 12> Campos = {{
    {Nombre, "Nombre", QT_TRANSLATE_NOOP("CamposPersona", "&Nombre:"), 50, {1, 0, 5}, {0, 0, 5}, &frmPropietarioNuevo::Nombre},
    {Direccion, "Direccion", QT_TRANSLATE_NOOP("CamposPersona", "&Dirección:"), 70, {2, 0, 5}, {1, 0, 5}, &frmPropietarioNuevo::Direccion},
    {Localidad, "Localidad", QT_TRANSLATE_NOOP("CamposPersona", "&Localidad:"), 40, {3, 0, 3}, {2, 0, 3}, &frmPropietarioNuevo::Localidad},
    {Cp, "Cp", QT_TRANSLATE_NOOP("CamposPersona", "C&P:"), 5, {3, 4, 1}, {2, 4, 1}, &frmPropietarioNuevo::CP},
    {Provincia, "Provincia", QT_TRANSLATE_NOOP("CamposPersona", "Pro&vincia:"), 30, {4, 0, 3}, {3, 0, 3}, &frmPropietarioNuevo::Provincia},
    {Telefono, "Telefono", QT_TRANSLATE_NOOP("CamposPersona", "&Teléfono:"), 30, {5, 0, 1}, {4, 0, 1}, &frmPropietarioNuevo::Telefono},
    {Movil, "Movil", QT_TRANSLATE_NOOP("CamposPersona", "&Móvil:"), 30, {5, 2, 1}, {4, 2, 1}, &frmPropietarioNuevo::Movil},
    {Fax, "Fax", QT_TRANSLATE_NOOP("CamposPersona", "F&ax:"), 30, {5, 4, 1}, {4, 4, 1}, &frmPropietarioNuevo::Fax},
    {Dni, "Dni", QT_TRANSLATE_NOOP("CamposPersona", "DN&I:"), 20, {6, 0, 1}, {5, 2, 1}, &frmPropietarioNuevo::Dni},
    {Pasaporte, "Pasaporte", QT_TRANSLATE_NOOP("CamposPersona", "Pa&saporte:"), 20, {6, 2, 1}, {5, 0, 1}, &frmPropietarioNuevo::Pasaporte},
    {Nie, "Nie", QT_TRANSLATE_NOOP("CamposPersona", "NI&E:"), 20, {6, 4, 1}, {5, 4, 1}, &frmPropietarioNuevo::Nie},
    {Email, "Email", QT_TRANSLATE_NOOP("CamposPersona", "E&mail:"), 50, {7, 0, 5}, {6, 0, 5}, &frmPropietarioNuevo::Email},
}};
// clang-format on

// The fields in reading order of one window's places (ficha or dialogo),
// which is the order its boxes are created in and so its tab order.
inline std::vector<const Campo*> enOrden(Posicion Campo::*lugar) {
    std::vector<const Campo*> out;
    for (const Campo& c : Campos)
        out.push_back(&c);
    std::stable_sort(out.begin(), out.end(), [lugar](const Campo* a, const Campo* b) {
        const Posicion& pa = a->*lugar;
        const Posicion& pb = b->*lugar;
        return pa.fila != pb.fila ? pa.fila < pb.fila : pa.columna < pb.columna;
    });
    return out;
}
} // namespace propietario

// The client's own boxes besides the shared ones.
namespace cliente {
using namespace persona;
inline constexpr int Requiere = 0;
inline constexpr int Presupuesto = 11;
inline constexpr int Tipo = 13; // cboLookup(13) with its hidden code box
inline constexpr int Dni = 17;
inline constexpr int Pasaporte = 18;
inline constexpr int Nie = 19;
inline constexpr int Agente = 31;
} // namespace cliente

} // namespace orb
