// Employee passwords: Argon2id hash strings (libsodium), never plain text.
#pragma once

#include <QString>

namespace qiantai::host {

enum class HashCost {
    Interactive, // for real stores
    Minimal      // for tests and generated demo data on slow machines
};

// An encoded hash string (algorithm, parameters, salt and hash); empty when
// hashing failed (out of memory).
QString HashPassword(const QString& password, HashCost cost = HashCost::Interactive);
// True when `password` matches `hash`; false for an empty or malformed hash.
bool CheckPassword(const QString& hash, const QString& password);

} // namespace qiantai::host
