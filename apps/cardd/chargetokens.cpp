#include "chargetokens.h"

#include <sodium.h>

#include <stdexcept>

namespace qiantai::cardd {

namespace {

std::string RandomToken()
{
    if (sodium_init() < 0)
        throw std::runtime_error("libsodium cannot be initialised");
    unsigned char bytes[16];
    randombytes_buf(bytes, sizeof bytes);
    char hex[2 * sizeof bytes + 1];
    sodium_bin2hex(hex, sizeof hex, bytes, sizeof bytes);
    return hex;
}

} // namespace

void ChargeTokens::dropExpired(Clock::time_point now)
{
    for (auto* book : {&grants_, &taken_}) {
        for (auto it = book->begin(); it != book->end();) {
            if (it->second.expires <= now)
                it = book->erase(it);
            else
                ++it;
        }
    }
}

std::string ChargeTokens::issue(const std::string& subject, const std::string& till)
{
    const std::string token = RandomToken();
    const Clock::time_point now = Clock::now();
    std::lock_guard<std::mutex> lock(mutex_);
    dropExpired(now);
    grants_[token] = {subject, till, now + lifetime_};
    return token;
}

bool ChargeTokens::take(const std::string& token, const std::string& subject, const std::string& till)
{
    std::lock_guard<std::mutex> lock(mutex_);
    dropExpired(Clock::now());
    const auto it = grants_.find(token);
    if (it == grants_.end() || it->second.subject != subject || it->second.till != till)
        return false;
    taken_[token] = it->second;
    grants_.erase(it);
    return true;
}

void ChargeTokens::giveBack(const std::string& token, const std::string& subject, const std::string& till)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = taken_.find(token);
    if (it == taken_.end() || it->second.subject != subject || it->second.till != till)
        return;
    grants_[token] = it->second;
    taken_.erase(it);
}

} // namespace qiantai::cardd
