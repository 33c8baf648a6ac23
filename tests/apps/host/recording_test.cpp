// Recording 904 to 907 with packets in the module's shape, checked with the
// module's own verification and collection queries.
#include "recordingfixture.h"

namespace qiantai::host::test {
namespace {

TEST_P(RecordingTest, CashSaleIsStoredOnceAndFoundByTheModulesCheck)
{
    const QString number = allocate();
    QVariantList args = cashSale(number);
    ASSERT_TRUE(save(args)) << args.last().toString().toStdString();
    EXPECT_DOUBLE_EQ(args.last().toDouble(), 2999.0); // the amount that earns points
    EXPECT_EQ(query(verifySale(number)).rowCount(), 1);
    EXPECT_DOUBLE_EQ(
        storeValue(QStringLiteral("SELECT f_Xjje FROM tb202406_Xsmxzb WHERE f_Djh = ?"), {number}).toDouble(),
        2999.0);
    EXPECT_EQ(
        storeValue(QStringLiteral("SELECT f_Khxx FROM tb202406_Xsmxzb WHERE f_Djh = ?"), {number}).toString(),
        QStringLiteral("张先生 13800000000"));
    EXPECT_EQ(count(QStringLiteral("tb202406_Xszffs"), number), 2);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("100001")), 19.0);

    // A retry after a lost answer: success, nothing stored twice.
    QVariantList again = cashSale(number);
    ASSERT_TRUE(save(again)) << again.last().toString().toStdString();
    EXPECT_DOUBLE_EQ(again.last().toDouble(), 2999.0);
    EXPECT_EQ(count(QStringLiteral("tb202406_Xsmxzb"), number), 1);
    EXPECT_EQ(count(QStringLiteral("tb202406_xsmxcb"), number), 1);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("100001")), 19.0);
}

TEST_P(RecordingTest, ALongSaleKeepsEveryLineInOrder)
{
    // More lines than one statement writes.
    constexpr int count = 120;
    QList<Line> lines;
    for (int i = 0; i < count; ++i)
        lines.append({QStringLiteral("100002"), 1, 50.0 + i});
    const double total = count * 50.0 + count * (count - 1) / 2.0;
    const QString number = allocate();
    QVariantList args = saleArgs(number, SaleLinesPacket(lines),
                                 PaymentBundle(PaymentPacket({{0, total}}, total), CardPacket()));
    ASSERT_TRUE(save(args)) << args.last().toString().toStdString();
    const DataPacket stored =
        query(QStringLiteral("SELECT f_Dnxh, f_Ssje FROM tb202406_xsmxcb WHERE f_Djh = '%1' ORDER BY f_Dnxh")
                  .arg(number));
    ASSERT_EQ(stored.rowCount(), count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(stored.value(i, 0).toInt(), i);
        EXPECT_DOUBLE_EQ(stored.value(i, 1).toDouble(), 50.0 + i);
    }
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("100002")), 99999.0 - count);
}

