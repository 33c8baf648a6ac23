#include "base/inifile.h"

#include "base/gbk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace qiantai {

namespace {

// UTF-8 when the bytes start with a BOM, or when they are valid UTF-8 whose
// characters outside ASCII are all three bytes long or more (Chinese text).
// Anything else is GBK, the encoding of station files written on the till:
// short GBK texts are often valid UTF-8 too, but then of two-byte characters
// (Cyrillic, Latin accents) that a station file never holds.
QString DecodeIniBytes(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return FromGbk(bytes);
    for (QChar c : text)
        if (c.unicode() >= 0x80 && c.unicode() < 0x800)
            return FromGbk(bytes);
    return text;
}

QString Unquote(const QString& value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

QString ProgramDirectory()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

bool IsRootOnly(const QString& directory)
{
    return directory == QLatin1String("\\") || directory == QLatin1String("/");
}

} // namespace

IniFile IniFile::parse(const QString& text)
{
    IniFile ini;
    QString section;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const int close = int(line.indexOf(QLatin1Char(']')));
            if (close > 0)
                section = line.mid(1, close - 1).trimmed();
            continue;
        }
        const int eq = int(line.indexOf(QLatin1Char('=')));
        if (eq <= 0)
            continue;
        ini.entries_.append({section, line.left(eq).trimmed(), Unquote(line.mid(eq + 1).trimmed())});
    }
    return ini;
}

QString IniFile::readText(const QString& path, bool* found)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (found)
        *found = opened;
    if (!opened)
        return {};
    return DecodeIniBytes(file.readAll());
}

IniFile IniFile::load(const QString& path, bool* found)
{
    bool opened = false;
    const QString text = readText(path, &opened);
    if (found)
        *found = opened;
    return opened ? parse(text) : IniFile();
}

const IniFile::Entry* IniFile::find(const QString& section, const QString& key) const
{
    for (const auto& e : entries_)
        if (e.section.compare(section, Qt::CaseInsensitive) == 0 &&
            e.key.compare(key, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    return find(section, key) != nullptr;
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Entry* e = find(section, key);
    return e ? e->value : defaultValue;
}

QString ReadIniValue(const QString& fileName, const QString& section, const QString& key,
                     const QString& directory, const QString& defaultValue)
{
    const QString path = (!directory.isEmpty() && !IsRootOnly(directory))
                             ? directory + fileName
                             : StationIni::directory() + fileName;
    return IniFile::load(path).value(section, key, defaultValue);
}

const char* const StationIni::FileName = "Quelmarpos.ini";
const char* const StationIni::SystemDirectory = "/etc/qiantai/";

QString ChooseStationDirectory(const QString& preferred, const QString& fallback)
{
    const QLatin1String file(StationIni::FileName);
    if (!QFileInfo::exists(preferred + file) && QFileInfo::exists(fallback + file))
        return fallback;
    return preferred;
}

QString StationIni::directory()
{
    QString dir = qEnvironmentVariable("QIANTAI_INI_DIR");
    if (dir.isEmpty())
        dir = ProgramDirectory();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return ChooseStationDirectory(dir, QLatin1String(SystemDirectory));
}

QString StationIni::path()
{
    return directory() + QLatin1String(FileName);
}

QString StationIni::value(const QString& section, const QString& key, const QString& defaultValue)
{
    return IniFile::load(path()).value(section, key, defaultValue);
}

int StationIni::intValue(const QString& section, const QString& key, int defaultValue, bool* ok)
{
    bool parsed = false;
    const int v = value(section, key).toInt(&parsed, 10);
    if (ok)
        *ok = parsed;
    return parsed ? v : defaultValue;
}

bool StationIni::boolValue(const QString& section, const QString& key, bool defaultValue)
{
    const QString v = value(section, key).toLower();
    if (v == QLatin1String("1") || v == QLatin1String("true") || v == QLatin1String("yes") ||
        v == QLatin1String("on"))
        return true;
    if (v == QLatin1String("0") || v == QLatin1String("false") || v == QLatin1String("no") ||
        v == QLatin1String("off"))
        return false;
    return defaultValue;
}

} // namespace qiantai
