#include "devices/cardterminal.h"

#include "base/logcategories.h"
#include "qiantai/cardtrans.h"

#include <dlfcn.h>

#include <cstring>
#include <vector>

namespace qiantai {

namespace {

QString LastDlError()
{
    const char* text = dlerror();
    return text != nullptr ? QString::fromLocal8Bit(text) : QString();
}

} // namespace

LibraryCardTerminal::LibraryCardTerminal(CardTerminalSettings settings) : settings_(std::move(settings))
{
    if (settings_.library.trimmed().isEmpty())
        settings_.library = CardTerminalSettings().library;
}

LibraryCardTerminal::~LibraryCardTerminal()
{
    if (handle_ != nullptr)
        dlclose(handle_);
}

bool LibraryCardTerminal::load(QString* error)
{
    if (cardTrans_ != nullptr)
        return true;
    dlerror();
    if (handle_ == nullptr) {
        handle_ = dlopen(settings_.library.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr) {
            *error = QStringLiteral("无法加载卡终端库 %1: %2").arg(settings_.library, LastDlError());
            qCWarning(lcTerminal) << "cannot load" << settings_.library;
            return false;
        }
    }
    dlerror();
    cardTrans_ = dlsym(handle_, "CardTrans");
    if (cardTrans_ == nullptr) {
        *error = QStringLiteral("卡终端库 %1 中没有 CardTrans: %2").arg(settings_.library, LastDlError());
        qCWarning(lcTerminal) << "no CardTrans in" << settings_.library;
        return false;
    }
    return true;
}

CardTerminalResult LibraryCardTerminal::transact(const QByteArray& request)
{
    CardTerminalResult result;
    if (!load(&result.error))
        return result;
    auto cardTrans = reinterpret_cast<CardTransFunction>(cardTrans_);
    std::vector<char> buffer(ResponseCapacity, '\0');
    const int rc = cardTrans(buffer.data(), int(buffer.size()), request.constData());
    buffer.back() = '\0';
    if (rc < 0) {
        result.error = QStringLiteral("卡终端库 %1 未返回应答(%2)").arg(settings_.library).arg(rc);
        qCWarning(lcTerminal) << "CardTrans failed with" << rc;
        return result;
    }
    result.ok = true;
    result.response = QByteArray(buffer.data(), int(strnlen(buffer.data(), buffer.size())));
    // The response code only: the rest may carry card data.
    qCInfo(lcTerminal) << "CardTrans answered" << result.response.left(6);
    return result;
}

} // namespace qiantai
