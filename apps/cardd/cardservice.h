// The card front-end's two methods over the request arrays the module sends.
#pragma once

#include "cardstore.h"
#include "chargetokens.h"
#include "jsonrpc.h"
#include "querylimit.h"

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

struct ServiceSettings {
    LockPolicy lock;
    // Card queries (member cards and certificates together) per till and
    // minute; 0: no limit.
    int queriesPerMinute = 30;
    // How long a query's charge token stays good.
    int tokenSeconds = 300;
};

// Results are {"ok": true, "answer": [...], "token": "..."} for a query,
// {"ok": true, "journal": id} for a charge and {"ok": false, "refusal":
// "..."} for a no. A charge carries beside its params (in the call's context)
// the till's "paymentId" and the "token" of the query that checked the card.
class CardService {
public:
    explicit CardService(CardStore& store, ServiceSettings settings = ServiceSettings());

    // Member card: ["0", card no, password, "1", "", unit code]
    //   answer: ["0", balance, 0, card no, 0, member account, points, 0, 0]
    // Welfare certificate: ["1", certificate no, unit code]
    //   answer: ["1", certificate no, face value, deduction]
    nlohmann::json queryCard(const nlohmann::json& params, const CallContext& call = CallContext());
    // Member card: ["0", Djh, unit code, card no, member account, amount, "",
    //   cashier code, cashier name, station]
    // Welfare certificate: ["1", Djh, unit code, certificate no, "",
    //   cashier code, cashier name, station]
    nlohmann::json payByCard(const nlohmann::json& params, const CallContext& call = CallContext());
    // [payment id] -> {"ok": true, "state": "done" | "reversed" | "none",
    //   "journal": id}; "none" closes the id: it can charge no more.
    nlohmann::json paymentStatus(const nlohmann::json& params, const CallContext& call = CallContext());
    // [payment id] -> {"ok": true, "journal": id}: the charge given back.
    nlohmann::json reverseCharge(const nlohmann::json& params, const CallContext& call = CallContext());
    // [YYYYMMDD] -> {"ok": true, "entries": [{"id", "card_type", "card_no",
    //   "document_no", "unit_code", "cashier_code", "till", "amount_fen",
    //   "state", "created_at"}, ...]}: the day's charges, for closing the day.
    nlohmann::json journalForDay(const nlohmann::json& params, const CallContext& call = CallContext());

private:
    CardStore& store_;
    ServiceSettings settings_;
    ChargeTokens tokens_;
    QueryLimit queries_;
};

} // namespace qiantai::cardd
