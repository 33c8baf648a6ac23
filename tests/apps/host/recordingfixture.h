// Recording 904 to 907 over the demo store: argument lists in the module's
// shape and reads of what was stored.
#pragma once

#include "hostfixture.h"
#include "salepackets.h"

#include "sale/salesession.h"
#include "screens/collection/unifiedcollection.h"

namespace qiantai::host::test {

class RecordingTest : public HostTest {
protected:
    QVariantList saleArgs(const QString& number, const DataPacket& lines, const QVariantList& bundle,
                          const QString& card = {})
    {
        return SaveSaleArgs(number, lines, bundle, card, QStringLiteral("张先生 13800000000"));
    }
    bool save(QVariantList& args, int dispId = dispid::SaveSale) { return call(dispId, args).toBool(); }

    // A cash sale of one 100001 (2999.00) paid with `cash`.
    QVariantList cashSale(const QString& number, double cash = 3000)
    {
        return saleArgs(number, SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}}),
                        PaymentBundle(PaymentPacket({{0, cash}}, 2999.0), CardPacket()));
    }
    int count(const QString& table, const QString& number)
    {
        return storeValue(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE f_Djh = ?").arg(table), {number})
            .toInt();
    }
    double stock(const QString& product, const QString& group = QStringLiteral("0101"))
    {
        return storeValue(QStringLiteral("SELECT f_Kcsl FROM tbGzkc WHERE f_Gzbm = ? AND f_Spbm = ?"),
                          {group, product})
            .toDouble();
    }
    QString verifySale(const QString& number, const QString& table = QStringLiteral("xsmxzb"),
                       const QString& lines = QStringLiteral("xsmxcb"))
    {
        return QStringLiteral(" Select * From tb202406_%1 zb , tb202406_%2 cb  Where zb.f_djh = cb.f_djh and "
                              "zb.f_Djh = '%3' And zb.f_Bmbm = '0101' ")
            .arg(table, lines, number);
    }
    // The module's collection queries of cashier 0001 on 2024-06-15.
    QString collectSale(const QString& number) { return collectQuery(false, number); }
    QString collectPreSale(const QString& number) { return collectQuery(true, number); }
    QString collectQuery(bool preSale, const QString& number)
    {
        SaleSession s;
        s.Dqny = QStringLiteral("202406");
        s.Syybm = QStringLiteral("0001");
        return UnifiedDocumentSql(s, preSale, number, QStringLiteral("20240615"));
    }
};

} // namespace qiantai::host::test
