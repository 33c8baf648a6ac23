// What a retry, a month change, a second till and bad numbers may and may
// not do to a recorded sale.
#include "recordingfixture.h"

#include "store/hostcontext.h"

#include <limits>

namespace qiantai::host::test {
namespace {

class IntegrityTest : public RecordingTest {
protected:
    // A second till's host on the same store and centre.
    StoreHost* secondTill()
    {
        QString error;
        StoreHost* h = StoreHost::create(storeUrl_, centreUrl_, clock_, &error);
        EXPECT_NE(h, nullptr) << error.toStdString();
        others_.append(h);
        return h;
    }
    void TearDown() override
    {
        Database::setStatementHook({});
        for (StoreHost* h : others_)
            h->release();
        RecordingTest::TearDown();
    }
    // 905 of one line of 100001 with a deposit of `amount` in cash.
    QVariantList deliverySale(const QString& number, double amount)
    {
        return {number,
                QStringLiteral("0001"),
                QStringLiteral("王丽"),
                QStringLiteral("t"),
                QStringLiteral("1001"),
                QStringLiteral("李明"),
                QString(),
                QString(),
                QStringLiteral("0101"),
                QString(),
                amount,
                packetToVariant(SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}})),
                QVariant(PaymentBundle(PaymentPacket({{0, 500}}, 500.0), CardPacket())),
                QString()};
    }
    // A sale of one 100001 paid on the account of customer 000001.
    QVariantList accountSale(const QString& number, double amount)
    {
        return saleArgs(
            number, SaleLinesPacket({{QStringLiteral("100001"), 1, amount}}),
            PaymentBundle(
                PaymentPacket({{7, amount, QStringLiteral("000001"), QStringLiteral("000001")}}, amount),
                CardPacket()));
    }
    double used(const QString& month)
    {
        return storeValue(
                   QStringLiteral("SELECT f_Sxje FROM tb%1_mdkhwlyhj WHERE f_Khbm = '000001'").arg(month))
            .toDouble();
    }

    QList<StoreHost*> others_;
};

TEST_P(IntegrityTest, ARetryWithOtherContentIsRefusedAndChangesNothing)
{
    const QString number = allocate();
    QVariantList first = cashSale(number);
    ASSERT_TRUE(save(first)) << first.last().toString().toStdString();

    QStringList card = BankCardRow(number, QStringLiteral("299900"), QStringLiteral("1"));
    const double otherStock = stock(QStringLiteral("100003"));
    const DataPacket oneLine = SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}});
    const QVariantList cash = PaymentBundle(PaymentPacket({{0, 3000}}, 2999.0), CardPacket());
    const struct {
        const char* what;
        DataPacket lines;
        QVariantList bundle;
    } cases[] = {
        {"another quantity", SaleLinesPacket({{QStringLiteral("100001"), 2, 2999.0}}), cash},
        {"another amount", SaleLinesPacket({{QStringLiteral("100001"), 1, 2899.0}}),
         PaymentBundle(PaymentPacket({{0, 3000}}, 2899.0), CardPacket())},
        {"another product", SaleLinesPacket({{QStringLiteral("100003"), 1, 2999.0}}), cash},
        {"one more line",
         SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}, {QStringLiteral("100003"), 1, 199.0}}),
         PaymentBundle(PaymentPacket({{0, 3200}}, 3198.0), CardPacket())},
        {"other payments", oneLine, PaymentBundle(PaymentPacket({{0, 3100}}, 2999.0), CardPacket())},
        {"a bank card row", oneLine, PaymentBundle(PaymentPacket({{5, 2999}}, 2999.0), CardPacket({card}))},
        {"suspended", oneLine, PaymentBundle(PaymentPacket({{0, 3000}}, 2999.0), CardPacket(), 1)},
    };
    for (const auto& c : cases) {
        QVariantList args = saleArgs(number, c.lines, c.bundle);
        EXPECT_FALSE(save(args)) << c.what;
        EXPECT_TRUE(args.last().toString().contains(QStringLiteral("内容不同")))
            << c.what << ": " << args.last().toString().toStdString();
    }
    EXPECT_EQ(count(QStringLiteral("tb202406_Xsmxzb"), number), 1);
    EXPECT_EQ(count(QStringLiteral("tb202406_xsmxcb"), number), 1);
    EXPECT_EQ(count(QStringLiteral("tb202406_Xszffs"), number), 2);
    EXPECT_EQ(count(QStringLiteral("tb202406_Xykmx"), number), 0);
    EXPECT_EQ(
        storeValue(QStringLiteral("SELECT f_Gqbz FROM tb202406_Xsmxzb WHERE f_Djh = ?"), {number}).toInt(),
        0);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("100001")), 19.0);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("100003")), otherStock);

    // The very same document is still a retry.
    QVariantList same = cashSale(number);
    same[3] = QStringLiteral("20240616-0001"); // the operator tag is refreshed on each attempt
    EXPECT_TRUE(save(same)) << same.last().toString().toStdString();
    EXPECT_DOUBLE_EQ(same.last().toDouble(), 2999.0);
}

