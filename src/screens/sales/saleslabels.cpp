#include "screens/sales/saleslabels.h"

#include "base/money.h"
#include "base/numbers.h"
#include "base/numbertext.h"
#include "sale/linesums.h"
#include "sale/salesession.h"
#include "sale/salesmethod.h"

#include <cmath>

namespace qiantai {

SalesLabelTexts RefreshLabelTexts(SaleSession& s)
{
    SumDocumentTotals(s);

    SalesLabelTexts t;
    t.bmbm = s.Bmmc;
    t.title1 = QStringLiteral("收银员：") + PadText(s.Syymc, 14, 1) + QStringLiteral("营业员：") + s.Yyymc;
    t.nr = QStringLiteral("销售");
    t.title2 = QStringLiteral("柜组：") + PadText(s.Gzmc, 16, 1) + QStringLiteral("销售方式：") +
               SalesMethodName(s.Xsfs);
    t.djh = QStringLiteral("单据号:") + s.Djh;
    // + 0.0 turns a negative zero into "0".
    t.js = PadText(QString::number(RoundTo(s.DocTotalQty, 0) + 0.0, 'f', 0), 4, 0);
    t.je = MoneyText(s.DocTotalAmount);
    return t;
}

QString ClockText(const QDateTime& now)
{
    return now.toString(QStringLiteral("yyyy年MM月dd日 HH:mm:ss"));
}

QString MemberLineText(const TCardInfo& card, const QString& current)
{
    if (card.CardNo.isEmpty())
        return current;
    return QStringLiteral("卡号:") + card.CardNo + QStringLiteral(" 积分:") +
           QString::number(static_cast<qint64>(std::trunc(card.Points)));
}

} // namespace qiantai
