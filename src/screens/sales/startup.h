// The sales screen's start-up: the checks that decide whether this store may
// sell today and the loading of the store context into the session. No
// window is involved; the screen shows the stop message.
#pragma once

#include "hostcalls/hostservice.h"
#include "hostcalls/sysparams.h"
#include "hostcalls/vornaclass.h"

#include <QString>
#include <QVariant>

#include <functional>

namespace qiantai {

struct SaleSession;
class SystemClock;

// Where a stop message goes.
enum class StopBox {
    Information, // the information box, a statement
    System,      // the system message box with an error icon
};

struct StartupStop {
    QVariant message; // a text, or the host's array of texts
    QString caption;
    StopBox box = StopBox::Information;
};

// What the start-up needs beyond the host.
struct StartupServices {
    // Loads a report template text into the screen's receipt report; false
    // with the engine's error. Empty: the template rows are only checked.
    std::function<bool(const QString& templateText, QString& error)> loadReport;
    // Opens the receipt printer in printer mode ("Open", "Claim", enable);
    // false with the stop to show. Empty: printer mode cannot start.
    std::function<bool(SaleSession& session, StartupStop& stop)> openPrinter;
    // The local clock set from the server's time; null: not set.
    SystemClock* clock = nullptr;
    bool clockSync = true; // [Clock] Sync of the station INI
    // The parameter loader's warning when the database type is not known.
    TVornaClass::WarningCallback warn;
};

class SalesStartup {
public:
    SalesStartup(SaleSession& session, StartupServices services);

    // Runs every step in order; false at the first stop (Stop() says which)
    // with nothing further done.
    bool Run();

    const StartupStop& Stop() const { return stop_; }
    const TSysParamRecord& Params() const { return params_; }

    // Statements of the steps, exactly as sent.
    static QString ServerDateStatement(const QString& databaseType);
    static QString SysmsgStatement(const char* key);
    static QString UniqueIndexProbe(const QString& yearMonth);
    static QString UniqueIndexCreate(const QString& yearMonth);

private:
    bool steps();
    bool loadParameters();
    bool checkServerMonth();
    bool readSysmsgValues();
    bool loadDepartment();
    bool loadOperator();
    bool loadDistributionCentre();
    bool loadReceiptMode();
    bool loadTemplates(const QString& category, const char* missingMessage, DataPacket& into);
    void ensureUniqueIndex();
    void syncClock();
    void buildCollections();

    // Reads one tbSysmsg value: true with `value` set when the host gave a
    // non-blank f_Csz; false (default kept) otherwise. A raised call stops.
    bool readSysmsg(const char* key, QString& value, bool& stopped);

    bool stopWith(const QVariant& message, const QString& caption = QString());
    bool stopWithHostError(const QString& caption = QString());

    SaleSession& s_;
    StartupServices services_;
    HostService host_;
    TSysParamRecord params_;
    StartupStop stop_;
};

// The caption of start-up stops unless a step names another.
QString StartupErrorCaption(); // "错误提示"
QString StartupFaultCaption(); // "出错提示"

} // namespace qiantai
