#include "recording.h"

#include "catalogue.h"
#include "docnumbers.h"
#include "paymenttypes.h"

#include "base/money.h"

#include <QCryptographicHash>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <cmath>

namespace qiantai::host {
namespace {

constexpr int ChangeRow = paytype::Change;
constexpr int CashType = paytype::Cash;
constexpr int MemberCardType = paytype::MemberCard;
constexpr int CustomerAccountType = paytype::CustomerAccount;
// f_Zt of a centre delivery order whose store document is not committed yet.
constexpr int PendingOrder = -1;

bool IsPreSale(SaleKind k)
{
    return k != SaleKind::StorePickup;
}

QString Money(double v)
{
    return QString::number(RoundMoney(v), 'f', 2);
}

// A number read from a packet: refused unless it is a finite number.
bool ReadNumber(const QVariant& v, double* out)
{
    if (!v.isValid() || v.isNull())
        return false;
    bool ok = false;
    *out = v.toDouble(&ok);
    return ok && std::isfinite(*out);
}

QString NotANumber(const QString& where, const QString& column)
{
    return where + (column.isEmpty() ? QString() : QStringLiteral("的") + column) +
           QStringLiteral("不是有效的数字");
}

bool ReadTextList(const QVariant& v, QStringList* out)
{
    if (!v.isValid() || v.isNull()) {
        out->clear();
        return true;
    }
    if (v.metaType().id() == QMetaType::QStringList) {
        *out = v.toStringList();
        return true;
    }
    if (v.metaType().id() == QMetaType::QVariantList) {
        out->clear();
        for (const QVariant& e : v.toList())
            out->append(e.toString().trimmed());
        return true;
    }
    return false;
}

struct Payment {
    int type = 0;
    double amount = 0;
    QString card, account;
    int cardType = 0;
};

// The document as it will be stored, derived from the packets.
struct Prepared {
    QString month;
    QString header, lines, payments; // table names
    QList<Payment> entries;          // every payment row as sent, in order
    double paid = 0, change = 0, collection = 0, own = 0, total = 0, cash = 0, memberCard = 0;
    bool hasCollectionRow = false;
    int suspended = 0;
    QStringList collectedSales, collectedPreSales;
    DataPacket cards;
    QMap<QString, double> customerAccounts;
    QList<bool> soldThenPurchased;
    QList<bool> stockKept; // per line: the stock rule keeps it above zero
    double rebate = 0;
    QString digest; // of the document's content: a retry is the same document
};

bool Refuse(QString* message, const QString& text)
{
    *message = text;
    return false;
}

// What can be checked before the store is touched.
bool CheckNumber(HostContext& ctx, const SaleDocument& doc, QString* message)
{
    static const QRegularExpression sale(QStringLiteral("^\\d{10}$"));
    static const QRegularExpression preSale(QStringLiteral("^\\d{4}(0[1-9]|1[0-2])\\d{6}$"));
    if (IsPreSale(doc.kind) ? !preSale.match(doc.number).hasMatch() : !sale.match(doc.number).hasMatch())
        return Refuse(message, QStringLiteral("单据号") + doc.number +
                                   (IsPreSale(doc.kind) ? QStringLiteral("不是12位的预销售单据号")
                                                        : QStringLiteral("不是10位的销售单据号")));
    if (IsPreSale(doc.kind) && !std::isfinite(doc.amount))
        return Refuse(message, NotANumber(QStringLiteral("本单应收金额"), QString()));
    if (doc.kind == SaleKind::CentralDelivery && (!ctx.centre || ctx.centreCode() != doc.centre))
        return Refuse(message,
                      QStringLiteral("配送中心") + doc.centre + QStringLiteral("未配置，不能统一配送"));
    return true;
}

QString NumberKindCode(SaleKind k)
{
    return IsPreSale(k) ? QStringLiteral("YXS") : QStringLiteral("XS");
}

bool CheckLines(const SaleDocument& doc, Prepared* p, QString* message)
{
    const DataPacket& l = doc.lines;
    if (!RequireColumns(l,
                        {QStringLiteral("f_Spbm"), QStringLiteral("f_Xssl"), QStringLiteral("f_Xsje"),
                         QStringLiteral("f_Xxsj"), QStringLiteral("f_Ssje")},
                        QStringLiteral("销售明细"), message))
        return false;
    if (l.rowCount() == 0)
        return Refuse(message, QStringLiteral("销售明细为空，不能保存单据"));
    // Every column read as a number, required or not.
    static const char* optional[] = {"f_Zdzkzr", "f_Sgzkzr", "f_Sl",  "f_Flsp",
                                     "f_Yxjj",   "f_Zhjj",   "f_Tgj", "f_Dwbl"};
    for (int r = 0; r < l.rowCount(); ++r) {
        const QString line = QStringLiteral("销售明细第%1行").arg(r + 1);
        double q = 0, net = 0, tax = 0, amount = 0;
        const struct {
            const char* column;
            double* value;
        } required[] = {{"f_Xssl", &q}, {"f_Xsje", &net}, {"f_Xxsj", &tax}, {"f_Ssje", &amount}};
        for (const auto& c : required)
            if (!ReadNumber(l.value(r, QString::fromLatin1(c.column)), c.value))
                return Refuse(message, NotANumber(line, QString::fromLatin1(c.column)));
        for (const char* c : optional) {
            const QVariant v = l.value(r, QString::fromLatin1(c));
            double ignored = 0;
            if (v.isValid() && !v.isNull() && !ReadNumber(v, &ignored))
                return Refuse(message, NotANumber(line, QString::fromLatin1(c)));
        }
        if (!MoneyEquals(amount, net + tax))
            return Refuse(message, line + QStringLiteral("金额") + Money(amount) +
                                       QStringLiteral("不等于不含税金额") + Money(net) +
                                       QStringLiteral("加税额") + Money(tax));
        p->total += amount;
    }
    p->total = RoundMoney(p->total);
    return true;
}

// The products of all lines in one statement, and the rebate.
bool CheckProducts(HostContext& ctx, const SaleDocument& doc, Prepared* p, QString* message)
{
    const DataPacket& l = doc.lines;
    QStringList marks;
    QVariantList codes;
    for (int r = 0; r < l.rowCount(); ++r) {
        marks.append(QStringLiteral("?"));
        codes.append(l.value(r, QStringLiteral("f_Spbm")).toString().trimmed());
    }
    // A product on a limited offer today may have had a stock shortfall
    // accepted through the offer at item entry: its stock is booked as
    // before, without the check.
    const QString today = ctx.today();
    QVariantList params{today, today};
    params.append(codes);
    DataPacket known;
    if (!ctx.store->query(
            QStringLiteral("SELECT f_Spbm, f_Yxjj, ") + StockControlSql() +
                QStringLiteral(", (SELECT COUNT(*) FROM tbXsxl WHERE tbXsxl.f_Spbm = tbSpda.f_Spbm "
                               "AND f_Ksrq <= ? AND f_Jsrq >= ?) FROM tbSpda WHERE f_Spbm IN (") +
                marks.join(QStringLiteral(", ")) + QLatin1Char(')'),
            params, &known, message))
        return false;
    QHash<QString, int> soldThenPurchased;
    QHash<QString, bool> onOffer;
    QVariant kckz;
    for (int r = 0; r < known.rowCount(); ++r) {
        soldThenPurchased.insert(known.value(r, 0).toString(), known.value(r, 1).toInt());
        onOffer.insert(known.value(r, 0).toString(), known.value(r, 3).toInt() > 0);
        kckz = known.value(r, 2);
    }
    for (int r = 0; r < l.rowCount(); ++r) {
        const QString product = codes[r].toString();
        const auto flag = soldThenPurchased.constFind(product);
        if (flag == soldThenPurchased.constEnd())
            return Refuse(message, QStringLiteral("销售明细第%1行的商品").arg(r + 1) + product +
                                       QStringLiteral("不存在"));
        p->soldThenPurchased.append(flag.value() == 1);
        p->stockKept.append(StockKeptAboveZero(kckz, flag.value() == 1) && !onOffer.value(product));
    }
    return CalculateLinesRebate(ctx, l, &p->rebate, message);
}

bool CheckPayments(const SaleDocument& doc, Prepared* p, QString* message)
{
    if (doc.bundle.size() != 5)
        return Refuse(message, QStringLiteral("付款资料不完整：应有5项，收到%1项").arg(doc.bundle.size()));
    bool ok = false;
    const DataPacket pay = packetFromVariant(doc.bundle[0], &ok);
    if (!ok)
        return Refuse(message, QStringLiteral("付款资料的第1项不是付款明细"));
    p->cards = packetFromVariant(doc.bundle[1], &ok);
    if (!ok)
        return Refuse(message, QStringLiteral("付款资料的第2项不是信用卡明细"));
    p->suspended = doc.bundle[2].toInt(&ok);
    if (!ok || (p->suspended != 0 && p->suspended != 1))
        return Refuse(message, QStringLiteral("挂账标志不正确"));
    if (!ReadTextList(doc.bundle[3], &p->collectedSales) ||
        !ReadTextList(doc.bundle[4], &p->collectedPreSales))
        return Refuse(message, QStringLiteral("统收单据号列表不正确"));
    if (!RequireColumns(pay, {QStringLiteral("f_Zffs"), QStringLiteral("f_Zfje")}, QStringLiteral("付款明细"),
                        message))
        return false;

    int changeRows = 0;
    for (int r = 0; r < pay.rowCount(); ++r) {
        Payment e;
        double amount = 0, type = 0, cardType = 0;
        const QString row = QStringLiteral("付款明细第%1行").arg(r + 1);
        if (!ReadNumber(pay.value(r, QStringLiteral("f_Zffs")), &type) || type != std::trunc(type) ||
            std::fabs(type) > 1000)
            return Refuse(message, row + QStringLiteral("的付款方式不正确"));
        if (!ReadNumber(pay.value(r, QStringLiteral("f_Zfje")), &amount))
            return Refuse(message, NotANumber(row, QStringLiteral("f_Zfje")));
        const QVariant cardTypeValue = pay.value(r, QStringLiteral("f_Hyklx"));
        if (cardTypeValue.isValid() && !cardTypeValue.isNull() &&
            (!ReadNumber(cardTypeValue, &cardType) || std::fabs(cardType) > 1000))
            return Refuse(message, NotANumber(row, QStringLiteral("f_Hyklx")));
        e.type = int(type);
        e.amount = amount;
        e.card = pay.value(r, QStringLiteral("f_Hykh")).toString().trimmed();
        e.account = pay.value(r, QStringLiteral("f_Hyzh")).toString().trimmed();
        e.cardType = int(cardType);
        p->entries.append(e);
        if (e.type == ChangeRow) {
            ++changeRows;
            p->change = amount;
            continue;
        }
        if (changeRows > 0) { // after the change row: the collection row only
            if (e.type != CashType || amount > MoneyEpsilon || p->hasCollectionRow)
                return Refuse(message, QStringLiteral("付款明细第%1行在找零行之后，但不是统收行").arg(r + 1));
            p->hasCollectionRow = true;
            p->collection = amount;
            continue;
        }
        static const QList<int> known = {0, 2, 4, 5, 6, 7, 8};
        if (!known.contains(e.type))
            return Refuse(message, QStringLiteral("付款明细第%1行的付款方式%2不存在").arg(r + 1).arg(e.type));
        if (amount < -MoneyEpsilon)
            return Refuse(message, QStringLiteral("付款明细第%1行的金额不能为负数").arg(r + 1));
        p->paid += amount;
        if (e.type == CashType)
            p->cash += amount;
        if (e.type == MemberCardType)
            p->memberCard += amount;
        if (e.type == CustomerAccountType) {
            if (e.card.isEmpty())
                return Refuse(message, QStringLiteral("客户消费没有客户编码"));
            p->customerAccounts[e.card] += amount;
        }
    }
    if (changeRows != 1)
        return Refuse(message,
                      QStringLiteral("付款明细应有一行找零（付款方式-1），收到%1行").arg(changeRows));
    if (p->change < -MoneyEpsilon)
        return Refuse(message, QStringLiteral("付款金额不足：还差") + Money(-p->change));
    if (p->change > p->cash + MoneyEpsilon)
        return Refuse(message, QStringLiteral("找零") + Money(p->change) + QStringLiteral("大于现金付款") +
                                   Money(p->cash));
    const bool collected = !p->collectedSales.isEmpty() || !p->collectedPreSales.isEmpty();
    if (collected != p->hasCollectionRow)
        return Refuse(message, collected ? QStringLiteral("有统收单据但付款明细没有统收行")
                                         : QStringLiteral("付款明细有统收行但没有统收单据"));
    if (collected && p->suspended)
        return Refuse(message, QStringLiteral("挂账的单据不能统收其他单据"));
    p->own = RoundMoney(p->paid - p->change + p->collection);

    if (doc.kind == SaleKind::StorePickup) {
        // The document total may be rounded down to 0.1 at checkout.
        if (p->own > p->total + MoneyEpsilon || p->own < p->total - 0.1 - MoneyEpsilon)
            return Refuse(message, QStringLiteral("付款金额") + Money(p->own) + QStringLiteral("与销售金额") +
                                       Money(p->total) + QStringLiteral("不符"));
    } else {
        if (!MoneyEquals(p->own, doc.amount))
            return Refuse(message, QStringLiteral("付款金额") + Money(p->own) +
                                       QStringLiteral("与本单应收金额") + Money(doc.amount) +
                                       QStringLiteral("不符"));
        if (doc.amount > p->total + MoneyEpsilon || doc.amount < -MoneyEpsilon)
            return Refuse(message, QStringLiteral("定金") + Money(doc.amount) +
                                       QStringLiteral("不能大于销售金额") + Money(p->total));
    }
    p->cash = RoundMoney(p->cash - p->change + p->collection);
    return true;
}

// Collected documents must still carry the marker; each becomes collected
// by this document. Refuses when one is already collected or unknown, and
// when the collection row is not what the documents still owe.
bool CheckCollected(HostContext& ctx, const Prepared& p, QString* message)
{
    double sum = 0;
    auto read = [&](const QString& header, const QString& payments, const QString& number) {
        DataPacket d;
        if (!ctx.store->query(OwedAmountSql(header, payments), {number}, &d, message))
            return false;
        if (d.rowCount() == 0 || !d.value(0, 1).toString().contains(CollectionMarker()))
            return Refuse(message, QStringLiteral("单据") + number + QStringLiteral("不存在或已经统收过"));
        sum += d.value(0, 0).toDouble();
        return true;
    };
    const QString month = QStringLiteral("tb") + p.month;
    for (const QString& n : p.collectedSales)
        if (!read(month + QStringLiteral("_Xsmxzb"), month + QStringLiteral("_Xszffs"), n))
            return false;
    for (const QString& n : p.collectedPreSales)
        if (!read(month + QStringLiteral("_Yxsmxzb"), month + QStringLiteral("_Yxszffs"), n))
            return false;
    if (!MoneyEquals(-p.collection, sum))
        return Refuse(message, QStringLiteral("统收金额") + Money(-p.collection) +
                                   QStringLiteral("与统收单据待收合计") + Money(sum) +
                                   QStringLiteral("不符"));
    return true;
}

bool MarkCollected(HostContext& ctx, const QString& table, const QString& number, const QString& by,
                   QString* message)
{
    QVariant v;
    bool found = false;
    if (!ctx.store->scalar(QStringLiteral("SELECT f_Xsbz FROM ") + table + QStringLiteral(" WHERE f_Djh = ?"),
                           {number}, &v, &found, message))
        return false;
    const QString remark = v.toString();
    if (!found || !remark.contains(CollectionMarker()))
        return Refuse(message, QStringLiteral("单据") + number + QStringLiteral("已经被其他收银台统收"));
    QString marked = remark;
    marked.replace(CollectionMarker(), QStringLiteral("统收单据") + by);
    int n = 0;
    if (!ctx.store->execCount(QStringLiteral("UPDATE ") + table +
                                  QStringLiteral(" SET f_Xsbz = ? WHERE f_Djh = ? AND f_Xsbz = ?"),
                              {marked, number, remark}, &n, message))
        return false;
    if (n != 1)
        return Refuse(message, QStringLiteral("单据") + number + QStringLiteral("已经被其他收银台统收"));
    return true;
}

QString Canonical(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QStringLiteral("\x01");
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 17);
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        QStringList parts;
        for (const QVariant& e : v.toList())
            parts.append(Canonical(e));
        return QStringLiteral("[") + parts.join(QChar(0x1f)) + QStringLiteral("]");
    }
    default:
        return v.toString();
    }
}

