// The message box routine's interface: one box with a language-table text,
// owned by the main window and shown with the language's identifier (2052,
// 1028, 1033: languageIdentifier() of the current language index); an empty
// caption is replaced by the main window's title. The UI implements it; tests
// record.
#pragma once

#include <string>

namespace zr78 {

enum class MessageButtons { Ok, YesNo, OkCancel };
enum class MessageResult { Ok, Yes, No, Cancel };

class MessageBoxRoutine {
 public:
  virtual ~MessageBoxRoutine() = default;
  virtual MessageResult showMessage(const std::string& text, const std::string& caption,
                                    MessageButtons buttons) = 0;
};

}  // namespace zr78
