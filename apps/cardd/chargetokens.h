// Short-lived proofs that a card's password (or a certificate's check) was
// given at a till: QueryCard issues one, PayByCard spends it.
#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>

namespace qiantai::cardd {

class ChargeTokens {
public:
    using Clock = std::chrono::steady_clock;

    explicit ChargeTokens(std::chrono::seconds lifetime) : lifetime_(lifetime) {}

    // A new token for `subject` (card type and number) asked by `till`.
    std::string issue(const std::string& subject, const std::string& till);
    // Spends a token: true when it was issued for `subject` to `till` and has
    // not expired; it can then not be spent again unless given back.
    bool take(const std::string& token, const std::string& subject, const std::string& till);
    // Returns a token taken for a charge that was not made.
    void giveBack(const std::string& token, const std::string& subject, const std::string& till);

private:
    struct Grant {
        std::string subject;
        std::string till;
        Clock::time_point expires;
    };
    void dropExpired(Clock::time_point now);

    std::chrono::seconds lifetime_;
    std::mutex mutex_;
    std::map<std::string, Grant> grants_;
    std::map<std::string, Grant> taken_;
};

} // namespace qiantai::cardd
