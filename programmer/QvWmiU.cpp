#include "programmer/QvWmiU.h"

#include <vector>

#include "platform/devices/Wmi.h"

void WmiQuery(const String& Query, TStrings* List) {
  if (List == nullptr) return;
  try {
    std::vector<String> texts;
    if (!WmiExecQuery(Query, texts) || texts.empty()) return;
    String text = List->Text();
    for (const auto& t : texts) text += t + u"\r\n";
    List->SetText(text);
  } catch (...) {
    // A failed query is no result, as the caller expects.
  }
}
