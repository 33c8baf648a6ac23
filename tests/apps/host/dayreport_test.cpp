// The cashiers' day report over sales recorded through the host's own
// recording operations, and its text and CSV forms.
#include "recordingfixture.h"

#include "cardserverkit.h"

#include "store/cardreconciliation.h"
#include "store/dayreport.h"
#include "store/dayreporttext.h"

#include "base/gbk.h"
#include "devices/cardfrontend.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <iterator>

namespace qiantai::host::test {
namespace {

const QString Day = QStringLiteral("20240615");

class DayReportTest : public RecordingTest {
protected:
    QString allocateFor(const QString& cashier, const QString& name,
                        int dispId = dispid::AllocateDocumentNumber)
    {
        QVariantList args{cashier, name, QStringLiteral("0101"), QVariant(), QVariant()};
        EXPECT_TRUE(call(dispId, args).toBool()) << args[4].toString().toStdString();
        return args[3].toString();
    }
    void record(QVariantList args, int dispId = dispid::SaveSale)
    {
        ASSERT_TRUE(save(args, dispId)) << args.last().toString().toStdString();
    }
    static QVariantList byCashier(QVariantList args, const QString& cashier, const QString& name)
    {
        args[1] = cashier;
        args[2] = name;
        return args;
    }

    // The day of two cashiers:
    //   0001 王丽: A 2999 in cash (3000, change 1) with a manual discount of
    //     100 that supervisor 0002 authorized; B 2999 by bank card 1000,
    //     member card 999 and customer account 1000; C 199 suspended after 50
    //     in cash, so that it still owes 149; D a
    //     pre-sale with a deposit of 500 in cash.
    //   0002 张强: E 219 collecting C (149): certificate 50, transfer 100,
    //     coupons 20, cash 300, change 102.
    void recordTheDay()
    {
        a_ = allocateFor(QStringLiteral("0001"), QStringLiteral("王丽"));
        QVariantList grant{QStringLiteral("0002"), QStringLiteral("9907")};
        ASSERT_TRUE(call(dispid::CheckPermission, grant).toBool());
        QVariantList own{QStringLiteral("0001"), QStringLiteral("9907")};
        ASSERT_FALSE(call(dispid::CheckPermission, own).toBool());
        DataPacket discounted = SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}});
        discounted.setValue(0, QStringLiteral("f_Sgzkzr"), 100.0);
        discounted.setValue(0, QStringLiteral("f_Zdzkzr"), 20.5);
        record(saleArgs(a_, discounted, PaymentBundle(PaymentPacket({{0, 3000}}, 2999.0), CardPacket())));

        b_ = allocateFor(QStringLiteral("0001"), QStringLiteral("王丽"));
        record(saleArgs(
            b_, SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}}),
            PaymentBundle(PaymentPacket({{5, 1000},
                                         {6, 999, QStringLiteral("M0001"), QStringLiteral("A0001")},
                                         {7, 1000, QStringLiteral("000001"), QStringLiteral("000001")}},
                                        2999.0),
                          CardPacket({BankCardRow(b_, QStringLiteral("100000"), QStringLiteral("1"))}))));

        c_ = allocateFor(QStringLiteral("0001"), QStringLiteral("王丽"));
        record(saleArgs(c_, SaleLinesPacket({{QStringLiteral("100003"), 1, 199.0}}),
                        PaymentBundle(PaymentPacket({{0, 50}, {0, 149}}, 199.0), CardPacket(), 1)));

        d_ = allocateFor(QStringLiteral("0001"), QStringLiteral("王丽"),
                         dispid::AllocateDeliveryDocumentNumber);
        record({d_, QStringLiteral("0001"), QStringLiteral("王丽"), QStringLiteral("20240615-0001"),
                QStringLiteral("1001"), QStringLiteral("李明"), QString(), QString(), QStringLiteral("0101"),
                QString(), 500.0, packetToVariant(SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}})),
                QVariant(PaymentBundle(PaymentPacket({{0, 500}}, 500.0), CardPacket())), QString()},
               dispid::SaveDeliverySale);

        e_ = allocateFor(QStringLiteral("0002"), QStringLiteral("张强"));
        record(byCashier(
            saleArgs(e_, SaleLinesPacket({{QStringLiteral("100004"), 1, 219.0}}),
                     PaymentBundle(PaymentPacket({{8, 50}, {4, 100}, {2, 20}, {0, 300}}, 368.0, 149.0),
                                   CardPacket(), 0, {c_})),
            QStringLiteral("0002"), QStringLiteral("张强")));
    }

    DayReport read(const QString& day = Day, const QString& cashier = {})
    {
        DayReport report;
        QString error;
        EXPECT_TRUE(ReadDayReport(host_->store(), {day, cashier}, &report, &cards_, &error))
            << error.toStdString();
        return report;
    }

    QString a_, b_, c_, d_, e_;
    QList<StoredCardPayment> cards_;
};

