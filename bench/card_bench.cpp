// The card server's answers to password guesses, through the till's client
// over loopback HTTP, with the store's real password cost (Argon2id,
// interactive): each round asks once for an unknown card, once for a known
// card with a wrong password and once with the right one, interleaved so
// that the machine's load falls on all three alike; 20 rounds after one
// untimed round.
//   QueryCard/guesses  unknown_median_ms, wrong_median_ms, right_median_ms
//                      (and p99s); unknown_over_wrong = the medians' ratio
// Lockout and the query rate limit are off, so that every wrong password
// is checked like the first.
#include "benchtiming.h"
#include "cardserverkit.h"

#include "devices/cardfrontend.h"

#include <QCoreApplication>

#include <cstdio>
#include <limits>

using namespace qiantai;
using namespace qiantai::bench;

namespace {

QVariantList Query(const char* cardNo, const char* password)
{
    return {
        QStringLiteral("0"), QString::fromLatin1(cardNo), QString::fromLatin1(password), QStringLiteral("1"),
        QString(),           QStringLiteral("0101")};
}

void Guesses(benchmark::State& state, int port)
{
    CardFrontEndSettings settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = port;
    CardFrontEndClient client(settings);
    const struct {
        const char* name;
        QVariantList query;
        bool ok;
    } kinds[] = {{"unknown_", Query("8800000009", "123456"), false},
                 {"wrong_", Query("8800000001", "000000"), false},
                 {"right_", Query("8800000001", "123456"), true}};
    // The first unknown card makes the server's stand-in hash: not timed.
    for (const auto& kind : kinds)
        client.queryCard(kind.query);
    std::vector<double> ms[3];
    for (auto _ : state) {
        double round = 0;
        for (int k = 0; k < 3; ++k) {
            const auto start = Clock::now();
            const CardFrontEndResult r = client.queryCard(kinds[k].query);
            const double took = MsSince(start);
            if (r.ok() != kinds[k].ok) {
                Skip(state, "unexpected answer: " + r.error.toStdString());
                return;
            }
            ms[k].push_back(took);
            round += took;
        }
        state.SetIterationTime(round / 1000);
    }
    Spread spread[3];
    for (int k = 0; k < 3; ++k)
        spread[k] = ReportSpread(state, ms[k], kinds[k].name);
    state.counters["unknown_over_wrong"] = spread[1].median > 0 ? spread[0].median / spread[1].median : 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The demo cards hashed at the cost the server uses.
    test::DemoCardStore cards(false);
    QString error;
    if (!cards.ok) {
        std::fprintf(stderr, "card store: %s\n", qPrintable(cards.error));
        return 1;
    }
    cards.store->setPasswordCost(cardd::HashCost::Interactive);
    if (const Result<> put = cards.store->putDemoData(cardd::HashCost::Interactive); !put) {
        std::fprintf(stderr, "demo cards: %s\n", qPrintable(put.error()));
        return 1;
    }
    cardd::ServiceSettings settings;
    settings.lock.attempts = std::numeric_limits<int>::max();
    settings.queriesPerMinute = 0;
    cardd::CardService service(*cards.store, settings);
    test::RunningCardServer server(cardd::CardMethods(service));
    if (!server.ok) {
        std::fprintf(stderr, "card server: %s\n", server.error.c_str());
        return 1;
    }
    benchmark::RegisterBenchmark("QueryCard/guesses", Guesses, server.port())
        ->Iterations(20)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
