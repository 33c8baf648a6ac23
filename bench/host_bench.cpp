// The reference store host over SQLite and over a private PostgreSQL server
// (unix socket), against a demo store with QIANTAI_BENCH_PRODUCTS generated
// products (default 50000):
//   LookupProduct/<backend>/<key>  one 909 call for a random product by its
//                                  code, item number or bar code
//   RecordCashSale/<backend>       one 904 call recording a five-line cash
//                                  sale (median_ms, p99_ms), against the same
//                                  rows written with plain prepared SQL in one
//                                  transaction (sql_median_ms, sql_p99_ms);
//                                  ratio = median over sql median
// Before the benchmarks each store says how long its demo data took.
#include "benchstore.h"
#include "benchtiming.h"
#include "salepackets.h"

#include "qiantai/dispids.h"
#include "store/demodata.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

#include <cmath>
#include <cstdio>
#include <random>

using namespace qiantai;
using namespace qiantai::bench;
namespace ht = qiantai::host::test;

namespace {

enum class Key { Code, ItemNumber, BarCode };

void LookupProduct(benchmark::State& state, BenchStore* store, Key key)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, std::max(0, store->products() - 1));
    QString code;
    TimeEach(
        state,
        [&] {
            const host::GeneratedProduct g = host::DemoGeneratedProduct(pick(random));
            code = key == Key::Code ? g.code : key == Key::ItemNumber ? g.itemNumber : g.barCode;
        },
        [&] {
            QVariantList args{code, QVariant(), QVariant()};
            if (!store->host().invoke(dispid::LookupProduct, args).toBool() ||
                packetFromVariant(args[1]).rowCount() != 1)
                Skip(state, ("lookup of " + code + " failed: " + args.last().toString()).toStdString());
        });
}

// A five-line cash sale as the sales module hands it to 904, and the same
// rows written by hand.
class CashSale {
public:
    explicit CashSale(BenchStore& store)
        : store_(store), db_(store.host().store()), header_(db_.connection()), line_(db_.connection()),
          stock_(db_.connection()), payment_(db_.connection()), offer_(db_.connection())
    {
        QVariantList month{QVariant()};
        store.host().invoke(dispid::GetCurrentYearMonth, month);
        month_ = month[0].toString();
        plainPrefix_ = QStringLiteral("P%1").arg(QDateTime::currentMSecsSinceEpoch());
    }

    // Five random products of counter group 0101 at their list prices, with
    // stock for them.
    void choose(std::mt19937& random)
    {
        std::uniform_int_distribution<int> pick(0, std::max(0, store_.products() / 2 - 1));
        lines_.clear();
        total_ = 0;
        for (int i = 0; i < 5; ++i) {
            const QString code = host::DemoGeneratedProduct(2 * pick(random)).code;
            QVariant price;
            bool found = false;
            QString error;
            db_.scalar(QStringLiteral("SELECT f_Xsdj FROM tbSpda WHERE f_Spbm = ?"), {code}, &price, &found,
                       &error);
            lines_.append(ht::Line{code, 1, price.toDouble()});
            total_ += price.toDouble();
            // One unit for 904 and one for the plain rows, so that the
            // stock check of the recording passes (untimed).
            db_.exec(
                QStringLiteral("INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0101', ?, 2) ON "
                               "CONFLICT (f_Gzbm, f_Spbm) DO UPDATE SET f_Kcsl = CASE WHEN tbGzkc.f_Kcsl < 0 "
                               "THEN 2 ELSE tbGzkc.f_Kcsl + 2 END"),
                {code}, &error);
        }
        total_ = RoundMoney(total_);
    }

    // Allocates the number of the next 904 document.
    bool allocate(QString* error)
    {
        QVariantList args{QStringLiteral("0001"), QStringLiteral("王丽"), QStringLiteral("0101"), QVariant(),
                          QVariant()};
        if (!store_.host().invoke(dispid::AllocateDocumentNumber, args).toBool()) {
            *error = args[4].toString();
            return false;
        }
        number_ = args[3].toString();
        return true;
    }