void AddPacket(QCryptographicHash& h, const DataPacket& p)
{
    QStringList names;
    for (const DataColumn& c : p.columns())
        names.append(c.name.toLower());
    h.addData(names.join(QChar(0x1f)).toUtf8());
    for (int r = 0; r < p.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < p.columnCount(); ++c)
            row.append(Canonical(p.value(r, c)));
        h.addData(QByteArrayLiteral("\x1e"));
        h.addData(row.join(QChar(0x1f)).toUtf8());
    }
    h.addData(QByteArrayLiteral("\x1d"));
}

// What makes a document the same document: who and where, lines, amounts,
// payments, bank card rows, suspension and collected numbers. Names, the
// operator tag and the customer text are not part of it.
QString Digest(const SaleDocument& doc, const Prepared& p)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    const QStringList head = {QString::number(int(doc.kind)),
                              doc.number,
                              doc.cashier,
                              doc.salesperson,
                              doc.group,
                              doc.warehouse,
                              doc.centre,
                              doc.cardNo,
                              doc.memberAccount,
                              QString::number(doc.amount, 'g', 17),
                              QString::number(p.suspended),
                              p.collectedSales.join(QLatin1Char(',')),
                              p.collectedPreSales.join(QLatin1Char(','))};
    h.addData(head.join(QChar(0x1f)).toUtf8());
    AddPacket(h, doc.lines);
    bool ok = false;
    AddPacket(h, packetFromVariant(doc.bundle.value(0), &ok));
    AddPacket(h, p.cards);
    return QString::fromLatin1(h.result().toHex());
}

