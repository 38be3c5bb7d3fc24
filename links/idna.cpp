#include "links/idna.h"

#include <algorithm>
#include <vector>

#include "links/ascii.h"
#include "links/labels.h"
#include "links/nfc.h"
#include "links/punycode.h"
#include "links/unicode_properties.h"
#include "links/utf8.h"

namespace vantisk {
namespace {

constexpr std::u32string_view kAcePrefix = U"xn--";
constexpr char32_t kZeroWidthNonJoiner = 0x200C;
constexpr char32_t kZeroWidthJoiner = 0x200D;
constexpr int kViramaClass = 9;

bool IsAllAscii(std::u32string_view text) {
  return std::all_of(text.begin(), text.end(), [](char32_t c) { return c < 0x80; });
}

// The "xn--" label's Unicode form: nothing when it does not decode, or
// decodes to nothing or to ASCII alone (which would have been written as is).
std::optional<std::u32string> DecodeAceLabel(std::u32string_view label) {
  const std::string encoded = ToUtf8(label.substr(kAcePrefix.size()));
  std::optional<std::u32string> decoded = PunycodeDecode(encoded);
  if (!decoded || decoded->empty() || IsAllAscii(*decoded)) return std::nullopt;
  return decoded;
}

bool HasTypeAround(std::u32string_view label, std::size_t at, int step, JoiningType a, JoiningType b) {
  for (auto i = static_cast<std::ptrdiff_t>(at) + step; i >= 0 && i < std::ssize(label); i += step) {
    const JoiningType type = JoiningTypeOf(label[static_cast<std::size_t>(i)]);
    if (type != JoiningType::kT) return type == a || type == b;
  }
  return false;
}

// RFC 5892 Appendix A.1 and A.2: a joiner follows a virama, or a non-joiner
// stands between a letter that joins to the right and one that joins to the
// left (transparent marks between them do not count).
bool JoinersInContext(std::u32string_view label) {
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] != kZeroWidthNonJoiner && label[i] != kZeroWidthJoiner) continue;
    if (i > 0 && CanonicalCombiningClass(label[i - 1]) == kViramaClass) continue;
    if (label[i] == kZeroWidthJoiner) return false;
    if (!HasTypeAround(label, i, -1, JoiningType::kL, JoiningType::kD) ||
        !HasTypeAround(label, i, +1, JoiningType::kR, JoiningType::kD)) {
      return false;
    }
  }
  return true;
}

bool IsRightToLeft(char32_t c) {
  const BidiClass bidi = BidiClassOf(c);
  return bidi == BidiClass::kR || bidi == BidiClass::kAL || bidi == BidiClass::kAN;
}

template <typename... Classes>
bool IsOneOf(BidiClass bidi, Classes... classes) {
  return ((bidi == classes) || ...);
}

// The six rules of RFC 5893 section 2, for a label of a domain that has
// right-to-left characters somewhere.
bool SatisfiesBidiRule(std::u32string_view label) {
  using enum BidiClass;
  const BidiClass first = BidiClassOf(label.front());
  const bool rightToLeft = IsOneOf(first, kR, kAL);
  if (!rightToLeft && first != kL) return false;
  bool hasEuropeanNumber = false;
  bool hasArabicNumber = false;
  BidiClass last = first;
  for (const char32_t c : label) {
    const BidiClass bidi = BidiClassOf(c);
    const bool allowed = rightToLeft ? IsOneOf(bidi, kR, kAL, kAN, kEN, kES, kCS, kET, kON, kBN, kNSM)
                                     : IsOneOf(bidi, kL, kEN, kES, kCS, kET, kON, kBN, kNSM);
    if (!allowed) return false;
    hasEuropeanNumber |= bidi == kEN;
    hasArabicNumber |= bidi == kAN;
    if (bidi != kNSM) last = bidi;
  }
  if (rightToLeft) return IsOneOf(last, kR, kAL, kEN, kAN) && !(hasEuropeanNumber && hasArabicNumber);
  return IsOneOf(last, kL, kEN);
}

// The validity criteria of UTS #46 section 4.1 with CheckHyphens=false,
// CheckJoiners=true and CheckBidi=true. A decoded "xn--" label is checked as
// in non-transitional processing, which allows deviations, whatever the
// processing.
bool IsValidLabel(std::u32string_view label, bool fromAce, bool bidiDomain,
                  Uts46Processing processing = Uts46Processing::kNonTransitional) {
  if (label.empty()) return true;
  if (fromAce && label.starts_with(kAcePrefix)) return false;
  if (label.find(U'.') != label.npos || IsCombiningMark(label.front())) return false;
  const bool deviationsValid = fromAce || processing == Uts46Processing::kNonTransitional;
  const bool statusesValid = std::all_of(label.begin(), label.end(), [deviationsValid](char32_t c) {
    const Uts46Status status = Uts46StatusOf(c);
    return status == Uts46Status::kValid || (deviationsValid && status == Uts46Status::kDeviation);
  });
  if (!statusesValid || ToNfc(label) != label) return false;
  return JoinersInContext(label) && (!bidiDomain || SatisfiesBidiRule(label));
}

