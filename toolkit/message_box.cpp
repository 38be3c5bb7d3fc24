#include "toolkit/message_box.h"

#include "toolkit/app.h"

namespace tk {

int MsgBox(HWND owner, const std::string& text, UINT flags, const std::string& title) {
  const std::string& caption = title.empty() ? App().title : title;
  return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

}  // namespace tk
