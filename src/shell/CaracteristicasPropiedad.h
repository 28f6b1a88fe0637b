#pragma once

// The yes/no features of a property, once: the columns of Propiedades, the
// property window's check boxes and the dossier's features line all read this.

#include <QString>

#include <span>
#include <vector>

namespace orb {

struct CaracteristicaPropiedad {
    const char* campo;      // yes/no column of Propiedades
    int casilla;            // index of its check box on the window's features tab
    const char16_t* rotulo; // the check box's caption (and accessible name)
    // Place in the dossier's features line (1 first); 0 when the dossier leaves it out.
    int ordenDossier = 0;
    const char16_t* dossierEspanol = nullptr;
    const char16_t* dossierIngles = nullptr;
};

// The check box's caption in the interface's language (rotulo is the Spanish).
QString RotuloCaracteristica(const CaracteristicaPropiedad& c);

// In the order of the columns of Propiedades, which is the window's order too.
std::span<const CaracteristicaPropiedad> caracteristicasPropiedad();

// The features the dossier prints, in its order.
const std::vector<const CaracteristicaPropiedad*>& caracteristicasDossier();

} // namespace orb
