// What the toolkit tells the user when a handler fails. A window procedure
// lets no exception unwind into the system's code: whatever a handler throws
// is caught where the system called in, described with DescribeFailure and
// shown, and the program carries on. Plain C++: tested natively.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace tk {

// A window or window class that could not be made. Form::Load throws it;
// the toolkit reports it where control comes back to it: Run at start-up, a
// form's window procedure afterwards.
class WindowError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text for a caught exception: a WindowError's own message, and for
// anything else what failed and that the program carries on.
std::string DescribeFailure(std::exception_ptr failure);

}  // namespace tk
