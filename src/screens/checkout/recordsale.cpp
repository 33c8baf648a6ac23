#include "screens/checkout/recordsale.h"

#include "base/logcategories.h"
#include "base/numbertext.h"
#include "base/storedcode.h"
#include "hostcalls/hostservice.h"
#include "sale/packets.h"
#include "sale/salesession.h"
#include "sale/sqlquote.h"
#include "sale/tablenames.h"

#include <exception>

namespace qiantai {

namespace {

const QString ErrorCaption = QStringLiteral("错误提示");
const QString FailureCaption = QStringLiteral("出错提示");

// Sales methods.
constexpr int StorePickup = 0;
constexpr int StoreDelivery = 1;
constexpr int DeliveryInstall = 2;
constexpr int CentralDelivery = 3;

// Unit types that keep the counter group chosen for the document.
bool KeepsCounterGroup(const QString& dwlx)
{
    return dwlx == QLatin1String("11") || dwlx == QLatin1String("10");
}

// The save operation that fits the sales method.
bool SaveBySalesMethod(SaleSession& s, HostService& host, const DataPacket& lines, const QVariant& bundle,
                       QVariant& message)
{
    const QString& cardNo = s.CurrentMemberCard.CardNo;
    const QString& account = s.CurrentMemberCard.MemberAccount;
    const double ownAmount = s.AmountDue - s.UnifiedTotal;
    // The delivery operations hand the packets back; copies keep ours as
    // they were built, so that a retry sends exactly the same.
    DataPacket linesArg = lines;
    QVariant bundleArg = bundle;
    switch (s.Xsfs) {
    case StorePickup:
        return host.SaveSale(s.Djh, s.Syybm, s.Syymc, s.OperatorTag, s.Yyybm, s.Yyymc, s.Gzbm, s.Ckbm, cardNo,
                             account, lines, bundle, message);
    case StoreDelivery:
        return host.SaveDeliverySale(s.Djh, s.Syybm, s.Syymc, s.OperatorTag, s.Yyybm, s.Yyymc, cardNo,
                                     account, s.Gzbm, s.Ckbm, ownAmount, linesArg, bundleArg, message);
    case DeliveryInstall:
        return host.SaveInstallSale(s.Djh, s.Syybm, s.Syymc, s.OperatorTag, s.Yyybm, s.Yyymc, s.Gzbm, s.Ckbm,
                                    cardNo, account, ownAmount, linesArg, bundleArg, message);
    case CentralDelivery:
        return host.SaveCentralDeliverySale(s.Djh, s.Syybm, s.Syymc, s.OperatorTag, s.Yyybm, s.Yyymc, s.Gzbm,
                                            s.Pszxbm, s.Ckbm, cardNo, account, ownAmount, linesArg, bundleArg,
                                            message);
    default:
        message = QStringLiteral("未知的销售方式: %1").arg(s.Xsfs);
        return false;
    }
}

bool DocumentStored(const SaleSession& s, HostService& host)
{
    const QString sql = VerifyStoredSql(s);
    if (sql.isEmpty())
        return false;
    DataPacket rows;
    return host.OpenQuery(sql, rows) && !rows.isEmpty();
}

// Points of the recorded sale: the amount the host counted, per Jfje. No
// points without a member card, without a number from the host or with a
// Jfje that is not positive.
double PointsFor(const SaleSession& s, const QVariant& hostAmount)
{
    if (s.CurrentMemberCard.CardNo.isEmpty() || !(s.Jfje > 0))
        return 0;
    bool ok = false;
    const double amount = hostAmount.toDouble(&ok);
    return ok ? amount / s.Jfje : 0;
}

} // namespace

QString VerifyStoredSql(const SaleSession& s)
{
    const bool sale = s.Xsfs == StorePickup;
    const QString header =
        MonthlyTableName(s.Dqny, sale ? QStringLiteral("xsmxzb") : QStringLiteral("Yxsmxzb"));
    const QString lines =
        MonthlyTableName(s.Dqny, sale ? QStringLiteral("xsmxcb") : QStringLiteral("Yxsmxcb"));
    if (header.isEmpty() || lines.isEmpty())
        return {};
    return QStringLiteral(" Select * From ") + header + QStringLiteral(" zb , ") + lines +
           QStringLiteral(" cb ") + QStringLiteral(" Where zb.f_djh = cb.f_djh and zb.f_Djh = ") +
           SqlQuote(StoredCode(s.Djh)) + QStringLiteral(" And zb.f_Bmbm = ") + SqlQuote(StoredCode(s.Gzbm)) +
           QStringLiteral(" ");
}

namespace {

// How many times the current document has been put to recording: the
// cashier may try again after a failure.
int NextAttempt(const QString& documentNo)
{
    static QString document;
    static int attempts = 0;
    if (documentNo != document) {
        document = documentNo;
        attempts = 0;
    }
    return ++attempts;
}

// The document's payments for the log: method code and amount of each.
QString PaymentsText(const SaleSession& s)
{
    QStringList parts;
    for (int i = 0; i < s.PaymentEntries.Count(); ++i)
        parts.append(s.PaymentEntries[i].Code + QLatin1Char('=') + MoneyText(s.PaymentEntries[i].Amount));
    return parts.join(QLatin1Char(' '));
}

bool Fail(RecordingUi& ui, const QVariant& message, const QString& caption)
{
    ui.ShowMessage(message, caption);
    ui.ShowMainPanel();
    ui.SetBusy(false);
    return false;
}

bool RecordSteps(SaleSession& s, HostService& host, RecordingUi& ui, int pauseMs)
{
    const int attempt = NextAttempt(s.Djh);
    const auto fail = [&](const QVariant& message, const QString& caption) {
        qCWarning(lcRecording).noquote()
            << "sale" << s.Djh << "not recorded, attempt" << attempt << ":" << message.toString();
        return Fail(ui, message, caption);
    };

    const DataPacket lines = SaleLinesPacket(s.SaleLines);
    const QVariant bundle = PaymentBundle(s);
    ui.ShowSubmitting();

    DataPacket rebateLines = lines;
    double rebate = 0;
    s.RebateAmount = host.CalculateRebate(rebateLines, rebate) ? rebate : 0;

    if (!KeepsCounterGroup(s.Dwlx))
        s.Gzbm = s.Dybm;

    QString operatorTag;
    if (!host.GetOperatorInfo(s.Syybm, operatorTag))
        return fail(host.lastError(), ErrorCaption);
    s.OperatorTag = operatorTag;

    s.PointsEarned = 0;
    QVariant message = s.Khxx;
    if (!SaveBySalesMethod(s, host, lines, bundle, message))
        return fail(host.lastStatus() == HostCallStatus::Done ? message : host.lastError(), FailureCaption);

    if (!DocumentStored(s, host))
        return fail(QStringLiteral("提交数据库失败，请检查网络!"), FailureCaption);

    qCInfo(lcRecording).noquote() << "recorded sale" << s.Djh << "total" << MoneyText(s.DocTotalAmount)
                                  << "payments" << PaymentsText(s) << "attempt" << attempt;
    // Stored: from here on the checkout completes whatever the printer does.
    ui.ShowPrinting();
    s.PointsEarned = PointsFor(s, message);

    // The document is not recorded again, however often it is printed.
    for (;;) {
        QString printError;
        bool printed = false;
        try {
            printed = ui.PrintReceipt(lines, printError);
        } catch (const std::exception& e) {
            printError = QString::fromUtf8(e.what());
        } catch (...) {
            printError = QStringLiteral("未知错误");
        }
        if (printed)
            break;
        qCWarning(lcPrinting).noquote() << "receipt of sale" << s.Djh << "not printed:" << printError;
        QString text = QStringLiteral("销售数据已保存，小票未能打印!");
        if (!printError.isEmpty())
            text += QStringLiteral("\r\n") + printError;
        if (!ui.AskPrintAgain(text, FailureCaption))
            break;
    }

    s.Khxx.clear();
    ui.Pause(pauseMs);
    ui.SetBusy(false);
    return true;
}

} // namespace

bool RecordSale(SaleSession& s, HostService& host, RecordingUi& ui, int pauseMs)
{
    ui.SetBusy(true);
    try {
        return RecordSteps(s, host, ui, pauseMs);
    } catch (const std::exception& e) {
        return Fail(ui, QString::fromUtf8(e.what()), FailureCaption);
    }
}

} // namespace qiantai
