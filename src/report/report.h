// A report: a loaded template, named variables and a data source, rendered
// as text, HTML or a QTextDocument. Printing is reportprinter.h.
#pragma once

#include "qiantai/datapacket.h"
#include "report/reporttemplate.h"

#include <QHash>
#include <QString>
#include <QVariant>

class QFont;
class QTextDocument;

namespace qiantai {

class Report {
public:
    // Replaces the layout with the template `text`. On failure the report has
    // no layout and *error names the line of the first error.
    bool Load(const QString& text, QString* error = nullptr);
    bool IsLoaded() const { return loaded_; }

    // A number (int, double) or a text; names match without regard to case.
    void SetVariable(const QString& name, const QVariant& value);
    bool HasVariable(const QString& name) const;
    QVariant Variable(const QString& name) const; // null when not set
    void ClearVariables() { variables_.clear(); }

    // The rows written by the band, one pass per row in order.
    void SetDataSource(const DataPacket& rows) { rows_ = rows; }

    // The filled-in text: lines end with "\n". An unset variable or unknown
    // column writes nothing; a line break inside a value starts a new line.
    QString RenderText() const;
    // RenderText as preformatted HTML in the report font.
    QString RenderHtml() const;
    // RenderText in `document`, in the report font.
    void RenderDocument(QTextDocument& document) const;

    // Monospaced, with Chinese characters two columns wide where such a font
    // is installed, so that the template's columns line up.
    static QFont Font();

private:
    QString renderLine(const ReportLine& line, int row) const;
    QVariant lookup(const QString& name, int row) const;

    ReportTemplate layout_;
    bool loaded_ = false;
    QHash<QString, QVariant> variables_; // keys in lower case
    DataPacket rows_;
};

} // namespace qiantai
