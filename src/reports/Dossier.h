#pragma once

#include "platform/report/Document.h"

#include <QString>
#include <functional>

namespace orb {

struct AppContext;

namespace reports {

// The layout file of a dossier model: Dossier.rpx for model 0, DossierN.rpx
// for model N, in the installation folder.
QString RutaModeloDossier(const AppContext& ctx, int modelo);

// The model to use. With ModelosDossier above 1 the user chooses one through
// the dossier chooser: 1 … N, or 0 when cancelled; otherwise 0 without asking.
int ElegirModeloDossier(AppContext& ctx, bool* cancelado = nullptr);

// Where the PDF of a property's dossier goes: one file per property,
// replaced each time.
QString RutaDossierPDF(const AppContext& ctx, const QString& cod);

// Headless twin: the dossier of the property with that code in that model.
// Throws report::ReportError (the layout file, named) or db::DbError.
report::Document GenerarDossier(AppContext& ctx, const QString& cod, int modelo);

// Preview of the property's dossier in a new report window. A cancelled
// choice of model falls back to Dossier.rpx.
bool VerDossier(AppContext& ctx, const QString& cod);

// Writes the property's dossier to its PDF file and returns the file's path;
// "" when nothing was written (choice cancelled, or an error already shown).
QString DossierPDF(AppContext& ctx, const QString& cod);

// "Dossier en PDF": writes the PDF, tells where, and offers to open it with
// the desktop's program for PDF files.
void GuardarDossierPDF(AppContext& ctx, const QString& cod);
// How a file is opened with the desktop's program for it (tests put their own).
using AbridorFicheros = std::function<bool(const QString& fichero)>;
void PonerAbridorFicheros(AbridorFicheros abridor);

// The PDF, then a new message carrying it, without recipient.
void EnviarDossier(AppContext& ctx, const QString& cod);

} // namespace reports
} // namespace orb
