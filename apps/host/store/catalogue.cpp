#include "catalogue.h"

#include "base/money.h"

namespace qiantai::host {
namespace {

QString Qty(double v)
{
    return QString::number(v, 'g', 12);
}

// Whether the store's stock rule keeps the product's stock from going below
// zero; refuses an unknown product.
bool ProductStockKept(HostContext& ctx, const QString& product, bool* stockKept, QString* message)
{
    DataPacket p;
    if (!ctx.store->query(QStringLiteral("SELECT f_Yxjj, ") + StockControlSql() +
                              QStringLiteral(" FROM tbSpda WHERE f_Spbm = ?"),
                          {product}, &p, message))
        return false;
    if (p.rowCount() == 0) {
        *message = QStringLiteral("商品") + product + QStringLiteral("不存在");
        return false;
    }
    *stockKept = StockKeptAboveZero(p.value(0, 1), p.value(0, 0).toInt() == 1);
    return true;
}

} // namespace

const QString& StockControlSql()
{
    static const QString sql = QStringLiteral("(SELECT MAX(f_Csz) FROM tbSysmsg WHERE f_Csmc = 'kckz')");
    return sql;
}

bool StockKeptAboveZero(const QVariant& kckz, bool soldThenPurchased)
{
    // kckz "1", also when absent, switches the stock check off.
    return !soldThenPurchased && !kckz.isNull() && kckz.toString().trimmed() != QLatin1String("1");
}

QString GroupStockRefusal(const QString& product, const QString& group, double stock, double otherLines,
                          double quantity)
{
    return QStringLiteral("商品") + product + QStringLiteral("库存不足：柜组") + group +
           QStringLiteral("库存") + Qty(stock) + QStringLiteral("，本单其他行已录") + Qty(otherLines) +
           QStringLiteral("，本行需要") + Qty(quantity);
}

bool RequireColumns(const DataPacket& p, const QStringList& columns, const QString& what, QString* message)
{
    QStringList missing;
    for (const QString& c : columns)
        if (!p.hasColumn(c))
            missing.append(c);
    if (missing.isEmpty())
        return true;
    *message = what + QStringLiteral("缺少列：") + missing.join(QLatin1Char(','));
    return false;
}

bool LookupProducts(HostContext& ctx, const QString& code, DataPacket* out, QString* message)
{
    const QString c = code.trimmed();
    if (c.isEmpty()) {
        *message = QStringLiteral("请输入商品编码、货号或条码");
        return false;
    }
    static const QString sql =
        QStringLiteral("SELECT f_Spbm, f_Sphh AS f_sphh, f_Spmc AS f_spmc, f_Sptm AS f_sptm, f_Spcd AS "
                       "f_spcd, f_Ggxh AS f_ggxh, "
                       "f_Jldw AS f_jldw, f_Dwbl AS f_dwbl, f_Zhjj AS f_zhjj, f_Xsdj AS f_xsdj, f_Zdsj AS "
                       "f_zdsj, f_Xskz AS f_xskz, "
                       "f_Xxsl AS f_xxsl, f_Yxjj AS f_yxjj, f_Flsp AS f_flsp FROM tbSpda "
                       "WHERE f_Spbm = ? OR f_Sphh = ? OR f_Sptm = ? ORDER BY f_Spbm");
    if (!ctx.store->query(sql, {c, c, c}, out, message))
        return false;
    if (out->rowCount() == 0) {
        *message = QStringLiteral("商品") + c + QStringLiteral("不存在（编码、货号、条码均未找到）");
        return false;
    }
    return true;
}

bool CheckGroupStock(HostContext& ctx, const QString& product, const QString& group, double quantity,
                     double otherLines, QString* message)
{
    bool kept = false;
    if (!ProductStockKept(ctx, product, &kept, message))
        return false;
    if (!kept || quantity <= 0)
        return true; // returns add stock
    QVariant v;
    bool found = false;
    if (!ctx.store->scalar(QStringLiteral("SELECT COALESCE(SUM(f_Kcsl), 0) FROM tbGzkc WHERE f_Spbm = ? AND "
                                          "substr(f_Gzbm, 1, length(CAST(? AS VARCHAR(20)))) = ?"),
                           {product, group, group}, &v, &found, message))
        return false;
    const double stock = v.toDouble();
    if (quantity + otherLines <= stock + 1e-6)
        return true;
    *message = GroupStockRefusal(product, group, stock, otherLines, quantity);
    return false;
}

bool CheckCentreStock(HostContext& ctx, const QString& product, const QString& centre,
                      const QString& warehouse, double quantity, double otherLines, QString* message)
{
    if (!ctx.centre || ctx.centreCode() != centre) {
        *message = QStringLiteral("配送中心") + centre + QStringLiteral("未配置，不能检查配送库存");
        return false;
    }
    bool kept = false;
    if (!ProductStockKept(ctx, product, &kept, message))
        return false;
    if (quantity <= 0)
        return true;
    QVariant v;
    bool found = false;
    const QString where = warehouse.trimmed().isEmpty() ? QStringLiteral("f_Spbm = ?")
                                                        : QStringLiteral("f_Spbm = ? AND f_Ckbm = ?");
    QVariantList binds{product};
    if (!warehouse.trimmed().isEmpty())
        binds.append(warehouse.trimmed());
    if (!ctx.centre->scalar(QStringLiteral("SELECT COALESCE(SUM(f_Kcsl), 0) FROM tbCkkc WHERE ") + where,
                            binds, &v, &found, message))
        return false;
    const double stock = v.toDouble();
    if (quantity + otherLines <= stock + 1e-6)
        return true;
    *message = QStringLiteral("商品") + product + QStringLiteral("配送库存不足：仓库") +
               (warehouse.trimmed().isEmpty() ? QStringLiteral("（全部）") : warehouse.trimmed()) +
               QStringLiteral("库存") + Qty(stock) + QStringLiteral("，本单其他行已录") + Qty(otherLines) +
               QStringLiteral("，本行需要") + Qty(quantity);
    return false;
}

bool CalculateLinesRebate(HostContext& ctx, const DataPacket& lines, double* rebate, QString* message)
{
    if (!RequireColumns(lines, {QStringLiteral("f_Spbm"), QStringLiteral("f_Ssje")},
                        QStringLiteral("销售明细"), message))
        return false;
    const bool flagged = lines.hasColumn(QStringLiteral("f_Flsp"));
    double sum = 0;
    for (int r = 0; r < lines.rowCount(); ++r) {
        if (flagged && lines.value(r, QStringLiteral("f_Flsp")).toInt() != 1)
            continue;
        QVariant v;
        bool found = false;
        const QString product = lines.value(r, QStringLiteral("f_Spbm")).toString();
        if (!ctx.store->scalar(QStringLiteral("SELECT f_Flbl FROM tbSpda WHERE f_Spbm = ? AND f_Flsp = 1"),
                               {product}, &v, &found, message))
            return false;
        if (found)
            sum += RoundMoney(lines.value(r, QStringLiteral("f_Ssje")).toDouble() * v.toDouble() / 100.0);
    }
    *rebate = RoundMoney(sum);
    return true;
}

} // namespace qiantai::host
