// Rules of the input dialog that need no window: its two colours, which
// persist between calls, and its measured layout.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <stdexcept>

namespace qiantai {

// Windows colour numbers (0x00BBGGRR).
struct InputDialogColors {
    qint32 line = 0x008000;
    qint32 back = 0xDEFEFB;
};

// The module-wide colours, kept between dialogs; they start at the initial
// values above.
InputDialogColors& InputDialogColorState();

// A [ColorOption] value that is not a whole number.
class IniValueError : public std::runtime_error {
public:
    IniValueError(const QString& key, const QString& value);
    QString key() const { return key_; }
    QString value() const { return value_; }
    QString text() const { return QString::fromUtf8(what()); }

private:
    QString key_;
    QString value_;
};

// A whole number as the colour keys are written: decimal with an optional
// sign, or hexadecimal after "$" or "0x"; within 32 bits.
bool ParseIniInteger(const QString& text, qint32& value);

// The colours after reading [ColorOption]: unchanged when `colorstyle` is
// "0"; otherwise both numbers replace them. Throws IniValueError (and changes
// nothing) when either number is not a whole number.
InputDialogColors NextInputDialogColors(const InputDialogColors& current, const QString& colorstyle,
                                        const QString& linecolor, const QString& backcolor);
// Reads [ColorOption] of the station INI (colorstyle "0", linecolor
// "12349763", backcolor "15528176" by default) into InputDialogColorState()
// and returns the colours; throws IniValueError.
InputDialogColors LoadInputDialogColors();

// A Windows colour number as a QColor; the high byte is ignored.
QColor WindowsColor(qint32 bgr);

// round(number * unit / divisor), halves away from zero.
int MulDivRound(int number, int unit, int divisor);

// Positions in pixels computed from the dialog font: x is the average width
// of the letters A-Z and a-z, y their height.
struct InputDialogLayout {
    QSize client;
    QPoint prompt;
    int editLeft = 0;
    int editTop = 0;
    int editWidth = 0; // the edit keeps its default height
    QRect okButton;
    QRect cancelButton;
};
// x = width of the 52 letters / 52 (whole pixels), y = their height.
InputDialogLayout ComputeInputDialogLayout(int lettersWidth, int letterHeight);

// The 52 letters measured for the layout.
QString InputMeasureLetters();

} // namespace qiantai
