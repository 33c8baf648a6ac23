// A temporary station directory, named by QIANTAI_INI_DIR while it lives;
// the variable is restored afterwards.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace qiantai::test {

class StationDirectory {
public:
    StationDirectory()
        : hadSaved_(qEnvironmentVariableIsSet("QIANTAI_INI_DIR")), saved_(qgetenv("QIANTAI_INI_DIR"))
    {
        qputenv("QIANTAI_INI_DIR", dir_.path().toUtf8());
    }
    ~StationDirectory()
    {
        if (hadSaved_)
            qputenv("QIANTAI_INI_DIR", saved_);
        else
            qunsetenv("QIANTAI_INI_DIR");
    }
    StationDirectory(const StationDirectory&) = delete;
    StationDirectory& operator=(const StationDirectory&) = delete;

    bool IsValid() const { return dir_.isValid(); }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString DirPath() const { return dir_.path(); }

    // Writes `bytes` to the file `name` of the directory; false when it cannot.
    bool Write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(Path(name));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    }
    // The station INI.
    bool WriteStation(const QByteArray& text) const { return Write(QStringLiteral("Quelmarpos.ini"), text); }
    // The file's bytes; empty when it cannot be read.
    QByteArray Read(const QString& name) const
    {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
    bool hadSaved_;
    QByteArray saved_;
};

} // namespace qiantai::test
