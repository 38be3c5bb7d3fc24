// The Unicode character properties the international-name code needs, looked
// up in tables generated at build time from Unicode's data
// (links/gen_unicode_tables.py), all of one Unicode version: the UTS #46
// mapping, combining classes, canonical (de)compositions, bidi classes,
// joining types and scripts.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace vantisk {

// The UTS #46 statuses. The table has no STD3 statuses: the ASCII
// characters outside letters, digits and "-" are valid, as the URL Standard
// has UseSTD3ASCIIRules off.
enum class Uts46Status : std::uint8_t { kValid, kMapped, kDeviation, kDisallowed, kIgnored };

Uts46Status Uts46StatusOf(char32_t c);

// Non-transitional processing keeps the deviations ("ß", "ς", the joiners) as
// they are; transitional processing, which older programs still use, maps
// them ("ss", "σ", nothing), and the capital "ẞ" to "ss" too.
enum class Uts46Processing : std::uint8_t { kNonTransitional, kTransitional };

// Appends what the mapping step makes of `c` (its mapping, nothing when
// ignored, a deviation by `processing`, `c` itself otherwise) and returns
// its status.
Uts46Status AppendUts46Mapping(char32_t c, std::u32string& out,
                               Uts46Processing processing = Uts46Processing::kNonTransitional);

int CanonicalCombiningClass(char32_t c);

// General_Category Mark (Mn, Mc, Me).
bool IsCombiningMark(char32_t c);

// The one-level canonical decomposition of `c`: two code points, or one and
// 0 for a singleton; {0, 0} when it has none. Hangul syllables are not here
// (they decompose by formula).
std::pair<char32_t, char32_t> CanonicalDecomposition(char32_t c);

// The primary composite of the pair, 0 when there is none (composition
// exclusions, singletons and non-starter decompositions never compose).
char32_t CanonicalComposition(char32_t first, char32_t second);

// The bidi classes RFC 5893 names; every other class reads as kOther.
enum class BidiClass : std::uint8_t { kL, kR, kAL, kEN, kES, kET, kAN, kCS, kNSM, kBN, kON, kOther };

BidiClass BidiClassOf(char32_t c);

enum class JoiningType : std::uint8_t { kU, kL, kR, kD, kT, kC };

JoiningType JoiningTypeOf(char32_t c);

// Scripts.txt's Script property. The names listed here are the ones the code
// asks about; every other script has a number of its own above them.
enum class Script : std::uint8_t { kUnknown, kCommon, kInherited, kHan, kHiragana, kKatakana, kHangul };

Script ScriptOf(char32_t c);

}  // namespace vantisk
