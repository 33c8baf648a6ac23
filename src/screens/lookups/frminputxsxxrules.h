// Rules of the sales method picker and the sales information dialog: the
// counter group, salesperson and warehouse checks against the archives.
#pragma once

#include <QString>

namespace qiantai {

class HostService;
struct SaleSession;

// Picker texts "[0] 门店自提销售" ... and the label "选择[n]项".
QString SalesMethodOptionText(int xsfs);
QString SalesMethodChoiceText(int xsfs);
constexpr int SalesMethodCount = 4;
// Down from 3 wraps to 0, Up from 0 wraps to 3.
int NextSalesMethod(int xsfs);
int PreviousSalesMethod(int xsfs);

// The statement that finds a counter group: a lowest-level department inside
// the store's code range and not the store department itself.
QString CounterGroupStatement(const QString& dybm, const QString& code);
QString WarehouseStatement(const QString& code);

// The messages of the dialog, shown with the caption "提  示".
QString SalesInfoCaption();

// Trims `typed`; accepted: Gzbm and Gzmc set, true. Otherwise false with the
// message to show and nothing changed.
bool ApplyCounterGroupRule(HostService& host, SaleSession& s, const QString& typed, QString& message);

// Accepted only when the host answers True, the second text is "3" and the
// status is the number 1: then Yyybm and Yyymc are set. Silent either way.
bool ApplySalespersonRule(HostService& host, SaleSession& s, const QString& code);

enum class WarehouseOutcome {
    Empty,   // nothing typed: the dialog confirms, Ckbm as it was
    Found,   // Ckbm and Ckmc set
    Refused, // `message` says why; nothing changed
};
WarehouseOutcome ApplyWarehouseRule(HostService& host, SaleSession& s, const QString& typed,
                                    QString& message);

} // namespace qiantai
