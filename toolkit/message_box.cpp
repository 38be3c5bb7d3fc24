#include "toolkit/message_box.h"

#include "toolkit/app.h"
#include "toolkit/failure.h"
#include "toolkit/wide.h"

namespace tk {

int MsgBox(HWND owner, const std::string& text, UINT flags, const std::string& title) {
  const std::string& caption = title.empty() ? App().title : title;
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags);
}

void ReportFailure(std::exception_ptr failure) { MsgBox(nullptr, DescribeFailure(failure), MB_OK | MB_ICONERROR); }

}  // namespace tk
