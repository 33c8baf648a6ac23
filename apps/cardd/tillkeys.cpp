#include "tillkeys.h"

#include <QFile>
#include <QStringList>

#include <sodium.h>

#include <stdexcept>

namespace qiantai::cardd {

namespace {

// Keys are looked up by digest, so that the comparison's time does not
// follow the key's bytes.
std::string Digest(const std::string& key)
{
    if (sodium_init() < 0)
        throw std::runtime_error("libsodium cannot be initialised");
    unsigned char digest[crypto_generichash_BYTES];
    crypto_generichash(digest, sizeof digest, reinterpret_cast<const unsigned char*>(key.data()), key.size(),
                       nullptr, 0);
    return std::string(reinterpret_cast<const char*>(digest), sizeof digest);
}

} // namespace

Result<> TillKeys::load(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return Failure{QStringLiteral("cannot read %1").arg(file)};
    std::map<std::string, std::string> keys;
    int lineNo = 0;
    while (!f.atEnd()) {
        ++lineNo;
        QString line = QString::fromUtf8(f.readLine());
        line = line.left(line.indexOf(QLatin1Char('#'))).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() != 2 || parts[1].size() < 16)
            return Failure{QStringLiteral("%1 line %2: want a till name and a key of 16 characters or more")
                               .arg(file)
                               .arg(lineNo)};
        keys[Digest(parts[1].toStdString())] = parts[0].toStdString();
    }
    byDigest_ = std::move(keys);
    return {};
}

std::string TillKeys::tillOf(const std::string& key) const
{
    if (key.empty())
        return {};
    const auto it = byDigest_.find(Digest(key));
    return it == byDigest_.end() ? std::string() : it->second;
}

} // namespace qiantai::cardd
