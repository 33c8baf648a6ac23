#include "hostcalls/sysparamrules.h"
#include "hostcalls/vornaclass.h"

#include "fakehost.h"
#include "qiantai/dispids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>

using namespace qiantai;
using qiantai::test::FakeHost;

namespace {

using Rows = QList<QPair<QString, QString>>;

// Every key of the rules with a value each conversion accepts, plus dwlx.
Rows completeRows()
{
    Rows rows{{"dwlx", "02"}};
    for (const SysParamRule& rule : SysParamRules())
        rows.append({QString::fromLatin1(rule.key), "1"});
    return rows;
}

Rows without(Rows rows, const QStringList& keys)
{
    rows.erase(
        std::remove_if(rows.begin(), rows.end(), [&](const auto& r) { return keys.contains(r.first); }),
        rows.end());
    return rows;
}

// `changes` replace the value of a key or, for a new key, are added first.
Rows with(Rows rows, const Rows& changes)
{
    for (const auto& c : changes) {
        auto it = std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.first == c.first; });
        if (it != rows.end())
            it->second = c.second;
        else
            rows.prepend(c);
    }
    return rows;
}

class VornaClassTest : public ::testing::Test {
protected:
    VornaClassTest()
    {
        fake->on(dispid::GetDatabaseType, [](QVariantList&) { return QVariant(QStringLiteral("DB2")); });
        fake->answer(dispid::GetCurrentYearMonth, 0, QStringLiteral("202403"));
        fake->answer(dispid::GetCurrentDateTime, 0, QStringLiteral("2024-03-15 10:11:12"));
        fake->answer(dispid::GetCurrentDate, 0, QStringLiteral("20240315101112"));
        setRows(completeRows());
    }
    ~VornaClassTest() override { fake->release(); }

    void setRows(const Rows& rows)
    {
        DataPacket p = FakeHost::table({"f_Csmc", "f_Csz"});
        for (const auto& r : rows)
            p.appendRow({r.first, r.second});
        fake->answer(dispid::GetSystemParameters, 0, packetToVariant(p));
    }

    bool load(const TSysParamSet& request)
    {
        TVornaClass loader(fake);
        fake->clearLog();
        return loader.LoadParameters(record, request, message);
    }

    FakeHost* fake = new FakeHost;
    TSysParamRecord record;
    QString message;
};

} // namespace

TEST_F(VornaClassTest, SalesScreenRequestMakesExactlyTwoHostCalls)
{
    setRows(with(completeRows(), {{"qyny", "202301"},
                                  {"dwmc", QString::fromUtf8("家电商场")},
                                  {"dybm", "01"},
                                  {"xsfkz", "3"},
                                  {"kckz", "0"},
                                  {"yckqzj", "127.0.0.1:8529"}}));
    ASSERT_TRUE(load(SalesScreenParams())) << message.toStdString();
    EXPECT_EQ(fake->dispIds(), (QList<int>{dispid::GetCurrentYearMonth, dispid::GetSystemParameters}));
    EXPECT_EQ(fake->calls()[0].args, QVariantList{QVariant()});
    EXPECT_EQ(record.CurrentYearMonth, "202403");
    EXPECT_EQ(record.DatabaseType, "DB2");
    EXPECT_EQ(record.dwlx, "02");
    EXPECT_EQ(record.qyny, "202301");
    EXPECT_EQ(record.dwmc, QString::fromUtf8("家电商场"));
    EXPECT_EQ(record.dybm, "01");
    EXPECT_EQ(record.xsfkz, 3);
    EXPECT_EQ(record.kckz, "0");
    EXPECT_EQ(record.hyklwms, "1");
    EXPECT_EQ(record.yckqzj, "127.0.0.1:8529");
    EXPECT_TRUE(message.isEmpty());
}

TEST_F(VornaClassTest, DatabaseTypeFailureWarnsAndAssumesSqlServer)
{
    const FakeHost::Handler handlers[] = {
        [](QVariantList&) -> QVariant { throw std::runtime_error("no"); },
        [](QVariantList&) { return QVariant(false); },
    };
    for (const auto& handler : handlers) {
        fake->on(dispid::GetDatabaseType, handler);
        QStringList warnings;
        TVornaClass loader(fake,
                           [&](const QString& title, const QString& text) { warnings << title << text; });
        EXPECT_EQ(warnings,
                  (QStringList{QString::fromUtf8("警告"), QString::fromUtf8("获取数据库类型失败!")}));
        EXPECT_EQ(loader.databaseType(), "SQLSERVER");
        ASSERT_TRUE(loader.LoadParameters(record, {SysParam::CurrentYearMonth}, message));
        EXPECT_EQ(record.DatabaseType, "SQLSERVER");
    }
    TVornaClass silent(fake); // no callback: nothing to show, still usable
    EXPECT_EQ(silent.databaseType(), "SQLSERVER");
}

