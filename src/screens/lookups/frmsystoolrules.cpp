#include "screens/lookups/frmsystoolrules.h"

#include <Qt>

namespace qiantai {

namespace {

constexpr int FooterGap = 40;

} // namespace

QString SysToolEntryText(int n, const QString& caption)
{
    return QStringLiteral("  [%1] ").arg(n) + caption;
}

QString SysToolSelectionText(int n)
{
    return QStringLiteral("选择[%1]项").arg(n);
}

int SysToolSelectionAfterKey(int current, int count, int key, const QString& text)
{
    if (count <= 0)
        return current;
    if (key == Qt::Key_Down)
        return current >= count - 1 ? 0 : current + 1;
    if (key == Qt::Key_Up)
        return current <= 0 ? count - 1 : current - 1;
    if (text.size() == 1 && text.at(0) >= QLatin1Char('1') && text.at(0) <= QLatin1Char('9')) {
        const int n = text.at(0).unicode() - '0';
        if (n <= count)
            return n - 1;
    }
    return current;
}

QPoint SysToolMenuPosition(const QRect& footer, QSize menu)
{
    return {footer.left() + footer.width() / 2 - menu.width() / 2,
            footer.bottom() + 1 - FooterGap - menu.height()};
}

QPoint SysToolScreenPosition(const QRect& footer, QSize menu, QSize screen)
{
    return {footer.left() + footer.width() / 2 - screen.width() / 2,
            footer.bottom() + 1 - menu.height() - FooterGap};
}

} // namespace qiantai
