// A receipt printer seen the UnifiedPOS way: open by device name, claim,
// enable, print, release, close. Every call answers a UnifiedPOS result code;
// none throws.
#pragma once

#include <QString>

namespace qiantai {

// UnifiedPOS result codes.
namespace opos {
constexpr long Success = 0;       // OPOS_SUCCESS
constexpr long EClosed = 101;     // OPOS_E_CLOSED: the device is not open
constexpr long EClaimed = 102;    // OPOS_E_CLAIMED: claimed by another
constexpr long ENotClaimed = 103; // OPOS_E_NOTCLAIMED: claim it first
constexpr long ENoService = 104;  // OPOS_E_NOSERVICE: configuration error
constexpr long EDisabled = 105;   // OPOS_E_DISABLED: enable it first
constexpr long EIllegal = 106;    // OPOS_E_ILLEGAL: not allowed in this state or bad argument
constexpr long ENoHardware = 107; // OPOS_E_NOHARDWARE: not connected or not powered on
constexpr long EOffline = 108;    // OPOS_E_OFFLINE
constexpr long ENoExist = 109;    // OPOS_E_NOEXIST: unknown device name
constexpr long EExists = 110;     // OPOS_E_EXISTS
constexpr long EFailure = 111;    // OPOS_E_FAILURE: connected, but the request failed
constexpr long ETimeout = 112;    // OPOS_E_TIMEOUT
constexpr long EBusy = 113;       // OPOS_E_BUSY
constexpr long EExtended = 114;   // OPOS_E_EXTENDED

// ResultCodeExtended of a printer when a call answers EExtended.
constexpr long EptrCoverOpen = 201; // OPOS_EPTR_COVER_OPEN
constexpr long EptrRecEmpty = 203;  // OPOS_EPTR_REC_EMPTY: the receipt paper ran out

constexpr int Forever = -1; // OPOS_FOREVER: Claim waits without limit

// Printer stations.
constexpr int StationJournal = 1; // PTR_S_JOURNAL
constexpr int StationReceipt = 2; // PTR_S_RECEIPT
constexpr int StationSlip = 4;    // PTR_S_SLIP

constexpr int FullCut = 100; // PTR_CP_FULLCUT
} // namespace opos

// State rules: Open once; Claim needs an open device; DeviceEnabled can be
// set only while claimed; PrintNormal and CutPaper need an enabled device;
// Release drops the claim (and disables); Close disables, releases and
// closes.
class PosPrinter {
public:
    virtual ~PosPrinter() = default;

    virtual long Open(const QString& deviceName) = 0;
    // Exclusive access; `timeoutMs` is at least opos::Forever.
    virtual long Claim(int timeoutMs) = 0;
    virtual long SetDeviceEnabled(bool enabled) = 0;
    virtual bool DeviceEnabled() const = 0;
    virtual bool Claimed() const = 0;
    // Prints `text` as given (line feeds included) on `station`.
    virtual long PrintNormal(int station, const QString& text) = 0;
    // Cuts the paper: opos::FullCut or a partial cut for 1..99.
    virtual long CutPaper(int percentage) = 0;
    // Asks the printer's real-time state: opos::Success when it is ready or
    // cannot say, else EOffline or EExtended with ResultCodeExtended().
    virtual long CheckStatus() { return opos::Success; }
    // The extended code of the last call that answered EExtended.
    virtual long ResultCodeExtended() const { return 0; }
    virtual long Release() = 0;
    virtual long Close() = 0;
};

} // namespace qiantai
