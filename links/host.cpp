#include "links/host.h"

#include <algorithm>
#include <utility>

#include "links/ascii.h"
#include "links/idna.h"
#include "links/labels.h"
#include "links/percent.h"
#include "links/utf8.h"

namespace vantisk {
namespace {

using namespace std::string_view_literals;

// The forbidden domain code points: the forbidden host code points, the other
// C0 controls, "%" and DEL.
constexpr std::array<bool, 0x80> MakeForbiddenTable() {
  std::array<bool, 0x80> table{};
  for (std::size_t byte = 0; byte < 0x20; ++byte) table[byte] = true;
  table[0x7F] = true;
  table['%'] = true;
  for (const char c : "\0\t\n\r #/:<>?@[\\]^|"sv) table[static_cast<unsigned char>(c)] = true;
  return table;
}

constexpr std::array<bool, 0x80> kForbiddenInDomain = MakeForbiddenTable();

// Every value at or above this one makes the IPv4 parser fail.
constexpr std::uint64_t kBeyondIpv4 = std::uint64_t{1} << 32;

// The IPv4 address at the end of an IPv6 address, "1.2.3.4" in "::1.2.3.4"
// (step 6.5 of the IPv6 parser): two pieces from `pieceIndex` on. `input`
// starts at the first digit and ends with the address.
bool ParseIpv4InIpv6(std::string_view input, Ipv6Address& address, std::size_t pieceIndex) {
  if (pieceIndex > 6) return false;
  std::size_t pointer = 0;
  int numbersSeen = 0;
  while (pointer < input.size()) {
    if (numbersSeen > 0) {
      if (input[pointer] != '.' || numbersSeen >= 4) return false;
      ++pointer;
    }
    if (pointer == input.size() || !IsAsciiDigit(input[pointer])) return false;
    std::optional<int> ipv4Piece;
    for (; pointer < input.size() && IsAsciiDigit(input[pointer]); ++pointer) {
      const int number = input[pointer] - '0';
      if (ipv4Piece == 0) return false;  // no leading zeros
      ipv4Piece = ipv4Piece.value_or(0) * 10 + number;
      if (*ipv4Piece > 255) return false;
    }
    address[pieceIndex] = static_cast<std::uint16_t>(address[pieceIndex] * 0x100 + *ipv4Piece);
    ++numbersSeen;
    if (numbersSeen == 2 || numbersSeen == 4) ++pieceIndex;
  }
  return numbersSeen == 4;
}

// Step 7 of the IPv6 parser: the pieces after "::" move to the end.
void MoveCompressedPieces(Ipv6Address& address, std::size_t pieceIndex, std::size_t compress) {
  std::size_t swaps = pieceIndex - compress;
  for (pieceIndex = 7; pieceIndex != 0 && swaps > 0; --pieceIndex, --swaps) {
    std::swap(address[pieceIndex], address[compress + swaps - 1]);
  }
}

// The first longest run of more than one zero piece, as [start, end).
std::pair<std::size_t, std::size_t> LongestZeroRun(const Ipv6Address& address) {
  std::pair<std::size_t, std::size_t> longest{8, 8};
  std::size_t longestLength = 1;
  for (std::size_t start = 0; start < 8;) {
    std::size_t end = start;
    while (end < 8 && address[end] == 0) ++end;
    if (end - start > longestLength) longest = {start, end}, longestLength = end - start;
    start = std::max(end, start + 1);
  }
  return longest;
}

}  // namespace

bool IsForbiddenDomainCodePoint(char c) { return !IsNonAscii(c) && kForbiddenInDomain[static_cast<unsigned char>(c)]; }

std::optional<Ipv6Address> ParseIpv6(std::string_view input) {
  Ipv6Address address{};
  std::size_t pieceIndex = 0;
  std::optional<std::size_t> compress;
  std::size_t pointer = 0;
  const auto at = [&](char c) { return pointer < input.size() && input[pointer] == c; };

  if (at(':')) {  // step 5: only "::" may start the address
    if (!input.starts_with("::")) return std::nullopt;
    pointer += 2;
    compress = ++pieceIndex;
  }
  while (pointer < input.size()) {
    if (pieceIndex == 8) return std::nullopt;
    if (at(':')) {  // step 6.2: the one "::"
      if (compress) return std::nullopt;
      ++pointer;
      compress = ++pieceIndex;
      continue;
    }
    unsigned value = 0;
    std::size_t length = 0;
    for (; length < 4 && pointer < input.size() && IsAsciiHexDigit(input[pointer]); ++length, ++pointer) {
      value = value * 0x10 + static_cast<unsigned>(HexDigitValue(input[pointer]));
    }
    if (at('.')) {  // step 6.5: the digits just read start an IPv4 tail
      if (length == 0 || !ParseIpv4InIpv6(input.substr(pointer - length), address, pieceIndex)) return std::nullopt;
      pieceIndex += 2;
      break;
    }
    if (at(':')) {  // step 6.6: a single ":" may not end the address
      if (++pointer == input.size()) return std::nullopt;
    } else if (pointer < input.size()) {
      return std::nullopt;
    }
    address[pieceIndex++] = static_cast<std::uint16_t>(value);
  }
  if (compress) {
    MoveCompressedPieces(address, pieceIndex, *compress);
  } else if (pieceIndex != 8) {
    return std::nullopt;
  }
  return address;
}

std::string SerializeIpv6(const Ipv6Address& address) {
  static constexpr char kHexDigits[] = "0123456789abcdef";
  const auto [compressStart, compressEnd] = LongestZeroRun(address);
  std::string output;
  for (std::size_t pieceIndex = 0; pieceIndex < 8; ++pieceIndex) {
    if (pieceIndex == compressStart) {
      output += pieceIndex == 0 ? "::" : ":";
      pieceIndex = compressEnd - 1;
      continue;
    }
    const unsigned piece = address[pieceIndex];
    bool started = false;
    for (int shift = 12; shift >= 0; shift -= 4) {
      const unsigned digit = (piece >> shift) & 0xF;
      started = started || digit != 0 || shift == 0;
      if (started) output += kHexDigits[digit];
    }
    if (pieceIndex != 7) output += ':';
  }
  return output;
}

std::optional<std::uint64_t> ParseIpv4Number(std::string_view input) {
  if (input.empty()) return std::nullopt;
  int radix = 10;
  if (input.size() >= 2 && (input.starts_with("0x") || input.starts_with("0X"))) {
    input.remove_prefix(2), radix = 16;
  } else if (input.size() >= 2 && input.front() == '0') {
    input.remove_prefix(1), radix = 8;
  }
  std::uint64_t output = 0;  // "0x" alone is 0 (step 6)
  for (const char c : input) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || digit >= radix) return std::nullopt;
    output = std::min(output * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit), kBeyondIpv4);
  }
  return output;
}

