// The procedures the card screens share: member card and welfare certificate
// query and payment at the card front-end, and the card consumption record
// at the host. Every failure has been shown to the cashier when a procedure
// returns false. A charge whose answer was lost is settled by asking the
// front-end what became of it before anything is shown.
#pragma once

#include "devices/cardfrontend.h"
#include "sale/cardinfo.h"
#include "screens/cards/cardcharges.h"
#include "screens/lookups/frminforules.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <QHash>

#include <functional>
#include <memory>

namespace qiantai {

class HostService;

class CardServices {
public:
    // Makes the front-end connection for one call; null with `error` set when
    // it cannot be made.
    using FrontEndFactory = std::function<std::unique_ptr<CardFrontEnd>(QString& error)>;
    // Shows a message in the information box; returns the key that closed it.
    using ShowMessage = std::function<int(const QVariant& message, const QString& caption, InfoKind kind)>;

    // Charges made are noted in `charges` (null: the till's own list).
    CardServices(FrontEndFactory factory, ShowMessage show, CardCharges* charges = nullptr);

    // A query that passes keeps the front-end's token for the charge of the
    // same card; each charge gets a payment id of its own.
    bool QueryMemberCard(const QVariantList& request, TCardInfo& card);
    bool PayMemberCard(const QVariantList& request);
    // Fills CertificateNo, FaceValue and Element3.
    bool QueryWelfareCertificate(const QVariantList& request, TFlzInfo& certificate);
    // The charge notes `faceValue` (from the query) as its amount.
    bool PayWelfareCertificate(const QVariantList& request, double faceValue);
    // Gives a charge of this till back; true when it is given back.
    bool ReverseCharge(const CardCharge& charge);

    // On true `request` has been replaced by the consumption serial (text).
    bool RecordBankCardConsumption(HostService& host, QVariant& request);
    bool RecordWelfareConsumption(HostService& host, QVariant& request);

private:
    enum class Settled { Made, NotMade, Unknown };

    std::unique_ptr<CardFrontEnd> connect();
    bool query(const QVariantList& request, const QString& failurePrefix,
               const std::function<bool(const QVariantList& answer, QString& error)>& read);
    bool pay(const QVariantList& request, double amount, const QString& refusalCaption,
             const QString& failurePrefix);
    // Asks the front-end until it tells what became of `paymentId`, or the
    // cashier gives up.
    Settled settle(CardFrontEnd& frontEnd, const QString& paymentId, const QString& failure);
    bool record(HostService& host, QVariant& request, const QString& refusalCaption);
    int show(const QVariant& message, const QString& caption, InfoKind kind = InfoKind::Statement);

    FrontEndFactory factory_;
    ShowMessage show_;
    CardCharges* charges_;
    QHash<QString, QString> tokens_; // card type and number -> token
};

// The answer elements of a member card query (1 to 8) as a TCardInfo; false
// with `error` when one is missing or not a number where a number belongs.
bool ReadCardInfo(const QVariantList& answer, TCardInfo& card, QString& error);
// Elements 1 to 3 of a welfare certificate query.
bool ReadFlzInfo(const QVariantList& answer, TFlzInfo& certificate, QString& error);

QString FrontEndConnectionFailedPrefix(); // "远程卡前置机连接失败:"

} // namespace qiantai