// Why the number could not be claimed: recorded already (the same document
// is a retry and succeeds), not handed out, or a cashier or counter group
// that does not exist.
bool Unclaimed(HostContext& ctx, const SaleDocument& doc, const Prepared& p, double* points, QString* message)
{
    DataPacket d;
    if (!ctx.store->query(
            QStringLiteral("SELECT l.f_Lx, l.f_Ny, l.f_Nrzy, z.f_Zt, b.f_Bmbm FROM tbHostDjhLog l "
                           "LEFT JOIN tbZyda z ON z.f_Zybm = ? LEFT JOIN tbBmda b ON b.f_Bmbm = ? "
                           "WHERE l.f_Djh = ?"),
            {doc.cashier, doc.group, doc.number}, &d, message))
        return false;
    if (d.rowCount() == 0 || d.value(0, 0).toString() != NumberKindCode(doc.kind))
        return Refuse(message, QStringLiteral("单据号") + doc.number + QStringLiteral("不是本店分配的"));
    const QString month = d.value(0, 1).toString();
    if (!month.isEmpty()) {
        const QString header = QStringLiteral("tb") + month +
                               (IsPreSale(doc.kind) ? QStringLiteral("_Yxsmxzb") : QStringLiteral("_Xsmxzb"));
        DataPacket stored;
        if (!ctx.store->query(QStringLiteral("SELECT f_Syybm, f_Jfje FROM ") + header +
                                  QStringLiteral(" WHERE f_Djh = ?"),
                              {doc.number}, &stored, message))
            return false;
        if (stored.rowCount() == 1 && stored.value(0, 0).toString() != doc.cashier)
            return Refuse(message, QStringLiteral("单据号") + doc.number + QStringLiteral("已被收银员") +
                                       stored.value(0, 0).toString() + QStringLiteral("使用"));
        if (stored.rowCount() != 1 || d.value(0, 2).toString() != p.digest)
            return Refuse(message,
                          QStringLiteral("单据号") + doc.number + QStringLiteral("已经保存在") + month +
                              QStringLiteral("，本次提交与已保存的内容不同（商品、数量、金额或付款），"
                                             "没有作任何修改"));
        *points = stored.value(0, 1).toDouble();
        return true;
    }
    if (d.value(0, 3).isNull() || d.value(0, 3).toInt() != 1)
        return Refuse(message, QStringLiteral("收银员") + doc.cashier + QStringLiteral("不存在或已停用"));
    if (d.value(0, 4).isNull())
        return Refuse(message, QStringLiteral("柜组") + doc.group + QStringLiteral("在部门档案中不存在"));
    return Refuse(message,
                  QStringLiteral("单据号") + doc.number + QStringLiteral("正由其他收银台保存，请稍后重试"));
}

