// Percent-encoding and -decoding of UTF-8 text, with the URL Standard's
// percent-encode sets (https://url.spec.whatwg.org/#percent-encoded-bytes)
// as named tables, and the one set of our own that a checker's value uses.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vantisk {

// The ASCII bytes a set encodes; every byte of 0x80 and above is always encoded.
class EncodeSet {
 public:
  constexpr bool Encodes(char c) const {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || encoded_[byte];
  }
  // This set and every character of `more`.
  constexpr EncodeSet With(std::string_view more) const {
    EncodeSet set = *this;
    for (const char c : more) set.encoded_[static_cast<unsigned char>(c)] = true;
    return set;
  }
  // Every ASCII byte but letters, digits and those in `kept`.
  static constexpr EncodeSet AllBut(std::string_view kept) {
    EncodeSet set;
    for (std::size_t byte = 0; byte < 0x80; ++byte) {
      const char c = static_cast<char>(byte);
      const bool alphanumeric = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      set.encoded_[byte] = !alphanumeric && kept.find(c) == std::string_view::npos;
    }
    return set;
  }
  static constexpr EncodeSet C0Control() {
    EncodeSet set;
    for (std::size_t byte = 0; byte < 0x20; ++byte) set.encoded_[byte] = true;
    set.encoded_[0x7F] = true;
    return set;
  }

 private:
  std::array<bool, 0x80> encoded_{};
};

inline constexpr EncodeSet kC0ControlSet = EncodeSet::C0Control();
inline constexpr EncodeSet kFragmentSet = kC0ControlSet.With(" \"<>`");
inline constexpr EncodeSet kQuerySet = kC0ControlSet.With(" \"#<>");
inline constexpr EncodeSet kSpecialQuerySet = kQuerySet.With("'");
inline constexpr EncodeSet kPathSet = kQuerySet.With("?^`{}");
inline constexpr EncodeSet kUserinfoSet = kPathSet.With("/:;=@[\\]|");
// A whole address as the value inside a checker's URL: all but "-._~:/" and
// letters and digits, so that it cannot end or change the checker's own query.
inline constexpr EncodeSet kCheckerValueSet = EncodeSet::AllBut("-._~:/");

void AppendPercentEncoded(std::string& out, std::string_view bytes, const EncodeSet& set);
std::string PercentEncode(std::string_view bytes, const EncodeSet& set);

// "%XX" becomes the byte it stands for; a "%" not followed by two hex digits
// stays. Some link wrappers escape with another character than "%".
std::string PercentDecode(std::string_view text, char escape = '%');

}  // namespace vantisk
