#include "sale/packets.h"

#include "base/variantarray.h"
#include "sale/paymenttable.h"
#include "sale/salesession.h"

namespace qiantai {

namespace {

constexpr int ChangeTypeNo = -1;
constexpr int UnifiedTypeNo = 0;

DataPacket paymentColumns()
{
    DataPacket p;
    p.addColumn(QStringLiteral("f_Zffs"), FieldType::Integer);
    p.addColumn(QStringLiteral("f_Zfje"), FieldType::Float);
    p.addColumn(QStringLiteral("f_Hykh"), FieldType::Text, 30);
    p.addColumn(QStringLiteral("f_Hyzh"), FieldType::Text, 30);
    p.addColumn(QStringLiteral("f_Hyklx"), FieldType::Integer);
    return p;
}

} // namespace

DataPacket SaleLinesPacket(const TSaleRecords& lines)
{
    DataPacket p;
    p.addColumn(QStringLiteral("f_Spbm"), FieldType::Text, 15);
    p.addColumn(QStringLiteral("f_Xssl"), FieldType::Float);
    p.addColumn(QStringLiteral("f_Xsje"), FieldType::Float);
    p.addColumn(QStringLiteral("f_Xxsj"), FieldType::Float);
    p.addColumn(QStringLiteral("f_Zdzkzr"), FieldType::Float);
    p.addColumn(QStringLiteral("f_Sgzkzr"), FieldType::Float);
    p.addColumn(QStringLiteral("f_Sl"), FieldType::Float);
    p.addColumn(QStringLiteral("f_Ssje"), FieldType::Float);
    p.addColumn(QStringLiteral("f_Spmc"), FieldType::Text, 60);
    p.addColumn(QStringLiteral("f_Flsp"), FieldType::Integer);
    p.addColumn(QStringLiteral("f_Jldw"), FieldType::Text, 20);
    p.addColumn(QStringLiteral("f_Yxjj"), FieldType::Integer);
    p.addColumn(QStringLiteral("f_Zhjj"), FieldType::Float);
    p.addColumn(QStringLiteral("f_Tgj"), FieldType::Float);
    p.addColumn(QStringLiteral("f_Dwbl"), FieldType::Float);
    for (const TSaleRecord& l : lines)
        p.appendRow({l.ProductCode, l.Quantity, l.NetAmount, l.TaxAmount, l.AutoDiscount, l.ManualDiscount,
                     l.TaxRate, l.NetAmount + l.TaxAmount, l.ProductName, l.RebateProduct, l.Unit,
                     l.SoldThenPurchased, l.LastPurchasePrice, l.OfferValue, l.PackingRate});
    return p;
}

DataPacket PaymentPacket(const SaleSession& s)
{
    DataPacket p = paymentColumns();
    for (const TPayDetail& e : s.PaymentEntries) {
        QString cardNo, account;
        if (e.Kind == paykind::MemberCard) {
            cardNo = e.CardNo;
            account = e.MemberAccount;
        } else if (e.Kind == paykind::CustomerAccount || e.Kind == paykind::Welfare) {
            cardNo = e.CustomerCode;
            account = e.CustomerCode;
        }
        p.appendRow({PaymentTypeNo(s.PaymentMethods, e.Code), e.Amount, cardNo, account, 0});
    }
    p.appendRow({ChangeTypeNo, s.AmountPaid - s.AmountDue, QVariant(), QVariant(), 0});
    if (!s.CollectedSales.isEmpty() || !s.CollectedPreSales.isEmpty())
        p.appendRow({UnifiedTypeNo, -s.UnifiedTotal, QVariant(), QVariant(), 0});
    return p;
}

DataPacket CardPacket(const TAllXyk& transactions)
{
    DataPacket p;
    const struct {
        const char* name;
        int size;
    } columns[] = {{"f_Bmbm", 20}, {"f_Djh", 20},    {"f_Rzrq", 20},   {"f_Jydm", 20},  {"f_Khxx", 40},
                   {"f_Jyje", 20}, {"f_Jysk", 10},   {"f_Jyrq", 10},   {"f_2gxx", 255}, {"f_3gxx", 255},
                   {"f_zdxx", 20}, {"f_Poslsh", 20}, {"f_YposLsh", 20}};
    for (const auto& c : columns)
        p.addColumn(QString::fromLatin1(c.name), FieldType::Text, c.size);
    for (const TXykDetail& t : transactions)
        p.appendRow({t.f_Bmbm, t.f_Djh, t.f_Rzrq, t.f_Jydm, t.f_Khxx, t.f_Jyje, t.f_Jysk, t.f_Jyrq, t.f_2gxx,
                     t.f_3gxx, t.f_zdxx, t.f_Poslsh, t.f_YposLsh});
    return p;
}

QVariant PaymentBundle(const SaleSession& s)
{
    return QVariantList{packetToVariant(PaymentPacket(s)), packetToVariant(CardPacket(s.CardTransactions)),
                        s.SuspendFlag, ListToVariantArray(s.CollectedSales),
                        ListToVariantArray(s.CollectedPreSales)};
}

} // namespace qiantai