// Takes back a delivery order of the centre: its stock returns and its
// offer reservations are free again.
bool RemoveCentreOrder(Database& c, const QString& number, const QString& month, QString* message)
{
    QVariant warehouse;
    bool found = false;
    if (!c.scalar(QStringLiteral("SELECT f_Ckbm FROM tbPsckd WHERE f_Djh = ?"), {number}, &warehouse, &found,
                  message))
        return false;
    if (!found)
        return true;
    if (!warehouse.toString().isEmpty()) {
        DataPacket lines;
        if (!c.query(QStringLiteral("SELECT f_Spbm, f_Sl FROM tbPsckmx WHERE f_Djh = ?"), {number}, &lines,
                     message))
            return false;
        for (int r = 0; r < lines.rowCount(); ++r)
            if (!c.exec(
                    QStringLiteral("UPDATE tbCkkc SET f_Kcsl = f_Kcsl + ? WHERE f_Ckbm = ? AND f_Spbm = ?"),
                    {lines.value(r, 1).toDouble(), warehouse.toString(), lines.value(r, 0).toString()},
                    message))
                return false;
    }
    return c.exec(QStringLiteral("DELETE FROM tbPsckmx WHERE f_Djh = ?"), {number}, message) &&
           c.exec(QStringLiteral("DELETE FROM tbPsckd WHERE f_Djh = ?"), {number}, message) &&
           c.exec(QStringLiteral("UPDATE tbXsxlqK SET f_Zt = 0 WHERE f_Ny = ? AND f_Djh = ?"),
                  {month, number}, message);
}

