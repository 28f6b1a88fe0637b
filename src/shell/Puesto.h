#pragma once

#include <QSettings>
#include <memory>

namespace orb {

// What one seat remembers for itself (where its windows were), kept with the
// user's own settings: the agency database is shared by every seat, and one
// user's window layout is no business of another's.
std::unique_ptr<QSettings> AjustesPuesto();

} // namespace orb
