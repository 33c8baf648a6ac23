// A FakeHost answering product entry as a small store would: products by
// code (several rows for a shared bar code), the department-product and
// trade-status queries, stock and limited offers, each switchable per test.
#pragma once

#include "fakehost.h"
#include "qiantai/dispids.h"

#include <QHash>

#include <optional>

namespace qiantai::test {

class ProductStore {
public:
    // Columns of a product row, in the order Product() takes them.
    static QStringList Columns()
    {
        return {"f_Spbm", "f_sphh", "f_spmc", "f_sptm", "f_spcd", "f_ggxh", "f_jldw", "f_dwbl",
                "f_zhjj", "f_zdsj", "f_xsdj", "f_xskz", "f_xxsl", "f_yxjj", "f_flsp"};
    }
    static QVariantList Product(const QString& code, const QString& name, double price, double taxRate = 17,
                                int wholeOnly = 0, int soldThenPurchased = 0, const QString& barCode = {})
    {
        return {code,        "HH" + code,       name,  barCode.isEmpty() ? "69" + code : barCode,
                "南京",      "KFR-35",          "台",  1.0,
                price * 0.8, price * 0.9,       price, wholeOnly,
                taxRate,     soldThenPurchased, 0};
    }

    explicit ProductStore(FakeHost& host) : host_(host) { Install(); }

    // Every check passes again; products stay.
    void PassAllChecks()
    {
        departmentAllows = true;
        departmentFails = false;
        tradeStatus = 1;
        tradeFails = false;
        stockAccepts = true;
        offers.clear();
    }

    // Rows the lookup returns for a typed code.
    QHash<QString, QList<QVariantList>> products;
    bool departmentAllows = true;
    bool departmentFails = false;
    std::optional<int> tradeStatus = 1; // f_Yxxs; none: the product is not in the catalogue
    bool tradeFails = false;
    bool stockAccepts = true;
    QString stockRefusal = QStringLiteral("库存不足");
    // Offer answers by mode "0", "1", "2"; a mode without one refuses.
    QHash<QString, std::pair<double, double>> offers; // price, value

private:
    void Install()
    {
        host_.answer(dispid::PrepareProductLookup, -1, QVariant());
        host_.on(dispid::LookupProduct, [this](QVariantList& a) {
            DataPacket p = FakeHost::table(Columns(), products.value(a[0].toString()));
            a[1] = packetToVariant(p);
            return QVariant(true);
        });
        host_.on(dispid::OpenQuery, [this](QVariantList& a) {
            const QString sql = a[0].toString();
            if (sql.contains(QLatin1String("tbBmspdz"))) {
                if (departmentFails)
                    return Refuse(a, "dept failed");
                a[1] = packetToVariant(FakeHost::table({"f_Bmbm", "f_Spbm"},
                                                       departmentAllows ? QList<QVariantList>{{"0101", "1"}}
                                                                        : QList<QVariantList>{}));
                return QVariant(true);
            }
            if (sql.contains(QLatin1String("tbSpjyztda"))) {
                if (tradeFails)
                    return Refuse(a, "trade failed");
                QList<QVariantList> rows;
                if (tradeStatus)
                    rows.append({"01", *tradeStatus});
                a[1] = packetToVariant(FakeHost::table({"f_Jyztbm", "f_Yxxs"}, rows));
                return QVariant(true);
            }
            return Refuse(a, "unexpected query");
        });
        const auto stock = [this](QVariantList& a) {
            if (stockAccepts)
                return QVariant(true);
            return Refuse(a, stockRefusal);
        };
        host_.on(dispid::CheckStock, stock);
        host_.on(dispid::CheckDeliveryStock, stock);
        host_.on(dispid::QueryLimitedOffer, [this](QVariantList& a) {
            const auto it = offers.constFind(a[11].toString());
            if (it == offers.constEnd()) {
                a[11] = QStringLiteral("no offer");
                return QVariant(false);
            }
            a[9] = it->first;
            a[10] = it->second;
            return QVariant(true);
        });
    }
    static QVariant Refuse(QVariantList& a, const QString& message)
    {
        a.last() = message;
        return QVariant(false);
    }

    FakeHost& host_;
};

} // namespace qiantai::test
