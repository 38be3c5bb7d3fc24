// The URL Standard's hosts (https://url.spec.whatwg.org/#hosts-(domains-and-ip-addresses))
// for the special schemes: domains, IPv4 and IPv6 addresses, parsed and
// serialized as browsers do it. Opaque hosts (other schemes) are not covered.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantisk {

enum class HostKind { Domain, Ipv4, Ipv6 };

struct Host {
  HostKind kind = HostKind::Domain;
  std::string serialized;  // lower-case ASCII domain, dotted IPv4, or "[v6]"
};

using Ipv6Address = std::array<std::uint16_t, 8>;

// https://url.spec.whatwg.org/#forbidden-domain-code-point
bool IsForbiddenDomainCodePoint(char c);

// https://url.spec.whatwg.org/#concept-ipv6-parser (input without the brackets)
std::optional<Ipv6Address> ParseIpv6(std::string_view input);
// https://url.spec.whatwg.org/#concept-ipv6-serializer (without the brackets)
std::string SerializeIpv6(const Ipv6Address& address);

// https://url.spec.whatwg.org/#ipv4-number-parser. A value of 2^32 or more
// reads as 2^32: every such number makes the IPv4 parser fail, and a longer
// run of digits must not wrap round into a valid address.
std::optional<std::uint64_t> ParseIpv4Number(std::string_view input);
// https://url.spec.whatwg.org/#ends-in-a-number-checker
bool EndsInANumber(std::string_view input);
// https://url.spec.whatwg.org/#concept-ipv4-parser
std::optional<std::uint32_t> ParseIpv4(std::string_view input);
// https://url.spec.whatwg.org/#concept-ipv4-serializer
std::string SerializeIpv4(std::uint32_t address);

// https://url.spec.whatwg.org/#concept-host-parser with isOpaque false:
// `input` is the host as written in the address (UTF-8, maybe
// percent-encoded, IPv6 in brackets). Nothing when it is not a valid host.
std::optional<Host> ParseHost(std::string_view input);

}  // namespace vantisk
