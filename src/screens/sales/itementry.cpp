#include "screens/sales/itementry.h"

#include "base/money.h"
#include "base/numbertext.h"
#include "sale/linearithmetic.h"
#include "sale/linesums.h"
#include "sale/sqlquote.h"
#include "screens/sales/limitedoffer.h"

#include <cmath>

namespace qiantai {

namespace {

constexpr int UnifiedDistribution = 3;

QString ErrorCaption()
{
    return QStringLiteral("错误提示");
}

QString Text(const DataPacket& p, int r, const char* column)
{
    return p.value(r, QLatin1String(column)).toString();
}

double Number(const DataPacket& p, int r, const char* column)
{
    return p.value(r, QLatin1String(column)).toDouble();
}

int Integer(const DataPacket& p, int r, const char* column)
{
    return p.value(r, QLatin1String(column)).toInt();
}

void TakeOffer(TSaleRecord& line, const OfferAnswer& offer)
{
    line.UnitPrice = offer.offerPrice;
    line.OfferValue = offer.offerValue;
    line.LimitedOffer = 1;
}

} // namespace

void CopyProductFields(const DataPacket& p, int r, TSaleRecord& line)
{
    line.ProductCode = Text(p, r, "f_Spbm");
    line.ItemNo = Text(p, r, "f_sphh");
    line.ProductName = Text(p, r, "f_spmc");
    line.BarCode = Text(p, r, "f_sptm");
    line.Origin = Text(p, r, "f_spcd");
    line.SpecModel = Text(p, r, "f_ggxh");
    line.Unit = Text(p, r, "f_jldw");
    line.PackingRate = Number(p, r, "f_dwbl");
    line.LastPurchasePrice = Number(p, r, "f_zhjj");
    line.LowestPrice = Number(p, r, "f_zdsj");
    line.ListPrice = Number(p, r, "f_xsdj");
    line.UnitPrice = line.ListPrice;
    line.WholeQtyOnly = Integer(p, r, "f_xskz");
    line.TaxRate = Number(p, r, "f_xxsl");
    line.SoldThenPurchased = Integer(p, r, "f_yxjj");
    line.RebateProduct = Integer(p, r, "f_flsp");
}

QString DepartmentProductSql(const QString& productCode, const QString& counterGroup)
{
    return QStringLiteral("Select * From tbBmspdz Where ") + SqlQuote(productCode) +
           QStringLiteral(" like f_Spbm + '%' And f_Bmbm = ") + SqlQuote(counterGroup) + QStringLiteral(" ");
}

QString TradeStatusSql(const QString& productCode)
{
    return QStringLiteral(" Select * From tbSpjyztda  Where f_Jyztbm = ( Select f_Jyztbm From tbLsdkz "
                          "Where f_Spbm = ") +
           SqlQuote(productCode) + QStringLiteral(" ) ");
}

TItemEntry::TItemEntry(SaleSession& session, EntryPrompts& prompts) : session_(session), prompts_(prompts) {}

TSaleRecord* TItemEntry::LineOf(int row)
{
    TSaleRecords& lines = session_.SaleLines;
    return row >= 1 && row <= lines.Count() ? &lines[row - 1] : nullptr;
}

bool TItemEntry::ReadNumber(const QString& text, double& value)
{
    QString error;
    if (ReadTypedNumber(text, value, error))
        return true;
    prompts_.ShowMessage(error, ErrorCaption(), InfoKind::Statement);
    return false;
}

EntryOutcome TItemEntry::EnterProduct(int row, const QString& code)
{
    // The code of a line cannot be edited, so a lookup could only bring the
    // same product back at quantity 1, its discount lost.
    if (LineOf(row) != nullptr)
        return EntryOutcome::Unchanged;
    HostService host(session_.HostObject.get());
    QVariant value;
    if (!host.PrepareProductLookup(value)) {
        prompts_.ShowMessage(host.lastError(), ErrorCaption(), InfoKind::Statement);
        return EntryOutcome::Unchanged;
    }
    DataPacket products;
    if (!host.LookupProduct(code, products, value)) {
        prompts_.ShowMessage(host.lastError(), ErrorCaption(), InfoKind::Statement);
        return EntryOutcome::Unchanged;
    }
    if (products.rowCount() == 0)
        return EntryOutcome::Unchanged;
    int chosen = 0;
    if (products.rowCount() > 1 &&
        (!prompts_.PickProduct(products, chosen) || chosen < 0 || chosen >= products.rowCount()))
        return EntryOutcome::Unchanged;

    TSaleRecords& lines = session_.SaleLines;
    const int lineNo = lines.Count() + 1;
    TSaleRecord& line = lines.Add();
    CopyProductFields(products, chosen, line);

    const auto refuse = [&] {
        lines.Delete(lineNo - 1);
        return EntryOutcome::Refused;
    };
    QString message;
    if (!CheckProductRules(host, line, message)) {
        prompts_.ShowMessage(message, ErrorCaption(), InfoKind::Statement);
        return refuse();
    }
    if (!StockCheck(host, lineNo, 1))
        return refuse();
    line.Quantity = 1;
    OfferAnswer offer;
    if (CheckLimitedOffer(host, session_, lineNo, 1, offermode::Entry, offer))
        TakeOffer(line, offer);
    ComputeLineAmounts(line, 1, line.UnitPrice, session_.Xsfkz);
    return EntryOutcome::Entered;
}

bool TItemEntry::CheckProductRules(HostService& host, const TSaleRecord& line, QString& message)
{
    DataPacket rows;
    if (session_.Dwlx != QLatin1String("02")) {
        if (!host.OpenQuery(DepartmentProductSql(line.ProductCode, session_.Gzbm), rows)) {
            message = QStringLiteral("取部门商品对照时出错!");
            return false;
        }
        if (rows.rowCount() == 0) {
            message = QStringLiteral("部门商品对照不存在!");
            return false;
        }
    }
    if (!host.OpenQuery(TradeStatusSql(line.ProductCode), rows)) {
        message = QStringLiteral("判断商品经营状态信息时出错!");
        return false;
    }
    if (rows.rowCount() == 0) {
        message = QStringLiteral("商品") + line.ProductCode + QStringLiteral("不在目录，不允许销售");
        return false;
    }
    if (rows.value(0, QStringLiteral("f_Yxxs")).toInt() == 0) {
        message = QStringLiteral("商品") + line.ProductCode + QStringLiteral("不允许销售");
        return false;
    }
    if (session_.Xsfs == UnifiedDistribution &&
        (std::fabs(line.ListPrice) < MoneyEpsilon || line.SoldThenPurchased == 1)) {
        message = QStringLiteral("在统一配送时，以销记进商品或金额控制商品不能销售！");
        return false;
    }
    return true;
}

bool TItemEntry::StockCheck(int row, double quantity)
{
    HostService host(session_.HostObject.get());
    return StockCheck(host, row, quantity);
}

bool TItemEntry::StockCheck(HostService& host, int row, double quantity)
{
    if (session_.Kckz == QLatin1String("1"))
        return true;
    TSaleRecord* line = LineOf(row);
    if (line == nullptr)
        return false;
    const double other = OtherLinesQuantity(session_.SaleLines, row);
    const SaleSession& s = session_;
    const bool accepted =
        s.Xsfs == UnifiedDistribution
            ? host.CheckDeliveryStock(line->ProductCode, s.Dybm, s.Pszxbm, s.Ckbm, s.Dqny, quantity, other)
            : host.CheckStock(line->ProductCode, s.Gzbm, quantity, other, s.Qyny, s.Dqny);
    if (accepted)
        return true;
    // The offer request below replaces the host's last error.
    const QVariant refusal = host.lastError();
    OfferAnswer offer;
    if (CheckLimitedOffer(host, session_, row, quantity, offermode::Shortfall, offer)) {
        line->ShortfallAccepted = 1;
        return true;
    }
    prompts_.ShowMessage(refusal, QString(), InfoKind::Notice);
    return false;
}

LeaveOutcome TItemEntry::LeaveQuantity(int row, const QString& text)
{
    TSaleRecord* line = LineOf(row);
    if (line == nullptr)
        return LeaveOutcome::Leave;
    double q = 0;
    if (!ReadNumber(text, q))
        return LeaveOutcome::KeepText;
    q = RoundMoney(q);
    if (std::fabs(line->Quantity - q) <= MoneyEpsilon)
        return LeaveOutcome::Leave;
    HostService host(session_.HostObject.get());
    if (!StockCheck(host, row, q))
        return LeaveOutcome::Restore;
    OfferAnswer offer;
    if (CheckLimitedOffer(host, session_, row, q, offermode::QuantityChange, offer))
        TakeOffer(*line, offer);
    else if (line->LimitedOffer == 1)
        LeaveOffer(host, row, *line);
    line->Quantity = q;
    if (line->ListPrice > MoneyEpsilon) {
        line->ManualDiscount = 0;
        ComputeLineAmounts(*line, q, line->UnitPrice, session_.Xsfkz);
    }
    return LeaveOutcome::Leave;
}

void TItemEntry::LeaveOffer(HostService& host, int row, TSaleRecord& line)
{
    // The host's refusal says how much of the offer is left.
    const QVariant refusal = host.lastError();
    line.UnitPrice = line.ListPrice;
    line.OfferValue = 0;
    line.LimitedOffer = 0;
    ReleaseOfferReservation(host, session_, row);
    prompts_.ShowMessage(refusal, QString(), InfoKind::Statement);
}

LeaveOutcome TItemEntry::LeavePrice(int row, const QString& text)
{
    TSaleRecord* line = LineOf(row);
    if (line == nullptr)
        return LeaveOutcome::Leave;
    double p = 0;
    if (!ReadNumber(text, p))
        return LeaveOutcome::KeepText;
    p = RoundMoney(p);
    if (std::fabs(line->UnitPrice - p) <= MoneyEpsilon)
        return LeaveOutcome::Leave;
    line->UnitPrice = p;
    if (line->ListPrice > MoneyEpsilon) {
        line->ManualDiscount = 0;
        ComputeLineAmounts(*line, line->Quantity, p, session_.Xsfkz);
    }
    return LeaveOutcome::Leave;
}

LeaveOutcome TItemEntry::LeaveAmount(int row, const QString& quantityText, const QString& amountText)
{
    TSaleRecord* line = LineOf(row);
    if (line == nullptr)
        return LeaveOutcome::Leave;
    double amount = 0;
    if (!ReadNumber(amountText, amount))
        return LeaveOutcome::KeepText;
    if (std::fabs(amount - LineAmount(*line)) <= MoneyEpsilon)
        return LeaveOutcome::Leave;
    double q = 0;
    if (!ReadNumber(quantityText, q))
        return LeaveOutcome::KeepText;
    ApplyTypedAmount(*line, q, amount, session_.Xsfkz);
    return LeaveOutcome::Leave;
}

} // namespace qiantai
