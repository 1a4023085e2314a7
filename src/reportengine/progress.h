#pragma once

#include <functional>

namespace re {

// Told how far a long piece of work has come: `done` of `total` steps (rows laid out, pages written
// or printed) and `pages`, the pages laid out so far or the pages being written. Answers false to
// stop the work.
using Progress = std::function<bool(int done, int total, int pages)>;

} // namespace re
