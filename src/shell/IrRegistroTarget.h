#pragma once

#include <QString>

namespace orb {

// A record window that can be positioned on a record by its code; the main
// window finds it in a slot and calls it for the search windows' Go to. A
// record being added or edited is never left without asking the user.
class IrRegistroTarget {
public:
    virtual ~IrRegistroTarget() = default;
    virtual void IrRegistro(const QString& cod) = 0;
};

} // namespace orb
