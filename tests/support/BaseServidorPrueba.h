#pragma once

#include "TestServers.h"
#include "platform/pg/Connection.h"

#include <memory>

// A database of its own on the test cluster (t_<random>), empty and owned by
// the test role, dropped with everything in it when the object goes.
class BaseServidorPrueba {
public:
    explicit BaseServidorPrueba(const testservers::Postgres& server);
    ~BaseServidorPrueba();
    BaseServidorPrueba(const BaseServidorPrueba&) = delete;
    BaseServidorPrueba& operator=(const BaseServidorPrueba&) = delete;

    const QString& nombre() const { return options_.database; }
    // As the test role, the owner: what a seat or the installer uses.
    const pg::ConnectOptions& options() const { return options_; }
    std::unique_ptr<pg::Connection> conectar() const { return pg::Connection::connect(options_); }

private:
    pg::ConnectOptions admin_;
    pg::ConnectOptions options_;
};
