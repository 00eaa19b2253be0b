// The one depth-first walk of /S and /TREE over a stack of directories, the
// last pushed taken next. `enter` takes a directory's read and pushes the
// directories below it; the read-ahead then sees the new stack, so workers
// read on while `show` writes what the directory gave.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Starts at `directory`, whose read `read` already holds; every later read
// comes from `reads.Take` into the same value, so its buffers are reused.
template <typename Reads, typename Read, typename Enter, typename Show>
void WalkDirectories(Reads& reads, std::vector<std::string>& stack, std::string directory,
                     Read& read, Enter&& enter, Show&& show) {
  for (;;) {
    enter(directory, read);
    reads.Plan(stack);
    show();
    if (stack.empty()) return;
    directory = std::move(stack.back());
    stack.pop_back();
    reads.Take(directory, read);
  }
}
