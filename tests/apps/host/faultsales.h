// The two sales the fault trials record, built the same way by the test and
// by its worker process: a sale that touches every store table (two lines,
// cash, a bank card row and the customer account) and a central-delivery
// sale that also writes the centre's delivery order.
#pragma once

#include "salepackets.h"

#include "qiantai/dispids.h"

namespace qiantai::host::test {

enum class FaultSale { Store, Central };

inline int FaultSaleDispId(FaultSale s)
{
    return s == FaultSale::Store ? dispid::SaveSale : dispid::SaveCentralDeliverySale;
}

inline int FaultSaleNumberKind(FaultSale s)
{
    return s == FaultSale::Store ? dispid::AllocateDocumentNumber : dispid::AllocateDeliveryDocumentNumber;
}

inline QVariantList FaultSaleArgs(FaultSale s, const QString& number)
{
    if (s == FaultSale::Store) {
        const QStringList card = BankCardRow(number, QStringLiteral("39700"), QStringLiteral("1"));
        const DataPacket lines =
            SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}, {QStringLiteral("100003"), 2, 398.0}});
        const QVariantList bundle = PaymentBundle(
            PaymentPacket(
                {{0, 1000}, {5, 397}, {7, 2000, QStringLiteral("000001"), QStringLiteral("000001")}}, 3397.0),
            CardPacket({card}));
        return SaveSaleArgs(number, lines, bundle);
    }
    const DataPacket lines =
        SaleLinesPacket({{QStringLiteral("100001"), 2, 5998.0}, {QStringLiteral("100003"), 1, 199.0}});
    return CentralDeliveryArgs(number, 1000.0, lines);
}

} // namespace qiantai::host::test
