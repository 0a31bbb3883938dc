#pragma once

#include <cstdio>
#include <cstdlib>

namespace fondaris::engine::detail {

// A broken precondition is a programming error, not something a user can mend: it stops the
// program at once, in every build, instead of answering with figures nobody asked for.
[[noreturn]] inline void preconditionFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: precondition failed: %s\n", file, line, condition);
  std::abort();
}

}  // namespace fondaris::engine::detail

#define FONDARIS_EXPECTS(condition) \
  ((condition) ? void(0)            \
               : ::fondaris::engine::detail::preconditionFailed(#condition, __FILE__, __LINE__))
