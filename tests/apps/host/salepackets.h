// Sale packets in the shape the sales module hands them to the host.
#pragma once

#include "base/money.h"
#include "qiantai/datapacket.h"

#include <QStringList>
#include <QVariantList>

namespace qiantai::host::test {

struct Line {
    QString product;
    double quantity;
    double amount; // net + tax
    double taxRate = 17;
    int rebate = 0;
    int soldThenPurchased = 0;
};

inline DataPacket SaleLinesPacket(const QList<Line>& lines)
{
    DataPacket p({{QStringLiteral("f_Spbm"), FieldType::Text, 15},
                  {QStringLiteral("f_Xssl"), FieldType::Float},
                  {QStringLiteral("f_Xsje"), FieldType::Float},
                  {QStringLiteral("f_Xxsj"), FieldType::Float},
                  {QStringLiteral("f_Zdzkzr"), FieldType::Float},
                  {QStringLiteral("f_Sgzkzr"), FieldType::Float},
                  {QStringLiteral("f_Sl"), FieldType::Float},
                  {QStringLiteral("f_Ssje"), FieldType::Float},
                  {QStringLiteral("f_Spmc"), FieldType::Text, 60},
                  {QStringLiteral("f_Flsp"), FieldType::Integer},
                  {QStringLiteral("f_Jldw"), FieldType::Text, 20},
                  {QStringLiteral("f_Yxjj"), FieldType::Integer},
                  {QStringLiteral("f_Zhjj"), FieldType::Float},
                  {QStringLiteral("f_Tgj"), FieldType::Float},
                  {QStringLiteral("f_Dwbl"), FieldType::Float}});
    for (const Line& l : lines) {
        const double net = RoundMoney(l.amount / (1 + l.taxRate / 100));
        p.appendRow({l.product, l.quantity, net, l.amount - net, 0.0, 0.0, l.taxRate, l.amount,
                     QStringLiteral("商品"), l.rebate, QStringLiteral("台"), l.soldThenPurchased, 0.0, 0.0,
                     1.0});
    }
    return p;
}

struct Pay {
    int type; // f_Zffs
    double amount;
    QString card = {};
    QString account = {};
};

// Entries, then the change row, then the unified-collection row when
// `unifiedTotal` is given.
inline DataPacket PaymentPacket(const QList<Pay>& entries, double amountDue, double unifiedTotal = -1)
{
    DataPacket p({{QStringLiteral("f_Zffs"), FieldType::Integer},
                  {QStringLiteral("f_Zfje"), FieldType::Float},
                  {QStringLiteral("f_Hykh"), FieldType::Text, 30},
                  {QStringLiteral("f_Hyzh"), FieldType::Text, 30},
                  {QStringLiteral("f_Hyklx"), FieldType::Integer}});
    double paid = 0;
    for (const Pay& e : entries) {
        p.appendRow({e.type, e.amount, e.card, e.account, 0});
        paid += e.amount;
    }
    p.appendRow({-1, RoundMoney(paid - amountDue), QVariant(), QVariant(), 0});
    if (unifiedTotal >= 0)
        p.appendRow({0, -unifiedTotal, QVariant(), QVariant(), 0});
    return p;
}

inline DataPacket CardPacket(const QList<QStringList>& rows = {})
{
    const char* names[] = {"f_Bmbm", "f_Djh",  "f_Rzrq", "f_Jydm", "f_Khxx",   "f_Jyje",   "f_Jysk",
                           "f_Jyrq", "f_2gxx", "f_3gxx", "f_zdxx", "f_Poslsh", "f_YposLsh"};
    const int sizes[] = {20, 20, 20, 20, 40, 20, 10, 10, 255, 255, 20, 20, 20};
    DataPacket p;
    for (int i = 0; i < 13; ++i)
        p.addColumn(QString::fromLatin1(names[i]), FieldType::Text, sizes[i]);
    for (const QStringList& r : rows) {
        QVariantList v;
        for (const QString& s : r)
            v.append(s);
        p.appendRow(v);
    }
    return p;
}

inline QVariantList PaymentBundle(const DataPacket& payments, const DataPacket& cards, int suspend = 0,
                                  const QStringList& sales = {}, const QStringList& preSales = {})
{
    QVariantList s, ps;
    for (const QString& n : sales)
        s.append(n);
    for (const QString& n : preSales)
        ps.append(n);
    return {packetToVariant(payments), packetToVariant(cards), suspend, QVariant(s), QVariant(ps)};
}

// A bank card transaction row of document `number` on 2024-06-15: amount
// in fen, the terminal's serial.
inline QStringList BankCardRow(const QString& number, const QString& amountFen, const QString& serial)
{
    return {QStringLiteral("01"),
            number,
            QStringLiteral("20240615"),
            QStringLiteral("00"),
            QStringLiteral("6222"),
            amountFen,
            QStringLiteral("1030"),
            QStringLiteral("0615"),
            QString(),
            QString(),
            QString(),
            serial,
            QString()};
}

// The first arguments of 904 to 907: Djh, then cashier 0001 (王丽), the
// operator tag and salesperson 1001 (李明).
inline QVariantList DocumentHead(const QString& number)
{
    return {number,
            QStringLiteral("0001"),
            QStringLiteral("王丽"),
            QStringLiteral("20240615-0001"),
            QStringLiteral("1001"),
            QStringLiteral("李明")};
}

// 904 by cashier 0001 and salesperson 1001 at counter group 0101: Djh,
// Syybm, Syymc, OperatorTag, Yyybm, Yyymc, Gzbm, Ckbm, CardNo,
// MemberAccount, lines, bundle, ref message (the customer text going in).
inline QVariantList SaveSaleArgs(const QString& number, const DataPacket& lines, const QVariantList& bundle,
                                 const QString& card = {}, const QString& customer = {})
{
    return DocumentHead(number) + QVariantList{QStringLiteral("0101"), QString(),        card,    card,
                                               packetToVariant(lines), QVariant(bundle), customer};
}

// 905 of cashier 0001 in counter group 0101, the deposit `amount`:
// Djh..Yyymc, CardNo, MemberAccount, Gzbm, Ckbm, amount, lines, bundle, ref
// message.
inline QVariantList DeliverySaleArgs(const QString& number, double amount, const DataPacket& lines,
                                     const QVariantList& bundle)
{
    return DocumentHead(number) + QVariantList{QString(),        QString(), QStringLiteral("0101"),
                                               QString(),        amount,    packetToVariant(lines),
                                               QVariant(bundle), QString()};
}

// 907 from warehouse 01 of centre 90, the deposit `amount` paid in cash:
// Djh..Yyymc, Gzbm, Pszxbm, Ckbm, CardNo, MemberAccount, amount, lines,
// bundle, ref message.
inline QVariantList CentralDeliveryArgs(const QString& number, double amount, const DataPacket& lines)
{
    return DocumentHead(number) +
           QVariantList{QStringLiteral("0101"),
                        QStringLiteral("90"),
                        QStringLiteral("01"),
                        QString(),
                        QString(),
                        amount,
                        packetToVariant(lines),
                        QVariant(PaymentBundle(PaymentPacket({{0, amount}}, amount), CardPacket())),
                        QString()};
}

} // namespace qiantai::host::test