TEST_P(DayReportTest, FiguresPerCashierAreThoseOfTheRecordedSales)
{
    recordTheDay();
    const DayReport report = read();
    ASSERT_EQ(report.cashiers.size(), 2);
    const CashierDay& wang = report.cashiers[0];
    const CashierDay& zhang = report.cashiers[1];
    EXPECT_EQ(wang.cashier, QStringLiteral("0001"));
    EXPECT_EQ(wang.name, QStringLiteral("王丽"));
    EXPECT_EQ(zhang.cashier, QStringLiteral("0002"));

    const struct {
        const char* figure;
        double wang, zhang, total;
        double (*of)(const CashierDay&);
    } figures[] = {
        {"documents", 4, 1, 5, [](const CashierDay& c) { return double(c.documents); }},
        {"lines", 4, 1, 5, [](const CashierDay& c) { return double(c.lines); }},
        {"sale amount", 9196, 219, 9415, [](const CashierDay& c) { return c.total; }},
        {"cash", 3699, 300, 3999, [](const CashierDay& c) { return c.payment(paytype::Cash); }},
        {"transfer", 0, 100, 100, [](const CashierDay& c) { return c.payment(paytype::Transfer); }},
        {"coupons", 0, 20, 20, [](const CashierDay& c) { return c.payment(paytype::Coupon); }},
        {"bank card", 1000, 0, 1000, [](const CashierDay& c) { return c.payment(paytype::BankCard); }},
        {"member card", 999, 0, 999, [](const CashierDay& c) { return c.payment(paytype::MemberCard); }},
        {"certificate", 0, 50, 50, [](const CashierDay& c) { return c.payment(paytype::Certificate); }},
        {"customer account", 1000, 0, 1000,
         [](const CashierDay& c) { return c.payment(paytype::CustomerAccount); }},
        {"change", 1, 102, 103, [](const CashierDay& c) { return c.change; }},
        // 0001 got 50 of C; 0002 took the 149 it still owed with E.
        {"cash to hand in", 3549, 198, 3747, [](const CashierDay& c) { return c.cashToHandIn(); }},
        {"deposits", 1, 0, 1, [](const CashierDay& c) { return double(c.deposits); }},
        {"deposit amount", 500, 0, 500, [](const CashierDay& c) { return c.depositAmount; }},
        {"suspended", 1, 0, 1, [](const CashierDay& c) { return double(c.suspended); }},
        {"suspended amount", 149, 0, 149, [](const CashierDay& c) { return c.suspendedAmount; }},
        {"collected", 0, 1, 1, [](const CashierDay& c) { return double(c.collected); }},
        {"collected amount", 0, 149, 149, [](const CashierDay& c) { return c.collectedAmount; }},
        {"automatic discount", 20.5, 0, 20.5, [](const CashierDay& c) { return c.autoDiscount; }},
        {"manual discount", 100, 0, 100, [](const CashierDay& c) { return c.manualDiscount; }},
    };
    for (const auto& f : figures) {
        SCOPED_TRACE(f.figure);
        EXPECT_DOUBLE_EQ(f.of(wang), f.wang);
        EXPECT_DOUBLE_EQ(f.of(zhang), f.zhang);
        EXPECT_DOUBLE_EQ(f.of(report.total), f.total);
    }
    EXPECT_EQ(wang.customerAccounts, (QMap<QString, double>{{QStringLiteral("000001"), 1000.0}}));
    ASSERT_EQ(wang.grants.size(), 1);
    EXPECT_EQ(wang.grants[0].document, a_);
    EXPECT_EQ(wang.grants[0].right, QStringLiteral("9907"));
    EXPECT_EQ(wang.grants[0].employee, QStringLiteral("0002"));
    EXPECT_EQ(wang.grants[0].employeeName, QStringLiteral("张强"));
    EXPECT_TRUE(zhang.grants.isEmpty());

    // The card payments for the card server's journal.
    ASSERT_EQ(cards_.size(), 2);
    EXPECT_EQ(cards_[0].document, b_);
    EXPECT_EQ(cards_[0].type, paytype::MemberCard);
    EXPECT_EQ(cards_[0].cardNo, QStringLiteral("M0001"));
    EXPECT_DOUBLE_EQ(cards_[0].amount, 999.0);
    EXPECT_EQ(cards_[1].document, e_);
    EXPECT_EQ(cards_[1].type, paytype::Certificate);
    EXPECT_DOUBLE_EQ(cards_[1].amount, 50.0);
}