TEST_P(IntegrityTest, ARetryAfterTheMonthMovedIsRecognisedOnEveryTill)
{
    const QString number = allocate();
    QVariantList first = cashSale(number);
    ASSERT_TRUE(save(first)) << first.last().toString().toStdString();

    // Another till starts in July and moves the store's month forward.
    clock_->set(QDateTime(QDate(2024, 7, 1), QTime(8, 0)));
    QString error;
    ASSERT_TRUE(SetAccountingMonth(host_->store(), QStringLiteral("202407"), &error)) << error.toStdString();
    StoreHost* july = secondTill();
    ASSERT_NE(july, nullptr);

    for (StoreHost* till : {host_, july}) {
        QVariantList retry = cashSale(number);
        EXPECT_TRUE(till->invoke(dispid::SaveSale, retry).toBool()) << retry.last().toString().toStdString();
    }
    EXPECT_EQ(count(QStringLiteral("tb202406_Xsmxzb"), number), 1);
    EXPECT_EQ(count(QStringLiteral("tb202407_Xsmxzb"), number), 0);
    EXPECT_EQ(count(QStringLiteral("tb202407_xsmxcb"), number), 0);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("100001")), 19.0);

    // A changed retry is refused in any month too.
    QVariantList changed = cashSale(number, 3100);
    EXPECT_FALSE(july->invoke(dispid::SaveSale, changed).toBool());
    EXPECT_TRUE(changed.last().toString().contains(QStringLiteral("内容不同")))
        << changed.last().toString().toStdString();
}

