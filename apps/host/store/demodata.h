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

// The keys of generated product `i` (from 0): code 200001 + i, item number
// "G" and the code, an EAN-13 bar code; in stock at counter group 0101 (even
// i) or 0102 (odd i).
constexpr int FirstGeneratedProduct = 200001;
struct GeneratedProduct {
    QString code, itemNumber, barCode, group;
};
GeneratedProduct DemoGeneratedProduct(int i);

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