// The centre's delivery order of the document, committed at the centre
// while the store's transaction is still open. An order of this number left
// by an earlier attempt is kept when it is this document and replaced when
// it is not, so that a retry converges on what the store records.
bool RecordCentreOrder(HostContext& ctx, const SaleDocument& doc, const Prepared& p, QString* message)
{
    Database& c = *ctx.centre;
    if (!c.begin(message))
        return false;
    TransactionGuard guard(c);
    QVariant v;
    bool found = false;
    if (!c.scalar(QStringLiteral("SELECT f_Nrzy FROM tbPsckd WHERE f_Djh = ?"), {doc.number}, &v, &found,
                  message))
        return false;
    if (found && v.toString() == p.digest)
        return guard.commit(message);
    if (found && !RemoveCentreOrder(c, doc.number, p.month, message))
        return false;
    if (!doc.warehouse.isEmpty()) {
        if (!c.scalar(QStringLiteral("SELECT 1 FROM tbCkda WHERE f_Ckbm = ?"), {doc.warehouse}, &v, &found,
                      message))
            return false;
        if (!found)
            return Refuse(message, QStringLiteral("配送中心仓库") + doc.warehouse + QStringLiteral("不存在"));
    }
    if (!ctx.store->scalar(QStringLiteral("SELECT f_Csz FROM tbSysmsg WHERE f_Csmc = 'dybm'"), {}, &v, &found,
                           message))
        return false;
    const QString store = v.toString().trimmed();
    if (!c.exec(QStringLiteral("INSERT INTO tbPsckd (f_Djh, f_Dybm, f_Ckbm, f_Zdrq, f_Nrzy, f_Zt) VALUES (?, "
                               "?, ?, ?, ?, ?)"),
                {doc.number, store, doc.warehouse, ctx.today(), p.digest, PendingOrder}, message))
        return false;
    for (int r = 0; r < doc.lines.rowCount(); ++r) {
        const QString product = doc.lines.value(r, QStringLiteral("f_Spbm")).toString().trimmed();
        const double q = doc.lines.value(r, QStringLiteral("f_Xssl")).toDouble();
        if (!c.exec(QStringLiteral("INSERT INTO tbPsckmx (f_Djh, f_Dnxh, f_Spbm, f_Sl) VALUES (?, ?, ?, ?)"),
                    {doc.number, r, product, q}, message))
            return false;
        if (!doc.warehouse.isEmpty() &&
            !c.exec(QStringLiteral("INSERT INTO tbCkkc (f_Ckbm, f_Spbm, f_Kcsl) VALUES (?, ?, ?) ON CONFLICT "
                                   "(f_Ckbm, f_Spbm) DO UPDATE SET f_Kcsl = tbCkkc.f_Kcsl + excluded.f_Kcsl"),
                    {doc.warehouse, product, -q}, message))
            return false;
    }
    if (!c.exec(QStringLiteral("UPDATE tbXsxlqK SET f_Zt = 1 WHERE f_Ny = ? AND f_Djh = ?"),
                {p.month, doc.number}, message))
        return false;
    return guard.commit(message);
}

// After the store did not commit: the centre's order of this attempt goes.
void UndoCentreOrder(HostContext& ctx, const SaleDocument& doc, const Prepared& p)
{
    Database& c = *ctx.centre;
    QString ignored;
    if (!c.begin(&ignored))
        return; // a retry converges
    TransactionGuard guard(c);
    QVariant v;
    bool found = false;
    if (c.scalar(QStringLiteral("SELECT f_Nrzy FROM tbPsckd WHERE f_Djh = ?"), {doc.number}, &v, &found,
                 &ignored) &&
        found && v.toString() == p.digest && RemoveCentreOrder(c, doc.number, p.month, &ignored))
        guard.commit(&ignored);
}

bool AccountRefusal(HostContext& ctx, const QString& month, const QString& customer, double amount,
                    QString* message)
{
    DataPacket acc;
    const QString sql = QStringLiteral("SELECT COALESCE(b.f_Qcye, 0) + COALESCE(b.f_Skje, 0) - "
                                       "COALESCE(b.f_Sxje, 0) FROM tbMdkhda a LEFT JOIN tb%1_mdkhwlyhj b "
                                       "ON a.f_Khbm = b.f_Khbm WHERE a.f_Khbm = ?")
                            .arg(month);
    if (!ctx.store->query(sql, {customer}, &acc, message))
        return false;
    if (acc.rowCount() == 0)
        return Refuse(message, QStringLiteral("客户") + customer + QStringLiteral("不存在"));
    return Refuse(message, QStringLiteral("客户") + customer + QStringLiteral("余额不足：可用") +
                               Money(acc.value(0, 0).toDouble()) + QStringLiteral("，本次消费") +
                               Money(amount));
}

