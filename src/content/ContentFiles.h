// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1String>

// The bases of the content files that hold one language's texts: a file is named by its base and
// the language code (ContentFileName), and found without regard to letter case.
namespace ContentFiles {
// The texts of the font's symbols, of the map symbols and of the picture library's pictures.
inline constexpr QLatin1String LegendsBase("legends.");
inline constexpr QLatin1String SymbolsBase("Symbols.");
inline constexpr QLatin1String LibraryTextsBase("bitm1.");
// The catalogues of the description, combination and map-symbol tests.
inline constexpr QLatin1String DescriptionCatalogue("TypesLeg.");
inline constexpr QLatin1String CombinationCatalogue("types.");
inline constexpr QLatin1String MapSymbolCatalogue("TypesSym.");
} // namespace ContentFiles