TEST_P(RecordingTest, InvalidDocumentsAreRefusedAndLeaveNothing)
{
    const QString number = allocate();
    const DataPacket lines = SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}});
    const QVariantList bundle = PaymentBundle(PaymentPacket({{0, 3000}}, 2999.0), CardPacket());
    DataPacket noNet = lines;
    noNet = DataPacket({{QStringLiteral("f_Spbm"), FieldType::Text},
                        {QStringLiteral("f_Xssl"), FieldType::Float},
                        {QStringLiteral("f_Ssje"), FieldType::Float}});
    noNet.appendRow({QStringLiteral("100001"), 1.0, 2999.0});
    DataPacket wrongSum = lines;
    wrongSum.setValue(0, QStringLiteral("f_Ssje"), 2990.0);
    DataPacket unknownProduct = SaleLinesPacket({{QStringLiteral("999999"), 1, 2999.0}});
    QVariantList fourParts = bundle;
    fourParts.removeLast();

    const struct {
        const char* what;
        QString number;
        DataPacket lines;
        QVariantList bundle;
        const char* refusal;
    } cases[] = {
        {"missing columns", number, noNet, bundle, "缺少列"},
        {"line amounts", number, wrongSum, bundle, "不等于"},
        {"unknown product", number, unknownProduct, bundle, "999999"},
        {"empty lines", number, SaleLinesPacket({}), bundle, "为空"},
        {"underpaid", number, lines, PaymentBundle(PaymentPacket({{0, 2000}}, 2999.0), CardPacket()), "不足"},
        {"change from a card", number, lines, PaymentBundle(PaymentPacket({{5, 3000}}, 2999.0), CardPacket()),
         "找零"},
        {"paid for another amount", number, lines,
         PaymentBundle(PaymentPacket({{0, 100}}, 100.0), CardPacket()), "不符"},
        {"bundle of four", number, lines, fourParts, "5项"},
        {"collected without row", number, lines,
         PaymentBundle(PaymentPacket({{0, 3000}}, 2999.0), CardPacket(), 0, {QStringLiteral("0000000099")}),
         "统收"},
        {"number not handed out", QStringLiteral("0000009999"), lines, bundle, "不是本店分配"},
        {"pre-sale number for a sale", QStringLiteral("202406000001"), lines, bundle, "10位"},
    };
    for (const auto& c : cases) {
        QVariantList args = saleArgs(c.number, c.lines, c.bundle);
        EXPECT_FALSE(save(args)) << c.what;
        EXPECT_TRUE(args.last().toString().contains(QString::fromUtf8(c.refusal)))
            << c.what << ": " << args.last().toString().toStdString();
    }
    EXPECT_EQ(storeValue(QStringLiteral("SELECT COUNT(*) FROM tb202406_Xsmxzb")).toInt(), 0);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("100001")), 20.0);
}

TEST_P(RecordingTest, FailureInsideTheTransactionLeavesNoHalfDocument)
{
    const QString number = allocate();
    QString error;
    ASSERT_TRUE(host_->store().exec(QStringLiteral("DROP TABLE tb202406_Xykmx"), {}, &error))
        << error.toStdString();
    QStringList card =
        BankCardRow(QStringLiteral("x"), QStringLiteral("299900"), QStringLiteral("20240615000001"));
    QVariantList args = saleArgs(number, SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}}),
                                 PaymentBundle(PaymentPacket({{5, 2999}}, 2999.0), CardPacket({card})));
    EXPECT_FALSE(save(args));
    EXPECT_FALSE(args.last().toString().isEmpty());
    EXPECT_EQ(count(QStringLiteral("tb202406_Xsmxzb"), number), 0);
    EXPECT_EQ(count(QStringLiteral("tb202406_xsmxcb"), number), 0);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("100001")), 20.0);
}

TEST_P(RecordingTest, BankCardRowsMemberPointsAndCustomerAccount)
{
    const QString number = allocate();
    QStringList card = BankCardRow(number, QStringLiteral("100000"), QStringLiteral("20240615000001"));
    // 2999 = 1000 bank card + 999 member card + 1000 customer account
    QVariantList args =
        saleArgs(number, SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}}),
                 PaymentBundle(PaymentPacket({{5, 1000},
                                              {6, 999, QStringLiteral("M0001"), QStringLiteral("A0001")},
                                              {7, 1000, QStringLiteral("000001"), QStringLiteral("000001")}},
                                             2999.0),
                               CardPacket({card})),
                 QStringLiteral("M0001"));
    ASSERT_TRUE(save(args)) << args.last().toString().toStdString();
    EXPECT_DOUBLE_EQ(args.last().toDouble(), 2000.0); // member card payments earn no points
    EXPECT_EQ(count(QStringLiteral("tb202406_Xykmx"), number), 1);
    EXPECT_EQ(storeValue(QStringLiteral("SELECT f_Poslsh FROM tb202406_Xykmx WHERE f_Djh = ?"), {number})
                  .toString(),
              QStringLiteral("20240615000001"));
    EXPECT_DOUBLE_EQ(
        storeValue(QStringLiteral("SELECT f_Sxje FROM tb202406_mdkhwlyhj WHERE f_Khbm = '000001'"))
            .toDouble(),
        1000.0);

    // 9000 left on the account: 9500 is refused.
    const QString second = allocate();
    QVariantList over = saleArgs(
        second, SaleLinesPacket({{QStringLiteral("100001"), 1, 9500.0}}),
        PaymentBundle(PaymentPacket({{7, 9500, QStringLiteral("000001"), QStringLiteral("000001")}}, 9500.0),
                      CardPacket()));
    EXPECT_FALSE(save(over));
    EXPECT_TRUE(over.last().toString().contains(QStringLiteral("余额不足")))
        << over.last().toString().toStdString();
}