TEST_F(VornaClassTest, EveryRequestableFieldHasARuleAndACompleteTableLoadsThemAll)
{
    std::map<int, int> rulesPerMember;
    for (const SysParamRule& rule : SysParamRules())
        ++rulesPerMember[int(rule.member)];
    const std::set<int> hostValues{int(SysParam::CurrentYearMonth), int(SysParam::CurrentDateTime),
                                   int(SysParam::CurrentDate), int(SysParam::OperatorName)};
    for (int m = 0; m < SysParamCount; ++m) {
        const int expected = hostValues.count(m) ? 0 : m == int(SysParam::mdzdysj) ? 2 : 1;
        EXPECT_EQ(rulesPerMember[m], expected) << "member " << m;
    }
    record.OperatorCode = "0001";
    fake->answer(dispid::LookupByCode, 1, packetToVariant(FakeHost::table({"f_zymc"}, {{"Li"}})));
    ASSERT_TRUE(load(TSysParamSet::all())) << message.toStdString();
    EXPECT_EQ(record.sljd, "0.0");
    EXPECT_TRUE(record.mdzdyjj);
    EXPECT_DOUBLE_EQ(record.xpdjmrsl, 1.0);
    EXPECT_EQ(record.OperatorName, "Li");
}

TEST_F(VornaClassTest, KeysConversionsAndDefaults)
{
    struct Case {
        const char* name;
        Rows rows;
        TSysParamSet request;
        const char* failure; // nullptr: the load succeeds
        std::function<void(const TSysParamRecord&)> check;
    };
    const Rows all = completeRows();
    const Case cases[] = {
        {"dwlx missing", without(all, {"dwlx"}), {SysParam::qyny}, "没有可利用的单位类型！", {}},
        {"dwlx missing, date-time only",
         without(all, {"dwlx"}),
         {SysParam::CurrentDateTime},
         "没有可利用的单位类型！",
         {}},
        {"dybm missing in a store",
         without(all, {"dybm"}),
         {SysParam::dybm},
         "没有可利用的连锁编码及前台销售柜组编码！",
         {}},
        {"dybm missing in unit 01",
         with(without(all, {"dybm"}), {{"dwlx", "01"}}),
         {SysParam::dybm},
         "没有可利用的连锁编码及前台销售柜组编码！",
         {}},
        {"dybm missing in unit 11",
         with(without(all, {"dybm"}), {{"dwlx", "11"}}),
         {SysParam::dybm},
         "没有可利用的连锁编码及前台销售柜组编码！",
         {}},
        {"dybm missing in unit 10",
         with(without(all, {"dybm"}), {{"dwlx", "10"}}),
         {SysParam::dybm},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.dybm, ""); }},
        {"sphsfs missing in unit 00",
         with(without(all, {"sphsfs"}), {{"dwlx", "00"}}),
         {SysParam::sphsfs},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.sphsfs, 1); }},
        {"sphsfs missing in unit 02",
         without(all, {"sphsfs"}),
         {SysParam::sphsfs},
         "没有可利用的商品核算方式！",
         {}},
        {"psxzsl blank",
         with(all, {{"psxzsl", "   "}}),
         {SysParam::psxzsl},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.psxzsl, 100000); }},
        {"psxzsl absent",
         without(all, {"psxzsl"}),
         {SysParam::psxzsl},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.psxzsl, 100000); }},
        {"spfzflx empty",
         with(all, {{"spfzflx", ""}}),
         {SysParam::spfzflx},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.spfzflx, 0); }},
        {"integer with blanks",
         with(all, {{"xsfkz", " 4 "}}),
         {SysParam::xsfkz},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.xsfkz, 4); }},
        {"sljd 2",
         with(all, {{"sljd", "2"}}),
         {SysParam::sljd},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.sljd, "0.00"); }},
        {"sljd 0",
         with(all, {{"sljd", "0"}}),
         {SysParam::sljd},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.sljd, "0."); }},
        {"xsfkz not a number",
         with(all, {{"xsfkz", "abc"}}),
         {SysParam::xsfkz},
         "'abc' is not a valid integer value",
         {}},
        {"xsfkz empty", with(all, {{"xsfkz", ""}}), {SysParam::xsfkz}, "'' is not a valid integer value", {}},
        {"xsfkz missing", without(all, {"xsfkz"}), {SysParam::xsfkz}, "没有可利用的小数分控制！", {}},
        {"xpdjmrsl",
         with(all, {{"xpdjmrsl", "2.5"}}),
         {SysParam::xpdjmrsl},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_DOUBLE_EQ(r.xpdjmrsl, 2.5); }},
        {"xpdjmrsl absent",
         without(all, {"xpdjmrsl"}),
         {SysParam::xpdjmrsl},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_DOUBLE_EQ(r.xpdjmrsl, 17.0); }},
        {"xpdjmrsl not a number",
         with(all, {{"xpdjmrsl", "x"}}),
         {SysParam::xpdjmrsl},
         "“x”不是有效的数字",
         {}},
        {"mdzdysj 1, mdzdyjj absent",
         with(without(all, {"mdzdyjj"}), {{"mdzdysj", "1"}}),
         {SysParam::mdzdysj},
         nullptr,
         [](const TSysParamRecord& r) {
             EXPECT_TRUE(r.mdzdysj);
             EXPECT_FALSE(r.mdzdyjj);
         }},
        {"mdzdysj 0, mdzdyjj 1",
         with(all, {{"mdzdysj", "0"}, {"mdzdyjj", "1"}}),
         {SysParam::mdzdysj},
         nullptr,
         [](const TSysParamRecord& r) {
             EXPECT_FALSE(r.mdzdysj);
             EXPECT_FALSE(r.mdzdyjj);
         }},
        {"Boolean is exactly 1",
         with(all, {{"lskz", "2"}, {"kpyxcfsp", "0"}}),
         {SysParam::lskz, SysParam::kpyxcfsp},
         nullptr,
         [](const TSysParamRecord& r) {
             EXPECT_FALSE(r.lskz);
             EXPECT_FALSE(r.kpyxcfsp);
         }},
        {"Boolean default True",
         without(all, {"kpyxcfsp"}),
         {SysParam::kpyxcfsp},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_TRUE(r.kpyxcfsp); }},
        {"key in capitals",
         with(without(all, {"dwmc"}), {{"DWMC", "Shop"}}),
         {SysParam::dwmc},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.dwmc, "Shop"); }},
        {"first matching row counts",
         with(without(all, {"dwmc"}), {{"DwMc", "second"}, {"dwmc", "first"}}),
         {SysParam::dwmc},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.dwmc, "first"); }},
        {"ypthphkz in capitals is not it",
         with(without(all, {"ypthphkz"}), {{"YPTHPHKZ", "0"}}),
         {SysParam::ypthphkz},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.ypthphkz, "1"); }},
        {"ypthphkz other than 1",
         with(all, {{"ypthphkz", "2"}}),
         {SysParam::ypthphkz},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.ypthphkz, "0"); }},
        {"ysqr other than 1",
         with(all, {{"ysqr", "yes"}}),
         {SysParam::ysqr},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.ysqr, "0"); }},
        {"text as stored",
         with(all, {{"hsdwh", " 07 "}}),
         {SysParam::hsdwh},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.hsdwh, " 07 "); }},
        {"kckz absent",
         without(all, {"kckz"}),
         {SysParam::kckz},
         nullptr,
         [](const TSysParamRecord& r) { EXPECT_EQ(r.kckz, "1"); }},
    };
    for (const Case& c : cases) {
        setRows(c.rows);
        record = TSysParamRecord();
        const bool ok = load(c.request);
        if (c.failure) {
            EXPECT_FALSE(ok) << c.name;
            EXPECT_EQ(message, QString::fromUtf8(c.failure)) << c.name;
        } else {
            EXPECT_TRUE(ok) << c.name << ": " << message.toStdString();
            c.check(record);
        }
    }
}

