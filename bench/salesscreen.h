// The module's sales screen opened in-process the way a store host opens
// it, over a benchmark store, on whatever Qt platform runs (offscreen).
#pragma once

#include "benchstore.h"
#include "benchtiming.h"

#include "qiantai/coordisp.h"

#include <QTemporaryDir>
#include <QWidget>

#include <memory>
#include <vector>

namespace qiantai {
class TFrmMain;
class TSaleGrid;
} // namespace qiantai

namespace qiantai::bench {

// The keys that begin a document: store pickup at counter group 0101,
// salesperson 1001.
extern const char* const BeginStorePickup;

// Passes every call on to the store host and notes how long each took.
class TimedHost : public RefCountedCoorDisp {
public:
    explicit TimedHost(ICoorDisp* inner) : inner_(inner) {}
    QVariant invoke(int dispId, QVariantList& args) override;

    void clearCalls() { calls_.clear(); }
    // Milliseconds spent in the calls since clearCalls() that ended by `until`.
    double msInsideUntil(Clock::time_point until) const;
    int calls() const { return int(calls_.size()); }

private:
    struct Call {
        Clock::time_point start, end;
    };
    CoorDispRef inner_;
    std::vector<Call> calls_;
};

class SalesScreen {
public:
    ~SalesScreen();
    SalesScreen(const SalesScreen&) = delete;
    SalesScreen& operator=(const SalesScreen&) = delete;

    // Opens the sales screen over `store` for cashier 0001 and begins a store
    // pickup at counter group 0101 with salesperson 1001. Receipts are text,
    // sent to a printer at 127.0.0.1:`printerPort`; recording does not
    // pause. Null with `error` set when the screen did not open.
    static std::unique_ptr<SalesScreen> Open(BenchStore& store, int printerPort, QString* error);

    TFrmMain& screen() const { return *screen_; }
    TSaleGrid& grid() const;
    TimedHost& host() const { return *host_; }

    // One key or the characters of `text`, sent at once to the widget that
    // has the keyboard.
    void key(int key) const;
    void type(const QString& text) const;
    void repaintGrid() const;
    // Types a key script through the key robot, also into the dialogs it
    // opens, and waits for its end.
    bool script(const QString& keys, QString* error) const;
    // Deletes every line of the document (F5, confirmed).
    bool clearLines(QString* error) const;
    int lineCount() const;

private:
    SalesScreen() = default;

    QTemporaryDir iniDir_;
    QWidget hostWindow_;
    QWidget hostControl_;
    TimedHost* host_ = nullptr;
    TFrmMain* screen_ = nullptr;
};

} // namespace qiantai::bench
