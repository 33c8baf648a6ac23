// Rules of the bank card, member card and welfare certificate payments that
// need no window: the requests, the transaction record and the bookkeeping.
#pragma once

#include "devices/cardrequest.h"
#include "sale/cardinfo.h"
#include "sale/saleitems.h"

#include <QDateTime>
#include <QString>
#include <QVariantList>

namespace qiantai {

struct SaleSession;

// "0.00" text of an amount.
QString AmountText(double amount);

// The unit code of a card request: the counter group for the unit types that
// sell at counters, the store department otherwise. Payment requests use it
// for "11" and "10"; the welfare consumption record only for "11".
QString PaymentUnitCode(const SaleSession& s);
QString WelfareConsumptionUnitCode(const SaleSession& s);

// Bank card.
QString BankCardCapRefusal(const TPayment& m); // name + "支付不能大于剩余支付金额，请从新录入"
// The terminal request for a typed amount (fen, fraction dropped).
QByteArray BankCardRequest(const SaleSession& s, const QString& swipeText, double amount);
// Fills the record from the terminal's answer: code, amount in fen ("0" when
// refused) and the card fields, card numbers in them masked.
void ApplyCardResponse(TXykDetail& record, const CardResponse& response, double amount);
// Department, document, posting date, local date "MMDD" and time "HHmmss",
// station number.
void CompleteCardRecord(TXykDetail& record, const SaleSession& s, const QString& hostDate,
                        const QDateTime& now);
QVariantList BankCardConsumptionRequest(const TXykDetail& record);
QString BankCardRefusalText(const CardResponse& response); // "交易失败，错误码" + code

// Member card.
QVariantList MemberCardPaymentRequest(const SaleSession& s, const TCardInfo& card, double amount);
// Below -0.005 the balance is not trusted.
bool MemberBalanceUsable(double balance);
QString MemberQueryText(const TCardInfo& card); // "卡号:" ... " 余额:" ...

// Welfare certificates.
QVariantList WelfareQueryRequest(const QString& number, const SaleSession& s);
QVariantList WelfarePaymentRequest(const SaleSession& s, const QString& number);
QVariantList WelfareConsumptionRequest(const SaleSession& s, const TFlzInfo& certificate,
                                       const QDateTime& now);
// Face value less Element3 may exceed what is unpaid by 0.005 at most.
bool CertificateUsable(const TFlzInfo& certificate, double remaining);
// The screen asks for another certificate while more than 50 is unpaid
// (beyond the money tolerance, unrounded).
bool WantsAnotherCertificate(double remaining);
// The payment entry of one certificate, full face value.
void BookCertificate(SaleSession& s, const TPayment& m, const TFlzInfo& certificate);
QString CertificateTotalText(double total); // "券累计支付金额:" + total

} // namespace qiantai
