// Loads libqiantai.so and opens its sales screen with GetFormOne.
#pragma once

#include "base/result.h"
#include "qiantai/coordisp.h"
#include "qiantai/entry.h"

#include <QLibrary>
#include <QString>

class QWidget;

namespace qiantai::host {

class ModuleLoader {
public:
    // The module next to the program (../lib, the packages' private folder
    // or the same folder), or the file named by QIANTAI_MODULE.
    Result<> load();
    // The file load() loaded.
    QString fileName() const { return library_.fileName(); }
    // Opens the sales screen for `operatorCode` in `container`.
    void open(QWidget* hostWindow, QWidget* container, const QString& operatorCode, ICoorDisp* host);

private:
    QLibrary library_;
    GetFormOneFn getFormOne_ = nullptr;
};

// A length byte followed by the GBK bytes of `text` (at most 255).
QByteArray OperatorShortString(const QString& text);

} // namespace qiantai::host
