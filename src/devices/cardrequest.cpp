#include "devices/cardrequest.h"

#include "base/commonhelpers.h"
#include "base/gbk.h"
#include "base/money.h"
#include "base/numbers.h"

#include <QStringList>

#include <cmath>

namespace qiantai {

namespace {

// Blank-padded on the right to `width` bytes; a longer value stays whole.
QByteArray PadField(const QString& text, int width)
{
    return ToGbk(PadText(text, width, 1));
}

QString Slice(const QByteArray& bytes, int firstPosition, int lastPosition)
{
    return FromGbk(bytes.mid(firstPosition - 1, lastPosition - firstPosition + 1));
}

} // namespace

SwipePieces SplitSwipe(const QString& swipeText)
{
    QString text = swipeText;
    text.remove(QLatin1Char(';')).remove(QLatin1Char('?'));
    text.replace(QLatin1Char('='), QLatin1Char('\t')).replace(QLatin1Char('+'), QLatin1Char('\t'));
    QStringList pieces;
    SplitText(QStringLiteral("\t"), text, pieces);
    if (pieces.size() < 2)
        return {};
    return {pieces.at(0), pieces.at(1)};
}

qint64 AmountToFen(double amount)
{
    if (!std::isfinite(amount))
        return 0;
    return qint64(std::trunc(RoundTo(amount * 100, 6)));
}

QByteArray BuildCardRequest(const QString& firstPiece, const QString& secondPiece, qint64 amountFen,
                            const QString& cashierCode, const QString& stationNo)
{
    using W = CardRequestWidths;
    QByteArray request("00");
    // A negative amount has no place in the field: 0.
    request += PadNumber(W::Amount, true, qMax<qint64>(0, amountFen)).toLatin1();
    request += QByteArray(W::Reserved1 + W::Reserved2 + W::Reserved3, ' ');
    request += PadField(stationNo, W::StationNo);
    request += PadField(cashierCode, W::CashierCode);
    request += PadField(firstPiece, W::FirstPiece);
    request += PadField(secondPiece, W::SecondPiece);
    return request;
}

QString CardResponse::transactionCode() const
{
    return approved() ? QStringLiteral("PCA") : code1 + code56;
}

CardResponse ParseCardResponse(const QByteArray& response)
{
    CardResponse r;
    r.code = Slice(response, 1, 6);
    r.code1 = Slice(response, 1, 1);
    r.code56 = Slice(response, 5, 6);
    r.khxx = Slice(response, 9, 28).trimmed();
    r.gxx3 = Slice(response, 33, 38).trimmed();
    r.gxx2 = Slice(response, 80, 91).trimmed();
    return r;
}

} // namespace qiantai