TEST_F(VornaClassTest, FailureStopsAtTheFirstMissingValueInLoadOrder)
{
    // sh comes before xsfkz in load order although the record lists them the
    // other way round; kckz comes after both.
    setRows(without(completeRows(), {"sh", "xsfkz"}));
    record.ysqr = record.kckz = "untouched";
    record.xsfkz = -7;
    record.lskz = true;
    EXPECT_FALSE(load({SysParam::kckz, SysParam::xsfkz, SysParam::sh, SysParam::ysqr}));
    EXPECT_EQ(message, QString::fromUtf8("没有可利用的税号！"));
    EXPECT_EQ(record.ysqr, "1");
    EXPECT_EQ(record.dwlx, "02");
    EXPECT_EQ(record.xsfkz, -7);
    EXPECT_EQ(record.kckz, "untouched");
    EXPECT_TRUE(record.lskz); // not requested

    setRows(without(completeRows(), {"qyny"}));
    EXPECT_FALSE(load(TSysParamSet::all()));
    EXPECT_EQ(message, QString::fromUtf8("没有可利用的启用年月！"));
}

TEST_F(VornaClassTest, HostStepsRunInOrderAndStopAtTheFirstFailure)
{
    ASSERT_TRUE(load({SysParam::CurrentDate}));
    EXPECT_EQ(record.CurrentDate, "20240315");
    EXPECT_EQ(fake->dispIds(), QList<int>{dispid::GetCurrentDate});

    ASSERT_TRUE(load({SysParam::CurrentDateTime}));
    EXPECT_EQ(record.CurrentDateTime, "2024-03-15 10:11:12");
    EXPECT_EQ(fake->dispIds(), (QList<int>{dispid::GetCurrentDateTime, dispid::GetSystemParameters}));

    const TSysParamSet dates{SysParam::CurrentYearMonth, SysParam::CurrentDateTime, SysParam::CurrentDate,
                             SysParam::qyny};
    ASSERT_TRUE(load(dates));
    EXPECT_EQ(fake->dispIds(), (QList<int>{dispid::GetCurrentYearMonth, dispid::GetCurrentDateTime,
                                           dispid::GetCurrentDate, dispid::GetSystemParameters}));

    struct Case {
        int dispId;
        const char* message;
    };
    const Case failures[] = {{dispid::GetCurrentYearMonth, "取得当前年月时出错！"},
                             {dispid::GetCurrentDateTime, "取得当前日期时间时出错！"},
                             {dispid::GetCurrentDate, "取得当前日期时出错！"},
                             {dispid::GetSystemParameters, "取得系统参数时出错！"}};
    for (const Case& f : failures) {
        fake->refuse(f.dispId, QStringLiteral("host says no"));
        record.CurrentDate = "kept";
        EXPECT_FALSE(load(dates));
        EXPECT_EQ(message, QString::fromUtf8(f.message));
        EXPECT_EQ(fake->dispIds().last(), f.dispId) << "nothing is asked after the failing step";
        // Only the table step comes after the date.
        EXPECT_EQ(record.CurrentDate, f.dispId == dispid::GetSystemParameters ? "20240315" : "kept");
        fake->answer(f.dispId, 0, QStringLiteral("20240315"));
    }
}