bool EndsInANumber(std::string_view input) {
  if (input.empty()) return false;
  if (input.ends_with('.')) input.remove_suffix(1);  // step 2: the last label may end in a dot
  const std::string_view last = LastLabel(input);
  if (!last.empty() && std::all_of(last.begin(), last.end(), IsAsciiDigit)) return true;
  return ParseIpv4Number(last).has_value();
}

std::optional<std::uint32_t> ParseIpv4(std::string_view input) {
  if (input.ends_with('.')) input.remove_suffix(1);  // step 2: one trailing dot is allowed
  std::array<std::uint64_t, 4> numbers{};
  std::size_t count = 0;
  for (std::size_t start = 0;; ++count) {
    const std::size_t dot = input.find('.', start);
    if (count == 4) return std::nullopt;  // more than four parts
    const auto number = ParseIpv4Number(input.substr(start, dot - start));
    if (!number) return std::nullopt;
    numbers[count] = *number;
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  // `count` is the index of the last number, which may fill all the bytes left.
  std::uint64_t ipv4 = numbers[count];
  if (ipv4 >= (std::uint64_t{1} << (8 * (4 - count)))) return std::nullopt;
  for (std::size_t i = 0; i < count; ++i) {
    if (numbers[i] > 255) return std::nullopt;
    ipv4 += numbers[i] << (8 * (3 - i));
  }
  return static_cast<std::uint32_t>(ipv4);
}

std::string SerializeIpv4(std::uint32_t address) {
  std::string output;
  for (int shift = 24; shift >= 0; shift -= 8) {
    output += std::to_string((address >> shift) & 0xFF);
    if (shift != 0) output += '.';
  }
  return output;
}

std::optional<Host> ParseHost(std::string_view input) {
  if (input.starts_with('[')) {
    if (!input.ends_with(']')) return std::nullopt;
    const auto address = ParseIpv6(input.substr(1, input.size() - 2));
    if (!address) return std::nullopt;
    std::string serialized = "[";
    serialized += SerializeIpv6(*address);
    serialized += ']';
    return Host{HostKind::Ipv6, std::move(serialized)};
  }
  // UTF-8 decode without BOM: malformed bytes become U+FFFD, which no domain allows.
  const std::string domain = ToUtf8(ToCodePoints(PercentDecode(input)));
  std::optional<std::string> asciiDomain = DomainToAscii(domain);
  if (!asciiDomain || std::any_of(asciiDomain->begin(), asciiDomain->end(), IsForbiddenDomainCodePoint)) {
    return std::nullopt;
  }
  if (EndsInANumber(*asciiDomain)) {
    const auto ipv4 = ParseIpv4(*asciiDomain);
    if (!ipv4) return std::nullopt;
    return Host{HostKind::Ipv4, SerializeIpv4(*ipv4)};
  }
  return Host{HostKind::Domain, std::move(*asciiDomain)};
}

}  // namespace vantisk
