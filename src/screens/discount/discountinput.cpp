#include "screens/discount/discountinput.h"

namespace qiantai {

bool IsDiscountInputChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || u == u'.' || u == u'-' || u == u'\b';
}

} // namespace qiantai
