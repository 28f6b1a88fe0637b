#pragma once

namespace db::detail {

// Makes SQLite's file locks belong to a file description of their own instead
// of the process. On Linux, closing any descriptor of a file drops every
// POSIX lock the process holds on it: a file dialog guessing the type of
// Orbalia.db, or any copy of it, would silently unlock the database and let
// another process delete the WAL under us. Called before the first open.
void guardFileLocks();

} // namespace db::detail
