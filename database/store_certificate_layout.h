#pragma once
// The certificate layout of the base file (qrtb170): per staff account and
// certificate line, a font size and two margins that move the line on the
// pre-printed paper. Only rows numbered above 2 are layout rows (1 and 2 are
// reserved), and only line indexes 0 to 9 count.
#include <array>

namespace korva {

// Lines a layout can hold (the certificate prints seven of them).
inline constexpr int kLayoutLines = 10;

// One account's layout, indexed by line index (line number - 1); 0 keeps
// the style sheet's own value.
struct CertificateLayout {
  std::array<int, kLayoutLines> FontSize{};
  std::array<int, kLayoutLines> Top{};
  std::array<int, kLayoutLines> Left{};
};

// Reads the rows of the layout key into layout (all 0 first). Takes DataLock
// shared. false when the query failed (data error 12812); layout then stays
// all 0.
[[nodiscard]] bool ReadCertificateLayout(int layout_key, CertificateLayout& layout);

// Stores one margin of one line for the layout key: which 1 top, 2 left;
// line 1 to 10. A new row keeps 0 for the font size and the other margin;
// an existing row changes only that margin. Takes DataLock. 1 saved; 0 for
// a line or margin out of range, or on a database error (data error
// 1992812).
[[nodiscard]] int SaveCertificateLine(int which, int line, int value, int layout_key);

}  // namespace korva
