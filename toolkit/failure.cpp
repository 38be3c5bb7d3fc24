#include "toolkit/failure.h"

#include <new>

namespace tk {
namespace {

constexpr char kCarriesOn[] = "\n\nThe action was stopped; the program carries on.";

}  // namespace

std::string DescribeFailure(std::exception_ptr failure) {
  if (!failure) return "Something went wrong." + std::string(kCarriesOn);
  try {
    std::rethrow_exception(failure);
  } catch (const WindowError& error) {
    return error.what();
  } catch (const std::bad_alloc&) {
    return "There was not enough memory to finish the action." + std::string(kCarriesOn);
  } catch (const std::exception& error) {
    return "Something went wrong: " + std::string(error.what()) + kCarriesOn;
  } catch (...) {
    return "Something went wrong for a reason that cannot be told." + std::string(kCarriesOn);
  }
}

}  // namespace tk