TEST_P(IntegrityTest, ASessionBooksInTheMonthItStartedWith)
{
    QVariantList month{QVariant()};
    ASSERT_TRUE(call(dispid::GetCurrentYearMonth, month).toBool());
    ASSERT_EQ(month[0].toString(), QStringLiteral("202406"));

    // Another till moves the month while this session is open.
    clock_->set(QDateTime(QDate(2024, 7, 1), QTime(8, 0)));
    QString error;
    ASSERT_TRUE(SetAccountingMonth(host_->store(), QStringLiteral("202407"), &error)) << error.toStdString();

    const QString sale = allocate();
    QVariantList s = cashSale(sale);
    ASSERT_TRUE(save(s)) << s.last().toString().toStdString();
    EXPECT_EQ(query(verifySale(sale)).rowCount(), 1); // where the module looks: its Dqny 202406

    const QString pre = allocate(dispid::AllocateDeliveryDocumentNumber);
    EXPECT_TRUE(pre.startsWith(QStringLiteral("202406"))) << pre.toStdString();
    QVariantList p = deliverySale(pre, 500);
    ASSERT_TRUE(save(p, dispid::SaveDeliverySale)) << p.last().toString().toStdString();
    EXPECT_EQ(query(verifySale(pre, QStringLiteral("Yxsmxzb"), QStringLiteral("Yxsmxcb"))).rowCount(), 1);

    // A charge booked in the session's month also leaves the later month's
    // opening balance.
    const double opening =
        storeValue(QStringLiteral("SELECT f_Qcye FROM tb202407_mdkhwlyhj WHERE f_Khbm = '000001'"))
            .toDouble();
    const QString charged = allocate();
    QVariantList a = accountSale(charged, 3000);
    ASSERT_TRUE(save(a)) << a.last().toString().toStdString();
    EXPECT_DOUBLE_EQ(used(QStringLiteral("202406")), 3000.0);
    EXPECT_DOUBLE_EQ(
        storeValue(QStringLiteral("SELECT f_Qcye FROM tb202407_mdkhwlyhj WHERE f_Khbm = '000001'"))
            .toDouble(),
        opening - 3000);

    // The next session starts in July.
    ASSERT_TRUE(call(dispid::GetCurrentYearMonth, month).toBool());
    EXPECT_EQ(month[0].toString(), QStringLiteral("202407"));
    const QString july = allocate();
    QVariantList j = cashSale(july);
    ASSERT_TRUE(save(j)) << j.last().toString().toStdString();
    EXPECT_EQ(count(QStringLiteral("tb202407_Xsmxzb"), july), 1);
}

TEST_P(IntegrityTest, TwoTillsCannotSpendTheSameBalance)
{
    // Till B books 8000 of the 10000 while till A is between its own check
    // and its booking.
    StoreHost* b = secondTill();
    ASSERT_NE(b, nullptr);
    const QString mine = allocate(), theirs = allocate();
    bool fired = false, theirsStored = false;
    Database* a = &host_->store();
    Database::setStatementHook([&](Database& db, const QString& sql, QString*) {
        if (!fired && &db == a && sql.startsWith(QLatin1String("BEGIN"))) {
            fired = true;
            QVariantList other = accountSale(theirs, 8000);
            theirsStored = b->invoke(dispid::SaveSale, other).toBool();
        }
        return true;
    });
    QVariantList args = accountSale(mine, 8000);
    const bool stored = save(args);
    Database::setStatementHook({});
    ASSERT_TRUE(fired);
    EXPECT_TRUE(theirsStored);
    EXPECT_FALSE(stored);
    EXPECT_TRUE(args.last().toString().contains(QStringLiteral("余额不足")))
        << args.last().toString().toStdString();
    EXPECT_DOUBLE_EQ(used(QStringLiteral("202406")), 8000.0);
    EXPECT_EQ(count(QStringLiteral("tb202406_Xsmxzb"), mine), 0);
}

