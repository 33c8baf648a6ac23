// A sale ready for a cashier's keys in the settlement screen: one line of
// 100.00 in document 0000000042, and a store, owned by the session, that
// takes the sale and then finds it stored.
#pragma once

#include "checkoutfixture.h"
#include "qiantai/dispids.h"
#include "storefixture.h"

namespace qiantai::test {

inline void PrepareTypedSale(SaleSession& s, StoreFixture* store)
{
    PrepareCheckoutSession(s);
    s.Dqny = store->currentYearMonth;
    s.Dwlx = QStringLiteral("11");
    s.Djh = QStringLiteral("0000000042");
    s.Syybm = QStringLiteral("0007");
    AddLine(s, QStringLiteral("100001"), 85.47, 14.53, 17);
    s.HostObject.reset(store);
    store->release();
    store->on(dispid::SaveSale, [](QVariantList& args) {
        args.last() = 0;
        return QVariant(true);
    });
    store->queries[QStringLiteral(" Select * From tb200406_xsmxzb zb , tb200406_xsmxcb cb "
                                  " Where zb.f_djh = cb.f_djh and zb.f_Djh = '0000000042'"
                                  " And zb.f_Bmbm = '' ")] = FakeHost::table({"f_Djh"}, {{"0000000042"}});
}

} // namespace qiantai::test
