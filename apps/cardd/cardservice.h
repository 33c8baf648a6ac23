// The card front-end's two methods over the request arrays the module sends.
#pragma once

#include "cardstore.h"

#include <nlohmann/json.hpp>

#include <stdexcept>

namespace qiantai::cardd {

// A request array that does not have the elements its card type needs.
class InvalidParams : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The store could not answer.
class ServiceFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Results are {"ok": true, "answer": [...]} for a query, {"ok": true,
// "journal": id} for a charge and {"ok": false, "refusal": "..."} for a no.
class CardService {
public:
    explicit CardService(CardStore& store) : store_(store) {}

    // Member card: ["0", card no, password, "1", "", unit code]
    //   answer: ["0", balance, 0, card no, 0, member account, points, 0, 0]
    // Welfare certificate: ["1", certificate no, unit code]
    //   answer: ["1", certificate no, face value, deduction]
    nlohmann::json queryCard(const nlohmann::json& params);
    // Member card: ["0", Djh, unit code, card no, member account, amount, "",
    //   cashier code, cashier name, station]
    // Welfare certificate: ["1", Djh, unit code, certificate no, "",
    //   cashier code, cashier name, station]
    nlohmann::json payByCard(const nlohmann::json& params);

private:
    CardStore& store_;
};

// "****0001": what the server's log may show of a card number.
std::string LastFour(const QString& cardNo);

} // namespace qiantai::cardd
