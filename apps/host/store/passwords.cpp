#include "passwords.h"

#include <sodium.h>

namespace qiantai::host {
namespace {

bool SodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

} // namespace

QString HashPassword(const QString& password, HashCost cost)
{
    if (!SodiumReady())
        return {};
    const QByteArray pw = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    const unsigned long long ops =
        cost == HashCost::Interactive ? crypto_pwhash_OPSLIMIT_INTERACTIVE : crypto_pwhash_OPSLIMIT_MIN;
    const size_t mem =
        cost == HashCost::Interactive ? crypto_pwhash_MEMLIMIT_INTERACTIVE : crypto_pwhash_MEMLIMIT_MIN;
    if (crypto_pwhash_str_alg(out, pw.constData(), static_cast<unsigned long long>(pw.size()), ops, mem,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        return {};
    return QString::fromLatin1(out);
}

bool CheckPassword(const QString& hash, const QString& password)
{
    if (!SodiumReady() || hash.isEmpty())
        return false;
    const QByteArray h = hash.toLatin1();
    if (h.size() >= crypto_pwhash_STRBYTES)
        return false;
    const QByteArray pw = password.toUtf8();
    return crypto_pwhash_str_verify(h.constData(), pw.constData(),
                                    static_cast<unsigned long long>(pw.size())) == 0;
}

} // namespace qiantai::host
