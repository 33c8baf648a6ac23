#include "screens/sales/saleskeys.h"

#include <Qt>

namespace qiantai {

SalesKeyAction DecideSalesKey(int key, const SalesKeyState& state)
{
    switch (key) {
    case Qt::Key_F1:
        return state.hasLines ? SalesKeyAction::Checkout : SalesKeyAction::None;
    case Qt::Key_F3:
        return SalesKeyAction::Discount;
    case Qt::Key_F4:
        return state.cursorOnLine ? SalesKeyAction::DeleteLine : SalesKeyAction::None;
    case Qt::Key_F5:
        return SalesKeyAction::DeleteAll;
    case Qt::Key_F6:
        return state.hasLines ? SalesKeyAction::RefuseNewDocument : SalesKeyAction::NewDocument;
    case Qt::Key_F10:
        return state.hasSystemTools ? SalesKeyAction::SystemTools : SalesKeyAction::None;
    case Qt::Key_Escape:
        return state.hasLines ? SalesKeyAction::RefuseExit : SalesKeyAction::ExitQuestion;
    default:
        return SalesKeyAction::None;
    }
}

QString DeleteLineQuestion()
{
    return QStringLiteral("真的要删除当前行记录吗？");
}

QString DeleteAllQuestion()
{
    return QStringLiteral("真的要删除全部记录吗？");
}

QString NewDocumentRefusedText()
{
    return QStringLiteral("已经有销售数据不能修改销售参数！");
}

QString ExitRefusedText()
{
    return QStringLiteral("已经有销售数据不能退出！");
}

} // namespace qiantai
