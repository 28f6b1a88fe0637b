#pragma once

#include <QString>

class QCoreApplication;

namespace orb {

// The interface language of one seat. Kept with the seat's own settings, not
// in the agency database: two agents at two PCs of one office may differ.
// Spanish is the program's own (its texts are written in it); English comes
// from the translation built with the program.
enum class Idioma { Espanol, Ingles };

Idioma IdiomaPuesto();
void GuardarIdiomaPuesto(Idioma idioma);

// Installs the translations of the seat's language for the whole process:
// the program's own and Qt's (the standard dialogs' buttons), and the locale
// that numbers and dates follow. Called once, before any window is built;
// a change in the settings is applied at the next start.
void InstalarIdioma(QCoreApplication& app, Idioma idioma);

// The language this process runs in (what InstalarIdioma installed).
Idioma IdiomaActual();
inline bool InterfazEnIngles() {
    return IdiomaActual() == Idioma::Ingles;
}

// A type's name as this seat shows it, from the Tipos row under alias: on an
// English seat its English name, or its Spanish one when it has none.
QString NombreTipo(const QString& alias);
// Code and shown name of every type, by that name: a type list's statement.
QString ListaTipos();

} // namespace orb
