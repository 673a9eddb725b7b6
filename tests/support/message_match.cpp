// Matching a recorded message sequence against an expected table.  Optional rows may be
// missing; the match is found by dynamic programming over (recorded, expected) positions,
// so an optional row never swallows a message that a later row needs.  On a mismatch both
// full lists are printed with the first point where they part marked.
#include "gui_test_impl.h"

#include <cstdio>

namespace guitest {
namespace {

bool matches(const RecordedMessage& actual, const ExpectedMessage& expected) {
  if (actual.message != expected.message) return false;
  const unsigned origin = Sent | Posted;
  if ((expected.flags & origin) && (actual.flags & origin) != (expected.flags & origin)) return false;
  if ((actual.flags & Parent) != (expected.flags & Parent)) return false;
  if ((expected.flags & Default) && !(actual.flags & Default)) return false;
  if ((expected.flags & Nested) && !(actual.flags & Nested)) return false;
  if ((expected.flags & WParam) && actual.wParam != expected.wParam) return false;
  if ((expected.flags & LParam) && actual.lParam != expected.lParam) return false;
  return true;
}

std::string hex(std::uintptr_t value) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(value));
  return buf;
}

std::string line(size_t index, UINT message, unsigned flags, const std::string& params, bool marked) {
  char head[80];
  std::snprintf(head, sizeof head, "%s%3zu  %-24s ", marked ? "=>" : "  ", index, MessageName(message).c_str());
  return std::string(head) + FlagsToString(flags) + params + "\n";
}

}  // namespace

std::string FlagsToString(unsigned flags) {
  static const struct {
    unsigned flag;
    const char* name;
  } names[] = {{Sent, "sent"},       {Posted, "posted"},     {Parent, "parent"},  {Default, "default"},
               {Nested, "nested"},   {Optional, "optional"}, {WParam, "wparam"}, {LParam, "lparam"}};
  std::string out;
  for (const auto& n : names)
    if (flags & n.flag) out += (out.empty() ? "" : "|") + std::string(n.name);
  return out.empty() ? "-" : out;
}

std::string FormatSequence(const std::vector<RecordedMessage>& messages) {
  std::string out;
  for (size_t i = 0; i < messages.size(); ++i) {
    const RecordedMessage& m = messages[i];
    out += line(i, m.message, m.flags, "  wParam=" + hex(m.wParam) + " lParam=" + hex(static_cast<std::uintptr_t>(m.lParam)),
                false);
  }
  return out;
}

std::string FormatSequence(const ExpectedMessage* expected, std::size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    const ExpectedMessage& e = expected[i];
    std::string params;
    if (e.flags & WParam) params += "  wParam=" + hex(e.wParam);
    if (e.flags & LParam) params += "  lParam=" + hex(static_cast<std::uintptr_t>(e.lParam));
    out += line(i, e.message, e.flags, params, false);
  }
  return out;
}

::testing::AssertionResult MatchSequence(const std::vector<RecordedMessage>& actual, const ExpectedMessage* expected,
                                         std::size_t count, MatchMode mode) {
  const size_t n = actual.size();
  const size_t m = count;
  const bool inOrder = mode == MatchMode::InOrder;
  // ok[i][j]: actual[i..] can be matched by expected[j..].
  std::vector<std::vector<char>> ok(n + 1, std::vector<char>(m + 1, 0));
  ok[n][m] = 1;
  for (size_t j = m; j-- > 0;) ok[n][j] = (expected[j].flags & Optional) && ok[n][j + 1];
  for (size_t i = n; i-- > 0;) {
    ok[i][m] = inOrder;
    for (size_t j = m; j-- > 0;) {
      ok[i][j] = (matches(actual[i], expected[j]) && ok[i + 1][j + 1]) ||
                 ((expected[j].flags & Optional) && ok[i][j + 1]) || (inOrder && ok[i + 1][j]);
    }
  }
  if (ok[0][0]) return ::testing::AssertionSuccess();

  // Walk greedily to find where the two lists part, for the marks in the report.
  size_t i = 0, j = 0;
  while (i < n && j < m) {
    if (matches(actual[i], expected[j])) ++i, ++j;
    else if (expected[j].flags & Optional) ++j;
    else if (inOrder) ++i;
    else break;
  }
  std::string exp;
  for (size_t k = 0; k < m; ++k) {
    const ExpectedMessage& e = expected[k];
    std::string params;
    if (e.flags & WParam) params += "  wParam=" + hex(e.wParam);
    if (e.flags & LParam) params += "  lParam=" + hex(static_cast<std::uintptr_t>(e.lParam));
    exp += line(k, e.message, e.flags, params, k == j);
  }
  std::string act;
  for (size_t k = 0; k < n; ++k) {
    const RecordedMessage& a = actual[k];
    act += line(k, a.message, a.flags,
                "  wParam=" + hex(a.wParam) + " lParam=" + hex(static_cast<std::uintptr_t>(a.lParam)), k == i && !inOrder);
  }
  return ::testing::AssertionFailure()
         << "message sequence does not match (" << (inOrder ? "in order" : "exact") << "); first difference at expected #"
         << j << ", recorded #" << i << "\nexpected (" << m << "):\n"
         << exp << "recorded (" << n << "):\n"
         << act;
}

}  // namespace guitest
