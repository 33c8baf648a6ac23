// The layout language of report templates.
//
// A template is lines of text. In a line, "[Name]" is replaced by the value of
// the variable Name, "[Name:0.00]" writes it with a number format (see
// numberformat.h), and a width ending the field pads it with blanks to that
// many columns, a Chinese character counting two: "[Name<20]" left-aligned,
// "[Name:0.00>10]" right-aligned; a longer value is never cut. "[[" writes a
// "[". Names are letters, digits and "_" and match without regard to case.
//
// The lines between a line "[Band]" and a line "[EndBand]" form the band,
// written once per data row; there its fields name the data columns first
// (such as "[f_Spmc]", "[f_Xssl:0]") and the variables second. A template has
// at most one band; lines before it are the header, lines after it the footer.
#pragma once

#include <QList>
#include <QString>

namespace qiantai {

struct ReportSegment {
    bool isField = false;
    QString text;   // literal text, or the field's name
    QString format; // number format, empty for none
    int width = 0;  // 0: no padding
    bool leftAligned = false;
};

using ReportLine = QList<ReportSegment>;

class ReportTemplate {
public:
    // Parses `text`; on failure answers false with *error naming the line of
    // the first error: "报表模板第N行：...".
    static bool Parse(const QString& text, ReportTemplate* result, QString* error);

    const QList<ReportLine>& header() const { return header_; }
    const QList<ReportLine>& band() const { return band_; }
    const QList<ReportLine>& footer() const { return footer_; }
    bool hasBand() const { return hasBand_; }

private:
    QList<ReportLine> header_, band_, footer_;
    bool hasBand_ = false;
};

} // namespace qiantai