TEST_P(DayReportTest, OneCashierADayWithoutSalesAndAnUnknownCashier)
{
    recordTheDay();
    const DayReport zhang = read(Day, QStringLiteral("0002"));
    ASSERT_EQ(zhang.cashiers.size(), 1);
    EXPECT_EQ(zhang.cashiers[0].cashier, QStringLiteral("0002"));
    EXPECT_DOUBLE_EQ(zhang.total.total, 219.0);
    EXPECT_EQ(zhang.total.collected, 1);
    ASSERT_EQ(cards_.size(), 1);
    EXPECT_EQ(cards_[0].document, e_);

    // The day before: nothing, and the text says so.
    const DayReport empty = read(QStringLiteral("20240614"));
    EXPECT_TRUE(empty.cashiers.isEmpty());
    EXPECT_EQ(empty.total.documents, 0);
    EXPECT_DOUBLE_EQ(empty.total.payment(paytype::Cash), 0.0);
    EXPECT_TRUE(DayReportText(empty, 32).contains(QStringLiteral("当日没有销售单据")));

    DayReport report;
    QString error;
    EXPECT_FALSE(ReadDayReport(host_->store(), {Day, QStringLiteral("9999")}, &report, nullptr, &error));
    EXPECT_EQ(error, QStringLiteral("收银员9999不存在"));
    EXPECT_FALSE(ReadDayReport(host_->store(), {QStringLiteral("20240631"), {}}, &report, nullptr, &error));
    EXPECT_EQ(error, QStringLiteral("日期20240631不是YYYYMMDD格式的日期"));
}

TEST_P(DayReportTest, TextFitsEachPaperWidthAndCsvHasOneLinePerCashier)
{
    recordTheDay();
    const DayReport report = read();
    for (const int width : DayReportWidths) {
        SCOPED_TRACE(width);
        const QString text = DayReportText(report, width, QList<CardDifference>());
        QStringList cash;
        for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            EXPECT_LE(GbkWidth(line), width) << line.toStdString();
            if (line.startsWith(QStringLiteral("现金"))) {
                EXPECT_EQ(GbkWidth(line), width) << line.toStdString();
                cash.append(line.mid(2).trimmed());
            }
        }
        EXPECT_EQ(cash, (QStringList{QStringLiteral("3699.00"), QStringLiteral("300.00"),
                                     QStringLiteral("3999.00")}));
        EXPECT_TRUE(text.contains(QStringLiteral("  低于最低售价 0002 张强"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("无差异"))) << text.toStdString();
    }

    const QStringList lines = DayReportCsv(report).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    const QStringList header = lines[0].split(QLatin1Char(','));
    auto field = [&](int line, const char* column) {
        return lines[line].split(QLatin1Char(',')).value(int(header.indexOf(QString::fromUtf8(column))));
    };
    const struct {
        const char* column;
        const char* wang;
        const char* zhang;
        const char* total;
    } cells[] = {
        {"收银员编码", "0001", "0002", "合计"},       {"单据数", "4", "1", "5"},
        {"销售金额", "9196.00", "219.00", "9415.00"}, {"现金", "3699.00", "300.00", "3999.00"},
        {"福利证", "0.00", "50.00", "50.00"},         {"消费", "1000.00", "0.00", "1000.00"},
        {"应交现金", "3549.00", "198.00", "3747.00"}, {"统收金额", "0.00", "149.00", "149.00"},
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(c.column);
        EXPECT_EQ(field(1, c.column), QString::fromUtf8(c.wang));
        EXPECT_EQ(field(2, c.column), QString::fromUtf8(c.zhang));
        EXPECT_EQ(field(3, c.column), QString::fromUtf8(c.total));
    }
    EXPECT_EQ(field(1, "授权"), a_ + QStringLiteral(":9907:0002"));
}

