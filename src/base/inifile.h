// The station INI file "Quelmarpos.ini": input dialog colours and the
// station's device settings. Sections and keys match without regard to case;
// nothing is ever written.
#pragma once

#include <QList>
#include <QString>

namespace qiantai {

// One parsed INI text. Lines are "[section]", "key=value", or comments
// starting with ';' or '#'. Keys and values are trimmed and a value enclosed in
// double quotes loses them. The first occurrence of a key in the first
// matching section wins.
class IniFile {
public:
    IniFile() = default;
    // Parses INI text.
    static IniFile parse(const QString& text);
    // Reads and parses a file: UTF-8 (with or without BOM) or, when the bytes
    // are not valid UTF-8, GBK. A missing or unreadable file gives an empty
    // IniFile and *found = false.
    static IniFile load(const QString& path, bool* found = nullptr);
    // The decoded text of a file as load() reads it; empty and *found = false
    // when it cannot be read.
    static QString readText(const QString& path, bool* found = nullptr);

    bool contains(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& defaultValue = {}) const;

private:
    struct Entry {
        QString section;
        QString key;
        QString value;
    };
    const Entry* find(const QString& section, const QString& key) const;
    QList<Entry> entries_;
};

// Value of `key` in `section` of `fileName`, or `defaultValue` when the file,
// the section or the key is missing. The path is `directory` immediately
// followed by `fileName` (no separator is inserted) when a directory is given
// and it is not a lone "\" or "/"; otherwise the file is looked for in
// StationIni::directory().
QString ReadIniValue(const QString& fileName, const QString& section, const QString& key,
                     const QString& directory, const QString& defaultValue);

// The folder whose station INI is read: `preferred` when it holds the file,
// else `fallback` when that does, else `preferred`. Both end with '/'.
QString ChooseStationDirectory(const QString& preferred, const QString& fallback);

// The station's "Quelmarpos.ini", read afresh on every call so that a change
// to the file takes effect at once.
class StationIni {
public:
    static const char* const FileName;        // "Quelmarpos.ini"
    static const char* const SystemDirectory; // "/etc/qiantai/", of the installed packages

    // $QIANTAI_INI_DIR when set and not empty, else the running program's
    // directory; then SystemDirectory when the first has no station INI and
    // it has one. Always ends with '/'.
    static QString directory();
    static QString path();

    static QString value(const QString& section, const QString& key, const QString& defaultValue = {});
    // The value as a decimal integer; `defaultValue` when the key is missing
    // or not a whole number (then *ok = false).
    static int intValue(const QString& section, const QString& key, int defaultValue, bool* ok = nullptr);
    // "1"/"0" (also true/false, yes/no, on/off); `defaultValue` otherwise.
    static bool boolValue(const QString& section, const QString& key, bool defaultValue);
};

} // namespace qiantai
