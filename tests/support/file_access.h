#pragma once
// Root passes every permission check through two capabilities. Tests of how a permission failure
// is handled take those away, so they run as root too (as CI runs them).

#include <string>
#include <vector>

namespace hz::test {

// While one of these lives, this thread lacks CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH in its
// effective set: files are opened as their mode bits say. Only the effective set is changed, so
// the capabilities come back afterwards for the tests that follow in the same process.
class WithoutFileAccessOverride {
public:
    WithoutFileAccessOverride();
    ~WithoutFileAccessOverride();
    WithoutFileAccessOverride(const WithoutFileAccessOverride&) = delete;
    WithoutFileAccessOverride& operator=(const WithoutFileAccessOverride&) = delete;

    // False when the capabilities could not be dropped while the process holds them: the test
    // would prove nothing.
    bool active() const { return ok; }

private:
    bool ok = true;
    bool changed = false;
};

// A command line that runs command without those capabilities (through setpriv, as root gets all
// its capabilities back at exec); command itself when the process does not have them. The
// program is named by its full path.
std::vector<std::string> withoutFileAccessOverride(std::vector<std::string> command);

} // namespace hz::test
