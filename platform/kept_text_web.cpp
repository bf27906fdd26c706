#include <emscripten.h>

#include <cstdlib>
#include <string>

#include "platform/kept_text.h"

namespace qn::platform {

namespace {

// Local storage replaces an item whole, and may refuse (storage off or full, a private window).
// The answers are new texts the caller frees: the item as "=" + text, null when there is none,
// or "!" + why it could not be read; for a store, null or why it failed.
EM_JS(char*, readStorageItem, (const char* key), {
  try {
    const text = localStorage.getItem(UTF8ToString(key));
    return text === null ? 0 : allocateUTF8('=' + text);
  } catch (error) {
    return allocateUTF8('!' + (error.message || error));
  }
});

EM_JS(char*, writeStorageItem, (const char* key, const char* text), {
  try {
    localStorage.setItem(UTF8ToString(key), UTF8ToString(text));
    return 0;
  } catch (error) {
    return allocateUTF8(String(error.message || error));
  }
});

std::string taken(char* text) {
  std::string copy = text != nullptr ? text : "";
  std::free(text);
  return copy;
}

}  // namespace

KeptTextRead readKeptText(std::string_view name) {
  const std::string answer = taken(readStorageItem(std::string(name).c_str()));
  if (answer.empty()) return {};
  if (answer[0] == '!') return {std::nullopt, "local storage: " + answer.substr(1)};
  return {answer.substr(1), {}};
}

// Local storage replaces an item in one step: nothing is ever left aside.
void clearStaleKeptTexts(std::string_view) {}

std::string storeKeptText(std::string_view name, std::string_view text) {
  const std::string problem = taken(writeStorageItem(std::string(name).c_str(), std::string(text).c_str()));
  return problem.empty() ? problem : "local storage: " + problem;
}

}  // namespace qn::platform
