#include "reportcommand.h"

#include "reportprinting.h"

#include "store/cardreconciliation.h"
#include "store/dayreport.h"
#include "store/dayreporttext.h"

#include "devices/cardfrontend.h"
#include "screens/cards/stationcardservices.h"

#include <QFile>
#include <QUrl>

#include <algorithm>
#include <iterator>

namespace qiantai::host {

namespace {

// The card server at `url` (without a port: [CardFrontEnd] Port), with the
// till key, CA file and time-outs of the station INI.
bool CardServerSettings(const QString& url, CardFrontEndSettings* settings, QString* error)
{
    const QUrl u(url);
    const QString scheme = u.scheme().toLower();
    if (!u.isValid() || u.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        *error = QStringLiteral("--cards %1: not an http:// or https:// address").arg(url);
        return false;
    }
    const QString machine =
        u.host().contains(QLatin1Char(':')) ? QLatin1Char('[') + u.host() + QLatin1Char(']') : u.host();
    if (!StationFrontEndSettings(machine, *settings, *error))
        return false;
    settings->tls = scheme == QLatin1String("https");
    settings->port = u.port(settings->port);
    return true;
}

bool FetchJournal(const ReportOptions& options, QList<JournalEntry>* journal, QString* error)
{
    CardFrontEndSettings settings;
    if (!CardServerSettings(options.cards, &settings, error))
        return false;
    CardFrontEndClient client(settings);
    const CardFrontEndResult r = client.journalForDay(options.day);
    if (!r.ok()) {
        *error =
            QStringLiteral("卡前置机%1的流水取不到: %2")
                .arg(options.cards, r.status == CardFrontEndStatus::Refused ? r.refusal.toString() : r.error);
        return false;
    }
    if (!JournalFromAnswer(r.answer, journal, error))
        return false;
    if (!options.cashier.isEmpty())
        journal->erase(std::remove_if(journal->begin(), journal->end(),
                                      [&](const JournalEntry& e) { return e.cashier != options.cashier; }),
                       journal->end());
    return true;
}

Result<> WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() || !f.flush())
        return Failure{QStringLiteral("不能写入文件%1: %2").arg(path, f.errorString())};
    return {};
}

} // namespace

Result<> CheckReportOptions(const ReportOptions& options)
{
    if (!IsDayText(options.day))
        return Failure{options.day.isEmpty()
                           ? QStringLiteral("report: no --day YYYYMMDD")
                           : QStringLiteral("report: --day %1 is not a date YYYYMMDD").arg(options.day)};
    if (options.format != QLatin1String("text") && options.format != QLatin1String("csv") &&
        options.format != QLatin1String("pdf"))
        return Failure{QStringLiteral("report: --format %1: text, csv or pdf").arg(options.format)};
    if (options.format == QLatin1String("pdf") && options.out.isEmpty())
        return Failure{QStringLiteral("report: --format pdf needs --out FILE")};
    if (std::find(std::begin(DayReportWidths), std::end(DayReportWidths), options.width) ==
        std::end(DayReportWidths))
        return Failure{QStringLiteral("report: --width must be 32, 42 or 48")};
    return {};
}

int RunDayReport(StoreHost& host, const ReportOptions& options, QTextStream& out, QTextStream& err)
{
    DayReport report;
    QList<StoredCardPayment> cards;
    QString error;
    if (!ReadDayReport(host.store(), {options.day, options.cashier}, &report, &cards, &error)) {
        err << error << Qt::endl;
        return 1;
    }
    int status = 0;
    std::optional<QList<CardDifference>> differences;
    if (!options.cards.isEmpty()) {
        QList<JournalEntry> journal;
        if (FetchJournal(options, &journal, &error)) {
            differences = ReconcileCardPayments(cards, journal);
        } else {
            err << error << Qt::endl;
            status = 1;
        }
    }
    const QString text = DayReportText(report, options.width, differences);
    Result<> written;
    if (options.format == QLatin1String("pdf")) {
        written = WriteTextPdf(text, options.out);
    } else {
        const QString body =
            options.format == QLatin1String("csv") ? DayReportCsv(report, differences) : text;
        if (options.out.isEmpty())
            out << body;
        else
            written = WriteFile(options.out, body.toUtf8());
    }
    out.flush();
    if (!written) {
        err << written.error() << Qt::endl;
        status = 1;
    }
    if (options.print) {
        if (const Result<> printed = PrintOnReceiptPrinter(text); !printed) {
            err << printed.error() << Qt::endl;
            status = 1;
        }
    }
    return status;
}

} // namespace qiantai::host
