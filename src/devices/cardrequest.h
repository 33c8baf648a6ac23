// Card-terminal request and response byte layouts (GBK), without any window.
#pragma once

#include <QByteArray>
#include <QString>

namespace qiantai {

// Widths in bytes of the request's fields, in their order.
struct CardRequestWidths {
    static constexpr int TransactionType = 2;
    static constexpr int Amount = 12;
    static constexpr int Reserved1 = 8;
    static constexpr int Reserved2 = 6;
    static constexpr int Reserved3 = 6;
    static constexpr int StationNo = 8;
    static constexpr int CashierCode = 6;
    static constexpr int FirstPiece = 37;
    static constexpr int SecondPiece = 104;
    static constexpr int Total = 189; // when every value fits its width
};

struct SwipePieces {
    QString first;  // card number
    QString second; // the digits after the separator
};

// Splits the swiped text: ";" and "?" are dropped, "=" and "+" separate the
// pieces, each piece is trimmed. Fewer than two pieces give two empty ones.
SwipePieces SplitSwipe(const QString& swipeText);

// The amount in fen, fraction dropped; read on the amount's decimal form so
// that 0.29 gives 29, not 28.
qint64 AmountToFen(double amount);

// The request passed to CardTrans. `amountFen` goes into the amount field as
// it is (the field carries fen); texts are blank-padded on the right and never
// cut, so a long value moves the later fields.
QByteArray BuildCardRequest(const QString& firstPiece, const QString& secondPiece, qint64 amountFen,
                            const QString& cashierCode, const QString& stationNo = QString());

// What the module reads from a terminal's response.
struct CardResponse {
    QString code;   // bytes 1-6; "000000" = approved
    QString khxx;   // bytes 9-28, trimmed
    QString gxx3;   // bytes 33-38, trimmed
    QString gxx2;   // bytes 80-91, trimmed
    QString code1;  // byte 1
    QString code56; // bytes 5-6

    bool approved() const { return code == QLatin1String("000000"); }
    // "PCA" when approved, otherwise byte 1 followed by bytes 5-6.
    QString transactionCode() const;
};

CardResponse ParseCardResponse(const QByteArray& response);

} // namespace qiantai
