#include "links/canonical.h"

#include <windows.h>
// After windows.h, which they need.
#include <inaddr.h>
#include <urlmon.h>
#include <usp10.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "links/ascii.h"
#include "links/percent.h"
#include "links/web_address.h"
#include "toolkit/dll_search.h"

namespace vantisk {
namespace {

using namespace std::string_view_literals;

// --- The system's functions ------------------------------------------------------

// A DLL that is not one of the system's known DLLs, so it is not imported:
// loaded at run time and kept.
class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name) : module_(name ? tk::LoadSystemLibrary(name) : nullptr) {}
  ~SystemLibrary() {
    if (module_) FreeLibrary(module_);
  }
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  template <typename Fn>
  Fn Entry(const char* name) const {
    return tk::EntryPoint<Fn>(module_, name);
  }

 private:
  HMODULE module_;
};

using CreateUriFn = HRESULT(WINAPI*)(LPCWSTR, DWORD, DWORD_PTR, IUri**);
using IdnFn = int(WINAPI*)(DWORD, LPCWSTR, int, LPWSTR, int);
using Ipv4StringToAddressFn = LONG(NTAPI*)(PCWSTR, BOOLEAN, PCWSTR*, IN_ADDR*);
using ScriptItemizeFn = HRESULT(WINAPI*)(const WCHAR*, int, int, const SCRIPT_CONTROL*, const SCRIPT_STATE*,
                                         SCRIPT_ITEM*, int*);
using ScriptGetPropertiesFn = HRESULT(WINAPI*)(const SCRIPT_PROPERTIES***, int*);
using SysFreeStringFn = void(WINAPI*)(BSTR);

// Windows 8 and later export the international-name functions from kernel32;
// Windows 7 has them in normaliz only.
bool KernelHasIdn() { return tk::EntryPoint<IdnFn>(GetModuleHandleW(L"kernel32.dll"), "IdnToAscii") != nullptr; }

template <typename Fn>
Fn IdnEntry(const SystemLibrary& normaliz, const char* name) {
  const auto fromKernel = tk::EntryPoint<Fn>(GetModuleHandleW(L"kernel32.dll"), name);
  return fromKernel ? fromKernel : normaliz.Entry<Fn>(name);
}

// Looked up on the first check and kept for the program's life. A missing
// entry point costs only what it is used for: without CreateUri (or
// SysFreeString for its strings) an IPv6 host is refused and other hosts are
// not judged again; without the IDN functions an international host is
// refused; without ntdll's reader a numeric host stays a name; without
// Uniscribe no mixed scripts are reported.
struct SystemFunctions {
  SystemLibrary urlmon{L"urlmon.dll"};
  SystemLibrary usp10{L"usp10.dll"};
  SystemLibrary oleaut32{L"oleaut32.dll"};  // urlmon's strings; not imported, so that start-up does not load it
  SystemLibrary normaliz{KernelHasIdn() ? nullptr : L"normaliz.dll"};
  CreateUriFn createUri = urlmon.Entry<CreateUriFn>("CreateUri");
  SysFreeStringFn sysFreeString = oleaut32.Entry<SysFreeStringFn>("SysFreeString");
  ScriptItemizeFn scriptItemize = usp10.Entry<ScriptItemizeFn>("ScriptItemize");
  ScriptGetPropertiesFn scriptGetProperties = usp10.Entry<ScriptGetPropertiesFn>("ScriptGetProperties");
  IdnFn idnToAscii = IdnEntry<IdnFn>(normaliz, "IdnToAscii");
  IdnFn idnToUnicode = IdnEntry<IdnFn>(normaliz, "IdnToUnicode");
  Ipv4StringToAddressFn ipv4StringToAddress =
      tk::EntryPoint<Ipv4StringToAddressFn>(GetModuleHandleW(L"ntdll.dll"), "RtlIpv4StringToAddressW");

  static const SystemFunctions& Get() {
    static const SystemFunctions functions;
    return functions;
  }
};

struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
using UriPtr = std::unique_ptr<IUri, ComRelease>;

struct BstrFree {
  SysFreeStringFn sysFreeString;
  void operator()(OLECHAR* text) const { sysFreeString(text); }
};
using Bstr = std::unique_ptr<OLECHAR, BstrFree>;

// --- Text ----------------------------------------------------------------------

// The link's text is UTF-8 where the manifest's code page is honoured, and the
// ANSI code page on older Windows; bytes that are not UTF-8 are read as the latter.
std::wstring Widen(std::string_view bytes) {
  for (const UINT codePage : {CP_UTF8, CP_ACP}) {
    const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (length <= 0) continue;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), length);
    return wide;
  }
  return {};
}

std::string Narrow(std::wstring_view wide, UINT codePage) {
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

template <typename Char>
Char ToLowerAscii(Char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <typename Text>
Text LowerCase(Text text) {
  std::transform(text.begin(), text.end(), text.begin(), ToLowerAscii<typename Text::value_type>);
  return text;
}

// ":" and the number, or nothing for an empty port or the scheme's default one.
std::optional<std::string> PortSuffix(std::string_view digits, bool https) {
  if (digits.empty()) return "";
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
  digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
  if (digits.size() > 5) return std::nullopt;
  unsigned port = 0;
  for (const char digit : digits) port = port * 10 + static_cast<unsigned>(digit - '0');
  if (port > 65535) return std::nullopt;
  if (port == (https ? 443u : 80u)) return "";
  return ":" + std::to_string(port);
}

// --- The host --------------------------------------------------------------------

UriPtr ParseUri(const SystemFunctions& system, const std::wstring& text) {
  IUri* uri = nullptr;
  if (!system.createUri || FAILED(system.createUri(text.c_str(), 0, 0, &uri))) return nullptr;
  return UriPtr(uri);
}

// CreateUri reads the IPv6 address and writes it in its shortest form.
std::optional<std::string> Ipv6Host(const SystemFunctions& system, std::string_view written) {
  const UriPtr uri = ParseUri(system, L"http://" + Widen(written) + L"/");
  DWORD hostType = Uri_HOST_UNKNOWN;
  if (!system.sysFreeString || !uri || FAILED(uri->GetHostType(&hostType)) || hostType != Uri_HOST_IPV6) {
    return std::nullopt;
  }
  BSTR host = nullptr;
  const HRESULT result = uri->GetHost(&host);
  const Bstr owned(host, BstrFree{system.sysFreeString});
  if (result != S_OK) return std::nullopt;
  return "[" + LowerCase(Narrow(owned.get(), CP_UTF8)) + "]";
}

// The characters a registered name may hold once decoded (RFC 3986's
// unreserved and sub-delims): nothing that could end the host early.
bool IsNameCharacter(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') ||
         std::wstring_view(L"-._~!$&'()*+,;=").find(c) != std::wstring_view::npos;
}

std::optional<std::wstring> IdnToAsciiName(const SystemFunctions& system, const std::wstring& name) {
  if (!system.idnToAscii) return std::nullopt;
  const int size = static_cast<int>(name.size());
  const int length = system.idnToAscii(0, name.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring ascii(static_cast<std::size_t>(length), L'\0');
  if (system.idnToAscii(0, name.data(), size, ascii.data(), length) != length) return std::nullopt;
  return ascii;
}

// A name as the browser sends it: percent-escapes decoded, international
// letters in punycode (which also maps fullwidth forms), ASCII in lower case.
std::optional<std::wstring> AsciiName(const SystemFunctions& system, std::string_view written) {
  std::wstring name = Widen(PercentDecode(written));
  if (std::any_of(name.begin(), name.end(), [](wchar_t c) { return c >= 0x80; })) {
    auto ascii = IdnToAsciiName(system, name);
    if (!ascii) return std::nullopt;
    name = std::move(*ascii);
  }
  name = LowerCase(std::move(name));
  if (name.empty() || !std::all_of(name.begin(), name.end(), IsNameCharacter)) return std::nullopt;
  return name;
}

// Browsers read a host made only of numbers (decimal, hex or octal, in one to
// four parts) as an IPv4 address, and so does RtlIpv4StringToAddressW when not
// strict. It stops at anything else, so it must have read the whole host.
std::optional<std::string> DottedIpv4(const SystemFunctions& system, std::wstring host) {
  if (!system.ipv4StringToAddress || host.empty()) return std::nullopt;
  if (host.back() == L'.') host.pop_back();  // a browser allows one trailing dot
  IN_ADDR address{};
  PCWSTR end = nullptr;
  if (host.empty() || system.ipv4StringToAddress(host.c_str(), FALSE, &end, &address) != 0 ||
      end != host.c_str() + host.size()) {
    return std::nullopt;
  }
  const auto& bytes = address.S_un.S_un_b;
  return std::to_string(bytes.s_b1) + "." + std::to_string(bytes.s_b2) + "." + std::to_string(bytes.s_b3) + "." +
         std::to_string(bytes.s_b4);
}

std::wstring UnicodeName(const SystemFunctions& system, const std::wstring& ascii) {
  if (!system.idnToUnicode || ascii.find(L"xn--") == std::wstring::npos) return ascii;
  const int size = static_cast<int>(ascii.size());
  const int length = system.idnToUnicode(0, ascii.data(), size, nullptr, 0);
  if (length <= 0) return ascii;
  std::wstring unicode(static_cast<std::size_t>(length), L'\0');
  return system.idnToUnicode(0, ascii.data(), size, unicode.data(), length) == length ? unicode : ascii;
}

// --- Mixed scripts -----------------------------------------------------------

bool HasLetter(std::wstring_view run) {
  std::vector<WORD> types(run.size());
  if (!GetStringTypeW(CT_CTYPE1, run.data(), static_cast<int>(run.size()), types.data())) return false;
  return std::any_of(types.begin(), types.end(), [](WORD type) { return (type & C1_ALPHA) != 0; });
}

// Uniscribe names a script by a language; the Chinese, Japanese and Korean
// scripts are mixed in ordinary names and count as one.
WORD ScriptGroup(LANGID language) {
  const WORD primary = PRIMARYLANGID(language);
  return (primary == LANG_JAPANESE || primary == LANG_KOREAN) ? static_cast<WORD>(LANG_CHINESE) : primary;
}

bool LabelMixesScripts(const SystemFunctions& system, const SCRIPT_PROPERTIES** properties, int propertyCount,
                       std::wstring_view label) {
  if (label.empty()) return false;
  const int maxItems = std::max(static_cast<int>(label.size()), 2);
  std::vector<SCRIPT_ITEM> items(static_cast<std::size_t>(maxItems) + 1);
  int itemCount = 0;
  if (FAILED(system.scriptItemize(label.data(), static_cast<int>(label.size()), maxItems, nullptr, nullptr,
                                  items.data(), &itemCount))) {
    return false;
  }
  std::optional<WORD> seen;
  for (int i = 0; i < itemCount; ++i) {
    const auto& item = items[static_cast<std::size_t>(i)];
    const int runLength = items[static_cast<std::size_t>(i) + 1].iCharPos - item.iCharPos;
    if (item.a.eScript >= propertyCount ||
        !HasLetter(label.substr(static_cast<std::size_t>(item.iCharPos), static_cast<std::size_t>(runLength)))) {
      continue;
    }
    const WORD script = ScriptGroup(properties[item.a.eScript]->langid);
    if (seen && *seen != script) return true;
    seen = script;
  }
  return false;
}

// A label that mixes letters of scripts, such as a Cyrillic "а" among Latin
// letters. Wine lacks GetStringScripts and VerifyScripts; Uniscribe's
// itemizing splits a label into runs of one script each, which tells the same.
bool MixesScripts(const SystemFunctions& system, std::wstring_view host) {
  if (!system.scriptItemize || !system.scriptGetProperties) return false;
  const SCRIPT_PROPERTIES** properties = nullptr;
  int propertyCount = 0;
  if (FAILED(system.scriptGetProperties(&properties, &propertyCount))) return false;
  while (!host.empty()) {
    const std::wstring_view label = host.substr(0, host.find(L'.'));
    if (LabelMixesScripts(system, properties, propertyCount, label)) return true;
    host.remove_prefix(std::min(label.size() + 1, host.size()));
  }
  return false;
}

// The host as sent and what it hides; nothing when no browser would open it.
std::optional<LinkFacts> HostFacts(const SystemFunctions& system, std::string_view written) {
  LinkFacts facts;
  facts.writtenHost = std::string(written);
  if (written.starts_with('[')) {
    const auto ipv6 = Ipv6Host(system, written);
    if (!ipv6) return std::nullopt;
    facts.host = *ipv6;
    facts.hostIsIp = true;
    return facts;
  }
  const auto name = AsciiName(system, written);
  if (!name) return std::nullopt;
  if (auto dotted = DottedIpv4(system, *name)) {
    facts.hostWasNumberInDisguise = written != *dotted;
    facts.host = std::move(*dotted);
    facts.hostIsIp = true;
    return facts;
  }
  facts.host = Narrow(*name, CP_UTF8);
  const std::wstring unicode = UnicodeName(system, *name);
  if (unicode != *name) {
    facts.unicodeHost = Narrow(unicode, CP_ACP);
    facts.mixedScripts = MixesScripts(system, unicode);
  }
  return facts;
}

// --- Path, query and fragment -----------------------------------------------------

bool StandsInUrl(wchar_t c) { return c > 0x20 && c < 0x7F && c != L'"' && c != L'<' && c != L'>' && c != L'\\'; }

// As written, but what cannot stand in a URL is percent-encoded as UTF-8 and
// existing escapes are left alone. In the path a "\" is a "/", as browsers read it.
std::string EncodedRest(std::wstring_view rest) {
  std::string encoded;
  bool inPath = true;
  for (std::size_t i = 0; i < rest.size();) {
    wchar_t c = rest[i];
    if (c == L'?' || c == L'#') inPath = false;
    if (inPath && c == L'\\') c = L'/';
    if (StandsInUrl(c)) {
      encoded += static_cast<char>(c);
      ++i;
      continue;
    }
    const bool pair = IS_HIGH_SURROGATE(c) && i + 1 < rest.size() && IS_LOW_SURROGATE(rest[i + 1]);
    const std::size_t length = pair ? 2 : 1;
    encoded += PercentEncode(Narrow(rest.substr(i, length), CP_UTF8), EncodeSet::AllBut({}));
    i += length;
  }
  return encoded;
}

}  // namespace

// Uses the system for what it knows: CreateUri judges the authority that will
// be sent and writes IPv6 hosts, IdnToAscii/IdnToUnicode the international
// names, ntdll numeric hosts, Uniscribe the scripts. CreateUri's own canonical
// form is not taken: it would add a "/" to an empty path, remove dot segments
// and decode escapes, where the address must stay as written.
std::optional<LinkFacts> CanonicaliseLink(std::string_view address) {
  const auto parts = SplitWebAddress(address);
  if (!parts) return std::nullopt;
  const SystemFunctions& system = SystemFunctions::Get();
  const auto port = PortSuffix(parts->port, parts->https);
  auto facts = HostFacts(system, parts->host);
  if (!port || !facts) return std::nullopt;

  const std::string origin = (parts->https ? "https://" : "http://") + facts->host + *port;
  if (system.createUri && !ParseUri(system, Widen(origin) + L"/")) return std::nullopt;
  facts->userInfo = std::string(parts->userInfo);
  facts->canonical = origin + EncodedRest(Widen(parts->rest));
  return facts;
}

}  // namespace vantisk
