#include "screens/discount/frmsgzkrules.h"

#include "screens/discount/frmzkszrules.h"

namespace qiantai {

namespace {

int Index(DiscountMode mode)
{
    return static_cast<int>(mode);
}

} // namespace

QString DiscountModeOptionText(DiscountMode mode)
{
    switch (mode) {
    case DiscountMode::LineRate:
        return QStringLiteral("[0] 单行记录按扣率打折");
    case DiscountMode::WholeRate:
        return QStringLiteral("[1] 整单记录按扣率打折");
    case DiscountMode::LineAmount:
        return QStringLiteral("[2] 单行记录按金额打折");
    case DiscountMode::WholeAmount:
        return QStringLiteral("[3] 整单记录按金额打折");
    }
    return QString();
}

QString DiscountModeSelectionText(DiscountMode mode)
{
    return QStringLiteral("选择[%1]项").arg(Index(mode));
}

QString DiscountModeTitle(DiscountMode mode)
{
    switch (mode) {
    case DiscountMode::LineRate:
        return QStringLiteral("单行手工折扣率设置");
    case DiscountMode::WholeRate:
        return QStringLiteral("整单手工折扣率设置");
    case DiscountMode::LineAmount:
        return QStringLiteral("单行手工金额折扣设置");
    case DiscountMode::WholeAmount:
        return QStringLiteral("整单手工金额折扣设置");
    }
    return QString();
}

DiscountMode NextDiscountMode(DiscountMode mode)
{
    return static_cast<DiscountMode>((Index(mode) + 1) % DiscountModeCount);
}

DiscountMode PreviousDiscountMode(DiscountMode mode)
{
    return static_cast<DiscountMode>((Index(mode) + DiscountModeCount - 1) % DiscountModeCount);
}

QString CheckDiscountMode(DiscountMode mode, int row, const TSaleRecords& lines)
{
    if (IsLineMode(mode)) {
        if (row < 1 || row > lines.Count())
            return QStringLiteral("本行没有数据，不能进行单行折扣！");
        const TSaleRecord& line = lines[row - 1];
        if (line.LimitedOffer == 1)
            return QStringLiteral("该商品是限时限量商品，不允许手工打折！");
        // A discount is figured on the list amount, which such a line lacks;
        // applying one would replace the amount typed for it.
        if (IsAmountControlled(line))
            return QStringLiteral("该商品是金额控制商品，不允许手工打折！");
        return QString();
    }
    if (lines.IsEmpty())
        return QStringLiteral("整单没有数据，不能进行整单折扣！");
    for (const TSaleRecord& line : lines)
        if (line.LimitedOffer == 1)
            return QStringLiteral("该单据含有限时限量商品，不允许整单打折！");
    return QString();
}

} // namespace qiantai
