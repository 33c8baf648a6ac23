// The bank card terminal: a library loaded at run time that exports CardTrans.
#pragma once

#include <QByteArray>
#include <QString>

namespace qiantai {

struct CardTerminalSettings {
    // A bare name is looked up the way the dynamic linker looks up libraries;
    // a name with a "/" is a path.
    QString library = QStringLiteral("libsldll.so");
};

struct CardTerminalResult {
    bool ok = false;     // the library answered
    QByteArray response; // its response bytes (GBK)
    QString error;       // why there is no response
};

// Seen by the bank card screen; tests put a fake in its place.
class CardTerminal {
public:
    virtual ~CardTerminal() = default;
    // One transaction: the request bytes in, the response bytes out.
    virtual CardTerminalResult transact(const QByteArray& request) = 0;
};

// Loads the library on first use and keeps it loaded until destroyed.
class LibraryCardTerminal : public CardTerminal {
public:
    explicit LibraryCardTerminal(CardTerminalSettings settings = {});
    ~LibraryCardTerminal() override;
    LibraryCardTerminal(const LibraryCardTerminal&) = delete;
    LibraryCardTerminal& operator=(const LibraryCardTerminal&) = delete;

    // Loads the library and finds CardTrans; false with the reason otherwise.
    bool load(QString* error);
    CardTerminalResult transact(const QByteArray& request) override;

    // Size of the response buffer handed to CardTrans.
    static constexpr int ResponseCapacity = 1024;

private:
    CardTerminalSettings settings_;
    void* handle_ = nullptr;
    void* cardTrans_ = nullptr;
};

} // namespace qiantai
