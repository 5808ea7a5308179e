// Linked into every program of the sanitizer build. GCC keeps UndefinedBehaviorSanitizer in a
// runtime of its own (libubsan) beside AddressSanitizer's (libasan); libubsan applies its log_path
// through __sanitizer_set_report_path, which resolves to libasan's copy, so its reports would stay
// on standard error and a child process's would be lost. This gives libubsan's own copy the
// log_path of UBSAN_OPTIONS before main().
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>

namespace {

std::string logPathOption(const char* options)
{
    const std::string text = options ? options : "";
    const std::string key = "log_path=";
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(':', at), text.size());
        if (text.compare(at, key.size(), key) == 0)
            return text.substr(at + key.size(), end - at - key.size());
        at = end + 1;
    }
    return {};
}

__attribute__((constructor)) void ubsanLogPath()
{
    const std::string path = logPathOption(std::getenv("UBSAN_OPTIONS"));
    void* ubsan = dlopen("libubsan.so.1", RTLD_NOW | RTLD_NOLOAD);
    if (path.empty() || !ubsan)
        return;
    using SetPath = void (*)(const char*);
    if (auto set = reinterpret_cast<SetPath>(dlsym(ubsan, "__sanitizer_set_report_path")))
        set(path.c_str());
}

} // namespace
