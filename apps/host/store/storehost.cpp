#include "storehost.h"

#include "cardconsumption.h"
#include "catalogue.h"
#include "docnumbers.h"
#include "employees.h"
#include "limitedoffers.h"
#include "recording.h"

#include "base/logcategories.h"
#include "base/storedcode.h"
#include "qiantai/dispids.h"

#include <exception>
#include <limits>

namespace qiantai::host {
namespace {

namespace id = qiantai::dispid;

// Writes a refusal into the last argument and answers false.
QVariant Refuse(QVariantList& args, const QString& message)
{
    if (!args.isEmpty())
        args.last() = message;
    return false;
}

bool Enough(QVariantList& args, int needed)
{
    if (args.size() >= needed)
        return true;
    Refuse(args, QStringLiteral("主机调用参数个数不正确：需要%1个，收到%2个").arg(needed).arg(args.size()));
    return false;
}

QString Text(const QVariantList& args, int i)
{
    return args.value(i).toString();
}

QString Code(const QVariantList& args, int i)
{
    return StoredCode(Text(args, i));
}

// Not a number gives NaN, which recording refuses.
double Number(const QVariantList& args, int i)
{
    bool ok = false;
    const double v = args.value(i).toDouble(&ok);
    return ok ? v : std::numeric_limits<double>::quiet_NaN();
}

SaleDocument ReadSale(SaleKind kind, const QVariantList& a)
{
    SaleDocument d;
    d.kind = kind;
    d.number = Code(a, 0);
    d.cashier = Code(a, 1);
    d.cashierName = Text(a, 2);
    d.operatorTag = Text(a, 3);
    d.salesperson = Code(a, 4);
    d.salespersonName = Text(a, 5);
    int i = 6;
    switch (kind) {
    case SaleKind::StorePickup: // Gzbm, Ckbm, CardNo, MemberAccount, lines, bundle, message
        d.group = Code(a, 6);
        d.warehouse = Code(a, 7);
        d.cardNo = Code(a, 8);
        d.memberAccount = Code(a, 9);
        i = 10;
        break;
    case SaleKind::StoreDelivery: // CardNo, MemberAccount, Gzbm, Ckbm, amount, ...
        d.cardNo = Code(a, 6);
        d.memberAccount = Code(a, 7);
        d.group = Code(a, 8);
        d.warehouse = Code(a, 9);
        d.amount = Number(a, 10);
        i = 11;
        break;
    case SaleKind::Installation: // Gzbm, Ckbm, CardNo, MemberAccount, amount, ...
        d.group = Code(a, 6);
        d.warehouse = Code(a, 7);
        d.cardNo = Code(a, 8);
        d.memberAccount = Code(a, 9);
        d.amount = Number(a, 10);
        i = 11;
        break;
    case SaleKind::CentralDelivery: // Gzbm, Pszxbm, Ckbm, CardNo, MemberAccount, amount, ...
        d.group = Code(a, 6);
        d.centre = Code(a, 7);
        d.warehouse = Code(a, 8);
        d.cardNo = Code(a, 9);
        d.memberAccount = Code(a, 10);
        d.amount = Number(a, 11);
        i = 12;
        break;
    }
    d.lines = packetFromVariant(a.value(i));
    d.bundle = a.value(i + 1).toList();
    d.customerInfo = Text(a, i + 2);
    return d;
}

int SaleArgCount(SaleKind kind)
{
    switch (kind) {
    case SaleKind::StorePickup:
        return 13;
    case SaleKind::StoreDelivery:
    case SaleKind::Installation:
        return 14;
    case SaleKind::CentralDelivery:
        return 15;
    }
    return 15;
}

bool ValidPacketArg(const QVariant& v)
{
    bool ok = false;
    packetFromVariant(v, &ok);
    return ok;
}

} // namespace

StoreHost* StoreHost::create(const QString& storeLocation, const QString& centreLocation,
                             std::shared_ptr<const HostClock> clock, QString* error)
{
    std::unique_ptr<StoreHost, void (*)(StoreHost*)> host(new StoreHost, [](StoreHost* h) { h->release(); });
    host->clock_ = clock ? std::move(clock) : std::make_shared<SystemHostClock>();
    host->store_ = Database::open(storeLocation, DatabaseKind::Store, host->clock_.get(), error);
    if (!host->store_)
        return nullptr;
    if (!centreLocation.isEmpty()) {
        host->centre_ = Database::open(centreLocation, DatabaseKind::Centre, host->clock_.get(), error);
        if (!host->centre_) {
            *error = QStringLiteral("配送中心数据库：") + *error;
            return nullptr;
        }
    }
    host->ctx_.store = host->store_.get();
    host->ctx_.centre = host->centre_.get();
    host->ctx_.clock = host->clock_.get();
    QString month;
    QString ignored;
    if (host->ctx_.accountingMonth(&month, &ignored) && !host->store_->ensureMonth(month, error))
        return nullptr;
    // A till that died while recording leaves no delivery order behind;
    // an unreachable centre does not stop the start.
    SettleCentreOrders(host->ctx_, &ignored);
    return host.release();
}

QVariant StoreHost::invoke(int dispId, QVariantList& args)
{
    try {
        return dispatch(dispId, args);
    } catch (const std::exception& e) {
        return Refuse(args, QStringLiteral("主机内部错误：") + QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return Refuse(args, QStringLiteral("主机内部错误"));
    }
}

QVariant StoreHost::dispatch(int dispId, QVariantList& args)
{
    QString msg;
    switch (dispId) {
    case id::OpenQuery: { // SQL; ref packet
        if (!Enough(args, 2))
            return false;
        const QString sql = Text(args, 0).trimmed();
        if (sql.isEmpty())
            return Refuse(args, QStringLiteral("查询语句为空"));
        DataPacket p;
        if (!store_->queryDialect(sql, &p, &msg))
            return Refuse(args, msg);
        args[1] = packetToVariant(p);
        return true;
    }
    case id::ExecuteSql: { // ref SQL
        if (!Enough(args, 1))
            return false;
        const QString sql = Text(args, 0).trimmed();
        if (sql.isEmpty())
            return Refuse(args, QStringLiteral("执行语句为空"));
        if (!store_->execDialect(sql, &msg))
            return Refuse(args, msg);
        return true;
    }
    case id::GetCurrentYearMonth: {
        if (!Enough(args, 1))
            return false;
        // A sales session starts here: it books in this month to its end.
        QString month;
        if (!ctx_.refreshAccountingMonth(&month, &msg) || !store_->ensureMonth(month, &msg))
            return Refuse(args, msg);
        args[0] = month;
        return true;
    }
    case id::GetCurrentDate:
        if (!Enough(args, 1))
            return false;
        args[0] = ctx_.today();
        return true;
    case id::GetCurrentDateTime:
        if (!Enough(args, 1))
            return false;
        args[0] = ctx_.nowText();
        return true;
    case id::VerifyPassword: // employee; password; ref message
        if (!Enough(args, 3))
            return false;
        if (!VerifyEmployeePassword(ctx_, Text(args, 0).trimmed(), Text(args, 1), &msg))
            return Refuse(args, msg);
        return true;
    case id::CheckPermission: { // employee; right code
        if (args.size() < 2)
            return false;
        const QString employee = Text(args, 0).trimmed();
        if (!HasRight(ctx_, employee, Text(args, 1)))
            return false;
        // Another employee's right used while this till's document is open
        // is an authorization: the day report names who gave it.
        if (!document_.isEmpty() && employee != documentCashier_ &&
            !RecordGrant(ctx_, document_, documentCashier_, employee, Text(args, 1).trimmed(), &msg))
            qCWarning(lcHostStore).noquote() << "authorization not recorded:" << msg;
        return true;
    }
    case id::LookupByCode:   // kind; ref code in / packet out
    case id::LookupRecord: { // kind; ref code in / packet out
        if (!Enough(args, 2))
            return false;
        const int kind = args[0].toInt();
        const QString code = Text(args, 1).trimmed();
        DataPacket p;
        if (kind != 1)
            return Refuse(args, QStringLiteral("不支持的档案类型%1").arg(kind));
        if (dispId == id::LookupByCode) {
            if (!EmployeeRecord(ctx_, code, &p, &msg))
                return Refuse(args, msg);
        } else {
            if (!store_->query(
                    QStringLiteral("SELECT f_Bmbm, f_Bmmc, f_Mj, f_Pszxbm FROM tbBmda WHERE f_Bmbm = ?"),
                    {code}, &p, &msg))
                return Refuse(args, msg);
            if (p.rowCount() == 0)
                return Refuse(args, QStringLiteral("部门") + code + QStringLiteral("不存在"));
        }
        args[1] = packetToVariant(p);
        return true;
    }
    case id::GetReportTemplates: { // category; ref packet
        if (!Enough(args, 2))
            return false;
        DataPacket p;
        if (!store_->query(
                QStringLiteral("SELECT f_Reportname AS f_reportname, f_Reportinfo AS f_reportinfo, "
                               "f_Category AS f_category FROM tbReport WHERE f_Category = ? "
                               "ORDER BY f_Reportname"),
                {Text(args, 0)}, &p, &msg))
            return Refuse(args, msg);
        args[1] = packetToVariant(p);
        return true;
    }
    case id::GetDatabaseType:
        return QStringLiteral("SQLSERVER");
    case id::OpenCentreQuery:    // SQL; ref centre code in / packet out
    case id::ExecuteCentreSql: { // SQL; ref centre code
        if (!Enough(args, 2))
            return false;
        const QString code = Text(args, 1).trimmed();
        if (!centre_ || ctx_.centreCode() != code)
            return Refuse(args, QStringLiteral("配送中心") + code + QStringLiteral("未配置或无法连接"));
        const QString sql = Text(args, 0).trimmed();
        if (sql.isEmpty())
            return Refuse(args, QStringLiteral("语句为空"));
        if (dispId == id::ExecuteCentreSql)
            return centre_->execDialect(sql, &msg) ? QVariant(true) : Refuse(args, msg);
        DataPacket p;
        if (!centre_->queryDialect(sql, &p, &msg))
            return Refuse(args, msg);
        args[1] = packetToVariant(p);
        return true;
    }
    case id::QueryLimitedOffer: { // 12 arguments, the last four by reference
        if (!Enough(args, 12))
            return false;
        OfferRequest rq;
        rq.centre = args[0].toInt() == 1;
        rq.department = Text(args, 1).trimmed();
        rq.document = Text(args, 2).trimmed();
        rq.linePosition = args[3].toInt();
        rq.product = Text(args, 4).trimmed();
        rq.quantity = args[5].toDouble();
        rq.otherLines = args[6].toDouble();
        rq.unitPrice = args[7].toDouble();
        rq.mode = Text(args, 11).trimmed();
        OfferAnswer a;
        if (!QueryOffer(ctx_, rq, &a, &msg))
            return Refuse(args, msg);
        args[8] = 0;
        args[9] = a.price;
        args[10] = a.value;
        return true;
    }
    case id::GetSystemParameters: {
        if (!Enough(args, 1))
            return false;
        DataPacket p;
        if (!store_->query(QStringLiteral("SELECT f_Csmc, f_Csz FROM tbSysmsg ORDER BY f_Csmc"), {}, &p,
                           &msg))
            return Refuse(args, msg);
        args[0] = packetToVariant(p);
        return true;
    }
    case id::RecordCardConsumption: { // ref request array; ref answer
        if (!Enough(args, 2))
            return false;
        QString serial;
        if (!RecordConsumption(ctx_, args[0].toList(), &serial, &msg))
            return Refuse(args, msg);
        args[1] = serial;
        return true;
    }
    case id::AllocateDocumentNumber:
    case id::AllocateDeliveryDocumentNumber: { // cashier; name; group; ref number; ref message
        if (!Enough(args, 5))
            return false;
        QString number;
        if (!AllocateNumber(ctx_,
                            dispId == id::AllocateDocumentNumber ? NumberKind::Sale : NumberKind::PreSale,
                            Text(args, 0).trimmed(), Text(args, 2).trimmed(), &number, &msg))
            return Refuse(args, msg);
        args[3] = number;
        document_ = number;
        documentCashier_ = Text(args, 0).trimmed();
        return true;
    }
    case id::CalculateRebate: { // ref line packet; ref double; ref message
        if (!Enough(args, 3))
            return false;
        if (!ValidPacketArg(args[0]))
            return Refuse(args, QStringLiteral("计算返利：没有销售明细"));
        double rebate = 0;
        if (!CalculateLinesRebate(ctx_, packetFromVariant(args[0]), &rebate, &msg))
            return Refuse(args, msg);
        args[1] = rebate;
        return true;
    }
    case id::SaveSale:
    case id::SaveDeliverySale:
    case id::SaveInstallSale:
    case id::SaveCentralDeliverySale: {
        const SaleKind kind = dispId == id::SaveSale           ? SaleKind::StorePickup
                              : dispId == id::SaveDeliverySale ? SaleKind::StoreDelivery
                              : dispId == id::SaveInstallSale  ? SaleKind::Installation
                                                               : SaleKind::CentralDelivery;
        if (!Enough(args, SaleArgCount(kind)))
            return false;
        const int linesArg = SaleArgCount(kind) - 3;
        if (!ValidPacketArg(args[linesArg]))
            return Refuse(args, QStringLiteral("保存单据：没有销售明细"));
        const SaleDocument doc = ReadSale(kind, args);
        double points = 0;
        if (!RecordSaleDocument(ctx_, doc, &points, &msg))
            return Refuse(args, msg);
        args.last() = points;
        return true;
    }
    case id::PrepareProductLookup: { // ref value
        if (!Enough(args, 1))
            return false;
        QVariant v;
        bool found = false;
        if (!store_->scalar(QStringLiteral("SELECT 1"), {}, &v, &found, &msg))
            return Refuse(args, msg);
        return true;
    }
    case id::LookupProduct: { // code; ref packet; ref value
        if (!Enough(args, 3))
            return false;
        DataPacket p;
        if (!LookupProducts(ctx_, Text(args, 0), &p, &msg))
            return Refuse(args, msg);
        args[1] = packetToVariant(p);
        return true;
    }
    case id::GetOperatorInfo: { // operator; ref value
        if (!Enough(args, 2))
            return false;
        QString tag;
        if (!OperatorTag(ctx_, Text(args, 0).trimmed(), &tag, &msg))
            return Refuse(args, msg);
        args[1] = tag;
        return true;
    }
    case id::LookupEmployee: { // code; ref name; ref type; ref status
        if (!Enough(args, 4))
            return false;
        EmployeeInfo e;
        if (!FindEmployee(ctx_, Text(args, 0).trimmed(), &e, &msg))
            return Refuse(args, msg);
        args[1] = e.name;
        args[2] = e.type;
        args[3] = e.status;
        return true;
    }
    case id::GetDistributionCentre: { // department; ref centre; ref message
        if (!Enough(args, 3))
            return false;
        const QString dept = Text(args, 0).trimmed();
        QVariant v;
        bool found = false;
        if (!store_->scalar(QStringLiteral("SELECT f_Pszxbm FROM tbBmda WHERE f_Bmbm = ?"), {dept}, &v,
                            &found, &msg))
            return Refuse(args, msg);
        if (!found)
            return Refuse(args, QStringLiteral("部门") + dept + QStringLiteral("不存在"));
        if (v.toString().trimmed().isEmpty())
            return Refuse(args, QStringLiteral("部门") + dept + QStringLiteral("没有设置配送中心"));
        args[1] = v.toString().trimmed();
        return true;
    }
    case id::CheckStock: // product, group, quantity, other lines, qyny, dqny, ref message
        if (!Enough(args, 7))
            return false;
        if (!CheckGroupStock(ctx_, Text(args, 0).trimmed(), Text(args, 1).trimmed(), args[2].toDouble(),
                             args[3].toDouble(), &msg))
            return Refuse(args, msg);
        return true;
    case id::CheckDeliveryStock: // product, dybm, centre, warehouse, dqny, quantity, other, ref message
        if (!Enough(args, 8))
            return false;
        if (!CheckCentreStock(ctx_, Text(args, 0).trimmed(), Text(args, 2).trimmed(), Text(args, 3).trimmed(),
                              args[5].toDouble(), args[6].toDouble(), &msg))
            return Refuse(args, msg);
        return true;
    default:
        return Refuse(args, QStringLiteral("主机不支持的操作%1").arg(dispId));
    }
}

} // namespace qiantai::host
