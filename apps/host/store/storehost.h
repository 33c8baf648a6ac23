// The reference host service object: every operation of the module's host
// interface over a store database and a distribution-centre database.
#pragma once

#include "database.h"
#include "hostcontext.h"

#include "qiantai/coordisp.h"

#include <memory>

namespace qiantai::host {

class StoreHost : public RefCountedCoorDisp {
public:
    // Opens both databases (creating or migrating their schemas) and the
    // monthly tables of the current accounting month. `centreLocation` may
    // be empty (no distribution centre). Null with `error` set on failure.
    static StoreHost* create(const QString& storeLocation, const QString& centreLocation,
                             std::shared_ptr<const HostClock> clock, QString* error);

    QVariant invoke(int dispId, QVariantList& args) override;

    HostContext& context() { return ctx_; }
    Database& store() { return *store_; }
    Database* centre() { return centre_.get(); }

private:
    StoreHost() = default;
    ~StoreHost() override = default;
    QVariant dispatch(int dispId, QVariantList& args);

    std::shared_ptr<const HostClock> clock_;
    std::unique_ptr<Database> store_;
    std::unique_ptr<Database> centre_;
    HostContext ctx_;
    // The document number this till was last given, and for whom.
    QString document_, documentCashier_;
};

} // namespace qiantai::host