TEST_P(RecordingTest, SuspendedDocumentsAreCollectedOnlyOnce)
{
    // A counter writes a sale and a pre-sale and suspends their cash.
    const QString sale = allocate();
    QVariantList s = saleArgs(sale, SaleLinesPacket({{QStringLiteral("100003"), 1, 199.0}}),
                              PaymentBundle(PaymentPacket({{0, 199}}, 199.0), CardPacket(), 1));
    ASSERT_TRUE(save(s)) << s.last().toString().toStdString();
    const QString pre = allocate(dispid::AllocateDeliveryDocumentNumber);
    QVariantList p = DeliverySaleArgs(pre, 500.0, SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}}),
                                      PaymentBundle(PaymentPacket({{0, 500}}, 500.0), CardPacket(), 1));
    ASSERT_TRUE(save(p, dispid::SaveDeliverySale)) << p.last().toString().toStdString();
    EXPECT_EQ(query(verifySale(pre, QStringLiteral("Yxsmxzb"), QStringLiteral("Yxsmxcb"))).rowCount(), 1);

    const DataPacket found = query(collectSale(sale));
    ASSERT_EQ(found.rowCount(), 1);
    EXPECT_DOUBLE_EQ(found.value(0, QStringLiteral("f_Dsje")).toDouble(), 199.0);
    ASSERT_EQ(query(collectPreSale(pre)).rowCount(), 1);

    // The central desk collects both with a sale of its own (219.00).
    const QString desk = allocate();
    auto collecting = [&](const QString& number) {
        return saleArgs(
            number, SaleLinesPacket({{QStringLiteral("100004"), 1, 219.0, 17, 1}}),
            PaymentBundle(PaymentPacket({{0, 1000}}, 918.0, 699.0), CardPacket(), 0, {sale}, {pre}));
    };
    QVariantList c = collecting(desk);
    ASSERT_TRUE(save(c)) << c.last().toString().toStdString();
    EXPECT_EQ(query(collectSale(sale)).rowCount(), 0);
    EXPECT_EQ(query(collectPreSale(pre)).rowCount(), 0);
    EXPECT_EQ(
        storeValue(QStringLiteral("SELECT f_Xsbz FROM tb202406_Xsmxzb WHERE f_Djh = ?"), {sale}).toString(),
        QStringLiteral("统收单据") + desk);
    EXPECT_DOUBLE_EQ(
        storeValue(QStringLiteral("SELECT f_Flje FROM tb202406_Xsmxzb WHERE f_Djh = ?"), {desk}).toDouble(),
        10.95);

    // The retry of the same collecting sale still succeeds; another desk
    // cannot collect the same cash again.
    QVariantList retry = collecting(desk);
    EXPECT_TRUE(save(retry)) << retry.last().toString().toStdString();
    const QString other = allocate();
    QVariantList twice = collecting(other);
    EXPECT_FALSE(save(twice));
    EXPECT_TRUE(twice.last().toString().contains(sale)) << twice.last().toString().toStdString();
    EXPECT_EQ(count(QStringLiteral("tb202406_Xsmxzb"), other), 0);
}

