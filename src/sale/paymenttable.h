// The fixed payment-method table and the system tools entries.
#pragma once

#include "sale/saleitems.h"

#include <QString>

namespace qiantai {

struct SaleSession;

// Fills PaymentMethods with "0001".."0007" in picker order. The credit card
// ("0004") is kind 5 (card terminal) when Xyklx is not "0", else kind 1.
void BuildPaymentMethods(SaleSession& s);

// The form name of the tool that reprints the last receipt.
extern const char* const ReprintReceiptTool; // "ReprintReceipt"

// Fills SystemTools with the entries of the system tools menu: the member
// card identification, the balance query and the receipt reprint.
void BuildSystemTools(SaleSession& s);

// First method whose Code equals `code` exactly; nullptr when none.
const TPayment* FindPaymentMethod(const TAllPayment& methods, const QString& code);

// SaleTypeNo of the method `code`; 0 for an unknown code.
qint32 PaymentTypeNo(const TAllPayment& methods, const QString& code);

} // namespace qiantai
