// Suspended documents collected at a central desk, through the module's own
// collection code against the store: the desk asks for what each document
// still owes, and the store accepts exactly that.
#include "recordingfixture.h"

#include "hostcalls/hostservice.h"

namespace qiantai::host::test {
namespace {

// A suspended document written at a counter: its payments end with the
// suspension entry of F7 (a cash row).
struct Suspended {
    bool preSale;
    double amount;
    QList<Pay> payments;
};

struct CollectionCase {
    const char* what;
    QList<Suspended> documents;
    double owed; // what the central desk collects
};

class CollectionTest : public RecordingTest {
protected:
    QString record(const Suspended& d)
    {
        const DataPacket lines = SaleLinesPacket({{QStringLiteral("100003"), 1, d.amount}});
        const QVariantList bundle = PaymentBundle(PaymentPacket(d.payments, d.amount), CardPacket(), 1);
        if (!d.preSale) {
            const QString number = allocate();
            QVariantList args = saleArgs(number, lines, bundle);
            EXPECT_TRUE(save(args)) << args.last().toString().toStdString();
            return number;
        }
        const QString number = allocate(dispid::AllocateDeliveryDocumentNumber);
        QVariantList args = DeliverySaleArgs(number, d.amount, lines, bundle);
        EXPECT_TRUE(save(args, dispid::SaveDeliverySale)) << args.last().toString().toStdString();
        return number;
    }
    // The central desk's own sale (219.00) collecting `unified` for them.
    QVariantList deskSale(const QString& number, const QStringList& sales, const QStringList& preSales,
                          double unified)
    {
        return saleArgs(number, SaleLinesPacket({{QStringLiteral("100004"), 1, 219.0}}),
                        PaymentBundle(PaymentPacket({{0, 219.0 + unified}}, 219.0 + unified, unified),
                                      CardPacket(), 0, sales, preSales));
    }
};

TEST_P(CollectionTest, DeskCollectsWhatTheSuspendedDocumentsStillOwe)
{
    const CollectionCase cases[] = {
        {"suspended with nothing paid", {{false, 100, {{0, 100}}}}, 100},
        {"30 cash, then F7", {{false, 100, {{0, 30}, {0, 70}}}}, 70},
        {"30 transfer and 20 coupons, then F7", {{false, 100, {{4, 30}, {2, 20}, {0, 50}}}}, 50},
        {"a sale and a pre-sale together",
         {{false, 100, {{0, 30}, {0, 70}}}, {true, 500, {{0, 200}, {0, 300}}}},
         370},
    };
    for (const CollectionCase& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList sales, preSales;
        double cashAmounts = 0;
        for (const Suspended& d : c.documents) {
            (d.preSale ? preSales : sales).append(record(d));
            cashAmounts += d.amount;
        }

        SaleSession s;
        s.Dqny = QStringLiteral("202406");
        s.Syybm = QStringLiteral("0001");
        HostService service(host_);
        for (const QString& n : sales)
            EXPECT_TRUE(AddUnifiedDocument(s, service, false, n)) << n.toStdString();
        for (const QString& n : preSales)
            EXPECT_TRUE(AddUnifiedDocument(s, service, true, n)) << n.toStdString();
        EXPECT_DOUBLE_EQ(s.UnifiedTotal, c.owed);
        EXPECT_DOUBLE_EQ(s.AmountDue, c.owed);

        // The store refuses the documents' whole cash amounts where the
        // counter took some of it, and takes what they still owe.
        if (!MoneyEquals(cashAmounts, c.owed)) {
            QVariantList whole = deskSale(allocate(), sales, preSales, cashAmounts);
            EXPECT_FALSE(save(whole));
            EXPECT_TRUE(whole.last().toString().contains(QStringLiteral("统收金额")))
                << whole.last().toString().toStdString();
        }
        QVariantList desk = deskSale(allocate(), sales, preSales, s.UnifiedTotal);
        ASSERT_TRUE(save(desk)) << desk.last().toString().toStdString();
        // A later checkout finds them collected.
        s.CollectedSales.clear();
        s.CollectedPreSales.clear();
        for (const QString& n : sales)
            EXPECT_FALSE(AddUnifiedDocument(s, service, false, n)) << n.toStdString();
        for (const QString& n : preSales)
            EXPECT_FALSE(AddUnifiedDocument(s, service, true, n)) << n.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, CollectionTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

} // namespace
} // namespace qiantai::host::test
