#include "screens/sales/startup.h"

#include "base/numbertext.h"
#include "devices/systemclock.h"
#include "sale/paymenttable.h"
#include "sale/salesession.h"
#include "sale/tablenames.h"
#include "screens/sales/serverdate.h"

#include <exception>

namespace qiantai {

QString StartupErrorCaption()
{
    return QStringLiteral("错误提示");
}

QString StartupFaultCaption()
{
    return QStringLiteral("出错提示");
}

namespace {

const QString SaleCategory = QStringLiteral("销货单");
const QString ReturnCategory = QStringLiteral("销货退单");

bool isStoreType(const QString& dwlx)
{
    return dwlx == QLatin1String("02") || dwlx == QLatin1String("11") || dwlx == QLatin1String("10");
}

} // namespace

SalesStartup::SalesStartup(SaleSession& session, StartupServices services)
    : s_(session), services_(std::move(services)), host_(session.HostObject.get())
{
}

QString SalesStartup::ServerDateStatement(const QString& databaseType)
{
    if (databaseType == QLatin1String("SQLSERVER"))
        return QStringLiteral("Select GetDate() ");
    if (databaseType == QLatin1String("DB2"))
        return QStringLiteral("Values current timestamp ");
    return QString();
}

QString SalesStartup::SysmsgStatement(const char* key)
{
    return QStringLiteral("Select f_Csz From tbSysmsg Where Upper(f_Csmc) = '%1' ").arg(QLatin1String(key));
}

QString SalesStartup::UniqueIndexProbe(const QString& yearMonth)
{
    const QString table = MonthlyTableName(yearMonth, QStringLiteral("Xsmxzb"));
    if (table.isEmpty())
        return QString();
    return QStringLiteral("Select 1 From Sysobjects Where name = '%1_Unique'").arg(table);
}

QString SalesStartup::UniqueIndexCreate(const QString& yearMonth)
{
    const QString table = MonthlyTableName(yearMonth, QStringLiteral("Xsmxzb"));
    if (table.isEmpty())
        return QString();
    return QStringLiteral("Create Unique Index %1_Unique On %1(f_Djh)").arg(table);
}

bool SalesStartup::stopWith(const QVariant& message, const QString& caption)
{
    stop_.message = message;
    stop_.caption = caption.isEmpty() ? StartupErrorCaption() : caption;
    stop_.box = StopBox::Information;
    return false;
}

bool SalesStartup::stopWithHostError(const QString& caption)
{
    return stopWith(host_.lastError(), caption);
}

bool SalesStartup::Run()
{
    stop_ = StartupStop();
    try {
        return steps();
    } catch (const std::exception& e) {
        return stopWith(QString::fromUtf8(e.what()));
    } catch (...) {
        return stopWith(QStringLiteral("未知异常"));
    }
}

bool SalesStartup::steps()
{
    ResetSessionState(s_);
    host_ = HostService(s_.HostObject.get());
    if (!loadParameters() || !checkServerMonth())
        return false;

    s_.Dwlx = params_.dwlx;
    s_.Dybm = params_.dybm;
    s_.Xsfkz = params_.xsfkz;
    s_.Kckz = params_.kckz;
    s_.Qyny = params_.qyny;
    s_.Dqny = params_.CurrentYearMonth;
    s_.Hyklwms = params_.hyklwms;
    s_.Yckqzj = params_.yckqzj;

    if (!readSysmsgValues() || !loadDepartment())
        return false;
    if (!isStoreType(s_.Dwlx))
        return stopWith(QStringLiteral("所连接数据库不是门店类型，不允许销售！"));
    if (!loadOperator() || !loadDistributionCentre() || !loadReceiptMode())
        return false;

    if (s_.Xsxpdyfs != QLatin1String("1")) {
        if (!loadTemplates(SaleCategory, "销货单报表模板不存在！", s_.SaleTemplates) ||
            !loadTemplates(ReturnCategory, "销货退单报表模板不存在！", s_.ReturnTemplates))
            return false;
    } else {
        if (!services_.openPrinter)
            return stopWith(QStringLiteral("初始化打印机失败，请检查打印！"), StartupFaultCaption());
        if (!services_.openPrinter(s_, stop_))
            return false;
    }

    ensureUniqueIndex();
    syncClock();
    buildCollections();
    return true;
}

bool SalesStartup::loadParameters()
{
    TVornaClass loader(s_.HostObject.get(), services_.warn);
    params_ = TSysParamRecord();
    params_.OperatorCode = s_.Syybm;
    QString message;
    if (!loader.LoadParameters(params_, SalesScreenParams(), message))
        return stopWith(message);
    return true;
}

bool SalesStartup::checkServerMonth()
{
    const QString failed = QStringLiteral("取系统日期异常");
    QString type;
    if (!host_.GetDatabaseType(type))
        return stopWith(failed);
    DataPacket rows;
    if (!host_.OpenQuery(ServerDateStatement(type), rows) || rows.isEmpty() || rows.columnCount() == 0)
        return stopWith(failed);
    const QDateTime now = ServerDateTime(rows.value(0, 0));
    if (!now.isValid())
        return stopWith(failed);
    if (now.toString(QStringLiteral("yyyyMM")) > params_.CurrentYearMonth)
        return stopWith(QStringLiteral("系统尚未结转不能销售"));
    return true;
}

bool SalesStartup::readSysmsg(const char* key, QString& value, bool& stopped)
{
    stopped = false;
    DataPacket rows;
    if (!host_.OpenQuery(SysmsgStatement(key), rows)) {
        // A host that broke, rather than refused, ends the start-up.
        if (host_.lastStatus() == HostCallStatus::Raised) {
            stopped = true;
            stopWithHostError();
        }
        return false;
    }
    if (rows.isEmpty())
        return false;
    const QVariant v = rows.value(0, QStringLiteral("f_Csz"));
    if (v.toString().trimmed().isEmpty())
        return false;
    value = v.toString();
    return true;
}

bool SalesStartup::readSysmsgValues()
{
    QString text;
    bool stopped = false;

    const auto toInt = [&](int& field) {
        bool ok = false;
        const int n = text.trimmed().toInt(&ok, 10);
        if (!ok)
            return stopWith(QStringLiteral("'%1' is not a valid integer value").arg(text));
        field = n;
        return true;
    };

    if (readSysmsg("CKQZWS", text, stopped)) {
        if (!toInt(s_.Ckqzws))
            return false;
    } else if (stopped) {
        return false;
    }
    if (readSysmsg("CKHZWS", text, stopped)) {
        if (!toInt(s_.Ckhzws))
            return false;
    } else if (stopped) {
        return false;
    }
    if (readSysmsg("JFJE", text, stopped)) {
        QString error;
        if (!TextToFloat(text, s_.Jfje, error))
            return stopWith(error);
    } else if (stopped) {
        return false;
    }
    if (readSysmsg("FQEDJ", text, stopped))
        s_.Fqedj = text;
    else if (stopped)
        return false;
    if (readSysmsg("XYKLX", text, stopped))
        s_.Xyklx = text;
    else if (stopped)
        return false;
    return true;
}

bool SalesStartup::loadDepartment()
{
    if (s_.Dwlx == QLatin1String("10")) {
        s_.Bmmc = params_.dwmc;
        s_.Dybm.clear();
        return true;
    }
    DataPacket rows;
    if (!host_.LookupRecord(1, s_.Dybm, rows) || rows.isEmpty())
        return stopWith(QStringLiteral("部门编码%1在部门档案中不存在！").arg(s_.Dybm));
    s_.Bmmc = rows.value(0, QStringLiteral("f_Bmmc")).toString();
    return true;
}

bool SalesStartup::loadOperator()
{
    QString tag;
    if (!host_.GetOperatorInfo(s_.Syybm, tag))
        return stopWithHostError();
    s_.OperatorTag = tag;

    QString name, text;
    QVariant status;
    if (!host_.LookupEmployee(s_.Syybm, name, text, status))
        return stopWithHostError();
    s_.Syymc = name;
    return true;
}

bool SalesStartup::loadDistributionCentre()
{
    if (s_.Dwlx == QLatin1String("10"))
        return true;
    QString centre;
    if (!host_.GetDistributionCentre(s_.Dybm, centre))
        return stopWithHostError();
    s_.Pszxbm = centre;
    return true;
}

bool SalesStartup::loadReceiptMode()
{
    DataPacket rows;
    if (!host_.OpenQuery(QStringLiteral("SELECT * FROM tbSysMsg WHERE f_Csmc='xsxpdyfs'"), rows))
        return stopWithHostError();
    if (!rows.isEmpty())
        s_.Xsxpdyfs = rows.value(0, QStringLiteral("f_Csz")).toString();
    return true;
}

bool SalesStartup::loadTemplates(const QString& category, const char* missingMessage, DataPacket& into)
{
    if (!host_.GetReportTemplates(category, into))
        return stopWithHostError(StartupFaultCaption());
    int found = -1;
    for (int r = 0; r < into.rowCount() && found < 0; ++r)
        if (into.value(r, QStringLiteral("f_reportname")).toString().compare(category, Qt::CaseInsensitive) ==
            0)
            found = r;
    if (found < 0) {
        stop_.message = QString::fromUtf8(missingMessage);
        stop_.caption = QStringLiteral("错误");
        stop_.box = StopBox::System;
        return false;
    }
    if (services_.loadReport) {
        QString error;
        if (!services_.loadReport(into.value(found, QStringLiteral("f_reportinfo")).toString(), error))
            return stopWith(error);
    }
    return true;
}

void SalesStartup::ensureUniqueIndex()
{
    const QString probe = UniqueIndexProbe(s_.Dqny);
    if (probe.isEmpty())
        return;
    DataPacket rows;
    if (host_.OpenQuery(probe, rows) && rows.isEmpty())
        host_.ExecuteSql(UniqueIndexCreate(s_.Dqny));
}

void SalesStartup::syncClock()
{
    DataPacket rows;
    if (!host_.OpenQuery(QStringLiteral("select getdate() as f_Date"), rows) || rows.isEmpty())
        return;
    if (!services_.clock)
        return;
    SyncClock(*services_.clock, ServerDateTime(rows.value(0, QStringLiteral("f_Date"))), services_.clockSync);
}

void SalesStartup::buildCollections()
{
    s_.SaleLines.Clear();
    s_.PaymentMethods.Clear();
    s_.PaymentEntries.Clear();
    s_.CardTransactions.Clear();
    s_.SystemTools.Clear();
    s_.CollectedSales.clear();
    s_.CollectedPreSales.clear();
    BuildPaymentMethods(s_);
    BuildSystemTools(s_);
}

} // namespace qiantai
