#include "toolkit/failure.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

namespace tk {
namespace {

template <typename Thrown>
std::exception_ptr Caught(Thrown thrown) {
  try {
    throw thrown;
  } catch (...) {
    return std::current_exception();
  }
}

// Whatever a handler throws is told in words, and every text but a window
// error's own says that the program carries on.
TEST(DescribeFailure, EveryKindOfExceptionIsToldAndTheProgramCarriesOn) {
  const std::string carriesOn = "the program carries on.";
  struct Case {
    std::exception_ptr thrown;
    std::string expectedStart;
  };
  const Case cases[] = {
      {Caught(std::bad_alloc()), "There was not enough memory"},
      {Caught(std::out_of_range("list index 7")), "Something went wrong: list index 7"},
      {Caught(std::runtime_error("disk gone")), "Something went wrong: disk gone"},
      {Caught(42), "Something went wrong for a reason that cannot be told."},
      {Caught("a C string"), "Something went wrong for a reason that cannot be told."},
      {nullptr, "Something went wrong."},
  };
  for (const Case& c : cases) {
    const std::string text = DescribeFailure(c.thrown);
    SCOPED_TRACE(text);
    EXPECT_EQ(text.rfind(c.expectedStart, 0), 0u);
    EXPECT_EQ(text.substr(text.size() - carriesOn.size()), carriesOn);
  }
}

TEST(DescribeFailure, AWindowErrorIsToldInItsOwnWords) {
  const std::string said = "The window \"About\" could not be created: Out of memory (error 8).";
  EXPECT_EQ(DescribeFailure(Caught(WindowError(said))), said);
}

}  // namespace
}  // namespace tk