// Books the customers' account payments, each only while the balance
// covers it (the check is part of the booking). A month that a later
// session has opened since carries the charge in its opening balance.
bool BookCustomerAccounts(HostContext& ctx, const Prepared& p, QString* message)
{
    if (p.customerAccounts.isEmpty())
        return true;
    Database& s = *ctx.store;
    QStringList months{p.month};
    QString latest;
    if (!StoreAccountingMonth(s, &latest, message))
        return false;
    for (QString m = NextMonth(p.month); m <= latest; m = NextMonth(m))
        if (s.tableExists(QStringLiteral("tb") + m + QStringLiteral("_mdkhwlyhj")))
            months.append(m);
    for (auto it = p.customerAccounts.cbegin(); it != p.customerAccounts.cend(); ++it) {
        const double amount = RoundMoney(it.value());
        if (amount <= MoneyEpsilon) { // nothing to book; the customer must exist
            QVariant v;
            bool found = false;
            if (!s.scalar(QStringLiteral("SELECT 1 FROM tbMdkhda WHERE f_Khbm = ?"), {it.key()}, &v, &found,
                          message))
                return false;
            if (!found)
                return Refuse(message, QStringLiteral("客户") + it.key() + QStringLiteral("不存在"));
            continue;
        }
        for (int i = 0; i < months.size(); ++i) {
            const QString change =
                i == 0 ? QStringLiteral("f_Sxje = f_Sxje + ?") : QStringLiteral("f_Qcye = f_Qcye - ?");
            int n = 0;
            if (!s.execCount(QStringLiteral("UPDATE tb%1_mdkhwlyhj SET %2 WHERE f_Khbm = ? AND "
                                            "f_Qcye + f_Skje - f_Sxje >= ?")
                                 .arg(months[i], change),
                             {amount, it.key(), amount - MoneyEpsilon}, &n, message))
                return false;
            if (n != 1)
                return AccountRefusal(ctx, months[i], it.key(), amount, message);
        }
    }
    return true;
}

