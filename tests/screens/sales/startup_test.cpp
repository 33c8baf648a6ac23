#include "devices/systemclock.h"
#include "qiantai/dispids.h"
#include "sale/salesession.h"
#include "screens/sales/startup.h"

#include "storefixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace qiantai;
using qiantai::test::StoreFixture;

namespace {

class FakeClock : public SystemClock {
public:
    QDateTime now{QDate(2004, 6, 15), QTime(10, 20, 30)};
    QList<QDateTime> sets;
    QDateTime Now() const override { return now; }
    bool Set(const QDateTime& to) override
    {
        sets.append(to);
        return false; // a refusal changes nothing
    }
};

class StartupTest : public ::testing::Test {
protected:
    StartupTest() : host(new StoreFixture)
    {
        session.HostObject.reset(host);
        host->release(); // the session's reference keeps it
        session.Syybm = QStringLiteral("1001");
        services.clock = &clock;
    }

    bool Run()
    {
        SalesStartup startup(session, services);
        const bool ok = startup.Run();
        stop = startup.Stop();
        return ok;
    }

    SaleSession session;
    StoreFixture* host;
    FakeClock clock;
    StartupServices services;
    StartupStop stop;
};

} // namespace

TEST_F(StartupTest, PassesEveryStepInOrderAndLoadsTheStoreContext)
{
    host->uniqueIndexExists = false;
    QStringList loaded;
    services.loadReport = [&](const QString& text, QString&) {
        loaded.append(text);
        return true;
    };
    host->returnTemplate = QStringLiteral("[Th]");
    session.Xsxpdyfs = QStringLiteral("stale");
    ASSERT_TRUE(Run()) << stop.message.toString().toStdString();

    using namespace dispid;
    const QList<int> expected{GetDatabaseType,     GetCurrentYearMonth,
                              GetSystemParameters, GetDatabaseType,
                              OpenQuery,           OpenQuery,
                              OpenQuery,           OpenQuery,
                              OpenQuery,           OpenQuery,
                              LookupRecord,        GetOperatorInfo,
                              LookupEmployee,      GetDistributionCentre,
                              OpenQuery,           GetReportTemplates,
                              GetReportTemplates,  OpenQuery,
                              ExecuteSql,          OpenQuery};
    EXPECT_EQ(host->dispIds(), expected);
    EXPECT_EQ(host->queriesSent(),
              (QStringList{QStringLiteral("Select GetDate() "),
                           QStringLiteral("Select f_Csz From tbSysmsg Where Upper(f_Csmc) = 'CKQZWS' "),
                           QStringLiteral("Select f_Csz From tbSysmsg Where Upper(f_Csmc) = 'CKHZWS' "),
                           QStringLiteral("Select f_Csz From tbSysmsg Where Upper(f_Csmc) = 'JFJE' "),
                           QStringLiteral("Select f_Csz From tbSysmsg Where Upper(f_Csmc) = 'FQEDJ' "),
                           QStringLiteral("Select f_Csz From tbSysmsg Where Upper(f_Csmc) = 'XYKLX' "),
                           QStringLiteral("SELECT * FROM tbSysMsg WHERE f_Csmc='xsxpdyfs'"),
                           QStringLiteral("Select 1 From Sysobjects Where name = 'tb200406_Xsmxzb_Unique'"),
                           QStringLiteral("select getdate() as f_Date")}));
    EXPECT_EQ(
        host->callsTo(dispid::ExecuteSql).value(0).args,
        QVariantList{QStringLiteral("Create Unique Index tb200406_Xsmxzb_Unique On tb200406_Xsmxzb(f_Djh)")});
    EXPECT_EQ(host->callsTo(dispid::LookupRecord).value(0).args.value(0), QVariant(1));
    EXPECT_EQ(host->callsTo(dispid::LookupRecord).value(0).args.value(1), QVariant(QStringLiteral("0101")));
    for (int id : {dispid::GetOperatorInfo, dispid::LookupEmployee})
        EXPECT_EQ(host->callsTo(id).value(0).args.value(0), QVariant(QStringLiteral("1001")));
    EXPECT_EQ(host->callsTo(dispid::GetDistributionCentre).value(0).args.value(0),
              QVariant(QStringLiteral("0101")));
    EXPECT_EQ(host->callsTo(dispid::GetReportTemplates).value(0).args.value(0),
              QVariant(QStringLiteral("销货单")));
    EXPECT_EQ(host->callsTo(dispid::GetReportTemplates).value(1).args.value(0),
              QVariant(QStringLiteral("销货退单")));
    EXPECT_EQ(loaded, (QStringList{QStringLiteral("[Djh]"), QStringLiteral("[Th]")}));

    EXPECT_EQ(session.Dwlx, QStringLiteral("02"));
    EXPECT_EQ(session.Dybm, QStringLiteral("0101"));
    EXPECT_EQ(session.Bmmc, QStringLiteral("电器一店"));
    EXPECT_EQ(session.Qyny, QStringLiteral("200401"));
    EXPECT_EQ(session.Dqny, QStringLiteral("200406"));
    EXPECT_EQ(session.Kckz, QStringLiteral("1"));
    EXPECT_EQ(session.Hyklwms, QStringLiteral("0"));
    EXPECT_EQ(session.OperatorTag, QStringLiteral("OP-TAG"));
    EXPECT_EQ(session.Syymc, QStringLiteral("张三"));
    EXPECT_EQ(session.Pszxbm, QStringLiteral("PS01"));
    EXPECT_EQ(session.Xsxpdyfs, QStringLiteral("0"));
    EXPECT_EQ(session.SaleTemplates.rowCount(), 1);
    EXPECT_EQ(session.ReturnTemplates.rowCount(), 1);
    EXPECT_EQ(session.PaymentMethods.Count(), 7);
    EXPECT_FALSE(session.SystemTools.IsEmpty());
    EXPECT_TRUE(session.SaleLines.IsEmpty());
    // The defaults of the direct tbSysmsg reads stay when no row comes back.
    EXPECT_EQ(session.Ckqzws, 0);
    EXPECT_EQ(session.Ckhzws, 0);
    EXPECT_DOUBLE_EQ(session.Jfje, 1.0);
    EXPECT_EQ(session.Fqedj, QStringLiteral("1"));
    EXPECT_EQ(session.Xyklx, QStringLiteral("0"));
}

