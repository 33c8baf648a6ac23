// Enter in the discount dialog: read the input, check every affected line
// against its limits and only then write the discount into the lines.
#pragma once

#include "sale/saleitems.h"
#include "screens/discount/discountmode.h"
#include "screens/discount/discountrules.h"

#include <QString>

namespace qiantai {

struct DiscountEntryResult {
    enum class Outcome {
        Applied,    // the lines hold the discount
        Refused,    // a line may not take its discount; message says which
        NotANumber, // the input is no number; message is the conversion error
    };
    Outcome outcome = Outcome::Refused;
    QString message;
    DiscountValues values; // base, discount and rate read from the input
};

// `base` is the S the dialog opened with. Rate modes read the input as the
// rate, amount modes as the discount amount. A line mode discounts line
// `row` (1-based); a whole-sale mode gives each line its share and checks all
// lines, in order, before the first one changes. Lines with list price 0 take
// no part in a whole-sale discount. `xsfkz` is the store's line rounding.
// Nothing is written unless Applied.
DiscountEntryResult ConfirmDiscount(TSaleRecords& lines, DiscountMode mode, int row, double base,
                                    const QString& input, const DiscountAuthority& authority, int xsfkz);

} // namespace qiantai
