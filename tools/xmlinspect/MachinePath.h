// Where the tool's FILE argument lies on the machine the document reads from.
#pragma once

#include <string>
#include <string_view>

// Lives while the tool runs; natively it lets the simulated machine see the
// host's files, on Windows it has nothing to do.
class CMachinePaths {
  public:
    CMachinePaths();
    ~CMachinePaths();
    CMachinePaths(const CMachinePaths&) = delete;
    CMachinePaths& operator=(const CMachinePaths&) = delete;

    // The machine's path for a path given on the command line.
    std::u16string PathOf(std::u16string_view argument) const;
};