bool StoreDocument(HostContext& ctx, const SaleDocument& doc, const Prepared& p, double points,
                   QString* message)
{
    Database& s = *ctx.store;
    const QString remark = p.suspended ? CollectionMarker() : QString();
    const QString header =
        QStringLiteral(
            "INSERT INTO %1 (f_Djh, f_Bmbm, f_Xjje, f_Xsje, f_Djje, f_Rzrq, f_Zdrq, f_Zdsj, f_Syybm, "
            "f_Syymc, f_Czybz, f_Yyybm, f_Yyymc, f_Ckbm, f_Pszxbm, f_Hykh, f_Hyzh, f_Khxx, f_Xsbz, "
            "f_Gqbz, f_Xsfs, f_Flje, f_Jfje) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?)")
            .arg(p.header);
    if (!s.exec(header,
                {doc.number,
                 doc.group,
                 p.cash,
                 p.total,
                 p.own,
                 ctx.today(),
                 ctx.today(),
                 ctx.stamp(),
                 doc.cashier,
                 doc.cashierName,
                 doc.operatorTag,
                 doc.salesperson,
                 doc.salespersonName,
                 doc.warehouse,
                 doc.centre,
                 doc.cardNo,
                 doc.memberAccount,
                 doc.customerInfo.left(255),
                 remark,
                 p.suspended,
                 int(doc.kind),
                 p.rebate,
                 points},
                message))
        return false;

    const QString line =
        QStringLiteral("INSERT INTO %1 (f_Djh, f_Dnxh, f_Spbm, f_Spmc, f_Jldw, f_Xssl, f_Xsje, f_Xxsj, "
                       "f_Zdzkzr, f_Sgzkzr, f_Sl, f_Ssje, f_Flsp, f_Yxjj, f_Zhjj, f_Tgj, f_Dwbl) VALUES ")
            .arg(p.lines);
    static const QString lineRow = QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    // Up to this many lines per statement (17 values each, under the
    // smallest limit of bound values).
    constexpr int linesPerStatement = 50;
    QStringList rows;
    QVariantList lineValues;
    auto flushLines = [&] {
        if (rows.isEmpty())
            return true;
        const bool ok = s.exec(line + rows.join(QStringLiteral(", ")), lineValues, message);
        rows.clear();
        lineValues.clear();
        return ok;
    };
    const DataPacket& l = doc.lines;
    auto num = [&](int r, const char* c, double fallback = 0) {
        const QVariant v = l.value(r, QString::fromLatin1(c));
        return v.isNull() ? fallback : v.toDouble();
    };
    QMap<QString, double> leaving;
    QSet<QString> kept;
    for (int r = 0; r < l.rowCount(); ++r) {
        const QString product = l.value(r, QStringLiteral("f_Spbm")).toString().trimmed();
        rows.append(lineRow);
        lineValues << doc.number << r << product << l.value(r, QStringLiteral("f_Spmc")).toString()
                   << l.value(r, QStringLiteral("f_Jldw")).toString() << num(r, "f_Xssl") << num(r, "f_Xsje")
                   << num(r, "f_Xxsj") << num(r, "f_Zdzkzr") << num(r, "f_Sgzkzr") << num(r, "f_Sl")
                   << num(r, "f_Ssje") << int(num(r, "f_Flsp")) << int(num(r, "f_Yxjj")) << num(r, "f_Zhjj")
                   << num(r, "f_Tgj") << num(r, "f_Dwbl", 1);
        if (rows.size() == linesPerStatement && !flushLines())
            return false;
        // Stock leaves the store unless the centre delivers or the product
        // is booked as purchased when sold.
        if (doc.kind != SaleKind::CentralDelivery && !p.soldThenPurchased[r]) {
            leaving[product] += num(r, "f_Xssl");
            if (p.stockKept[r])
                kept.insert(product);
        }
    }
    if (!flushLines())
        return false;
    // One change per product, in code order: tills lock stock rows in the
    // same order.
    for (auto it = leaving.cbegin(); it != leaving.cend(); ++it) {
        if (kept.contains(it.key()) && it.value() > 0) {
            // Checked and booked in one statement: of two tills selling the
            // last units, one is refused.
            int booked = 0;
            if (!s.execCount(QStringLiteral("UPDATE tbGzkc SET f_Kcsl = f_Kcsl - ? WHERE f_Gzbm = ? AND "
                                            "f_Spbm = ? AND f_Kcsl >= ?"),
                             {it.value(), doc.group, it.key(), it.value() - 1e-6}, &booked, message))
                return false;
            if (booked == 1)
                continue;
            QVariant stock;
            bool found = false;
            if (!s.scalar(QStringLiteral("SELECT f_Kcsl FROM tbGzkc WHERE f_Gzbm = ? AND f_Spbm = ?"),
                          {doc.group, it.key()}, &stock, &found, message))
                return false;
            return Refuse(message, GroupStockRefusal(it.key(), doc.group, stock.toDouble(), 0, it.value()));
        }
        if (!s.exec(QStringLiteral("INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES (?, ?, ?) ON CONFLICT "
                                   "(f_Gzbm, f_Spbm) DO UPDATE SET f_Kcsl = tbGzkc.f_Kcsl + excluded.f_Kcsl"),
                    {doc.group, it.key(), -it.value()}, message))
            return false;
    }

    const QString pay =
        QStringLiteral("INSERT INTO %1 (f_Djh, f_Xh, f_Zffs, f_Zfje, f_Hykh, f_Hyzh, f_Hyklx) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?)")
            .arg(p.payments);
    for (int i = 0; i < p.entries.size(); ++i) {
        const Payment& e = p.entries[i];
        if (!s.exec(pay, {doc.number, i, e.type, RoundMoney(e.amount), e.card, e.account, e.cardType},
                    message))
            return false;
    }

    static const char* cardColumns[] = {"f_Bmbm", "f_Rzrq", "f_Jydm", "f_Khxx", "f_Jyje",   "f_Jysk",
                                        "f_Jyrq", "f_2gxx", "f_3gxx", "f_zdxx", "f_Poslsh", "f_YposLsh"};
    for (int r = 0; r < p.cards.rowCount(); ++r) {
        QVariantList binds{doc.number, r};
        for (const char* c : cardColumns)
            binds.append(p.cards.value(r, QString::fromLatin1(c)).toString());
        if (!s.exec(QStringLiteral(
                        "INSERT INTO tb%1_Xykmx (f_Djh, f_Xh, f_Bmbm, f_Rzrq, f_Jydm, f_Khxx, f_Jyje, "
                        "f_Jysk, f_Jyrq, f_2gxx, f_3gxx, f_zdxx, f_Poslsh, f_YposLsh) VALUES (?, ?, ?, ?, "
                        "?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                        .arg(p.month),
                    binds, message))
            return false;
    }

    if (!BookCustomerAccounts(ctx, p, message))
        return false;

    if (doc.kind != SaleKind::CentralDelivery &&
        !s.exec(QStringLiteral("UPDATE tbXsxlqK SET f_Zt = 1 WHERE f_Ny = ? AND f_Djh = ?"),
                {p.month, doc.number}, message))
        return false;

    for (const QString& n : p.collectedSales)
        if (!MarkCollected(ctx, QStringLiteral("tb") + p.month + QStringLiteral("_Xsmxzb"), n, doc.number,
                           message))
            return false;
    for (const QString& n : p.collectedPreSales)
        if (!MarkCollected(ctx, QStringLiteral("tb") + p.month + QStringLiteral("_Yxsmxzb"), n, doc.number,
                           message))
            return false;

    if (doc.kind == SaleKind::Installation) {
        const QString month = doc.number.left(6);
        qint64 n = 0;
        if (!NextCounter(s, QStringLiteral("GJ"), month, &n, message))
            return false;
        if (!s.exec(
                QStringLiteral("INSERT INTO tb%1_Spgjcb (f_Djh, f_YDjh, f_Zdrq) VALUES (?, ?, ?)").arg(month),
                {QStringLiteral("AZ") + month + QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0')),
                 doc.number, ctx.today()},
                message))
            return false;
    }
    return true;
}

} // namespace