TEST_P(IntegrityTest, NonFiniteNumbersAreRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QString number = allocate();
    const QVariantList cash = PaymentBundle(PaymentPacket({{0, 3000}}, 2999.0), CardPacket());
    auto line = [](const char* column, double v) {
        DataPacket l = SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}});
        l.setValue(0, QString::fromLatin1(column), v);
        return l;
    };
    const struct {
        const char* what;
        DataPacket lines;
        QVariantList bundle;
    } cases[] = {
        {"quantity NaN", line("f_Xssl", nan), cash},
        {"quantity infinite", line("f_Xssl", inf), cash},
        {"net amount NaN", line("f_Xsje", nan), cash},
        {"tax NaN", line("f_Xxsj", -inf), cash},
        {"line amount infinite", line("f_Ssje", inf), cash},
        {"discount NaN", line("f_Zdzkzr", nan), cash},
        {"manual discount infinite", line("f_Sgzkzr", inf), cash},
        {"tax rate NaN", line("f_Sl", nan), cash},
        {"purchase price NaN", line("f_Zhjj", nan), cash},
        {"offer value infinite", line("f_Tgj", inf), cash},
        {"packing rate NaN", line("f_Dwbl", nan), cash},
        {"rebate flag NaN", line("f_Flsp", nan), cash},
        {"payment NaN", line("f_Xssl", 1),
         PaymentBundle(PaymentPacket({{0, 3000}, {2, nan}}, 2999.0), CardPacket())},
        {"change infinite", line("f_Xssl", 1),
         [&] {
             DataPacket p = PaymentPacket({{0, 3000}}, 2999.0);
             p.setValue(1, QStringLiteral("f_Zfje"), inf);
             return PaymentBundle(p, CardPacket());
         }()},
    };
    for (const auto& c : cases) {
        QVariantList args = saleArgs(number, c.lines, c.bundle);
        EXPECT_FALSE(save(args)) << c.what;
        EXPECT_TRUE(args.last().toString().contains(QStringLiteral("不是有效的数字")))
            << c.what << ": " << args.last().toString().toStdString();
    }
    const QString pre = allocate(dispid::AllocateDeliveryDocumentNumber);
    for (double bad : {nan, inf}) {
        QVariantList d = deliverySale(pre, bad);
        EXPECT_FALSE(save(d, dispid::SaveDeliverySale));
        EXPECT_TRUE(d.last().toString().contains(QStringLiteral("不是有效的数字")))
            << d.last().toString().toStdString();
    }
    EXPECT_EQ(storeValue(QStringLiteral("SELECT COUNT(*) FROM tb202406_Xsmxzb")).toInt(), 0);
    EXPECT_EQ(storeValue(QStringLiteral("SELECT COUNT(*) FROM tb202406_Yxsmxzb")).toInt(), 0);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("100001")), 20.0);
}

TEST_P(IntegrityTest, RecordingBooksStockOnlyWhereTheStockCheckAllowsIt)
{
    // 0101 holds one 100008, one 100005 (on a limited offer today) and no
    // 100006 (sold then purchased); the sale is recorded whatever the
    // entry's check said. The entry accepts a shortfall of an offer product
    // through the offer, so its stock may go below zero.
    const struct {
        const char* kckz;
        const char* product;
        double quantity;
        bool checked; // the item entry's stock check accepts
        bool stored;
        double stockAfter;
    } cases[] = {
        {"0", "100008", 1, true, true, 0},   {"0", "100008", 2, false, false, 1},
        {"0", "100006", 2, true, true, 0},   {"1", "100008", 2, true, true, -1},
        {"0", "100005", 2, false, true, -1},
    };
    const QStringList kept{QStringLiteral("100008"), QStringLiteral("100005")};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("kckz ") + c.kckz + " " + c.product + " x" + std::to_string(c.quantity));
        QString error;
        ASSERT_TRUE(host_->store().exec(QStringLiteral("UPDATE tbSysmsg SET f_Csz = ? WHERE f_Csmc = 'kckz'"),
                                        {QString::fromLatin1(c.kckz)}, &error))
            << error.toStdString();
        ASSERT_TRUE(host_->store().exec(QStringLiteral("DELETE FROM tbGzkc WHERE f_Gzbm = '0101' AND f_Spbm "
                                                       "IN ('100008', '100006', '100005')"),
                                        {}, &error));
        for (const QString& product : kept) {
            ASSERT_TRUE(host_->store().exec(
                QStringLiteral("INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0101', ?, 1)"),
                {product}, &error));
        }
        const QString product = QString::fromLatin1(c.product);
        // The item entry's check follows the same rule.
        QVariantList check{product,   QStringLiteral("0101"),   c.quantity,
                           0.0,       QStringLiteral("202406"), QStringLiteral("202406"),
                           QVariant()};
        EXPECT_EQ(call(dispid::CheckStock, check).toBool(), c.checked) << check[6].toString().toStdString();
        const QString number = allocate();
        const double amount = 100 * c.quantity;
        QVariantList args = saleArgs(number, SaleLinesPacket({{product, c.quantity, amount}}),
                                     PaymentBundle(PaymentPacket({{0, amount}}, amount), CardPacket()));
        EXPECT_EQ(save(args), c.stored) << args.last().toString().toStdString();
        EXPECT_EQ(count(QStringLiteral("tb202406_Xsmxzb"), number), c.stored ? 1 : 0);
        EXPECT_EQ(count(QStringLiteral("tb202406_xsmxcb"), number), c.stored ? 1 : 0);
        if (!c.stored) {
            EXPECT_TRUE(args.last().toString().contains(QStringLiteral("库存不足")))
                << args.last().toString().toStdString();
        }
        for (const QString& other : kept)
            EXPECT_DOUBLE_EQ(stock(other), product == other ? c.stockAfter : 1) << other.toStdString();
        EXPECT_DOUBLE_EQ(stock(QStringLiteral("100006")), 0);
    }
}

