#include "terminalrules.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>

namespace qiantai::cardterm {

namespace {

constexpr int AmountStart = 2;
constexpr int AmountWidth = 12;
constexpr int ReservedEnd = 34; // bytes 15-34 are blanks
constexpr int StationWidth = 8;
constexpr int CashierWidth = 6;
constexpr int FirstPieceWidth = 37;
constexpr int SecondPieceWidth = 104;
constexpr std::size_t FixedLength = 189;

bool AllDigits(const std::string& s)
{
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::string RightTrimmed(std::string s)
{
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

// Reads a field of `width` bytes at `pos`. When the request is longer than the
// fixed layout (`spare` bytes longer), a field whose bytes are all taken and
// go on without a blank is taken as longer than its width.
std::string ReadField(const std::string& text, std::size_t& pos, int width, std::size_t& spare)
{
    std::size_t end = pos + std::size_t(width);
    if (spare > 0 && text[end - 1] != ' ') {
        while (spare > 0 && end < text.size() && text[end] != ' ') {
            ++end;
            --spare;
        }
    }
    std::string value = RightTrimmed(text.substr(pos, end - pos));
    pos = end;
    return value;
}

std::string Padded(std::string s, std::size_t width)
{
    s.resize(std::max(s.size(), width), ' ');
    return s;
}

} // namespace

bool LoadTerminalConfig(const std::string& path, TerminalConfig* config, std::string* error)
{
    std::ifstream in(path);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    const nlohmann::json json = nlohmann::json::parse(in, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        *error = path + " is not a JSON object";
        return false;
    }
    TerminalConfig c;
    if (json.contains("amountLimit")) {
        if (!json["amountLimit"].is_number()) {
            *error = "amountLimit is not a number";
            return false;
        }
        c.amountLimitFen = std::llround(json["amountLimit"].get<double>() * 100);
    }
    if (json.contains("declinedCards")) {
        if (!json["declinedCards"].is_array()) {
            *error = "declinedCards is not a list";
            return false;
        }
        for (const auto& card : json["declinedCards"]) {
            if (card.is_string())
                c.declinedCards.insert(card.get<std::string>());
        }
    }
    if (json.contains("logFile") && json["logFile"].is_string())
        c.logFile = json["logFile"].get<std::string>();
    *config = c;
    return true;
}

bool ParseTerminalRequest(const std::string& request, TerminalRequest* parsed, std::string* error)
{
    if (request.size() < FixedLength) {
        *error = "request shorter than " + std::to_string(FixedLength) + " bytes";
        return false;
    }
    if (request.compare(0, 2, "00") != 0) {
        *error = "transaction type is not 00";
        return false;
    }
    const std::string amount = request.substr(AmountStart, AmountWidth);
    if (!AllDigits(amount)) {
        *error = "amount field is not 12 digits";
        return false;
    }
    for (int i = AmountStart + AmountWidth; i < ReservedEnd; ++i) {
        if (request[std::size_t(i)] != ' ') {
            *error = "reserved fields are not blank";
            return false;
        }
    }
    TerminalRequest r;
    r.amountFen = std::stoll(amount);
    std::size_t spare = request.size() - FixedLength;
    std::size_t pos = ReservedEnd;
    r.stationNo = ReadField(request, pos, StationWidth, spare);
    r.cashierCode = ReadField(request, pos, CashierWidth, spare);
    r.firstPiece = ReadField(request, pos, FirstPieceWidth, spare);
    r.secondPiece = RightTrimmed(request.substr(pos));
    if (request.size() - pos < std::size_t(SecondPieceWidth)) {
        *error = "second swipe field shorter than its width";
        return false;
    }
    *parsed = r;
    return true;
}

TerminalDecision Decide(const TerminalConfig& config, const TerminalRequest& request)
{
    TerminalDecision d;
    d.amountFen = request.amountFen;
    d.maskedCard = MaskCard(request.firstPiece);
    const std::size_t length = request.firstPiece.size();
    if (!AllDigits(request.firstPiece) || length < 12 || length > 19)
        d.code = InvalidCard;
    else if (request.amountFen <= 0)
        d.code = InvalidAmount;
    else if (config.declinedCards.count(request.firstPiece) != 0)
        d.code = DeclinedCard;
    else if (request.amountFen > config.amountLimitFen)
        d.code = OverLimit;
    else
        d.code = Approved;
    return d;
}

std::string MaskCard(const std::string& cardNo)
{
    if (cardNo.size() <= 4)
        return std::string(cardNo.size(), '*');
    return std::string(cardNo.size() - 4, '*') + cardNo.substr(cardNo.size() - 4);
}

std::string BuildTerminalResponse(const TerminalDecision& decision, const std::string& authCode,
                                  const std::string& reference)
{
    const bool approved = decision.code == Approved;
    std::string amount = std::to_string(std::max(0LL, decision.amountFen));
    if (amount.size() < 12)
        amount.insert(0, 12 - amount.size(), '0');
    std::string response = Padded(decision.code, 6) + "  ";          // 1-8
    response += Padded(decision.maskedCard.substr(0, 20), 20);       // 9-28
    response += "    ";                                              // 29-32
    response += Padded(approved ? authCode.substr(0, 6) : "", 6);    // 33-38
    response += amount.substr(amount.size() - 12);                   // 39-50
    response += std::string(29, ' ');                                // 51-79
    response += Padded(approved ? reference.substr(0, 12) : "", 12); // 80-91
    return response;
}

} // namespace qiantai::cardterm
