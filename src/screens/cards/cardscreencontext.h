// What the card payment screens talk to: the session, the host, the card
// front-end services, the card terminal, the information box and the clock.
// Tests fill it with fakes; CardScreenEnvironment fills it for the station.
#pragma once

#include "hostcalls/hostservice.h"
#include "screens/cards/cardservices.h"

#include <QDateTime>

#include <functional>
#include <memory>

class QWidget;

namespace qiantai {

class CardTerminal;
struct SaleSession;

struct CardScreenContext {
    SaleSession* session = nullptr;
    HostService* host = nullptr;
    CardServices* cards = nullptr;
    CardTerminal* terminal = nullptr; // bank card screen only
    CardServices::ShowMessage show;
    std::function<QDateTime()> now;

    // Shows a statement.
    void Show(const QVariant& message, const QString& caption = QString()) const;
    QDateTime Now() const;
};

// The station's own: the session's host object, the card front-end named by
// the session (Yckqzj) with the station INI's [CardFrontEnd] settings, the
// card-terminal library of [CardTerminal] Library, and the information box
// owned by `owner`.
class CardScreenEnvironment {
public:
    explicit CardScreenEnvironment(QWidget* owner);
    ~CardScreenEnvironment();
    CardScreenEnvironment(const CardScreenEnvironment&) = delete;
    CardScreenEnvironment& operator=(const CardScreenEnvironment&) = delete;

    const CardScreenContext& context() const { return context_; }

private:
    std::unique_ptr<HostService> host_;
    std::unique_ptr<CardServices> cards_;
    std::unique_ptr<CardTerminal> terminal_;
    CardScreenContext context_;
};

} // namespace qiantai
