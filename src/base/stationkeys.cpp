#include "base/stationkeys.h"

#include <QStringList>

namespace qiantai {

namespace {

struct KnownSection {
    const char* name;
    QStringList keys; // empty: any key
};

const QList<KnownSection>& KnownSections()
{
    static const QList<KnownSection> sections = {
        {"ColorOption",
         {QStringLiteral("colorstyle"), QStringLiteral("linecolor"), QStringLiteral("backcolor")}},
        {"Printer", {}},
        {"Report", {QStringLiteral("Output"), QStringLiteral("PaperWidth")}},
        {"CardTerminal", {QStringLiteral("Library")}},
        {"CardFrontEnd",
         {QStringLiteral("Port"), QStringLiteral("ConnectTimeout"), QStringLiteral("ReadTimeout"),
          QStringLiteral("Tls"), QStringLiteral("CaFile"), QStringLiteral("TillKey"),
          QStringLiteral("CertFile"), QStringLiteral("KeyFile")}},
        {"Clock", {QStringLiteral("Sync")}},
        {"Checkout", {QStringLiteral("RecordPause")}},
    };
    return sections;
}

const KnownSection* FindSection(const QString& name)
{
    for (const KnownSection& s : KnownSections())
        if (name.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

QString SectionNames()
{
    QStringList names;
    for (const KnownSection& s : KnownSections())
        names.append(QLatin1Char('[') + QLatin1String(s.name) + QLatin1Char(']'));
    return names.join(QLatin1Char(' '));
}

} // namespace

QList<IniProblem> CheckStationIniText(const QString& text)
{
    QList<IniProblem> problems;
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool inSection = false;
    const KnownSection* section = nullptr;
    QString sectionName;
    for (int i = 0; i < lines.size(); ++i) {
        const int number = i + 1;
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const int close = int(line.indexOf(QLatin1Char(']')));
            if (close < 0 || !line.mid(close + 1).trimmed().isEmpty()) {
                problems.append(
                    {number, QStringLiteral("not a section line"), QStringLiteral("write it as [Section]")});
                // The keys below it are not reported again.
                inSection = true;
                section = nullptr;
                continue;
            }
            inSection = true;
            sectionName = line.mid(1, close - 1).trimmed();
            section = FindSection(sectionName);
            if (!section)
                problems.append({number, QStringLiteral("unknown section [%1]").arg(sectionName),
                                 QStringLiteral("the sections are %1").arg(SectionNames())});
            continue;
        }
        const int eq = int(line.indexOf(QLatin1Char('=')));
        if (eq <= 0) {
            problems.append({number, QStringLiteral("not a setting"),
                             QStringLiteral("write it as key=value, or start a comment with ';'")});
            continue;
        }
        const QString key = line.left(eq).trimmed();
        if (!inSection) {
            problems.append({number, QStringLiteral("%1 is outside any section").arg(key),
                             QStringLiteral("put it under its [Section]")});
            continue;
        }
        if (!section || section->keys.isEmpty())
            continue; // unknown sections are reported once, on their heading
        if (!section->keys.contains(key, Qt::CaseInsensitive))
            problems.append({number, QStringLiteral("unknown key %1 in [%2]").arg(key, sectionName),
                             QStringLiteral("the keys of [%1] are %2")
                                 .arg(sectionName, section->keys.join(QStringLiteral(", ")))});
    }
    return problems;
}

} // namespace qiantai