// A charge planted in the card server's journal: type "0"/"1", card,
// document, fen, state, time.
struct Planted {
    const char* type;
    const char* cardNo;
    QString document;
    qint64 fen;
    const char* state;
    const char* createdAt;
};

bool Plant(const QString& database, const QList<Planted>& rows, QString* error)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plant"));
        db.setDatabaseName(database);
        ok = db.open();
        QSqlQuery q(db);
        for (int i = 0; ok && i < rows.size(); ++i) {
            const Planted& r = rows[i];
            q.prepare(
                QStringLiteral("INSERT INTO card_journal (request_key, card_type, card_no, document_no, "
                               "unit_code, amount_fen, cashier_code, created_at, state) VALUES (?, ?, ?, ?, "
                               "'0101', ?, '0001', ?, ?)"));
            for (const QVariant& v : QVariantList{QStringLiteral("pay:planted-%1").arg(i), r.type, r.cardNo,
                                                  r.document, r.fen, r.createdAt, r.state})
                q.addBindValue(v);
            ok = q.exec();
        }
        *error = ok ? QString() : q.lastError().text() + db.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plant"));
    return ok;
}

TEST_P(DayReportTest, CardPaymentsAreReconciledWithTheCardServersJournalOfTheDay)
{
    recordTheDay();
    // Three more sales of 199 by 0001, each partly paid by card.
    QString f, g, i;
    const std::pair<QString*, Pay> sales[] = {
        {&f, {6, 150, QStringLiteral("M0002"), QStringLiteral("A0002")}},
        {&g, {6, 100, QStringLiteral("M0003"), QStringLiteral("A0003")}},
        {&i, {8, 50}},
    };
    for (const auto& [number, pay] : sales) {
        *number = allocateFor(QStringLiteral("0001"), QStringLiteral("王丽"));
        record(saleArgs(*number, SaleLinesPacket({{QStringLiteral("100003"), 1, 199.0}}),
                        PaymentBundle(PaymentPacket({pay, {0, 199 - pay.amount}}, 199.0), CardPacket())));
    }
    read();

    qiantai::test::DemoCardStore cards(false);
    ASSERT_TRUE(cards.ok) << cards.error.toStdString();
    QString error;
    ASSERT_TRUE(
        Plant(cards.location.database,
              {
                  {"0", "M0001", b_, 99900, "done", "2024-06-15T10:00:00"},        // agrees
                  {"1", "7700000001", e_, 5000, "done", "2024-06-15T10:05:00"},    // agrees
                  {"0", "M0002", f, 12000, "done", "2024-06-15T10:10:00"},         // amount differs
                  {"0", "M0003", g, 10000, "done", "2024-06-14T23:59:59"},         // the day before
                  {"1", "7700000003", i, 5000, "reversed", "2024-06-15T10:20:00"}, // given back, booked
                  {"0", "M0004", QStringLiteral("0000009999"), 8000, "done", "2024-06-15T11:00:00"},
                  {"0", "M0005", QStringLiteral("0000009998"), 6000, "reversed", "2024-06-15T11:10:00"},
                  {"", "", QStringLiteral(""), 0, "void", "2024-06-15T11:20:00"}, // a closed payment id
              },
              &error))
        << error.toStdString();
    const QString keyFile = cards.dir.filePath(QStringLiteral("tills"));
    QFile keys(keyFile);
    ASSERT_TRUE(keys.open(QIODevice::WriteOnly));
    keys.write("till-01 0123456789abcdef0001\n");
    keys.close();
    cardd::TillKeys tills;
    const Result<> loaded = tills.load(keyFile);
    ASSERT_TRUE(loaded) << loaded.error().toStdString();
    cardd::CardService service(*cards.store);
    qiantai::test::RunningCardServer server(cardd::CardMethods(service), tills);
    ASSERT_TRUE(server.ok) << server.error;

    CardFrontEndSettings settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = server.port();
    // A till without its key hears nothing of the journal.
    EXPECT_EQ(CardFrontEndClient(settings).journalForDay(Day).status, CardFrontEndStatus::ConnectionFailed);
    settings.tillKey = QStringLiteral("0123456789abcdef0001");
    const CardFrontEndResult answer = CardFrontEndClient(settings).journalForDay(Day);
    ASSERT_TRUE(answer.ok()) << answer.error.toStdString();
    QList<JournalEntry> journal;
    ASSERT_TRUE(JournalFromAnswer(answer.answer, &journal, &error)) << error.toStdString();
    EXPECT_EQ(journal.size(), 6);

    using Kind = CardDifference::Kind;
    const struct {
        Kind kind;
        QString document;
        int type;
        const char* cardNo;
        double store, journal;
    } expected[] = {
        {Kind::AmountDiffers, f, paytype::MemberCard, "M0002", 150, 120},
        {Kind::StoreOnly, g, paytype::MemberCard, "M0003", 100, 0},
        {Kind::ReversedButBooked, i, paytype::Certificate, "7700000003", 50, 50},
        {Kind::JournalOnly, QStringLiteral("0000009999"), paytype::MemberCard, "M0004", 0, 80},
    };
    QList<CardDifference> differences = ReconcileCardPayments(cards_, journal);
    ASSERT_EQ(differences.size(), int(std::size(expected)));
    for (const auto& e : expected) {
        SCOPED_TRACE(DifferenceKindText(e.kind).toStdString());
        const auto d = std::find_if(differences.cbegin(), differences.cend(),
                                    [&](const CardDifference& c) { return c.document == e.document; });
        ASSERT_NE(d, differences.cend());
        EXPECT_EQ(d->kind, e.kind);
        EXPECT_EQ(d->type, e.type);
        EXPECT_EQ(d->cardNo, QString::fromLatin1(e.cardNo));
        EXPECT_DOUBLE_EQ(d->storeAmount, e.store);
        EXPECT_DOUBLE_EQ(d->journalAmount, e.journal);
    }
    const QString text = DayReportText(read(), 32, differences);
    EXPECT_TRUE(text.contains(QStringLiteral("已冲正但门店已记账\n  单据") + i)) << text.toStdString();
    for (const QString& line : text.split(QLatin1Char('\n')))
        EXPECT_LE(GbkWidth(line), 32) << line.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("无差异")));
}

