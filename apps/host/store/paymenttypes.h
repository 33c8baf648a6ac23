// Payment types as the payment rows store them (f_Zffs).
#pragma once

namespace qiantai::host::paytype {

constexpr int Change = -1; // the change row
constexpr int Cash = 0;    // also the unified-collection row after the change row
constexpr int Coupon = 2;
constexpr int Transfer = 4;
constexpr int BankCard = 5;
constexpr int MemberCard = 6;
constexpr int CustomerAccount = 7;
constexpr int Certificate = 8;

} // namespace qiantai::host::paytype
