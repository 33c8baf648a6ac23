// A PosPrinter that speaks ESC/POS to a raw network printer, a printer device
// or a file.
//
// Bytes sent: ESC @ (initialise) and, for a Chinese double-byte encoding,
// FS & (Chinese character mode) before the first text after each enabling
// and on every new connection (a printer switched off and on forgets them);
// then the text of every PrintNormal in the configured encoding exactly as
// given, line feeds included; GS V (cut) only when CutPaper is called, which
// the receipt does after its closing paper feeds.
#pragma once

#include "devices/posprinter.h"
#include "devices/printerlink.h"

#include <QString>

#include <functional>
#include <memory>

namespace qiantai {

// Maps a device name ("OmronPrinter") to its printer URI; empty when the
// name is unknown.
using PrinterResolver = std::function<QString(const QString& deviceName)>;

struct EscPosSettings {
    QString encoding = QStringLiteral("GBK");
    PrinterLinkTimeouts timeouts;
};

class EscPosPrinter : public PosPrinter {
public:
    explicit EscPosPrinter(PrinterResolver resolver, EscPosSettings settings = {});
    ~EscPosPrinter() override;

    // opos::EIllegal when already open, ENoExist for an unknown name,
    // ENoService for a URI or encoding that cannot serve, and the link's code
    // when the printer cannot be reached.
    long Open(const QString& deviceName) override;
    long Claim(int timeoutMs) override;
    long SetDeviceEnabled(bool enabled) override;
    bool DeviceEnabled() const override { return enabled_; }
    bool Claimed() const override { return claimed_; }
    // Only the receipt station exists; other stations are opos::EIllegal.
    long PrintNormal(int station, const QString& text) override;
    long CutPaper(int percentage) override;
    // A network printer is asked DLE EOT 1, 2 and 4 (after the pending
    // set-up); a file, a device or a printer that does not answer is ready.
    long CheckStatus() override;
    long ResultCodeExtended() const override { return extended_; }
    long Release() override;
    long Close() override;

private:
    // opos::Success when enabled, else the state's error code.
    long ready() const;
    // Writes `bytes` after the pending initialisation.
    long send(const QByteArray& bytes);
    QByteArray encode(const QString& text) const;

    PrinterResolver resolver_;
    EscPosSettings settings_;
    std::unique_ptr<PrinterLink> link_;
    bool claimed_ = false;
    bool enabled_ = false;
    bool initPending_ = false;
    int initConnection_ = 0; // the link's connection the set-up went to
    long extended_ = 0;
};

} // namespace qiantai
