// Client of the card front-end (member cards, welfare certificates):
// JSON-RPC 2.0 over HTTP, one connection per call.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

namespace qiantai {

struct CardFrontEndSettings {
    QString host;
    int port = 8529;
    int connectTimeoutSeconds = 3;
    int readTimeoutSeconds = 10;
    int readTimeoutMs = 0; // when above 0, instead of readTimeoutSeconds
    bool tls = false;
    // PEM file of the certificate authorities trusted with TLS; empty: the
    // system's.
    QString caFile;
    // This till's key at the front-end (sent as a bearer token); empty: none.
    QString tillKey;
    // PEM files of this till's TLS client certificate and its key, for a
    // front-end that knows tills by certificate; empty: none.
    QString certFile;
    QString keyFile;
};

// Fills host and port of `settings` from the front-end's machine name
// ("host", "host:port", "[v6-address]:port"); the port stays when the name
// gives none. False (settings unchanged) when the name is empty or its port
// is not a number from 1 to 65535.
bool ApplyFrontEndAddress(const QString& machine, CardFrontEndSettings* settings);

enum class CardFrontEndStatus {
    Ok,               // done; `answer` holds a query's answer
    Refused,          // the front-end said no; `refusal` holds its text(s)
    ConnectionFailed, // the request never reached the front-end: `error` says
                      // why (connect, TLS)
    OutcomeUnknown,   // sent, but no answer came (time-out, dropped): `error`
    BadAnswer,        // an answer that is not what the contract says; `error`
};

struct CardFrontEndResult {
    CardFrontEndStatus status = CardFrontEndStatus::BadAnswer;
    QVariantList answer; // QueryCard: the elements; index 0 is unused
    QVariant refusal;    // a text or a list of texts
    QString error;
    QString token; // QueryCard: the proof a charge of this card carries
    QString state; // PaymentStatus: "done", "reversed" or "none"

    bool ok() const { return status == CardFrontEndStatus::Ok; }
};

// Seen by the card screens; tests put a fake in its place.
class CardFrontEnd {
public:
    virtual ~CardFrontEnd() = default;
    virtual CardFrontEndResult queryCard(const QVariantList& request) = 0;
    // `paymentId` names this payment (the same on a resend of it); `token` is
    // the one the query of its card gave.
    virtual CardFrontEndResult payByCard(const QVariantList& request, const QString& paymentId,
                                         const QString& token) = 0;
    // What became of a payment: "none" tells that it was not made and now
    // never will be.
    virtual CardFrontEndResult paymentStatus(const QString& paymentId) = 0;
    virtual CardFrontEndResult reverseCharge(const QString& paymentId) = 0;
};

class CardFrontEndClient : public CardFrontEnd {
public:
    explicit CardFrontEndClient(CardFrontEndSettings settings);

    CardFrontEndResult queryCard(const QVariantList& request) override;
    CardFrontEndResult payByCard(const QVariantList& request, const QString& paymentId,
                                 const QString& token) override;
    CardFrontEndResult paymentStatus(const QString& paymentId) override;
    CardFrontEndResult reverseCharge(const QString& paymentId) override;
    // The front-end's charges of `day` (YYYYMMDD) for closing the day: one
    // map per charge in `answer`.
    CardFrontEndResult journalForDay(const QString& day);

    // Path of the JSON-RPC endpoint.
    static constexpr const char* Path = "/rpc";

private:
    enum class Expect { Nothing, Answer, State, Entries };
    CardFrontEndResult call(const char* method, const QVariantList& request, Expect expect,
                            const QVariantMap& context = QVariantMap());

    CardFrontEndSettings settings_;
    long long nextId_ = 1;
};

} // namespace qiantai