TEST_P(RecordingTest, InstallationAndCentralDeliverySales)
{
    const QString install = allocate(dispid::AllocateDeliveryDocumentNumber);
    // 906: Djh..Yyymc, Gzbm, Ckbm, CardNo, MemberAccount, amount, lines, bundle, message
    QVariantList i{install,
                   QStringLiteral("0001"),
                   QStringLiteral("王丽"),
                   QStringLiteral("t"),
                   QStringLiteral("1001"),
                   QStringLiteral("李明"),
                   QStringLiteral("0101"),
                   QString(),
                   QString(),
                   QString(),
                   2999.0,
                   packetToVariant(SaleLinesPacket({{QStringLiteral("100001"), 1, 2999.0}})),
                   QVariant(PaymentBundle(PaymentPacket({{0, 3000}}, 2999.0), CardPacket())),
                   QString()};
    ASSERT_TRUE(save(i, dispid::SaveInstallSale)) << i.last().toString().toStdString();
    const DataPacket related = query(
        QStringLiteral("Select f_Djh From tb%1_Spgjcb Where f_YDjh = '%2' ").arg(install.left(6), install));
    ASSERT_EQ(related.rowCount(), 1);
    EXPECT_FALSE(related.value(0, QStringLiteral("f_Djh")).toString().isEmpty());
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("100001")), 19.0);

    const QString central = allocate(dispid::AllocateDeliveryDocumentNumber);
    // 907: Djh..Yyymc, Gzbm, Pszxbm, Ckbm, CardNo, MemberAccount, amount, lines, bundle, message
    QVariantList c{central,
                   QStringLiteral("0001"),
                   QStringLiteral("王丽"),
                   QStringLiteral("t"),
                   QStringLiteral("1001"),
                   QStringLiteral("李明"),
                   QStringLiteral("0101"),
                   QStringLiteral("90"),
                   QStringLiteral("01"),
                   QString(),
                   QString(),
                   1000.0,
                   packetToVariant(SaleLinesPacket({{QStringLiteral("100001"), 2, 5998.0}})),
                   QVariant(PaymentBundle(PaymentPacket({{0, 1000}}, 1000.0), CardPacket())),
                   QString()};
    ASSERT_TRUE(save(c, dispid::SaveCentralDeliverySale)) << c.last().toString().toStdString();
    EXPECT_EQ(query(verifySale(central, QStringLiteral("Yxsmxzb"), QStringLiteral("Yxsmxcb"))).rowCount(), 1);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("100001")), 19.0); // the centre delivers
    QVariant v;
    bool found = false;
    QString error;
    ASSERT_TRUE(
        host_->centre()->scalar(QStringLiteral("SELECT f_Kcsl FROM tbCkkc WHERE f_Ckbm = '01' AND f_Spbm = "
                                               "'100001'"),
                                {}, &v, &found, &error));
    EXPECT_DOUBLE_EQ(v.toDouble(), 98.0);
    QVariantList retry = c;
    retry.last() = QString();
    EXPECT_TRUE(save(retry, dispid::SaveCentralDeliverySale));
    ASSERT_TRUE(
        host_->centre()->scalar(QStringLiteral("SELECT f_Kcsl FROM tbCkkc WHERE f_Ckbm = '01' AND f_Spbm = "
                                               "'100001'"),
                                {}, &v, &found, &error));
    EXPECT_DOUBLE_EQ(v.toDouble(), 98.0);

    // A deposit larger than the sale is refused.
    const QString big = allocate(dispid::AllocateDeliveryDocumentNumber);
    QVariantList d = i;
    d[0] = big;
    d[10] = 3500.0;
    d[12] = QVariant(PaymentBundle(PaymentPacket({{0, 3500}}, 3500.0), CardPacket()));
    d.last() = QString();
    EXPECT_FALSE(save(d, dispid::SaveInstallSale));
}

TEST_P(RecordingTest, LimitedOfferReservationIsKeptWhenSold)
{
    const QString number = allocate();
    QVariantList offer{
        0,     QStringLiteral("01"), number,     0,          QStringLiteral("100005"), 3.0, 0.0,
        999.0, QVariant(),           QVariant(), QVariant(), QStringLiteral("0")};
    ASSERT_TRUE(call(dispid::QueryLimitedOffer, offer).toBool());
    QVariantList args = saleArgs(number, SaleLinesPacket({{QStringLiteral("100005"), 3, 2697.0}}),
                                 PaymentBundle(PaymentPacket({{0, 2697}}, 2697.0), CardPacket()));
    ASSERT_TRUE(save(args)) << args.last().toString().toStdString();
    EXPECT_EQ(storeValue(QStringLiteral("SELECT f_Zt FROM tbXsxlqK WHERE f_Djh = ?"), {number}).toInt(), 1);
    // Tomorrow the sold units still count.
    clock_->set(QDateTime(QDate(2024, 6, 16), QTime(9, 0)));
    const QString next = allocate();
    QVariantList none{0,     QStringLiteral("01"), next,       0,          QStringLiteral("100005"), 1.0, 0.0,
                      999.0, QVariant(),           QVariant(), QVariant(), QStringLiteral("0")};
    EXPECT_FALSE(call(dispid::QueryLimitedOffer, none).toBool());
}

INSTANTIATE_TEST_SUITE_P(Backends, RecordingTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

} // namespace
} // namespace qiantai::host::test
