#pragma once

#include <cstdint>

namespace platform {

// clang-format off
// Dispatch ids of the host's data server interface (ICoorDisp). Arguments and results:
//   QueryData            (SQL text by value, Data by ref)        -> bool; Data: packet or error payload
//   ExecuteBatch         (Batch by ref)                          -> bool; Batch: error payload on false
//   GetServerYearMonth   (Value by ref)                          -> bool; Value: "YYYYMM"
//   GetServerDate        (Value by ref)                          -> bool; Value: "YYYYMMDD..."
//   GetServerDateTime    (Value by ref)                          -> bool; Value: date and time text
//   GetEmployeeName      (Kind int32 = 1 by value, Value by ref) -> bool; Value: packet with f_zymc
//   GetDatabaseType      ()                                      -> text: the database, "SQLITE" or "POSTGRESQL"
//   GetSystemParameters  (Value by ref)                          -> bool; Value: packet f_Csmc, f_csz
// An error payload is a one-dimensional array of texts, one message each.
// clang-format on
namespace CoorDisp {
constexpr int32_t QueryData = 0x60020000;
constexpr int32_t ExecuteBatch = 2;
constexpr int32_t GetServerYearMonth = 4;
constexpr int32_t GetServerDate = 5;
constexpr int32_t GetServerDateTime = 6;
constexpr int32_t GetEmployeeName = 10;
constexpr int32_t GetDatabaseType = 20;
constexpr int32_t GetSystemParameters = 100;
} // namespace CoorDisp

} // namespace platform
