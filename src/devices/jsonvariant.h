// QVariant <-> JSON values for the card front-end's requests and answers.
#pragma once

#include <QVariant>

#include <nlohmann/json_fwd.hpp>

namespace qiantai {

// Texts, numbers, Booleans, lists and maps; an invalid variant is null; any
// other type goes as its text.
nlohmann::json VariantToJson(const QVariant& value);
// Strings to QString, integers to qlonglong, other numbers to double, arrays
// to QVariantList, objects to QVariantMap, null to an invalid QVariant.
QVariant JsonToVariant(const nlohmann::json& value);

} // namespace qiantai
