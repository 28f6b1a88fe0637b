#pragma once

#include <QStringList>

class QLineEdit;

namespace orb {

// An Agente box that offers the agency's agents: typing completes a name, and
// the arrow at its end (or Alt+Down) shows them all. Any text stays allowed:
// records keep the names they were stored with, agents who left included.
void PonerListaAgentes(QLineEdit* caja, const QStringList& nombres);

} // namespace orb
