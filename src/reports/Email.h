#pragma once

#include <QString>

class QWidget;

namespace orb {

struct AppContext;

// A new message to a person, opened in the user's mail client. Nothing
// happens for an empty address; when no mail client can be started the user
// is told so in the error box.
void EmailPara(AppContext& ctx, QWidget* parent, const QString& direccion, const QString& nombre);

// A new message without recipient carrying one attachment.
void EmailDossier(AppContext& ctx, QWidget* parent, const QString& asunto, const QString& texto,
                  const QString& fichero);

} // namespace orb

namespace orb {

// A new message to a person carrying one file; false (the user told why) when
// no mail client took it.
bool EmailConDocumento(AppContext& ctx, QWidget* parent, const QString& direccion, const QString& nombre,
                       const QString& asunto, const QString& texto, const QString& fichero);

} // namespace orb
