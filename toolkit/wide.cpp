#include "toolkit/wide.h"

#include <windows.h>

#include <limits>

namespace tk {
namespace {

// The conversion functions take int lengths; longer texts are converted in
// pieces that end on a character's boundary.
constexpr size_t kLargestPiece = std::numeric_limits<int>::max() / 4;

size_t Utf8PieceLength(std::string_view utf8) {
  if (utf8.size() <= kLargestPiece) return utf8.size();
  size_t length = kLargestPiece;
  while (length > 0 && (static_cast<unsigned char>(utf8[length]) & 0xC0) == 0x80) --length;
  return length;
}

size_t Utf16PieceLength(std::wstring_view utf16) {
  if (utf16.size() <= kLargestPiece) return utf16.size();
  return IS_HIGH_SURROGATE(utf16[kLargestPiece - 1]) ? kLargestPiece - 1 : kLargestPiece;
}

void AppendWidened(std::string_view piece, std::wstring& out) {
  const int length = static_cast<int>(piece.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, piece.data(), length, nullptr, 0);
  if (units <= 0) return;
  const size_t start = out.size();
  out.resize(start + static_cast<size_t>(units));
  MultiByteToWideChar(CP_UTF8, 0, piece.data(), length, out.data() + start, units);
}

void AppendNarrowed(std::wstring_view piece, std::string& out) {
  const int length = static_cast<int>(piece.size());
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, piece.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return;
  const size_t start = out.size();
  out.resize(start + static_cast<size_t>(bytes));
  WideCharToMultiByte(CP_UTF8, 0, piece.data(), length, out.data() + start, bytes, nullptr, nullptr);
}

// Converts `text` piece by piece, each at most kLargestPiece long.
template <typename To, typename From, typename PieceLength, typename Append>
To InPieces(From text, PieceLength pieceLength, Append append) {
  To converted;
  while (!text.empty()) {
    const size_t piece = pieceLength(text);
    append(text.substr(0, piece), converted);
    text.remove_prefix(piece);
  }
  return converted;
}

}  // namespace

std::wstring Widen(std::string_view utf8) { return InPieces<std::wstring>(utf8, Utf8PieceLength, AppendWidened); }

std::string Narrow(std::wstring_view utf16) { return InPieces<std::string>(utf16, Utf16PieceLength, AppendNarrowed); }

}  // namespace tk
