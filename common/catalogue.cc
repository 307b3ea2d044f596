#include "common/catalogue.h"

namespace tevol {

const std::array<Nuclide, kCatalogueRows>& Catalogue() {
  static constexpr std::array<Nuclide, kCatalogueRows> kRows = {{
      {"I-123   ", 1.1e-07f},   // 1
      {"I-125   ", 7.3e-06f},   // 2
      {"I-131   ", 1.1e-05f},   // 3
      {"Tc-99m  ", 2.0e-08f},   // 4
      {"Mo-99   ", 3.6e-07f},   // 5
      {"Ga-67   ", 1.1e-07f},   // 6
      {"Tl-201  ", 7.6e-08f},   // 7
      {"Se-75   ", 1.4e-06f},   // 8
      {"Hg-203  ", 7.5e-07f},   // 9
      {"Fe-59   ", 3.0e-06f},   // 10
      {"In-111  ", 2.2e-07f},   // 11
      {"Au-198  ", 3.9e-07f},   // 12
      {"Cr-51   ", 3.0e-08f},   // 13
      {"Rb-81   ", 6.8e-08f},   // 14
      {"H-3     ", 4.1e-08f},   // 15
      {"C-14    ", 8.0e-10f},   // 16
      {"P-32    ", 1.1e-06f},   // 17
      {"P-33    ", 1.4e-07f},   // 18
      {"S-35    ", 8.0e-08f},   // 19
      {"Cd-115m ", 6.4e-06f},   // 20
      {"Ca-45   ", 2.3e-06f},   // 21
      {"Sr-90   ", 3.0e-05f},   // 22
      {"Na-22   ", 2.0e-06f},   // 23
      {"Co-60   ", 7.1e-06f},   // 24
      {"Zn-65   ", 2.8e-06f},   // 25
      {"Ge-68   ", 8.3e-07f},   // 26
      {"Cs-137  ", 6.7e-06f},   // 27
      {"Co-57   ", 3.9e-07f},   // 28
      {"Sb-125  ", 1.7e-06f},   // 29
      {"In-113m ", 1.9e-08f},   // 30
      {"Ge-71   ", 7.8e-09f},   // 31
      {"Sr-89   ", 1.4e-06f},   // 32
      {"F-18    ", 9.3e-08f},   // 33
      {"C-11    ", 2.2e-09f},   // 34, offered by the calculators of size 34 only
  }};
  return kRows;
}

}  // namespace tevol