TEST_F(VornaClassTest, AHostThatThrowsGivesItsOwnText)
{
    fake->fail(dispid::GetSystemParameters, "数据库连接已断开");
    EXPECT_FALSE(load(SalesScreenParams()));
    EXPECT_TRUE(message.contains(QString::fromUtf8("数据库连接已断开"))) << message.toStdString();
}

TEST_F(VornaClassTest, OperatorName)
{
    // Empty operator code: no lookup, the old name stays, the load goes on.
    record.OperatorName = "old";
    ASSERT_TRUE(load({SysParam::OperatorName, SysParam::dwmc}));
    EXPECT_EQ(fake->dispIds(), QList<int>{dispid::GetSystemParameters});
    EXPECT_EQ(record.OperatorName, "old");

    record.OperatorCode = "0001";
    fake->answer(dispid::LookupByCode, 1,
                 packetToVariant(FakeHost::table({"f_zybm", "f_zymc"}, {{"0001", "Li"}})));
    ASSERT_TRUE(load({SysParam::OperatorName}));
    EXPECT_EQ(record.OperatorName, "Li");
    ASSERT_EQ(fake->calls().size(), 1);
    EXPECT_EQ(fake->calls()[0].dispId, dispid::LookupByCode);
    EXPECT_EQ(fake->calls()[0].args, (QVariantList{1, "0001"}));
    EXPECT_EQ(record.OperatorCode, "0001");

    const QVariant noName[] = {packetToVariant(FakeHost::table({"f_zymc"})), QVariant()};
    for (const QVariant& answer : noName) {
        fake->answer(dispid::LookupByCode, 1, answer);
        EXPECT_FALSE(load({SysParam::OperatorName}));
        EXPECT_EQ(message, QString::fromUtf8("取得制单人名称时出错！！"));
    }
    fake->refuse(dispid::LookupByCode, QStringLiteral("no such employee"));
    EXPECT_FALSE(load({SysParam::OperatorName, SysParam::dwmc}));
    EXPECT_EQ(message, QString::fromUtf8("取得制单人名称时出错！！"));
    EXPECT_EQ(fake->dispIds(), QList<int>{dispid::LookupByCode});
}

TEST_F(VornaClassTest, EachLoadReplacesTheTableAndTheUnitType)
{
    TVornaClass loader(fake);
    ASSERT_TRUE(loader.LoadParameters(record, {SysParam::qyny}, message));
    EXPECT_EQ(loader.unitType(), "02");
    setRows({{"dwlx", "10"}, {"dwmc", "X"}});
    ASSERT_TRUE(loader.LoadParameters(record, {SysParam::dwmc}, message));
    EXPECT_EQ(loader.unitType(), "10");
    EXPECT_EQ(loader.parameterTable().rowCount(), 2);
}
