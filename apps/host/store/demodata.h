// The demo appliance store: the fixed facts the README walks through, plus
// a generated catalogue of generic products.
#pragma once

#include "hostcontext.h"
#include "passwords.h"

namespace qiantai::host {

struct DemoOptions {
    int generatedProducts = 300; // besides the fixed 100001..100008
    HashCost hashCost = HashCost::Interactive;
};

// Fills an empty store (and its centre, when open) with the demo data;
// the accounting month becomes the current month. Refuses a store that
// already has system parameters.
bool CreateDemoStore(HostContext& ctx, const DemoOptions& options, QString* error);

// Employees of the demo store and their passwords.
struct DemoLogin {
    const char* code;
    const char* password;
};
extern const DemoLogin DemoLogins[4];

} // namespace qiantai::host
