// GBK text at the module's edges: inside, text is QString.
#pragma once

#include <QByteArray>
#include <QString>

namespace qiantai {

QByteArray ToGbk(const QString& text);
QString FromGbk(const QByteArray& bytes);
// Width of `text` in GBK bytes: a Chinese character counts two.
int GbkWidth(const QString& text);

} // namespace qiantai
