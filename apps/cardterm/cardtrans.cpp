// libsldll.so: the card-terminal simulator's one export.
#include "qiantai/cardtrans.h"

#include "terminalrules.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <mutex>
#include <string>

namespace {

using namespace qiantai::cardterm;

std::atomic<unsigned> transactionCounter{0};
std::mutex logMutex;

// One line per transaction; card data only as its last four digits.
void Log(const TerminalConfig& config, const std::string& line)
{
    std::lock_guard<std::mutex> lock(logMutex);
    if (config.logFile.empty()) {
        std::cerr << "cardterm: " << line << std::endl;
        return;
    }
    std::ofstream out(config.logFile, std::ios::app);
    out << line << '\n';
}

std::string Answer(const TerminalConfig& config, const char* request)
{
    TerminalRequest parsed;
    std::string error;
    if (!ParseTerminalRequest(request, &parsed, &error)) {
        Log(config, "request refused: " + error);
        return BuildTerminalResponse({FormatError, "", 0}, "", "");
    }
    const TerminalDecision decision = Decide(config, parsed);
    const unsigned n = ++transactionCounter;
    char auth[8];
    std::snprintf(auth, sizeof auth, "%06u", (n * 7919u + 104729u) % 1000000u);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char reference[16];
    std::snprintf(reference, sizeof reference, "%02d%02d%02d%06u", local.tm_hour, local.tm_min, local.tm_sec,
                  n % 1000000u);
    Log(config, "card " + decision.maskedCard + " amount(fen) " + std::to_string(parsed.amountFen) +
                    " cashier " + parsed.cashierCode + " -> " + decision.code);
    return BuildTerminalResponse(decision, auth, reference);
}

} // namespace

extern "C" int CardTrans(char* response, int responseSize, const char* request)
{
    if (response == nullptr || responseSize <= 0 || request == nullptr)
        return -1;
    response[0] = '\0';
    TerminalConfig config;
    std::string text;
    const char* path = std::getenv("QIANTAI_CARDTERM_CONFIG");
    std::string error;
    if (path != nullptr && *path != '\0' && !LoadTerminalConfig(path, &config, &error)) {
        Log(config, "configuration: " + error);
        text = BuildTerminalResponse({ConfigError, "", 0}, "", "");
    } else {
        text = Answer(config, request);
    }
    if (int(text.size()) >= responseSize)
        return -2;
    std::memcpy(response, text.c_str(), text.size() + 1);
    return int(text.size());
}
