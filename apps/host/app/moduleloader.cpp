#include "moduleloader.h"

#include "base/gbk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace qiantai::host {

QByteArray OperatorShortString(const QString& text)
{
    QByteArray bytes = ToGbk(text).left(255);
    bytes.prepend(char(static_cast<unsigned char>(bytes.size())));
    return bytes;
}

Result<> ModuleLoader::load()
{
    QStringList candidates;
    const QString named = qEnvironmentVariable("QIANTAI_MODULE");
    if (!named.isEmpty()) {
        candidates.append(named);
    } else {
        const QDir bin(QCoreApplication::applicationDirPath());
        candidates << bin.filePath(QStringLiteral("../lib/libqiantai.so"))
#ifdef QIANTAI_MODULE_RELDIR
                   << bin.filePath(QStringLiteral(QIANTAI_MODULE_RELDIR "/libqiantai.so"))
#endif
                   << bin.filePath(QStringLiteral("libqiantai.so")) << QStringLiteral("libqiantai.so");
    }
    QString error;
    for (const QString& c : candidates) {
        if (c.contains(QLatin1Char('/')) && !QFile::exists(c))
            continue;
        library_.setFileName(c);
        if (!library_.load()) {
            error = QStringLiteral("加载前台销售模块失败：") + library_.errorString();
            continue;
        }
        getFormOne_ = reinterpret_cast<GetFormOneFn>(library_.resolve("GetFormOne"));
        if (!getFormOne_) {
            error = QStringLiteral("前台销售模块没有GetFormOne：") + c;
            library_.unload();
            continue;
        }
        return {};
    }
    if (error.isEmpty())
        error = QStringLiteral("找不到前台销售模块libqiantai.so");
    return Failure{error};
}

void ModuleLoader::open(QWidget* hostWindow, QWidget* container, const QString& operatorCode, ICoorDisp* host)
{
    const QByteArray shortString = OperatorShortString(operatorCode);
    getFormOne_(hostWindow, container, reinterpret_cast<const unsigned char*>(shortString.constData()), 0,
                host);
}

} // namespace qiantai::host
