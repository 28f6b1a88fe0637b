#pragma once

#include <QString>

namespace orb {

// Files and folders; wildcards and errors as the exchange and web export need them.

bool ExisteFichero(const QString& ruta); // a normal file; wildcards allowed in the name
// Appends "/" to ruta when missing (the caller's variable changes); true if the folder exists.
// An empty ruta names no folder: false, left empty.
bool ExisteCarpeta(QString& ruta);
void BorrarFichero(const QString& ruta);    // every error ignored
void VaciarCarpeta(const QString& carpeta); // deletes the files directly inside; keeps sub-folders

// True when carpeta lies strictly inside raiz, once "." and ".." are resolved
// and, for the part of each path that exists, symbolic links too. raiz itself,
// anything outside it and an empty name are not inside. Checked before a
// folder is emptied or mirrored into with deletion.
bool CarpetaDentroDe(const QString& carpeta, const QString& raiz);

} // namespace orb
