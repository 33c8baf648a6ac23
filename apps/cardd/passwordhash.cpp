#include "passwordhash.h"

#include <sodium.h>

#include <stdexcept>

namespace qiantai::cardd {

namespace {

void InitSodium()
{
    static const int rc = sodium_init();
    if (rc < 0)
        throw std::runtime_error("libsodium cannot be initialised");
}

} // namespace

std::string HashPassword(const std::string& password, HashCost cost)
{
    InitSodium();
    const bool minimum = cost == HashCost::Minimum;
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, password.data(), password.size(),
                          minimum ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          minimum ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        return {};
    return out;
}

bool VerifyPassword(const std::string& hash, const std::string& password)
{
    InitSodium();
    if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES)
        return false;
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

} // namespace qiantai::cardd
