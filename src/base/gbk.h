// GBK text at the module's edges: inside, text is QString.
#pragma once

#include <QByteArray>
#include <QString>

namespace qiantai {

// `text` as GBK can carry it: a character with a GBK look-alike takes it
// (¥ becomes ￥, • becomes ·) and every other character without a GBK form
// (€, ™, emoji, a lone surrogate) becomes one "?". Receipts print this, so
// widths counted on it match the paper.
QString GbkPrintable(const QString& text);

// GbkPrintable(text) in GBK bytes: never a byte that is not GBK.
QByteArray ToGbk(const QString& text);
QString FromGbk(const QByteArray& bytes);
// Width of `text` in GBK bytes as ToGbk writes it: a Chinese character
// counts two.
int GbkWidth(const QString& text);

} // namespace qiantai