TEST_P(IntegrityTest, CodesAreStoredWithoutTheirBlanks)
{
    const QString number = allocate();
    QVariantList args = cashSale(number + QLatin1Char(' '));
    args[6] = QStringLiteral("0101 ");
    ASSERT_TRUE(save(args)) << args.last().toString().toStdString();
    EXPECT_EQ(query(verifySale(number)).rowCount(), 1);
}

TEST_P(IntegrityTest, CentralDeliveryIsOnBothSidesOrOnNeither)
{
    auto central = [](const QString& number, const DataPacket& lines) {
        return CentralDeliveryArgs(number, 1000.0, lines);
    };
    auto centre = [&](const QString& sql, const QVariantList& binds = {}) {
        QVariant v;
        bool found = false;
        QString error;
        EXPECT_TRUE(host_->centre()->scalar(sql, binds, &v, &found, &error)) << error.toStdString();
        return v;
    };
    const QString stockSql =
        QStringLiteral("SELECT f_Kcsl FROM tbCkkc WHERE f_Ckbm = '01' AND f_Spbm = '100001'");
    const double before = centre(stockSql).toDouble();
    const QString number = allocate(dispid::AllocateDeliveryDocumentNumber);

    // The store cannot commit (busy, say) after the centre has its order.
    Database* store = &host_->store();
    Database::setStatementHook([&](Database& db, const QString& sql, QString* error) {
        if (&db != store || sql != QLatin1String("COMMIT"))
            return true;
        *error = QStringLiteral("数据库正忙");
        return false;
    });
    QVariantList first = central(number, SaleLinesPacket({{QStringLiteral("100001"), 3, 8997.0}}));
    EXPECT_FALSE(save(first, dispid::SaveCentralDeliverySale));
    Database::setStatementHook({});
    EXPECT_EQ(count(QStringLiteral("tb202406_Yxsmxzb"), number), 0);
    EXPECT_EQ(centre(QStringLiteral("SELECT COUNT(*) FROM tbPsckd WHERE f_Djh = ?"), {number}).toInt(), 0);
    EXPECT_DOUBLE_EQ(centre(stockSql).toDouble(), before);

    // The cashier takes a unit off and records again: both sides hold the
    // smaller sale.
    QVariantList second = central(number, SaleLinesPacket({{QStringLiteral("100001"), 2, 5998.0}}));
    ASSERT_TRUE(save(second, dispid::SaveCentralDeliverySale)) << second.last().toString().toStdString();
    EXPECT_DOUBLE_EQ(
        centre(QStringLiteral("SELECT SUM(f_Sl) FROM tbPsckmx WHERE f_Djh = ?"), {number}).toDouble(), 2.0);
    EXPECT_DOUBLE_EQ(centre(stockSql).toDouble(), before - 2);
}

INSTANTIATE_TEST_SUITE_P(Backends, IntegrityTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

} // namespace
} // namespace qiantai::host::test
