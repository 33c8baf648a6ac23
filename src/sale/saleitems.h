// Records of the sale document and the collections that hold them.
#pragma once

#include "sale/itemcollection.h"

#include <QString>
#include <QtGlobal>

namespace qiantai {

// One sale line; line n of the grid is item n-1 of SaleLines.
struct TSaleRecord {
    QString ProductCode;          // f_Spbm
    QString ItemNo;               // f_sphh
    QString ProductName;          // f_spmc
    QString BarCode;              // f_sptm
    QString Origin;               // f_spcd
    QString SpecModel;            // f_ggxh
    QString Unit;                 // f_jldw
    double PackingRate = 0;       // f_dwbl
    double LastPurchasePrice = 0; // f_zhjj
    double ListPrice = 0;         // f_xsdj; 0 marks an amount-controlled product
    double UnitPrice = 0;         // actual unit price
    double LowestPrice = 0;       // f_zdsj
    qint32 WholeQtyOnly = 0;      // f_xskz; 1 = whole-number quantities only
    double Quantity = 1;          // 1 when the line is created
    double NetAmount = 0;         // line amount excluding tax
    double TaxAmount = 0;         // tax part of the line amount
    double TaxRate = 0;           // f_xxsl, percent
    double AutoDiscount = 0;      // f_Zdzkzr, already deducted from the amount
    double ManualDiscount = 0;    // f_Sgzkzr, already deducted from the amount
    qint32 SoldThenPurchased = 0; // f_yxjj
    qint32 RebateProduct = 0;     // f_flsp
    double OfferValue = 0;        // sent as f_Tgj
    qint32 LimitedOffer = 0;      // 1 = priced by a limited offer
    qint32 ShortfallAccepted = 0; // 1 = a stock shortfall was accepted
};

// Payment kinds: which screen takes a payment.
namespace paykind {
constexpr quint8 Cash = 0;
constexpr quint8 Simple = 1;
constexpr quint8 CustomerAccount = 2;
constexpr quint8 Welfare = 3;
constexpr quint8 MemberCard = 4;
constexpr quint8 BankCard = 5;
} // namespace paykind

// The screen that made a payment entry (TPayDetail::Source).
namespace paysource {
constexpr qint32 AmountEntry = 0; // also the suspension key
constexpr qint32 MemberCard = 1;
constexpr qint32 CustomerAccount = 2;
constexpr qint32 Welfare = 3;
constexpr qint32 BankCard = 4;
} // namespace paysource

// One payment method of the fixed table.
struct TPayment {
    QString Code; // "0001".."0007"
    QString Name;
    quint8 Kind = 0;       // paykind
    qint32 SaleTypeNo = 0; // recorded as f_Zffs
};

// One payment taken at checkout.
struct TPayDetail {
    QString Code;
    quint8 Kind = 0;
    QString CardNo;
    QString MemberAccount;
    qint32 Source = 0; // paysource
    QString CustomerCode;
    double Amount = 0;
    double CardBalance = 0; // member card: balance after this entry
};

// One bank card terminal transaction; each field carries the column of the
// same name.
struct TXykDetail {
    QString f_Bmbm;    // department
    QString f_Djh;     // document number
    QString f_Rzrq;    // posting date
    QString f_Jydm;    // transaction code
    QString f_Khxx;    // card information
    QString f_Jyje;    // transaction amount as text
    QString f_Jysk;    // transaction time
    QString f_Jyrq;    // transaction date
    QString f_2gxx;    // track 2
    QString f_3gxx;    // track 3
    QString f_zdxx;    // terminal information
    QString f_Poslsh;  // terminal serial number
    QString f_YposLsh; // original terminal serial number
};

// One entry of the system tools menu.
struct TSysTool {
    QString Code;
    QString Caption;
    QString FormName; // the screen the entry opens
};

using TSaleRecords = ItemCollection<TSaleRecord>;
using TAllPayment = ItemCollection<TPayment>;
using TAllPayDetails = ItemCollection<TPayDetail>;
using TAllXyk = ItemCollection<TXykDetail>;
using TAllSysTools = ItemCollection<TSysTool>;

} // namespace qiantai
