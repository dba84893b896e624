#include "file_access.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace hz::test {
namespace {

constexpr unsigned kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

struct Capabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    bool read() { return ::syscall(SYS_capget, &header, data) == 0; }
    bool write() { return ::syscall(SYS_capset, &header, data) == 0; }
};

bool holdsOverrides() {
    Capabilities caps;
    return caps.read() && (caps.data[0].effective & kOverrides) != 0;
}

} // namespace

WithoutFileAccessOverride::WithoutFileAccessOverride() {
    Capabilities caps;
    if (!caps.read())
        return;
    if ((caps.data[0].effective & kOverrides) == 0)
        return;
    caps.data[0].effective &= ~kOverrides;
    changed = caps.write();
    ok = changed;
}

WithoutFileAccessOverride::~WithoutFileAccessOverride() {
    if (!changed)
        return;
    Capabilities caps;
    if (caps.read()) {
        caps.data[0].effective |= caps.data[0].permitted & kOverrides;
        caps.write();
    }
}

std::vector<std::string> withoutFileAccessOverride(std::vector<std::string> command) {
    if (::geteuid() != 0 && !holdsOverrides())
        return command;
    std::vector<std::string> wrapped{"/usr/bin/setpriv", "--inh-caps=-dac_override,-dac_read_search",
                                     "--bounding-set=-dac_override,-dac_read_search", "--"};
    wrapped.insert(wrapped.end(), command.begin(), command.end());
    return wrapped;
}

} // namespace hz::test
