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
    bool tls = false;
    // PEM file of the certificate authorities trusted with TLS; empty: the
    // system's.
    QString caFile;
};

// Fills host and port of `settings` from the front-end's machine name
// ("host", "host:port", "[v6-address]:port"); the port stays when the name
// gives none. False (settings unchanged) when the name is empty or its port
// is not a number from 1 to 65535.
bool ApplyFrontEndAddress(const QString& machine, CardFrontEndSettings* settings);

enum class CardFrontEndStatus {
    Ok,               // done; `answer` holds a query's answer
    Refused,          // the front-end said no; `refusal` holds its text(s)
    ConnectionFailed, // no answer: `error` is the reason (connect, time-out, TLS)
    BadAnswer,        // an answer that is not what the contract says; `error`
};

struct CardFrontEndResult {
    CardFrontEndStatus status = CardFrontEndStatus::BadAnswer;
    QVariantList answer; // QueryCard: the elements; index 0 is unused
    QVariant refusal;    // a text or a list of texts
    QString error;

    bool ok() const { return status == CardFrontEndStatus::Ok; }
};

// Seen by the card screens; tests put a fake in its place.
class CardFrontEnd {
public:
    virtual ~CardFrontEnd() = default;
    virtual CardFrontEndResult queryCard(const QVariantList& request) = 0;
    virtual CardFrontEndResult payByCard(const QVariantList& request) = 0;
};

class CardFrontEndClient : public CardFrontEnd {
public:
    explicit CardFrontEndClient(CardFrontEndSettings settings);

    CardFrontEndResult queryCard(const QVariantList& request) override;
    CardFrontEndResult payByCard(const QVariantList& request) override;

    // Path of the JSON-RPC endpoint.
    static constexpr const char* Path = "/rpc";

private:
    CardFrontEndResult call(const char* method, const QVariantList& request, bool expectAnswer);

    CardFrontEndSettings settings_;
    long long nextId_ = 1;
};

} // namespace qiantai
