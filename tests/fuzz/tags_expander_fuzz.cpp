// Fuzz target: any template text, expanded and pasted into a fake text field,
// must not crash, hang, read out of bounds or grow without bound; the date
// pattern language and key lists must take any text too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/utf8.h"
#include "templates/tag_date_format.h"
#include "templates/tag_keys.h"
#include "templates/template_tags.h"
#include "tests/host/tags_fake_target.h"

namespace {

using snibbet::testing::FakeTagTarget;

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

std::uint64_t Hash(std::string_view bytes) {
  std::uint64_t h = 1469598103934665603ull;
  for (const char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return h;
}

// The target's behaviour and the random choices come from the input's hash,
// so a plain template is a seed.
void Configure(FakeTagTarget& env, const std::wstring& text, std::uint64_t h) {
  env.refusesCopyAndCut = h & 1;
  env.addedAfterPaste = (h & 2) ? L" " : L"";
  env.onlyCtrlAndAlt = h & 4;
  env.msPerKey = (h & 8) ? 1 : 0;
  env.wizardInFront = h & 16;
  env.clipboard = (h & 32) ? L"c|<KEY Tab><CLIPBOARD><SELECTION>" : L"";
  env.Type(L"before ");
  if (h & 64) env.anchor = 0;
  for (int i = 0; i < 8; ++i) env.picks.push_back(static_cast<int>((h >> (8 + 4 * i)) & 0xF) - 1);
  env.files[L"self"] = text;
  env.files[L"a"] = L"<FILE b>a";
  env.files[L"b"] = L"<FILE a>b|";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 16 * 1024) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::wstring text = snibbet::Utf8ToWide(bytes);

  FakeTagTarget env;
  Configure(env, text, Hash(bytes));
  snibbet::TagExpander(env, env).ExpandAndPaste(text);
  Check(env.caret <= env.text.size() && env.anchor <= env.text.size());

  FakeTagTarget quiet;
  Configure(quiet, text, 0);
  const std::wstring expanded = snibbet::ExpandTextTags(text, quiet);
  // Files stop at their bound; only dates outgrow their tags, by at most 13 to 1 here.
  Check(quiet.fileReads <= snibbet::kMaxFileExpansions);
  Check(expanded.size() <= snibbet::kMaxExpandedChars + 16 * text.size());

  const std::wstring formatted = snibbet::FormatDateTime(text, snibbet::testing::SampleMoment());
  Check(formatted.size() <= 32 * text.size() + 64);
  for (const std::uint8_t code : snibbet::ParseKeyList(text)) Check(code != 0);
  return 0;
}
