// The texts of the sale receipt, built without any window or printer: the
// 40-column text receipt of the receipt printer and the variables of the
// receipt template.
#pragma once

#include "qiantai/datapacket.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

#include <optional>

namespace qiantai {

struct SaleSession;

// Width of the text receipt in GBK bytes (a Chinese character counts two).
constexpr int ReceiptWidth = 40;

// The text receipt of the recorded document, every line ending in "\r\n":
// title centred, document number and sales method, four lines per row of
// `saleLines` (f_Spbm, f_Spmc, f_Xssl, f_Ssje), the five amounts ending in
// column 40, warehouse, salesperson, cashier, `now` and the closing line.
QString BuildTextReceipt(const SaleSession& s, const DataPacket& saleLines, const QDateTime& now);

// The mark of a reprinted receipt.
extern const char* const ReprintMark; // "*** 重印 ***"

// `body` (a receipt's text) under a first line with ReprintMark centred over
// its widest line, ended as the body's lines are ("\r\n" or "\n").
QString ReprintMarked(const QString& body);

// Hykye: "卡号:" + card number + " 余额:" + balance for each member card
// payment in entry order, joined by "\r\n"; empty when there is none.
QString MemberCardBalanceText(const SaleSession& s);

// Xsbz: "待统收" for a suspended sale; else "统收单据:" + the collected sale
// numbers as integers and the pre-sale numbers as "Y" + their serial part,
// joined by ",", + " 统收金额:" + UnifiedTotal; empty when none was collected.
QString UnifiedCollectionRemark(const SaleSession& s);

// f_Zffs: name + "金额:" + total for every payment method in table order,
// separated by one blank.
QString PaymentSummaryText(const SaleSession& s);

// The query for Gjdjh, the document made from an installation sale `djh`;
// empty when `djh` does not start with a year-month.
QString RelatedDocumentQuery(const QString& djh);

using ReportVariables = QList<QPair<QString, QVariant>>;

// The receipt template's variables in the order they are set: amounts as
// numbers, texts as texts. Gjdjh is included only when `relatedDocument` is
// given (installation sales).
ReportVariables ReceiptVariables(const SaleSession& s, const QDateTime& now,
                                 const std::optional<QString>& relatedDocument);

} // namespace qiantai
