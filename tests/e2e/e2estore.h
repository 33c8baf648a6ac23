// A temporary demo store that the tests drive through the real programs:
// qiantai-host with a key script, qiantai-cardd on loopback.
#pragma once

#include <QList>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace qiantai::test {

// What a <dump FILE> step of a key script wrote.
class ScreenDump {
public:
    // Empty when the file cannot be read.
    static ScreenDump Read(const QString& path);

    bool IsEmpty() const { return labels_.isEmpty() && edits_.isEmpty(); }
    // The text of the last label or edit of that name.
    QString Label(const QString& name) const { return labels_.value(name); }
    QString Edit(const QString& name) const { return edits_.value(name); }
    // The texts of every label of that name, e.g. the headings of all open
    // dialogs.
    QStringList Labels(const QString& name) const { return allLabels_.value(name); }
    // The rows of the item view of that name, cells only.
    QList<QStringList> Rows(const QString& view) const { return rows_.value(view); }

private:
    QMap<QString, QString> labels_;
    QMap<QString, QStringList> allLabels_;
    QMap<QString, QString> edits_;
    QMap<QString, QList<QStringList>> rows_;
};

struct HostRun {
    int status = -1; // exit status; -1 when the program crashed or timed out
    QString output;  // standard output and error
};

class E2EStore {
public:
    // Creates the demo store and its centre with qiantai-host init-demo, and
    // a station INI with receipts to files and clock synchronisation off.
    E2EStore();
    ~E2EStore();

    bool Ok() const { return ok_; }
    QString Error() const { return error_; }
    QString Path(const QString& name) const;
    QString StoreFile() const { return Path(QStringLiteral("store.db")); }

    // A value of the station INI (written at once).
    void SetIni(const QString& section, const QString& key, const QString& value);

    // Runs qiantai-host --operator with the password and the key script.
    HostRun RunHost(const QString& operatorCode, const QString& password, const QString& keys,
                    int timeoutMs = 120000);
    // Runs qiantai-host ARGS with this store's station INI.
    HostRun RunCommand(const QStringList& args, const QString& password = QString(), int timeoutMs = 120000);

    // A statement on the store's database file; rows of texts. Fails the
    // calling test on an error.
    QList<QStringList> Query(const QString& sql);
    void Exec(const QString& sql);

    // Starts qiantai-cardd with the demo cards on a free loopback port and
    // points the store's card front-end (yckqzj) at it. False with Error().
    bool StartCardServer();
    QString CardsFile() const { return Path(QStringLiteral("cards.db")); }
    // A statement on the card server's database file.
    QList<QStringList> QueryCards(const QString& sql);

    // The program of the build, e.g. "qiantai-host".
    static QString Program(const QString& name);
    static QString Library(const QString& name);

private:
    void writeIni();
    QList<QStringList> run(const QString& file, const QString& sql, bool rows);

    QTemporaryDir dir_;
    bool ok_ = false;
    QString error_;
    QMap<QString, QMap<QString, QString>> ini_;
    std::unique_ptr<QProcess> cardd_;
};

} // namespace qiantai::test