QString OwedAmountSql(const QString& header, const QString& payments)
{
    return QStringLiteral("SELECT COALESCE((SELECT p.f_Zfje FROM %2 p WHERE p.f_Djh = h.f_Djh AND p.f_Xh = "
                          "(SELECT MAX(q.f_Xh) FROM %2 q WHERE q.f_Djh = h.f_Djh AND q.f_Zffs = %3)), "
                          "h.f_Xjje), h.f_Xsbz FROM %1 h WHERE h.f_Djh = ?")
        .arg(header, payments)
        .arg(CashType);
}

bool RecordSaleDocument(HostContext& ctx, const SaleDocument& doc, double* pointsAmount, QString* message)
{
    Prepared p;
    if (!ctx.accountingMonth(&p.month, message) || !ctx.store->ensureMonth(p.month, message))
        return false;
    const QString prefix = QStringLiteral("tb") + p.month;
    p.header = prefix + (IsPreSale(doc.kind) ? QStringLiteral("_Yxsmxzb") : QStringLiteral("_Xsmxzb"));
    p.lines = prefix + (IsPreSale(doc.kind) ? QStringLiteral("_Yxsmxcb") : QStringLiteral("_xsmxcb"));
    p.payments = prefix + (IsPreSale(doc.kind) ? QStringLiteral("_Yxszffs") : QStringLiteral("_Xszffs"));

    if (!CheckNumber(ctx, doc, message) || !CheckLines(doc, &p, message) || !CheckPayments(doc, &p, message))
        return false;
    if (doc.kind == SaleKind::Installation && !ctx.store->ensureMonth(doc.number.left(6), message))
        return false;
    p.digest = Digest(doc, p);
    const double points = RoundMoney(std::max(0.0, p.own - p.memberCard));

    if (!ctx.store->begin(message))
        return false;
    {
        TransactionGuard guard(*ctx.store);
        // The number is claimed first: of all attempts with one number, one
        // records it, and the log says in which month. The claim also checks
        // the number's kind, the cashier and the counter group.
        int claimed = 0;
        if (!ctx.store->execCount(
                QStringLiteral(
                    "UPDATE tbHostDjhLog SET f_Ny = ?, f_Nrzy = ? WHERE f_Djh = ? AND f_Lx = ? AND "
                    "f_Ny = '' AND EXISTS (SELECT 1 FROM tbZyda WHERE f_Zybm = ? AND f_Zt = 1) AND "
                    "EXISTS (SELECT 1 FROM tbBmda WHERE f_Bmbm = ?)"),
                {p.month, p.digest, doc.number, NumberKindCode(doc.kind), doc.cashier, doc.group}, &claimed,
                message))
            return false;
        if (claimed == 1) {
            if (!CheckProducts(ctx, doc, &p, message) || !CheckCollected(ctx, p, message) ||
                !StoreDocument(ctx, doc, p, points, message))
                return false;
            if (doc.kind == SaleKind::CentralDelivery && !RecordCentreOrder(ctx, doc, p, message))
                return false;
            if (!guard.commit(message)) {
                if (doc.kind == SaleKind::CentralDelivery)
                    UndoCentreOrder(ctx, doc, p);
                return false;
            }
            if (doc.kind == SaleKind::CentralDelivery) {
                QString ignored; // still pending, SettleCentreOrders confirms it
                ctx.centre->exec(QStringLiteral("UPDATE tbPsckd SET f_Zt = 0 WHERE f_Djh = ? AND f_Zt = ?"),
                                 {doc.number, PendingOrder}, &ignored);
            }
            *pointsAmount = points;
            return true;
        }
    }
    return Unclaimed(ctx, doc, p, pointsAmount, message);
}

bool SettleCentreOrders(HostContext& ctx, QString* message)
{
    if (!ctx.centre)
        return true;
    Database& c = *ctx.centre;
    Database& s = *ctx.store;
    DataPacket pending;
    if (!c.query(QStringLiteral("SELECT f_Djh, f_Nrzy FROM tbPsckd WHERE f_Zt = ?"), {PendingOrder}, &pending,
                 message))
        return false;
    QString month;
    if (pending.rowCount() > 0 && !ctx.accountingMonth(&month, message))
        return false;
    for (int r = 0; r < pending.rowCount(); ++r) {
        const QString number = pending.value(r, 0).toString();
        // An attempt still running holds its number's log row (PostgreSQL)
        // or the store's write lock (SQLite, waited for).
        if (!s.begin(message))
            return false;
        TransactionGuard read(s);
        DataPacket log;
        QString busy;
        const QString sql = s.backend() == SqlBackend::Postgres
                                ? QStringLiteral("SELECT f_Ny, f_Nrzy FROM tbHostDjhLog WHERE f_Djh = ? FOR "
                                                 "UPDATE NOWAIT")
                                : QStringLiteral("SELECT f_Ny, f_Nrzy FROM tbHostDjhLog WHERE f_Djh = ?");
        if (!s.query(sql, {number}, &log, &busy))
            continue;
        const bool recorded = log.rowCount() == 1 && !log.value(0, 0).toString().isEmpty() &&
                              log.value(0, 1).toString() == pending.value(r, 1).toString();
        if (!c.begin(message))
            return false;
        TransactionGuard write(c);
        if (recorded ? !c.exec(QStringLiteral("UPDATE tbPsckd SET f_Zt = 0 WHERE f_Djh = ? AND f_Zt = ?"),
                               {number, PendingOrder}, message)
                     : !RemoveCentreOrder(c, number, month, message))
            return false;
        if (!write.commit(message))
            return false;
    }
    return true;
}

} // namespace qiantai::host
