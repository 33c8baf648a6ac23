// Card password hashes: libsodium's Argon2id string format.
#pragma once

#include <string>

namespace qiantai::cardd {

enum class HashCost {
    Interactive, // for real cards
    Minimum,     // for tests only
};

// The hash string, or empty when hashing failed (out of memory).
std::string HashPassword(const std::string& password, HashCost cost = HashCost::Interactive);
bool VerifyPassword(const std::string& hash, const std::string& password);

} // namespace qiantai::cardd
