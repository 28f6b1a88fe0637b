#pragma once

#include "platform/report/Layout.h"

#include <QByteArray>
#include <QString>

namespace orb::reports {

// The model an installation's file stands for: the current text of a model
// when the file holds, unchanged, one that an earlier version of the program
// installed; empty for anything else (a current model, or one the agency
// edited).
QByteArray ModeloDossierVigente(const QByteArray& contenido);

// Reads a dossier model file. A superseded model is rewritten in place with
// the current one (and the current one is read even when the folder cannot
// be written); a model the agency edited is read as it is. Throws
// report::ReportError naming the file.
report::Layout CargarModeloDossier(const QString& ruta);

} // namespace orb::reports