    // 904: Djh, Syybm, Syymc, OperatorTag, Yyybm, Yyymc, Gzbm, Ckbm, CardNo,
    // MemberAccount, lines, bundle, ref message.
    QVariantList saveArgs() const
    {
        const double cash = std::ceil(total_ / 100) * 100;
        return {number_,
                QStringLiteral("0001"),
                QStringLiteral("王丽"),
                QStringLiteral("0001王丽"),
                QStringLiteral("1001"),
                QStringLiteral("李明"),
                QStringLiteral("0101"),
                QString(),
                QString(),
                QString(),
                packetToVariant(ht::SaleLinesPacket(lines_)),
                QVariant(ht::PaymentBundle(ht::PaymentPacket({{0, cash}}, total_), ht::CardPacket())),
                QStringLiteral("张先生 13800000000")};
    }
    bool record(QString* error)
    {
        QVariantList args = saveArgs();
        if (store_.host().invoke(dispid::SaveSale, args).toBool())
            return true;
        *error = args.last().toString();
        return false;
    }

    // The rows 904 writes for this sale (header, lines, stock, payments, the
    // offer reservations' state), with statements prepared once, in one
    // transaction.
    bool insertPlain(QString* error)
    {
        if (!plainReady_ && !preparePlain(error))
            return false;
        const QString number = plainPrefix_ + QString::number(++plainCount_);
        const double cash = std::ceil(total_ / 100) * 100;
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
        if (!db_.begin(error))
            return false;
        host::TransactionGuard guard(db_);
        const QVariantList header{number,
                                  QStringLiteral("0101"),
                                  total_,
                                  total_,
                                  total_,
                                  today,
                                  today,
                                  QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")),
                                  QStringLiteral("0001"),
                                  QStringLiteral("王丽"),
                                  QStringLiteral("0001王丽"),
                                  QStringLiteral("1001"),
                                  QStringLiteral("李明"),
                                  QString(),
                                  QString(),
                                  QString(),
                                  QString(),
                                  QStringLiteral("张先生 13800000000"),
                                  QString(),
                                  0,
                                  0,
                                  0.0,
                                  total_};
        if (!run(header_, header, error))
            return false;
        for (int r = 0; r < lines_.size(); ++r) {
            const ht::Line& l = lines_[r];
            const double net = RoundMoney(l.amount / 1.17);
            if (!run(line_,
                     {number, r, l.product, QStringLiteral("商品"), QStringLiteral("台"), l.quantity, net,
                      l.amount - net, 0.0, 0.0, 17.0, l.amount, 0, 0, 0.0, 0.0, 1.0},
                     error) ||
                !run(stock_, {QStringLiteral("0101"), l.product, -l.quantity}, error))
                return false;
        }
        if (!run(payment_, {number, 0, 0, cash, QString(), QString(), 0}, error) ||
            !run(payment_, {number, 1, -1, RoundMoney(cash - total_), QString(), QString(), 0}, error) ||
            !run(offer_, {month_, number}, error))
            return false;
        return guard.commit(error);
    }

private:
    bool preparePlain(QString* error)
    {
        const QString m = month_;
        const struct {
            QSqlQuery* q;
            QString sql;
        } statements[] = {
            {&header_,
             QStringLiteral("INSERT INTO tb%1_Xsmxzb (f_Djh, f_Bmbm, f_Xjje, f_Xsje, f_Djje, f_Rzrq, "
                            "f_Zdrq, f_Zdsj, f_Syybm, f_Syymc, f_Czybz, f_Yyybm, f_Yyymc, f_Ckbm, "
                            "f_Pszxbm, f_Hykh, f_Hyzh, f_Khxx, f_Xsbz, f_Gqbz, f_Xsfs, f_Flje, f_Jfje) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                 .arg(m)},
            {&line_,
             QStringLiteral("INSERT INTO tb%1_xsmxcb (f_Djh, f_Dnxh, f_Spbm, f_Spmc, f_Jldw, f_Xssl, "
                            "f_Xsje, f_Xxsj, f_Zdzkzr, f_Sgzkzr, f_Sl, f_Ssje, f_Flsp, f_Yxjj, f_Zhjj, "
                            "f_Tgj, f_Dwbl) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                 .arg(m)},
            {&stock_,
             QStringLiteral("INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES (?, ?, ?) ON CONFLICT "
                            "(f_Gzbm, f_Spbm) DO UPDATE SET f_Kcsl = tbGzkc.f_Kcsl + excluded.f_Kcsl")},
            {&payment_,
             QStringLiteral("INSERT INTO tb%1_Xszffs (f_Djh, f_Xh, f_Zffs, f_Zfje, f_Hykh, f_Hyzh, "
                            "f_Hyklx) VALUES (?, ?, ?, ?, ?, ?, ?)")
                 .arg(m)},
            {&offer_, QStringLiteral("UPDATE tbXsxlqK SET f_Zt = 1 WHERE f_Ny = ? AND f_Djh = ?")},
        };
        for (const auto& s : statements) {
            if (!s.q->prepare(s.sql)) {
                *error = s.q->lastError().text();
                return false;
            }
        }
        plainReady_ = true;
        return true;
    }
    static bool run(QSqlQuery& q, const QVariantList& binds, QString* error)
    {
        for (const QVariant& v : binds)
            q.addBindValue(
                v.metaType().id() == QMetaType::QString && v.toString().isNull() ? QVariant(QString("")) : v);
        if (q.exec())
            return true;
        *error = q.lastError().text();
        return false;
    }

    BenchStore& store_;
    host::Database& db_;
    QString month_, number_, plainPrefix_;
    QList<ht::Line> lines_;
    double total_ = 0;
    bool plainReady_ = false;
    int plainCount_ = 0;
    QSqlQuery header_, line_, stock_, payment_, offer_;
};

void RecordCashSale(benchmark::State& state, BenchStore* store)
{
    CashSale sale(*store);
    std::mt19937 random(11);
    std::vector<double> host, plain;
    QString error;
    for (auto _ : state) {
        sale.choose(random);
        if (!sale.allocate(&error)) {
            Skip(state, ("allocating a number: " + error).toStdString());
            break;
        }
        auto start = Clock::now();
        if (!sale.record(&error)) {
            Skip(state, ("904: " + error).toStdString());
            break;
        }
        host.push_back(MsSince(start));
        state.SetIterationTime(host.back() / 1000);
        start = Clock::now();
        if (!sale.insertPlain(&error)) {
            Skip(state, ("plain insert: " + error).toStdString());
            break;
        }
        plain.push_back(MsSince(start));
    }
    const Spread h = ReportSpread(state, host);
    const Spread p = ReportSpread(state, plain, "sql_");
    if (p.median > 0)
        state.counters["ratio"] = h.median / p.median;
}

std::unique_ptr<BenchStore> Open(bool postgres, int products)
{
    QString error;
    std::unique_ptr<BenchStore> s =
        postgres ? BenchStore::OpenPostgres(products, &error) : BenchStore::OpenSqlite(products, &error);
    if (!s) {
        std::fprintf(stderr, "%s store: %s\n", postgres ? "postgresql" : "sqlite", qPrintable(error));
        return nullptr;
    }
    if (s->generationSeconds() >= 0)
        std::printf("%s: demo data created in %.1f s\n", qPrintable(s->describe()), s->generationSeconds());
    else
        std::printf("%s: reused\n", qPrintable(s->describe()));
    std::fflush(stdout);
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const int products = BenchProductCount(50000);
    std::unique_ptr<BenchStore> stores[] = {Open(false, products), Open(true, products)};
    for (auto& s : stores) {
        if (!s)
            continue;
        const std::string backend = s.get() == stores[0].get() ? "sqlite" : "postgresql";
        const struct {
            const char* name;
            Key key;
        } keys[] = {{"code", Key::Code}, {"item", Key::ItemNumber}, {"barcode", Key::BarCode}};
        for (const auto& k : keys)
            benchmark::RegisterBenchmark(("LookupProduct/" + backend + "/" + k.name).c_str(), LookupProduct,
                                         s.get(), k.key)
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("RecordCashSale/" + backend).c_str(), RecordCashSale, s.get())
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    if (!stores[0])
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
