// Dispatch numbers of the host service object's operations.
#pragma once

namespace qiantai::dispid {

constexpr int OpenQuery = 1610743808;       // SQL; ref packet
constexpr int ExecuteSql = 2;               // ref SQL
constexpr int GetCurrentYearMonth = 4;      // ref YYYYMM
constexpr int GetCurrentDate = 5;           // ref YYYYMMDD
constexpr int GetCurrentDateTime = 6;       // ref date-time text
constexpr int VerifyPassword = 7;           // employee; password; ref message
constexpr int CheckPermission = 8;          // employee; right code
constexpr int LookupByCode = 10;            // kind; ref code in / packet out
constexpr int GetReportTemplates = 17;      // category; ref packet
constexpr int GetDatabaseType = 20;         // returns "SQLSERVER", "DB2" or "ORACLE"
constexpr int OpenCentreQuery = 36;         // SQL; ref centre code in / packet out
constexpr int ExecuteCentreSql = 37;        // SQL; ref centre code
constexpr int QueryLimitedOffer = 39;       // twelve arguments
constexpr int GetSystemParameters = 100;    // ref packet of tbSysmsg
constexpr int LookupRecord = 104;           // kind; ref code in / packet out
constexpr int RecordCardConsumption = 529;  // ref request array; ref answer
constexpr int AllocateDocumentNumber = 901; // cashier; name; group; ref number; ref message
constexpr int AllocateDeliveryDocumentNumber = 902;
constexpr int CalculateRebate = 903; // ref line packet; ref double; ref message
constexpr int SaveSale = 904;
constexpr int SaveDeliverySale = 905;
constexpr int SaveInstallSale = 906;
constexpr int SaveCentralDeliverySale = 907;
constexpr int PrepareProductLookup = 908;  // ref value
constexpr int LookupProduct = 909;         // code; ref packet; ref value
constexpr int GetOperatorInfo = 911;       // operator; ref value
constexpr int LookupEmployee = 912;        // code; ref name; ref text; ref value
constexpr int GetDistributionCentre = 914; // department; ref centre; ref message
constexpr int CheckStock = 915;
constexpr int CheckDeliveryStock = 916;

} // namespace qiantai::dispid
