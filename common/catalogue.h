// The nuclide catalogue: 34 rows of menu number, 8-byte blank-padded name and
// inhalation dose coefficient [mSv/Bq] (the single-precision number nearest
// the decimal). Calculators of catalogue size 33 offer rows 1 to 33, those of
// size 34 all rows.
#ifndef TEVOL_COMMON_CATALOGUE_H_
#define TEVOL_COMMON_CATALOGUE_H_

#include <array>
#include <string_view>

namespace tevol {

struct Nuclide {
  std::string_view name;  // 8 bytes, blank-padded
  float dose_coefficient;
};

inline constexpr int kCatalogueRows = 34;

// Row n (1 to 34) is Catalogue()[n - 1].
const std::array<Nuclide, kCatalogueRows>& Catalogue();

}  // namespace tevol

#endif  // TEVOL_COMMON_CATALOGUE_H_
