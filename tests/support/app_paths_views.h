// Wine's prefix makes the 32-bit view's "App Paths" key a registry link to the 64-bit one, so an
// entry written in one view shows in both, and a test cannot see in which view a program looked
// first. While a SeparateAppPathsViews lives, the link is replaced by a key of its own; the link
// comes back when it ends. Where the views are separate already (no link), it does nothing.
#pragma once
#include <string>

namespace velmora::test {

class SeparateAppPathsViews {
public:
    SeparateAppPathsViews();
    ~SeparateAppPathsViews();
    SeparateAppPathsViews(const SeparateAppPathsViews&) = delete;
    SeparateAppPathsViews& operator=(const SeparateAppPathsViews&) = delete;

private:
    std::wstring linkTarget_; // empty: nothing was replaced
};

} // namespace velmora::test