namespace {

struct StopCase {
    const char* name;
    std::function<void(StoreFixture&, StartupServices&)> arrange;
    QVariant message;
    QString caption;
    StopBox box;
    int lastDispId; // the call the start-up ended on; nothing after it
};

QString S(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST_F(StartupTest, EachStopShowsItsMessageAndCaptionAndGoesNoFurther)
{
    using namespace dispid;
    const QString err = S("错误提示");
    const QList<StopCase> cases{
        {"parameters refused",
         [](StoreFixture& h, StartupServices&) { h.refuse(GetSystemParameters, S("x")); },
         S("取得系统参数时出错！"), err, StopBox::Information, GetSystemParameters},
        {"parameter missing",
         [](StoreFixture& h, StartupServices&) { h.parameters.remove(QStringLiteral("hyklwms")); },
         S("没有可利用的会员卡联网模式！"), err, StopBox::Information, GetSystemParameters},
        {"date query refused",
         [](StoreFixture& h, StartupServices&) {
             h.refusedQueries[QStringLiteral("Select GetDate() ")] = S("不行");
         },
         S("取系统日期异常"), err, StopBox::Information, OpenQuery},
        {"unknown database type sends an empty statement",
         [](StoreFixture& h, StartupServices&) {
             h.databaseType = QStringLiteral("ORACLE");
             h.queries[QString()] = StoreFixture::table({QStringLiteral("d")});
         },
         S("取系统日期异常"), err, StopBox::Information, OpenQuery},
        {"server month after the accounting month",
         [](StoreFixture& h, StartupServices&) { h.serverTime = QDateTime(QDate(2004, 7, 1), QTime(0, 0)); },
         S("系统尚未结转不能销售"), err, StopBox::Information, OpenQuery},
        {"card prefix length not a number",
         [](StoreFixture& h, StartupServices&) {
             h.queries[SalesStartup::SysmsgStatement("CKQZWS")] =
                 StoreFixture::sysmsgRow(QStringLiteral("AB"));
         },
         S("'AB' is not a valid integer value"), err, StopBox::Information, OpenQuery},
        {"points amount not a number",
         [](StoreFixture& h, StartupServices&) {
             h.queries[SalesStartup::SysmsgStatement("JFJE")] =
                 StoreFixture::sysmsgRow(QStringLiteral("1,5"));
         },
         S("“1,5”不是有效的数字"), err, StopBox::Information, OpenQuery},
        {"department not in the archive",
         [](StoreFixture& h, StartupServices&) { h.refuse(LookupRecord, S("无")); },
         S("部门编码0101在部门档案中不存在！"), err, StopBox::Information, LookupRecord},
        {"not a store",
         [](StoreFixture& h, StartupServices&) {
             h.setParameter(QStringLiteral("dwlx"), QStringLiteral("01"));
         },
         S("所连接数据库不是门店类型，不允许销售！"), err, StopBox::Information, LookupRecord},
        {"operator info refused",
         [](StoreFixture& h, StartupServices&) { h.refuse(GetOperatorInfo, S("操作员无效")); },
         S("操作员无效"), err, StopBox::Information, GetOperatorInfo},
        {"cashier unknown",
         [](StoreFixture& h, StartupServices&) {
             h.refuse(LookupEmployee, QVariantList{S("职员"), S("不存在")});
         },
         QVariantList{S("职员"), S("不存在")}, err, StopBox::Information, LookupEmployee},
        {"distribution centre refused",
         [](StoreFixture& h, StartupServices&) { h.refuse(GetDistributionCentre, S("没有配送中心")); },
         S("没有配送中心"), err, StopBox::Information, GetDistributionCentre},
        {"receipt mode query refused",
         [](StoreFixture& h, StartupServices&) {
             h.refusedQueries[QStringLiteral("SELECT * FROM tbSysMsg WHERE f_Csmc='xsxpdyfs'")] =
                 S("表不存在");
         },
         S("表不存在"), err, StopBox::Information, OpenQuery},
        {"templates refused",
         [](StoreFixture& h, StartupServices&) { h.refuse(GetReportTemplates, S("模板表坏了")); },
         S("模板表坏了"), S("出错提示"), StopBox::Information, GetReportTemplates},
        {"sale template missing",
         [](StoreFixture& h, StartupServices&) {
             h.answer(GetReportTemplates, 1,
                      packetToVariant(StoreFixture::table(
                          {QStringLiteral("f_reportname"), QStringLiteral("f_reportinfo")},
                          {{S("别的"), S("")}})));
         },
         S("销货单报表模板不存在！"), S("错误"), StopBox::System, GetReportTemplates},
        {"return template missing",
         [](StoreFixture& h, StartupServices&) {
             h.on(GetReportTemplates, [](QVariantList& a) {
                 // Every category answers with the sale template only; the
                 // name matches without regard to case of the column.
                 a[1] = packetToVariant(
                     StoreFixture::table({QStringLiteral("F_REPORTNAME"), QStringLiteral("f_reportinfo")},
                                         {{S("销货单"), S("[x]")}}));
                 return QVariant(true);
             });
         },
         S("销货退单报表模板不存在！"), S("错误"), StopBox::System, GetReportTemplates},
        {"template that does not load",
         [](StoreFixture&, StartupServices& s) {
             s.loadReport = [](const QString&, QString& error) {
                 error = S("模板第3行有误");
                 return false;
             };
         },
         S("模板第3行有误"), err, StopBox::Information, GetReportTemplates},
        {"printer that does not open",
         [](StoreFixture& h, StartupServices& s) {
             h.receiptMode = QStringLiteral("1");
             s.openPrinter = [](SaleSession&, StartupStop& stop) {
                 stop.message = S("初始化打印机失败，请检查打印！");
                 stop.caption = S("出错提示");
                 return false;
             };
         },
         S("初始化打印机失败，请检查打印！"), S("出错提示"), StopBox::Information, OpenQuery},
        {"a host that throws",
         [](StoreFixture& h, StartupServices&) { h.fail(GetOperatorInfo, QStringLiteral("boom")); },
         S("主机服务 GetOperatorInfo 出错：boom"), err, StopBox::Information, GetOperatorInfo},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto* h = new StoreFixture;
        session = SaleSession();
        session.HostObject.reset(h);
        h->release();
        session.Syybm = QStringLiteral("1001");
        host = h;
        services = StartupServices();
        services.clock = &clock;
        c.arrange(*h, services);
        EXPECT_FALSE(Run());
        EXPECT_EQ(stop.message, c.message) << stop.message.toString().toStdString();
        EXPECT_EQ(stop.caption, c.caption);
        EXPECT_EQ(stop.box, c.box);
        ASSERT_FALSE(h->calls().isEmpty());
        EXPECT_EQ(h->calls().last().dispId, c.lastDispId);
        EXPECT_TRUE(session.PaymentMethods.IsEmpty()); // the last step never ran
    }
    EXPECT_TRUE(clock.sets.isEmpty());
}

TEST_F(StartupTest, ServerMonthComparesAsText)
{
    for (const QDate& d : {QDate(2004, 6, 30), QDate(2004, 5, 1), QDate(2003, 12, 31)}) {
        host->serverTime = QDateTime(d, QTime(23, 59, 59));
        EXPECT_TRUE(Run()) << d.toString(Qt::ISODate).toStdString();
    }
    host->serverTime = QDateTime(QDate(2005, 1, 1), QTime(0, 0));
    EXPECT_FALSE(Run());
}

TEST_F(StartupTest, DirectSysmsgValuesTakeOnlyNonBlankRows)
{
    host->queries[SalesStartup::SysmsgStatement("CKQZWS")] = StoreFixture::sysmsgRow(QStringLiteral(" 2 "));
    host->queries[SalesStartup::SysmsgStatement("CKHZWS")] = StoreFixture::sysmsgRow(QStringLiteral("1"));
    host->queries[SalesStartup::SysmsgStatement("JFJE")] = StoreFixture::sysmsgRow(QStringLiteral("   "));
    host->queries[SalesStartup::SysmsgStatement("FQEDJ")] = StoreFixture::sysmsgRow(QStringLiteral("0"));
    host->queries[SalesStartup::SysmsgStatement("XYKLX")] = StoreFixture::sysmsgRow(QStringLiteral("1"));
    ASSERT_TRUE(Run());
    EXPECT_EQ(session.Ckqzws, 2);
    EXPECT_EQ(session.Ckhzws, 1);
    EXPECT_DOUBLE_EQ(session.Jfje, 1.0);
    EXPECT_EQ(session.Fqedj, QStringLiteral("0"));
    EXPECT_EQ(session.Xyklx, QStringLiteral("1"));
    // XYKLX "1" makes the credit card a card-terminal payment.
    EXPECT_EQ(session.PaymentMethods[3].Kind, paykind::BankCard);

    host->queries[SalesStartup::SysmsgStatement("JFJE")] = StoreFixture::sysmsgRow(QStringLiteral("2.5"));
    ASSERT_TRUE(Run());
    EXPECT_DOUBLE_EQ(session.Jfje, 2.5);
}

TEST_F(StartupTest, UnitTypeTenSellsWithoutDepartmentOrCentre)
{
    host->setParameter(QStringLiteral("dwlx"), QStringLiteral("10"));
    host->setParameter(QStringLiteral("dybm"), QStringLiteral("0101"));
    ASSERT_TRUE(Run()) << stop.message.toString().toStdString();
    EXPECT_EQ(host->count(dispid::LookupRecord), 0);
    EXPECT_EQ(host->count(dispid::GetDistributionCentre), 0);
    EXPECT_EQ(session.Bmmc, QStringLiteral("家电连锁"));
    EXPECT_TRUE(session.Dybm.isEmpty());
    EXPECT_TRUE(session.Pszxbm.isEmpty());
}

TEST_F(StartupTest, UniqueIndexIsCreatedOnlyWhenTheProbeFindsNone)
{
    host->uniqueIndexExists = true;
    ASSERT_TRUE(Run());
    EXPECT_EQ(host->count(dispid::ExecuteSql), 0);

    // A refused probe and a refused creation both leave the start-up going.
    host->clearLog();
    host->uniqueIndexExists = false;
    host->refuse(dispid::ExecuteSql, QStringLiteral("已存在"));
    ASSERT_TRUE(Run());
    EXPECT_EQ(host->count(dispid::ExecuteSql), 1);

    // A month that is not a year-month never reaches a statement.
    host->clearLog();
    host->currentYearMonth = QStringLiteral("2004'6");
    host->serverTime = QDateTime(QDate(2000, 1, 1), QTime(0, 0));
    ASSERT_TRUE(Run());
    EXPECT_EQ(host->count(dispid::ExecuteSql), 0);
    for (const QString& sql : host->queriesSent())
        EXPECT_FALSE(sql.contains(QStringLiteral("Sysobjects")));
}

TEST_F(StartupTest, ClockFollowsTheServerWhenSwitchedOn)
{
    host->serverTime = QDateTime(QDate(2004, 6, 15), QTime(10, 25, 0));
    services.clockSync = false;
    ASSERT_TRUE(Run());
    EXPECT_TRUE(clock.sets.isEmpty());

    services.clockSync = true;
    ASSERT_TRUE(Run()); // the fake refuses: start-up still completes
    ASSERT_EQ(clock.sets.size(), 1);
    EXPECT_EQ(clock.sets[0], host->serverTime);

    // Under a second apart: left alone.
    clock.sets.clear();
    host->serverTime = clock.now.addMSecs(400);
    ASSERT_TRUE(Run());
    EXPECT_TRUE(clock.sets.isEmpty());

    // A failing clock query is skipped.
    host->serverTime = QDateTime(QDate(2004, 6, 1), QTime(8, 0));
    host->refusedQueries[QStringLiteral("select getdate() as f_Date")] = QStringLiteral("no");
    ASSERT_TRUE(Run());
    EXPECT_TRUE(clock.sets.isEmpty());
}

TEST_F(StartupTest, PrinterModeHandsOverToThePrinterOpener)
{
    host->receiptMode = QStringLiteral("1");
    int opened = 0;
    services.openPrinter = [&](SaleSession& s, StartupStop&) {
        ++opened;
        EXPECT_EQ(s.Xsxpdyfs, QStringLiteral("1"));
        return true;
    };
    ASSERT_TRUE(Run());
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(host->count(dispid::GetReportTemplates), 0);
}