TEST(CardReconciliation, SeveralPaymentsOfOneDocumentPairByAmountFirst)
{
    using Kind = CardDifference::Kind;
    const int member = paytype::MemberCard, certificate = paytype::Certificate;
    const QString card = QStringLiteral("M1");
    const struct {
        const char* name;
        QList<StoredCardPayment> stored;
        QList<JournalEntry> journal;
        QList<Kind> differences;
    } cases[] = {
        {"a split payment charged in the other order",
         {{"D", "0001", member, card, 100}, {"D", "0001", member, card, 50}},
         {{1, member, card, "D", "0001", 50, false}, {2, member, card, "D", "0001", 100, false}},
         {}},
        {"two certificates, one given back",
         {{"D", "0001", certificate, {}, 50}, {"D", "0001", certificate, {}, 50}},
         {{1, certificate, "C1", "D", "0001", 50, false}, {2, certificate, "C2", "D", "0001", 50, true}},
         {Kind::ReversedButBooked}},
        {"a charge given back and made again",
         {{"D", "0001", member, card, 80}},
         {{1, member, card, "D", "0001", 80, true}, {2, member, card, "D", "0001", 80, false}},
         {}},
        {"one amount differs, the other agrees",
         {{"D", "0001", member, card, 30}, {"D", "0001", member, card, 70}},
         {{1, member, card, "D", "0001", 70, false}, {2, member, card, "D", "0001", 35, false}},
         {Kind::AmountDiffers}},
        {"another card of the same document",
         {{"D", "0001", member, card, 30}},
         {{1, member, QStringLiteral("M2"), "D", "0001", 30, false}},
         {Kind::StoreOnly, Kind::JournalOnly}},
    };
    for (const auto& c : cases) {
        QList<Kind> kinds;
        for (const CardDifference& d : ReconcileCardPayments(c.stored, c.journal))
            kinds.append(d.kind);
        std::sort(kinds.begin(), kinds.end());
        EXPECT_EQ(kinds, c.differences) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, DayReportTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

} // namespace
} // namespace qiantai::host::test
