// The tills a store has given keys: a file of "name key" lines ('#' starts a
// comment). A till sends its key as "Authorization: Bearer KEY"; the server
// knows it by its name from then on, and the journal records that name.
#pragma once

#include "base/result.h"

#include <QString>

#include <map>
#include <string>

namespace qiantai::cardd {

class TillKeys {
public:
    // Fails with the reason (line number) when the file cannot be read or a
    // line is not a name and a key of at least 16 characters.
    Result<> load(const QString& file);
    bool empty() const { return byDigest_.empty(); }
    // The till whose key is `key`; empty when none.
    std::string tillOf(const std::string& key) const;

private:
    std::map<std::string, std::string> byDigest_; // digest of the key -> till name
};

} // namespace qiantai::cardd