struct Label {
  std::u32string text;
  bool fromAce = false;
};

bool IsBidiDomain(const std::vector<Label>& labels) {
  return std::any_of(labels.begin(), labels.end(), [](const Label& label) {
    return std::any_of(label.text.begin(), label.text.end(), IsRightToLeft);
  });
}

bool AllValid(const std::vector<Label>& labels, Uts46Processing processing) {
  const bool bidiDomain = IsBidiDomain(labels);
  return std::all_of(labels.begin(), labels.end(), [&](const Label& label) {
    return IsValidLabel(label.text, label.fromAce, bidiDomain, processing);
  });
}

// UTS #46 processing (section 4): the labels in Unicode, or nothing when
// processing records an error. Transitional processing maps the deviations
// away and then allows none in a label that was not written "xn--".
std::optional<std::vector<Label>> ProcessDomain(std::string_view domain, Uts46Processing processing) {
  std::u32string mapped;
  for (const char32_t c : ToCodePoints(domain)) {
    if (AppendUts46Mapping(c, mapped, processing) == Uts46Status::kDisallowed) return std::nullopt;
  }
  const std::u32string normalized = ToNfc(mapped);
  std::vector<Label> labels;
  for (const std::u32string_view label : SplitLabels(std::u32string_view(normalized))) {
    if (!label.starts_with(kAcePrefix)) {
      labels.push_back({std::u32string(label), false});
      continue;
    }
    std::optional<std::u32string> decoded = DecodeAceLabel(label);
    if (!decoded) return std::nullopt;
    labels.push_back({std::move(*decoded), true});
  }
  if (!AllValid(labels, processing)) return std::nullopt;
  return labels;
}

std::optional<std::string> ToAscii(std::string_view domain, Uts46Processing processing) {
  const std::optional<std::vector<Label>> labels = ProcessDomain(domain, processing);
  if (!labels) return std::nullopt;
  std::string ascii;
  for (const Label& label : *labels) {
    if (&label != &labels->front()) ascii += '.';
    if (IsAllAscii(label.text)) {
      ascii += ToUtf8(label.text);
      continue;
    }
    const std::optional<std::string> encoded = PunycodeEncode(label.text);
    if (!encoded) return std::nullopt;
    ascii += "xn--" + *encoded;
  }
  if (ascii.empty()) return std::nullopt;
  return ascii;
}

}  // namespace

std::optional<std::string> DomainToAscii(std::string_view domain) {
  return ToAscii(domain, Uts46Processing::kNonTransitional);
}

std::optional<std::string> TransitionalReading(std::string_view domain) {
  std::optional<std::string> transitional = ToAscii(domain, Uts46Processing::kTransitional);
  const std::optional<std::string> current = DomainToAscii(domain);
  if (!transitional || !current || transitional == current) return std::nullopt;
  return transitional;
}

std::string DomainToUnicode(std::string_view asciiDomain) {
  const std::vector<std::string_view> written = SplitLabels(asciiDomain);
  std::vector<Label> labels;
  for (const std::string_view label : written) {
    const std::u32string lowered = ToCodePoints(LowerAscii(label));
    std::optional<std::u32string> decoded;
    if (lowered.starts_with(kAcePrefix)) decoded = DecodeAceLabel(lowered);
    labels.push_back(decoded ? Label{std::move(*decoded), true} : Label{lowered, false});
  }
  const bool bidiDomain = IsBidiDomain(labels);
  std::string unicode;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (i > 0) unicode += '.';
    const bool shown = labels[i].fromAce && IsValidLabel(labels[i].text, true, bidiDomain);
    unicode += shown ? ToUtf8(labels[i].text) : std::string(written[i]);
  }
  return unicode;
}

namespace {

// Han, Hiragana, Katakana and Hangul count as one; Common, Inherited and
// unassigned characters as none (Script::kUnknown).
Script MixingGroup(char32_t c) {
  const Script script = ScriptOf(c);
  switch (script) {
    case Script::kCommon:
    case Script::kInherited: return Script::kUnknown;
    case Script::kHiragana:
    case Script::kKatakana:
    case Script::kHangul: return Script::kHan;
    default: return script;
  }
}

bool LabelMixesScripts(std::u32string_view label) {
  Script seen = Script::kUnknown;
  for (const char32_t c : label) {
    const Script group = MixingGroup(c);
    if (group == Script::kUnknown) continue;
    if (seen != Script::kUnknown && group != seen) return true;
    seen = group;
  }
  return false;
}

}  // namespace

bool DomainMixesScripts(std::string_view unicodeDomain) {
  const std::u32string codePoints = ToCodePoints(unicodeDomain);
  const auto labels = SplitLabels(std::u32string_view(codePoints));
  return std::any_of(labels.begin(), labels.end(), LabelMixesScripts);
}

}  // namespace vantisk
