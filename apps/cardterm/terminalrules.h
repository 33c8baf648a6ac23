// The card-terminal simulator's rules: request parsing, approval, response.
#pragma once

#include <set>
#include <string>

namespace qiantai::cardterm {

struct TerminalConfig {
    long long amountLimitFen = 5000000; // 50000.00
    std::set<std::string> declinedCards;
    std::string logFile; // empty: standard error
};

// Reads the JSON configuration:
//   {"amountLimit": 50000.00, "declinedCards": ["6222..."], "logFile": "..."}
// Every key is optional. False with the reason when the file cannot be read.
bool LoadTerminalConfig(const std::string& path, TerminalConfig* config, std::string* error);

struct TerminalRequest {
    long long amountFen = 0;
    std::string stationNo;
    std::string cashierCode;
    std::string firstPiece;
    std::string secondPiece;
};

// Parses the fixed-field request; a field longer than its width moves the
// later ones. False with the reason when the layout is broken.
bool ParseTerminalRequest(const std::string& request, TerminalRequest* parsed, std::string* error);

// Response codes.
constexpr const char* Approved = "000000";
constexpr const char* FormatError = "E00030";
constexpr const char* InvalidAmount = "E00013";
constexpr const char* InvalidCard = "D00014";
constexpr const char* DeclinedCard = "D00005";
constexpr const char* OverLimit = "D00061";
constexpr const char* ConfigError = "E00096";

struct TerminalDecision {
    std::string code;
    std::string maskedCard; // last four digits only
    long long amountFen = 0;
};

TerminalDecision Decide(const TerminalConfig& config, const TerminalRequest& request);

// "************1234": never more than the last four digits.
std::string MaskCard(const std::string& cardNo);

// The response text: code (1-6), masked card (9-28), authorisation code
// (33-38), amount in fen (39-50), reference number (80-91).
std::string BuildTerminalResponse(const TerminalDecision& decision, const std::string& authCode,
                                  const std::string& reference);

} // namespace qiantai::cardterm
