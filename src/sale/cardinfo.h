// Answers of the card front-end: member card and welfare certificate.
#pragma once

#include <QString>

namespace qiantai {

// A member card query's answer (elements 1 to 8).
struct TCardInfo {
    double Balance = 0; // rounded to two decimals
    double Element2 = 0;
    QString CardNo;
    int Element4 = 0;
    QString MemberAccount;
    double Points = 0;
    double Element7 = 0;
    int Element8 = 0;
};

// A welfare certificate query's answer and what its payment adds.
struct TFlzInfo {
    QString CertificateNo; // element 1
    double FaceValue = 0;  // element 2
    QString Serial;        // consumption serial from the host
    QString StationNo;     // always empty: the session has no station number
    double Element3 = 0;   // element 3
};

} // namespace qiantai
