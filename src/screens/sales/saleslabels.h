// The texts of the sales screen's title, number and footer labels.
#pragma once

#include <QDateTime>
#include <QString>

namespace qiantai {

struct SaleSession;
struct TCardInfo;

struct SalesLabelTexts {
    QString bmbm;   // title
    QString title1; // cashier and salesperson
    QString title2; // counter group and sales method
    QString nr;     // "销售"
    QString djh;    // document number
    QString js;     // total quantity
    QString je;     // total amount
};

// Sums the lines into DocTotalQty and DocTotalAmount, then gives the texts.
SalesLabelTexts RefreshLabelTexts(SaleSession& s);

// "2004年06月15日 10:20:30".
QString ClockText(const QDateTime& now);

// The footer's member field: "卡号:" + number + " 积分:" + whole points when
// a card is identified; `current` unchanged otherwise.
QString MemberLineText(const TCardInfo& card, const QString& current);

} // namespace qiantai
