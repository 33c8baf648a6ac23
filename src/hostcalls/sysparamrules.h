// How each tbSysmsg key becomes a field of TSysParamRecord, in load order.
#pragma once

#include "hostcalls/sysparams.h"

#include <QString>

#include <variant>
#include <vector>

namespace qiantai {

using SysParamField = std::variant<QString TSysParamRecord::*, int TSysParamRecord::*,
                                   bool TSysParamRecord::*, double TSysParamRecord::*>;

// How a stored text becomes a text field; other fields convert by their type
// (integer, floating point, Boolean = text is "1").
enum class TextForm {
    AsStored,
    OneOrZero,     // "1" stays "1", anything else becomes "0"
    DecimalFormat, // a digit count n gives "0." followed by n zeros
};

struct SysParamRule {
    SysParam member;      // request member that selects the rule
    const char* key;      // f_Csmc
    SysParamField field;  // where the value goes
    const char* failure;  // message when the key is absent and no fallback applies
    const char* fallback; // stored text assumed when the key is absent; nullptr: none
    TextForm form = TextForm::AsStored;
    bool blankIsFallback = false; // a blank stored value counts as absent
    bool exactKey = false;        // key matched with regard to case
    // The fallback applies only for these unit types (dwlx); nullptr: always.
    bool (*fallbackForUnitType)(const QString& unitType) = nullptr;
    // Read only when this Boolean field is already True, else set to False.
    bool TSysParamRecord::*onlyWhen = nullptr;
};

// Every rule, in the order the loader applies them.
const std::vector<SysParamRule>& SysParamRules();

} // namespace qiantai
