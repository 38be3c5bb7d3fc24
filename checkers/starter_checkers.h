// The checker list a first start fills in: well-known, free services that
// open a result page for an address or a host without an account.
// docs/checkers.md names each one and where its address form was checked.
#pragma once

#include <string>
#include <vector>

namespace vantisk {

std::vector<std::string> StarterCheckers();

}  // namespace vantisk
